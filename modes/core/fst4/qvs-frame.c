/* What the frames of both FST4 codes share: CRC-24 over the message bits, and the 240 codeword
   bits keyed as 120 Gray-mapped tones between five sync words. */
#include "modes/core/fst4/qvs-frame.h"

#include "modes/core/common/qvc-flash.h"
#include "modes/core/fst4/qvs-fst4.h"

/* Sync word A; sync word B is A plus 2, modulo 4. Two bits a tone, first tone on top. */
#define QVS_SYNC_A 0x1E4BU /* 0 1 3 2 1 0 2 3 */

void qvs_put_bits(uint8_t* bits, uint8_t at, uint32_t value, uint8_t count) {
  while (count-- > 0) {
    if ((value >> count) & 1U) bits[at >> 3] |= (uint8_t)(0x80U >> (at & 7U));
    ++at;
  }
}

uint8_t qvs_bit(const uint8_t* bits, uint8_t at) {
  return (uint8_t)((bits[at >> 3] >> (7U - (at & 7U))) & 1U);
}

/* x^24 + x^10 + x^9 + x^6 + x^4 + x^3 + x + 1, most significant bit first, from 0. */
static uint32_t qvs_crc24(const uint8_t* bits, uint8_t count) {
  uint32_t crc = 0;
  uint8_t i;
  for (i = 0; i < count; ++i) {
    uint8_t top = (uint8_t)(((crc >> 23) & 1U) ^ qvs_bit(bits, i));
    crc = (crc << 1) & 0xFFFFFFUL;
    if (top) crc ^= 0x65BUL;
  }
  return crc;
}

static void qvs_sync(uint8_t* tones, uint8_t add) {
  uint8_t i;
  for (i = 0; i < 8; ++i) tones[i] = (uint8_t)(((QVS_SYNC_A >> (14 - 2 * i)) + add) & 3U);
}

void qvs_append_crc24(uint8_t codeword[QVS_CODEWORD_BYTES], uint8_t info_bits) {
  qvs_put_bits(codeword, info_bits, qvs_crc24(codeword, info_bits), 24);
}

void qvs_key(const uint8_t codeword[QVS_CODEWORD_BYTES], uint8_t tones[QVS_TONES]) {
  uint8_t k;
  for (k = 0; k < 5; ++k) qvs_sync(tones + 38 * k, (uint8_t)((k & 1U) << 1));
  /* Data tone k sits after the sync words before it; bit pairs 00 01 11 10 key tones 0 1 2 3. */
  for (k = 0; k < QVS_DATA_TONES; ++k) {
    uint8_t high = qvs_bit(codeword, (uint8_t)(2 * k));
    uint8_t low = qvs_bit(codeword, (uint8_t)(2 * k + 1));
    tones[8 + k + 8 * (k / 30)] = (uint8_t)((high << 1) | (high ^ low));
  }
}
