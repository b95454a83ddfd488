// The plain formats for scripts: a list of numbers, a line a message, and JSON.
#include <cstdio>

#include "qvcode/formats.h"

namespace qvcode {
namespace {

std::string JsonText(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

template <typename Number>
std::string JsonNumbers(const std::vector<Number>& numbers) {
  std::string out = "[";
  for (std::size_t i = 0; i < numbers.size(); ++i)
    out += (i == 0 ? "" : ",") + std::to_string(numbers[i]);
  return out + "]";
}

std::string JsonReal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

}  // namespace

std::string WriteList(const Run& run) {
  std::string out;
  for (const Table& table : run.tables) {
    for (std::size_t i = 0; i < table.bytes.size(); ++i)
      out += (i == 0 ? "" : " ") + std::to_string(table.bytes[i]);
    out += "\n";
  }
  return out;
}

std::string WriteJson(const Run& run) {
  std::string out = "[";
  for (std::size_t i = 0; i < run.tables.size(); ++i) {
    const Table& table = run.tables[i];
    const modes::Encoding& encoding = table.encoding;
    out += i == 0 ? "\n" : ",\n";
    out += "  {\"mode\": " + JsonText(run.mode->name) + ", \"submode\": " +
           JsonText(encoding.submode == 0 ? "" : std::string(1, encoding.submode)) + ",\n";
    out += "   \"message\": " + JsonText(table.source.text) +
           ", \"encoded\": " + JsonText(encoding.message) +
           ", \"decoded\": " + JsonText(encoding.decoded) + ",\n";
    out += "   \"symbolPeriodSeconds\": " + JsonReal(encoding.symbolPeriodSeconds) +
           ", \"toneSpacingHz\": " + JsonReal(encoding.toneSpacingHz) + ",\n";
    out += "   \"symbols\": " + JsonNumbers(encoding.symbols) + ",\n";
    out += "   \"tones\": " + JsonNumbers(encoding.tones);
    if (run.packed) {
      out += ",\n   \"packedBits\": " + std::to_string(run.valueBits) +
             ", \"packed\": " + JsonNumbers(table.bytes);
    }
    out += "}";
  }
  return out + "\n]\n";
}

}  // namespace qvcode
