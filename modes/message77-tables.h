// The lists and small fields of the 77-bit messages as the host's decoder reads them: ARRL Field
// Day sections and RTTY Roundup exchanges (the encoder core's lists), and 4-character locators.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ft {

extern const std::array<std::string_view, 86> kFieldDaySections;
extern const std::array<std::string_view, 171> kRttyExchanges;

// "FN42": two letters A-R, two digits; its value is below kLocatorCount.
inline constexpr int kLocatorCount = 18 * 18 * 100;
// The grid-or-report field of the standard messages holds a locator, one of these, or a report
// (kLocatorCount + 35 + report).
inline constexpr int kNoGrid = kLocatorCount + 1, kRrr = kLocatorCount + 2,
                     kRr73 = kLocatorCount + 3, k73 = kLocatorCount + 4;
std::string LocatorText(int value);

}  // namespace ft
