// Reading the Intel HEX files that assemblers, compilers and qvcode write: the bytes by address.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

namespace testsupport {

inline int HexByte(const std::string& text, size_t at) {
  return std::stoi(text.substr(at, 2), nullptr, 16);
}

// The bytes of an Intel hex file by address; a record with a bad checksum fails the test.
inline std::map<unsigned, int> ReadIntelHex(const std::string& hex) {
  std::map<unsigned, int> memory;
  unsigned base = 0;
  std::istringstream lines(hex);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    EXPECT_EQ(line[0], ':') << line;
    int count = HexByte(line, 1);
    unsigned address = static_cast<unsigned>(HexByte(line, 3) << 8 | HexByte(line, 5));
    int type = HexByte(line, 7);
    int sum = 0;
    for (int i = 0; i < count + 5; ++i) sum += HexByte(line, 1 + 2 * i);
    EXPECT_EQ(sum & 0xFF, 0) << "checksum of " << line;
    if (type == 0) {
      for (int i = 0; i < count; ++i) memory[base + address + i] = HexByte(line, 9 + 2 * i);
    } else if (type == 2) {
      base = static_cast<unsigned>(HexByte(line, 9) << 8 | HexByte(line, 11)) << 4;
    } else if (type == 4) {
      base = static_cast<unsigned>(HexByte(line, 9) << 8 | HexByte(line, 11)) << 16;
    }
  }
  return memory;
}

}  // namespace testsupport
