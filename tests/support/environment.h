// Setting and clearing environment variables from a test, on every platform, and the folder of
// this build's programs.
#pragma once

#include <cstdlib>
#include <string>

namespace testsupport {

inline void SetEnvironment(const std::string& name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name.c_str(), value.c_str());
#else
  setenv(name.c_str(), value.c_str(), 1);
#endif
}

inline void ClearEnvironment(const std::string& name) {
#ifdef _WIN32
  _putenv_s(name.c_str(), "");
#else
  unsetenv(name.c_str());
#endif
}

inline std::string GetEnvironmentOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : fallback;
}

// Where this build's programs are: QUORVEL_BIN, which ctest sets for every test.
inline std::string BinFolder() {
  return GetEnvironmentOr("QUORVEL_BIN", ".");
}

}  // namespace testsupport
