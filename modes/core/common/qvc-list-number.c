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
  uint8_t at = 0, stage, negative = 0, signed_number, start;
  uint32_t number = 0;
  char c;
  while (at < length && text[at] == ' ') ++at;
  if (at == length) return QVC_LIST_END;
  /* Stage 0 reads the count or the number, stage 1 the number after a count; stage 2 only comes
     back to the top to look at what followed the number, so one test of the ends serves both
     the item that is missing and the item that is complete. */
  for (stage = 0;; ++stage) {
    c = qvc_list_char(text, length, at);
    if (qvc_ends_item(c)) {
      if (stage < 2) return QVC_LIST_NOTHING;
      break;
    }
    if (stage == 2) return QVC_LIST_ERROR;
    negative = c == '-';
    signed_number = negative || c == '+';
    at = (uint8_t)(at + signed_number);
    /* Digits, up to 2^31. Below 2^28, ten times the number plus a digit still fits 32 bits, so
       the number is exact until it has passed 2^31 for good (it never shrinks): checking the
       top byte per digit and the whole once after them is enough. */
    number = 0;
    for (start = at; qvc_is_digit(c = qvc_list_char(text, length, at)); ++at) {
      if ((uint8_t)(number >> 24) >= 0x10) return QVC_LIST_ERROR;
      number = qvc_multiply_add(number, 10, (uint8_t)(c - '0'));
    }
    if (at == start || number > 0x80000000UL) return QVC_LIST_ERROR;
    if (c == '*' && stage == 0) {
      /* A repeat count: unsigned and not zero; the number itself follows, or nothing does. */
      if (signed_number || number == 0) return QVC_LIST_ERROR;
      ++at;
    } else {
      stage = 1; /* the loop's step makes it 2: what follows the number is looked at next */
    }
  }
  if (!negative && number > 2147483647UL) return QVC_LIST_ERROR;
  /* Negated in unsigned arithmetic; 2^31 becomes -2^31 through the two's-complement conversion
     that every compiler of the core (gcc, avr-gcc, arm-none-eabi-gcc, sdcc) defines. */
  if (negative) number = 0 - number;
  *value = (int32_t)number;
  return QVC_LIST_VALUE;
}
