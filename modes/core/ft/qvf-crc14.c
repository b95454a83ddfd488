/* The 14-bit CRC of the 77-bit messages, one bit at a time: 82 steps cost less flash than a
   table and few cycles. */
#include "modes/core/ft/qvf-codeword.h"

uint16_t qvf_crc14(const uint8_t bits77[10]) {
  uint16_t crc = 0;
  uint8_t i;
  /* The 77 bits are padded to 82, as the bytes the code was designed around hold them; bits
     77-79 of the array are zero already. */
  for (i = 0; i < 82; ++i) {
    uint8_t in = i < 80 ? (uint8_t)((bits77[i >> 3] >> (7 - (i & 7))) & 1) : 0;
    uint8_t top = (uint8_t)(((crc >> 13) & 1) ^ in);
    crc = (uint16_t)((crc << 1) & 0x3FFF);
    if (top) crc ^= 0x2757; /* x^14 is implied */
  }
  return crc;
}
