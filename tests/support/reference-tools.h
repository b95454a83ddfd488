// Debian's reference encoders (package wsjtx) run as black-box oracles: one message, or a batch run
// from parallel shells, for a modes::Mode, with the printed listing read back into the same fields
// a modes::Encoding has: source bits (where the tool prints them), channel symbols, the whole tone
// sequence and the decoded text.
//
// What each tool prints and how it maps onto the fields:
//   jt65code  72 source bits (the twelve 6-bit symbols), 63 symbols; tones are built here from the
//             on-air rule (sync tone 0, data symbol + 2, OOO swaps the two), which it does not
//             print
//   jt9code   85 tones; symbols are the 69 non-sync tones minus 1 (the Gray-coded values)
//   jt4code   206 tones; symbols are the data bits, tone / 2
//   wsprcode  50 source bits (its Hex line), 162 data bits as symbols, 162 tones; text it cannot
//             encode comes out as 50 zero bits, which counts as !ok here
//   ft8code   77 source bits, 79 tones; symbols are the 58 data tones between the Costas arrays
//   ft4code   77 source bits (before scrambling), 105 tones with the two ramp slots printed as 0;
//             symbols are the 87 data tones. Both print "*** bad message ***" with zero bits for a
//             message they refuse, which counts as !ok here; type is i3, subtype n3 (type 0 only)
//   fst4sim   (FST4W with the WSPR hint on, FST4 with it off, at 1500 Hz, no file) the decoded
//             text, the frame (type: 1 FST4W, 0 FST4), source bits as sent (FST4: the 77 bits,
//             unscrambled here; FST4W: the 50), 160 tones; symbols are the 120 data tones. Its
//             "*** bad message ***" counts as !ok
//   q65code   77 source bits (of its 90), 85 tones; symbols are the 63 data tones minus 1. It
//             prints no decoded text and refuses nothing but what makes it stop
// A mode with a tool not handled here gives ok = false and says so.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "modes/message-format.h"
#include "modes/mode.h"
#include "tests/support/needs-tool.h"
#include "tests/support/shell.h"
#include "tests/support/temp-folder.h"

