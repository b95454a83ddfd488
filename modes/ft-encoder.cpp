// The FT8 and FT4 encoders: the same 77-bit packing and codeword, then each mode's channel.
#include "modes/ft-encoder.h"

#include "modes/crc14.h"
#include "modes/ft4-tones.h"
#include "modes/ft8-tones.h"
#include "modes/ldpc-174-91.h"
#include "modes/message77.h"

namespace ft {

// Packs and unpacks the message; the bits go on only when a receiver would take them.
modes::EncodeResult PackForAir(std::string_view text, modes::Encoding& encoding) {
  Message77 message;
  Pack77Result packed = PackMessage77(text, message);
  encoding.message = message.text;
  if (!packed.ok) return {false, packed.error};
  std::string why;
  std::optional<std::string> decoded = UnpackMessage77(message.bits, message.book, &why);
  if (!decoded) return {false, "\"" + message.text + "\" cannot be sent: " + why};
  encoding.decoded = *decoded;
  encoding.sourceBits = message.bits;
  encoding.notes = message.notes;
  if (encoding.decoded != message.text)
    encoding.notes.push_back("sent as \"" + encoding.decoded + "\"");
  return {true, {}};
}

modes::Bits Codeword174(const modes::Bits& bits77) {
  modes::Bits message91 = bits77;
  modes::AppendBits(message91, Crc14(bits77), 14);
  return EncodeLdpc174(message91);
}

modes::EncodeResult EncodeFt8(std::string_view text, modes::Encoding& encoding) {
  modes::EncodeResult result = PackForAir(text, encoding);
  if (!result.ok) return result;
  FtTones tones = Ft8Tones(Codeword174(encoding.sourceBits));
  encoding.symbols = tones.data;
  encoding.tones = tones.all;
  return result;
}

modes::EncodeResult EncodeFt4(std::string_view text, modes::Encoding& encoding) {
  modes::EncodeResult result = PackForAir(text, encoding);
  if (!result.ok) return result;
  FtTones tones = Ft4Tones(Codeword174(Ft4Scramble(encoding.sourceBits)));
  encoding.symbols = tones.data;
  encoding.tones = tones.all;
  return result;
}

}  // namespace ft
