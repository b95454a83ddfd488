/* What the frames of both FST4 codes share: CRC-24 over the message bits, the parity bits from
   the code's table, and the 240 codeword bits keyed as 120 Gray-mapped tones between five sync
   words. */
#include "modes/core/fst4/qvs-frame.h"

#include "modes/core/common/qvc-flash.h"
#include "modes/core/fst4/qvs-fst4.h"

/* Sync word A; sync word B is A plus 2, modulo 4. Two bits a tone, first tone on top. */
#define QVS_SYNC_A 0x1E4BU /* 0 1 3 2 1 0 2 3 */

uint8_t qvs_flip_bit(uint8_t* bits, uint8_t at, uint8_t flip) {
  uint8_t mask = 0x80U, old, k;
  bits += at >> 3;
  for (k = (uint8_t)(at & 7U); k > 0; --k) mask >>= 1;
  old = (uint8_t)(*bits & mask);
  if (flip & 1U) *bits ^= mask;
  return old != 0;
}

void qvs_put_bits(uint8_t* bits, uint8_t at, uint32_t value, uint8_t count) {
  /* From the last bit back, so that each step shifts by one. */
  for (at = (uint8_t)(at + count); count > 0; --count, value >>= 1)
    qvs_flip_bit(bits, --at, (uint8_t)value);
}

static void qvs_key(uint8_t codeword[QVS_CODEWORD_BYTES], uint8_t tones[QVS_TONES]) {
  uint8_t block, i, at = 0;
  for (block = 0;; ++block) {
    uint16_t sync = QVS_SYNC_A;
    for (i = 0; i < 8; ++i, sync = (uint16_t)(sync << 2))
      *tones++ = (uint8_t)(((sync >> 14) + ((block & 1U) << 1)) & 3U);
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
  uint8_t info = (uint8_t)(message_bits + 24), row_bytes = (uint8_t)(message_bits / 8 + 1);
  uint8_t rows = qvc_flash_byte(code++), at, k, sum, previous = 0, target = 0;
  /* CRC-24, x^24 + x^10 + x^9 + x^6 + x^4 + x^3 + x + 1, most significant bit first, from 0; the
     register keeps bits above its 24 (only bit 23 is tested, only 24 bits are written). */
  uint32_t crc = 0;
  for (k = 0; k < message_bits; ++k) {
    uint8_t top = (uint8_t)((uint8_t)(crc >> 16) ^ (uint8_t)(qvs_flip_bit(codeword, k, 0) << 7));
    crc <<= 1;
    if (top & 0x80U) crc ^= 0x65BUL;
  }
  qvs_put_bits(codeword, message_bits, crc, 24);
  /* The parity bits no chain of checks reaches: each the parity of the message bits its row has
     (the CRC folded in, as it is linear in them; the row's bits past the message are 0). */
  for (; rows > 0; --rows, code += row_bytes) {
    at = qvc_flash_byte(code++);
    for (k = 0, sum = 0; k < row_bytes; ++k)
      sum ^= (uint8_t)(codeword[k] & qvc_flash_byte(code + k));
    sum ^= (uint8_t)(sum >> 4);
    sum ^= (uint8_t)(sum >> 2);
    qvs_flip_bit(codeword, at, (uint8_t)(sum ^ (sum >> 1)));
  }
  /* Then each check sets its one parity bit not yet known (0 so far) to the sum of its bits. */
  for (sum = 0;; ++code) {
    at = qvc_flash_byte(code);
    if (at >= info && previous < info) {
      qvs_flip_bit(codeword, target, sum);
      if (at == QVS_CODE_END) break;
      target = at;
      sum = 0;
    }
    sum ^= qvs_flip_bit(codeword, at, 0);
    previous = at;
  }
  qvs_key(codeword, tones);
}
