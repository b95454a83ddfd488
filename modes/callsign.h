// A callsign field as a 28-bit number (packed by the encoder core), and back. Numbers from
// kCallBase up are not callsigns but the words CQ, QRZ, DE, "CQ nnn", and CQ/QRZ/DE carrying a
// free-form prefix or suffix.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "modes/core/common/qvc-call.h"
#include "modes/core/jt/qvj-pack.h"

namespace jt65 {

// The values the encoder core gives the words of a call field.
inline constexpr std::int32_t kCallBase = QVC_CALL_BASE;
inline constexpr std::int32_t kCqValue = QVC_CALL_CQ;
inline constexpr std::int32_t kQrzValue = QVC_CALL_QRZ;
inline constexpr std::int32_t kCqFrequencyValue = QVC_CALL_CQ_FREQUENCY;  // + nnn of "CQ nnn"
inline constexpr std::int32_t kDeValue = QVC_CALL_DE;

// The word in front of a callsign with a free-form add-on, and which kind of add-on it is; the
// first call field holds the sum of the range's base and the add-on's value.
enum class CallLead {
  kNone,
  kCqPrefix,
  kQrzPrefix,
  kDePrefix,
  kCqSuffix,
  kQrzSuffix,
  kDeSuffix,
  kPlainDe
};

inline constexpr std::int32_t kCqPrefixBase = QVJ_CQ_PREFIX_BASE;
inline constexpr std::int32_t kQrzPrefixBase = QVJ_QRZ_PREFIX_BASE;
inline constexpr std::int32_t kDePrefixBase = QVJ_DE_PREFIX_BASE;
inline constexpr std::int32_t kCqSuffixBase = QVJ_CQ_SUFFIX_BASE;
inline constexpr std::int32_t kQrzSuffixBase = QVJ_QRZ_SUFFIX_BASE;
inline constexpr std::int32_t kDeSuffixBase = QVJ_DE_SUFFIX_BASE;

// The JT modes' call packer, and the older one of WSPR, which knows CQ and QRZ (not DE, not
// "CQ nnn") and keeps no place for Guinea's 3X calls.
enum class CallRules { kJt, kWspr };

// The value of a call field (only its first 6 characters count), or nothing when the field is
// not a callsign (then the message goes as free text).
std::optional<std::int32_t> PackCall(std::string_view field, CallRules rules = CallRules::kJt);

struct UnpackedCall {
  std::string word;  // 12 characters; "......" for a value that is no callsign
  CallLead lead = CallLead::kNone;
  std::string add_on;  // the free-form prefix (4) or suffix (3), blank-padded
};

UnpackedCall UnpackCall(std::int32_t value, CallRules rules = CallRules::kJt);

}  // namespace jt65
