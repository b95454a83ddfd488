// The file services on real files in a temporary folder: line cutting at CR, block boundaries,
// Ctrl-Z, the end of the file, unbuffered output, the file table and the name services.
#include "runtime/files.h"

#include <gtest/gtest.h>

#include "runtime/errors.h"
#include "tests/support/temp-folder.h"

namespace {

class FilesTest : public testsupport::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    ClearRuntimeError();
  }
  void TearDown() override {
    for (FileNumber n = 0; n < 4; ++n) CloseFile(n);
    TempFolderTest::TearDown();
  }
  // Every line up to the end of the file, with the error left by the read that ended it.
  static std::vector<std::string> ReadAll(FileNumber number, int* endError) {
    std::vector<std::string> lines;
    for (;;) {
      ClearRuntimeError();
      std::string line = ReadTextLine(number);
      if (LastRuntimeError() != 0) break;
      lines.push_back(line);
    }
    *endError = LastRuntimeError();
    return lines;
  }
  std::vector<std::string> ReadFileLines(const std::string& bytes, uint32_t block = 128) {
    CloseFile(1);
    ClearRuntimeError();
    WriteFile("LIST.TXT", bytes);
    OpenTextInput(1, "LIST.TXT", block);
    EXPECT_EQ(LastRuntimeError(), 0);
    int endError = 0;
    auto lines = ReadAll(1, &endError);
    EXPECT_EQ(endError, kErrInputPastEnd);
    return lines;
  }
};

using Lines = std::vector<std::string>;

TEST_F(FilesTest, LinesEndAtCrLfOrALoneCrButNotAtALoneLf) {
  EXPECT_EQ(ReadFileLines("one\r\ntwo\rthree\r\n"), (Lines{"one", "two", "three"}));
  EXPECT_EQ(ReadFileLines("a\nb\r\n"), (Lines{"a\nb"}));
  EXPECT_EQ(ReadFileLines("x\r\n\r\ny\r\n"), (Lines{"x", "", "y"}));
}

TEST_F(FilesTest, ACrLfSplitAcrossTwoBlocksEndsOneLine) {
  std::string first(127, 'a');
  EXPECT_EQ(ReadFileLines(first + "\r\nnext\r\n"), (Lines{first, "next"}));
  EXPECT_EQ(ReadFileLines("ab\r\ncd", 3), (Lines{"ab", "cd"}));
}

TEST_F(FilesTest, TheLastLineNeedsNoTerminatorAndTheEndRepeats) {
  WriteFile("LIST.TXT", "last");
  OpenTextInput(1, "LIST.TXT", 128);
  EXPECT_EQ(ReadTextLine(1), "last");
  EXPECT_EQ(LastRuntimeError(), 0);
  for (int i = 0; i < 3; ++i) {
    ClearRuntimeError();
    EXPECT_EQ(ReadTextLine(1), "");
    EXPECT_EQ(LastRuntimeError(), kErrInputPastEnd);
  }
}

TEST_F(FilesTest, AnEmptyFileEndsAtOnce) {
  EXPECT_EQ(ReadFileLines(""), Lines{});
}

TEST_F(FilesTest, CtrlZEndsTheFileWhateverFollows) {
  EXPECT_EQ(ReadFileLines("one\r\ntw\x1Ao\r\nthree\r\n"), (Lines{"one", "tw"}));
}

TEST_F(FilesTest, LongLinesComeBackWhole) {
  std::string longLine(1000, 'z');
  longLine[300] = 'q';
  EXPECT_EQ(ReadFileLines(longLine + "\r\nend"), (Lines{longLine, "end"}));
  std::string exact(256, 'e');
  EXPECT_EQ(ReadFileLines(exact + "\r"), (Lines{exact}));
}

TEST_F(FilesTest, OutputStartsEmptyAndIsWrittenThroughAtOnce) {
  WriteFile("OUT.INC", std::string(500, '#'));
  OpenTextOutput(2, "OUT.INC");
  EXPECT_EQ(LastRuntimeError(), 0);
  // The open file is not shared, so only its size can be seen until it is closed.
  EXPECT_EQ(std::filesystem::file_size("OUT.INC"), 0u);
  WriteText(2, "    de  ");
  EXPECT_EQ(std::filesystem::file_size("OUT.INC"), 8u);
  WriteText(2, "");
  WriteLineEnd(2);
  EXPECT_EQ(std::filesystem::file_size("OUT.INC"), 10u);
  EXPECT_EQ(LastRuntimeError(), 0);
  CloseFile(2);
  EXPECT_EQ(ReadFile("OUT.INC"), "    de  \r\n");
}

TEST_F(FilesTest, TheFileTableRefusesBadNumbersAndKinds) {
  WriteFile("A.TXT", "a\r\n");
  OpenTextInput(1, "A.TXT", 128);
  OpenTextInput(1, "A.TXT", 128);
  EXPECT_EQ(LastRuntimeError(), kErrFileAlreadyOpen);
  EXPECT_EQ(ReadTextLine(1), "a");  // the first open is kept

  ClearRuntimeError();
  WriteText(1, "x");
  EXPECT_EQ(LastRuntimeError(), kErrBadFileMode);
  OpenTextOutput(2, "B.TXT");
  ClearRuntimeError();
  ReadTextLine(2);
  EXPECT_EQ(LastRuntimeError(), kErrBadFileMode);

  ClearRuntimeError();
  WriteLineEnd(3);
  EXPECT_EQ(LastRuntimeError(), kErrBadFileNumber);
  OpenTextInput(-1, "A.TXT", 128);
  EXPECT_EQ(LastRuntimeError(), kErrBadFileNumber);
  OpenTextInput(3, "A.TXT", 0);
  EXPECT_EQ(LastRuntimeError(), kErrBadCall);
  OpenTextOutput(3, "*.TXT");
  EXPECT_EQ(LastRuntimeError(), kErrBadFileName);
  OpenTextOutput(3, "");
  EXPECT_EQ(LastRuntimeError(), kErrBadFileName);
  EXPECT_FALSE(IsFileOpen(3));

  ClearRuntimeError();
  CloseFile(3);  // not open: no failure
  EXPECT_EQ(LastRuntimeError(), 0);
}

