/* Reading the third field: locators, signal reports and RO, RRR, 73. Values from 32400 up are
   the non-locator words; reports from -50 to +49 outside -01 ... -30 go as the locators
   KA00-KA99, "R" reports as LA00-LA99, which no station uses. An inline function, since its
   one caller on the chip, the packer, then pays no prologue for it; qvj_pack_field3
   (qvj-pack.h) gives it to the host. */
#ifndef QVJ_FIELD3_H
#define QVJ_FIELD3_H

#include <stdint.h>

#include "../common/qvc-flash.h"
#include "../common/qvc-list-number.h"
#include "../common/qvc-locator.h"
#include "../common/qvc-text.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The OOO flag alone, which only the packer reads as a blank field (first 0), a blank field, then
   RO, RRR and 73 filling the field, whose values follow each other in this order: 5 bytes each,
   so one loop steps through them without looking for the NUL between them. The last three are
   also the shorthand messages (qvj-text.h). In qvj-field3.c. */
#define QVJ_FIELD3_WORD_RO 2
extern const uint8_t qvj_field3_words[25] QVC_FLASH;

/* The value of field into *value, 1; 0 when the field is none of the third field's forms. The
   words are looked for from entry first of qvj_field3_words on. */
static inline uint8_t qvj_field3_value(const char field[4], uint8_t first, uint16_t* value) {
  /* Anything outside 1-30 before a report's read, which may keep it; 99, no extended report,
     before the other reads. */
  int32_t number = 0;
  uint8_t read, sign, i;
  uint16_t v = QVC_BLANK_FIELD;
  /* No word starts with "-" or "R-", so these come first. */
  for (i = first; i < 5; ++i) {
    if (qvc_starts_with(field, &qvj_field3_words[5 * i])) {
      if (i >= QVJ_FIELD3_WORD_RO) v = (uint16_t)(QVC_LOCATOR_COUNT + 60 + i);
      goto done;
    }
  }
  /* -01 ... -30 and R-01 ... R-30 from the two characters after the "-": a read that finds
     nothing refuses the field, a number outside 1-30 goes on as an extended report. */
  sign = field[0] == '-' ? 1 : (field[0] == 'R' && field[1] == '-') ? 2 : 0;
  if (sign) {
    *value = 0; /* what a refused report leaves */
    read = qvc_read_list_number(field + sign, 2, &number);
    if (read >= QVC_LIST_END) return 0; /* QVC_LIST_END or QVC_LIST_ERROR */
    /* Four characters hold no number beyond -999 ... 9999: 16 bits compare it. */
    if ((uint16_t)((int16_t)number - 1) < 30) {
      v = (uint16_t)(QVC_BLANK_FIELD + (sign == 1 ? 0 : 30) + (uint8_t)number);
      goto done;
    }
  }
  number = 99;

  /* Extended reports: the whole field, or failing that the field after its first character. */
  read = qvc_read_list_number(field, 4, &number);
  if (read >= QVC_LIST_END) qvc_read_list_number(field + 1, 3, &number);
  if ((uint16_t)((int16_t)number + 50) < 100) {
    /* The value of the locator KA or LA and the two digits of number + 50, worked out here
       rather than spelt and read: the longitude index is 179 - 10 * (K or L) - the first digit,
       the latitude index the second digit (A adds nothing). */
    uint8_t shifted = (uint8_t)(number + 50);
    v = field[0] == 'R' ? 69 * 180 : 79 * 180;
    for (; shifted >= 10; shifted = (uint8_t)(shifted - 10)) v = (uint16_t)(v - 180);
    v = (uint16_t)(v + shifted);
  } else {
    if (!qvc_is_locator(field)) return 0;
    v = qvc_locator_value(field);
  }
done:
  *value = v;
  return 1;
}

#ifdef __cplusplus
}
#endif

#endif
