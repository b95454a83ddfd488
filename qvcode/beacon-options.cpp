// Reading the beacon options, the checks between them, and the tuning of a run's tones.
#include "qvcode/beacon-options.h"

#include <cmath>
#include <cstdio>

#include "qvcode/options.h"
#include "qvcode/tables.h"

namespace qvcode {
namespace {

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

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// PARIS: 60 WPM is a 20 ms dot, beyond which keying edges of 5 ms no longer fit.
constexpr double kFastestWpm = 60;
constexpr double kSlowestWpm = 1;
constexpr double kLongestDotSeconds = 120;
constexpr double kWidestShiftHz = 1000;

}  // namespace

Outcome TakeSynth(std::string_view value, BeaconOptions& options) {
  options.synth = FindSynthesiser(value);
  if (options.synth == nullptr)
    return Outcome::Failed("unknown synthesiser " + Quoted(value) +
                           " (synthesisers: " + SynthesiserNames() + ")");
  return {};
}

Outcome TakeClock(std::string_view value, BeaconOptions& options) {
  options.clockHz = DecimalNumber(value);
  if (!options.clockHz || *options.clockHz <= 0)
    return Outcome::Failed("--clock takes the synthesiser's reference clock in Hz, not " +
                           Quoted(value));
  return {};
}

Outcome TakeDials(std::string_view value, BeaconOptions& options) {
  if (options.fromBands) return Outcome::Failed("give --dial or --band, not both");
  for (std::string_view item : Items(value)) {
    std::optional<double> dial = DecimalNumber(item);
    if (!dial || *dial <= 0)
      return Outcome::Failed("--dial takes dial frequencies in Hz, separated by commas, not " +
                             Quoted(value));
    options.dialsHz.push_back(*dial);
  }
  return {};
}

Outcome TakeBands(std::string_view value, BeaconOptions& options) {
  if (!options.dialsHz.empty() && !options.fromBands)
    return Outcome::Failed("give --dial or --band, not both");
  options.fromBands = true;
  for (std::string_view item : Items(value)) {
    std::optional<double> dial = WsprDialHz(item);
    if (!dial)
      return Outcome::Failed("unknown band " + Quoted(item) + " (bands: " + WsprBandNames() + ")");
    options.dialsHz.push_back(*dial);
  }
  return {};
}

Outcome TakeWpm(std::string_view value, BeaconOptions& options) {
  options.wpm = DecimalNumber(value);
  if (!options.wpm || *options.wpm < kSlowestWpm || *options.wpm > kFastestWpm)
    return Outcome::Failed("--wpm takes a speed from 1 to 60 words per minute, not " + Quoted(value));
  return {};
}

Outcome TakeQrss(std::string_view value, BeaconOptions& options) {
  options.qrssSeconds = DecimalNumber(value);
  if (!options.qrssSeconds || *options.qrssSeconds < 1 || *options.qrssSeconds > kLongestDotSeconds)
    return Outcome::Failed("--qrss takes a dot length from 1 to 120 seconds, not " + Quoted(value));
  return {};
}

Outcome TakeFsk(std::string_view value, BeaconOptions& options) {
  options.fskHz = DecimalNumber(value);
  if (!options.fskHz || *options.fskHz <= 0 || *options.fskHz > kWidestShiftHz)
    return Outcome::Failed(
        "--fsk takes the shift of key down above key up, above 0 and up to 1000 Hz, not " +
        Quoted(value));
  return {};
}

Outcome CheckBeacon(const BeaconOptions& options, modes::Mode mode, bool wav) {
  bool tuned = options.clockHz || !options.dialsHz.empty();
  if (options.synth == nullptr && tuned)
    return Outcome::Failed("--clock, --dial and --band are for --synth");
  if (options.synth != nullptr && options.dialsHz.empty())
    return Outcome::Failed("--synth needs the dial frequency: --dial HZ or --band NAME");
  if (options.synth != nullptr && wav)
    return Outcome::Failed("--wav writes audio: leave out --synth");
  if (options.fromBands && mode != modes::Mode::kWspr && mode != modes::Mode::kCw)
    return Outcome::Failed(
        "--band gives WSPR's dial frequencies; give this mode's dial with --dial");
  if (options.wpm && options.qrssSeconds) return Outcome::Failed("give --wpm or --qrss, not both");
  if (options.fskHz && mode != modes::Mode::kCw) return Outcome::Failed("--fsk is for --mode cw");
  return {};
}

modes::MorseKeying MorseKeyingOf(const BeaconOptions& options) {
  modes::MorseKeying keying;
  if (options.wpm) keying.dotSeconds = modes::DotSecondsAt(*options.wpm);
  if (options.qrssSeconds) keying.dotSeconds = *options.qrssSeconds;
  if (options.fskHz) keying.shiftHz = *options.fskHz;
  return keying;
}

Outcome TuneRun(const BeaconOptions& options, double audioHz, Run& run) {
  if (options.synth == nullptr || run.tables.empty()) return {};
  const modes::Encoding& encoding = run.tables.front().encoding;
  int tones =
      run.mode->mode == modes::Mode::kCw ? (run.morse.shiftHz > 0 ? 2 : 1) : run.mode->toneCount;
  Tuning tuning;
  Outcome tuned = TuneBands(*options.synth, options.clockHz.value_or(options.synth->defaultClockHz),
                            options.dialsHz, encoding, tones, audioHz, tuning);
  if (!tuned.ok) return tuned;
  run.tuning = std::move(tuning);
  return {};
}

std::string TuningReport(const Run& run) {
  if (!run.tuning) return "";
  std::string out;
  for (const BandTuning& band : run.tuning->bands) {
    char line[200];
    std::snprintf(line, sizeof line, "qvcode: %s, dial %.3f Hz: %s\n",
                  std::string(run.tuning->chip->display).c_str(), band.dialHz, band.plan.c_str());
    out += line;
    for (const ToneTuning& tone : band.tones) {
      std::snprintf(line, sizeof line, "qvcode:   tone %d makes %.3f Hz, error %+.3f Hz\n",
                    tone.tone, tone.madeHz, tone.madeHz - tone.wantedHz);
      out += line;
    }
  }
  return out;
}

}  // namespace qvcode
