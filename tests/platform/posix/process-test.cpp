// Child processes, command lines and environment of the Linux system backend, with a small helper
// program as the child.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/platform.h"
#include "platform/posix/posix-hooks.h"
#include "tests/platform/posix/child-process.h"
#include "tests/support/temp-folder.h"

namespace {

using posixtest::OutputOf;
using posixtest::Quoted;
using posixtest::RunAndWait;
using posixtest::Wide;
namespace fs = std::filesystem;

const std::u16string kHelper = Quoted(QV_HELPER);

int beforeCount = 0, afterCount = 0;

void InstallHookCounters() {
  beforeCount = afterCount = 0;
  pf::posix::SetChildProcessHooks({[] { ++beforeCount; }, [] { ++afterCount; }});
}

// Keeps an environment variable as it was around a test.
struct SavedVariable {
  std::string name;
  bool wasSet;
  std::string value;
  explicit SavedVariable(const char* variable) : name(variable) {
    const char* current = std::getenv(variable);
    wasSet = current != nullptr;
    value = current != nullptr ? current : "";
  }
  ~SavedVariable() {
    if (wasSet) setenv(name.c_str(), value.c_str(), 1);
    if (!wasSet) unsetenv(name.c_str());
  }
};

TEST(PosixProcess, ArgumentsAreSplitByTheWindowsRules) {
  testsupport::TempWorkFolder folder;
  std::string output = OutputOf(kHelper + uR"( a "b c"  d\"e "f""g" h\\"i j" k\l "" x"y z"w)");
  EXPECT_EQ(output, "a\nb c\nd\"e\nf\"g\nh\\i j\nk\\l\n\nxy zw\n");
}

TEST(PosixProcess, ExitCodeAndChildHooks) {
  testsupport::TempWorkFolder folder;
  InstallHookCounters();
  EXPECT_EQ(RunAndWait(kHelper + u" --exit 1"), 1);
  EXPECT_EQ(beforeCount, 1);
  EXPECT_EQ(afterCount, 1);
  EXPECT_EQ(RunAndWait(u"sh -c \"kill -TERM $$\""), 128 + 15);
  pf::posix::SetChildProcessHooks({});
}

TEST(PosixProcess, ExitHooksRunOnceEachMostRecentFirst) {
  testsupport::TempWorkFolder folder;
  int64_t exitCode = 0;
  EXPECT_EQ(OutputOf(kHelper + u" --exit-hooks", &exitCode), "last added\nfirst added\n");
  EXPECT_EQ(exitCode, 5);
}

TEST(PosixProcess, ProgramThatCannotStartStartsNothing) {
  testsupport::TempWorkFolder folder;
  InstallHookCounters();
  EXPECT_EQ(RunAndWait(u"QV-NO-SUCH-PROGRAM x"), -1);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorFileNotFound);
  EXPECT_EQ(RunAndWait(u" /C JT65CODE \"CQ\" > JT65TEMP.TXT"), -1) << "empty first word";
  EXPECT_EQ(pf::GetLastError(), pf::kErrorFileNotFound);
  EXPECT_FALSE(fs::exists("JT65TEMP.TXT"));
  testsupport::WriteFileBytes("NOTEXEC.EXE", "#!/bin/sh\n");
  EXPECT_EQ(RunAndWait(u"notexec"), -1);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorAccessDenied);
  fs::create_directory("QvFolder");
  EXPECT_EQ(RunAndWait(u"qvfolder"), -1) << "a directory is no program";
  EXPECT_EQ(beforeCount, 0);
  pf::posix::SetChildProcessHooks({});
}

TEST(PosixProcess, ProgramIsFoundHereThenAlongPathIgnoringCaseWithExtensions) {
  testsupport::TempWorkFolder folder;
  SavedVariable path("PATH");
  fs::copy_file(QV_HELPER, "QVHERE.EXE");
  fs::create_directory("Tools");
  fs::copy_file(QV_HELPER, "Tools/QvTool.com");
  EXPECT_EQ(OutputOf(u"qvhere HELLO"), "HELLO\n");
  EXPECT_EQ(OutputOf(u"tools\\qvtool ok"), "ok\n") << "a name with a separator, relative";
  EXPECT_EQ(RunAndWait(u"qvtool"), -1) << "Tools is not on PATH yet";
  setenv("PATH", ("/qv-nowhere:" + (folder.path / "tools").string()).c_str(), 1);
  EXPECT_EQ(OutputOf(u"QVTOOL.com on-path"), "on-path\n");
}