namespace testsupport {

struct ToolEncoding {
  bool ok = false;                       // the tool encoded the message and printed symbols
  std::string error;                     // why not, in words, when !ok
  std::string message;                   // the message column or line, as the tool shows it
  std::string decoded;                   // the decoded text, blanks at the end trimmed
  int type = 0;                          // the tool's type column (wsprcode: its ntype)
  int subtype = 0;                       // ft8code, ft4code: n3 of type 0
  bool flagged = false;                  // the "*" of the Err? column (jt65code, jt9code, jt4code)
  std::vector<std::uint8_t> sourceBits;  // one bit a byte; empty where the tool prints none
  std::vector<int> symbols;
  std::vector<int> tones;
  int exitCode = 0;
};

// The program that is the reference for a mode, or empty text when there is none.
inline std::string ReferenceToolName(modes::Mode mode) {
  switch (mode) {
    case modes::Mode::kJt65:
      return "jt65code";
    case modes::Mode::kJt9:
      return "jt9code";
    case modes::Mode::kJt4:
      return "jt4code";
    case modes::Mode::kWspr:
      return "wsprcode";
    case modes::Mode::kFt8:
      return "ft8code";
    case modes::Mode::kFt4:
      return "ft4code";
    case modes::Mode::kFst4w:
    case modes::Mode::kFst4:
      return "fst4sim";
    case modes::Mode::kQ65:
      return "q65code";
    default:
      return "";
  }
}

// What follows the message on the tool's command line: fst4sim's period (the shortest, the
// quickest; the tones do not depend on it), frequency, timing,
// fading, no file, no noise and the WSPR hint.
inline std::string ReferenceToolTail(modes::Mode mode) {
  if (mode == modes::Mode::kFst4w) return " 15 1500 0 0 0 0 99 T";
  if (mode == modes::Mode::kFst4) return " 15 1500 0 0 0 0 99 F";
  return "";
}

// The tool's full path, or empty text when it is not installed.
inline std::string FindReferenceTool(modes::Mode mode) {
  std::string name = ReferenceToolName(mode);
  return name.empty() ? "" : FindOnPath(name);
}

// False when the tool cannot take this message at all: jt65code, jt9code and jt4code read any
// argument starting "-t" as their option that prints a test table.
// ft8code reads "-t" and "-T" (ft4code "-t") as such options; fst4sim and q65code have none.
inline bool ReferenceToolTakes(modes::Mode mode, std::string_view message) {
  if (mode == modes::Mode::kWspr || mode == modes::Mode::kFst4w || mode == modes::Mode::kFst4 ||
      mode == modes::Mode::kQ65)
    return true;
  if (mode == modes::Mode::kFt8 && message == "-T") return false;
  return message.substr(0, 2) != "-t";
}

namespace reference_detail {

inline std::string RunShell(const std::string& command) {
  std::string output;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      output.append(buffer, got);
    pclose(pipe);
  }
  return output;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The one-digit or many-digit numbers of a text; "*" runs (Fortran's overflow) end the reading.
inline std::vector<int> Numbers(const std::string& text) {
  std::vector<int> numbers;
  std::istringstream in(text);
  for (int n; in >> n;) numbers.push_back(n);
  return numbers;
}

inline std::string TrimRight(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

inline std::string Column(const std::string& line, std::size_t at, std::size_t width) {
  return at < line.size() ? line.substr(at, width) : "";
}

// The numbers of the lines after the line that starts with title, up to a blank line.
inline std::vector<int> Block(const std::vector<std::string>& lines, std::string_view title) {
  std::vector<int> numbers;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind(title, 0) != 0) continue;
    for (std::size_t row = i + 1; row < lines.size() && !TrimRight(lines[row]).empty(); ++row)
      for (int n : Numbers(lines[row])) numbers.push_back(n);
    break;
  }
  return numbers;
}

// The table row that jt65code, jt9code and jt4code print first: message, decoded, *, type.
struct TableColumns {
  std::size_t message, decoded, flag, type;
};

inline void ReadTableRow(const std::vector<std::string>& lines, const TableColumns& at,
                         ToolEncoding& result) {
  if (lines.size() < 3) return;
  const std::string& row = lines[2];
  result.message = Column(row, at.message, 22);
  result.decoded = TrimRight(Column(row, at.decoded, 22));
  result.flagged = Column(row, at.flag, 1) == "*";
  result.type = std::atoi(Column(row, at.type, 3).c_str());
}

// Sync (1) or data (0) in each of JT65's 126 symbol periods: a fact of the mode kept here on its
// own, so the reference tones do not lean on the encoder they are compared with.
constexpr std::string_view kJt65SyncPattern =
    "100110001111110101000101100100011100111101101111000110101011001"
    "101010100100000011000000011010010110101010011001001000011111111";

inline void ReadJt65(const std::vector<std::string>& lines, ToolEncoding& result) {
  ReadTableRow(lines, {4, 27, 50, 51}, result);
  if (result.type == -1) {
    result.error = "jt65code: a shorthand message has no channel symbols";
    return;
  }
  for (const std::string& line : lines) {
    if (line.rfind("Packed message, 6-bit symbols", 0) != 0) continue;
    for (int symbol : Numbers(line.substr(30)))
      for (int bit = 5; bit >= 0; --bit) result.sourceBits.push_back((symbol >> bit) & 1);
  }
  result.symbols = Block(lines, "Information-carrying channel symbols");
  if (result.symbols.size() != 63) return;
  bool ooo = jt65::SplitOooFlag(result.message).ooo;
  std::size_t next = 0;
  for (char sync : kJt65SyncPattern)
    result.tones.push_back(((sync == '1') != ooo) ? 0 : result.symbols[next++] + 2);
  result.ok = true;
}

inline void ReadJt9(const std::vector<std::string>& lines, ToolEncoding& result) {
  ReadTableRow(lines, {4, 27, 50, 51}, result);
  if (result.type == -1) {
    result.error = "jt9code: a shorthand message has no channel symbols";
    return;
  }
  result.tones = Block(lines, "Channel symbols");
  if (result.tones.size() != 85) return;
  for (int tone : result.tones)
    if (tone != 0) result.symbols.push_back(tone - 1);
  result.ok = result.symbols.size() == 69;
}

inline void ReadJt4(const std::vector<std::string>& lines, ToolEncoding& result) {
  ReadTableRow(lines, {5, 29, 54, 55}, result);
  result.tones = Block(lines, "Channel symbols");
  if (result.tones.size() != 206) return;
  for (int tone : result.tones) result.symbols.push_back(tone / 2);
  result.ok = true;
}

inline void ReadWspr(const std::vector<std::string>& lines, ToolEncoding& result) {
  for (const std::string& line : lines) {
    if (line.rfind("Message: ", 0) == 0) result.message = line.substr(9);
    if (line.rfind("Decoded message: ", 0) == 0) {
      result.decoded = TrimRight(Column(line, 17, 22));
      std::size_t ntype = line.find("ntype:");
      if (ntype != std::string::npos) result.type = std::atoi(line.c_str() + ntype + 6);
    }
    if (line.rfind("Hex:", 0) == 0) {
      std::istringstream in(line.substr(4));
      for (std::string byte; in >> byte && result.sourceBits.size() < 50;) {
        int value = static_cast<int>(std::strtol(byte.c_str(), nullptr, 16));
        for (int bit = 7; bit >= 0 && result.sourceBits.size() < 50; --bit)
          result.sourceBits.push_back((value >> bit) & 1);
      }
    }
  }
  result.symbols = Block(lines, "Data symbols:");
  result.tones = Block(lines, "Channel symbols:");
  result.ok =
      result.sourceBits.size() == 50 && result.symbols.size() == 162 && result.tones.size() == 162;
  // Text that fits no message form is not refused: it goes out as 50 zero bits.
  bool anyBit = false;
  for (std::uint8_t bit : result.sourceBits) anyBit = anyBit || bit != 0;
  if (result.ok && !anyBit) {
    result.ok = false;
    result.error = "wsprcode encoded nothing (50 zero bits): no message form takes the text";
  }
}

// ft8code and ft4code: the row " 1. MESSAGE (37) DECODED (37) *  i3.n3 NAME", then titled blocks,
// each title followed by its one line.
inline void ReadFt(const std::vector<std::string>& lines, std::size_t dataTones,
                   ToolEncoding& result) {
  if (lines.size() < 3) return;
  const std::string& row = lines[2];
  result.message = Column(row, 4, 37);
  result.decoded = TrimRight(Column(row, 42, 37));
  result.flagged = Column(row, 80, 1) == "*";
  std::string type = Column(row, 83, 3);
  result.type = std::atoi(type.substr(0, 1).c_str());
  result.subtype = type.size() == 3 && type[1] == '.' ? std::atoi(type.substr(2).c_str()) : 0;
  if (result.decoded == "*** bad message ***") {
    result.error = "the tool refuses the message (bad message)";
    return;
  }
  for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
    const std::string& title = lines[i];
    if (title.rfind("Source-encoded message", 0) == 0 && title.find("after") == std::string::npos)
      for (char c : TrimRight(lines[i + 1])) result.sourceBits.push_back(std::uint8_t(c == '1'));
    if (title.rfind("Channel symbols", 0) == 0)
      for (char c : lines[i + 2])
        if (c >= '0' && c <= '9') result.tones.push_back(c - '0');
  }
  // The data tones are the groups of 29 between the sync arrays.
  std::size_t syncLength = dataTones == 58 ? 7 : 4, start = dataTones == 58 ? 0 : 1;
  for (std::size_t block = 0; block * 29 < dataTones; ++block) {
    std::size_t from = start + syncLength + block * (29 + syncLength);
    for (std::size_t k = from; k < from + 29 && k < result.tones.size(); ++k)
      result.symbols.push_back(result.tones[k]);
  }
  std::size_t allTones = dataTones == 58 ? 79 : 105;
  result.ok = result.sourceBits.size() == 77 && result.tones.size() == allTones &&
              result.symbols.size() == dataTones;
}

// FT4's scrambling vector, which FST4 applies too, kept here on its own like JT65's sync.
constexpr std::string_view kFst4Scrambling =
    "01001010010111101000100110110100101100001000101001111001010101011011111000101";

inline void ReadFst4(const std::vector<std::string>& lines, ToolEncoding& result) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.rfind("Message: ", 0) == 0) {
      result.message = Column(line, 9, 37);
      result.decoded = TrimRight(result.message);
      std::size_t flag = line.find("iwspr:");
      if (flag != std::string::npos) result.type = std::atoi(line.c_str() + flag + 6);
    }
    // Either a line of 77 + 24 bits, or the type-1 layout's groups under a heading.
    std::string bits;
    if (line.rfind("Message bits:", 0) == 0 && i + 1 < lines.size()) bits = lines[i + 1];
    if (line.find("mycall") != std::string::npos && i + 1 < lines.size()) bits = lines[i + 1];
    for (char c : bits)
      if (c == '0' || c == '1') result.sourceBits.push_back(std::uint8_t(c == '1'));
    if (line.rfind("Channel symbols:", 0) == 0)
      for (std::size_t row = i + 1; row < lines.size() && row <= i + 16; ++row)
        for (char c : lines[row])
          if (c >= '0' && c <= '3') result.tones.push_back(c - '0');
  }
  if (result.decoded == "*** bad message ***") {
    result.error = "the tool refuses the message (bad message)";
    return;
  }
  if (result.sourceBits.size() < 77 || result.tones.size() != 160) return;
  result.sourceBits.resize(result.type == 1 ? 50 : 77);
  if (result.type == 0)
    for (std::size_t i = 0; i < 77; ++i) result.sourceBits[i] ^= kFst4Scrambling[i] == '1';
  for (std::size_t k = 0; k < 120; ++k)
    result.symbols.push_back(result.tones[8 + k + 8 * (k / 30)]);
  result.ok = true;
}

