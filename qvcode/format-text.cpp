// The plain formats for scripts: a list of numbers, a line a message, and JSON.
#include <cstdio>

#include "platform/unicode.h"
#include "qvcode/formats.h"

namespace qvcode {
namespace {

// A JSON string, always valid UTF-8: control characters escaped, and a byte that is no part of
// valid UTF-8 written as the character of its value (\u00HH), so no reader meets broken text.
std::string JsonText(std::string_view text) {
  std::string out = "\"";
  while (!text.empty()) {
    pf::unicode::Utf8Sequence next = pf::unicode::DecodeUtf8(text);
    bool character = next.kind == pf::unicode::Utf8Sequence::kCharacter;
    char32_t code = character ? next.code : static_cast<unsigned char>(text[0]);
    std::size_t length = character ? next.length : 1;
    if (code == '"' || code == '\\') {
      out += '\\';
      out += char(code);
    } else if (!character || code < 0x20 || (code >= 0x7F && code <= 0x9F)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(code));
      out += escaped;
    } else {
      out += text.substr(0, length);
    }
    text.remove_prefix(length);
  }
  return out + "\"";
}

std::string JsonTexts(const std::vector<std::string>& texts) {
  std::string out = "[";
  for (std::size_t i = 0; i < texts.size(); ++i) out += (i == 0 ? "" : ", ") + JsonText(texts[i]);
  return out + "]";
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
    out += "   \"notes\": " + JsonTexts(encoding.notes) + ",\n";
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
