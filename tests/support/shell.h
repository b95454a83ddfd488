// Words for a POSIX shell command line that tests hand to std::system or popen.
#pragma once

#include <string>

namespace testsupport {

// text as one shell word, whatever it holds.
inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace testsupport
