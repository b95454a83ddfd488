/* The K = 32, rate 1/2 convolutional code that WSPR, JT9 and JT4 share, and the bit-reversal
   interleaver that follows it in all three: every message bit becomes two coded bits, each the
   parity of the last 32 message bits under one of two generator masks, and coded bit k goes to
   the k-th number of 0 ... 255 that, read with its 8 bits reversed, lies inside the block. */
#ifndef QVC_CONVOLUTIONAL_H
#define QVC_CONVOLUTIONAL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The zero bits that follow a message and bring the encoder back to its all-zero state. */
#define QVC_CONVOLUTIONAL_TAIL 31

/* Shifts bit into the 32-bit state (newest bit lowest) and returns the two coded bits: the
   first generator's in bit 1, the second's in bit 0. */
uint8_t qvc_convolve_bit(uint32_t* state, uint8_t bit);

/* The next place of the interleaver for a block of size bits (at most 256): counter starts at 0
   and is advanced past the place returned. */
uint8_t qvc_next_interleaver_place(uint16_t* counter, uint16_t size);

/* Codes count packed source bits followed by the tail and writes the 2 * (count + 31) coded bits,
   interleaved, into coded (packed; cleared here first). */
void qvc_code_and_interleave(const uint8_t* source, uint8_t count, uint8_t* coded);

#ifdef __cplusplus
}
#endif

#endif
