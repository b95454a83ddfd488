/* lookup3: three 32-bit words stirred by a mixing round per 12-byte block and a final round,
   the bytes read little-endian. The rounds are kept as tables of steps, walked by one loop: on
   an 8-bit chip the unrolled rounds would cost a kilobyte of flash. */
#include "../common/qvc-flash.h"
#include "qvw-wspr.h"

/* One step of a round works on the words x, y, z of the state (0 a, 1 b, 2 c) and rotates by k:
   mixing:  x -= y; x ^= rotl(y, k); y += z
   final:   x ^= y; x -= rotl(y, k)
   Each step is packed as x | y << 2 | z << 4, then k. */
static const uint8_t qvw_mix_steps[12] QVC_FLASH = {0x18, 4,  0x21, 6,  0x06, 8,
                                                    0x18, 16, 0x21, 19, 0x06, 4};
static const uint8_t qvw_final_steps[14] QVC_FLASH = {0x06, 14,   0x08, 11,   0x01, 25,   0x06,
                                                      16,   0x08, 4,    0x01, 14,   0x06, 24};

/* One bit at a time: a rotation by a variable count costs no more code than this on a chip
   that shifts one bit per instruction. */
static uint32_t qvw_rotate(uint32_t x, uint8_t k) {
  while (k--) x = (x << 1) | (x >> 31);
  return x;
}

static void qvw_round(uint32_t s[3], const uint8_t* steps, uint8_t count, uint8_t final) {
  while (count--) {
    uint8_t places = qvc_flash_byte(steps++);
    uint8_t k = qvc_flash_byte(steps++);
    uint32_t* x = &s[places & 3];
    uint32_t y = s[(places >> 2) & 3];
    uint32_t turned = qvw_rotate(y, k);
    if (final) {
      *x ^= y;
      *x -= turned;
    } else {
      *x -= y;
      *x ^= turned;
      s[(places >> 2) & 3] = y + s[places >> 4];
    }
  }
}

/* Adds the next 12 bytes from at (zero bytes past the end), read as three little-endian words. */
static void qvw_add_block(uint32_t s[3], const char* key, uint8_t length, uint8_t at) {
  uint8_t i, j;
  for (i = 0; i < 3; ++i) {
    uint32_t word = 0;
    for (j = 4; j-- > 0;) {
      uint8_t place = (uint8_t)(at + 4 * i + j);
      word = (word << 8) | (place < length ? (uint8_t)key[place] : 0);
    }
    s[i] += word;
  }
}

uint32_t qvw_lookup3(const char* key, uint8_t length, uint32_t seed) {
  uint32_t s[3];
  uint8_t at = 0;
  s[0] = s[1] = s[2] = 0xDEADBEEFUL + length + seed;
  if (length == 0) return s[2];
  for (;; at += 12) {
    /* Every block but the last is mixed; the last gets the final round. */
    uint8_t last = length - at <= 12;
    qvw_add_block(s, key, length, at);
    qvw_round(s, last ? qvw_final_steps : qvw_mix_steps, (uint8_t)(6 + last), last);
    if (last) return s[2];
  }
}

uint16_t qvw_call_hash(const char* call, uint8_t length) {
  return (uint16_t)(qvw_lookup3(call, length, 146) & 0x7FFF);
}
