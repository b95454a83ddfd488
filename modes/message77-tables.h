// The lists and small fields that the 77-bit contest messages share between packing and
// unpacking: ARRL Field Day sections, ARRL RTTY Roundup exchanges, and 4-character locators.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ft {

extern const std::array<std::string_view, 86> kFieldDaySections;
extern const std::array<std::string_view, 171> kRttyExchanges;

// 1-based place of word in a list, 0 when it is not there.
template <std::size_t size>
int PlaceIn(const std::array<std::string_view, size>& list, std::string_view word) {
  for (std::size_t i = 0; i < size; ++i)
    if (list[i] == word) return int(i) + 1;
  return 0;
}

// "FN42": two letters A-R, two digits; its value is below kLocatorCount.
inline constexpr int kLocatorCount = 18 * 18 * 100;
// The grid-or-report field of the standard messages holds a locator, one of these, or a report
// (kLocatorCount + 35 + report).
inline constexpr int kNoGrid = kLocatorCount + 1, kRrr = kLocatorCount + 2,
                     kRr73 = kLocatorCount + 3, k73 = kLocatorCount + 4;
bool IsLocator(std::string_view text);  // looks at the first 4 characters only
int LocatorValue(std::string_view text);
std::string LocatorText(int value);

}  // namespace ft
