// Running Debian's reference tools from a test: a message quoted for the shell, the tool's output,
// and the numbers printed under a heading of its listing.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace testsupport {

inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs a shell command in the current folder; what it wrote to standard output.
inline std::string OutputOf(const std::string& command) {
  const char* file = "tool-output.txt";
  std::system((command + " >" + file).c_str());
  std::ifstream in(file, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

// The first count numbers on the lines after the line that starts with heading (fewer when the
// listing ends or something else follows them).
inline std::vector<int> NumbersAfter(const std::string& listing, const std::string& heading,
                                     size_t count) {
  std::vector<int> numbers;
  size_t line = listing.find("\n" + heading);
  if (line == std::string::npos) return numbers;
  size_t next = listing.find('\n', line + 1);
  if (next == std::string::npos) return numbers;
  std::istringstream rest(listing.substr(next + 1));
  for (int value; numbers.size() < count && rest >> value;) numbers.push_back(value);
  return numbers;
}

}  // namespace testsupport
