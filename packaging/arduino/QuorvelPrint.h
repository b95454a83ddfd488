// For the example sketches: prints an encoding over Serial (or any Print): the message, then its
// tones in lines of 20, or the status code when the message is refused.
#ifndef QUORVEL_PRINT_H
#define QUORVEL_PRINT_H

#include <Arduino.h>

#include "modes/core/common/qvc-status.h"

inline void quorvel_print_tones(Print& out, const char* message, const qvc_report& report,
                                const uint8_t* tones, uint16_t count) {
  out.print(message);
  if (report.status != QVC_OK) {
    out.print(": refused, status ");
    out.println(report.status);
    return;
  }
  out.print(": ");
  out.print(count);
  out.println(" tones");
  for (uint16_t i = 0; i < count; ++i) {
    out.print(tones[i]);
    out.print(i % 20 == 19 || i + 1 == count ? "\n" : " ");
  }
}

#endif
