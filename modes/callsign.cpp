// Callsign packing: six positions, letter-or-digit, letter-or-digit, digit, then three letters
// or blanks, read as one mixed-radix number.
#include "modes/callsign.h"

#include "modes/fixed-text.h"

namespace jt65 {
namespace {

bool IsLetterOrBlank(char c) {
  return IsLetter(c) || c == ' ';
}

// "3DA0" (Swaziland) and "3X" + letter (Guinea) do not fit the six positions; they travel as
// "3D0" and "Q" + letter, which no real callsign starts with.
// WSPR's packer has the first substitution only.
std::string SubstituteAwkwardPrefixes(std::string call, CallRules rules) {
  if (call.compare(0, 4, "3DA0") == 0) return Fixed("3D0" + call.substr(4, 2), 6);
  if (rules == CallRules::kWspr) return call;
  if (call.compare(0, 2, "3X") == 0 && IsLetter(call[2])) return Fixed("Q" + call.substr(2), 6);
  return call;
}

void RestoreAwkwardPrefixes(std::string& word, CallRules rules) {
  if (word.compare(0, 3, "3D0") == 0) {
    word = Fixed("3DA0" + word.substr(3), 12);
  } else if (rules == CallRules::kJt && word[0] == 'Q' && IsLetter(word[1])) {
    word = Fixed("3X" + word.substr(1), 12);
  }
}

// Peels count base-37 digits off value, the last digit first.
std::string UnpackBase37(std::int32_t value, int count) {
  std::string text(count, ' ');
  for (int i = count - 1; i >= 0; --i) {
    text[i] = kCallAlphabet[value % 37];
    value /= 37;
  }
  return text;
}

}  // namespace

std::optional<std::int32_t> PackCall(std::string_view field, CallRules rules) {
  std::string call = SubstituteAwkwardPrefixes(Fixed(field, 6), rules);
  if (rules == CallRules::kWspr) {
    if (call == "CQ    ") return kCqValue;
    if (call == "QRZ   ") return kQrzValue;
  } else if (call.compare(0, 3, "CQ ") == 0) {
    if (IsDigit(call[3]) && IsDigit(call[4]) && IsDigit(call[5])) {
      return kCqFrequencyValue + (call[3] - '0') * 100 + (call[4] - '0') * 10 + (call[5] - '0');
    }
    return kCqValue;
  }
  if (rules == CallRules::kJt) {
    if (call.compare(0, 4, "QRZ ") == 0) return kQrzValue;
    if (call.compare(0, 3, "DE ") == 0) return kDeValue;
  }

  // The digit of a callsign must land in the third position.
  std::string t;
  if (IsDigit(call[2])) {
    t = call;
  } else if (IsDigit(call[1]) && call[5] == ' ') {
    t = " " + call.substr(0, 5);
  } else {
    return std::nullopt;
  }
  for (char& c : t) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  bool valid = (IsLetterOrBlank(t[0]) || IsDigit(t[0])) && (IsLetter(t[1]) || IsDigit(t[1])) &&
               IsDigit(t[2]) && IsLetterOrBlank(t[3]) && IsLetterOrBlank(t[4]) &&
               IsLetterOrBlank(t[5]);
  if (!valid) return std::nullopt;

  std::int32_t value = CallCode(t[0]);
  value = 36 * value + CallCode(t[1]);
  value = 10 * value + CallCode(t[2]);
  for (int i = 3; i < 6; ++i) value = 27 * value + CallCode(t[i]) - 10;
  return value;
}

UnpackedCall UnpackCall(std::int32_t value, CallRules rules) {
  UnpackedCall call{Fixed("......", 12), CallLead::kNone, Fixed("", 4)};
  if (value < kCallBase) {
    std::string word(6, ' ');
    for (int i = 5; i >= 3; --i) {
      word[i] = kCallAlphabet[value % 27 + 10];
      value /= 27;
    }
    word[2] = kCallAlphabet[value % 10];
    value /= 10;
    word[1] = kCallAlphabet[value % 36];
    value /= 36;
    word[0] = kCallAlphabet[value];
    std::size_t first = word.find_first_not_of(' ');
    if (first < 4) word.erase(0, first);
    call.word = Fixed(word, 12);
  } else if (value >= kCqPrefixBase && value < kQrzPrefixBase) {
    call.lead = CallLead::kCqPrefix;
    call.add_on = UnpackBase37(value - kCqPrefixBase, 4);
  } else if (value >= kQrzPrefixBase && value < kDePrefixBase) {
    call.lead = CallLead::kQrzPrefix;
    call.add_on = UnpackBase37(value - kQrzPrefixBase, 4);
  } else if (value >= kDePrefixBase && value < kCqSuffixBase) {
    call.lead = CallLead::kDePrefix;
    call.add_on = UnpackBase37(value - kDePrefixBase, 4);
  } else if (value >= kCqSuffixBase && value < kQrzSuffixBase) {
    call.lead = CallLead::kCqSuffix;
    call.add_on = UnpackBase37(value - kCqSuffixBase, 3);
  } else if (value >= kQrzSuffixBase && value < kDeSuffixBase) {
    call.lead = CallLead::kQrzSuffix;
    call.add_on = UnpackBase37(value - kQrzSuffixBase, 3);
  } else if (value >= kDeSuffixBase && value < kDeValue) {
    call.lead = CallLead::kDeSuffix;
    call.add_on = UnpackBase37(value - kDeSuffixBase, 3);
  } else if (value == kDeValue) {
    call.lead = CallLead::kPlainDe;
  }
  RestoreAwkwardPrefixes(call.word, rules);
  return call;
}

}  // namespace jt65
