/* JT9's and JT4's reading of a text (normalised, the OOO flag split off, the shorthand messages
   found) as one inline function, taken into each encoder with constant steps so that a mode keeps
   only its own and pays no prologue for them; the host calls it as qvj_prepare (qvj-prepare.c).
   sdcc builds every inline function of each file that includes a header and keeps a slot of the
   8051's small internal RAM for each temporary of each function: the merged JT4 encoder would not
   fit there. So under sdcc the body is qvj_prepare itself, built in qvj-prepare.c alone
   (QVJ_PREPARE_BODY), and the encoders call it. */
#ifndef QVJ_PREPARE_H
#define QVJ_PREPARE_H

#include <stdint.h>

#include "../common/qvc-status.h"
#include "qvj-message.h"

#ifdef __SDCC
#define qvj_prepare_inline qvj_prepare
#endif

#if !defined(__SDCC) || defined(QVJ_PREPARE_BODY)
#include <string.h>

#include "qvj-text.h"

#ifdef __SDCC
#define QVJ_PREPARE_STORAGE
#else
#define QVJ_PREPARE_STORAGE static inline
#endif

/* qvj_prepare (qvj-message.h). */
QVJ_PREPARE_STORAGE uint8_t qvj_prepare_inline(const char* text, uint8_t steps,
                                               qvj_message* message, qvc_report* report) {
  char* m = message->text;
  uint8_t shorthand, leading_blank;
  memset(report, 0, sizeof *report);
  qvj_normalise_inline(text, m, &report->changes);
  m[QVJ_MESSAGE_LENGTH] = '\0';
  /* JT9 looks for the shorthand messages before it drops the leading blank (normalising leaves
     at most one); a text that starts with a blank is none of them, so they are looked for once,
     after the OOO flag is split off. */
  leading_blank = m[0] == ' ';
  if ((steps & QVJ_PREPARE_DROP_BLANK) && leading_blank) {
    uint8_t i;
    for (i = 0; i < QVJ_MESSAGE_LENGTH - 1; ++i) m[i] = m[i + 1];
    m[QVJ_MESSAGE_LENGTH - 1] = ' ';
  }
  message->ooo = qvj_split_ooo_inline(m);
  /* The highest step is a comparison: gcc then drops JT4's search before it decides what to
     inline, 12 bytes less on the AVR than a bit test. */
  shorthand = 0;
  if (steps < QVJ_PREPARE_NO_SHORTHAND && !leading_blank) shorthand = qvj_is_shorthand_inline(m);
  message->type = shorthand ? QVJ_TYPE_SHORTHAND : QVJ_TYPE_STANDARD;
  memset(message->source, 0, sizeof message->source);
  return shorthand;
}
#endif

#endif
