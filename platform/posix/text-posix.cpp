// Text conversion: Windows-1252 as the ANSI code page (the runtime's 8-bit text), and UTF-8 for
// everything Linux itself hands over (names, arguments, environment).
#include <array>

#include "platform/posix/system-posix.h"

namespace pf {

namespace {

// 0x80..0x9F of Windows-1252. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) stand for the C1 control of the same number, as Windows converts them.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char CharFromUnit(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (size_t i = 0; i < kCp1252High.size(); ++i) {
    if (kCp1252High[i] == unit) return static_cast<char>(0x80 + i);
  }
  return '?';
}

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::u16string MultiByteToWideChar(std::string_view bytes) {
  std::u16string wide;
  wide.reserve(bytes.size());
  for (unsigned char byte : bytes) {
    wide += byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : char16_t{byte};
  }
  return wide;
}

std::string WideCharToMultiByte(std::u16string_view wide) {
  std::string bytes;
  bytes.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    // A character beyond the 16-bit range is one character: one "?" for the pair.
    if (IsHighSurrogate(wide[i]) && i + 1 < wide.size() && IsLowSurrogate(wide[i + 1])) {
      bytes += '?';
      ++i;
    } else if (IsHighSurrogate(wide[i]) || IsLowSurrogate(wide[i])) {
      bytes += '?';
    } else {
      bytes += CharFromUnit(wide[i]);
    }
  }
  return bytes;
}

namespace posix {

namespace {

void AppendCodePoint(char32_t code, std::u16string* text) {
  if (code < 0x10000) {
    *text += static_cast<char16_t>(code);
  } else {
    code -= 0x10000;
    *text += static_cast<char16_t>(0xD800 + (code >> 10));
    *text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  }
}

size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The length of the valid UTF-8 sequence at the start of bytes and its code point, or 0.
size_t DecodeOne(std::string_view bytes, char32_t* code) {
  auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  unsigned char lead = at(0);
  size_t length = SequenceLength(lead);
  if (length == 0 || length > bytes.size()) return 0;
  char32_t value = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((at(i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (at(i) & 0x3F);
  }
  bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
  if (overlong || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *code = value;
  return length;
}

void AppendUtf8(char32_t code, std::string* bytes) {
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

}  // namespace

std::u16string Utf16FromUtf8(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  while (!bytes.empty()) {
    char32_t code = 0;
    size_t length = DecodeOne(bytes, &code);
    if (length == 0) {
      text += static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[0]));
      length = 1;
    } else {
      AppendCodePoint(code, &text);
    }
    bytes.remove_prefix(length);
  }
  return text;
}

std::string Utf8FromUtf16(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[i + 1] - 0xDC00), &bytes);
      ++i;
    } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
      bytes += static_cast<char>(unit - 0xDC00);  // a byte that was no UTF-8, given back
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(0xFFFD, &bytes);
    } else {
      AppendUtf8(unit, &bytes);
    }
  }
  return bytes;
}

}  // namespace posix
}  // namespace pf
