// The nine worked examples of the protocol facts, as Debian's tools print them: each message
// must give exactly the printed tones (and for WSPR the source bytes and data bits) and decode
// back to itself.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "modes/mode.h"

namespace {

using modes::Mode;

struct Example {
  Mode mode;
  const char* message;
  std::string_view sourceHex;  // WSPR: the 50 bits and six zero bits as 7 bytes
  std::string_view tones;      // one digit a tone
  std::string_view data;       // WSPR: the 162 data bits
};

// clang-format off
constexpr Example kExamples[] = {
    {Mode::kWspr, "K1ABC FN42 37", "F70C238B0D1940",
     "330020001020131222100323133220200032012322002232110233210221"
     "321222033030301210212032132003323032203020201023021112330231"
     "212221332000010320132222202332323320031222",
     "110010000010010111000111011110100011001111001111000111100110"
     "110111011010100100101011011001111011101010100011010001110110"
     "101110111000000110011111101111111110010111"},
    {Mode::kWspr, "PJ4/K1ABC 37", "F70C23810E99C0",
     "310220001022131020100123131220220230030322022010130031010003"
     "323222013010301210032032112203323030223022021023001310310031"
     "230021332000010120112222222132323102011022",
     "100110000011010010000011010110110110010111011000010010000001"
     "111111001000100100011011001101111010111011010011000100100010"
     "110010111000000010001111111011111001000011"},
    {Mode::kWspr, "<PJ4/K1ABC> FK52UD 37", "88247C69A2E680",
     "332022223002133202300303131220222012032300200010310013210203"
     "103000211010103230210010130021123032201202221203021310130211"
     "012201112222032122310020000310101100011202",
     "111011111001011101100101010110111001011100100000100001100101"
     "001000100000001110100000010010011011100101110101010100010100"
     "001100001111011011100010000100000000000101"},
    {Mode::kJt9, "CQ K1ABC FN42", "",
     "006203534017268017873501733337160506726774234681520084067310"
     "1577104366640715663585040",
     ""},
    {Mode::kJt9, "G0XYZ K1ABC -15", "",
     "007602756011628048837107148485880701833187181388520086051880"
     "5768304667770188572344040",
     ""},
    {Mode::kJt9, "HELLO WORLD", "",
     "003607347073248032416105822442530804737634453243720012055250"
     "2483202138180228317812010",
     ""},
    {Mode::kJt4, "CQ K1ABC FN42", "",
     "220112023323122121000200013220202000200303301123233111210023"
     "023023133300010320233330310012221301210121013133030321303010"
     "333003213031330200132110001332311211100120033231221220131311"
     "00132222132003233231332303",
     ""},
    {Mode::kJt4, "G0XYZ K1ABC -15", "",
     "311221112210233230111111320113313131313212032210100200101130"
     "312130202233303213300001203123132010303210100202101032212303"
     "222112302320223111203203332201220302033031320320310311200000"
     "31221333221110302302003012",
     ""},
    {Mode::kJt4, "HELLO WORLD", "",
     "022330201123120301200022013020202022002121101321011333212003"
     "003021131102232122213130310032201321032121031333032103121032"
     "311003011013332222112332003130313033102102011033203000313113"
     "00330202310021031211110301",
     ""},
};
// clang-format on

std::string Digits(const std::vector<int>& values) {
  std::string digits;
  for (int value : values) digits += char('0' + value);
  return digits;
}

std::string Hex(std::vector<std::uint8_t> bits) {
  bits.resize(56, 0);
  std::string hex;
  for (std::size_t at = 0; at < bits.size(); at += 4)
    hex += "0123456789ABCDEF"[8 * bits[at] + 4 * bits[at + 1] + 2 * bits[at + 2] + bits[at + 3]];
  return hex;
}

TEST(WorkedExamples, GiveThePrintedTones) {
  for (const Example& example : kExamples) {
    modes::Encoding encoding;
    ASSERT_TRUE(modes::EncodeMessage(example.mode, 0, example.message, encoding).ok)
        << example.message;
    EXPECT_EQ(Digits(encoding.tones), example.tones) << example.message;
    EXPECT_TRUE(encoding.notes.empty()) << example.message;
    if (example.mode == Mode::kWspr) {
      EXPECT_EQ(Hex(encoding.sourceBits), example.sourceHex) << example.message;
      EXPECT_EQ(Digits(encoding.symbols), example.data) << example.message;
    } else {
      EXPECT_EQ(encoding.decoded, example.message);
    }
  }
}

}  // namespace
