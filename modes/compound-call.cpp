// Type 1 and type 2 prefixes and suffixes: which one a call field carries, and putting a type 1
// add-on back on a decoded call.
#include "modes/compound-call.h"

#include <algorithm>

#include "modes/fixed-text.h"

namespace jt65 {

const std::array<std::string_view, 339> kPrefixList = {
    "1A",   "1S",   "3A",   "3B6",  "3B8",  "3B9",  "3C",   "3C0",  "3D2",  "3D2C", "3D2R", "3DA",
    "3V",   "3W",   "3X",   "3Y",   "3YB",  "3YP",  "4J",   "4L",   "4S",   "4U1I", "4U1U", "4W",
    "4X",   "5A",   "5B",   "5H",   "5N",   "5R",   "5T",   "5U",   "5V",   "5W",   "5X",   "5Z",
    "6W",   "6Y",   "7O",   "7P",   "7Q",   "7X",   "8P",   "8Q",   "8R",   "9A",   "9G",   "9H",
    "9J",   "9K",   "9L",   "9M2",  "9M6",  "9N",   "9Q",   "9U",   "9V",   "9X",   "9Y",   "A2",
    "A3",   "A4",   "A5",   "A6",   "A7",   "A9",   "AP",   "BS7",  "BV",   "BV9",  "BY",   "C2",
    "C3",   "C5",   "C6",   "C9",   "CE",   "CE0X", "CE0Y", "CE0Z", "CE9",  "CM",   "CN",   "CP",
    "CT",   "CT3",  "CU",   "CX",   "CY0",  "CY9",  "D2",   "D4",   "D6",   "DL",   "DU",   "E3",
    "E4",   "EA",   "EA6",  "EA8",  "EA9",  "EI",   "EK",   "EL",   "EP",   "ER",   "ES",   "ET",
    "EU",   "EX",   "EY",   "EZ",   "F",    "FG",   "FH",   "FJ",   "FK",   "FKC",  "FM",   "FO",
    "FOA",  "FOC",  "FOM",  "FP",   "FR",   "FRG",  "FRJ",  "FRT",  "FT5W", "FT5X", "FT5Z", "FW",
    "FY",   "M",    "MD",   "MI",   "MJ",   "MM",   "MU",   "MW",   "H4",   "H40",  "HA",   "HB",
    "HB0",  "HC",   "HC8",  "HH",   "HI",   "HK",   "HK0",  "HK0M", "HL",   "HM",   "HP",   "HR",
    "HS",   "HV",   "HZ",   "I",    "IS",   "IS0",  "J2",   "J3",   "J5",   "J6",   "J7",   "J8",
    "JA",   "JDM",  "JDO",  "JT",   "JW",   "JX",   "JY",   "K",    "KG4",  "KH0",  "KH1",  "KH2",
    "KH3",  "KH4",  "KH5",  "KH5K", "KH6",  "KH7",  "KH8",  "KH9",  "KL",   "KP1",  "KP2",  "KP4",
    "KP5",  "LA",   "LU",   "LX",   "LY",   "LZ",   "OA",   "OD",   "OE",   "OH",   "OH0",  "OJ0",
    "OK",   "OM",   "ON",   "OX",   "OY",   "OZ",   "P2",   "P4",   "PA",   "PJ2",  "PJ7",  "PY",
    "PY0F", "PT0S", "PY0T", "PZ",   "R1F",  "R1M",  "S0",   "S2",   "S5",   "S7",   "S9",   "SM",
    "SP",   "ST",   "SU",   "SV",   "SVA",  "SV5",  "SV9",  "T2",   "T30",  "T31",  "T32",  "T33",
    "T5",   "T7",   "T8",   "T9",   "TA",   "TF",   "TG",   "TI",   "TI9",  "TJ",   "TK",   "TL",
    "TN",   "TR",   "TT",   "TU",   "TY",   "TZ",   "UA",   "UA2",  "UA9",  "UK",   "UN",   "UR",
    "V2",   "V3",   "V4",   "V5",   "V6",   "V7",   "V8",   "VE",   "VK",   "VK0H", "VK0M", "VK9C",
    "VK9L", "VK9M", "VK9N", "VK9W", "VK9X", "VP2E", "VP2M", "VP2V", "VP5",  "VP6",  "VP6D", "VP8",
    "VP8G", "VP8H", "VP8O", "VP8S", "VP9",  "VQ9",  "VR",   "VU",   "VU4",  "VU7",  "XE",   "XF4",
    "XT",   "XU",   "XW",   "XX9",  "XZ",   "YA",   "YB",   "YI",   "YJ",   "YK",   "YL",   "YN",
    "YO",   "YS",   "YU",   "YV",   "YV0",  "Z2",   "Z3",   "ZA",   "ZB",   "ZC4",  "ZD7",  "ZD8",
    "ZD9",  "ZF",   "ZK1N", "ZK1S", "ZK2",  "ZK3",  "ZL",   "ZL7",  "ZL8",  "ZL9",  "ZP",   "ZS",
    "ZS8",  "KC4",  "E5",
};

namespace {

// The k that no list entry uses is kept for a prefix the operator sets up; this encoder has none,
// so the prefix is 8 NUL characters, which no typed field can equal.
constexpr int kOperatorPrefixCode = 449;

int Base37(std::string_view text) {
  int value = 0;
  for (char c : text) value = 37 * value + CallCode(c);
  return value;
}

// A free-form add-on, tried when the field has a "/" that the lists did not explain.
void ClassifyFreeAddOn(const std::string& field, std::size_t slash, CompoundCall& call) {
  std::string left = field.substr(0, slash);
  std::string right(TrimRight(field.substr(slash + 1)));
  bool prefix = !left.empty() && left.size() <= 4;
  bool suffix = !right.empty() && right.size() <= 3;
  if (!prefix && !suffix) {
    call.k = -1;
    return;
  }
  if (prefix && suffix) {
    if (left.size() < 3) suffix = false;
    if (right.size() < 3) prefix = false;
    if (prefix && suffix) {
      if (IsDigit(field[slash - 1])) {
        suffix = false;
      } else {
        prefix = false;
      }
    }
  }
  if (prefix) {
    call.kind = AddOnKind::kFreePrefix;
    call.k = Base37(Fixed(left, 4));
    call.base_call = Fixed(field.substr(slash + 1), 12);
  }
  if (suffix) {
    call.kind = AddOnKind::kFreeSuffix;
    call.k = Base37(Fixed(right, 3));
    call.base_call = Fixed(left, 12);
  }
}

}  // namespace

CompoundCall SplitCompoundCall(std::string_view text) {
  std::string field = Fixed(text, 12);
  CompoundCall call{AddOnKind::kNone, 0, field};
  std::size_t end = std::min(field.find(' '), std::size_t{12});
  std::size_t slash = field.substr(0, end).find('/');
  if (slash == std::string::npos) return call;

  if (slash + 5 <= end) {
    // At least four characters after the "/": a listed prefix?
    call.base_call = Fixed(field.substr(slash + 1, end - slash - 1), 12);
    std::string_view prefix = std::string_view(field).substr(0, std::min(slash, std::size_t{8}));
    auto found = std::find(kPrefixList.begin(), kPrefixList.end(), prefix);
    if (found != kPrefixList.end()) {
      call.kind = AddOnKind::kListPrefix;
      call.k = static_cast<int>(found - kPrefixList.begin()) + 1;
      return call;
    }
  } else if (slash + 2 == end) {
    // One character after the "/": a listed suffix?
    call.base_call = Fixed(field.substr(0, slash), 12);
    std::size_t place = kSuffixList.find(field[slash + 1]);
    if (place != std::string_view::npos) {
      call.kind = AddOnKind::kListSuffix;
      call.k = 401 + static_cast<int>(place);
      return call;
    }
  }
  ClassifyFreeAddOn(field, slash, call);
  return call;
}

int ListAddOnField3(int k) {
  return 180 * ((k - 1) / 5) + 175 + (k - 1) % 5;
}

std::string ApplyListAddOn(int k, const std::string& word) {
  int code = k > 450 ? k - 450 : k;
  if (code >= 1 && code <= static_cast<int>(kPrefixList.size())) {
    return Fixed(std::string(kPrefixList[code - 1]) + "/" + word, 12);
  }
  if (code >= 401 && code < 401 + static_cast<int>(kSuffixList.size())) {
    std::size_t end = word.find(' ');
    std::string call = end == std::string::npos ? std::string() : word.substr(0, end);
    return Fixed(call + "/" + kSuffixList[code - 401], 12);
  }
  if (code == kOperatorPrefixCode) return Fixed(std::string(8, '\0') + "/" + word, 12);
  return word;
}

}  // namespace jt65
