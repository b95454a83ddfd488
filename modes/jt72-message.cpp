// Preparing, packing and coding the 72-bit message of JT9 and JT4 through the encoder core, and
// unpacking it.
#include "modes/jt72-message.h"

#include "modes/core/common/qvc-bits.h"
#include "modes/core/common/qvc-convolutional.h"
#include "modes/core/jt/qvj-message.h"
#include "modes/fixed-text.h"

namespace modes {

Bits UnpackedBits(const std::uint8_t* bytes, std::size_t count) {
  Bits bits(count);
  for (std::size_t i = 0; i < count; ++i) bits[i] = qvc_bit(bytes, std::uint16_t(i));
  return bits;
}

void PackedBits(const Bits& bits, std::uint8_t* bytes) {
  for (std::size_t i = 0; i < (bits.size() + 7) / 8; ++i) bytes[i] = 0;
  for (std::size_t i = 0; i < bits.size(); ++i)
    if (bits[i]) qvc_set_bit(bytes, std::uint16_t(i));
}

Jt72Message PrepareJt72Message(std::string_view text, LeadingBlank leading) {
  qvj_message core{};
  qvc_report report{};
  Jt72Message message;
  message.shorthand =
      qvj_prepare(std::string(text).c_str(), leading == LeadingBlank::kDrop, &core, &report) != 0;
  message.message = std::string(core.text, jt65::kMessageLength);
  message.ooo = core.ooo != 0;
  return message;
}

void CodeJt72Message(Jt72Message& message) {
  qvj_message core{};
  jt65::Fixed(message.message, jt65::kMessageLength).copy(core.text, jt65::kMessageLength);
  qvj_pack(&core);
  std::uint8_t coded[(kJt72CodedBits + 7) / 8];
  qvc_code_and_interleave(core.source, 72, coded);
  message.type = static_cast<jt65::MessageType>(core.type);
  message.source = UnpackedBits(core.source, 72);
  message.interleaved = UnpackedBits(coded, kJt72CodedBits);
  message.decoded = jt65::UnpackMessage(FromJt72Bits(message.source));
}

Bits Jt72Bits(const jt65::PackedMessage& packed) {
  Bits bits;
  AppendBits(bits, std::uint32_t(packed.call1), 28);
  AppendBits(bits, std::uint32_t(packed.call2), 28);
  AppendBits(bits, std::uint32_t(packed.field3), 16);
  return bits;
}

jt65::PackedMessage FromJt72Bits(const Bits& bits) {
  jt65::PackedMessage packed;
  packed.call1 = std::int32_t(ReadBits(bits, 0, 28));
  packed.call2 = std::int32_t(ReadBits(bits, 28, 28));
  packed.field3 = std::int32_t(ReadBits(bits, 56, 16));
  packed.type = packed.field3 & jt65::kFreeTextFlag ? jt65::MessageType::kFreeText
                                                    : jt65::MessageType::kStandard;
  return packed;
}

}  // namespace modes
