// A fresh temporary folder that is the current directory while a test runs, and small helpers
// for the files in it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/platform.h"

namespace posixtest {

struct TempFolder {
  std::filesystem::path path;
  std::filesystem::path previous;

  TempFolder() {
    std::random_device random;
    previous = std::filesystem::current_path();
    path = std::filesystem::temp_directory_path() / ("qv-posix-" + std::to_string(random()));
    std::filesystem::create_directories(path);
    std::filesystem::current_path(path);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
};

inline std::u16string Wide(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
}

inline std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteAll(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
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
  std::string text = ReadAll("qv-output.txt");
  std::filesystem::remove("qv-output.txt");
  return text;
}

inline std::u16string Quoted(const std::string& path) {
  return u"\"" + Wide(path) + u"\"";
}

}  // namespace posixtest
