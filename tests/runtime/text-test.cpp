// The fixed upper-case table and the code page conversions.
#include "runtime/text.h"

#include <gtest/gtest.h>

namespace {

TEST(UpperCaseTest, MapsLettersAndTheSevenAccentedBytesOnly) {
  EXPECT_EQ(UpperCase("cq k1abc fn42 {}~"), "CQ K1ABC FN42 {}~");
  EXPECT_EQ(UpperCase("\x84\x94\x81\x82\xA4\x86\x87"), "\x8E\x99\x9A\x90\xA5\x8F\x80");
  EXPECT_EQ(UpperCase("\xE4\xE9\xFF"), "\xE4\xE9\xFF");  // Windows-1252 letters stay
  EXPECT_EQ(UpperCase(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(TextConversionTest, TheEightBitCodePageRoundTripsAndUnknownCharactersBecomeQuestionMarks) {
  EXPECT_EQ(ToWide("caf\xE9 \x80"), u"caf\u00E9 \u20AC");
  EXPECT_EQ(ToNarrow(u"caf\u00E9 \u20AC"), "caf\xE9 \x80");
  EXPECT_EQ(ToNarrow(u"\u4E00x"), "?x");
}

TEST(FindTextTest, PositionsCountFromOne) {
  EXPECT_EQ(FindText("Channel symbols, including FEC:", "Channel symbols"), 1u);
  EXPECT_EQ(FindText("x Decoded: y", "Decoded"), 3u);
  EXPECT_EQ(FindText("channel symbols", "Channel symbols"), 0u);
  EXPECT_EQ(FindText("", "a"), 0u);
}

}  // namespace
