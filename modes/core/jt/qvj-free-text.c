/* Free text: the first 13 characters in base 42, 5 + 5 + 3 characters. The third group needs 17
   bits but its field has 15 beside the flag, so its top two bits ride as the lowest bits of the
   two call fields. */
#include "../common/qvc-flash.h"
#include "qvj-pack.h"

static const uint8_t qvj_text_alphabet[] QVC_FLASH = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ +-./?";

/* The place of c in the free-text alphabet, or the blank's 36. */
static uint8_t qvj_text_code(char c) {
  uint8_t code;
  for (code = 0; code < 42; ++code)
    if (qvc_flash_byte(&qvj_text_alphabet[code]) == (uint8_t)c) return code;
  return 36;
}

void qvj_pack_free_text(const char message[13], uint32_t fields[3]) {
  uint8_t group, i;
  for (group = 0; group < 3; ++group) {
    uint32_t value = 0;
    for (i = 0; i < (group < 2 ? 5 : 3); ++i)
      value = 42 * value + qvj_text_code(message[5 * group + i]);
    fields[group] = value;
  }
  fields[0] = 2 * fields[0] + ((fields[2] >> 15) & 1);
  fields[1] = 2 * fields[1] + ((fields[2] >> 16) & 1);
  fields[2] = (fields[2] & 0x7FFF) | QVJ_FREE_TEXT_FLAG;
}
