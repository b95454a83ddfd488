// The conversion of encoder listings into include files, byte for byte, with the same text echoed
// on the console, and its end on listings that break the usual layout.
#include <gtest/gtest.h>

#include "generator/stages.h"
#include "platform/memory/memory-console.h"
#include "runtime/errors.h"
#include "runtime/process.h"
#include "tests/support/console-run.h"
#include "tests/support/cq-k1abc-fn42.h"
#include "tests/support/temp-folder.h"

namespace {

using testsupport::kInclude;
using testsupport::kListing;

class ConversionTest : public testsupport::ConsoleRunTest {
 protected:
  ConversionResult Convert(const std::string& listing) {
    WriteFile("JT65TEMP.TXT", listing);
    OpenTextInput(kListingFile, "JT65Temp.txt", 128);
    OpenTextOutput(kIncludeFile, "OUT.INC");
    ConversionResult result = ConvertListing();
    CloseFile(kIncludeFile);
    include_ = ReadFile("OUT.INC");
    return result;
  }
  // The include file's lines, without the CR LF ends.
  std::vector<std::string> IncludeLines() const {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = include_.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(include_.substr(start, end - start));
    return lines;
  }
  // The data entries of one line, " d'NN'" each.
  std::string Symbols(const std::string& symbolLines) {
    Convert("Channel symbols\r\n" + symbolLines + "Decoded: X\r\n");
    std::string entries;
    for (const std::string& line : IncludeLines())
      if (line.rfind("    de  ", 0) == 0) entries += (entries.empty() ? "" : ",") + line.substr(8);
    return entries;
  }
  std::string include_;
};

TEST_F(ConversionTest, TheUsualListingGivesTheIncludeFileByteForByte) {
  ConversionResult result = Convert(kListing);
  EXPECT_EQ(include_, kInclude);
  EXPECT_TRUE(result.foundSymbols);
  EXPECT_TRUE(result.foundDecoded);
  EXPECT_FALSE(result.writeFailed);
  EXPECT_EQ(result.symbolCount, 63);
  EXPECT_FALSE(IsFileOpen(kListingFile));
}

TEST_F(ConversionTest, TheConsoleShowsTheSameTextAsTheFile) {
  Convert(kListing);
  std::vector<std::string> lines = IncludeLines();
  ASSERT_EQ(lines.size(), 10u);
  // The echo starts on the cursor's row with a line end, like the file.
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string row = memcon::RowAscii(static_cast<int>(i));
    EXPECT_EQ(row.substr(0, lines[i].size()), lines[i]);
    EXPECT_EQ(row.find_last_not_of(' ') + 1, lines[i].size());
  }
  EXPECT_EQ(memcon::Cursor().x, 0);
  EXPECT_EQ(memcon::Cursor().y, 10);
}

TEST_F(ConversionTest, SixtyThreeSymbolsInAnyLayoutGiveSevenLinesOfEightAndOneOfSeven) {
  std::string oneLine, manyLines;
  for (int i = 0; i < 63; ++i) {
    std::string field = std::to_string(i);
    field.insert(0, 3 - field.size(), ' ');  // right-aligned in three, as encoders print them
    oneLine += field;
    manyLines += field + (i % 5 == 4 ? "\r\n" : "");
  }
  for (const std::string& layout : {oneLine + "\r\n", manyLines + "\r\n"}) {
    Convert("Channel symbols\r\n" + layout + "Decoded: A\r\n");
    std::vector<std::string> lines = IncludeLines();
    ASSERT_EQ(lines.size(), 10u) << layout;
    EXPECT_EQ(lines[0], "");
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(lines[i].size(), 8u + 8 * 6 + 7) << i;
    EXPECT_EQ(lines[8].size(), 8u + 7 * 6 + 6);
    EXPECT_EQ(lines[8].substr(lines[8].size() - 6), " d'62'");
  }
}

TEST_F(ConversionTest, EntriesHaveTwoDigitsWithALeadingZeroBelowTen) {
  EXPECT_EQ(Symbols("  7 10 99\r\n"), " d'07', d'10', d'99'");
  EXPECT_EQ(Symbols(" 14  3 45\r\n"), " d'14', d'03', d'45'");
}

TEST_F(ConversionTest, ThreeDigitsKeepTheFirstTwoAndTheScanResumesTwoAfterTheFirstDigit) {
  EXPECT_EQ(Symbols("123\r\n"), " d'12'");
  EXPECT_EQ(Symbols("123 \r\n"), " d'12', d'03'");
}

