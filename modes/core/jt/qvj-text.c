/* Normalising the text of a JT message, the OOO flag and the shorthand messages. */
#include <string.h>

#include "../common/qvc-flash.h"
#include "../common/qvc-text.h"
#include "qvj-message.h"

void qvj_normalise(const char* text, char message[QVJ_MESSAGE_LENGTH], uint32_t* changes) {
  uint8_t length = 0, out = 0, cut = 0;
  const char* c;
  /* One pass over the whole text: its first 22 characters copied with each run of blanks cut
     to one, and whether anything but blanks follows them. Blanks after the last other
     character need no special case: the one kept of them is followed by the padding. */
  for (c = text; *c != '\0'; ++c) {
    if (length < QVJ_MESSAGE_LENGTH) {
      ++length;
      if (!(*c == ' ' && out > 0 && message[out - 1] == ' ')) message[out++] = qvc_upper(*c);
    } else if (*c != ' ') {
      cut = QVC_CHANGED_CUT;
    }
  }
  *changes |= cut;
  while (out < QVJ_MESSAGE_LENGTH) message[out++] = ' ';
}

static const uint8_t qvj_word_oo[] QVC_FLASH = " OO";
static const uint8_t qvj_word_ooo_flag[] QVC_FLASH = " OOO";
static const uint8_t qvj_word_ro[] QVC_FLASH = "RO";
static const uint8_t qvj_word_73[] QVC_FLASH = "73";
static const uint8_t qvj_word_rrr[] QVC_FLASH = "RRR";

/* One past the last character that is not a blank; 22 for an all-blank message. */
static uint8_t qvj_end_of_text(const char message[QVJ_MESSAGE_LENGTH]) {
  uint8_t end = QVJ_MESSAGE_LENGTH;
  while (end > 0 && message[end - 1] == ' ') --end;
  return end == 0 ? QVJ_MESSAGE_LENGTH : end;
}

uint8_t qvj_split_ooo(char message[QVJ_MESSAGE_LENGTH]) {
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

uint8_t qvj_is_shorthand(const char message[QVJ_MESSAGE_LENGTH]) {
  uint8_t end = qvj_end_of_text(message);
  if (end == 2)
    return qvc_starts_with(message, qvj_word_ro) || qvc_starts_with(message, qvj_word_73);
  return end == 3 && qvc_starts_with(message, qvj_word_rrr);
}

uint8_t qvj_prepare(const char* text, uint8_t drop_leading_blank, qvj_message* message,
                    qvc_report* report) {
  char* m = message->text;
  uint8_t shorthand, leading_blank;
  memset(report, 0, sizeof *report);
  qvj_normalise(text, m, &report->changes);
  m[QVJ_MESSAGE_LENGTH] = '\0';
  /* JT9 looks for the shorthand messages before it drops the leading blank (normalising leaves
     at most one); a text that starts with a blank is none of them, so they are looked for once,
     after the OOO flag is split off. */
  leading_blank = m[0] == ' ';
  if (drop_leading_blank && leading_blank) {
    uint8_t i;
    for (i = 0; i < QVJ_MESSAGE_LENGTH - 1; ++i) m[i] = m[i + 1];
    m[QVJ_MESSAGE_LENGTH - 1] = ' ';
  }
  message->ooo = qvj_split_ooo(m);
  shorthand = !leading_blank && qvj_is_shorthand(m);
  message->type = shorthand ? QVJ_TYPE_SHORTHAND : QVJ_TYPE_STANDARD;
  memset(message->source, 0, sizeof message->source);
  return shorthand;
}