TEST(PosixProcess, ChildSeesOurLocksButGetsNoneOfOurFiles) {
  testsupport::TempWorkFolder folder;
  testsupport::WriteFileBytes("LISTING.TXT", "x");
  pf::Handle held = pf::CreateFileW(u"LISTING.TXT", pf::kGenericRead, 0, true, pf::kOpenExisting,
                                    pf::kFileAttributeNormal);
  EXPECT_EQ(RunAndWait(kHelper + u" --open listing.txt"), int64_t{pf::kErrorSharingViolation});

  // A child that outlives our handle must not keep the file locked.
  pf::ProcessInformation child;
  ASSERT_TRUE(pf::CreateProcessW(kHelper + u" --hold 1500", true, {}, &child));
  pf::CloseHandle(held);
  pf::Handle again = pf::CreateFileW(u"LISTING.TXT", pf::kGenericRead, 0, false, pf::kOpenExisting,
                                     pf::kFileAttributeNormal);
  EXPECT_NE(again, pf::kInvalidHandle);
  pf::CloseHandle(again);
  EXPECT_EQ(pf::WaitForSingleObject(child.process, 0), pf::kWaitTimeout);
  EXPECT_EQ(pf::WaitForSingleObject(child.process, pf::kInfinite), pf::kWaitObject0);
  pf::CloseHandle(child.process);
  pf::CloseHandle(child.thread);
  EXPECT_EQ(RunAndWait(kHelper + u" --open LISTING.TXT"), 0);
}

TEST(PosixProcess, EnvironmentNamesIgnoreCase) {
  SavedVariable saved("QvMixedCase");
  setenv("QvMixedCase", "value", 1);
  char16_t buffer[16];
  EXPECT_EQ(pf::GetEnvironmentVariableW(u"QVMIXEDCASE", buffer, 16), 5u);
  EXPECT_EQ(std::u16string(buffer), u"value");
  EXPECT_EQ(pf::GetEnvironmentVariableW(u"qvmixedcase", buffer, 5), 6u) << "size needed";
  setenv("QvMixedCase", "", 1);
  EXPECT_EQ(pf::GetEnvironmentVariableW(u"QvMixedCase", buffer, 16), 0u);
  unsetenv("QvMixedCase");
  EXPECT_EQ(pf::GetEnvironmentVariableW(u"QvMixedCase", buffer, 16), 0u);
}

TEST(PosixProcess, DefaultComspecIsQcmdUnlessSet) {
  testsupport::TempWorkFolder folder;
  SavedVariable upper("COMSPEC"), mixed("ComSpec"), lower("comspec");
  unsetenv("COMSPEC");
  unsetenv("ComSpec");
  unsetenv("comspec");
  // Named bare: a program name is looked for first beside the program that starts it.
  EXPECT_EQ(OutputOf(kHelper + u" --comspec"), "[qcmd]\n");
  setenv("comspec", "", 1);
  EXPECT_EQ(OutputOf(kHelper + u" --comspec"), "[]\n") << "a variable set to nothing stays so";
}

TEST(PosixProcess, ABareProgramNameIsFoundBesideTheStartingProgramFirst) {
  testsupport::TempWorkFolder folder;
  std::string helperName = fs::path(QV_HELPER).filename().string();
  testsupport::WriteFileBytes(helperName, "#!/bin/sh\nexit 7\n");
  fs::permissions(helperName, fs::perms::owner_exec, fs::perm_options::add);
  EXPECT_EQ(RunAndWait(Wide(helperName) + u" --exit 3"), 3);
  EXPECT_EQ(RunAndWait(u".\\" + Wide(helperName) + u" --exit 3"), 7) << "a path is no bare name";
}

TEST(PosixProcess, ChildReadsTheExactCommandLineItWasGiven) {
  testsupport::TempWorkFolder folder;
  std::u16string line = kHelper + u" --command-line  \"CQ  K1ABC\"  FN42 ";
  EXPECT_EQ(OutputOf(line), pf::WideCharToMultiByte(line) + "\n");
  // Started from a shell, the arguments are joined by single blanks.
  std::string shell = std::string(QV_HELPER) + " --command-line 'CQ K1ABC' FN42 > FROM-SHELL.TXT";
  ASSERT_EQ(std::system(shell.c_str()), 0);
  EXPECT_EQ(testsupport::ReadFileBytes("FROM-SHELL.TXT"),
            "\"" + std::string(QV_HELPER) + "\" --command-line CQ K1ABC FN42\n");
}

}  // namespace
