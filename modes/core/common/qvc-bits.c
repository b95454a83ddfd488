/* Reading and writing numbers in packed bit strings, most significant bit first. */
#include "qvc-bits.h"

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
