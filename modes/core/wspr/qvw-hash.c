/* lookup3: three 32-bit words stirred by a mixing round per 12-byte block and a final round,
   the bytes read little-endian. */
#include "qvw-wspr.h"

#define QVW_ROTATE(x, k) (((x) << (k)) | ((x) >> (32 - (k))))

/* Up to four bytes from at, as a little-endian word, zero bytes past the end. */
static uint32_t qvw_word(const char* key, uint8_t length, uint8_t at) {
  uint32_t word = 0;
  uint8_t i;
  for (i = 0; i < 4 && at + i < length; ++i) word |= (uint32_t)(uint8_t)key[at + i] << (8 * i);
  return word;
}

uint32_t qvw_lookup3(const char* key, uint8_t length, uint32_t seed) {
  uint32_t a, b, c;
  uint8_t at = 0;
  a = b = c = 0xDEADBEEFUL + length + seed;
  if (length == 0) return c;
  for (; length - at > 12; at += 12) {
    a += qvw_word(key, length, at);
    b += qvw_word(key, length, (uint8_t)(at + 4));
    c += qvw_word(key, length, (uint8_t)(at + 8));
    a -= c;
    a ^= QVW_ROTATE(c, 4);
    c += b;
    b -= a;
    b ^= QVW_ROTATE(a, 6);
    a += c;
    c -= b;
    c ^= QVW_ROTATE(b, 8);
    b += a;
    a -= c;
    a ^= QVW_ROTATE(c, 16);
    c += b;
    b -= a;
    b ^= QVW_ROTATE(a, 19);
    a += c;
    c -= b;
    c ^= QVW_ROTATE(b, 4);
    b += a;
  }
  a += qvw_word(key, length, at);
  b += qvw_word(key, length, (uint8_t)(at + 4));
  c += qvw_word(key, length, (uint8_t)(at + 8));
  c ^= b;
  c -= QVW_ROTATE(b, 14);
  a ^= c;
  a -= QVW_ROTATE(c, 11);
  b ^= a;
  b -= QVW_ROTATE(a, 25);
  c ^= b;
  c -= QVW_ROTATE(b, 16);
  a ^= c;
  a -= QVW_ROTATE(c, 4);
  b ^= a;
  b -= QVW_ROTATE(a, 14);
  c ^= b;
  c -= QVW_ROTATE(b, 24);
  return c;
}

uint16_t qvw_call_hash(const char* call, uint8_t length) {
  return (uint16_t)(qvw_lookup3(call, length, 146) & 0x7FFF);
}
