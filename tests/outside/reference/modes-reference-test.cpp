// WSPR, JT9 and JT4 against Debian's wsprcode, jt9code and jt4code: a few thousand messages of
// every form each, from fixed seeds, must give the same channel symbols, tones and decoded text
// (and for WSPR the same 50 source bits). Where the tool cannot encode a message, the encoder
// must refuse it with a reason; it refuses nothing the tool encodes properly.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "modes/mode.h"
#include "tests/modes/jt65-message-maker.h"
#include "tests/modes/wspr-message-maker.h"
#include "tests/support/reference-tools.h"

namespace {

using modes::Mode;

constexpr int kMessagesPerMode = 2400;
constexpr int kShownFailures = 15;

struct Compared {
  int encoded = 0;
  int refusedByBoth = 0;
  std::map<int, int> perType;  // the tool's type column
  int failures = 0;
};

std::string Numbers(const std::vector<int>& values) {
  std::string text;
  for (int value : values) text += std::to_string(value) + " ";
  return text;
}

void Fail(Compared& compared, const std::string& message, const std::string& why) {
  if (++compared.failures <= kShownFailures) ADD_FAILURE() << "[" << message << "]: " << why;
}

// A tool that printed symbols for a message our encoder refuses is wrong where it makes something
// of nothing: wsprcode sends whatever an unset variable holds as n1 when a call (type 2) or a
// grid (type 3) does not pack. (Our grid check is stricter than its call packer; the messages
// made here have proper 6-character grids or 4-character ones that it cannot pack.)
bool ToolEncodedGarbage(Mode mode, const std::string& message, const std::string& refusal) {
  if (mode != Mode::kWspr) return false;
  bool badCall = refusal.find("is not a callsign WSPR can send") != std::string::npos &&
                 message.find('/') != std::string::npos;
  return badCall || refusal.find("is not a 6-character grid") != std::string::npos;
}

// JT9 and JT4 do not send OOO, yet their tools' decoded column still shows it, or for JT4 free
// text the decoding of the text with OOO left in: there is nothing to compare with.
bool DecodedComparable(const modes::Encoding& ours) {
  for (const std::string& note : ours.notes)
    if (note.rfind("OOO is not sent", 0) == 0) return false;
  return true;
}

Compared CompareWithTool(Mode mode, const std::vector<std::string>& messages) {
  std::vector<testsupport::ToolEncoding> tool = testsupport::RunReferenceToolBatch(mode, messages);
  Compared compared;
  for (std::size_t i = 0; i < messages.size(); ++i) {
    const testsupport::ToolEncoding& want = tool[i];
    if (!testsupport::ReferenceToolTakes(mode, messages[i])) continue;
    modes::Encoding got;
    modes::EncodeResult result = modes::EncodeMessage(mode, 0, messages[i], got);
    if (!result.ok) {
      EXPECT_FALSE(result.error.empty()) << messages[i];
      // A message a receiver would show as nothing is refused here, though the tool sends it.
      bool nothingShown = want.ok && want.decoded.find_first_not_of(' ') == std::string::npos;
      if (want.ok && !nothingShown && !ToolEncodedGarbage(mode, messages[i], result.error)) {
        Fail(compared, messages[i], "refused (" + result.error + ") but the tool encodes it");
      } else {
        ++compared.refusedByBoth;
      }
      continue;
    }
    if (!want.ok) {
      Fail(compared, messages[i], "encoded, but the tool does not: " + want.error);
      continue;
    }
    ++compared.encoded;
    ++compared.perType[want.type];
    if (!want.sourceBits.empty() && got.sourceBits != want.sourceBits)
      Fail(compared, messages[i], "source bits differ");
    if (got.symbols != want.symbols) {
      Fail(compared, messages[i],
           "symbols differ:\n  ours " + Numbers(got.symbols) + "\n  tool " + Numbers(want.symbols));
    }
    if (got.tones != want.tones) Fail(compared, messages[i], "tones differ");
    if (DecodedComparable(got) && got.decoded != want.decoded)
      Fail(compared, messages[i], "decoded [" + got.decoded + "], tool [" + want.decoded + "]");
  }
  std::printf("%d encoded the same, %d refused by both, %d failures\n", compared.encoded,
              compared.refusedByBoth, compared.failures);
  return compared;
}

TEST(ModeReference, WsprEqualsWsprcode) {
  NEED_REFERENCE_TOOL(Mode::kWspr);
  Compared compared = CompareWithTool(Mode::kWspr, modestest::MakeWsprMessages(20261209, 3000));
  EXPECT_EQ(compared.failures, 0);
  // The tool's type column is the power for types 1 and 2, negative for type 3.
  int type1 = 0, type2 = 0, type3 = 0;
  for (auto [type, count] : compared.perType) {
    int last = type < 0 ? -1 : type % 10;
    (last < 0 ? type3 : (last == 0 || last == 3 || last == 7) ? type1 : type2) += count;
  }
  std::printf("types 1, 2, 3: %d, %d, %d\n", type1, type2, type3);
  EXPECT_GE(type1, 500);
  EXPECT_GE(type2, 500);
  EXPECT_GE(type3, 500);
  EXPECT_GE(compared.encoded, 2000);
  EXPECT_GE(compared.refusedByBoth, 100);
}

TEST(ModeReference, Jt9EqualsJt9code) {
  NEED_REFERENCE_TOOL(Mode::kJt9);
  Compared compared =
      CompareWithTool(Mode::kJt9, jt65test::MakeMessages(20261210, kMessagesPerMode));
  EXPECT_EQ(compared.failures, 0);
  for (int type : {1, 2, 3, 4, 5, 6}) {
    std::printf("type %d: %d messages\n", type, compared.perType[type]);
    EXPECT_GE(compared.perType[type], 40) << "type " << type;
  }
  EXPECT_GE(compared.encoded, 2000);
}

TEST(ModeReference, Jt4EqualsJt4code) {
  NEED_REFERENCE_TOOL(Mode::kJt4);
  std::vector<std::string> messages = jt65test::MakeMessages(20261211, kMessagesPerMode);
  Compared compared = CompareWithTool(Mode::kJt4, messages);
  EXPECT_EQ(compared.failures, 0);
  for (int type : {1, 2, 3, 4, 5, 6}) {
    std::printf("type %d: %d messages\n", type, compared.perType[type]);
    EXPECT_GE(compared.perType[type], 40) << "type " << type;
  }
  EXPECT_GE(compared.encoded, 2000);
  // Enough report messages go with inverted sync to prove that rule.
  int inverted = 0;
  for (const std::string& message : messages) {
    modes::Encoding encoding;
    if (modes::EncodeMessage(Mode::kJt4, 0, message, encoding).ok &&
        encoding.tones[0] % 2 != 0)  // sync bit 0 of symbol 0 is 0: odd means inverted
      ++inverted;
  }
  std::printf("%d messages with inverted sync\n", inverted);
  EXPECT_GE(inverted, 100);
}

// Hand-picked edges of every rule, where random messages seldom go.
TEST(ModeReference, EdgeCasesAsTheTools) {
  NEED_REFERENCE_TOOL(Mode::kWspr);
  NEED_REFERENCE_TOOL(Mode::kJt9);
  NEED_REFERENCE_TOOL(Mode::kJt4);
  const std::vector<std::string> wspr = {
      "K1ABC FN42 0",
      "K1ABC FN42 60",
      "K1ABC FN42 61",
      "K1ABC FN42 -1",
      "K1ABC FN42 59",
      "K1ABC FN42 1",
      "K1ABC FN42 +37",
      "K1ABC FN42 037",
      "K1ABC FN42 37,1",
      "K1ABC FN42 2*5",
      "K1ABC FN42 37 DBM",
      "k1abc FN42 37",
      "K1ABC fn42 37",
      "K1ABC RO09 37",
      "K1ABC -15 37",
      "K1ABC R-15 37",
      "K1ABC R-00 37",
      "K1ABC R-05 37",
      "K1ABC -AB 37",
      "K1ABC     37",
      "K1ABC RRR 37",
      "K1ABC 73 37",
      "CQ FN42 37",
      "QRZ FN42 37",
      "DE FN42 37",
      "cq FN42 37",
      "K1ABCD FN42 37",
      "K1 FN42 37",
      "QA1BC FN42 37",
      "3DA0XY FN42 37",
      "K1ABC/ 37",
      "K1ABC/Q 37",
      "K1ABC/QQ 37",
      "K1ABC/05 37",
      "K1ABC/V 37",
      "K1ABC/99 37",
      "K1ABC/10 37",
      "K1ABC/P 37",
      "K1ABC/1 37",
      "K1ABC/AB 37",
      "F/K1ABC 37",
      "PJ/K1ABC 37",
      "PJ4/K1ABC 37",
      "PJ4A/K1ABC 37",
      "3DA0/K1ABC 37",
      "Q/K1ABC 37",
      "PJ4/KA1ABCD 37",
      "K1ABC/P FN42 37",
      "K1ABC FN42/ 37",
      "/K1ABC 37",
      "<K1ABC> FN42AB 37",
      "<K1ABC> fn42ab 37",
      "<PJ4/K1ABC> FK52UD 0",
      "<K1ABC/P> RR99XX 60",
      "<W9XYZ> AA00AA 3",
      "<KA1ABC> JO21QJ 47",
      "<N1D> FN42AB 37",
      "<Q> FN42AB 37",
      "<K1ABC> FN42 37",
      "<K1ABC>FN42AB 37",
      "K1ABC <K1ABC> 37",
      "",
      " K1ABC FN42 37",
      "K1ABC  FN42 37",
      "K1ABC FN42 37 and 22+ chars",
  };
  const std::vector<std::string> jt = {
      "K1ABC W9XYZ -30",
      "K1ABC W9XYZ -31",
      "K1ABC W9XYZ +49",
      "K1ABC W9XYZ -50",
      "K1ABC W9XYZ R+05",
      "K1ABC W9XYZ R-01",
      "K1ABC W9XYZ -45",
      "K1ABC W9XYZ -35",
      "ABCDEFGH-1",
      "ABCDEFG-1",
      "ABCDEFGH-4",
      "A-B K1ABC-1 XXXXX",
      "CQ 5 K1ABC FN42",
      "CQ 123 K1ABC FN42",
      "CQ DX K1ABC FN42",
      "CQ NA K1ABC FN42",
      "QRZ K1ABC FN42",
      "DE K1ABC FN42",
      "RRR",
      "73",
      "RO",
      " RRR",
      "RR73",
      "K1ABC W9XYZ RR73",
      "3DA0XY W9XYZ",
      "3XA1BC W9XYZ",
      "ZL/K1ABC W9XYZ FN42",
      "K1ABC/P W9XYZ FN42",
      "CQ ABCD/K1ABC FN42",
      "CQ K1ABC/XYZ FN42",
      "ABCDE/K1AB W9XYZ FN42",
      "/K1ABC W9XYZ FN42",
      "9-YBMW/N6NO PJ7GEMK",
      "ZL/W9XYZ ABCDE/K1AB",
      "K1/X W9XYZ FN42",
      "7S4BXO 6AECA9/Z28QZK",
      "CQ 123 W4/K1ABC FN42",
      "CQ 123 K1ABC/VE6 FN42",
      "CQ 891MSA/FS2VWC PL93",
      "K1ABC W9XYZ EN34 OOO",
      "HELLO WORLD OOO",
      " K1ABC W9XYZ EN34",
      "  K1ABC  W9XYZ   EN34",
      "HELLO WORLD HOW ARE YOU",
      "hello@world",
      "-TEST",
      "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
      "K1ABC W9XYZ EN34 ABCDE",
      "",
  };
  int compared = 0;
  for (Mode mode : {Mode::kWspr, Mode::kJt9, Mode::kJt4}) {
    Compared result = CompareWithTool(mode, mode == Mode::kWspr ? wspr : jt);
    EXPECT_EQ(result.failures, 0) << testsupport::ReferenceToolName(mode);
    compared += result.encoded + result.refusedByBoth;
  }
  EXPECT_EQ(compared, int(wspr.size() + 2 * jt.size()));
}

}  // namespace
