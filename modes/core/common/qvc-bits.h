/* Bit strings of the encoder core: packed eight to a byte, first bit in the top bit of byte 0,
   so a 206-bit block costs 26 bytes of RAM instead of 206. */
#ifndef QVC_BITS_H
#define QVC_BITS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

static inline uint8_t qvc_bit(const uint8_t* bits, uint16_t place) {
  return (uint8_t)((bits[place >> 3] >> (7 - (place & 7))) & 1);
}

static inline void qvc_set_bit(uint8_t* bits, uint16_t place) {
  bits[place >> 3] |= (uint8_t)(0x80 >> (place & 7));
}

/* count (at most 32) bits from place on, the first bit the most significant. */
uint32_t qvc_read_bits(const uint8_t* bits, uint16_t place, uint8_t count);

/* Writes the low count bits of value from place on; the bits there must be zero. */
void qvc_write_bits(uint8_t* bits, uint16_t place, uint32_t value, uint8_t count);

/* The binary Gray code: neighbouring values differ in one bit, so a tone mistaken for its
   neighbour costs one bit. */
static inline uint8_t qvc_gray(uint8_t value) {
  return (uint8_t)(value ^ (value >> 1));
}

#ifdef __cplusplus
}
#endif

#endif
