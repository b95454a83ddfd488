// Callsign fields: packing through the encoder core, and the way back to a word.
#include "modes/callsign.h"

#include <algorithm>

#include "modes/core/common/qvc-call.h"
#include "modes/fixed-text.h"

namespace jt65 {
namespace {

// "3DA0" (Swaziland) and "3X" + letter (Guinea) travel as "3D0" and "Q" + letter, which no real
// callsign starts with; WSPR's packer has the first substitution only.
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
  std::uint32_t value = 0;
  std::uint8_t length = std::uint8_t(std::min<std::size_t>(field.size(), 6));
  if (!qvc_pack_call(field.data(), length,
                     rules == CallRules::kWspr ? QVC_CALL_RULES_WSPR : QVC_CALL_RULES_JT, &value))
    return std::nullopt;
  return std::int32_t(value);
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
