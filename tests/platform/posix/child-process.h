// What the tests of the Linux backend share: child processes started through the platform calls,
// with or without their output caught in a file.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "tests/support/temp-folder.h"

namespace posixtest {

inline std::u16string Wide(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
}

// Starts commandLine (its output to the file of the handle given, if any), waits, and gives the
// exit code, or -1 with the last error kept when it could not start.
inline int64_t RunAndWait(const std::u16string& commandLine,
                          pf::Handle output = pf::kInvalidHandle) {
  pf::StartupInfo startup;
  startup.stdOutput = output;
  pf::ProcessInformation started;
  if (!pf::CreateProcessW(commandLine, false, startup, &started)) return -1;
  EXPECT_EQ(pf::WaitForSingleObject(started.process, pf::kInfinite), pf::kWaitObject0);
  uint32_t exitCode = 0;
  EXPECT_TRUE(pf::GetExitCodeProcess(started.process, &exitCode));
  pf::CloseHandle(started.process);
  pf::CloseHandle(started.thread);
  return exitCode;
}

// Runs commandLine with its output into a new file and gives what it printed.
inline std::string OutputOf(const std::u16string& commandLine, int64_t* exitCode = nullptr) {
  pf::Handle output = pf::CreateFileW(u"qv-output.txt", pf::kGenericWrite, 0, false,
                                      pf::kCreateAlways, pf::kFileAttributeNormal);
  int64_t code = RunAndWait(commandLine, output);
  pf::CloseHandle(output);
  if (exitCode != nullptr) *exitCode = code;
  std::string text = testsupport::ReadFileBytes("qv-output.txt");
  std::filesystem::remove("qv-output.txt");
  return text;
}

// A path as one word of a Windows command line.
inline std::u16string Quoted(const std::string& path) {
  return u"\"" + Wide(path) + u"\"";
}

}  // namespace posixtest
