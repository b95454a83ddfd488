/* What the frames of both FST4 codes share: CRC-24 over the message bits, the parity bits from
   the code's table, and the 240 codeword bits keyed as 120 Gray-mapped tones between five sync
   words. */
#include "modes/core/fst4/qvs-frame.h"

#include "modes/core/common/qvc-bits.h"
#include "modes/core/common/qvc-flash.h"
#include "modes/core/fst4/qvs-fst4.h"

/* The mask from the table, not 0x80 shifted by the bit's place: a flash read costs the chip a few
   cycles where the shift took up to 42, and the walker below reads about a thousand bits a pass. */
uint8_t qvs_flip_bit(uint8_t* bits, uint8_t at, uint8_t flip) {
  uint8_t mask = qvc_flash_byte(&qvc_bit_mask[at & 7U]), old;
  bits += at >> 3;
  old = (uint8_t)(*bits & mask);
  if (flip & 1U) *bits ^= mask;
  return old != 0;
}

/* With 8-bit places, the bit strings of these frames being 240 bits long: a few dozen bytes less
   than the core's general writer takes with its 16-bit places. */
void qvs_put_bits(uint8_t* bits, uint8_t at, uint32_t value, uint8_t count) {
  /* From the last bit back, so that each step shifts by one. */
  for (at = (uint8_t)(at + count); count > 0; --count, value >>= 1)
    qvs_flip_bit(bits, --at, (uint8_t)value);
}

static void qvs_key(uint8_t codeword[QVS_CODEWORD_BYTES], uint8_t tones[QVS_TONES]) {
  uint8_t block, i, at = 0;
  for (block = 0;; ++block) {
    /* Sync word A is 0 1 3 2 1 0 2 3: the Gray code of i mod 4, plus 1 in its second half, taken
       bit by bit; sync word B, in odd blocks, is A with the top bit flipped. */
    for (i = 0; i < 8; ++i)
      *tones++ = (uint8_t)((i ^ ((i >> 1) & 1U) ^ (i >> 2) ^ (block << 1)) & 3U);
    if (block == 4) return;
    /* 30 data tones: bit pairs 00 01 11 10 key tones 0 1 2 3. */
    for (i = 0; i < 30; ++i, at = (uint8_t)(at + 2)) {
      uint8_t high = qvs_flip_bit(codeword, at, 0);
      *tones++ = (uint8_t)((high << 1) | (high ^ qvs_flip_bit(codeword, (uint8_t)(at + 1), 0)));
    }
  }
}

void qvs_code_and_key(uint8_t codeword[QVS_CODEWORD_BYTES], uint8_t message_bits,
                      const uint8_t* code, uint8_t tones[QVS_TONES]) {
  uint8_t info = (uint8_t)(message_bits + 24), pass, target, at, k, sum;
  const uint8_t* next;
  /* CRC-24, x^24 + x^10 + x^9 + x^6 + x^4 + x^3 + x + 1, most significant bit first, from 0; the
     register keeps the bits shifted out (bit 24 is its top bit before the shift, only 24 bits are
     written). */
  uint32_t crc = 0;
  for (k = 0; k < message_bits; ++k) {
    crc <<= 1;
    if (((uint8_t)(crc >> 24) ^ qvs_flip_bit(codeword, k, 0)) & 1U) crc ^= 0x65BUL;
  }
  qvs_put_bits(codeword, message_bits, crc, 24);
  /* Passes over the records, one a parity bit in order, each making the bit the sum of the
     others of its record (flipping it by the sum of all). A record read before its other bits
     are right gives a wrong bit, made right in a later pass: after as many passes as the longest
     chain of records that wait for a later bit, every bit is right. */
  for (pass = qvc_flash_byte(code); pass > 0; --pass) {
    for (next = code + 1, target = info; target < QVS_CODEWORD_BYTES * 8; ++target) {
      sum = qvs_flip_bit(codeword, target, 0);
      at = qvc_flash_byte(next++);
      if (at == QVS_CODE_ROW) {
        /* The parity of the message bits the row has (the row's bits past the message are 0). */
        for (k = 0; k <= message_bits / 8; ++k)
          sum ^= (uint8_t)(codeword[k] & qvc_flash_byte(next++));
        sum ^= (uint8_t)(sum >> 4);
        sum ^= (uint8_t)(sum >> 2);
        sum ^= (uint8_t)(sum >> 1);
      } else {
        /* A check: its other parity bits, then its information bits, up to the next record. */
        for (;; at = qvc_flash_byte(next++)) {
          sum ^= qvs_flip_bit(codeword, at, 0);
          if (at < info && qvc_flash_byte(next) >= info) break;
        }
      }
      qvs_flip_bit(codeword, target, sum);
    }
  }
  qvs_key(codeword, tones);
}
