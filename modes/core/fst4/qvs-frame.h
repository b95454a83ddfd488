/* What the FST4 and FST4W frames share inside the core: bit strings, the CRC-24, and the
   Gray-mapped tones between the sync words. Not for callers. */
#ifndef QVS_FRAME_H
#define QVS_FRAME_H

#include <stdint.h>

#define QVS_CODEWORD_BYTES 30 /* 240 bits */

/* Writes the `count` low bits of value, most significant first, from bit `at` on; the bits
   written over must be 0. */
void qvs_put_bits(uint8_t* bits, uint8_t at, uint32_t value, uint8_t count);
uint8_t qvs_bit(const uint8_t* bits, uint8_t at);

/* Writes the CRC-24 of the codeword's first info_bits bits after them (those 24 bits 0). */
void qvs_append_crc24(uint8_t codeword[QVS_CODEWORD_BYTES], uint8_t info_bits);

/* The 160 tones of a whole codeword: its bits Gray-mapped between the sync words. */
void qvs_key(const uint8_t codeword[QVS_CODEWORD_BYTES], uint8_t tones[160]);

#endif
