// The pieces that WSPR, JT9 and JT4 share and those of each mode, against the worked figures of
// the protocol facts; the table of modes; and what the encoder says about bad or changed input.
#include <gtest/gtest.h>

#include <string>

#include "modes/bit-reversal-interleaver.h"
#include "modes/convolutional-code.h"
#include "modes/jt4-encoder.h"
#include "modes/jt72-message.h"
#include "modes/jt9-encoder.h"
#include "modes/mode.h"
#include "modes/wspr-call-hash.h"
#include "modes/wspr-message.h"

namespace {

using modes::Bits;
using modes::Mode;

std::string ToString(const Bits& bits, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count && i < bits.size(); ++i) text += char('0' + bits[i]);
  return text;
}

Bits FromHex(std::string_view hex, std::size_t count) {
  Bits bits;
  for (char c : hex) modes::AppendBits(bits, std::stoul(std::string(1, c), nullptr, 16), 4);
  bits.resize(count);
  return bits;
}

TEST(ConvolutionalCode, ImpulseResponseIsTheTwoGenerators) {
  Bits one = {1};
  Bits coded = modes::ConvolutionalEncode(one);
  ASSERT_EQ(coded.size(), 64u);
  EXPECT_EQ(ToString(coded, 16), "1101010010001100");
}

TEST(ConvolutionalCode, CodesTheWorkedWsprAndJt9Messages) {
  Bits wspr = modes::ConvolutionalEncode(FromHex("F70C238B0D1940", 50));
  EXPECT_EQ(ToString(wspr, 162),
            "111011111000111001001101010101001010101110001101101100011111100111111110111010101101"
            "010100010001011110000001111111011010100011001111011011010101010110001101001111");
  Bits jt9 = modes::ConvolutionalEncode(FromHex("FA08319F70C2385868", 72));
  EXPECT_EQ(jt9.size(), 206u);
  EXPECT_EQ(ToString(jt9, 32), "11101111011011001011000011011111");
  EXPECT_EQ(ToString(modes::InterleaveBitReversal(jt9), 30), "110001011111011010000100001110");
}

TEST(Interleaver, SendsEachBitToItsBitReversedPlace) {
  // Where coded bit k lands: the one bit set in the interleaved block.
  auto destination = [](std::size_t size, std::size_t k) {
    Bits in(size, 0);
    in[k] = 1;
    Bits out = modes::InterleaveBitReversal(in);
    for (std::size_t place = 0; place < size; ++place)
      if (out[place]) return int(place);
    return -1;
  };
  const int wspr[] = {0, 128, 64, 32, 160, 96, 16, 144, 80, 48, 112, 8, 136, 72, 40, 104};
  const int jt[] = {0, 128, 64, 192, 32, 160, 96, 16, 144, 80, 48, 176, 112, 8, 136, 72};
  for (std::size_t k = 0; k < 16; ++k) {
    EXPECT_EQ(destination(162, k), wspr[k]) << k;
    EXPECT_EQ(destination(206, k), jt[k]) << k;
  }
  Bits block = FromHex("F70C238B0D1940F70C238B0D1940F70C238B0D1940", 162);
  EXPECT_EQ(modes::DeinterleaveBitReversal(modes::InterleaveBitReversal(block)), block);
}

TEST(CallHash, MatchesTheWorkedVectors) {
  struct Case {
    const char* call;
    std::uint32_t lookup3;
    int hash;
  };
  for (Case c : {Case{"K1ABC", 0x723E1979, 6521}, Case{"PJ4/K1ABC", 0xE1B14D17, 19735},
                 Case{"K1ABC/P", 0xC123B100, 12544}, Case{"W9XYZ", 0x8955C7D7, 18391},
                 Case{"G0XYZ", 0x7281FC5C, 31836}, Case{"KA1ABC", 0x24CCD4B8, 21688},
                 Case{"N1D", 0xFC2E645B, 25691}, Case{"Q", 0xA4E33B29, 15145}}) {
    EXPECT_EQ(wspr::Lookup3Hash(c.call, 146), c.lookup3) << c.call;
    EXPECT_EQ(wspr::CallHash(c.call), c.hash) << c.call;
  }
}

