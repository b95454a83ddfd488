// The channel symbols of Debian's jt65code (package wsjtx), the reference the include file's
// symbols are compared with: it is run as a program, on the message as given, and its printed
// table is read back.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/needs-tool.h"

namespace testsupport {

// The 63 symbols printed under "Information-carrying channel symbols"; fewer when the reference
// printed none (a shorthand message) or is missing.
inline std::vector<int> ReferenceSymbols(const std::string& message) {
  std::string quoted = "'";
  for (char c : message) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  std::string command = FindOnPath("jt65code") + " " + quoted + "' 2>&1";
  std::string listing;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      listing.append(buffer, got);
    pclose(pipe);
  }
  std::vector<int> symbols;
  size_t table = listing.find("Information-carrying channel symbols\n");
  if (table == std::string::npos) return symbols;
  std::istringstream numbers(listing.substr(listing.find('\n', table) + 1));
  for (int value; symbols.size() < 63 && numbers >> value;) symbols.push_back(value);
  return symbols;
}

}  // namespace testsupport
