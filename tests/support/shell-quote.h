// Text as one word of a POSIX shell command line, whatever it holds.
#pragma once

#include <string>

namespace testsupport {

// Between single quotes; a single quote inside ends the quoting, is escaped and starts it again.
inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace testsupport
