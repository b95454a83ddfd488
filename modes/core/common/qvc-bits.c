/* Reading and writing numbers in packed bit strings, most significant bit first. */
#include "qvc-bits.h"

#include "qvc-flash.h"

const uint8_t qvc_bit_mask[8] QVC_FLASH = {0x80, 0x40, 0x20, 0x10, 8, 4, 2, 1};

uint8_t qvc_bit(const uint8_t* bits, uint16_t place) {
  return (bits[place >> 3] & qvc_flash_byte(&qvc_bit_mask[place & 7])) != 0;
}

uint8_t qvc_flash_bit(const uint8_t* bits, uint8_t place) {
  return (qvc_flash_byte(&bits[place >> 3]) & qvc_flash_byte(&qvc_bit_mask[place & 7])) != 0;
}

void qvc_set_bit(uint8_t* bits, uint16_t place) {
  bits[place >> 3] |= qvc_flash_byte(&qvc_bit_mask[place & 7]);
}

uint32_t qvc_read_bits(const uint8_t* bits, uint16_t place, uint8_t count) {
  uint32_t value = 0;
  while (count--) value = (value << 1) | qvc_bit(bits, place++);
  return value;
}

void qvc_write_bits(uint8_t* bits, uint16_t place, uint32_t value, uint8_t count) {
  while (count--) {
    if ((value >> count) & 1) qvc_set_bit(bits, place);
    ++place;
  }
}

uint32_t qvc_multiply_add(uint32_t value, uint8_t factor, uint8_t addend) {
  uint32_t sum = addend;
  for (; factor != 0; factor >>= 1, value <<= 1)
    if (factor & 1) sum += value;
  return sum;
}
