/* The locator check and its value. */
#include "qvc-locator.h"

#include "qvc-text.h"

static uint8_t qvc_is_locator_letter(char c) {
  return c >= 'A' && c <= 'R';
}

uint8_t qvc_is_locator(const char locator[4]) {
  return qvc_is_locator_letter(locator[0]) && qvc_is_locator_letter(locator[1]) &&
         qvc_is_digit(locator[2]) && qvc_is_digit(locator[3]);
}

uint16_t qvc_locator_value(const char locator[4]) {
  /* Both indexes of a locator lie in 0 ... 179, so they are worked in bytes and joined by one
     8 x 8-bit product. */
  uint8_t longitude =
      (uint8_t)(179 - 10 * (uint8_t)(locator[0] - 'A') - (uint8_t)(locator[2] - '0'));
  uint8_t latitude = (uint8_t)(10 * (uint8_t)(locator[1] - 'A') + (uint8_t)(locator[3] - '0'));
  return (uint16_t)(longitude * 180U + latitude);
}
