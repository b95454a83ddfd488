// Locators, signal reports and the RO/RRR/73 words of the third field: packed by the encoder
// core, turned back into text here.
#include "modes/field3.h"

#include "modes/core/jt/qvj-pack.h"
#include "modes/fixed-text.h"

namespace jt65 {
namespace {

// Two digits of a number from 0 to 99.
std::string TwoDigits(int number) {
  return {static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

// A report as a sign and two digits ("+05", "-35"), with an optional leading "R".
std::string ReportText(bool roger, int report) {
  std::string sign = report < 0 ? "-" : "+";
  return Fixed((roger ? "R" : "") + sign + TwoDigits(report < 0 ? -report : report), 4);
}

}  // namespace

std::string LocatorText(int value) {
  int longitude = 179 - value / 180;
  int latitude = value % 180;
  return {static_cast<char>('A' + longitude / 10), static_cast<char>('A' + latitude / 10),
          static_cast<char>('0' + longitude % 10), static_cast<char>('0' + latitude % 10)};
}

std::optional<int> PackField3(std::string_view text) {
  std::uint16_t value = 0;
  if (!qvj_pack_field3(Fixed(text, 4).data(), &value)) return std::nullopt;
  return value;
}

std::string UnpackField3(int value) {
  if (value < kLocatorCount) {
    std::string locator = LocatorText(value);
    int report = (locator[2] - '0') * 10 + (locator[3] - '0') - 50;
    if (locator.compare(0, 2, "KA") == 0) return ReportText(false, report);
    if (locator.compare(0, 2, "LA") == 0) return ReportText(true, report);
    return locator;
  }
  int word = value - kLocatorCount - 1;
  if (word >= 1 && word <= 30) return ReportText(false, -word);
  if (word >= 31 && word <= 60) return ReportText(true, -(word - 30));
  if (word == 61) return "RO  ";
  if (word == 62) return "RRR ";
  if (word == 63) return "73  ";
  return "    ";
}

int ListAddOnCode(int value) {
  if (value >= kLocatorCount || value % 180 < 175) return 0;
  return 5 * (value / 180) + value % 180 - 174;
}

}  // namespace jt65
