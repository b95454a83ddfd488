/* JT9's and JT4's reading of a text as the host calls it: normalised, the OOO flag split off, the
   shorthand messages found. The work is in qvj-prepare.h; under sdcc that body is this function
   itself. */
#define QVJ_PREPARE_BODY

#include "qvj-prepare.h"

#ifndef __SDCC
uint8_t qvj_prepare(const char* text, uint8_t steps, qvj_message* message, qvc_report* report) {
  return qvj_prepare_inline(text, steps, message, report);
}
#endif
