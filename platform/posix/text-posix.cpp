// Text conversion on the ANSI code page, which is Windows-1252 here: the runtime's 8-bit text. (The
// UTF-8 that Linux hands over for names, arguments and environment is platform/unicode.h's.)
#include <array>

#include "platform/posix/system-posix.h"
#include "platform/unicode.h"

namespace pf {

using unicode::IsHighSurrogate;
using unicode::IsLowSurrogate;

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

}  // namespace pf
