// From tuning words to a decode: qvcode's synthesiser rows for a message's tones, read back by the
// chip models, rendered as audio with the dial taken off (each tone exactly where the chip puts
// it, noise added), and decoded by WSJT-X's own decoder to the message at its frequency. A few
// cases, one for each chip and a crystal of each size.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "modes/morse.h"
#include "qvcode/synthesisers.h"
#include "tests/outside/on-air/decoders.h"
#include "tests/qvcode/synthesiser-models.h"
#include "tests/support/environment.h"
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

// The whole program: a schedule's six-character locator becomes WSPR's pair of messages with a
// Morse identification after both, written as a list; the rows of the list, read back by the
// Si5351 model, carry each message to wsprd, and the identification is the core's keying.
TEST_F(SynthDecodeTest, TheProgramsScheduleAndRowsDecode) {
  NEED_TOOL("wsprd", "package wsjtx");
  testsupport::WriteFileBytes("beacon.txt", "K1ABC FN42AX 37\ncw: DE K1ABC\n");
  std::string command = testsupport::BinFolder() +
                        "/qvcode -m wspr --sequence tones --synth si5351 --clock 27000000 "
                        "--band 20m -f list --schedule beacon.txt >list.txt";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::vector<std::vector<double>> lines;
  std::istringstream text(testonair::ReadText("list.txt"));
  for (std::string line; std::getline(text, line);) {
    std::istringstream numbers(line);
    lines.emplace_back();
    for (double number; numbers >> number;) lines.back().push_back(number);
  }
  // Two messages of 162 tones, four rows "band tone made error 8 bytes", one identification.
  ASSERT_EQ(lines.size(), 7u);
  std::vector<std::uint8_t> setup;  // the band's MultiSynth: the same as the C header's setup
  qvcode::Tuning tuning;
  modes::Encoding reference;
  ASSERT_TRUE(modes::EncodeMessage(modes::Mode::kWspr, 0, "K1ABC FN42 37", reference).ok);
  ASSERT_TRUE(qvcode::TuneBands(*qvcode::FindSynthesiser("si5351"), 27e6, {14095600}, reference, 4,
                                1500, tuning)
                  .ok);
  setup = tuning.bands.front().setup;
  std::vector<double> toneHz;
  for (std::size_t row = 2; row < 6; ++row) {
    ASSERT_EQ(lines[row].size(), 12u);
    std::vector<std::uint8_t> bytes(lines[row].begin() + 4, lines[row].end());
    testsynth::Made made = testsynth::ModelOutput("si5351", 27e6, setup, bytes);
    ASSERT_TRUE(made.ok) << made.why;
    EXPECT_NEAR(made.hz, lines[row][2], 1e-3);
    toneHz.push_back(made.hz - 14095600);
  }
  const char* sent[] = {"K1ABC FN42 37", "<K1ABC> FN42AX 37"};
  for (int m = 0; m < 2; ++m) {
    ASSERT_EQ(lines[std::size_t(m)].size(), 162u);
    modes::Encoding encoding;
    ASSERT_TRUE(modes::EncodeMessage(modes::Mode::kWspr, 0, sent[m], encoding).ok);
    encoding.tones.assign(lines[std::size_t(m)].begin(), lines[std::size_t(m)].end());
    std::filesystem::path folder = "message" + std::to_string(m);
    std::filesystem::create_directory(folder);
    ASSERT_EQ(testonair::WriteWav(encoding, 1500, (folder / testonair::kWavName).string(), toneHz),
              "");
    bool found = false;
    for (const testonair::Decode& decode :
         testonair::RunDecoder(modes::Mode::kWspr, 0, 1500, folder.string()))
      found = found || decode.message == encoding.decoded;
    EXPECT_TRUE(found) << "expected \"" << encoding.decoded << "\"; wsprd printed:\n"
                       << testonair::ReadText(folder / "decoder.txt");
  }
  modes::Encoding morse;
  ASSERT_TRUE(modes::EncodeMorse("DE K1ABC", {}, morse).ok);
  std::vector<double> durations(morse.symbols.begin(), morse.symbols.end());
  durations.insert(durations.begin(), 1);  // the identification's number
  EXPECT_EQ(lines[6], durations);
}

}  // namespace
