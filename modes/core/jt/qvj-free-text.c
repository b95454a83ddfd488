/* Free text: the first 13 characters in base 42, 5 + 5 + 3 characters. The third group needs 17
   bits but its field has 15 beside the flag, so its top two bits ride as the lowest bits of the
   two call fields. */
#include "../common/qvc-flash.h"
#include "../common/qvc-text.h"
#include "qvj-pack.h"

/* The free-text characters after the digits and letters, from code 36 on. */
static const uint8_t qvj_text_signs[] QVC_FLASH = " +-./?";

/* The code of c in the free-text alphabet: digits, capitals, then the signs; the blank's 36 for
   anything else. */
static uint8_t qvj_text_code(char c) {
  uint8_t code;
  if (qvc_is_digit(c) || qvc_is_letter(c)) return qvc_call_code(c);
  for (code = 0; code < sizeof qvj_text_signs - 1; ++code)
    if (qvc_flash_byte(&qvj_text_signs[code]) == (uint8_t)c) break;
  return (uint8_t)(36 + (code < sizeof qvj_text_signs - 1 ? code : 0));
}

void qvj_pack_free_text(const char message[13], uint32_t fields[3]) {
  uint8_t i, top;
  uint32_t value = 0;
  uint32_t* field = fields;
  for (i = 0; i < 13; ++i) {
    value = 42 * value + qvj_text_code(message[i]);
    /* The groups end after characters 5, 10 and 13. */
    if (i == 4 || i == 9 || i == 12) {
      *field++ = value;
      value = 0;
    }
  }
  /* The third group is below 42^3 < 2^17: bits 15 and 16 go to the call fields. */
  top = (uint8_t)(fields[2] >> 15);
  for (i = 0; i < 2; ++i, top >>= 1) fields[i] = (fields[i] << 1) | (top & 1);
  fields[2] = (uint16_t)fields[2] | QVJ_FREE_TEXT_FLAG;
}
