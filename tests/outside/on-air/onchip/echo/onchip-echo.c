/* The harness's stand-in mode (see onchip-echo.h): copies, so that a test knows every byte the
   chip must write, and uses a little stack so the stack tracking has something to see. */
#include "onchip-echo.h"

#define ONCHIP_ECHO_LENGTH 8

void onchip_echo_encode(const char* text, uint8_t* symbols, uint8_t* tones, qvc_report* report) {
  uint8_t copy[ONCHIP_ECHO_LENGTH];
  uint8_t i;
  for (i = 0; i < ONCHIP_ECHO_LENGTH; ++i) copy[i] = 0;
  for (i = 0; i < ONCHIP_ECHO_LENGTH && text[i] != 0; ++i) copy[i] = (uint8_t)text[i];
  for (i = 0; i < ONCHIP_ECHO_LENGTH; ++i) {
    symbols[i] = copy[i];
    tones[i] = (uint8_t)(copy[i] + 1);
  }
  report->status = text[0] == 0 ? QVC_EMPTY_MESSAGE : QVC_OK;
  report->word_start = 0;
  report->word_length = 0;
  report->changes = 0;
}