TEST(WsprPacking, GivesTheWorkedValues) {
  wspr::Packing packing = wspr::PackMessage("K1ABC FN42 37");
  ASSERT_TRUE(packing.ok);
  EXPECT_EQ(packing.source.n1, 259047992u);
  EXPECT_EQ(packing.source.n2, 2896997u);
  EXPECT_EQ(wspr::UnpackMessage(packing.source), "K1ABC FN42 37");

  struct Case {
    const char* message;
    const char* decoded;
    wspr::MessageType type;
  };
  for (Case c : {Case{"PJ4/K1ABC 37", "PJ4/K1ABC 37", wspr::MessageType::kCompoundCall},
                 Case{"K1ABC/P 37", "K1ABC/P 37", wspr::MessageType::kCompoundCall},
                 Case{"K1ABC/12 37", "K1ABC/12 37", wspr::MessageType::kCompoundCall},
                 Case{"F/K1ABC 0", "F/K1ABC 0", wspr::MessageType::kCompoundCall},
                 Case{"<K1ABC> FN42ab 60", "<...> FN42AB 60", wspr::MessageType::kHashedCall},
                 Case{"K1ABC R-15 3", "K1ABC R-15 3", wspr::MessageType::kCallGridPower},
                 Case{"3DA0XY RR99 10", "3DA0XY RR99 10", wspr::MessageType::kCallGridPower}}) {
    packing = wspr::PackMessage(c.message);
    ASSERT_TRUE(packing.ok) << c.message << ": " << packing.error;
    EXPECT_EQ(packing.type, c.type) << c.message;
    EXPECT_EQ(wspr::UnpackMessage(packing.source), c.decoded) << c.message;
    EXPECT_TRUE(packing.notes.empty()) << c.message << ": " << packing.notes.front();
    EXPECT_EQ(wspr::FromSourceBits(wspr::SourceBits(packing.source)).n2, packing.source.n2);
  }
}

TEST(WsprPacking, RoundsPowersToTheLevels) {
  for (int level : {0, 3, 7, 10, 13, 17, 20, 23, 27, 30, 33, 37, 40, 43, 47, 50, 53, 57, 60})
    EXPECT_EQ(wspr::RoundPower(level), level);
  EXPECT_EQ(wspr::RoundPower(38), 37);
  EXPECT_EQ(wspr::RoundPower(59), 60);
  EXPECT_EQ(wspr::RoundPower(99), 60);
  EXPECT_EQ(wspr::RoundPower(-5), 0);
  EXPECT_EQ(wspr::RoundPower(5), 7);
}

TEST(Jt9, GroupsGrayCodesAndPlacesTheSync) {
  modes::Jt72Message message =
      modes::PrepareJt72Message("CQ K1ABC FN42", modes::LeadingBlank::kDrop);
  modes::CodeJt72Message(message);
  std::vector<int> symbols = jt9::DataSymbols(message.interleaved);
  std::string gray;
  for (int symbol : symbols) gray += char('0' + symbol);
  EXPECT_EQ(gray, "512423061570676240622226054561566312357041735620046603255536045524743");
  std::vector<int> tones = jt9::Tones(symbols);
  for (int place : jt9::kSyncPositions) EXPECT_EQ(tones[place], 0);
}

TEST(Jt4, InvertsTheSyncOfReportMessages) {
  struct Case {
    const char* message;
    bool inverted;
  };
  for (Case c :
       {Case{"K1ABC W9XYZ -15", true}, Case{"K1ABC W9XYZ R-15", true},
        Case{"K1ABC W9XYZ -35", true}, Case{"K1ABC W9XYZ -45", false}, Case{"ABCDEFGH-1", true},
        Case{"ABCDEFG-1", false}, Case{"A-B K1ABC-1 XXXXX", false}}) {
    modes::Encoding encoding;
    ASSERT_TRUE(modes::EncodeMessage(Mode::kJt4, 0, c.message, encoding).ok);
    // Symbol 0 has sync bit 0; its low bit shows whether the sync is inverted.
    EXPECT_EQ(encoding.tones[0] % 2 == 1, c.inverted) << c.message;
    for (std::size_t i = 0; i < encoding.tones.size(); ++i)
      ASSERT_EQ(encoding.tones[i] / 2, encoding.symbols[i]) << c.message;
  }
}

