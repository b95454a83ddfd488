// The third message field as 15 bits (packed by the encoder core): a 4-character locator, a
// signal report, RO, RRR, 73 or nothing. Values from 32400 (180 * 180, the count of locators) up are the non-locator words.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "modes/core/common/qvc-locator.h"

namespace jt65 {

inline constexpr int kLocatorCount = QVC_LOCATOR_COUNT;
inline constexpr int kBlankField3 = QVC_BLANK_FIELD;

// The text of a locator value (below kLocatorCount).
std::string LocatorText(int value);

// The value of a field (4 characters), or nothing when it is none of the forms above (then the
// message goes as free text). Reports from -50 to +49 outside -01..-30 go as the locators
// KA00-KA99, "R" reports as LA00-LA99.
std::optional<int> PackField3(std::string_view field);

// The text of a field value, 4 characters.
std::string UnpackField3(int value);

// The type 1 add-on code that a locator value at latitude 85-89 N stands for, or 0.
int ListAddOnCode(int value);

}  // namespace jt65
