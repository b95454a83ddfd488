// From n1 and n2 back to text, as a receiver prints a WSPR message: the 7-bit power/type field
// tells the three forms apart (type 3 below 64; types 1 and 2 by the last digit of the power).
#include "modes/callsign.h"
#include "modes/field3.h"
#include "modes/fixed-text.h"
#include "modes/wspr-message.h"

namespace wspr {
namespace {

std::string CallText(std::uint32_t n1) {
  return std::string(
      jt65::TrimRight(jt65::UnpackCall(std::int32_t(n1), jt65::CallRules::kWspr).word));
}

// A type 1 grid field: a locator as it is (no reports hidden among the locators, unlike the JT
// modes), or one of the words above the locators.
std::string GridFieldText(int ng) {
  return ng < jt65::kLocatorCount ? jt65::LocatorText(ng) : jt65::UnpackField3(ng);
}

// The suffix of a value from 60000 up: a digit, a letter, or two digits; values above /99 (two
// letters read as digits) show no suffix.
std::string SuffixText(int n) {
  if (n <= 9) return "/" + std::string(1, char('0' + n));
  if (n <= 35) return "/" + std::string(1, char('A' + n - 10));
  if (n <= 125) return "/" + std::to_string(n - 26);
  return "";
}

std::string PrefixText(int value) {
  std::string prefix(3, ' ');
  for (int i = 2; i >= 0; --i, value /= 37) prefix[i] = jt65::kCallAlphabet[value % 37];
  return prefix.substr(
      prefix.find_first_not_of(' ') == std::string::npos ? 3 : prefix.find_first_not_of(' '));
}

}  // namespace

std::string UnpackMessage(const SourceMessage& source) {
  int field = int(source.n2 & 127) - 64;
  int ng = int(source.n2 >> 7);
  if (field < 0) {
    // Type 3: the grid was packed as a call, turned by one place.
    std::string turned = jt65::UnpackCall(std::int32_t(source.n1), jt65::CallRules::kWspr).word;
    turned = jt65::Fixed(turned, 6);
    return "<...> " + turned.substr(5, 1) + turned.substr(0, 5) + " " + std::to_string(-field - 1);
  }
  int last = field % 10;
  if (last == 0 || last == 3 || last == 7) {
    return CallText(source.n1) + " " + GridFieldText(ng) + " " + std::to_string(field);
  }
  // Type 2: the power plus 1 (a prefix below 32768) or plus 2 (the rest).
  int a = (last == 1 || last == 4 || last == 8) ? 0 : 1;
  int power = field - 1 - a;
  int value = ng + 32768 * a;
  std::string call = CallText(source.n1);
  if (value >= 60000) return call + SuffixText(value - 60000) + " " + std::to_string(power);
  return PrefixText(value) + "/" + call + " " + std::to_string(power);
}

}  // namespace wspr
