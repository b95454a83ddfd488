/* JT9's and JT4's reading of a text: normalised, the OOO flag split off, the shorthand messages
   found, all inline in one function (qvj-text.h). */
#include "qvj-message.h"
#include "qvj-text.h"

uint8_t qvj_prepare(const char* text, uint8_t drop_leading_blank, qvj_message* message,
                    qvc_report* report) {
  uint8_t leading_blank;
  qvj_take_text(text, message, report);
  /* JT9 looks for the shorthand messages before it drops the leading blank; a text that starts
     with a blank is none of them, so they are looked for once, after the OOO flag is split
     off. */
  leading_blank = message->text[0] == ' ';
  if (drop_leading_blank && leading_blank) qvj_drop_leading_blank(message->text);
  return qvj_find_shorthand(message, leading_blank);
}