TEST_F(ConversionTest, TheScanStopsByTheLineLength) {
  EXPECT_EQ(Symbols("1 2\r\n"), " d'01'");
  EXPECT_EQ(Symbols("1 23\r\n"), " d'01', d'23'");  // a blank ends a number: never 123
}

TEST_F(ConversionTest, ALineWithoutDigitsGivesOneZeroEntry) {
  EXPECT_EQ(Symbols("\r\n"), " d'00'");
  EXPECT_EQ(Symbols("no digits at all here\r\n"), " d'00'");
}

TEST_F(ConversionTest, BlanksAfterTheLastNumberEndTheLineWithoutFurtherEntries) {
  EXPECT_EQ(Symbols(" 41 26    \r\n 52\r\n"), " d'41', d'26', d'52'");
}

TEST_F(ConversionTest, NumbersOnTheMarkerLineAreNotRead) {
  Convert("Channel symbols 11 22\r\n 33\r\nDecoded: X\r\n");
  EXPECT_EQ(IncludeLines()[1], "    de   d'33'");
}

TEST_F(ConversionTest, TheDecodedTextIsEverythingAfterTheFirstColonUpperCased) {
  Convert("Channel symbols\r\n 1\r\nDecoded: hello world\r\n");
  EXPECT_EQ(IncludeLines().back(), "    ;    HELLO WORLD");
  Convert("Channel symbols\r\n 1\r\nDecoded: a:b\r\n");
  EXPECT_EQ(IncludeLines().back(), "    ;    A:B");
  Convert("Channel symbols\r\n 1\r\nDecoded message\r\n");
  EXPECT_EQ(IncludeLines().back(), "    ;   DECODED MESSAGE");
}

TEST_F(ConversionTest, MarkersAreMatchedWithTheirLetterCase) {
  ConversionResult result = Convert("channel symbols\r\n 1\r\nDecoded: X\r\n");
  EXPECT_FALSE(result.foundSymbols);
  result = Convert("Channel symbols\r\n 1\r\nDECODED: X\r\n 2\r\nDecoded: Y\r\n");
  EXPECT_EQ(result.symbolCount, 3);
  EXPECT_EQ(IncludeLines().back(), "    ;    Y");
}

TEST_F(ConversionTest, AListingWithoutSymbolsEndsWithoutEntries) {
  ConversionResult result = Convert(" Usage: JT65code \"message\"\r\n");
  EXPECT_FALSE(result.foundSymbols);
  EXPECT_EQ(result.symbolCount, 0);
  EXPECT_EQ(include_, "");
  EXPECT_FALSE(IsFileOpen(kListingFile));
}

TEST_F(ConversionTest, AListingCutShortEndsAfterItsLastLine) {
  ConversionResult result = Convert("Channel symbols\r\n  1  2  3\r\n");
  EXPECT_TRUE(result.foundSymbols);
  EXPECT_FALSE(result.foundDecoded);
  EXPECT_EQ(result.symbolCount, 3);
}

TEST_F(ConversionTest, AMissingListingEndsAtOnce) {
  OpenTextInput(kListingFile, "JT65Temp.txt", 128);
  OpenTextOutput(kIncludeFile, "OUT.INC");
  ConversionResult result = ConvertListing();
  EXPECT_FALSE(result.foundSymbols);
}

TEST_F(ConversionTest, AFailedDestinationIsReportedWhileTheEchoGoesOn) {
  WriteFile("JT65TEMP.TXT", kListing);
  OpenTextInput(kListingFile, "JT65Temp.txt", 128);
  ConversionResult result = ConvertListing();  // file 2 was never opened
  EXPECT_TRUE(result.writeFailed);
  EXPECT_EQ(result.symbolCount, 63);
  EXPECT_EQ(memcon::RowAscii(9).substr(0, 22), "    ;    CQ K1ABC FN42");
}