TEST(Jt9AndJt4, ShareTheInterleavedBits) {
  for (const char* message : {"CQ K1ABC FN42", "G0XYZ K1ABC -15", "HELLO WORLD"}) {
    modes::Encoding jt9, jt4;
    ASSERT_TRUE(modes::EncodeMessage(Mode::kJt9, 0, message, jt9).ok);
    ASSERT_TRUE(modes::EncodeMessage(Mode::kJt4, 0, message, jt4).ok);
    EXPECT_EQ(jt9.sourceBits, jt4.sourceBits);
    Bits regrouped;
    for (int symbol : jt9.symbols) {
      int value = symbol;  // undo the Gray code: value = g ^ (g >> 1) ^ (g >> 2)
      value ^= value >> 1;
      value ^= value >> 2;
      modes::AppendBits(regrouped, std::uint64_t(value), 3);
    }
    regrouped.resize(206);
    EXPECT_EQ(Bits(jt4.symbols.begin(), jt4.symbols.end()), regrouped) << message;
  }
}

TEST(ModeTable, GivesEachSubmodeItsSpacingAndPeriod) {
  const modes::ModeInfo& jt4 = modes::InfoOf(Mode::kJt4);
  const double jt4Spacing[] = {4.375, 8.75, 17.5, 39.375, 78.75, 157.5, 315};
  for (int i = 0; i < 7; ++i)
    EXPECT_NEAR(modes::ToneSpacingHz(jt4, char('A' + i)), jt4Spacing[i], 1e-9) << i;
  const modes::ModeInfo& jt65 = modes::InfoOf(Mode::kJt65);
  EXPECT_NEAR(modes::ToneSpacingHz(jt65, 'c'), 10.7666, 1e-4);
  EXPECT_NEAR(modes::InfoOf(Mode::kJt9).symbolPeriodSeconds * 85, 48.96, 1e-9);
  EXPECT_NEAR(modes::InfoOf(Mode::kWspr).symbolPeriodSeconds * 162, 110.592, 1e-9);
  EXPECT_NEAR(jt4.symbolPeriodSeconds * 206, 47.086, 1e-3);
  EXPECT_EQ(modes::InfoOf(Mode::kWspr).periodSeconds, 120);
  EXPECT_EQ(modes::FindMode("WSPR"), &modes::InfoOf(Mode::kWspr));

  modes::Encoding encoding;
  EXPECT_TRUE(modes::EncodeMessage(Mode::kJt4, 'g', "CQ K1ABC FN42", encoding).ok);
  EXPECT_NEAR(encoding.toneSpacingHz, 315, 1e-9);
  EXPECT_EQ(encoding.submode, 'G');
  EXPECT_TRUE(modes::EncodeMessage(Mode::kWspr, 0, "K1ABC FN42 37", encoding).ok);
  EXPECT_NEAR(encoding.toneSpacingHz, 1.46484375, 1e-9);
  EXPECT_FALSE(modes::EncodeMessage(Mode::kWspr, 'A', "K1ABC FN42 37", encoding).ok);
  EXPECT_FALSE(modes::EncodeMessage(Mode::kJt9, 'B', "CQ K1ABC FN42", encoding).ok);
}

// The reason a message is refused, or "" when it is encoded.
std::string Refusal(Mode mode, const char* message) {
  modes::Encoding encoding;
  modes::EncodeResult result = modes::EncodeMessage(mode, 0, message, encoding);
  EXPECT_TRUE(result.ok || encoding.tones.empty()) << message;
  return result.ok ? "" : result.error;
}

TEST(BadInput, IsRefusedInWords) {
  struct Case {
    const char* message;
    const char* words;  // part of the reason
  };
  for (Case c : {Case{"K1ABC FN42", "power in dBm is missing"},
                 Case{"K1ABC FN42 XX", "\"XX\" is not a whole number"},
                 Case{"K1ABC FN42 3.5", "\"3.5\" is not a whole number"},
                 Case{"K1ABC fn42 37", "\"fn42\" is not a 4-character grid"},
                 Case{"K1ABC FN4X 37", "\"FN4X\" is not a 4-character grid"},
                 Case{"K1ABCDE FN42 37", "\"K1ABCDE\" is not a callsign"},
                 Case{"HELLO", "\"HELLO\" is not a callsign"},
                 Case{"K1ABC", "the grid and the power are missing"},
                 Case{"", "empty"},
                 Case{" K1ABC FN42 37", "starts with a blank"},
                 Case{"K1ABC  FN42 37", "one blank apart"},
                 Case{"<K1ABC FN42AB 37", "no closing \">\""},
                 Case{"<k1abc> FN42AB 37", "in capitals"},
                 Case{"<K1ABC> FN42 37", "\"FN42\" is not a 6-character grid"},
                 Case{"<K1ABC> ZZ99ZZ 37", "\"ZZ99ZZ\" is not a 6-character grid"},
                 Case{"<> FN42AB 37", "no call"},
                 Case{"K1ABC <X> 37", "with the \"<\" first"},
                 Case{"AB/K1 37", "\"AB\" is not a callsign"},
                 Case{"K1ABC/P FN42 37", "\"FN42 37\" is not a whole number"},
                 Case{"K1ABC FN42/ 37", "the \"/\" in the call"},
                 Case{"/K1ABC 37", "starts with \"/\""}}) {
    EXPECT_NE(Refusal(Mode::kWspr, c.message).find(c.words), std::string::npos)
        << c.message << ": " << Refusal(Mode::kWspr, c.message);
  }
  EXPECT_NE(Refusal(Mode::kJt9, "RRR").find("shorthand"), std::string::npos);
  EXPECT_NE(Refusal(Mode::kJt65, "73").find("shorthand"), std::string::npos);
  EXPECT_EQ(Refusal(Mode::kJt4, "73"), "");  // JT4 sends it as free text
}

