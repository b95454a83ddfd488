// The Win32 backend's command line, environment and child processes, with Wine's or Windows's own
// command interpreter as the child.
#include <gtest/gtest.h>

#include <chrono>
#include <cwctype>
#include <string>

#include "platform/platform.h"
#include "tests/support/temp-folder.h"

namespace {

using testsupport::TempFolder;

std::u16string Lower(std::u16string text) {
  for (auto& c : text) c = static_cast<char16_t>(std::towlower(c));
  return text;
}

std::u16string Interpreter() {
  char16_t value[600] = {};
  const uint32_t length = pf::GetEnvironmentVariableW(u"comspec", value, 600);
  return length > 0 && length < 600 ? std::u16string(value, length) : u"cmd.exe";
}

// Runs the command line to its end; the exit code, or 0xDEAD when it could not be started.
uint32_t RunToEnd(const std::u16string& commandLine, pf::Handle output = pf::kInvalidHandle) {
  pf::StartupInfo startup;
  startup.stdOutput = output;
  pf::ProcessInformation started;
  if (!pf::CreateProcessW(commandLine, output != pf::kInvalidHandle, startup, &started)) {
    return 0xDEAD;
  }
  EXPECT_EQ(pf::WaitForSingleObject(started.process, pf::kInfinite), pf::kWaitObject0);
  uint32_t code = 0xBEEF;
  EXPECT_TRUE(pf::GetExitCodeProcess(started.process, &code));
  EXPECT_TRUE(pf::CloseHandle(started.process));
  EXPECT_TRUE(pf::CloseHandle(started.thread));
  return code;
}

TEST(Win32CommandLine, NamesThisProgramFirst) {
  const std::u16string line = Lower(pf::GetCommandLineW());
  EXPECT_NE(line.find(u"win32_backend_test"), std::u16string::npos);
}

TEST(Win32Environment, InterpreterVariableIsFoundInAnyLetterCase) {
  char16_t lower[300] = {};
  char16_t upper[300] = {};
  const uint32_t length = pf::GetEnvironmentVariableW(u"comspec", lower, 300);
  ASSERT_GT(length, 0u);
  ASSERT_LT(length, 300u);
  EXPECT_EQ(pf::GetEnvironmentVariableW(u"COMSPEC", upper, 300), length);
  EXPECT_EQ(std::u16string(lower), std::u16string(upper));
  EXPECT_NE(Lower(lower).find(u"cmd.exe"), std::u16string::npos);
}

TEST(Win32Environment, SmallBufferGetsTheSizeNeeded) {
  char16_t value[300] = {};
  const uint32_t length = pf::GetEnvironmentVariableW(u"comspec", value, 300);
  ASSERT_GT(length, 2u);
  char16_t small[2] = {};
  EXPECT_EQ(pf::GetEnvironmentVariableW(u"comspec", small, 2), length + 1);
}

TEST(Win32Environment, UnsetVariableGivesZero) {
  char16_t value[16] = {};
  EXPECT_EQ(pf::GetEnvironmentVariableW(u"QUORVEL_SURELY_UNSET_VARIABLE", value, 16), 0u);
}

TEST(Win32Processes, ExitCodeOfTheChildIsHandedBack) {
  EXPECT_EQ(RunToEnd(Interpreter() + u" /C exit 3"), 3u);
  EXPECT_EQ(RunToEnd(Interpreter() + u" /C exit 0"), 0u);
}

TEST(Win32Processes, MissingProgramStartsNothing) {
  pf::StartupInfo startup;
  pf::ProcessInformation started;
  pf::SetLastError(0);
  EXPECT_FALSE(pf::CreateProcessW(u"NO_SUCH_PROGRAM_HERE.EXE \"CQ\"", false, startup, &started));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorFileNotFound);
  EXPECT_EQ(started.process, pf::kInvalidHandle);
}

