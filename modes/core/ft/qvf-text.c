/* Text and wide-number helpers of the 77-bit packing. */
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
