/* The convolutional encoder and interleaver, fused: each coded bit is written straight to its
   interleaved place, so neither the coded block nor a table of places is ever held. */
#include "qvc-convolutional.h"

#include "qvc-bits.h"
#include "qvc-flash.h"

#define QVC_GENERATOR_1 0xF2D05351UL
#define QVC_GENERATOR_2 0xE4613C47UL

/* The 4 bits of each value 0-15 in reverse order. */
static const uint8_t qvc_reversed_nibble[16] QVC_FLASH = {0, 8, 4, 12, 2, 10, 6, 14,
                                                          1, 9, 5, 13, 3, 11, 7, 15};

static uint8_t qvc_parity32(uint32_t word) {
  uint8_t folded = (uint8_t)((uint8_t)word ^ (uint8_t)(word >> 8) ^ (uint8_t)(word >> 16) ^
                             (uint8_t)(word >> 24));
  folded ^= (uint8_t)(folded >> 4);
  folded ^= (uint8_t)(folded >> 2);
  folded ^= (uint8_t)(folded >> 1);
  return (uint8_t)(folded & 1);
}

/* The two coded bits of a state: the first generator's in bit 1. */
static uint8_t qvc_coded_pair(uint32_t state) {
  return (uint8_t)((qvc_parity32(state & QVC_GENERATOR_1) << 1) |
                   qvc_parity32(state & QVC_GENERATOR_2));
}

uint8_t qvc_convolve_bit(uint32_t* state, uint8_t bit) {
  *state = (*state << 1) | (bit & 1);
  return qvc_coded_pair(*state);
}

uint8_t qvc_next_interleaver_place(uint16_t* counter, uint16_t size) {
  for (;;) {
    uint8_t i = (uint8_t)*counter;
    uint8_t place = (uint8_t)((qvc_flash_byte(&qvc_reversed_nibble[i & 15]) << 4) |
                              qvc_flash_byte(&qvc_reversed_nibble[i >> 4]));
    ++*counter;
    if (place < size) return place;
  }
}

void qvc_code_and_interleave(const uint8_t* source, uint8_t count, uint8_t* coded) {
  uint16_t size = (uint16_t)(2 * (count + QVC_CONVOLUTIONAL_TAIL));
  uint16_t counter = 0;
  uint32_t state = 0;
  uint8_t i, byte = 0, mask = 0;
  for (i = 0; i < (size + 7) / 8; ++i) coded[i] = 0;
  for (i = 0; i < count + QVC_CONVOLUTIONAL_TAIL; ++i) {
    uint8_t pair, first, second;
    if (mask == 0) {
      mask = 0x80;
      byte = i < count ? source[i >> 3] : 0;
    }
    state <<= 1;
    if (i < count && (byte & mask)) state |= 1;
    mask >>= 1;
    pair = qvc_coded_pair(state);
    first = qvc_next_interleaver_place(&counter, size);
    second = qvc_next_interleaver_place(&counter, size);
    if (pair & 2) qvc_set_bit(coded, first);
    if (pair & 1) qvc_set_bit(coded, second);
  }
}