TEST(Win32Processes, InterpreterRedirectionWritesTheFile) {
  TempFolder folder;
  const std::u16string target = folder.Name("OUT.TXT");
  EXPECT_EQ(RunToEnd(Interpreter() + u" /C echo listing> \"" + target + u"\""), 0u);
  pf::Handle file = pf::CreateFileW(target, pf::kGenericRead, 0, false, pf::kOpenExisting,
                                    pf::kFileAttributeNormal);
  ASSERT_NE(file, pf::kInvalidHandle);
  char got[64] = {};
  uint32_t count = 0;
  EXPECT_TRUE(pf::ReadFile(file, got, sizeof(got), &count));
  EXPECT_EQ(std::string(got, count), "listing\r\n");
  pf::CloseHandle(file);
}

TEST(Win32Processes, ChildOutputGoesToTheHandleGiven) {
  TempFolder folder;
  const std::u16string target = folder.Name("CHILD.TXT");
  pf::Handle file = pf::CreateFileW(target, pf::kGenericWrite, pf::kFileShareRead, true,
                                    pf::kCreateAlways, pf::kFileAttributeNormal);
  ASSERT_NE(file, pf::kInvalidHandle);
  EXPECT_EQ(RunToEnd(Interpreter() + u" /C echo handed", file), 0u);
  pf::CloseHandle(file);
  file = pf::CreateFileW(target, pf::kGenericRead, 0, false, pf::kOpenExisting,
                         pf::kFileAttributeNormal);
  ASSERT_NE(file, pf::kInvalidHandle);
  char got[64] = {};
  uint32_t count = 0;
  EXPECT_TRUE(pf::ReadFile(file, got, sizeof(got), &count));
  EXPECT_EQ(std::string(got, count), "handed\r\n");
  pf::CloseHandle(file);
}

// The message is quoted on the interpreter's command line; "&" inside the quotes must not start a
// second command.
TEST(Win32Processes, AmpersandInsideQuotesRunsNothingElse) {
  TempFolder folder;
  const std::u16string marker = folder.Name("RAN.TXT");
  const std::u16string line =
      Interpreter() + u" /C echo \"CQ & echo x> " + marker + u"\" > " + folder.Name("OUT.TXT");
  EXPECT_EQ(RunToEnd(line), 0u);
  pf::SetLastError(0);
  pf::Handle file = pf::CreateFileW(marker, pf::kGenericRead, 0, false, pf::kOpenExisting,
                                    pf::kFileAttributeNormal);
  EXPECT_EQ(file, pf::kInvalidHandle);
  if (file != pf::kInvalidHandle) pf::CloseHandle(file);
}

// The first word of this program's own command line, quoted or not.
std::u16string ThisProgram() {
  const std::u16string line = pf::GetCommandLineW();
  if (!line.empty() && line[0] == u'"') return line.substr(0, line.find(u'"', 1) + 1);
  return line.substr(0, line.find(u' '));
}

TEST(Win32Processes, RunningChildTimesOutAWait) {
  pf::StartupInfo startup;
  pf::ProcessInformation started;
  ASSERT_TRUE(pf::CreateProcessW(ThisProgram() + u" --gtest_filter=Win32Sleep.*", false, startup,
                                 &started));
  EXPECT_EQ(pf::WaitForSingleObject(started.process, 0), pf::kWaitTimeout);
  EXPECT_EQ(pf::WaitForSingleObject(started.process, pf::kInfinite), pf::kWaitObject0);
  uint32_t code = 0xBEEF;
  EXPECT_TRUE(pf::GetExitCodeProcess(started.process, &code));
  EXPECT_EQ(code, 0u);
  pf::CloseHandle(started.process);
  pf::CloseHandle(started.thread);
}

TEST(Win32Sleep, WaitsAtLeastTheTimeAsked) {
  const auto start = std::chrono::steady_clock::now();
  pf::Sleep(400);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(390));
}

}  // namespace
