// The Q65 encoder: the 77-bit packer's bits, the RR73 code where WSJT-X's transmitter puts it, and
// the core's tones; the data symbols are the tones outside the sync slots, less one.
#include "modes/q65-encoder.h"

#include <array>

#include "modes/core/q65/qvq-q65.h"
#include "modes/ft-encoder.h"
#include "modes/message77.h"

namespace q65 {

modes::EncodeResult EncodeQ65(std::string_view text, modes::Encoding& encoding) {
  modes::EncodeResult result = ft::PackForAir(text, encoding);
  if (!result.ok) return result;
  std::array<std::uint8_t, QVQ_BYTES> bytes = ft::PackedBits77(encoding.sourceBits);
  qvq_q65_prefer_rr73(bytes.data());
  encoding.sourceBits = ft::UnpackedBits77(bytes.data());
  std::uint8_t tones[QVQ_TONES];
  qvq_q65_tones(bytes.data(), tones);
  encoding.tones.assign(tones, tones + QVQ_TONES);
  for (std::uint8_t tone : tones)
    if (tone != 0) encoding.symbols.push_back(tone - 1);
  return result;
}

}  // namespace q65
