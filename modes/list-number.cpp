// The list-directed READ of one whole number: blanks, then an optional repeat count "r*", then an
// optional sign and digits, ended by a blank, ",", ";", "/" or the end of the text.
#include "modes/list-number.h"

#include "modes/fixed-text.h"

namespace jt65 {
namespace {

bool EndsItem(std::string_view text, std::size_t at) {
  return at >= text.size() || text[at] == ' ' || text[at] == ',' || text[at] == ';' ||
         text[at] == '/';
}

// Digits from at onward; false when there are none or too many to hold.
bool ReadDigits(std::string_view text, std::size_t& at, long long& number) {
  std::size_t start = at;
  number = 0;
  while (at < text.size() && IsDigit(text[at])) {
    number = number * 10 + (text[at] - '0');
    if (number > 2147483647LL + 1) return false;
    ++at;
  }
  return at > start;
}

}  // namespace

ListRead ReadListNumber(std::string_view text, int& value) {
  std::size_t at = text.find_first_not_of(' ');
  if (at == std::string_view::npos) return ListRead::kEnd;
  if (text[at] == ',' || text[at] == ';' || text[at] == '/') return ListRead::kNothing;

  bool negative = false;
  bool signed_number = text[at] == '+' || text[at] == '-';
  if (signed_number) negative = text[at++] == '-';
  long long number = 0;
  if (!ReadDigits(text, at, number)) return ListRead::kError;

  if (at < text.size() && text[at] == '*') {
    // A repeat count: unsigned and not zero; the number itself follows, or nothing does.
    if (signed_number || number == 0) return ListRead::kError;
    ++at;
    if (EndsItem(text, at)) return ListRead::kNothing;
    negative = false;
    if (text[at] == '+' || text[at] == '-') negative = text[at++] == '-';
    if (!ReadDigits(text, at, number)) return ListRead::kError;
  }
  if (!EndsItem(text, at)) return ListRead::kError;
  if (negative) number = -number;
  if (number > 2147483647LL || number < -2147483648LL) return ListRead::kError;
  value = static_cast<int>(number);
  return ListRead::kValue;
}

}  // namespace jt65