TEST(SymbolValueTest, ReadsNumbersTheWayTheListingReaderDoes) {
  EXPECT_EQ(ReadSymbolValue("41 26"), 41);
  EXPECT_EQ(ReadSymbolValue("12 34"), 12);
  EXPECT_EQ(ReadSymbolValue("  \t7"), 7);
  EXPECT_EQ(ReadSymbolValue("12.5"), 12);
  EXPECT_EQ(ReadSymbolValue("13.5"), 14);
  EXPECT_EQ(ReadSymbolValue("1e2"), 100);
  EXPECT_EQ(ReadSymbolValue("2D1x"), 20);
  EXPECT_EQ(ReadSymbolValue("5e"), 5);
  EXPECT_EQ(ReadSymbolValue("-3"), -3);
  EXPECT_EQ(ReadSymbolValue("1.2.3"), 1);
  EXPECT_EQ(ReadSymbolValue("x"), 0);
  EXPECT_EQ(ReadSymbolValue(""), 0);
  EXPECT_EQ(ReadSymbolValue("32767"), 32767);
  EXPECT_EQ(ReadSymbolValue("32768"), -32768);
  EXPECT_EQ(ReadSymbolValue("99999999999999999999999"), -32768);
  EXPECT_EQ(ReadSymbolValue("1e9999"), -32768);
  EXPECT_EQ(ReadSymbolValue("0000000000000000000000012"), 12);
}

TEST(SymbolValueTest, TheValueIsRoundedExactlyFromItsDigits) {
  EXPECT_EQ(ReadSymbolValue("2.50"), 2);
  EXPECT_EQ(ReadSymbolValue("12.50"), 12);
  EXPECT_EQ(ReadSymbolValue("250e-2"), 2);
  EXPECT_EQ(ReadSymbolValue("0e5000"), 0);
  EXPECT_EQ(ReadSymbolValue("-0e-5000"), 0);
  EXPECT_EQ(ReadSymbolValue("0.5"), 0);
  EXPECT_EQ(ReadSymbolValue("1.5"), 2);
  EXPECT_EQ(ReadSymbolValue("-2.5"), -2);
  EXPECT_EQ(ReadSymbolValue("2.5000000000000001"), 3);  // just above the half
  EXPECT_EQ(ReadSymbolValue("2.49999999999999999"), 2);
  // Digits beyond the eighteenth are dropped, not rounded: this is 2.5 exactly.
  EXPECT_EQ(ReadSymbolValue("2.500000000000000009"), 2);
  EXPECT_EQ(ReadSymbolValue("1234567890123456789012e-18"), 1235);
  EXPECT_EQ(ReadSymbolValue("5e-1"), 0);
  EXPECT_EQ(ReadSymbolValue("15d-1"), 2);
  EXPECT_EQ(ReadSymbolValue("1e-9999"), 0);
  EXPECT_EQ(ReadSymbolValue("1e-99999"), 0);
  EXPECT_EQ(ReadSymbolValue("32767.5"), -32768);
  EXPECT_EQ(ReadSymbolValue("32766.5"), 32766);
  EXPECT_EQ(ReadSymbolValue("-32768.5"), -32768);
  EXPECT_EQ(ReadSymbolValue("-32767.5"), -32768);
  EXPECT_EQ(ReadSymbolValue("-32769"), -32768);
  EXPECT_EQ(ReadSymbolValue("3.2767e4"), 32767);
  EXPECT_EQ(ReadSymbolValue(".5"), 0);
  EXPECT_EQ(ReadSymbolValue("."), 0);
  EXPECT_EQ(ReadSymbolValue("+7.5"), 8);
  EXPECT_EQ(ReadSymbolValue("\r\n 9"), 9);
  EXPECT_EQ(ReadSymbolValue("1,5"), 1);
  EXPECT_EQ(ReadSymbolValue("1e+2"), 100);
  EXPECT_EQ(ReadSymbolValue("25D-1"), 2);
  EXPECT_EQ(ReadSymbolValue("1e2e3"), 100);
  EXPECT_EQ(ReadSymbolValue("1-2"), 1);
  EXPECT_EQ(ReadSymbolValue("+-3"), 0);
}

TEST(SymbolValueTest, SymbolTextsAndEntriesAreAlwaysSixCharacters) {
  EXPECT_EQ(SymbolText(0), "00");
  EXPECT_EQ(SymbolText(7), "07");
  EXPECT_EQ(SymbolText(63), "63");
  EXPECT_EQ(SymbolText(123), "123");
  EXPECT_EQ(SymbolText(-5), "05");
  EXPECT_EQ(SymbolText(-32768), "032768");
  EXPECT_EQ(SymbolEntry("07"), " d'07'");
  EXPECT_EQ(SymbolEntry("123"), " d'12'");
  EXPECT_EQ(SymbolEntry("032768"), " d'03'");
}

}  // namespace
