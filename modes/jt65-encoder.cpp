// The encoding pipeline: normalise, split off OOO, pack, Reed-Solomon, interleave, Gray code;
// then the way back, to show what a receiver would print.
#include "modes/jt65-encoder.h"

#include "modes/fixed-text.h"
#include "modes/message-format.h"

namespace jt65 {

std::string DecodeChannelSymbols(const ChannelSymbols& channel) {
  return UnpackMessage(FromDataSymbols(DataOfCodeword(FromChannelSymbols(channel))));
}

Encoding EncodeMessage(std::string_view text) {
  Encoding encoding;
  encoding.message = NormaliseMessage(text);
  OooSplit split = SplitOooFlag(encoding.message);
  encoding.ooo = split.ooo;
  if (IsShorthand(split.message)) {
    encoding.type = MessageType::kShorthand;
    encoding.decoded = Fixed(TrimRight(split.message), kMessageLength);
    return encoding;
  }
  PackedMessage packed = PackMessage(split.message);
  encoding.type = packed.type;
  encoding.data = ToDataSymbols(packed);
  encoding.channel = ToChannelSymbols(EncodeReedSolomon(encoding.data));

  std::string decoded = DecodeChannelSymbols(encoding.channel);
  // A receiver shows the flag in the last three positions.
  if (encoding.ooo) decoded.replace(19, 3, "OOO");
  encoding.decoded = NormaliseMessage(decoded);
  return encoding;
}

}  // namespace jt65
