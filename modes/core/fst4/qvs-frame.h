/* What the FST4 and FST4W frames share inside the core: bit strings, the CRC-24, and the
   systematic LDPC code with Gray-mapped tones between the sync words. Not for callers. */
#ifndef QVS_FRAME_H
#define QVS_FRAME_H

#include <stdint.h>

#define QVS_CODEWORD_BYTES 30 /* 240 bits */

/* Writes the `count` low bits of value, most significant first, from bit `at` on; the bits
   written over must be 0. */
void qvs_put_bits(uint8_t* bits, uint8_t at, uint32_t value, uint8_t count);
uint8_t qvs_bit(const uint8_t* bits, uint8_t at);

/* The codeword holds `info_bits` message bits, the rest 0; appends their CRC-24, then the parity
   bits of the generator `columns` (flash: one column a bit of message and CRC, each the bytes
   from the one the parity bits start in to the end of the codeword), and keys the whole as
   tones. */
void qvs_code_and_key(uint8_t codeword[QVS_CODEWORD_BYTES], uint8_t info_bits,
                      const uint8_t* columns, uint8_t tones[160]);

#endif
