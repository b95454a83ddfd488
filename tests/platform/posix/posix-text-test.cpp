// Windows-1252 conversion of the Linux system backend.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

TEST(PosixText, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  std::u16string wide = pf::MultiByteToWideChar(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(wide[0x80], u'\u20AC');
  EXPECT_EQ(wide[0x81], u'\u0081');
  EXPECT_EQ(wide[0x8A], u'\u0160');
  EXPECT_EQ(wide[0x9D], u'\u009D');
  EXPECT_EQ(wide[0x9F], u'\u0178');
  EXPECT_EQ(wide[0xE9], u'\u00E9');
  EXPECT_EQ(pf::WideCharToMultiByte(wide), all);
}

TEST(PosixText, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
  EXPECT_EQ(pf::WideCharToMultiByte(u"A\u0100B"), "A?B");
  EXPECT_EQ(pf::WideCharToMultiByte(u"\u0080"), "?") << "0x80 is the euro sign, not U+0080";
  EXPECT_EQ(pf::WideCharToMultiByte(u"x\U0001F600y"), "x?y");
  std::u16string loneSurrogates = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
  EXPECT_EQ(pf::WideCharToMultiByte(loneSurrogates), "a?b?");
  EXPECT_EQ(pf::WideCharToMultiByte(u"\u20AC\u2122"), "\x80\x99");
}

}  // namespace
