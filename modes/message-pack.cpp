// Packing a message through the encoder core, and the 72 bits cut into and read back from the 12
// six-bit symbols of JT65.
#include "modes/core/common/qvc-bits.h"
#include "modes/core/jt/qvj-jt65.h"
#include "modes/core/jt/qvj-message.h"
#include "modes/fixed-text.h"
#include "modes/packed-message.h"

namespace jt65 {
namespace {

// The 72 source bits of the core as bytes, and back.
PackedMessage FromSourceBytes(const std::uint8_t source[9]) {
  PackedMessage packed;
  packed.call1 = std::int32_t(qvc_read_bits(source, 0, 28));
  packed.call2 = std::int32_t(qvc_read_bits(source, 28, 28));
  packed.field3 = std::int32_t(qvc_read_bits(source, 56, 16));
  return packed;
}

void ToSourceBytes(const PackedMessage& packed, std::uint8_t source[9]) {
  for (int i = 0; i < 9; ++i) source[i] = 0;
  qvc_write_bits(source, 0, std::uint32_t(packed.call1), 28);
  qvc_write_bits(source, 28, std::uint32_t(packed.call2), 28);
  qvc_write_bits(source, 56, std::uint32_t(packed.field3), 16);
}

}  // namespace

PackedMessage PackMessage(const std::string& message) {
  qvj_message core{};
  std::uint32_t changes = 0;
  qvj_normalise(std::string(message).c_str(), core.text, &changes);
  qvj_pack(&core);
  PackedMessage packed = FromSourceBytes(core.source);
  packed.type = static_cast<MessageType>(core.type);
  return packed;
}

DataSymbols ToDataSymbols(const PackedMessage& packed) {
  std::uint8_t source[9];
  std::uint8_t data[12];
  ToSourceBytes(packed, source);
  qvj_jt65_data_symbols(source, data);
  DataSymbols symbols{};
  for (int i = 0; i < 12; ++i) symbols[i] = data[i];
  return symbols;
}

PackedMessage FromDataSymbols(const DataSymbols& symbols) {
  std::uint32_t bits[3] = {0, 0, 0};
  for (int i = 0; i < 12; ++i) bits[i / 4] = (bits[i / 4] << 6) | (symbols[i] & 63);
  PackedMessage packed;
  packed.call1 = static_cast<std::int32_t>((bits[0] << 4) | (bits[1] >> 20));
  packed.call2 = static_cast<std::int32_t>(((bits[1] & 0xFFFFF) << 8) | (bits[2] >> 16));
  packed.field3 = static_cast<std::int32_t>(bits[2] & 0xFFFF);
  packed.type = packed.field3 & kFreeTextFlag ? MessageType::kFreeText : MessageType::kStandard;
  return packed;
}

}  // namespace jt65
