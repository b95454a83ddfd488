/* Normalising the text of a JT message, the OOO flag and the shorthand messages, as inline
   functions: JT9 and JT4 reach them through qvj_prepare only (qvj-prepare.c), which then pays
   no prologue for each; JT65 and the host call them through qvj-text.c. */
#ifndef QVJ_TEXT_H
#define QVJ_TEXT_H

#include <stdint.h>

#include "../common/qvc-flash.h"
#include "../common/qvc-text.h"
#include "qvj-field3.h"
#include "qvj-message.h"

/* qvj_normalise (qvj-message.h). */
static inline void qvj_normalise_inline(const char* text, char message[QVJ_MESSAGE_LENGTH],
                                        uint32_t* changes) {
  uint8_t length = 0, out = 0, cut = 0;
  char last = '\0'; /* the last character kept; not a blank at the start */
  const char* c;
  /* One pass over the whole text: its first 22 characters copied with each run of blanks cut
     to one, and whether anything but blanks follows them. Blanks after the last other
     character need no special case: the one kept of them is followed by the padding. */
  for (c = text; *c != '\0'; ++c) {
    if (length < QVJ_MESSAGE_LENGTH) {
      ++length;
      if (*c != ' ' || last != ' ') message[out++] = last = qvc_upper(*c);
    } else if (*c != ' ') {
      cut = QVC_CHANGED_CUT;
    }
  }
  *changes |= cut;
  while (out < QVJ_MESSAGE_LENGTH) message[out++] = ' ';
}

static const uint8_t qvj_word_oo[] QVC_FLASH = " OO";
static const uint8_t qvj_word_ooo_flag[] QVC_FLASH = " OOO";

/* One past the last character that is not a blank; 22 for an all-blank message. */
static inline uint8_t qvj_end_of_text(const char message[QVJ_MESSAGE_LENGTH]) {
  uint8_t end = QVJ_MESSAGE_LENGTH;
  while (end > 0 && message[end - 1] == ' ') --end;
  return end == 0 ? QVJ_MESSAGE_LENGTH : end;
}

/* qvj_split_ooo (qvj-message.h). */
static inline uint8_t qvj_split_ooo_inline(char message[QVJ_MESSAGE_LENGTH]) {
  uint8_t keep = qvj_end_of_text(message);
  if (keep < 11) return 0;
  keep = (uint8_t)(keep - 4);
  if (qvc_starts_with(message + 19, qvj_word_oo)) {
    keep = 19;
  } else if (!qvc_starts_with(message + keep, qvj_word_ooo_flag)) {
    return 0;
  }
  while (keep < QVJ_MESSAGE_LENGTH) message[keep++] = ' ';
  return 1;
}

/* qvj_is_shorthand (qvj-message.h). With nothing after its first 3 characters, a message is
   RO, RRR or 73 when its first 4 are one of the third field's words for them, blanks after:
   one loop over a table the packer holds anyway, no words of its own. */
static inline uint8_t qvj_is_shorthand_inline(const char message[QVJ_MESSAGE_LENGTH]) {
  uint8_t i;
  if (qvj_end_of_text(message) > 3) return 0;
  for (i = QVJ_FIELD3_WORD_RO; i < 5; ++i)
    if (qvc_starts_with(message, &qvj_field3_words[5 * i])) return 1;
  return 0;
}

#endif
