// The small text rules of the dialogue: the destination's first field, the message normalisation
// and the encoder's command line.
#include <gtest/gtest.h>

#include "generator/generator.h"
#include "generator/stages.h"

namespace {

TEST(FirstFieldTest, TakesTheTextUpToTheFirstCommaWithoutOuterBlanks) {
  EXPECT_EQ(FirstField("  out.inc  "), "out.inc");
  EXPECT_EQ(FirstField("x.inc,y"), "x.inc");
  EXPECT_EQ(FirstField(","), "");
  EXPECT_EQ(FirstField("   "), "");
  EXPECT_EQ(FirstField(""), "");
  EXPECT_EQ(FirstField("My.Inc"), "My.Inc");
  EXPECT_EQ(FirstField("a b.inc , c"), "a b.inc");
}

TEST(FirstFieldTest, AQuotedFieldKeepsItsBlanksAndCommas) {
  EXPECT_EQ(FirstField("\"a b.inc\""), "a b.inc");
  EXPECT_EQ(FirstField("  \"x, y\" tail"), "x, y");
  EXPECT_EQ(FirstField("\"open ended "), "open ended ");
}

TEST(NormaliseMessageTest, UpperCasesAndCutsToThirteenWithoutTrimming) {
  EXPECT_EQ(NormaliseMessage("hello world and more"), "HELLO WORLD A");
  EXPECT_EQ(NormaliseMessage("\"hello world\""), "\"HELLO WORLD\"");
  EXPECT_EQ(NormaliseMessage("   "), "   ");
  EXPECT_EQ(NormaliseMessage("a,b"), "A,B");
  EXPECT_EQ(NormaliseMessage(""), "");
}

TEST(EncoderCommandLineTest, QuotesTheMessageBehindTheInterpreter) {
  EXPECT_EQ(EncoderCommandLine("C:\\WINDOWS\\system32\\cmd.exe", "HELLO WORLD"),
            "C:\\WINDOWS\\system32\\cmd.exe /C JT65CODE \"HELLO WORLD\" > JT65TEMP.TXT");
  EXPECT_EQ(EncoderCommandLine("", "X"), " /C JT65CODE \"X\" > JT65TEMP.TXT");
}

TEST(EncoderCommandLineTest, OnlyWhatActsInsideQuotesIsHandedOverAsAnotherCharacter) {
  EXPECT_EQ(EncoderCommandLine("cmd", "A\" & TOUCH X"),
            "cmd /C JT65CODE \"A# & TOUCH X\" > JT65TEMP.TXT");
  EXPECT_EQ(EncoderCommandLine("cmd", "%P%|<>^"), "cmd /C JT65CODE \"#P#|<>^\" > JT65TEMP.TXT");
}

}  // namespace
