/* The convolutional encoder and interleaver, fused: each coded bit is written straight to its
   interleaved place, so neither the coded block nor a table of places is ever held. */
#include "qvc-convolutional.h"

#include "qvc-bits.h"
#include "qvc-flash.h"

#define QVC_GENERATOR_1 0xF2D05351UL
#define QVC_GENERATOR_2 0xE4613C47UL

/* The parity of state AND the generator mask g selects (0: the first, 1: the second). */
static uint8_t qvc_coded_bit(uint32_t state, uint8_t g) {
  uint8_t folded;
  state &= g ? QVC_GENERATOR_2 : QVC_GENERATOR_1;
  folded = (uint8_t)((uint8_t)state ^ (uint8_t)(state >> 8) ^ (uint8_t)(state >> 16) ^
                     (uint8_t)(state >> 24));
  folded ^= (uint8_t)(folded >> 4);
  folded ^= (uint8_t)(folded >> 2);
  folded ^= (uint8_t)(folded >> 1);
  return (uint8_t)(folded & 1);
}

/* The number after n counted with its 8 bits read backwards: one added from the top bit down,
   so no table and no reversal of every number. */
static uint8_t qvc_reversed_next(uint8_t n) {
  uint8_t carry = 0x80;
  while (n & carry) {
    n ^= carry;
    carry >>= 1;
  }
  return (uint8_t)(n | carry);
}

uint8_t qvc_convolve_bit(uint32_t* state, uint8_t bit) {
  *state = (*state << 1) | (bit & 1);
  return (uint8_t)((qvc_coded_bit(*state, 0) << 1) | qvc_coded_bit(*state, 1));
}

uint8_t qvc_next_interleaver_place(uint16_t* counter, uint16_t size) {
  /* The counter holds the next number already read backwards. */
  uint8_t place;
  do {
    place = (uint8_t)*counter;
    *counter = qvc_reversed_next(place);
  } while (place >= size);
  return place;
}

void qvc_code_and_interleave(const uint8_t* source, uint8_t count, uint8_t* coded) {
  /* One pass: each message bit fed to the coder, its two coded bits set in their places. The
     coder is worked in its transposed form: sum bit k holds the part of coded bit t + k that the
     bits fed so far give, so a message 1 adds the whole generator, coded bit t is bit 0 of the
     sum, and one shift moves on. No parity of 32 bits is folded per coded bit, and this is the
     same code as qvc_convolve_bit's: bit k of a generator meets the message bit k places back.
     The source is read a byte at a time and shifted, and the block cleared by a plain loop, so
     no bit-reading helper and no memset are linked in for this alone. */
  uint8_t bits = (uint8_t)(count + QVC_CONVOLUTIONAL_TAIL), i, g, byte = 0, counter = 0, place,
          pair;
  uint32_t sum_1 = 0, sum_2 = 0;
  /* The 2 * bits coded bits fill (2 * bits + 7) / 8 bytes, which is (bits + 3) / 4 since 2 * bits
     is even. */
  for (i = (uint8_t)((bits + 3) >> 2); i > 0;) coded[--i] = 0;
  for (i = 0; i < bits; ++i, byte = (uint8_t)(byte << 1)) {
    /* No byte is read past the message: the tail is zeros, and the source may end there. */
    if ((i & 7) == 0 && i < count) byte = source[i >> 3];
    if (i < count && (byte & 0x80)) {
      sum_1 ^= QVC_GENERATOR_1;
      sum_2 ^= QVC_GENERATOR_2;
    }
    pair = (uint8_t)(((uint8_t)sum_1 & 1) << 1 | ((uint8_t)sum_2 & 1));
    sum_1 >>= 1;
    sum_2 >>= 1;
    for (g = 0; g < 2; ++g, pair = (uint8_t)(pair << 1)) {
      /* A place lies inside the block of 2 * bits when its half lies below bits: a byte compare
         where the block may have up to 510 places. */
      do {
        place = counter;
        counter = qvc_reversed_next(counter);
      } while ((uint8_t)(place >> 1) >= bits);
      if (pair & 2) coded[place >> 3] |= qvc_flash_byte(&qvc_bit_mask[place & 7]);
    }
  }
}
