// Preparing, packing, coding and unpacking the 72-bit message of JT9 and JT4.
#include "modes/jt72-message.h"

#include "modes/bit-reversal-interleaver.h"
#include "modes/convolutional-code.h"
#include "modes/fixed-text.h"
#include "modes/message-format.h"

namespace modes {

Jt72Message PrepareJt72Message(std::string_view text, LeadingBlank leading) {
  std::string normalised = jt65::NormaliseMessage(text);
  // JT9 looks for the shorthand messages before it drops the leading blank; normalising leaves
  // at most one.
  bool shorthand = jt65::IsShorthand(jt65::SplitOooFlag(normalised).message);
  if (leading == LeadingBlank::kDrop && normalised[0] == ' ') {
    normalised = jt65::Fixed(std::string_view(normalised).substr(1), jt65::kMessageLength);
  }
  jt65::OooSplit split = jt65::SplitOooFlag(normalised);
  Jt72Message message;
  message.message = split.message;
  message.ooo = split.ooo;
  message.shorthand = shorthand;
  return message;
}

void CodeJt72Message(Jt72Message& message) {
  jt65::PackedMessage packed = jt65::PackMessage(message.message);
  message.type = packed.type;
  message.source = Jt72Bits(packed);
  message.interleaved = InterleaveBitReversal(ConvolutionalEncode(message.source));
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
