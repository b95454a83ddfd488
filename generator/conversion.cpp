// The conversion of the encoder listing: every number between the line that announces the channel
// symbols and the decoded-message line becomes one entry of a "de" data line, eight to a line.
#include <algorithm>
#include <cstdint>

#include "generator/stages.h"
#include "runtime/errors.h"
#include "runtime/process.h"

namespace {

constexpr std::string_view kSymbolsMarker = "Channel symbols";
constexpr std::string_view kDecodedMarker = "Decoded";
constexpr std::string_view kDataLineStart = "    de  ";
constexpr std::string_view kCommentStart = "    ;   ";
constexpr int kEntriesPerLine = 8;

// The 1-based position of the first digit at or after start, or 0.
size_t FindDigit(std::string_view line, size_t start) {
  if (start < 1 || start > line.size()) return 0;
  size_t at = line.find_first_of("0123456789", start - 1);
  return at == std::string_view::npos ? 0 : at + 1;
}

// Reads the next listing line; false at the end of the listing (or when it cannot be read).
bool NextListingLine(Text* line) {
  ClearRuntimeError();
  *line = ReadTextLine(kListingFile);
  return LastRuntimeError() == 0;
}

struct Emitter {
  ConversionResult* result;

  // The same text on the console and in the include file.
  void Write(std::string_view text) {
    ConsoleWrite(text);
    File(text);
  }
  void File(std::string_view text) {
    ClearRuntimeError();
    WriteText(kIncludeFile, text);
    if (LastRuntimeError() != 0) result->writeFailed = true;
  }
  void FileLineEnd() {
    ClearRuntimeError();
    WriteLineEnd(kIncludeFile);
    if (LastRuntimeError() != 0) result->writeFailed = true;
  }
};

constexpr uint64_t kTooLarge = 32769;  // beyond every 16-bit magnitude, 32768 included

// mantissa x 10^scale rounded to the nearest integer, ties to the even one, worked out exactly on
// the digits (a product in floating point rounds 2.5 up); kTooLarge for anything above 32768.
uint64_t RoundedMagnitude(uint64_t mantissa, long scale) {
  if (mantissa == 0) return 0;
  if (scale >= 0) {
    for (long i = 0; i < scale && mantissa < kTooLarge; ++i) mantissa *= 10;
    return std::min(mantissa, kTooLarge);
  }
  // The mantissa has at most 18 digits, so from 19 places on the value is below 0.1.
  if (scale < -18) return 0;
  uint64_t divisor = 1;
  for (long i = 0; i < -scale; ++i) divisor *= 10;
  uint64_t whole = mantissa / divisor, rest = mantissa % divisor, half = divisor / 2;
  if (rest > half || (rest == half && whole % 2 == 1)) ++whole;
  return std::min(whole, kTooLarge);
}

}  // namespace

int ReadSymbolValue(std::string_view text) {
  size_t i = 0;
  while (i < text.size() &&
         (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint64_t mantissa = 0;
  int significant = 0;
  long scale = 0;  // power of ten applied to the mantissa
  bool sawDigit = false;
  bool sawPoint = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c == '.' && !sawPoint) {
      sawPoint = true;
    } else if (c >= '0' && c <= '9') {
      sawDigit = true;
      if (mantissa == 0 && c == '0') {
        if (sawPoint) --scale;
      } else if (significant < 18) {
        mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
        ++significant;
        if (sawPoint) --scale;
      } else if (!sawPoint) {
        ++scale;  // dropped digits still scale the value
      }
    } else {
      break;
    }
  }
  if (!sawDigit) return 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    long exponent = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
      if (exponent < 9999) exponent = exponent * 10 + (text[i] - '0');
    if (exponent > 9999) exponent = 9999;
    scale += negativeExponent ? -exponent : exponent;
  }
  uint64_t magnitude = RoundedMagnitude(mantissa, scale);
  int value = negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
  return value >= -32768 && value <= 32767 ? value : -32768;
}

Text SymbolText(int value) {
  Text digits = std::to_string(value < 0 ? -static_cast<long>(value) : value);
  return value < 10 ? "0" + digits : digits;
}

Text SymbolEntry(std::string_view symbolText) {
  Text field(symbolText.substr(0, 2));
  field.resize(2, ' ');
  return " d'" + field + "'";
}

ConversionResult ConvertListing() {
  ConversionResult result;
  Emitter out{&result};
  Text line;

  while (NextListingLine(&line)) {
    if (FindText(line, kSymbolsMarker) != 0) {
      result.foundSymbols = true;
      break;
    }
  }
  if (!result.foundSymbols) {
    CloseFile(kListingFile);
    return result;
  }

  while (NextListingLine(&line)) {
    if (FindText(line, kDecodedMarker) != 0) {
      result.foundDecoded = true;
      break;
    }
    size_t scan = 1;
    bool firstOnLine = true;
    do {
      size_t digitAt = FindDigit(line, scan);
      // A line with no digit gives one entry 00; once its rest holds no digit, the line is done.
      if (digitAt == 0 && !firstOnLine) break;
      firstOnLine = false;
      if (result.symbolCount % kEntriesPerLine == 0) {
        ConsoleNewLine();
        out.FileLineEnd();
        out.Write(kDataLineStart);
      } else {
        out.Write(",");
      }
      int value = digitAt == 0 ? 0 : ReadSymbolValue(std::string_view(line).substr(digitAt - 1));
      scan = digitAt + 2;
      out.Write(SymbolEntry(SymbolText(value)));
      ++result.symbolCount;
    } while (scan < line.size());
  }

  out.FileLineEnd();
  ConsoleNewLine();
  CloseFile(kListingFile);
  if (!result.foundDecoded) return result;

  size_t colon = line.find(':');
  Text decoded = UpperCase(colon == Text::npos ? std::string_view(line)
                                               : std::string_view(line).substr(colon + 1));
  Text comment = Text(kCommentStart) + decoded;
  ConsoleWrite(comment);
  ConsoleNewLine();
  out.File(comment);
  out.FileLineEnd();
  return result;
}