std::vector<std::string> Notes(Mode mode, const char* message) {
  modes::Encoding encoding;
  EXPECT_TRUE(modes::EncodeMessage(mode, 0, message, encoding).ok) << message;
  return encoding.notes;
}

TEST(QuietChanges, AreDoneAsTheReferenceDoesAndNoted) {
  using Notes_ = std::vector<std::string>;
  EXPECT_EQ(Notes(Mode::kWspr, "K1ABC FN42 38"),
            Notes_{"power 38 dBm is not a WSPR power level (0-60 dBm, ending in 0, 3 or 7): sent "
                   "as 37 dBm"});
  EXPECT_EQ(Notes(Mode::kWspr, "K1ABC FN42 99").size(), 1u);
  EXPECT_EQ(Notes(Mode::kWspr, "K1ABC RO09 37"), Notes_{"sent as \"K1ABC RO   37\""});
  EXPECT_EQ(Notes(Mode::kWspr, "ABCD/K1ABC 37"), Notes_{"sent as \"ABC/K1ABC 37\""});
  EXPECT_EQ(Notes(Mode::kWspr, "K1ABC/05 37"), Notes_{"sent as \"K1ABC/V 37\""});
  // A grid word shorter than its field lets the power be read from the next columns.
  EXPECT_EQ(Notes(Mode::kWspr, "C7Q 73 207"), Notes_{"sent as \"C7Q 73   7\""});
  EXPECT_EQ(
      Notes(Mode::kWspr, "K1ABC FN42 37 and more text"),
      (Notes_{"cut to 22 characters: \"K1ABC FN42 37 and more\"", "sent as \"K1ABC FN42 37\""}));
  EXPECT_TRUE(Notes(Mode::kWspr, "k1abc FN42 037").empty());
  EXPECT_EQ(Notes(Mode::kJt9, "K1ABC W9XYZ EN34 OOO"), Notes_{"OOO is not sent in JT9: dropped"});
  EXPECT_EQ(
      Notes(Mode::kJt4, "HELLO WORLD HOW ARE YOU"),
      (Notes_{"cut to 22 characters: \"HELLO WORLD HOW ARE YO\"", "sent as \"HELLO WORLD H\""}));
  EXPECT_EQ(Notes(Mode::kJt65, "hello@world"), Notes_{"sent as \"HELLO WORLD\""});
  EXPECT_TRUE(Notes(Mode::kJt9, " cq k1abc fn42").empty());
}

}  // namespace

// What the fuzzers found: a message a receiver would show as nothing, or one holding a NUL byte
// (the core reads text up to it), is refused in every mode, with no tones left behind.
TEST(ModeRefusals, NothingToShowOrANulByteIsRefusedInEveryMode) {
  using namespace std::string_view_literals;
  for (const modes::ModeInfo& info : modes::AllModes()) {
    for (std::string_view text : {""sv, "   "sv, "K1ABC FN42 37\0 73"sv}) {
      modes::Encoding encoding;
      modes::EncodeResult result = modes::EncodeMessage(info.mode, 0, text, encoding);
      EXPECT_FALSE(result.ok) << info.name << " [" << text << "]";
      EXPECT_TRUE(encoding.tones.empty()) << info.name;
    }
  }
}
