/* What the FST4 and FST4W frames share inside the core: bit strings, and the frame itself: the
   CRC-24, the parity bits from a table of the LDPC code, and the Gray-mapped tones between the
   sync words. Not for callers. */
#ifndef QVS_FRAME_H
#define QVS_FRAME_H

#include <stdint.h>

#define QVS_CODEWORD_BYTES 30 /* 240 bits */

/* Writes the `count` low bits of value, most significant first, from bit `at` on; the bits
   written over must be 0. */
void qvs_put_bits(uint8_t* bits, uint8_t at, uint32_t value, uint8_t count);
/* Returns bit `at` and flips it when `flip` is odd: one helper reads bits (flip 0) and sets bits
   that are 0 so far. */
uint8_t qvs_flip_bit(uint8_t* bits, uint8_t at, uint8_t flip);

/* The frame of a codeword whose first message_bits bits are the message, the rest 0: appends
   their CRC-24, sets the parity bits of the LDPC code, and keys the 240 bits as tones.
   The code is a table in flash: the number of passes over it, then one record for each parity
   bit, in codeword order, so a record need not name the bit it sets: either QVS_CODE_ROW and
   message_bits / 8 + 1 bytes of the bit's generator row over the message bits (the CRC folded
   in, as it is linear in them), or a parity check: the places of its other parity bits, then
   those of its information bits, so a record begins where a parity bit's place follows an
   information bit's. QVS_CODE_END follows the last. Most checks of these codes tie three parity
   bits to one or two information bits: a few hundred bytes where the generator takes one or two
   thousand. A row is larger but never waits for a later bit, so each table has rows where they
   cut the passes most. */
#define QVS_CODE_ROW 0xFEU
#define QVS_CODE_END 0xFFU
void qvs_code_and_key(uint8_t codeword[QVS_CODEWORD_BYTES], uint8_t message_bits,
                      const uint8_t* code, uint8_t tones[160]);

#endif
