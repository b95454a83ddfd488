/* lookup3: three 32-bit words stirred by a mixing round per 12-byte block and a final round,
   the bytes read little-endian. Every step of either round changes one word from the other two,
   and the word it changes moves on by one place each step; so instead of naming the words of
   each step, the three words hand their roles on after every step (a takes b's value, b c's,
   c a's) and one loop walks the rotation counts of both rounds: on an 8-bit chip the unrolled
   rounds would cost a kilobyte of flash. */
#include "../common/qvc-flash.h"
#include "qvw-wspr.h"

/* The rotation counts: six mixing steps, then seven final steps. */
#define QVW_MIX_STEPS 6
#define QVW_ALL_STEPS 13
static const uint8_t qvw_turns[QVW_ALL_STEPS] QVC_FLASH = {4,  6,  8,  16, 19, 4, 14,
                                                           11, 25, 16, 4,  14, 24};

uint32_t qvw_lookup3(const char* key, uint8_t length, uint32_t seed) {
  uint32_t a, b, c;
  uint8_t at = 0;
  a = b = c = (uint32_t)(0xDEADBEEFUL + length + seed);
  if (length == 0) return c;
  for (;;) {
    /* Every block but the last is mixed; the last gets the final round. */
    uint8_t last = (uint8_t)(length - at) <= 12;
    uint8_t i, first = last ? QVW_MIX_STEPS : 0;
    /* Passes 0-11 add the block's bytes to a, little-endian (none past the end; the place
       counted in 8 bits as the reference counts it), the roles turning after every fourth, so
       the three words go to a, b and c. The passes after them are the round's steps. */
    for (i = 0; i < 12 + QVW_MIX_STEPS + last; ++i) {
      if (i < 12) {
        uint8_t place = (uint8_t)(at + i);
        if (place < length) a += (uint32_t)(uint8_t)key[place] << (8 * (i & 3));
        if ((i & 3) != 3) continue;
      } else {
        uint8_t step = (uint8_t)(i - 12 + first);
        uint8_t k = qvc_flash_byte(&qvw_turns[step]);
        uint32_t turned = step < QVW_MIX_STEPS ? c : b;
        /* One bit at a time: a rotation by a variable count costs no more code than this on a
           chip that shifts one bit per instruction. */
        while (k--) turned = (turned << 1) | (turned >> 31);
        if (step < QVW_MIX_STEPS) {
          /* a -= c; a ^= rotl(c, k); c += b */
          a = (a - c) ^ turned;
          c += b;
        } else {
          /* c ^= b; c -= rotl(b, k) */
          c = (c ^ b) - turned;
        }
      }
      {
        uint32_t old_a = a;
        a = b;
        b = c;
        c = old_a;
      }
    }
    /* Seven final steps left the last c in b. */
    if (last) return b;
    at = (uint8_t)(at + 12);
  }
}
