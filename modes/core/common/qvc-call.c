/* Callsign packing, with the substitutions for the prefixes that do not fit six positions:
   "3DA0" (Swaziland) goes as "3D0", "3X" + letter (Guinea) as "Q" + letter. */
#include "qvc-call.h"

#include "qvc-bits.h"
#include "qvc-flash.h"
#include "qvc-text.h"

/* The words a call field may start with, one after another and ended by an empty one: CQ
   first, QRZ second, DE third. The JT rules take all three ahead of more; the WSPR rules take
   only CQ and QRZ, and only alone. */
#define QVC_CALL_WORD_DE 3
static const uint8_t qvc_call_words[] QVC_FLASH = "CQ \0QRZ \0DE \0";

/* For each of the six positions, the lowest and highest callsign code (qvc_call_code) it takes:
   letter-or-digit-or-blank, letter-or-digit, digit, then letter-or-blank three times. A
   position's radix is their distance plus one and its value the code less the lowest, so one
   pair of bytes says all a position needs. */
static const uint8_t qvc_call_codes[12] QVC_FLASH = {0, 36, 0, 35, 0, 9, 10, 36, 10, 36, 10, 36};

uint8_t qvc_pack_call(const char* field, uint8_t length, uint8_t rules, uint32_t* value) {
  char call[6];
  uint8_t i, w, drop = 6, found = 0;
  uint32_t v = 0;
  const uint8_t* word = qvc_call_words;
  qvc_copy_padded(call, 6, field, length);
  /* "3DA0" goes as "3D0", "3X" + letter as "Q" + letter: one character dropped. */
  if (call[0] == '3') {
    /* The leading "3" is tested once for both, the rest by plain compares. */
    if (call[1] == 'D' && call[2] == 'A' && call[3] == '0') {
      drop = 2;
    } else if (rules == QVC_CALL_RULES_JT && call[1] == 'X' && qvc_is_letter(call[2])) {
      call[1] = 'Q';
      drop = 0;
    }
  }
  if (drop < 6) {
    char* at;
    for (at = call + drop; at < call + 5; ++at) at[0] = at[1];
    call[5] = ' ';
  }
  /* Only the word's number is kept in the loop; its value is worked out once after it, so the
     32-bit constants appear once. At most one word matches. */
  for (w = 1; qvc_flash_byte(word) != 0; ++w) {
    if (qvc_starts_with(call, word)) found = w;
    while (qvc_flash_byte(word++) != 0) {
    }
  }
  /* The WSPR rules' words fill the field: blanks after CQ or QRZ (whose word holds the first),
     and no DE. One table serves both rules. */
  if (rules == QVC_CALL_RULES_WSPR &&
      (found == QVC_CALL_WORD_DE || call[3] != ' ' || call[4] != ' ' || call[5] != ' '))
    found = 0;
  if (found != 0) {
    /* CQ, then QRZ, for either rules: the word's number is its value's distance from the base.
       A WSPR CQ is followed by blanks, never by digits. */
    uint16_t n = found;
    if (found == 1) {
      /* "CQ nnn": three digits. */
      uint16_t frequency = 0;
      for (i = 3; i < 6 && qvc_is_digit(call[i]); ++i)
        frequency = (uint16_t)(10 * frequency + (uint8_t)(call[i] - '0'));
      if (i == 6) n = (uint16_t)(QVC_CALL_CQ_FREQUENCY - QVC_CALL_BASE + frequency);
    }
    *value = found == QVC_CALL_WORD_DE ? QVC_CALL_DE : QVC_CALL_BASE + n;
    return 1;
  }

  /* The digit of a callsign must land in the third position. */
  if (!qvc_is_digit(call[2])) {
    if (!qvc_is_digit(call[1]) || call[5] != ' ') return 0;
    char* at;
    for (at = call + 5; at > call; --at) at[0] = at[-1];
    call[0] = ' ';
  }
  for (i = 0; i < 6; ++i) {
    char c = call[i];
    uint8_t code = qvc_call_code(c);
    uint8_t lowest = qvc_flash_byte(&qvc_call_codes[2 * i]);
    uint8_t highest = qvc_flash_byte(&qvc_call_codes[2 * i + 1]);
    /* Code 36 is the blank's, and anything else that is no letter or digit. */
    if (code < lowest || code > highest || (code == 36 && c != ' ')) return 0;
    v = qvc_multiply_add(v, (uint8_t)(highest - lowest + 1), (uint8_t)(code - lowest));
  }
  *value = v;
  return 1;
}
