// qcmd end to end: one program, one "> file", nothing else interpreted.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "tests/platform/posix/child-process.h"
#include "tests/support/temp-folder.h"

namespace {

using posixtest::OutputOf;
using posixtest::Quoted;
using posixtest::RunAndWait;
namespace fs = std::filesystem;

const std::u16string kQcmd = Quoted(QV_QCMD);

// A folder like the program's working folder: the encoder stand-in prints its arguments.
struct EncoderFolder {
  testsupport::TempWorkFolder folder;
  EncoderFolder() { fs::copy_file(QV_HELPER, "JT65CODE.EXE"); }
};

TEST(Qcmd, RunsTheProgramWithItsOutputInTheFile) {
  EncoderFolder here;
  EXPECT_EQ(RunAndWait(kQcmd + u" /C JT65CODE \"HELLO WORLD\" > JT65TEMP.TXT"), 0);
  EXPECT_EQ(testsupport::ReadFileBytes("JT65TEMP.TXT"), "HELLO WORLD\n");
  testsupport::WriteFileBytes("JT65TEMP.TXT", "an older and longer listing");
  EXPECT_EQ(RunAndWait(kQcmd + u" /c jt65code>JT65TEMP.TXT \"CQ\""), 0);
  EXPECT_EQ(testsupport::ReadFileBytes("JT65TEMP.TXT"), "CQ\n") << "the file is emptied first";
  EXPECT_EQ(OutputOf(kQcmd + u" /C JT65CODE \"A > B\""), "A > B\n") << "a quoted > is text";
}

TEST(Qcmd, ShellCharactersReachTheProgramAsText) {
  EncoderFolder here;
  EXPECT_EQ(RunAndWait(kQcmd + u" /C JT65CODE \"A\" & touch X & \"\" > JT65TEMP.TXT"), 0);
  EXPECT_FALSE(fs::exists("X"));
  EXPECT_EQ(testsupport::ReadFileBytes("JT65TEMP.TXT"), "A\n&\ntouch\nX\n&\n\n");
  EXPECT_EQ(OutputOf(kQcmd + u" /C JT65CODE a|b <c ^d %PATH% *"), "a|b\n<c\n^d\n%PATH%\n*\n");
}

TEST(Qcmd, WorksWhenStartedFromAShell) {
  EncoderFolder here;
  std::string shell = std::string(QV_QCMD) + " '/C JT65CODE \"HELLO WORLD\" > OUT.TXT'";
  ASSERT_EQ(std::system(shell.c_str()), 0);
  EXPECT_EQ(testsupport::ReadFileBytes("OUT.TXT"), "HELLO WORLD\n");
}

TEST(Qcmd, WordsAShellSplitOffStayWhole) {
  EncoderFolder here;
  // The shell drops the quotes and does the redirection itself.
  std::string shell = std::string(QV_QCMD) + " /C JT65CODE \"HELLO WORLD\" > OUT.TXT";
  ASSERT_EQ(std::system(shell.c_str()), 0);
  EXPECT_EQ(testsupport::ReadFileBytes("OUT.TXT"), "HELLO WORLD\n");
}

TEST(Qcmd, ExitCodeOfTheProgramIsItsOwn) {
  EncoderFolder here;
  EXPECT_EQ(RunAndWait(kQcmd + u" /C JT65CODE --exit 3"), 3);
}

// Runs qcmd through sh to see its standard error; gives the exit code.
int64_t RunWithErrorsTo(const std::string& qcmdArguments, const std::string& errorFile) {
  std::string script = "'" + std::string(QV_QCMD) + "' " + qcmdArguments + " 2>" + errorFile;
  std::u16string line = u"sh -c \"" + posixtest::Wide(script) + u"\"";
  return RunAndWait(line);
}

TEST(Qcmd, UnknownProgramIsNotRecognized) {
  EncoderFolder here;
  // 9009 does not fit a Linux exit status, which keeps its low eight bits.
  EXPECT_EQ(RunWithErrorsTo("'/C NOSUCHPROG x > OUT.TXT'", "ERR.TXT"), 9009 % 256);
  EXPECT_EQ(testsupport::ReadFileBytes("ERR.TXT"), "'NOSUCHPROG' is not recognized as a command\n");
}

TEST(Qcmd, BadUsageSaysWhatIsWrong) {
  EncoderFolder here;
  struct Case {
    std::string arguments, message;
  };
  for (const Case& bad :
       {Case{"", "qcmd: usage: qcmd /C command [> file]\n"},
        Case{"/K JT65CODE", "qcmd: usage: qcmd /C command [> file]\n"},
        Case{"/C", "qcmd: no command to run\n"},
        Case{"'/C JT65CODE a > A.TXT > B.TXT'", "qcmd: only one output redirection is allowed\n"},
        Case{"'/C JT65CODE a >'", "qcmd: no file name after >\n"},
        Case{"'/C JT65CODE a >> A.TXT'", "qcmd: >> is not supported\n"},
        Case{"'/C JT65CODE a > NODIR/A.TXT'",
             "qcmd: cannot create 'NODIR/A.TXT': no such folder\n"}}) {
    EXPECT_EQ(RunWithErrorsTo(bad.arguments, "ERR.TXT"), 1) << bad.arguments;
    EXPECT_EQ(testsupport::ReadFileBytes("ERR.TXT"), bad.message) << bad.arguments;
    EXPECT_FALSE(fs::exists("A.TXT"));
  }
}

}  // namespace
