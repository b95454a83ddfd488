/* Text, wide-number and locator helpers of the 77-bit packing. */
#include "modes/core/ft/qvf-text.h"

#include "modes/core/common/qvc-flash.h"

/* Each word ends in a NUL; the pieces are apart so that no digit reads as part of an escape. */
static const char kWords[] QVC_FLASH =
    "DE\0"
    "QRZ\0"
    "CQ\0"
    "CQ_\0"
    "TU;\0"
    "R\0"
    "RRR\0"
    "RR73\0"
    "RR73;\0"
    "73\0"
    "...\0"
    "QU1RK\0"
    "+-./?";

char qvf_word_char(uint8_t at) {
  return (char)qvc_flash_byte(&kWords[at]);
}

uint8_t qvf_starts(const char* text, uint8_t length, uint8_t word) {
  uint8_t i = 0;
  char c;
  while ((c = qvf_word_char((uint8_t)(word + i))) != '\0') {
    if (i >= length || text[i] != c) return 0;
    ++i;
  }
  return i;
}

uint8_t qvf_is(const char* text, uint8_t length, uint8_t word) {
  return length != 0 && qvf_starts(text, length, word) == length;
}

uint8_t qvf_find(const char* text, uint8_t length, char c) {
  uint8_t i;
  for (i = 0; i < length; ++i)
    if (text[i] == c) break;
  return i;
}

uint32_t qvf_read32(const uint8_t* number) {
  return ((uint32_t)number[3] << 24) | ((uint32_t)number[2] << 16) |
         (uint16_t)((uint16_t)number[1] << 8 | number[0]);
}

void qvf_multiply_add(uint8_t* number, uint8_t size, uint8_t factor, uint8_t addend, uint8_t fill) {
  uint16_t carry = 0;
  uint8_t i;
  for (i = 0; i < size; ++i) {
    uint16_t t = (uint16_t)((uint16_t)number[i] * factor + addend + carry);
    number[i] = (uint8_t)t;
    carry = t >> 8;
    addend = fill;
  }
}

uint16_t qvf_locator(const char* text, uint8_t length) {
  /* ((A * 18 + B) * 10 + digit) * 10 + digit, one place a turn: a loop is smaller than the four
     places written out */
  uint16_t value = 0;
  uint8_t i;
  if (length < 4) return QVF_NOT_LOCATOR;
  for (i = 0; i < 4; ++i) {
    uint8_t radix = 18, digit = (uint8_t)(text[i] - 'A');
    if (i & 2) radix = 10, digit = (uint8_t)(text[i] - '0');
    if (digit >= radix) return QVF_NOT_LOCATOR;
    value = (uint16_t)(value * radix + digit);
  }
  return value;
}