TEST_F(FilesTest, AMissingFileLeavesTheNumberFree) {
  OpenTextInput(1, "NOSUCH.TXT", 128);
  EXPECT_EQ(LastRuntimeError(), kErrFileNotFound);
  EXPECT_FALSE(IsFileOpen(1));
  ClearRuntimeError();
  EXPECT_EQ(ReadTextLine(1), "");
  EXPECT_EQ(LastRuntimeError(), kErrBadFileNumber);
  OpenTextOutput(2, "nodir/X.INC");
  EXPECT_EQ(LastRuntimeError(), kErrPathNotFound);
}

TEST_F(FilesTest, NamesAreMatchedWithoutRegardToLetterCase) {
  WriteFile("JT65TEMP.TXT", "listing\r\n");
  WriteFile("JT65CODE.EXE", "");
  OpenTextInput(1, "JT65Temp.txt", 128);
  EXPECT_EQ(ReadTextLine(1), "listing");
  EXPECT_EQ(FindFirstName("jt65code.exe", 0), "JT65CODE.EXE");
}

TEST_F(FilesTest, AnOpenFileCannotBeOpenedAgainOrDeleted) {
  WriteFile("JT65TEMP.TXT", "keep me\r\n");
  OpenTextInput(1, "JT65Temp.txt", 128);
  OpenTextOutput(2, "JT65TEMP.TXT");
  EXPECT_EQ(LastRuntimeError(), kErrPermissionDenied);
  EXPECT_FALSE(IsFileOpen(2));
  ClearRuntimeError();
  DeleteFile("JT65TEMP.TXT");
  EXPECT_EQ(LastRuntimeError(), kErrPermissionDenied);
  CloseFile(1);
  EXPECT_EQ(ReadFile("JT65TEMP.TXT"), "keep me\r\n");
  ClearRuntimeError();
  DeleteFile("JT65TEMP.TXT");
  EXPECT_EQ(LastRuntimeError(), 0);
  EXPECT_FALSE(Exists("JT65TEMP.TXT"));
}

TEST_F(FilesTest, ReadOnlyFilesAreFoundButNeitherWrittenNorDeleted) {
  WriteFile("RO.INC", "old");
  MakeReadOnly("RO.INC");
  EXPECT_EQ(FindFirstName("RO.INC", 0), "RO.INC");
  OpenTextOutput(2, "RO.INC");
  EXPECT_EQ(LastRuntimeError(), kErrPermissionDenied);
  ClearRuntimeError();
  DeleteFile("RO.INC");
  EXPECT_EQ(LastRuntimeError(), kErrPermissionDenied);
  EXPECT_EQ(ReadFile("RO.INC"), "old");
}

TEST_F(FilesTest, HiddenFilesAndDirectoriesAreNotFound) {
  WriteFile(".hidden", "");
  std::filesystem::create_directory("JT65CODE.EXE");
  EXPECT_EQ(FindFirstName(".hidden", 0), "");
  EXPECT_EQ(FindFirstName("JT65CODE.EXE", 0), "");
  EXPECT_EQ(FindFirstName("JT65CODE.EXE", 16), "JT65CODE.EXE");
  OpenTextOutput(2, "JT65CODE.EXE");
  EXPECT_EQ(LastRuntimeError(), kErrPermissionDenied);
}

TEST_F(FilesTest, DeleteRemovesEveryOrdinaryMatchAndReportsNoMatch) {
  DeleteFile("GONE.TXT");
  EXPECT_EQ(LastRuntimeError(), kErrFileNotFound);
  WriteFile("A1.TXT", "");
  WriteFile("A2.TXT", "");
  WriteFile("B.TXT", "");
  ClearRuntimeError();
  DeleteFile("A?.TXT");
  EXPECT_EQ(LastRuntimeError(), 0);
  EXPECT_FALSE(Exists("A1.TXT"));
  EXPECT_FALSE(Exists("A2.TXT"));
  EXPECT_TRUE(Exists("B.TXT"));
  DeleteFile("");
  EXPECT_EQ(LastRuntimeError(), 0);
}

TEST_F(FilesTest, AWriteThatFindsNoRoomRecordsDiskFull) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no /dev/full";
#else
  ClearRuntimeError();
  OpenTextOutput(2, "/dev/full");
  ASSERT_EQ(LastRuntimeError(), 0);
  WriteText(2, "    de   d'41'");
  EXPECT_EQ(LastRuntimeError(), kErrDiskFull);
  CloseFile(2);
#endif
}

TEST(PlatformErrorDeathTest, NumbersFrom241EndTheProcessWith255) {
  EXPECT_EXIT(RecordRuntimeError(241), ::testing::ExitedWithCode(255), "");
}

}  // namespace
