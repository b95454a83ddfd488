/* The 14-bit CRC of the 77-bit messages, for callers that want it alone (the host shows it). The
   codeword works it out along the way, so it is read from there: one home for the CRC. */
#include "modes/core/ft/qvf-codeword.h"

uint16_t qvf_crc14(const uint8_t bits77[10]) {
  uint8_t codeword[QVF_CODEWORD_BITS], i;
  uint16_t crc = 0;
  qvf_codeword174(bits77, codeword);
  for (i = 77; i < 91; ++i) crc = (uint16_t)((crc << 1) | codeword[i]);
  return crc;
}
