/* The list-directed READ of one whole number: blanks, then an optional repeat count "r*", then
   an optional sign and digits, ended by a blank, ",", ";", "/" or the end of the text. The
   count and the number are read by the same loop, the count on its first pass. */
#include "qvc-list-number.h"

#include "qvc-bits.h"
#include "qvc-text.h"

/* Past the end of the text every character reads as a blank. */
static char qvc_list_char(const char* text, uint8_t length, uint8_t at) {
  return at < length ? text[at] : ' ';
}

/* A blank, ",", ";" or "/" ends a value; past the blanks that lead, all but the blank end it
   with no value. */
static uint8_t qvc_ends_item(char c) {
  return c == ' ' || c == ',' || c == ';' || c == '/';
}

uint8_t qvc_read_list_number(const char* text, uint8_t length, int32_t* value) {
  uint8_t at = 0, pass, negative, signed_number, start;
  uint32_t number;
  char c;
  while (at < length && text[at] == ' ') ++at;
  if (at == length) return QVC_LIST_END;
  /* The first pass reads the count or the number, a second the number after a count. */
  for (pass = 0;; ++pass) {
    c = qvc_list_char(text, length, at);
    if (qvc_ends_item(c)) return QVC_LIST_NOTHING;
    negative = c == '-';
    signed_number = negative || c == '+';
    at = (uint8_t)(at + signed_number);
    /* Digits, up to 2^31. Below 2^28, ten times the number plus a digit still fits 32 bits, so
       the number is exact until it has passed 2^31 for good (it never shrinks): checking the
       top byte per digit and the whole once after them is enough. */
    number = 0;
    for (start = at; qvc_is_digit(c = qvc_list_char(text, length, at)); ++at) {
      if (number >= 0x10000000UL) return QVC_LIST_ERROR;
      number = qvc_multiply_add(number, 10, (uint8_t)(c - '0'));
    }
    if (at == start || number > 0x80000000UL) return QVC_LIST_ERROR;
    if (c != '*' || pass > 0) break;
    /* A repeat count: unsigned and not zero; the number itself follows, or nothing does. */
    if (signed_number || number == 0) return QVC_LIST_ERROR;
    ++at;
  }
  if (!qvc_ends_item(c)) return QVC_LIST_ERROR;
  if (!negative && number > 2147483647UL) return QVC_LIST_ERROR;
  *value = (negative && number != 0) ? -(int32_t)(number - 1) - 1 : (int32_t)number;
  return QVC_LIST_VALUE;
}
