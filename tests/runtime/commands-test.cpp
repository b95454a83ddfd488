// The command-tail finder on Windows command lines, the environment look-up and child processes.
#include "runtime/commands.h"

#include <gtest/gtest.h>

#include "runtime/errors.h"

namespace {

std::u16string Tail(std::u16string_view line) {
  return std::u16string(line.substr(CommandTailStart(line)));
}

TEST(CommandTailTest, TheProgramNameAloneOrWithBlanksGivesNoTail) {
  EXPECT_EQ(Tail(u"QUORVEL"), u"");
  EXPECT_EQ(Tail(u"QUORVEL   "), u"");
  EXPECT_EQ(Tail(u""), u"");
}

TEST(CommandTailTest, BlanksAfterTheMessageStay) {
  EXPECT_EQ(Tail(u"QUORVEL  CQ K1ABC FN42  "), u"CQ K1ABC FN42  ");
}

TEST(CommandTailTest, AQuotedProgramNameEndsAtItsClosingQuote) {
  EXPECT_EQ(Tail(u"\"C:\\My Tools\\QUORVEL.EXE\" hello"), u"hello");
  EXPECT_EQ(Tail(u"\"C:\\My Tools\\QUORVEL.EXE\"hello"), u"hello");
  EXPECT_EQ(Tail(u"\"C:\\never closed hello"), u"");
}

TEST(CommandTailTest, QuotesInTheTailAndATabAfterTheNameStay) {
  EXPECT_EQ(Tail(u"QUORVEL \"hello world\""), u"\"hello world\"");
  EXPECT_EQ(Tail(u"QUORVEL\thello"), u"\thello");
}

TEST(CommandTailTest, ALeadingBlankMakesTheNameItselfTheTail) {
  EXPECT_EQ(Tail(u"  QUORVEL hello"), u"QUORVEL hello");
}

TEST(EnvironmentTest, NamesAreFoundWithoutRegardToLetterCase) {
  ASSERT_FALSE(GetEnvironment("PATH").empty());
  EXPECT_EQ(GetEnvironment("path"), GetEnvironment("PATH"));
  ClearRuntimeError();
  EXPECT_EQ(GetEnvironment("QUORVEL_SURELY_UNSET_VARIABLE"), "");
  EXPECT_EQ(LastRuntimeError(), 0);
}

TEST(RunCommandTest, AProgramThatIsNotThereStartsNothingAndRecordsAnError) {
  ClearRuntimeError();
  RunCommandAndWait(" /C JT65CODE \"X\" > JT65TEMP.TXT", 1);
  EXPECT_EQ(LastRuntimeError(), kErrFileNotFound);
  ClearRuntimeError();
  RunCommandAndWait("quorvel-no-such-program-here arg", 1);
  EXPECT_EQ(LastRuntimeError(), kErrFileNotFound);
}

}  // namespace
