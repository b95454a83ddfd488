// Fixed-width text helpers and the character codes of the two JT65 alphabets.
#include "modes/fixed-text.h"

namespace jt65 {

std::string Fixed(std::string_view text, std::size_t width) {
  std::string result(text.substr(0, width));
  result.resize(width, ' ');
  return result;
}

std::string_view TrimRight(std::string_view text) {
  std::size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

int CallCode(char c) {
  if (IsDigit(c)) return c - '0';
  if (IsLetter(c)) return c - 'A' + 10;
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  return 36;
}

int TextCode(char c) {
  std::size_t code = kTextAlphabet.find(c);
  return code == std::string_view::npos ? 36 : static_cast<int>(code);
}

}  // namespace jt65
