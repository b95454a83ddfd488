/* ARRL Field Day sections and RTTY Roundup exchanges in the order their numbers are sent, kept in
   flash as 3-character entries, and the 4-character locator field. */
#include "modes/core/ft/qvf-message77-tables.h"

#include "modes/core/common/qvc-flash.h"
#include "modes/core/ft/qvf-text.h"

/* Blank-padded entries, 3 characters each. The RTTY exchanges continue after these 72 names with
   X01 to X99, places 73 to 171, which need no table. */
static const char kSections[] QVC_FLASH =
    "AB AK AL AR AZ BC CO CT DE EB "
    "EMAENYEPAEWAGA GH IA ID IL IN "
    "KS KY LA LAXNS MB MDCME MI MN "
    "MO MS MT NC ND NE NFLNH NL NLI"
    "NM NNJNNYTERNTXNV OH OK ONEONN"
    "ONSOR ORGPACPR QC RI SB SC SCV"
    "SD SDGSF SFLSJVSK SNJSTXSV TN "
    "UT VA VI VT WCFWI WMAWNYWPAWTX"
    "WV WWAWY DX PE NB ";
static const char kRttyNamed[] QVC_FLASH =
    "AL AK AZ AR CA CO CT DE FL GA "
    "HI ID IL IN IA KS KY LA ME MD "
    "MA MI MN MS MO MT NE NV NH NJ "
    "NM NY NC ND OH OK OR PA RI SC "
    "SD TN TX UT VT VA WA WV WI WY "
    "NB NS QC ON MB SK AB BC NWTNF "
    "LB NU YT PEIDC DR FR GD GR OV "
    "ZH ZL ";

#define RTTY_NAMED 72

static uint8_t place_in(const char* list, uint8_t entries, const char* word, uint8_t length) {
  uint8_t place, i;
  if (length < 2 || length > 3) return 0;
  for (place = 0; place < entries; ++place) {
    for (i = 0; i < 3; ++i) {
      char want = i < length ? word[i] : ' ';
      if ((char)qvc_flash_byte(&list[place * 3 + i]) != want) break;
    }
    if (i == 3) return (uint8_t)(place + 1);
  }
  return 0;
}

uint8_t qvf_field_day_section(const char* word, uint8_t length) {
  return place_in(kSections, QVF_FIELD_DAY_SECTIONS, word, length);
}

uint8_t qvf_rtty_exchange(const char* word, uint8_t length) {
  if (length == 3 && word[0] == 'X' && qvf_is_digit(word[1]) && qvf_is_digit(word[2])) {
    uint8_t number = (uint8_t)((word[1] - '0') * 10 + (word[2] - '0'));
    return number == 0 ? 0 : (uint8_t)(RTTY_NAMED + number);
  }
  return place_in(kRttyNamed, RTTY_NAMED, word, length);
}

static void copy_entry(const char* list, uint8_t place, char text[3]) {
  uint8_t i;
  for (i = 0; i < 3; ++i) text[i] = (char)qvc_flash_byte(&list[(place - 1) * 3 + i]);
}

void qvf_field_day_section_text(uint8_t place, char text[3]) {
  copy_entry(kSections, place, text);
}

void qvf_rtty_exchange_text(uint8_t place, char text[3]) {
  if (place <= RTTY_NAMED) {
    copy_entry(kRttyNamed, place, text);
  } else {
    text[0] = 'X';
    text[1] = (char)('0' + (place - RTTY_NAMED) / 10);
    text[2] = (char)('0' + (place - RTTY_NAMED) % 10);
  }
}

uint8_t qvf_is_locator(const char* text, uint8_t length) {
  return length >= 4 && text[0] >= 'A' && text[0] <= 'R' && text[1] >= 'A' && text[1] <= 'R' &&
         qvf_is_digit(text[2]) && qvf_is_digit(text[3]);
}

uint16_t qvf_locator_value(const char* text) {
  return (uint16_t)((text[0] - 'A') * 1800 + (text[1] - 'A') * 100 + (text[2] - '0') * 10 +
                    (text[3] - '0'));
}
