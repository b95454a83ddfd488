// The 72 bits of a JT65 message: two 28-bit fields and one 16-bit field, and the message types
// that decide how they are filled. On air they travel as 12 six-bit symbols.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "modes/core/jt/qvj-pack.h"

namespace jt65 {

// The numbers are those the reference encoder prints in its "Type" column.
enum class MessageType {
  kShorthand = -1,
  kStandard = 1,
  kListPrefix = 2,
  kListSuffix = 3,
  kFreePrefix = 4,
  kFreeSuffix = 5,
  kFreeText = 6,
};

// Bit 15 of the third field marks free text.
inline constexpr std::int32_t kFreeTextFlag = QVJ_FREE_TEXT_FLAG;

struct PackedMessage {
  std::int32_t call1 = 0;   // 28 bits
  std::int32_t call2 = 0;   // 28 bits
  std::int32_t field3 = 0;  // 16 bits, the free-text flag included
  MessageType type = MessageType::kStandard;
};

using DataSymbols = std::array<int, 12>;

// Packs a message (22 characters, normalised, without its OOO flag, not a shorthand) through the
// encoder core.
PackedMessage PackMessage(const std::string& message);

// The text of a packed message, 22 characters, with the fix-ups that undo the CQ rewrites.
std::string UnpackMessage(const PackedMessage& packed);

// The 72 bits, most significant first, cut into 12 six-bit symbols; and back.
DataSymbols ToDataSymbols(const PackedMessage& packed);
PackedMessage FromDataSymbols(const DataSymbols& symbols);

}  // namespace jt65
