// The audio in its real consumer: for every mode built, messages of several kinds (in several
// periods and submodes where the mode has them) are rendered to a WAV file at two base
// frequencies, with noise added as a weak signal on the air would have it, and WSJT-X's own
// decoder (Debian's jt9, or wsprd for WSPR) must print the message a receiver expects, at the
// frequency it was sent on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "modes/mode.h"
#include "tests/outside/on-air/decoders.h"
#include "tests/support/needs-tool.h"
#include "tests/support/temp-folder.h"

namespace {

namespace fs = std::filesystem;
using modes::Mode;

struct Case {
  std::string message;
  char submode;
  int period = 0;            // of a mode with several; 0: its default
  std::string options = "";  // for the decoder: the calls it should know
};

struct ModePlan {
  Mode mode;
  double frequencies[2];
  std::vector<Case> cases;
};

// WSPR sits within wsprd's window around 1500 Hz; JT4's decoder is pointed at the frequency.
const std::vector<ModePlan> kPlans = {
    {Mode::kJt65,
     {1270, 1720},
     {{"CQ K1ABC FN42", 'A'},
      {"K1ABC W9XYZ -15", 'B'},
      {"HELLO WORLD", 'C'},
      {"CQ PJ4/K1ABC", 'A'},
      {"QRZ W9XYZ EN37", 'B'}}},
    {Mode::kJt9,
     {1200, 1800},
     {{"CQ K1ABC FN42", 'A'},
      {"K1ABC W9XYZ -15", 'A'},
      {"TNX BOB 73 GL", 'A'},
      {"CQ K1ABC/P", 'A'},
      {"W9XYZ K1ABC R-05", 'A'}}},
    {Mode::kJt4,
     {1000, 1500},
     {{"CQ K1ABC FN42", 'A'},
      {"K1ABC W9XYZ -15", 'A'},
      {"HELLO WORLD", 'B'},
      {"K1ABC W9XYZ R-15", 'C'},
      {"CQ ZL/K1ABC", 'F'}}},
    {Mode::kWspr,
     {1460, 1540},
     {{"K1ABC FN42 37", 0},
      {"PJ4/K1ABC 37", 0},
      {"G0XYZ IO91 10", 0},
      {"K1ABC/7 23", 0},
      {"W9XYZ EN37 0", 0}}},
    {Mode::kFt8,
     {800, 2100},
     {{"CQ K1ABC FN42", 0},
      {"K1ABC W9XYZ -15", 0},
      {"TNX BOB 73 GL", 0},
      {"K1ABC W9XYZ 579 WI", 0},
      {"W9XYZ K1ABC RR73", 0}}},
    {Mode::kFt4,
     {800, 2100},
     {{"CQ K1ABC FN42", 0},
      {"K1ABC W9XYZ -15", 0},
      {"TNX BOB 73 GL", 0},
      {"K1ABC W9XYZ R+03", 0},
      {"CQ TEST K1ABC FN42", 0}}},
    // Calls other than the decoder's own (K1ABC, W9XYZ), which it would match as whole expected
    // messages far below the real threshold; a hashed call is made known with -c.
    {Mode::kFst4w,
     {1200, 1700},
     {{"G4ABC IO91 37", 0, 120},
      {"PJ4/VE3ABC 30", 0, 120},
      {"<G4ABC> IO91AB", 0, 120, "-c G4ABC"},
      {"VE3ABC/P 10", 0, 300},
      {"G4ABC IO91 23", 0, 300}}},
    {Mode::kFst4,
     {900, 1600},
     {{"CQ G4ABC IO91", 0, 15},
      {"G4ABC PA9XYZ -15", 0, 15},
      {"TNX BOB 73 GL", 0, 15},
      {"G4ABC PA9XYZ R JO22", 0, 60},
      {"CQ PJ4/VE3ABC", 0, 60}}},
    {Mode::kQ65,
     {700, 1200},
     {{"G4ABC PA9XYZ JO22", 'A', 30},
      {"CQ VE3ABC FN25", 'A', 30},
      {"TNX BOB 73 GL", 'C', 60},
      {"G4ABC/P PA9XYZ RR73", 'C', 60},
      {"CQ PJ4/VE3ABC", 'D', 120}}},
};

const ModePlan* PlanFor(Mode mode) {
  for (const ModePlan& plan : kPlans)
    if (plan.mode == mode) return &plan;
  return nullptr;
}

class DecodeAudioTest : public testsupport::TempFolderTest {
 protected:
  void CheckMode(Mode mode) {
    const modes::ModeInfo& info = modes::InfoOf(mode);
    if (info.mode != mode) GTEST_SKIP() << "no such mode in the library";
    const std::string decoder = mode == Mode::kWspr ? "wsprd" : "jt9";
    NEED_TOOL(decoder, "package wsjtx");
    const ModePlan& plan = *PlanFor(mode);
    EXPECT_GE(plan.cases.size(), 5u);
    int run = 0;
    for (const Case& c : plan.cases) {
      modes::Encoding encoding;
      ASSERT_TRUE(modes::EncodeMessage(mode, c.submode, c.period, c.message, encoding).ok)
          << c.message;
      for (double frequency : plan.frequencies) {
        SCOPED_TRACE(c.message + " at " + std::to_string(int(frequency)) + " Hz" +
                     (encoding.submode ? std::string(", submode ") + encoding.submode : "") +
                     (c.period ? ", period " + std::to_string(c.period) + " s" : ""));
        // A folder of its own for each run: the decoders keep averages and call tables there.
        fs::path folder = "run" + std::to_string(run++);
        fs::create_directory(folder);
        std::string wav = (folder / testonair::kWavName).string();
        std::string failure =
            testonair::MakeWav(mode, c.submode, c.message, frequency, wav, c.period);
        ASSERT_EQ(failure, "");
        std::vector<testonair::Decode> decodes = testonair::RunDecoder(
            mode, encoding.submode, frequency, folder.string(), c.period, c.options);
        bool found = false;
        for (const testonair::Decode& decode : decodes) {
          if (decode.message != encoding.decoded) continue;
          found = true;
          EXPECT_NEAR(decode.frequencyHz, frequency, mode == Mode::kJt4 ? 8 : 2);
        }
        EXPECT_TRUE(found) << "expected \"" << encoding.decoded << "\"; the decoder printed:\n"
                           << testonair::ReadText(folder / "decoder.txt");
      }
    }
  }
};

TEST_F(DecodeAudioTest, Jt65) {
  CheckMode(Mode::kJt65);
}
TEST_F(DecodeAudioTest, Jt9) {
  CheckMode(Mode::kJt9);
}
TEST_F(DecodeAudioTest, Jt4) {
  CheckMode(Mode::kJt4);
}
TEST_F(DecodeAudioTest, Wspr) {
  CheckMode(Mode::kWspr);
}
TEST_F(DecodeAudioTest, Ft8) {
  CheckMode(Mode::kFt8);
}
TEST_F(DecodeAudioTest, Ft4) {
  CheckMode(Mode::kFt4);
}
TEST_F(DecodeAudioTest, Fst4w) {
  CheckMode(Mode::kFst4w);
}
TEST_F(DecodeAudioTest, Fst4) {
  CheckMode(Mode::kFst4);
}
TEST_F(DecodeAudioTest, Q65) {
  CheckMode(Mode::kQ65);
}

}  // namespace