// q65code and q65sim: the bits after "binary:", the tones after the "Channel symbols" title.
inline void ReadQ65(const std::vector<std::string>& lines, ToolEncoding& result) {
  for (const std::string& line : lines) {
    if (line.rfind("binary:", 0) != 0) continue;
    for (char c : line.substr(7))
      if ((c == '0' || c == '1') && result.sourceBits.size() < 77)
        result.sourceBits.push_back(std::uint8_t(c == '1'));
  }
  result.tones = Block(lines, " Channel symbols");
  if (result.tones.empty()) result.tones = Block(lines, "Channel symbols");
  for (int tone : result.tones)
    if (tone != 0) result.symbols.push_back(tone - 1);
  result.ok =
      result.sourceBits.size() == 77 && result.tones.size() == 85 && result.symbols.size() == 63;
}

}  // namespace reference_detail

// Reads what a tool printed for one message (standard output only) and how it ended.
inline ToolEncoding ParseReferenceOutput(modes::Mode mode, const std::string& output,
                                         int exitCode) {
  namespace detail = reference_detail;
  ToolEncoding result;
  result.exitCode = exitCode;
  std::vector<std::string> lines = detail::Lines(output);
  switch (mode) {
    case modes::Mode::kJt65:
      detail::ReadJt65(lines, result);
      break;
    case modes::Mode::kJt9:
      detail::ReadJt9(lines, result);
      break;
    case modes::Mode::kJt4:
      detail::ReadJt4(lines, result);
      break;
    case modes::Mode::kWspr:
      detail::ReadWspr(lines, result);
      break;
    case modes::Mode::kFt8:
      detail::ReadFt(lines, 58, result);
      break;
    case modes::Mode::kFt4:
      detail::ReadFt(lines, 87, result);
      break;
    case modes::Mode::kFst4w:
    case modes::Mode::kFst4:
      detail::ReadFst4(lines, result);
      break;
    case modes::Mode::kQ65:
      detail::ReadQ65(lines, result);
      break;
    default:
      result.error = "no reference tool is known for this mode";
      return result;
  }
  if (exitCode != 0) {
    result.ok = false;
    result.error = ReferenceToolName(mode) + " ended with status " + std::to_string(exitCode);
  } else if (!result.ok && result.error.empty()) {
    result.error = ReferenceToolName(mode) + " printed no complete symbol listing";
  }
  return result;
}

