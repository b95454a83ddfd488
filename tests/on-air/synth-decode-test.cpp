// From tuning words to a decode: qvcode's synthesiser rows for a message's tones, read back by the
// chip models, rendered as audio with the dial taken off (each tone exactly where the chip puts
// it, noise added), and decoded by WSJT-X's own decoder to the message at its frequency. A few
// cases, one for each chip and a crystal of each size.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "qvcode/synthesisers.h"
#include "tests/on-air/decoders.h"
#include "tests/qvcode/synthesiser-models.h"
#include "tests/support/needs-tool.h"
#include "tests/support/temp-folder.h"

namespace {

struct Case {
  modes::Mode mode;
  char submode;
  const char* message;
  const char* chip;
  double clockHz, dialHz;
};

constexpr Case kCases[] = {
    {modes::Mode::kWspr, 0, "K1ABC FN42 37", "si5351", 27e6, 14095600},
    {modes::Mode::kFt8, 0, "CQ K1ABC FN42", "si5351", 25e6, 7074000},
    {modes::Mode::kWspr, 0, "PJ4/K1ABC 37", "ad9833", 25e6, 10138700},
    {modes::Mode::kJt65, 'A', "CQ K1ABC FN42", "ad9850", 125e6, 14076000},
    {modes::Mode::kJt9, 'A', "CQ K1ABC FN42", "ad9851", 180e6, 28078000},
};

class SynthDecodeTest : public testsupport::TempFolderTest {};

TEST_F(SynthDecodeTest, ChipTonesDecodeToTheMessage) {
  NEED_TOOL("wsprd", "package wsjtx");
  NEED_TOOL("jt9", "package wsjtx");
  constexpr double kAudioHz = 1500;
  int run = 0;
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.chip) + " " + c.message);
    modes::Encoding encoding;
    ASSERT_TRUE(modes::EncodeMessage(c.mode, c.submode, c.message, encoding).ok);
    qvcode::Tuning tuning;
    Outcome tuned = qvcode::TuneBands(*qvcode::FindSynthesiser(c.chip), c.clockHz, {c.dialHz},
                                      encoding, modes::InfoOf(c.mode).toneCount, kAudioHz, tuning);
    ASSERT_TRUE(tuned.ok) << tuned.error;
    const qvcode::BandTuning& band = tuning.bands.front();
    std::vector<double> toneHz;
    for (const qvcode::ToneTuning& tone : band.tones) {
      testsynth::Made made = testsynth::ModelOutput(c.chip, c.clockHz, band.setup, tone.bytes);
      ASSERT_TRUE(made.ok) << made.why;
      toneHz.push_back(made.hz - c.dialHz);
    }
    std::filesystem::path folder = "run" + std::to_string(run++);
    std::filesystem::create_directory(folder);
    ASSERT_EQ(
        testonair::WriteWav(encoding, kAudioHz, (folder / testonair::kWavName).string(), toneHz),
        "");
    bool found = false;
    for (const testonair::Decode& decode :
         testonair::RunDecoder(c.mode, encoding.submode, kAudioHz, folder.string())) {
      if (decode.message != encoding.decoded) continue;
      found = true;
      EXPECT_NEAR(decode.frequencyHz, kAudioHz, 2);
    }
    EXPECT_TRUE(found) << "expected \"" << encoding.decoded << "\"; the decoder printed:\n"
                       << testonair::ReadText(folder / "decoder.txt");
  }
}

}  // namespace
