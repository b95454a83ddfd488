/* The lists the 77-bit contest messages share: ARRL Field Day sections and ARRL RTTY Roundup
   exchanges (not for users). */
#ifndef QVF_MESSAGE77_TABLES_H
#define QVF_MESSAGE77_TABLES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QVF_FIELD_DAY_SECTIONS 86
#define QVF_RTTY_EXCHANGES 171
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

#ifdef __cplusplus
}
#endif

#endif
