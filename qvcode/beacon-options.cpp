// Reading the beacon options, the checks between them, and the tuning of a run's tones.
#include "qvcode/beacon-options.h"

#include <charconv>
#include <cmath>

#include "qvcode/tables.h"

namespace qvcode {
namespace {

std::optional<double> Decimal(std::string_view text) {
  double value = 0;
  auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

// The comma-separated items of a value: "40m,30m" or "7038600,10138700".
std::vector<std::string_view> Items(std::string_view value) {
  std::vector<std::string_view> items;
  for (std::size_t start = 0;;) {
    std::size_t comma = value.find(',', start);
    items.push_back(value.substr(start, comma - start));
    if (comma == std::string_view::npos) return items;
    start = comma + 1;
  }
}

// PARIS: 60 WPM is a 20 ms dot, beyond which keying edges of 5 ms no longer fit.
constexpr double kFastestWpm = 60;
constexpr double kSlowestWpm = 1;
constexpr double kLongestDotSeconds = 120;

}  // namespace

std::optional<std::string> TakeSynth(std::string_view value, BeaconOptions& options) {
  options.synth = FindSynthesiser(value);
  if (options.synth == nullptr)
    return "unknown synthesiser \"" + std::string(value) +
           "\" (synthesisers: " + SynthesiserNames() + ")";
  return std::nullopt;
}

std::optional<std::string> TakeClock(std::string_view value, BeaconOptions& options) {
  options.clockHz = Decimal(value);
  if (!options.clockHz || *options.clockHz <= 0)
    return "--clock takes the synthesiser's reference clock in Hz, not \"" + std::string(value) +
           "\"";
  return std::nullopt;
}

std::optional<std::string> TakeDials(std::string_view value, BeaconOptions& options) {
  if (options.fromBands) return "give --dial or --band, not both";
  for (std::string_view item : Items(value)) {
    std::optional<double> dial = Decimal(item);
    if (!dial || *dial <= 0)
      return "--dial takes dial frequencies in Hz, separated by commas, not \"" +
             std::string(value) + "\"";
    options.dialsHz.push_back(*dial);
  }
  return std::nullopt;
}

std::optional<std::string> TakeBands(std::string_view value, BeaconOptions& options) {
  if (!options.dialsHz.empty() && !options.fromBands) return "give --dial or --band, not both";
  options.fromBands = true;
  for (std::string_view item : Items(value)) {
    std::optional<double> dial = WsprDialHz(item);
    if (!dial) return "unknown band \"" + std::string(item) + "\" (bands: " + WsprBandNames() + ")";
    options.dialsHz.push_back(*dial);
  }
  return std::nullopt;
}

std::optional<std::string> TakeWpm(std::string_view value, BeaconOptions& options) {
  options.wpm = Decimal(value);
  if (!options.wpm || *options.wpm < kSlowestWpm || *options.wpm > kFastestWpm)
    return "--wpm takes a speed from 1 to 60 words a minute, not \"" + std::string(value) + "\"";
  return std::nullopt;
}

std::optional<std::string> TakeQrss(std::string_view value, BeaconOptions& options) {
  options.qrssSeconds = Decimal(value);
  if (!options.qrssSeconds || *options.qrssSeconds < 1 || *options.qrssSeconds > kLongestDotSeconds)
    return "--qrss takes a dot length from 1 to 120 seconds, not \"" + std::string(value) + "\"";
  return std::nullopt;
}

std::optional<std::string> TakeFsk(std::string_view value, BeaconOptions& options) {
  options.fskHz = Decimal(value);
  if (!options.fskHz || *options.fskHz <= 0 || *options.fskHz > 1000)
    return "--fsk takes the shift of key down above key up, above 0 and up to 1000 Hz, not \"" +
           std::string(value) + "\"";
  return std::nullopt;
}

std::optional<std::string> CheckBeacon(const BeaconOptions& options, modes::Mode mode, bool wav) {
  bool tuned = options.clockHz || !options.dialsHz.empty();
  if (options.synth == nullptr && tuned) return "--clock, --dial and --band are for --synth";
  if (options.synth != nullptr && options.dialsHz.empty())
    return "--synth needs the dial frequency: --dial HZ or --band NAME";
  if (options.synth != nullptr && wav) return "--wav writes audio: leave out --synth";
  if (options.fromBands && mode != modes::Mode::kWspr && mode != modes::Mode::kCw)
    return "--band gives WSPR's dial frequencies; give this mode's dial with --dial";
  if (options.wpm && options.qrssSeconds) return "give --wpm or --qrss, not both";
  if (options.fskHz && mode != modes::Mode::kCw) return "--fsk is for --mode cw";
  return std::nullopt;
}

modes::MorseKeying MorseKeyingOf(const BeaconOptions& options) {
  modes::MorseKeying keying;
  if (options.wpm) keying.dotSeconds = modes::DotSecondsAt(*options.wpm);
  if (options.qrssSeconds) keying.dotSeconds = *options.qrssSeconds;
  if (options.fskHz) keying.shiftHz = *options.fskHz;
  return keying;
}

std::optional<std::string> TuneRun(const BeaconOptions& options, double audioHz, Run& run) {
  if (options.synth == nullptr || run.tables.empty()) return std::nullopt;
  const modes::Encoding& encoding = run.tables.front().encoding;
  int tones =
      run.mode->mode == modes::Mode::kCw ? (run.morse.shiftHz > 0 ? 2 : 1) : run.mode->toneCount;
  Tuning tuning;
  TuneError error =
      TuneBands(*options.synth, options.clockHz.value_or(options.synth->defaultClockHz),
                options.dialsHz, encoding, tones, audioHz, tuning);
  if (error) return *error;
  run.tuning = std::move(tuning);
  return std::nullopt;
}

std::string BeaconHelp() {
  return "      --synth CHIP       add the synthesiser's register values for every tone:\n" +
         SynthesiserList() +
         "      --clock HZ         the synthesiser's reference clock (defaults above)\n"
         "      --dial HZ[,HZ...]  the dial frequency; a tone is dial + --frequency + its offset\n"
         "      --band NAME[,...]  WSPR's dial on each band named:\n"
         "                         " +
         WsprBandNames() +
         "\n"
         "      --wpm N            Morse speed in words a minute, PARIS timing (default 20)\n"
         "      --qrss SECONDS     Morse dot length instead, for QRSS (3, 6, 10 ...)\n"
         "      --fsk HZ           --mode cw as FSK-CW: key down HZ above key up\n";
}

}  // namespace qvcode
