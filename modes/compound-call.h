// Callsigns with a prefix or suffix ("ZL/K1ABC", "K1ABC/P"). Listed add-ons ride in the third
// field as a locator no station uses; free-form ones ride in the first field, after CQ, QRZ or DE.
// The encoder core packs them; here are the lists as text and the way back onto a decoded call.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "modes/core/jt/qvj-pack.h"

namespace jt65 {

// The listed prefixes, read from the encoder core's table; k is the 1-based place in this list.
extern const std::array<std::string_view, QVJ_PREFIX_COUNT> kPrefixList;
// The listed suffixes; k is 400 + the 1-based place in this list.
inline constexpr std::string_view kSuffixList = QVJ_SUFFIX_LIST;

// Puts the listed add-on k back on a decoded call word (12 characters); codes that stand for no
// add-on leave the word as it is.
std::string ApplyListAddOn(int k, const std::string& word);

}  // namespace jt65
