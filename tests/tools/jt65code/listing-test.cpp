// The listing as the include-file conversion reads it: the symbols and the decoded text come
// back whole, every line ends in CR LF, no line ends in a blank.
#include "tools/jt65code/listing.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "modes/fixed-text.h"
#include "modes/jt65-encoder.h"
#include "tests/tools/jt65code/listing-reader.h"

namespace jt65 {
namespace {

void ExpectWellFormed(const std::string& listing) {
  jt65test::ReadListing read = jt65test::ReadEncoderListing(listing);
  EXPECT_FALSE(read.lf_only_line_end);
  ASSERT_GE(listing.size(), 2u);
  EXPECT_EQ(listing.substr(listing.size() - 2), "\r\n");
  for (const std::string& line : read.lines) {
    EXPECT_EQ(TrimRight(line), line) << "trailing blank in [" << line << "]";
  }
}

TEST(Listing, ConvertsBackToTheSymbolsAndDecodedText) {
  for (const char* message : {"CQ K1ABC FN42", "HELLO WORLD", "K1ABC W9XYZ OOO", "", "  ",
                              "K1ABC W9XYZ -01", " 2VB57D/3SFIV", "ZL/K1ABC W9XYZ FN42",
                              "0000000000000", "CQ 000 K1ABC", "a\r\nb\"%&|<>^"}) {
    SCOPED_TRACE(message);
    Encoding e = EncodeMessage(message);
    std::string listing = FormatListing(e);
    ExpectWellFormed(listing);
    jt65test::ReadListing read = jt65test::ReadEncoderListing(listing);
    ASSERT_TRUE(read.complete);
    EXPECT_EQ(read.symbols, std::vector<int>(e.channel.begin(), e.channel.end()));
    std::string decoded(TrimRight(e.decoded));
    EXPECT_EQ(read.decoded, decoded.empty() ? "" : " " + decoded);
  }
}

TEST(Listing, AnyBytesGiveACompleteListing) {
  std::mt19937 random(99);
  for (int i = 0; i < 3000; ++i) {
    std::string message(random() % 30, ' ');
    for (char& c : message) c = static_cast<char>(random() % 256);
    Encoding e = EncodeMessage(message);
    std::string listing = FormatListing(e);
    ExpectWellFormed(listing);
    if (e.type != MessageType::kShorthand) {
      EXPECT_EQ(jt65test::ReadEncoderListing(listing).symbols.size(), 63u);
    }
  }
}

TEST(Listing, HasTheClassicLayout) {
  Encoding e = EncodeMessage("cq k1abc fn42");
  EXPECT_EQ(FormatListing(e),
            "Message:   CQ K1ABC FN42\r\n"
            "Packed message, 6-bit symbols:  62 32 32 49 39 55  3  2 14  5 33 40\r\n"
            "Channel symbols, including FEC:\r\n"
            "   41 26 52 55 27 48 25  0 44 36 18  3 37  9 51  6 23  2  9 54 53\r\n"
            "   57 38 63 17 33  3 37 41 24  1  9 35  7 48  9  8 56 12  6 11 38\r\n"
            "   46 48  7  9  0  5 17  2 20 50 41 49  9  5 51 56 24 39 38 52 60\r\n"
            "Decoded message: CQ K1ABC FN42\r\n");

  std::vector<std::string> free_text =
      jt65test::ReadEncoderListing(FormatListing(EncodeMessage("hello world"))).lines;
  ASSERT_EQ(free_text.size(), 8u);
  EXPECT_EQ(free_text[1], "Plain text.");

  std::string shorthand = FormatListing(EncodeMessage("rrr"));
  EXPECT_EQ(shorthand, "Message:   RRR\r\nShorthand message.\r\n");
  EXPECT_FALSE(jt65test::ReadEncoderListing(shorthand).complete);
}

}  // namespace
}  // namespace jt65
