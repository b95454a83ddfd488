// The synthesiser rows qvcode makes, held to the chip models of synthesiser-models.h: for every
// mode, a few dial frequencies in each amateur band and both Si5351 crystals (and each DDS at its
// clock), every row the model reads back makes the frequency the table states, every tone lies
// within one step of the wanted one and keeps its distance from tone 0 within the mode's
// tolerance; what a chip cannot make is refused in words.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "modes/morse.h"
#include "qvcode/synthesisers.h"
#include "tests/qvcode/synthesiser-models.h"

namespace {

struct Band {
  const char* name;
  double lowHz, highHz;
};

// The amateur bands from 2200 m to 2 m (IARU region 1 edges, the widest where they differ).
constexpr Band kBands[] = {
    {"2200m", 135700, 137800},   {"630m", 472000, 479000},    {"160m", 1810000, 2000000},
    {"80m", 3500000, 4000000},   {"60m", 5351500, 5366500},   {"40m", 7000000, 7300000},
    {"30m", 10100000, 10150000}, {"20m", 14000000, 14350000}, {"17m", 18068000, 18168000},
    {"15m", 21000000, 21450000}, {"12m", 24890000, 24990000}, {"10m", 28000000, 29700000},
    {"6m", 50000000, 54000000},  {"4m", 70000000, 70500000},  {"2m", 144000000, 148000000},
};

struct Chip {
  const char* name;
  double clockHz;
};
constexpr Chip kChips[] = {
    {"si5351", 25e6}, {"si5351", 27e6}, {"ad9850", 125e6}, {"ad9851", 180e6}, {"ad9833", 25e6}};

// One message of each mode (its tones are not needed: the rows cover every tone of the mode).
struct ModeCase {
  modes::Mode mode;
  char submode;
  const char* message;
};
constexpr ModeCase kModes[] = {
    {modes::Mode::kJt65, 'A', "CQ K1ABC FN42"},
    {modes::Mode::kJt65, 'C', "CQ K1ABC FN42"},
    {modes::Mode::kJt9, 'A', "CQ K1ABC FN42"},
    {modes::Mode::kJt4, 'A', "CQ K1ABC FN42"},
    {modes::Mode::kJt4, 'G', "CQ K1ABC FN42"},
    {modes::Mode::kWspr, 0, "K1ABC FN42 37"},
    {modes::Mode::kFt8, 0, "CQ K1ABC FN42"},
    {modes::Mode::kFt4, 0, "CQ K1ABC FN42"},
    {modes::Mode::kCw, 0, "K1ABC"},
};

modes::Encoding Encode(const ModeCase& mode) {
  modes::Encoding encoding;
  if (mode.mode == modes::Mode::kCw) {
    modes::EncodeMorse(mode.message, {.dotSeconds = 6, .shiftHz = 5}, encoding);
  } else {
    EXPECT_TRUE(modes::EncodeMessage(mode.mode, mode.submode, mode.message, encoding).ok);
  }
  return encoding;
}

int ToneCount(const ModeCase& mode) {
  return mode.mode == modes::Mode::kCw ? 2 : modes::InfoOf(mode.mode).toneCount;
}

TEST(SynthesiserRows, MakeEveryToneAsTheChipModelReadsThem) {
  int checked = 0, refused = 0;
  for (const ModeCase& mode : kModes) {
    modes::Encoding encoding = Encode(mode);
    for (const Chip& chip : kChips) {
      const qvcode::Synthesiser* synthesiser = qvcode::FindSynthesiser(chip.name);
      ASSERT_NE(synthesiser, nullptr);
      for (const Band& band : kBands) {
        std::vector<double> dials = {band.lowHz, (band.lowHz + band.highHz) / 2,
                                     band.highHz - 3000};
        qvcode::Tuning tuning;
        Outcome tuned = qvcode::TuneBands(*synthesiser, chip.clockHz, dials, encoding,
                                          ToneCount(mode), 1500, tuning);
        std::string where = std::string(chip.name) + " " + std::to_string(chip.clockHz) + " " +
                            band.name + " mode " + std::to_string(int(mode.mode)) +
                            std::string(1, mode.submode);
        if (!tuned.ok) {
          ++refused;
          EXPECT_FALSE(tuned.error.empty()) << where;
          // The slow-mode HF bands up to 10 m are every Si5351 beacon's: never refused there.
          bool hf = band.highHz <= 30e6;
          EXPECT_FALSE(std::string(chip.name) == "si5351" && hf) << where << ": " << tuned.error;
          continue;
        }
        ++checked;
        double step = 0;  // the chip's finest step at this dial, the bound on a tone's error
        for (const qvcode::BandTuning& row : tuning.bands) {
          const qvcode::ToneTuning& first = row.tones.front();
          testsynth::Made firstMade =
              testsynth::ModelOutput(chip.name, chip.clockHz, row.setup, first.bytes);
          for (const qvcode::ToneTuning& tone : row.tones) {
            testsynth::Made made =
                testsynth::ModelOutput(chip.name, chip.clockHz, row.setup, tone.bytes);
            ASSERT_TRUE(made.ok) << where << " tone " << tone.tone << ": " << made.why;
            EXPECT_NEAR(made.hz, tone.madeHz, 1e-3) << where << " tone " << tone.tone;
            step = std::string(chip.name) == "si5351"
                       ? std::max(1.0, row.dialHz * 2.0 / 600e6 * chip.clockHz / 1048575)
                   : std::string(chip.name) == "ad9833" ? chip.clockHz / 268435456.0
                                                        : chip.clockHz / 4294967296.0;
            EXPECT_LE(std::fabs(made.hz - tone.wantedHz), step) << where << " tone " << tone.tone;
            double distance = (made.hz - firstMade.hz) - (tone.wantedHz - first.wantedHz);
            EXPECT_LE(std::fabs(distance), tuning.toleranceHz + 1e-9)
                << where << " tone " << tone.tone;
          }
        }
      }
    }
  }
  std::printf("%d tunings checked against the chip models, %d refused\n", checked, refused);
  EXPECT_GT(checked, 500);
}

TEST(SynthesiserRows, RefuseWhatTheChipCannotMakeInWords) {
  modes::Encoding wspr;
  ASSERT_TRUE(modes::EncodeMessage(modes::Mode::kWspr, 0, "K1ABC FN42 37", wspr).ok);
  struct Refusal {
    const char* chip;
    double clockHz, dialHz;
    const char* words;
  } refusals[] = {
      {"si5351", 25e6, 432.3e6, "makes"},             // above 200 MHz
      {"si5351", 25e6, 1000, "makes"},                // below 8 kHz
      {"si5351", 40e6, 14.0956e6, "clock"},           // no such crystal
      {"ad9833", 25e6, 14.0956e6, "half its clock"},  // above Nyquist
      {"ad9850", 150e6, 7.0386e6, "clock"},           // beyond its clock
      {"si5351", 25e6, 144.489e6, "more than"},       // 2 m: tone distances off by steps of Hz
  };
  for (const Refusal& refusal : refusals) {
    qvcode::Tuning tuning;
    Outcome tuned = qvcode::TuneBands(*qvcode::FindSynthesiser(refusal.chip), refusal.clockHz,
                                      {refusal.dialHz}, wspr, 4, 1500, tuning);
    ASSERT_FALSE(tuned.ok) << refusal.chip << " " << refusal.dialHz;
    EXPECT_NE(tuned.error.find(refusal.words), std::string::npos) << tuned.error;
  }
}

}  // namespace
