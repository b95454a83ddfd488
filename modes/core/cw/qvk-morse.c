/* Morse keying: the code table and the walk over a text that turns it into durations.
   Each code is one byte: a leading 1 bit, then the elements from the first, 1 for a dash and 0 for
   a dot ("A" .- is binary 101), so a table entry needs no separate length. */
#include "modes/core/cw/qvk-morse.h"

#include "modes/core/common/qvc-flash.h"

/* Codes for '!' (33) up to 'Z' (90); 0 where a character has none. */
#define QVK_FIRST_CODE 33
#define QVK_LAST_CODE 90

static const uint8_t QVK_CODES[] QVC_FLASH = {
    107, 82,  0,   137, 0,  40, 94, 54, 109, 0,  42, 115, /* ! " # $ % & ' ( ) * + , */
    97,  85,  50,  63,  47, 39, 35, 33, 32,  48, 56, 60,  /* - . / 0 1 2 3 4 5 6 7 8 */
    62,  120, 106, 0,   49, 0,  76, 90, 5,   24, 26, 12,  /* 9 : ; < = > ? @ A B C D */
    2,   18,  14,  16,  4,  23, 13, 20, 7,   6,  15, 22,  /* E F G H I J K L M N O P */
    29,  10,  8,   3,   9,  17, 11, 25, 27,  28,          /* Q R S T U V W X Y Z */
};

uint8_t qvk_morse_code(char c) {
  if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
  if (c < QVK_FIRST_CODE || c > QVK_LAST_CODE) return 0;
  return qvc_flash_byte(&QVK_CODES[c - QVK_FIRST_CODE]);
}

static void qvk_note_outside(qvc_report* report, size_t at) {
  if ((report->changes & QVC_CHANGED_OUTSIDE_ALPHABET) == 0) {
    report->word_start = at > 255 ? 255 : (uint8_t)at;
    report->word_length = 1;
  }
  report->changes |= QVC_CHANGED_OUTSIDE_ALPHABET;
}

size_t qvk_morse_keying(const char* text, uint8_t* durations, size_t capacity, qvc_report* report) {
  size_t count = 0;
  size_t at;
  uint8_t gap = 0; /* the key-up owed before the next element: 0 at the start */
  report->status = QVC_OK;
  report->word_start = 0;
  report->word_length = 0;
  report->changes = 0;
  for (at = 0; text[at] != '\0'; ++at) {
    uint8_t code;
    uint8_t top;
    char c = text[at];
    if (c == ' ' || c == '\t') {
      if (gap != 0) gap = QVK_WORD_GAP;
      continue;
    }
    code = qvk_morse_code(c);
    if (code == 0) {
      qvk_note_outside(report, at);
      continue;
    }
    for (top = 0x80; (code & top) == 0; top >>= 1) {
    }
    for (top >>= 1; top != 0; top >>= 1) {
      if (count + 2 > capacity) {
        report->status = QVK_BUFFER_TOO_SMALL;
        return 0;
      }
      if (gap != 0) durations[count++] = gap;
      durations[count++] = (code & top) ? QVK_DASH : QVK_DOT;
      gap = QVK_ELEMENT_GAP;
    }
    gap = QVK_LETTER_GAP;
  }
  if (count == 0) report->status = QVC_EMPTY_MESSAGE;
  return count;
}

uint16_t qvk_dot_milliseconds(uint8_t wpm) {
  return wpm == 0 ? 0 : (uint16_t)(1200U / wpm);
}

uint32_t qvk_keying_units(const uint8_t* durations, size_t count) {
  uint32_t units = 0;
  size_t i;
  for (i = 0; i < count; ++i) units += durations[i];
  return units;
}
