// UTF-8 and UTF-16, written once for the backends and tools that meet them: the terminal's bytes,
// Linux names and arguments, and the 16-bit characters of the platform calls. Pure and portable.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pf::unicode {

inline constexpr char32_t kReplacement = 0xFFFD;

constexpr bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}
constexpr bool IsSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDFFF;
}

// The character of a high and a low surrogate.
constexpr char32_t FromSurrogates(char16_t high, char16_t low) {
  return 0x10000 + ((char32_t{high} - 0xD800) << 10) + (char32_t{low} - 0xDC00);
}

// code as one 16-bit unit, or as a surrogate pair beyond U+FFFF.
inline void AppendUtf16(char32_t code, std::u16string* text) {
  if (code < 0x10000) {
    *text += static_cast<char16_t>(code);
    return;
  }
  code -= 0x10000;
  *text += static_cast<char16_t>(0xD800 + (code >> 10));
  *text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
}

// code as one to four UTF-8 bytes.
inline void AppendUtf8(char32_t code, std::string* bytes) {
  if (code < 0x80) {
    *bytes += static_cast<char>(code);
  } else if (code < 0x800) {
    *bytes += static_cast<char>(0xC0 | (code >> 6));
    *bytes += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *bytes += static_cast<char>(0xE0 | (code >> 12));
    *bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *bytes += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *bytes += static_cast<char>(0xF0 | (code >> 18));
    *bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *bytes += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// What the UTF-8 sequence at the front of some bytes holds.
struct Utf8Sequence {
  enum Kind {
    kCharacter,  // a valid character: code, in length bytes
    kInvalid,    // no character: length bytes (the lead and what fitted with it) make the fault
    kCutShort,   // a valid start that the bytes end in the middle of: length bytes so far
  } kind = kInvalid;
  size_t length = 1;
  char32_t code = 0;
};

// Reads the sequence at the front of bytes (not empty). Overlong forms, surrogates and values
// beyond U+10FFFF are invalid, as the standard says.
inline Utf8Sequence DecodeUtf8(std::string_view bytes) {
  auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  unsigned char lead = at(0);
  if (lead < 0x80) return {Utf8Sequence::kCharacter, 1, lead};
  size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return {Utf8Sequence::kInvalid, 1, 0};
  }
  char32_t code = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if (i >= bytes.size()) return {Utf8Sequence::kCutShort, i, 0};
    if ((at(i) & 0xC0) != 0x80) return {Utf8Sequence::kInvalid, i, 0};
    code = (code << 6) | (at(i) & 0x3F);
  }
  bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  if (overlong || IsSurrogate(code) || code > 0x10FFFF) return {Utf8Sequence::kInvalid, length, 0};
  return {Utf8Sequence::kCharacter, length, code};
}

// Text from Linux (names, arguments, environment) as 16-bit characters. A byte that is no part of
// valid UTF-8 becomes the lone surrogate U+DC80 + byte, and Utf8FromUtf16 gives the same byte
// back, so a name read from a directory can be handed back unchanged.
inline std::u16string Utf16FromUtf8(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  while (!bytes.empty()) {
    Utf8Sequence sequence = DecodeUtf8(bytes);
    if (sequence.kind == Utf8Sequence::kCharacter) {
      AppendUtf16(sequence.code, &text);
      bytes.remove_prefix(sequence.length);
    } else {
      text += static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[0]));
      bytes.remove_prefix(1);
    }
  }
  return text;
}

// 16-bit characters as UTF-8; any other lone surrogate becomes U+FFFD.
inline std::string Utf8FromUtf16(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(FromSurrogates(unit, text[i + 1]), &bytes);
      ++i;
    } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
      bytes += static_cast<char>(unit - 0xDC00);  // a byte that was no UTF-8, given back
    } else if (IsSurrogate(unit)) {
      AppendUtf8(kReplacement, &bytes);
    } else {
      AppendUtf8(unit, &bytes);
    }
  }
  return bytes;
}

}  // namespace pf::unicode
