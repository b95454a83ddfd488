// The FT8 and FT4 encoders: the core packs the message and maps it onto each mode's tones; here
// the bits are unpacked into the text a receiver prints.
#include "modes/ft-encoder.h"

#include "modes/core/ft/qvf-ft4.h"
#include "modes/core/ft/qvf-ft8.h"
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

namespace {

// The whole sequence, and its data tones: the blocks between the sync arrays.
void TakeTones(const std::uint8_t* tones, int count, int blocks, int blockTones, int (*start)(int),
               modes::Encoding& encoding) {
  encoding.tones.assign(tones, tones + count);
  encoding.symbols.clear();
  for (int block = 0; block < blocks; ++block)
    encoding.symbols.insert(encoding.symbols.end(), tones + start(block),
                            tones + start(block) + blockTones);
}

}  // namespace

modes::EncodeResult EncodeFt8(std::string_view text, modes::Encoding& encoding) {
  std::uint8_t tones[QVF_FT8_TONES];
  modes::EncodeResult result = PackForAir(text, encoding);
  if (!result.ok) return result;
  qvf_ft8_tones(PackedBits77(encoding.sourceBits).data(), tones);
  TakeTones(
      tones, QVF_FT8_TONES, 2, QVF_FT8_DATA_BLOCK,
      [](int block) { return QVF_FT8_DATA_START(block); }, encoding);
  return result;
}

modes::EncodeResult EncodeFt4(std::string_view text, modes::Encoding& encoding) {
  std::uint8_t tones[QVF_FT4_TONES];
  modes::EncodeResult result = PackForAir(text, encoding);
  if (!result.ok) return result;
  qvf_ft4_tones(PackedBits77(encoding.sourceBits).data(), tones);
  TakeTones(
      tones, QVF_FT4_TONES, 3, QVF_FT4_DATA_BLOCK,
      [](int block) { return QVF_FT4_DATA_START(block); }, encoding);
  return result;
}

}  // namespace ft
