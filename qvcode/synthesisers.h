// Synthesisers a beacon keys its tones with: for each, the register values that make each tone of
// a mode at a dial frequency, what frequency those values really make, and the chip's limits.
// One table holds the chips (synthesisers.cpp); each chip's arithmetic has its own file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/outcome.h"
#include "modes/mode.h"

namespace qvcode {

struct ToneTuning {
  int tone = 0;
  double wantedHz = 0;
  double madeHz = 0;                // what the register values make with the stated clock
  std::vector<std::uint8_t> bytes;  // the row the firmware writes for this tone
};

struct BandTuning {
  double dialHz = 0;
  std::vector<std::uint8_t> setup;  // written once before the first tone (may be empty)
  std::string plan;                 // how the chip is set for this band, in words
  std::vector<ToneTuning> tones;
  double spacingErrorHz = 0;  // the largest error of a tone's distance from tone 0
};

struct Synthesiser;

struct Tuning {
  const Synthesiser* chip = nullptr;
  double clockHz = 0;
  double toleranceHz = 0;  // the largest spacing error the mode bears
  std::vector<BandTuning> bands;
};

struct Synthesiser {
  std::string_view name;     // as typed: "si5351"
  std::string_view display;  // "Si5351"
  std::string_view summary;  // one line for --help and the README
  double defaultClockHz;
  double lowestClockHz;
  double highestClockHz;
  int rowBytes;    // bytes a tone's row takes
  int setupBytes;  // bytes written once a band
  // Fills band.setup, band.plan and each tone's bytes and madeHz from its wantedHz.
  Outcome (*tune)(const Synthesiser& chip, double clockHz, BandTuning& band);
};

const Synthesiser* FindSynthesiser(std::string_view name);
std::string SynthesiserNames();  // "si5351, ad9850, ..." for messages
std::string SynthesiserList();   // a line a chip, for --help

// The chips' arithmetic, one file each.
Outcome TuneSi5351(const Synthesiser& chip, double clockHz, BandTuning& band);
Outcome TuneDds(const Synthesiser& chip, double clockHz, BandTuning& band);

// The largest error in the distance between tones that a mode bears, as a share of its spacing.
double SpacingTolerance(modes::Mode mode);

// The tuning of every band for a mode: each tone at dial + the audio offset of that tone, as
// --wav places it. Refused in words when a tone lies outside the chip or the spacing error is
// more than the mode bears.
Outcome TuneBands(const Synthesiser& chip, double clockHz, const std::vector<double>& dialsHz,
                  const modes::Encoding& encoding, int toneCount, double audioHz, Tuning& tuning);

// "7040097.803 Hz", and a row's comment: "tone 3: makes 7040102.198 Hz, wanted 7040102.197 Hz,
// error +0.001 Hz".
std::string HzText(double hz);
std::string ToneText(const ToneTuning& tone);

// The WSPR band plan: a band's name ("40m", case-blind) to its WSPR dial frequency.
std::optional<double> WsprDialHz(std::string_view band);
std::string WsprBandNames();  // "2200m, 630m, ..." for messages and --help

}  // namespace qvcode
