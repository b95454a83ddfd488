/* Comparing text with words kept in flash, so that no string constant is copied to RAM. */
#include "qvc-text.h"

#include "qvc-flash.h"

uint8_t qvc_starts_with(const char* text, const uint8_t* word) {
  uint8_t c;
  while ((c = qvc_flash_byte(word++)) != 0)
    if ((uint8_t)*text++ != c) return 0;
  return 1;
}

void qvc_copy_padded(char* to, uint8_t width, const char* from, uint8_t length) {
  uint8_t i;
  for (i = 0; i < width; ++i) to[i] = i < length ? from[i] : ' ';
}

uint8_t qvc_all_blank(const char* text, uint8_t length) {
  while (length--)
    if (*text++ != ' ') return 0;
  return 1;
}
