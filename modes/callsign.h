// A callsign field as a 28-bit number, and back. Numbers from kCallBase up are not callsigns but
// the words CQ, QRZ, DE, "CQ nnn", and CQ/QRZ/DE carrying a free-form prefix or suffix.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace jt65 {

// 37 * 36 * 10 * 27 * 27 * 27: the count of ordinary callsign values.
inline constexpr std::int32_t kCallBase = 262177560;
inline constexpr std::int32_t kCqValue = kCallBase + 1;
inline constexpr std::int32_t kQrzValue = kCallBase + 2;
inline constexpr std::int32_t kCqFrequencyValue = kCallBase + 3;  // + nnn of "CQ nnn"
inline constexpr std::int32_t kDeValue = 267796945;

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

inline constexpr std::int32_t kCqPrefixBase = 262178563;
inline constexpr std::int32_t kQrzPrefixBase = 264002072;
inline constexpr std::int32_t kDePrefixBase = 265825581;
inline constexpr std::int32_t kCqSuffixBase = 267649090;
inline constexpr std::int32_t kQrzSuffixBase = 267698375;
inline constexpr std::int32_t kDeSuffixBase = 267747660;

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
