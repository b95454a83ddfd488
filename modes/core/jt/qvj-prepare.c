/* JT9's and JT4's reading of a text: normalised, the OOO flag split off, the shorthand messages
   found, all inline in one function (qvj-text.h). */
#include <string.h>

#include "qvj-message.h"
#include "qvj-text.h"

uint8_t qvj_prepare(const char* text, uint8_t drop_leading_blank, qvj_message* message,
                    qvc_report* report) {
  char* m = message->text;
  uint8_t shorthand, leading_blank;
  memset(report, 0, sizeof *report);
  qvj_normalise_inline(text, m, &report->changes);
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
  message->ooo = qvj_split_ooo_inline(m);
  shorthand = !leading_blank && qvj_is_shorthand_inline(m);
  message->type = shorthand ? QVJ_TYPE_SHORTHAND : QVJ_TYPE_STANDARD;
  memset(message->source, 0, sizeof message->source);
  return shorthand;
}
