// Runs Debian's ft8code or ft4code (package wsjtx) on many messages, two shells at once, and reads
// each listing: the type, the decoded text, the 77 message bits and the tones.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fttest {

struct FtListing {
  std::string type;     // "1. " or "0.5" as printed
  std::string decoded;  // without trailing blanks; "*** bad message ***" for a refusal
  std::string bits;     // 77 characters '0'/'1' (for FT4: before scrambling)
  std::string tones;    // one digit a tone, sync and ramp slots included; '*' where unset
  bool Refused() const { return decoded == "*** bad message ***"; }
};

inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string ShellOutput(const std::string& command) {
  std::string output;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output.append(buffer, got);
  pclose(pipe);
  return output;
}

inline std::string TrimmedRight(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
  return text;
}

// One listing: the table row " 1. MESSAGE (37) DECODED (37) ERR  i3.n3 NAME", then titled blocks.
inline FtListing ReadFtListing(const std::vector<std::string>& lines) {
  FtListing listing;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.rfind(" 1. ", 0) == 0 && line.size() >= 86) {
      listing.decoded = TrimmedRight(line.substr(42, 37));
      listing.type = line.substr(83, 3);
    }
    bool next = i + 1 < lines.size();
    if (next && line.rfind("Source-encoded message", 0) == 0 &&
        line.find("after") == std::string::npos)
      listing.bits = TrimmedRight(lines[i + 1]);
    if (i + 2 < lines.size() && line.rfind("Channel symbols", 0) == 0) {
      for (char c : lines[i + 2])
        if (c != ' ' && c != 'R' && c != '\r') listing.tones += c;
    }
  }
  return listing;
}

inline std::vector<FtListing> RunFtReference(const std::string& tool,
                                             const std::vector<std::string>& messages) {
  constexpr int kShells = 2;
  constexpr const char* kSeparator = "=== next message ===";
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("ft-reference-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  std::string command;
  for (int shell = 0; shell < kShells; ++shell) {
    std::ofstream script(folder / (std::to_string(shell) + ".sh"));
    for (std::size_t i = std::size_t(shell); i < messages.size(); i += kShells)
      script << ShellQuoted(tool) << " " << ShellQuoted(messages[i]) << "; echo '" << kSeparator
             << "'\n";
    command += "sh " + ShellQuoted((folder / (std::to_string(shell) + ".sh")).string()) + " >" +
               ShellQuoted((folder / (std::to_string(shell) + ".txt")).string()) + " 2>&1 & ";
  }
  ShellOutput(command + "wait");
  std::vector<std::vector<FtListing>> perShell(kShells);
  for (int shell = 0; shell < kShells; ++shell) {
    std::ifstream in(folder / (std::to_string(shell) + ".txt"));
    std::vector<std::string> block;
    for (std::string line; std::getline(in, line);) {
      if (line == kSeparator) {
        perShell[std::size_t(shell)].push_back(ReadFtListing(block));
        block.clear();
      } else {
        block.push_back(line);
      }
    }
  }
  std::filesystem::remove_all(folder);
  std::vector<FtListing> listings;
  for (std::size_t i = 0; i < messages.size(); ++i) {
    const std::vector<FtListing>& from = perShell[i % kShells];
    if (i / kShells < from.size()) listings.push_back(from[i / kShells]);
  }
  return listings;
}

// The messages of the tool's own test list ("-t"): the column after the number or the type.
inline std::vector<std::string> FtTestMessages(const std::string& tool) {
  std::vector<std::string> messages;
  std::string output = ShellOutput(ShellQuoted(tool) + " -t");
  std::size_t at = 0;
  while (at < output.size()) {
    std::size_t end = output.find('\n', at);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(at, end - at);
    at = end + 1;
    // ft4code: " 1. MESSAGE"; ft8code: "0.0  MESSAGE".
    if (line.size() > 41 && line[2] == '.' && line[3] == ' ' && line[1] >= '0' && line[1] <= '9')
      messages.push_back(TrimmedRight(line.substr(4, 37)));
    else if (line.size() > 42 && line[1] == '.' && line.substr(3, 2) == "  " && line[0] >= '0' &&
             line[0] <= '9')
      messages.push_back(TrimmedRight(line.substr(5, 37)));
  }
  return messages;
}

}  // namespace fttest
