// Callsigns with a prefix or suffix ("ZL/K1ABC", "K1ABC/P"). Type 1 add-ons come from a fixed
// list and ride in the third field as a locator no station uses; type 2 add-ons are free-form and
// ride in the first field, after CQ, QRZ or DE.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace jt65 {

// The type 1 prefixes; k is the 1-based place in this list.
extern const std::array<std::string_view, 339> kPrefixList;
// The type 1 suffixes; k is 400 + the 1-based place in this list.
inline constexpr std::string_view kSuffixList = "P0123456789A";

enum class AddOnKind {
  kNone = 1,        // no add-on (or one that was not recognised)
  kListPrefix = 2,  // type 1 prefix
  kListSuffix = 3,  // type 1 suffix
  kFreePrefix = 4,  // type 2 prefix
  kFreeSuffix = 5,  // type 2 suffix
};

struct CompoundCall {
  AddOnKind kind = AddOnKind::kNone;
  // Type 1: 1-339 or 401-412. Type 2: the add-on as a base-37 number. 0 when there is none;
  // -1 for an add-on of a length that fits neither form.
  int k = 0;
  std::string base_call;  // what is left to pack as the callsign, 12 characters
};

// Splits a call field (up to 12 characters) into its add-on and base call.
CompoundCall SplitCompoundCall(std::string_view field);

// The third-field value (a locator at latitude 85-89 N) that carries a type 1 add-on code k;
// k is 1-412 for the first call, 451-862 for the second.
int ListAddOnField3(int k);

// Puts the type 1 add-on k back on a decoded call word (12 characters); codes that stand for no
// add-on leave the word as it is.
std::string ApplyListAddOn(int k, const std::string& word);

}  // namespace jt65
