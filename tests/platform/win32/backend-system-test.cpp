// The Win32 backend's last error, error mode, text conversion and process life.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace {

TEST(Win32Errors, LastErrorKeepsWhatWasSet) {
  pf::SetLastError(pf::kErrorDiskFull);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorDiskFull);
  pf::SetLastError(0);
  EXPECT_EQ(pf::GetLastError(), 0u);
}

TEST(Win32Errors, ErrorModeGivesBackThePreviousMode) {
  const uint32_t boxesOff = pf::kSemFailCriticalErrors | pf::kSemNoOpenFileErrorBox;
  const uint32_t before = pf::SetErrorMode(boxesOff);
  EXPECT_EQ(pf::SetErrorMode(before), boxesOff);
}

// The ANSI code page is Windows-1252 here (the test runner sets the locale for it).
TEST(Win32Text, AnsiBytesWidenByWindows1252) {
  EXPECT_EQ(pf::MultiByteToWideChar(""), u"");
  EXPECT_EQ(pf::MultiByteToWideChar("CQ K1ABC"), u"CQ K1ABC");
  EXPECT_EQ(pf::MultiByteToWideChar("\x80\xe9\xfc\x84"), u"\u20ac\u00e9\u00fc\u201e");
}

TEST(Win32Text, EveryAnsiByteComesBackTheSame) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::u16string wide = pf::MultiByteToWideChar(all);
  EXPECT_EQ(wide.size(), all.size());  // one code unit per byte
  EXPECT_EQ(pf::WideCharToMultiByte(wide), all);
}

// Windows narrows some characters to a look-alike of the code page instead (its "best fit":
// U+3000 becomes a blank, U+0100 "A"); the CJK ideographs have none.
TEST(Win32Text, CharactersOutsideTheCodePageBecomeTheDefaultCharacter) {
  EXPECT_EQ(pf::WideCharToMultiByte(u""), "");
  EXPECT_EQ(pf::WideCharToMultiByte(u"\u20ac"), "\x80");
  EXPECT_EQ(pf::WideCharToMultiByte(u"a\u4e00b\u4e01"), "a?b?");
  EXPECT_EQ(pf::WideCharToMultiByte(u"\u3000\u0100"), " A");
}

TEST(Win32ProcessLife, RunsOnTheNtFamily) {
  EXPECT_TRUE(pf::IsWindowsNtFamily());
}

TEST(Win32ProcessLife, ThreadSlotCanBeTakenAndGivenBack) {
  const uint32_t slot = pf::TlsAlloc();
  ASSERT_NE(slot, pf::kTlsOutOfIndexes);
  EXPECT_TRUE(pf::TlsFree(slot));
}

TEST(Win32ProcessLife, ComLibraryStartsAndStops) {
  ASSERT_TRUE(pf::CoInitialize());
  pf::CoUninitialize();
}

TEST(Win32Console, FileHandleIsNoConsole) {
  uint32_t mode = 0;
  EXPECT_FALSE(pf::GetConsoleMode(pf::kInvalidHandle, &mode));
  pf::ScreenBufferInfo info;
  EXPECT_FALSE(pf::GetConsoleScreenBufferInfo(pf::kInvalidHandle, &info));
}

}  // namespace
