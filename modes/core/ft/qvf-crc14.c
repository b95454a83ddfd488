/* The 14-bit CRC of the 77-bit messages, a byte at a time with the bits of each byte worked one by
   one: fewer flash bytes than a table, and few cycles. */
#include "modes/core/ft/qvf-codeword.h"

uint16_t qvf_crc14(const uint8_t bits77[10]) {
  uint16_t crc = 0;
  uint8_t i, bit;
  /* The 77 bits are padded to 82, as the bytes the code was designed around hold them: the ten
     bytes (bits 77-79 are zero already), then two zero bits. */
  for (i = 0; i < 11; ++i) {
    crc ^= (uint16_t)((i < 10 ? bits77[i] : 0) << 6);
    for (bit = i < 10 ? 8 : 2; bit > 0; --bit) {
      crc = (uint16_t)(crc << 1);
      if (crc & 0x4000) crc ^= 0x6757; /* x^14 clears the bit shifted out */
    }
  }
  return (uint16_t)(crc & 0x3FFF);
}
