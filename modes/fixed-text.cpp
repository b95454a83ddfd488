// Fixed-width text helpers.
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

}  // namespace jt65
