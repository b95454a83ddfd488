/* The Q65 channel: 77 bits as 13 six-bit symbols (a 0 bit appended), their CRC-12 as two more,
   the 50 check symbols of the (65,15) repeat-accumulate code over GF(64) (x^6 + x + 1), and the
   13 message and 50 check symbols sent in the data slots between the sync slots. */
#include "modes/core/q65/qvq-q65.h"

#include "modes/core/common/qvc-flash.h"

/* alpha^i, i = 0-62, and the logarithm of 1-63 (entry 0 unused). */
static const uint8_t QVQ_EXP[63] QVC_FLASH = {
    1,  2,  4,  8,  16, 32, 3,  6,  12, 24, 48, 35, 5,  10, 20, 40, 19, 38, 15, 30, 60,
    59, 53, 41, 17, 34, 7,  14, 28, 56, 51, 37, 9,  18, 36, 11, 22, 44, 27, 54, 47, 29,
    58, 55, 45, 25, 50, 39, 13, 26, 52, 43, 21, 42, 23, 46, 31, 62, 63, 61, 57, 49, 33};
static const uint8_t QVQ_LOG[64] QVC_FLASH = {
    0,  0,  1,  6,  2,  12, 7,  26, 3,  32, 13, 35, 8,  48, 27, 18, 4,  24, 33, 16, 14, 52,
    36, 54, 9,  45, 49, 38, 28, 41, 19, 56, 5,  62, 25, 11, 34, 31, 17, 47, 15, 23, 53, 51,
    37, 44, 55, 40, 10, 61, 46, 30, 50, 22, 39, 43, 29, 60, 42, 21, 20, 59, 57, 58};

/* Step k of the accumulator adds information symbol INDEX[k] times alpha^WEIGHT[k]. */
static const uint8_t QVQ_INDEX[50] QVC_FLASH = {
    13, 1, 3, 4, 8,  12, 9, 14, 10, 5, 0,  7, 1,  11, 8, 9, 12, 6,  3, 10, 7,  5, 2,  13, 12,
    4,  8, 0, 1, 11, 2,  9, 14, 5,  6, 13, 7, 12, 11, 2, 9, 0,  10, 4, 7,  14, 8, 11, 3,  6};
static const uint8_t QVQ_WEIGHT[50] QVC_FLASH = {0,  14, 0, 0,  13, 37, 0,  27, 56, 62, 29, 0,  52,
                                                 34, 62, 4, 3,  22, 25, 0,  22, 0,  20, 10, 0,  43,
                                                 53, 60, 0, 0,  0,  62, 0,  5,  0,  61, 36, 31, 61,
                                                 59, 10, 0, 29, 39, 25, 18, 0,  14, 11, 50};

/* The slots that send tone 0. */
static const uint8_t QVQ_SYNC[22] QVC_FLASH = {0,  8,  11, 12, 14, 21, 22, 25, 26, 32, 34,
                                               37, 45, 49, 54, 59, 61, 65, 68, 73, 75, 84};

static uint16_t qvq_field(const uint8_t* bits, uint8_t at, uint8_t count) {
  uint16_t value = 0;
  while (count-- > 0) {
    value = (uint16_t)((value << 1) | ((bits[at >> 3] >> (7U - (at & 7U))) & 1U));
    ++at;
  }
  return value;
}

uint8_t qvq_q65_prefer_rr73(uint8_t bits[QVQ_BYTES]) {
  uint8_t type = (uint8_t)qvq_field(bits, 74, 3), at;
  uint16_t grid = 32403U; /* RR73 */
  if ((type != 1 && type != 2) || qvq_field(bits, 59, 15) != 32373U) return 0;
  for (at = 73; at >= 59; --at, grid >>= 1) {
    uint8_t mask = (uint8_t)(0x80U >> (at & 7U));
    bits[at >> 3] = (uint8_t)((grid & 1U) ? (bits[at >> 3] | mask) : (bits[at >> 3] & ~mask));
  }
  return 1;
}

void qvq_q65_tones(const uint8_t bits[QVQ_BYTES], uint8_t tones[QVQ_TONES]) {
  uint8_t u[15];
  uint16_t crc = 0;
  uint8_t k, b, slot, sync = 0, data = 0, check = 0, sum = 0;
  for (k = 0; k < 13; ++k) {
    u[k] = (uint8_t)(k < 12 ? qvq_field(bits, (uint8_t)(6 * k), 6) : qvq_field(bits, 72, 5) << 1);
    /* CRC-12 (x^12 + x^11 + x^3 + x^2 + x + 1) as a right-shifting register, each symbol's
       bits from the lowest. */
    for (b = 0; b < 6; ++b) {
      uint8_t in = (uint8_t)((u[k] >> b) & 1U);
      uint8_t out = (uint8_t)(crc & 1U);
      crc >>= 1;
      if (in != out) crc ^= 0xF01U;
    }
  }
  u[13] = (uint8_t)(crc & 63U);
  u[14] = (uint8_t)(crc >> 6);
  for (slot = 0; slot < QVQ_TONES; ++slot) {
    uint8_t symbol;
    if (sync < 22 && slot == qvc_flash_byte(&QVQ_SYNC[sync])) {
      ++sync;
      tones[slot] = 0;
      continue;
    }
    if (data < 13) {
      symbol = u[data++];
    } else {
      /* The next check symbol: the previous one plus one weighted information symbol. */
      uint8_t v = u[qvc_flash_byte(&QVQ_INDEX[check])];
      if (v != 0) {
        uint8_t power = (uint8_t)(qvc_flash_byte(&QVQ_LOG[v]) + qvc_flash_byte(&QVQ_WEIGHT[check]));
        if (power >= 63) power = (uint8_t)(power - 63);
        sum ^= qvc_flash_byte(&QVQ_EXP[power]);
      }
      ++check;
      symbol = sum;
    }
    tones[slot] = (uint8_t)(symbol + 1);
  }
}

uint32_t qvq_samples_per_symbol(uint16_t period_seconds) {
  switch (period_seconds) {
    case 15:
      return 1800;
    case 30:
      return 3600;
    case 60:
      return 7200;
    case 120:
      return 16000;
    case 300:
      return 41472UL;
    default:
      return 0;
  }
}
