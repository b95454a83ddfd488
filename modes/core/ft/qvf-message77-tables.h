/* The lists and small fields the 77-bit contest and standard messages share: ARRL Field Day
   sections, ARRL RTTY Roundup exchanges and 4-character locators (not for users). */
#ifndef QVF_MESSAGE77_TABLES_H
#define QVF_MESSAGE77_TABLES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QVF_FIELD_DAY_SECTIONS 86
#define QVF_RTTY_EXCHANGES 171
/* "FN42": two letters A-R, two digits; its value is below QVF_LOCATORS. */
#define QVF_LOCATORS 32400U

/* The lists, 2 bytes an entry (see qvf-message77-tables.c); the RTTY exchanges continue after
   the named ones with X01 to X99. */
#define QVF_RTTY_NAMED 72
extern const uint8_t qvf_sections[];
extern const uint8_t qvf_rtty_named[];

/* 1-based place of a word in a list, 0 when it is not there. */
uint8_t qvf_field_day_section(const char* word, uint8_t length);
uint8_t qvf_rtty_exchange(const char* word, uint8_t length);

/* The text of a 1-based place (3 characters, blank-padded); for the host's decoder. */
void qvf_field_day_section_text(uint8_t place, char text[3]);
void qvf_rtty_exchange_text(uint8_t place, char text[3]);

/* The value of the locator text starts with (only its first 4 characters are read), or
   QVF_NOT_LOCATOR when it starts with none. */
#define QVF_NOT_LOCATOR 0xFFFFU
uint16_t qvf_locator(const char* text, uint8_t length);

#ifdef __cplusplus
}
#endif

#endif
