/* The list-directed READ of one whole number: blanks, then an optional repeat count "r*", then
   an optional sign and digits, ended by a blank, ",", ";", "/" or the end of the text. */
#include "qvc-list-number.h"

#include "qvc-text.h"

static uint8_t qvc_ends_item(const char* text, uint8_t length, uint8_t at) {
  return at >= length || text[at] == ' ' || text[at] == ',' || text[at] == ';' || text[at] == '/';
}

/* Digits from *at on, up to 2^31; 0 when there are none or too many to hold. */
static uint8_t qvc_read_digits(const char* text, uint8_t length, uint8_t* at, uint32_t* number) {
  uint8_t start = *at;
  *number = 0;
  while (*at < length && qvc_is_digit(text[*at])) {
    uint8_t digit = (uint8_t)(text[*at] - '0');
    if (*number > 214748364UL || (*number == 214748364UL && digit > 8)) return 0;
    *number = *number * 10 + digit;
    ++*at;
  }
  return *at > start;
}

static uint8_t qvc_read_sign(const char* text, uint8_t* at, uint8_t* negative) {
  if (text[*at] != '+' && text[*at] != '-') return 0;
  *negative = text[(*at)++] == '-';
  return 1;
}

uint8_t qvc_read_list_number(const char* text, uint8_t length, int32_t* value) {
  uint8_t at = 0;
  uint8_t negative = 0;
  uint8_t signed_number;
  uint32_t number;
  while (at < length && text[at] == ' ') ++at;
  if (at == length) return QVC_LIST_END;
  if (text[at] == ',' || text[at] == ';' || text[at] == '/') return QVC_LIST_NOTHING;

  signed_number = qvc_read_sign(text, &at, &negative);
  if (!qvc_read_digits(text, length, &at, &number)) return QVC_LIST_ERROR;
  if (at < length && text[at] == '*') {
    /* A repeat count: unsigned and not zero; the number itself follows, or nothing does. */
    if (signed_number || number == 0) return QVC_LIST_ERROR;
    ++at;
    if (qvc_ends_item(text, length, at)) return QVC_LIST_NOTHING;
    negative = 0;
    qvc_read_sign(text, &at, &negative);
    if (!qvc_read_digits(text, length, &at, &number)) return QVC_LIST_ERROR;
  }
  if (!qvc_ends_item(text, length, at)) return QVC_LIST_ERROR;
  if (!negative && number > 2147483647UL) return QVC_LIST_ERROR;
  *value = (negative && number != 0) ? -(int32_t)(number - 1) - 1 : (int32_t)number;
  return QVC_LIST_VALUE;
}
