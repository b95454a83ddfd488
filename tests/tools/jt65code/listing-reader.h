// Reads an encoder listing the way the include-file conversion does: the symbols are the numbers
// found, two characters apart at least, on the lines between the one holding "Channel symbols" and
// the one holding "Decoded"; the decoded text is what follows the first ":" of that last line.
#pragma once

#include <string>
#include <vector>

namespace jt65test {

struct ReadListing {
  bool complete = false;  // both marker lines were found, in order
  std::vector<int> symbols;
  std::string decoded;
  std::vector<std::string> lines;  // without their CR LF
  bool lf_only_line_end = false;   // some line ended in a bare LF
};

inline ReadListing ReadEncoderListing(const std::string& listing) {
  ReadListing read;
  std::string line;
  for (std::size_t i = 0; i < listing.size(); ++i) {
    if (listing[i] == '\r') {
      read.lines.push_back(line);
      line.clear();
      if (i + 1 < listing.size() && listing[i + 1] == '\n') ++i;
    } else {
      if (listing[i] == '\n') read.lf_only_line_end = true;
      line += listing[i];
    }
  }
  if (!line.empty()) read.lines.push_back(line);

  std::size_t at = 0;
  while (at < read.lines.size() && read.lines[at].find("Channel symbols") == std::string::npos)
    ++at;
  for (++at; at < read.lines.size(); ++at) {
    const std::string& text = read.lines[at];
    if (text.find("Decoded") != std::string::npos) {
      std::size_t colon = text.find(':');
      read.decoded = colon == std::string::npos ? text : text.substr(colon + 1);
      read.complete = true;
      return read;
    }
    // The scan goes on two characters after the first digit of each number found, as long as
    // that is short of the line's last character. A line without any digit gives one 0.
    std::size_t scan = 0;
    bool first = true;
    do {
      std::size_t digit = text.find_first_of("0123456789", scan);
      if (digit == std::string::npos) {
        if (first) read.symbols.push_back(0);
        break;
      }
      int value = 0;
      for (std::size_t d = digit; d < text.size() && text[d] >= '0' && text[d] <= '9'; ++d) {
        value = value * 10 + (text[d] - '0');
      }
      read.symbols.push_back(value);
      scan = digit + 2;
      first = false;
    } while (scan + 1 < text.size());
  }
  return read;
}

}  // namespace jt65test
