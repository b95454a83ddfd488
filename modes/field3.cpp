// Locators, signal reports and the RO/RRR/73 words of the third field.
#include "modes/field3.h"

#include "modes/fixed-text.h"
#include "modes/list-number.h"

namespace jt65 {
namespace {

bool IsLocatorLetter(char c) {
  return c >= 'A' && c <= 'R';
}

// Two digits of a number from 0 to 99.
std::string TwoDigits(int number) {
  return {static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

// A report as a sign and two digits ("+05", "-35"), with an optional leading "R".
std::string ReportText(bool roger, int report) {
  std::string sign = report < 0 ? "-" : "+";
  return Fixed((roger ? "R" : "") + sign + TwoDigits(report < 0 ? -report : report), 4);
}

// -01 to -30 and R-01 to R-30: the two digits after the sign, or a read error.
std::optional<int> PackShortReport(std::string_view digits, int offset, int& number, bool& done) {
  done = false;
  ListRead read = ReadListNumber(digits, number);
  if (read == ListRead::kError || read == ListRead::kEnd) {
    done = true;
    return std::nullopt;
  }
  if (number >= 1 && number <= 30) {
    done = true;
    return kLocatorCount + offset + number;
  }
  return std::nullopt;
}

}  // namespace

bool IsLocator(std::string_view text) {
  return text.size() == 4 && IsLocatorLetter(text[0]) && IsLocatorLetter(text[1]) &&
         IsDigit(text[2]) && IsDigit(text[3]);
}

// Longitude index 0-179 runs east from 180 W in 2-degree steps, latitude index 0-179 north from
// 90 S in 1-degree steps.
int LocatorValue(std::string_view locator) {
  int longitude = 179 - 10 * (locator[0] - 'A') - (locator[2] - '0');
  int latitude = 10 * (locator[1] - 'A') + (locator[3] - '0');
  return longitude * 180 + latitude;
}

std::string LocatorText(int value) {
  int longitude = 179 - value / 180;
  int latitude = value % 180;
  return {static_cast<char>('A' + longitude / 10), static_cast<char>('A' + latitude / 10),
          static_cast<char>('0' + longitude % 10), static_cast<char>('0' + latitude % 10)};
}

std::optional<int> PackField3(std::string_view text) {
  std::string field = Fixed(text, 4);
  if (field == "    ") return kBlankField3;

  // Whatever an unsuccessful read leaves behind must not look like a report.
  int number = 0;
  bool done = false;
  if (field[0] == '-') {
    auto value = PackShortReport(std::string_view(field).substr(1, 2), 1, number, done);
    if (done) return value;
  } else if (field.compare(0, 2, "R-") == 0) {
    auto value = PackShortReport(std::string_view(field).substr(2, 2), 31, number, done);
    if (done) return value;
  } else if (field == "RO  ") {
    return kLocatorCount + 62;
  } else if (field == "RRR ") {
    return kLocatorCount + 63;
  } else if (field == "73  ") {
    return kLocatorCount + 64;
  }

  // Extended reports: the whole field, or failing that the field after its first character.
  number = 99;
  ListRead whole = ReadListNumber(field, number);
  if (whole == ListRead::kError || whole == ListRead::kEnd) {
    ReadListNumber(std::string_view(field).substr(1), number);
  }
  if (number >= -50 && number <= 49) {
    return LocatorValue((field[0] == 'R' ? "LA" : "KA") + TwoDigits(number + 50));
  }

  if (!IsLocator(field)) return std::nullopt;
  return LocatorValue(field);
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
