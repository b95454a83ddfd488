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
  int16_t longitude = (int16_t)(179 - 10 * (locator[0] - 'A') - (locator[2] - '0'));
  int16_t latitude = (int16_t)(10 * (locator[1] - 'A') + (locator[3] - '0'));
  return (uint16_t)(longitude * 180 + latitude);
}
