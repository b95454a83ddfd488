// FT4's scrambling through the encoder core.
#include "modes/ft4-tones.h"

#include "modes/core/ft/qvf-ft4.h"
#include "modes/message77.h"

namespace ft {

modes::Bits Ft4Scramble(const modes::Bits& bits77) {
  std::array<std::uint8_t, QVF_MESSAGE77_BYTES> bytes = PackedBits77(bits77);
  qvf_ft4_scramble(bytes.data());
  return UnpackedBits77(bytes.data());
}

}  // namespace ft
