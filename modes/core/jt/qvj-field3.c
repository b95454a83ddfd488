/* The third field: locators, signal reports and RO, RRR, 73. Values from 32400 up are the
   non-locator words; reports from -50 to +49 outside -01 ... -30 go as the locators KA00-KA99,
   "R" reports as LA00-LA99, which no station uses. */
#include "../common/qvc-flash.h"
#include "../common/qvc-list-number.h"
#include "../common/qvc-locator.h"
#include "../common/qvc-text.h"
#include "qvj-pack.h"

static const uint8_t qvj_word_ro[] QVC_FLASH = "RO  ";
static const uint8_t qvj_word_rrr[] QVC_FLASH = "RRR ";
static const uint8_t qvj_word_73[] QVC_FLASH = "73  ";

/* -01 ... -30 and R-01 ... R-30 from the two digits after the sign: 1 when decided (*value set,
   or the field refused when *value is 0). */
static uint8_t qvj_pack_short_report(const char digits[2], uint16_t offset, uint16_t* value) {
  int32_t number = 0;
  uint8_t read = qvc_read_list_number(digits, 2, &number);
  *value = 0;
  if (read == QVC_LIST_ERROR || read == QVC_LIST_END) return 1;
  if (number >= 1 && number <= 30) {
    *value = (uint16_t)(QVC_LOCATOR_COUNT + offset + (uint16_t)number);
    return 1;
  }
  return 0;
}

uint8_t qvj_pack_field3(const char field[4], uint16_t* value) {
  int32_t number;
  uint8_t whole;
  if (qvc_all_blank(field, 4)) return *value = QVC_BLANK_FIELD, 1;
  if (field[0] == '-') {
    if (qvj_pack_short_report(field + 1, 1, value)) return *value != 0;
  } else if (field[0] == 'R' && field[1] == '-') {
    if (qvj_pack_short_report(field + 2, 31, value)) return *value != 0;
  } else if (qvc_starts_with(field, qvj_word_ro)) {
    return *value = QVC_LOCATOR_COUNT + 62, 1;
  } else if (qvc_starts_with(field, qvj_word_rrr)) {
    return *value = QVC_LOCATOR_COUNT + 63, 1;
  } else if (qvc_starts_with(field, qvj_word_73)) {
    return *value = QVC_LOCATOR_COUNT + 64, 1;
  }

  /* Extended reports: the whole field, or failing that the field after its first character. */
  number = 99;
  whole = qvc_read_list_number(field, 4, &number);
  if (whole == QVC_LIST_ERROR || whole == QVC_LIST_END) qvc_read_list_number(field + 1, 3, &number);
  if (number >= -50 && number <= 49) {
    char locator[4];
    uint8_t shifted = (uint8_t)(number + 50);
    locator[0] = field[0] == 'R' ? 'L' : 'K';
    locator[1] = 'A';
    /* Its two digits, by subtraction: the chip then needs no divide routine. */
    for (locator[2] = '0'; shifted >= 10; shifted = (uint8_t)(shifted - 10)) ++locator[2];
    locator[3] = (char)('0' + shifted);
    return *value = qvc_locator_value(locator), 1;
  }
  if (!qvc_is_locator(field)) return 0;
  return *value = qvc_locator_value(field), 1;
}