// Runs the tool once per message, from `shells` shells at once, and reads each listing. The
// results are in the order of the messages. Runs nothing (every result !ok) when the tool is
// missing; check with FindReferenceTool or NEED_REFERENCE_TOOL first.
inline std::vector<ToolEncoding> RunReferenceToolBatch(modes::Mode mode,
                                                       const std::vector<std::string>& messages,
                                                       int shells = 2) {
  namespace detail = reference_detail;
  namespace fs = std::filesystem;
  std::vector<ToolEncoding> results(messages.size());
  std::string tool = FindReferenceTool(mode);
  if (tool.empty()) {
    for (ToolEncoding& result : results) result.error = "the reference tool is not installed";
    return results;
  }
  // Each message's output ends in a marker line that carries the tool's exit status.
  constexpr std::string_view kMarker = "=== reference tool status ";
  TempFolder scratch;
  const fs::path& folder = scratch.path;
  std::string command;
  for (int shell = 0; shell < shells; ++shell) {
    fs::path script = folder / ("run-" + std::to_string(shell) + ".sh");
    std::ofstream out(script);
    // A tool that stops on a Fortran run-time error would spend a third of a second on a
    // backtrace nobody reads.
    out << "GFORTRAN_ERROR_BACKTRACE=0; export GFORTRAN_ERROR_BACKTRACE\n";
    for (std::size_t i = shell; i < messages.size(); i += shells) {
      if (!ReferenceToolTakes(mode, messages[i])) {
        out << "echo '" << kMarker << "-1'\n";
        continue;
      }
      out << ShellQuote(tool) << " " << ShellQuote(messages[i]) << ReferenceToolTail(mode)
          << " 2>/dev/null; echo '" << kMarker << "'$?\n";
    }
    out.close();
    command += "(cd " + ShellQuote(folder.string()) + " && sh " + ShellQuote(script.string()) +
               " >" + ShellQuote((folder / ("out-" + std::to_string(shell) + ".txt")).string()) +
               " 2>/dev/null) & ";
  }
  detail::RunShell(command + "wait");

  for (int shell = 0; shell < shells; ++shell) {
    std::ifstream in(folder / ("out-" + std::to_string(shell) + ".txt"), std::ios::binary);
    std::size_t index = shell;
    std::string block;
    for (std::string line; std::getline(in, line) && index < messages.size();) {
      if (line.rfind(kMarker, 0) != 0) {
        block += line + "\n";
        continue;
      }
      int status = std::atoi(line.c_str() + kMarker.size());
      if (status == -1) {
        results[index].error = ReferenceToolName(mode) + " takes a message starting -t as option";
      } else {
        results[index] = ParseReferenceOutput(mode, block, status);
      }
      block.clear();
      index += shells;
    }
  }
  return results;
}

// One message through the tool.
inline ToolEncoding RunReferenceTool(modes::Mode mode, const std::string& message) {
  return RunReferenceToolBatch(mode, {message}, 1).front();
}

}  // namespace testsupport

// Use at the top of a test: NEED_REFERENCE_TOOL(modes::Mode::kWspr); skips, or fails in CI.
#define NEED_REFERENCE_TOOL(mode) \
  NEED_TOOL(testsupport::ReferenceToolName(mode), "Debian package wsjtx")
