/* Bit strings of the encoder core: packed eight to a byte, first bit in the top bit of byte 0,
   so a 206-bit block costs 26 bytes of RAM instead of 206. */
#ifndef QVC_BITS_H
#define QVC_BITS_H

#include <stdint.h>

#include "qvc-flash.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The mask of each bit of a byte, the first (most significant) first; a table in flash. */
extern const uint8_t qvc_bit_mask[8] QVC_FLASH;

uint8_t qvc_bit(const uint8_t* bits, uint16_t place);
void qvc_set_bit(uint8_t* bits, uint16_t place);

/* Bit place of a packed bit string held in flash. */
uint8_t qvc_flash_bit(const uint8_t* bits, uint8_t place);

/* count (at most 32) bits from place on, the first bit the most significant. */
uint32_t qvc_read_bits(const uint8_t* bits, uint16_t place, uint8_t count);

/* Writes the low count bits of value from place on; the bits there must be zero. */
void qvc_write_bits(uint8_t* bits, uint16_t place, uint32_t value, uint8_t count);

/* value * factor + addend, by shifts and adds: the packers' mixed-radix numbers without a 32-bit
   multiply routine, which on an 8-bit chip costs more flash than this. */
uint32_t qvc_multiply_add(uint32_t value, uint8_t factor, uint8_t addend);

/* The binary Gray code: neighbouring values differ in one bit, so a tone mistaken for its
   neighbour costs one bit. */
static inline uint8_t qvc_gray(uint8_t value) {
  return (uint8_t)(value ^ (value >> 1));
}

#ifdef __cplusplus
}
#endif

#endif
