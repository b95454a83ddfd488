// The jt65code program as the generator runs it, and a comparison with Debian's jt65code (package
// wsjtx) on a few thousand messages made from a fixed seed, covering every kind of message:
// the encoder must give the same symbols and decoded text for every one.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "modes/jt65-encoder.h"
#include "tests/modes/jt65-message-maker.h"
#include "tests/support/environment.h"
#include "tests/support/needs-tool.h"
#include "tests/support/shell.h"
#include "tests/support/temp-folder.h"
#include "tools/jt65code/listing.h"

namespace jt65 {
namespace {

struct ShellRun {
  std::string output;
  int exit_code = -1;
};

ShellRun RunShell(const std::string& command) {
  ShellRun run;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    run.output.append(buffer, got);
  }
  int status = pclose(pipe);
  run.exit_code = status == -1 ? -1 : (status >> 8) & 0xFF;  // the exit code of a normal end
  return run;
}

using testsupport::BinFolder;
using testsupport::ShellQuote;

TEST(Program, PrintsTheListingAndRejectsAWrongArgumentCount) {
  ASSERT_NE(std::getenv("QUORVEL_BIN"), nullptr) << "QUORVEL_BIN is not set";
  for (const char* name : {"/jt65code", "/JT65CODE.EXE"}) {
    std::string program = ShellQuote(BinFolder() + name);
    ShellRun run = RunShell(program + " 'cq k1abc fn42' 2>/dev/null");
    EXPECT_EQ(run.exit_code, 0) << name;
    EXPECT_EQ(run.output, FormatListing(EncodeMessage("CQ K1ABC FN42"))) << name;

    ShellRun empty = RunShell(program + " ''");
    EXPECT_EQ(empty.exit_code, 0) << name;
    EXPECT_EQ(empty.output, FormatListing(EncodeMessage(""))) << name;

    for (const char* arguments : {"", " A B"}) {
      ShellRun usage = RunShell(program + arguments + " 2>&1");
      EXPECT_EQ(usage.exit_code, 1) << name << arguments;
      EXPECT_EQ(usage.output, " Usage: jt65code \"message\"\r\n") << name << arguments;
    }
  }
}

struct ReferenceResult {
  std::string message;  // 22 characters, as the reference shows it
  std::string decoded;  // 22 characters
  int type = 0;
  std::vector<int> data;
  std::vector<int> channel;
};

std::vector<int> NumbersIn(const std::string& text) {
  std::vector<int> numbers;
  std::istringstream in(text);
  for (int n; in >> n;) numbers.push_back(n);
  return numbers;
}

constexpr const char* kSeparator = "=== next message ===";

ReferenceResult ParseReferenceOutput(const std::vector<std::string>& block) {
  ReferenceResult result;
  if (block.size() >= 3 && block[2].size() >= 54) {
    result.message = block[2].substr(4, 22);
    result.decoded = block[2].substr(27, 22);
    result.type = std::atoi(block[2].substr(51, 3).c_str());
  }
  for (std::size_t i = 3; i < block.size(); ++i) {
    if (block[i].rfind("Packed message", 0) == 0) result.data = NumbersIn(block[i].substr(30));
    if (block[i].rfind("Information-carrying", 0) == 0) {
      for (std::size_t row = i + 1; row < block.size() && row <= i + 3; ++row) {
        for (int n : NumbersIn(block[row])) result.channel.push_back(n);
      }
    }
  }
  return result;
}

// Runs the reference once per message, from two shells at once, and reads its table row and
// symbol lines.
std::vector<ReferenceResult> RunReference(const std::string& reference,
                                          const std::vector<std::string>& messages) {
  constexpr int kShells = 2;
  testsupport::TempFolder folder;
  std::vector<std::filesystem::path> scripts, outputs;
  std::string command;
  for (int shell = 0; shell < kShells; ++shell) {
    scripts.push_back(folder.File(std::to_string(shell) + ".sh"));
    outputs.push_back(folder.File(std::to_string(shell) + ".txt"));
    std::ofstream out(scripts.back());
    for (std::size_t i = shell; i < messages.size(); i += kShells) {
      out << ShellQuote(reference) << " " << ShellQuote(messages[i]) << "; echo '" << kSeparator
          << "'\n";
    }
    command += "sh " + ShellQuote(scripts.back().string()) + " >" +
               ShellQuote(outputs.back().string()) + " 2>&1 & ";
  }
  RunShell(command + "wait");

  std::vector<std::vector<ReferenceResult>> per_shell(kShells);
  for (int shell = 0; shell < kShells; ++shell) {
    std::ifstream in(outputs[shell]);
    std::vector<std::string> block;
    for (std::string line; std::getline(in, line);) {
      if (line != kSeparator) {
        block.push_back(line);
      } else {
        per_shell[shell].push_back(ParseReferenceOutput(block));
        block.clear();
      }
    }
  }
  std::vector<ReferenceResult> results;
  for (std::size_t i = 0; i < messages.size(); ++i) {
    const std::vector<ReferenceResult>& from = per_shell[i % kShells];
    if (i / kShells < from.size()) results.push_back(from[i / kShells]);
  }
  return results;
}

TEST(Reference, SameSymbolsAndTextAsDebianJt65code) {
  NEED_TOOL("jt65code", "Debian package wsjtx");
  std::string reference = testsupport::FindOnPath("jt65code");
  ASSERT_NE(std::filesystem::path(reference).parent_path(), std::filesystem::path(BinFolder()))
      << "PATH leads to this project's own jt65code, not to the reference";
  std::vector<std::string> messages = jt65test::MakeMessages(20240611, 2600);
  std::vector<ReferenceResult> expected = RunReference(reference, messages);
  ASSERT_EQ(expected.size(), messages.size());

  // Every message type must be well represented, or the comparison proves little.
  std::map<int, int> per_type;
  for (const ReferenceResult& result : expected) ++per_type[result.type];
  for (int type : {-1, 1, 2, 3, 4, 5, 6}) {
    EXPECT_GE(per_type[type], 40) << "type " << type;
    std::printf("type %2d: %d messages\n", type, per_type[type]);
  }

  int failures = 0;
  for (std::size_t i = 0; i < messages.size() && failures < 20; ++i) {
    const ReferenceResult& want = expected[i];
    Encoding got = EncodeMessage(messages[i]);
    std::vector<int> data(got.data.begin(), got.data.end());
    std::vector<int> channel(got.channel.begin(), got.channel.end());
    if (got.type == MessageType::kShorthand) {
      data.clear();
      channel.clear();
    }
    bool same = got.message == want.message && got.decoded == want.decoded &&
                static_cast<int>(got.type) == want.type && data == want.data &&
                channel == want.channel;
    if (!same) {
      ++failures;
      ADD_FAILURE() << "message [" << messages[i] << "]: shown [" << got.message << "] / ["
                    << want.message << "], decoded [" << got.decoded << "] / [" << want.decoded
                    << "], type " << static_cast<int>(got.type) << " / " << want.type
                    << (data == want.data ? "" : ", data differ")
                    << (channel == want.channel ? "" : ", channel symbols differ");
    }
  }
}

}  // namespace
}  // namespace jt65
