// The FT8/FT4 pieces against worked values that were checked against the reference tools: call
// fields, hashes, CRCs, whole tone sequences; and refusals and quiet changes told in words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modes/crc14.h"
#include "modes/ft-call28.h"
#include "modes/ft4-tones.h"
#include "modes/message77.h"
#include "modes/mode.h"

namespace {

std::string Text(const std::vector<std::uint8_t>& bits) {
  std::string text;
  for (std::uint8_t bit : bits) text += char('0' + bit);
  return text;
}

std::string Text(const std::vector<int>& tones) {
  std::string text;
  for (int tone : tones) text += char('0' + tone);
  return text;
}

std::vector<std::uint8_t> Bits(const std::string& text) {
  std::vector<std::uint8_t> bits;
  for (char c : text) bits.push_back(std::uint8_t(c - '0'));
  return bits;
}

TEST(FtCallField, WorkedValues) {
  const std::pair<const char*, std::int64_t> values[] = {{"DE", 0},
                                                         {"QRZ", 1},
                                                         {"CQ", 2},
                                                         {"CQ_000", 3},
                                                         {"CQ_999", 1002},
                                                         {"CQ_A", 1004},
                                                         {"CQ_DX", 1135},
                                                         {"CQ_TEST", 398841},
                                                         {"CQ_ZZZZ", 532443},
                                                         {"K1ABC", 10214965},
                                                         {"W9XYZ", 12751800},
                                                         {"KA1ABC", 157050145},
                                                         {"G4ABC", 9486694},
                                                         {"PA9XYZ", 192654420},
                                                         {"2E0ABC", 30271942},
                                                         {"A1B", 8247337},
                                                         {"ZZ9ZZZ", 268435455},
                                                         {"<W9XYZ>", 6046196}};
  for (const auto& [text, value] : values) EXPECT_EQ(ft::PackCall28(text), value) << text;
}

TEST(FtCallField, HashesOfThreeWidths) {
  struct Hashes {
    const char* call;
    std::uint32_t h10, h12, h22;
  };
  const Hashes hashes[] = {{"K1ABC", 712, 2851, 2920267},   {"W9XYZ", 972, 3889, 3982604},
                           {"KH1/KH7Z", 201, 806, 825805},  {"PJ4/K1ABC", 346, 1387, 1420834},
                           {"YW18FIFA", 188, 753, 771524},  {"KA1ABC", 180, 723, 740896},
                           {"G4ABC/P", 802, 3211, 3288979}, {"PA3XYZ", 802, 3211, 3289055}};
  for (const Hashes& h : hashes) {
    EXPECT_EQ(ft::CallHash(h.call, 10), h.h10) << h.call;
    EXPECT_EQ(ft::CallHash(h.call, 12), h.h12) << h.call;
    EXPECT_EQ(ft::CallHash(h.call, 22), h.h22) << h.call;
  }
}

TEST(FtCallField, TheCallCheck) {
  for (const char* call : {"K1ABC", "KA1ABC", "2E0ABC", "A1B", "QU1RK"})
    EXPECT_EQ(ft::BaseCall(call), std::string(call));
  EXPECT_EQ(ft::BaseCall("PJ4/K1ABC"), "K1ABC");
  EXPECT_EQ(ft::BaseCall("K1ABC/R"), "K1ABC");
  for (const char* word : {"YW18FIFA", "QA1ABC", "K1ABCD", "FN42", "K1-ABC", ""})
    EXPECT_FALSE(ft::BaseCall(word)) << word;
}

TEST(FtCrc, OverTheMessageAndOverFt4sScrambledBits) {
  std::vector<std::uint8_t> cq =
      Bits("00000000000000000000000000100000010011011110111100011010100010100001100110001");
  EXPECT_EQ(ft::Crc14(cq), 0b00101100101110u);
  EXPECT_EQ(ft::Crc14(ft::Ft4Scramble(cq)), 0b11101001100100u);
}

struct Worked {
  modes::Mode mode;
  const char* message;
  const char* bits;
  const char* tones;
};

// Listings the reference tools printed for these messages.
const Worked kWorked[] = {
    {modes::Mode::kFt8, "CQ K1ABC FN42",
     "00000000000000000000000000100000010011011110111100011010100010100001100110001",
     "3140652000000001005476704606021533433140652736011047517007334745455133543140652"},
    {modes::Mode::kFt8, "TNX BOB 73 GL",
     "01100011111011011100111011100010101001001010111000000111111101010000000000000",
     "3140652207447147063336401773500017703140652646427306546072440503670130533140652"},
    {modes::Mode::kFt8, "K1ABC W9XYZ 579 WI",
     "00000100110111101111000110101000011000010100100111011100001011111101110001011",
     "3140652011672416304061147037725347523140652306512463403404071636453510363140652"},
    {modes::Mode::kFt8, "CQ PJ4/K1ABC",
     "01010110101100000000000110100011101000110001000111001010101000000000010001100",
     "3140652366200016073153143630005210413140652661416746414647456323744275423140652"},
    {modes::Mode::kFt4, "CQ K1ABC FN42",
     "00000000000000000000000000100000010011011110111100011010100010100001100110001",
     "001321033112330313110222113111302210231223312331210203121200233032123101212323023000120100"
     "233321133032010"},
    {modes::Mode::kFt4, "K1ABC RR73; W9XYZ <KH1/KH7Z> -08",
     "00001001101111011110001101010000110000101001001110111000001100100101011001000",
     "001321002230213332310120301312001110233122330133132011112001033012023102031302322232002122"
     "020000130232010"},
    {modes::Mode::kFt4, "K1ABC W9XYZ 6A WI",
     "00001001101111011110001101010000110000101001001110111000001010001001100011000",
     "001321002230213332310120301312001110232210313232000310031203202101023102331330302300300120"
     "021022231132010"},
    {modes::Mode::kFt4, "123456789ABCDEF012",
     "00100100011010001010110011110001001101010111100110111101111000000010010101000",
     "001321323021303111011301122022010310232113132132100330100132302123123103003122121313323001"
     "121310013032010"},
};

TEST(FtEncoder, WorkedListings) {
  for (const Worked& worked : kWorked) {
    modes::Encoding encoding;
    ASSERT_TRUE(modes::EncodeMessage(worked.mode, 0, worked.message, encoding).ok)
        << worked.message;
    EXPECT_EQ(Text(encoding.sourceBits), worked.bits) << worked.message;
    EXPECT_EQ(Text(encoding.tones), worked.tones) << worked.message;
    EXPECT_EQ(encoding.decoded, worked.message);
    EXPECT_TRUE(encoding.notes.empty()) << worked.message;
  }
}

TEST(FtEncoder, PhysicalLayerAndDataTones) {
  modes::Encoding ft8, ft4;
  ASSERT_TRUE(modes::EncodeMessage(modes::Mode::kFt8, 0, "CQ K1ABC FN42", ft8).ok);
  ASSERT_TRUE(modes::EncodeMessage(modes::Mode::kFt4, 0, "CQ K1ABC FN42", ft4).ok);
  EXPECT_EQ(ft8.symbolPeriodSeconds, 0.16);
  EXPECT_EQ(ft8.toneSpacingHz, 6.25);
  EXPECT_EQ(ft4.symbolPeriodSeconds, 0.048);
  EXPECT_NEAR(ft4.toneSpacingHz, 20.8333, 1e-4);
  ASSERT_EQ(ft8.symbols.size(), 58u);
  ASSERT_EQ(ft4.symbols.size(), 87u);
  EXPECT_EQ(std::vector<int>(ft8.tones.begin() + 7, ft8.tones.begin() + 36),
            std::vector<int>(ft8.symbols.begin(), ft8.symbols.begin() + 29));
  EXPECT_EQ(std::vector<int>(ft4.tones.begin() + 71, ft4.tones.begin() + 100),
            std::vector<int>(ft4.symbols.begin() + 58, ft4.symbols.end()));
  modes::Encoding none;
  EXPECT_FALSE(modes::EncodeMessage(modes::Mode::kFt8, 'B', "CQ K1ABC FN42", none).ok);
}

TEST(FtEncoder, RefusalsInWords) {
  for (const char* message :
       {"@@@", "CQ K1ABC R FN42", "CQ DX K1ABC -05", "CQ <W9XYZ>", "K1ABC W9XYZ 6Z WI",
        "K1A/P W9XYZ 6A WI", "K1ABC W9XYZ +99999", "K1ABC W9XYZ R MA", "K1ABC/ABCD 30",
        "W9XYZ PJ4/K1ABC", "<AB> YW18FIFA", "<...> YW18FIFA", "K1ABC W9XYZ 579 9000",
        "<W9XYZ> YW18FIFA.X",
        // The reference sends this as "K1ABC W9XXZ 6A WI", another station: refused here.
        "K1ABC W9XY/P 6A WI",
        // The reference sends this as "K1ABC W9XYZ 196".
        "K1ABC W9XYZ +297"}) {
    for (modes::Mode mode : {modes::Mode::kFt8, modes::Mode::kFt4}) {
      modes::Encoding encoding;
      modes::EncodeResult result = modes::EncodeMessage(mode, 0, message, encoding);
      EXPECT_FALSE(result.ok) << message;
      EXPECT_NE(result.error.find("cannot be sent"), std::string::npos) << result.error;
      EXPECT_TRUE(encoding.tones.empty()) << message;
    }
  }
}

TEST(FtEncoder, QuietChangesAreTold) {
  const std::pair<const char*, const char*> changed[] = {
      {"TNX FOR THE QSO BOB", "TNX FOR THE Q"},
      {"1234567890ABCDEF0123", "1234567890ABCDEF01"},
      {"800000000000000000", "8000000000000"},
      {"K1ABC W9XYZ R -10", "K1ABC W9XYZ -10"},
      {"PJ4/K1ABC W9XYZ -11", "K1ABC W9XYZ -11"},
      {"K1ABC RR73; W9XYZ <KH1/KH7Z> +25", "K1ABC RR73; W9XYZ <KH1/KH7Z> +24"},
      {"<K1ABC> <W9XYZ> 592048 JO22DB", "<K1ABC> <W9XYZ> 592047 JO22DB"},
      {"K1ABC W9XYZ 579 8001", "K1ABC W9XYZ 579 AL"},
      {"<W9XYZ> ABCDEFGHIJKL 73", "<W9XYZ> ABCDEFGHIJK 73"},
      {"THIS MESSAGE IS LONGER THAN THIRTY-SEVEN CHARACTERS", "THIS MESSAGE"},
  };
  for (const auto& [message, decoded] : changed) {
    modes::Encoding encoding;
    ASSERT_TRUE(modes::EncodeMessage(modes::Mode::kFt8, 0, message, encoding).ok) << message;
    EXPECT_EQ(encoding.decoded, decoded);
    EXPECT_FALSE(encoding.notes.empty()) << message;
  }
}

TEST(FtMessage77, UnpacksAnyBitsWithoutFailing) {
  // Every type and subtype, with fields full of ones: unpacking refuses or gives text, nothing
  // else.
  for (int type = 0; type < 64; ++type) {
    std::vector<std::uint8_t> bits(71, 1);
    for (int bit = 5; bit >= 0; --bit) bits.push_back(std::uint8_t((type >> bit) & 1));
    std::optional<std::string> text = ft::UnpackMessage77(bits, {});
    if (text) {
      EXPECT_LE(text->size(), 40u);
    }
  }
}

}  // namespace
