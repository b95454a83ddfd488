/* Small text and number helpers the 77-bit packing shares between its files (not for users). */
#ifndef QVF_TEXT_H
#define QVF_TEXT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define qvf_is_digit(c) ((c) >= '0' && (c) <= '9')
#define qvf_is_letter(c) ((c) >= 'A' && (c) <= 'Z')

/* The words the packing compares with, kept in flash one after the other: pass one of these
   offsets. */
#define QVF_DE 0
#define QVF_QRZ 3
#define QVF_CQ 7
#define QVF_CQ_ 10 /* "CQ_" */
#define QVF_TU 14  /* "TU;" */
#define QVF_R 18
#define QVF_RRR 20
#define QVF_RR73 24
#define QVF_RR73_ 29 /* "RR73;" */
#define QVF_73 35
#define QVF_DOTS 38 /* "..." */
#define QVF_QU1RK 42
#define QVF_SIGNS 48 /* "+-./?", the signs of free text in their order */

/* The length of the word when text starts with it, else 0. */
uint8_t qvf_starts(const char* text, uint8_t length, uint8_t word);
/* 1 when text is the word. */
uint8_t qvf_is(const char* text, uint8_t length, uint8_t word);
char qvf_word_char(uint8_t at);

/* The place of the first c in text, or length when there is none. */
uint8_t qvf_find(const char* text, uint8_t length, char c);

/* number = number * factor + addend, modulo 2^(8 * size), on a little-endian byte string; fill is
   the byte every higher byte of the addend holds (0, or 0xFF for a negative addend). */
void qvf_multiply_add(uint8_t* number, uint8_t size, uint8_t factor, uint8_t addend, uint8_t fill);

/* The low 4 bytes of such a byte string as a number. */
uint32_t qvf_read32(const uint8_t* number);

/* "FN42": two letters A-R, two digits; its value is below QVF_LOCATORS. The value of the locator
   text starts with (only its first 4 characters are read), or QVF_NOT_LOCATOR when it starts
   with none. (Here, apart from the message lists, so that FST4W links no lists for it.) */
#define QVF_LOCATORS 32400U
#define QVF_NOT_LOCATOR 0xFFFFU
uint16_t qvf_locator(const char* text, uint8_t length);

#ifdef __cplusplus
}
#endif

#endif
