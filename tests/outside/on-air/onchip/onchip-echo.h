/* A stand-in mode for proving the on-chip harness itself: its "symbols" are the message's bytes and
   its tones those plus one; an empty message is refused. Nothing here is a real encoder. */
#ifndef ONCHIP_ECHO_H
#define ONCHIP_ECHO_H

#include <stdint.h>

#include "modes/core/common/qvc-status.h"

void onchip_echo_encode(const char* text, uint8_t* symbols, uint8_t* tones, qvc_report* report);

#endif
