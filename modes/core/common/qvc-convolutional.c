/* The convolutional encoder and interleaver, fused: each coded bit is written straight to its
   interleaved place, so neither the coded block nor a table of places is ever held. */
#include "qvc-convolutional.h"

#include <string.h>

#include "qvc-bits.h"
#include "qvc-flash.h"

#define QVC_GENERATOR_1 0xF2D05351UL
#define QVC_GENERATOR_2 0xE4613C47UL

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
  /* The counter holds the next number already read backwards, so moving on is adding one from
     the top bit down: no table and no reversal of every number. */
  for (;;) {
    uint8_t place = (uint8_t)*counter, next = place, carry = 0x80;
    while (next & carry) {
      next ^= carry;
      carry >>= 1;
    }
    *counter = next | carry;
    if (place < size) return place;
  }
}

void qvc_code_and_interleave(const uint8_t* source, uint8_t count, uint8_t* coded) {
  uint8_t bits = (uint8_t)(count + QVC_CONVOLUTIONAL_TAIL), i;
  uint16_t size = (uint16_t)(2 * bits);
  uint16_t counter = 0;
  uint32_t state = 0;
  memset(coded, 0, (size + 7) / 8);
  for (i = 0; i < bits; ++i) {
    uint8_t pair, first;
    state <<= 1;
    if (i < count && qvc_bit(source, i)) state |= 1;
    pair = qvc_coded_pair(state);
    first = qvc_next_interleaver_place(&counter, size);
    if (pair & 2) qvc_set_bit(coded, first);
    first = qvc_next_interleaver_place(&counter, size);
    if (pair & 1) qvc_set_bit(coded, first);
  }
}
