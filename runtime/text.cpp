// The fixed upper-case table and the code page conversions of the program's text.
#include "runtime/text.h"

#include <array>

#include "platform/platform.h"

namespace {

constexpr std::array<unsigned char, 256> MakeUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
  for (int c = 'a'; c <= 'z'; ++c) table[c] = static_cast<unsigned char>(c - 'a' + 'A');
  // The accented small letters of code page 437 and their capitals, whatever code page is in use.
  table[0x84] = 0x8E;
  table[0x94] = 0x99;
  table[0x81] = 0x9A;
  table[0x82] = 0x90;
  table[0xA4] = 0xA5;
  table[0x86] = 0x8F;
  table[0x87] = 0x80;
  return table;
}

constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

}  // namespace

Text UpperCase(std::string_view text) {
  Text upper(text);
  for (char& c : upper) c = static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
  return upper;
}

WideText ToWide(std::string_view text) {
  return pf::MultiByteToWideChar(text);
}

Text ToNarrow(std::u16string_view wide) {
  return pf::WideCharToMultiByte(wide);
}

size_t FindText(std::string_view text, std::string_view what, size_t start) {
  if (start < 1 || start > text.size()) return 0;
  size_t at = text.find(what, start - 1);
  return at == std::string_view::npos ? 0 : at + 1;
}
