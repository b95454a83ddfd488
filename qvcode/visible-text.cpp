// Control characters and broken UTF-8 in what a user typed, found and written out visibly.
#include "qvcode/visible-text.h"

#include <cstdio>

#include "platform/unicode.h"

namespace qvcode {
namespace {

using pf::unicode::DecodeUtf8;
using pf::unicode::Utf8Sequence;

bool IsControl(char32_t code) {
  return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

std::string Hex(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

}  // namespace

std::string Visible(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    Utf8Sequence next = DecodeUtf8(text);
    if (next.kind == Utf8Sequence::kCharacter && !IsControl(next.code)) {
      out += text.substr(0, next.length);
      text.remove_prefix(next.length);
      continue;
    }
    // A control character, each of its bytes, or one faulty byte: as \xHH.
    std::size_t length = next.kind == Utf8Sequence::kCharacter ? next.length : 1;
    for (std::size_t i = 0; i < length; ++i)
      out += "\\x" + Hex(static_cast<unsigned char>(text[i])).substr(2);
    text.remove_prefix(length);
  }
  return out;
}

std::optional<std::string> FirstFault(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    Utf8Sequence next = DecodeUtf8(text.substr(at));
    unsigned char byte = static_cast<unsigned char>(text[at]);
    if (next.kind != Utf8Sequence::kCharacter)
      return "byte " + Hex(byte) + ", which is not UTF-8 text";
    if (next.code == 0) return "byte 0x00 (NUL)";
    if (IsControl(next.code) && next.code != '\t')
      return "byte " + Hex(byte) + " (a control character)";
    at += next.length;
  }
  return std::nullopt;
}

}  // namespace qvcode
