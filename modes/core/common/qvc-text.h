/* Character classes and codes the message packers of every family read text with. Only ASCII
   capitals count as letters unless a packer says otherwise: lower case is a separate class. */
#ifndef QVC_TEXT_H
#define QVC_TEXT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

static inline uint8_t qvc_is_digit(char c) {
  return c >= '0' && c <= '9';
}

static inline uint8_t qvc_is_letter(char c) {
  return c >= 'A' && c <= 'Z';
}

static inline uint8_t qvc_is_lower(char c) {
  return c >= 'a' && c <= 'z';
}

static inline char qvc_upper(char c) {
  return qvc_is_lower(c) ? (char)(c - 'a' + 'A') : c;
}

/* The callsign code of c: digits 0-9, letters of either case 10-35, anything else the blank's
   36. */
static inline uint8_t qvc_call_code(char c) {
  if (qvc_is_digit(c)) return (uint8_t)(c - '0');
  /* Clearing bit 5 makes a-z capitals and moves nothing else into A-Z: one AND instead of a
     range test and a subtraction. */
  c = (char)(c & 0xDF);
  if (qvc_is_letter(c)) return (uint8_t)(c - 'A' + 10);
  return 36;
}

/* 1 when text starts with word, a NUL-terminated string in flash (QVC_FLASH). */
uint8_t qvc_starts_with(const char* text, const uint8_t* word);

/* The first length characters of from into width characters of to, blanks after them. */
void qvc_copy_padded(char* to, uint8_t width, const char* from, uint8_t length);

/* 1 when the length characters of text are all blanks. */
uint8_t qvc_all_blank(const char* text, uint8_t length);

#ifdef __cplusplus
}
#endif

#endif
