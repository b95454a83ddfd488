/* Text and wide-number helpers of the 77-bit packing. */
#include "modes/core/ft/qvf-text.h"

uint8_t qvf_find(const char* text, uint8_t length, char c) {
  uint8_t i;
  for (i = 0; i < length; ++i)
    if (text[i] == c) break;
  return i;
}

uint32_t qvf_number(const char* digits, uint8_t length) {
  uint32_t value = 0;
  uint8_t i;
  for (i = 0; i < length; ++i) value = value * 10 + (uint32_t)(digits[i] - '0');
  return value;
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
