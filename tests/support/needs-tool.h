// Lets a test that needs an outside program skip with a reason on a machine that lacks it, and fail
// in CI, whose run installs every such program.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace testsupport {

inline bool InCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && *ci != '\0' && std::string(ci) != "false" && std::string(ci) != "0";
}

// The full path of program along PATH, or empty text.
inline std::string FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string rest = path ? path : "";
  while (!rest.empty()) {
    size_t colon = rest.find(':');
    std::string dir = rest.substr(0, colon);
    rest = colon == std::string::npos ? "" : rest.substr(colon + 1);
    std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
    if (std::FILE* f = std::fopen(candidate.c_str(), "rb")) {
      std::fclose(f);
      return candidate;
    }
  }
  return "";
}

}  // namespace testsupport

// Use at the top of a test: NEED_TOOL("gpasm", "package gputils");
#define NEED_TOOL(program, where)                                                    \
  do {                                                                               \
    if (testsupport::FindOnPath(program).empty()) {                                  \
      if (testsupport::InCi()) FAIL() << program << " is missing (" << where << ")"; \
      GTEST_SKIP() << program << " is not installed (" << where << ")";              \
    }                                                                                \
  } while (0)
