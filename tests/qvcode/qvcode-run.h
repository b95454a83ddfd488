// What the qvcode tests share: running the built program in a test's folder, the messages each
// mode is tried with, and the values a message must give.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "modes/mode.h"
#include "tests/support/environment.h"
#include "tests/support/reference-tools.h"
#include "tests/support/shell.h"

namespace qvcodetest {

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs qvcode with arguments (already shell words), optionally with a standard input file.
inline std::string ReadWhole(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

inline Result RunQvcode(const std::string& arguments, const std::string& input = "/dev/null") {
  std::string bin = testsupport::BinFolder();
  std::string command = bin + "/qvcode " + arguments + " <" + input + " >qv-out.txt 2>qv-err.txt";
  int status = std::system(command.c_str());
  Result result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadWhole("qv-out.txt");
  result.err = ReadWhole("qv-err.txt");
  std::remove("qv-out.txt");
  std::remove("qv-err.txt");
  return result;
}

// Messages of several kinds for each mode; a mode without samples here fails the tests that use
// them, so that a newly built mode gets some.
inline const std::map<std::string, std::vector<std::string>>& SampleMessages() {
  static const std::map<std::string, std::vector<std::string>> samples = {
      {"jt65", {"CQ K1ABC FN42", "K1ABC W9XYZ -15", "TNX BOB 73 GL", "CQ PJ4/K1ABC"}},
      {"jt9", {"CQ K1ABC FN42", "K1ABC W9XYZ R-15", "TNX BOB 73 GL", "CQ PJ4/K1ABC"}},
      {"jt4", {"CQ K1ABC FN42", "K1ABC W9XYZ -15", "TNX BOB 73 GL", "CQ K1ABC/P"}},
      {"wspr", {"K1ABC FN42 37", "W9XYZ EN37 30", "PJ4/K1ABC 37", "<PJ4/K1ABC> FN42AX 37"}},
      {"ft8", {"CQ K1ABC FN42", "K1ABC W9XYZ RR73", "TNX BOB 73 GL", "K1ABC W9XYZ -15"}},
      {"ft4", {"CQ K1ABC FN42", "K1ABC W9XYZ RR73", "TNX BOB 73 GL", "K1ABC W9XYZ R-07"}},
      {"fst4w", {"K1ABC FN42 37", "PJ4/K1ABC 37", "K1ABC/P 30", "<PJ4/K1ABC> FK52UD"}},
      {"fst4", {"CQ K1ABC FN42", "K1ABC W9XYZ RR73", "TNX BOB 73 GL", "K1ABC W9XYZ -15"}},
      // Not a standard message ending in RR73: there Q65 sends what q65code does not.
      {"q65", {"CQ K1ABC FN42", "TNX BOB 73 GL", "K1ABC W9XYZ -15", "<W9XYZ> PJ4/K1ABC RR73"}},
  };
  return samples;
}

inline std::vector<std::string> SamplesOf(const modes::ModeInfo& mode) {
  auto found = SampleMessages().find(std::string(mode.name));
  EXPECT_NE(found, SampleMessages().end()) << "no sample messages for mode " << mode.name;
  return found == SampleMessages().end() ? std::vector<std::string>{} : found->second;
}

// The symbols or tones a message must give: what Debian's reference tool for the mode prints, read
// once per message and kept.
inline std::vector<int> ExpectedValues(const modes::ModeInfo& mode, const std::string& message,
                                       bool tones) {
  static std::map<std::pair<modes::Mode, std::string>, testsupport::ToolEncoding> seen;
  auto key = std::make_pair(mode.mode, message);
  auto found = seen.find(key);
  if (found == seen.end())
    found = seen.emplace(key, testsupport::RunReferenceTool(mode.mode, message)).first;
  const testsupport::ToolEncoding& reference = found->second;
  EXPECT_TRUE(reference.ok) << mode.name << " " << message << ": " << reference.error;
  return tones ? reference.tones : reference.symbols;
}

// The inverse of qvcode's packing, as its files state it: the bytes read as one string of bits,
// each byte from bit 7 down, `bits` bits a value.
inline std::vector<int> Unpack(const std::vector<int>& bytes, int bits, size_t count) {
  std::vector<int> values;
  for (size_t i = 0; i < count; ++i) {
    int value = 0;
    for (int b = 0; b < bits; ++b) {
      size_t at = i * size_t(bits) + size_t(b);
      int bit = at / 8 < bytes.size() ? (bytes[at / 8] >> (7 - at % 8)) & 1 : 0;
      value = value << 1 | bit;
    }
    values.push_back(value);
  }
  return values;
}

}  // namespace qvcodetest
