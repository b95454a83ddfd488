/* The text of a Field Day section or RTTY Roundup exchange by its place, for a host that decodes;
   apart from the lookups so that a firmware that only sends does not carry it. */
#include "modes/core/common/qvc-flash.h"
#include "modes/core/ft/qvf-message77-tables.h"

static void copy_entry(const uint8_t* list, uint8_t place, char text[3]) {
  uint16_t value = (uint16_t)(qvc_flash_byte(&list[(place - 1) * 2]) << 8 |
                              qvc_flash_byte(&list[(place - 1) * 2 + 1]));
  uint8_t i;
  for (i = 3; i-- > 0; value /= 27) text[i] = (char)(value % 27 == 0 ? ' ' : '@' + value % 27);
}

void qvf_field_day_section_text(uint8_t place, char text[3]) {
  copy_entry(qvf_sections, place, text);
}

void qvf_rtty_exchange_text(uint8_t place, char text[3]) {
  if (place <= QVF_RTTY_NAMED) {
    copy_entry(qvf_rtty_named, place, text);
  } else {
    text[0] = 'X';
    text[1] = (char)('0' + (place - QVF_RTTY_NAMED) / 10);
    text[2] = (char)('0' + (place - QVF_RTTY_NAMED) % 10);
  }
}
