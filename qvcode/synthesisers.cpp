// The table of synthesisers, the tolerance each mode sets on their tone spacing, and the tuning of
// a mode's tones on each band through a chip's row of the table.
#include "qvcode/synthesisers.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "common/ascii.h"
#include "modes/audio.h"

namespace qvcode {
namespace {

constexpr std::array kSynthesisers = {
    Synthesiser{"si5351", "Si5351", "I2C clock generator: 25 or 27 MHz crystal (default 25 MHz)",
                25e6, 24e6, 28e6, 8, 8, TuneSi5351},
    Synthesiser{"ad9850", "AD9850", "DDS, 32-bit tuning word, clock up to 125 MHz (default)", 125e6,
                1e6, 125e6, 5, 0, TuneDds},
    Synthesiser{"ad9851", "AD9851",
                "DDS, 32-bit tuning word, 6x multiplier: system clock 180 MHz (default)", 180e6,
                6e6, 180e6, 5, 0, TuneDds},
    Synthesiser{"ad9833", "AD9833", "DDS, 28-bit tuning word, clock up to 25 MHz (default)", 25e6,
                1e6, 25e6, 4, 2, TuneDds},
};

// The share of the tone spacing a mode's decoder bears as a fixed error in a tone's distance from
// tone 0. The slow modes integrate over bins one spacing wide, where a tenth costs nothing worth
// measuring; FT8 and FT4 track phase through their Gaussian shaping and are held to a twentieth.
// Morse: FSK-CW's shift is a grabber's picture, a tenth is invisible in it.
struct ModeTolerance {
  modes::Mode mode;
  double share;
};
constexpr std::array kTolerances = {
    ModeTolerance{modes::Mode::kJt65, 0.1}, ModeTolerance{modes::Mode::kJt9, 0.1},
    ModeTolerance{modes::Mode::kJt4, 0.1},  ModeTolerance{modes::Mode::kWspr, 0.1},
    ModeTolerance{modes::Mode::kFt8, 0.05}, ModeTolerance{modes::Mode::kFt4, 0.05},
    ModeTolerance{modes::Mode::kCw, 0.1},
};

// The WSPR band plan: the dial frequencies (upper sideband) whose 1400-1600 Hz holds WSPR.
struct WsprBand {
  std::string_view name;
  double dialHz;
};
constexpr std::array kWsprBands = {
    WsprBand{"2200m", 136000},   WsprBand{"630m", 474200},     WsprBand{"160m", 1836600},
    WsprBand{"80m", 3568600},    WsprBand{"60m", 5287200},     WsprBand{"40m", 7038600},
    WsprBand{"30m", 10138700},   WsprBand{"20m", 14095600},    WsprBand{"17m", 18104600},
    WsprBand{"15m", 21094600},   WsprBand{"12m", 24924600},    WsprBand{"10m", 28124600},
    WsprBand{"6m", 50293000},    WsprBand{"4m", 70091000},     WsprBand{"2m", 144489000},
    WsprBand{"70cm", 432300000}, WsprBand{"23cm", 1296500000},
};

}  // namespace

std::string HzText(double hz) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f Hz", hz);
  return text;
}

std::string ToneText(const ToneTuning& tone) {
  char text[128];
  std::snprintf(text, sizeof text, "tone %d: makes %.3f Hz, wanted %.3f Hz, error %+.3f Hz",
                tone.tone, tone.madeHz, tone.wantedHz, tone.madeHz - tone.wantedHz);
  return text;
}

const Synthesiser* FindSynthesiser(std::string_view name) {
  for (const Synthesiser& chip : kSynthesisers)
    if (ascii::EqualIgnoringCase(name, chip.name)) return &chip;
  return nullptr;
}

std::string SynthesiserNames() {
  return ascii::JoinNames(kSynthesisers,
                          [](const Synthesiser& chip) { return std::string(chip.name); });
}

std::string SynthesiserList() {
  return ascii::ListedRows(
      kSynthesisers, 8, [](const Synthesiser& chip) { return chip.name; },
      [](const Synthesiser& chip) { return chip.summary; });
}

double SpacingTolerance(modes::Mode mode) {
  for (const ModeTolerance& tolerance : kTolerances)
    if (tolerance.mode == mode) return tolerance.share;
  return 0.1;
}

Outcome TuneBands(const Synthesiser& chip, double clockHz, const std::vector<double>& dialsHz,
                  const modes::Encoding& encoding, int toneCount, double audioHz, Tuning& tuning) {
  tuning = Tuning{};
  tuning.chip = &chip;
  tuning.clockHz = clockHz;
  tuning.toleranceHz = SpacingTolerance(encoding.mode) * encoding.toneSpacingHz;
  if (clockHz < chip.lowestClockHz || clockHz > chip.highestClockHz)
    return Outcome::Failed("the " + std::string(chip.display) + " takes a clock from " +
                           HzText(chip.lowestClockHz) + " to " + HzText(chip.highestClockHz) +
                           ", not " + HzText(clockHz));
  for (double dialHz : dialsHz) {
    BandTuning band;
    band.dialHz = dialHz;
    for (int tone = 0; tone < toneCount; ++tone) {
      double wanted =
          dialHz + audioHz + modes::ToneOffsetHz(encoding.mode, encoding.toneSpacingHz, tone);
      band.tones.push_back({tone, wanted, 0, {}});
    }
    if (Outcome tuned = chip.tune(chip, clockHz, band); !tuned.ok)
      return Outcome::Failed("dial " + HzText(dialHz) + ": " + tuned.error);
    const ToneTuning& first = band.tones.front();
    for (const ToneTuning& tone : band.tones) {
      double error = (tone.madeHz - first.madeHz) - (tone.wantedHz - first.wantedHz);
      band.spacingErrorHz = std::max(band.spacingErrorHz, std::fabs(error));
    }
    if (band.spacingErrorHz > tuning.toleranceHz)
      return Outcome::Failed("dial " + HzText(dialHz) + ": the " + std::string(chip.display) +
                             " at " + HzText(clockHz) +
                             " misplaces a tone's distance from tone 0 by " +
                             HzText(band.spacingErrorHz) + ", more than the " +
                             HzText(tuning.toleranceHz) + " the mode bears");
    tuning.bands.push_back(std::move(band));
  }
  return {};
}

std::optional<double> WsprDialHz(std::string_view band) {
  for (const WsprBand& row : kWsprBands)
    if (ascii::EqualIgnoringCase(band, row.name)) return row.dialHz;
  return std::nullopt;
}

std::string WsprBandNames() {
  return ascii::JoinNames(kWsprBands, [](const WsprBand& row) { return std::string(row.name); });
}

}  // namespace qvcode
