/* The WSPR power level nearest a typed power, and whether it moved. A static inline function with
   two callers, each the only one in its file (the packer and the host's qvw_round_power): on the
   chip it joins the packer's body, and the flag saves comparing the level with the 32-bit typed
   power again. */
#ifndef QVW_POWER_LEVEL_H
#define QVW_POWER_LEVEL_H

#include <stdint.h>

#include "../common/qvc-flash.h"

static const int8_t qvw_power_correction[10] QVC_FLASH = {0, -1, 1, 0, -1, 2, 1, 0, -1, 1};

/* Clamped to 0-60, then moved to the nearest level ending in 0, 3 or 7; *moved is 1 when the
   level differs from dbm: out of range (the clamped ends in 0, so it has no move of its own), or
   a last digit the table moves. */
static inline uint8_t qvw_power_level(int32_t dbm, uint8_t* moved) {
  uint8_t level = (uint8_t)dbm, last;
  int8_t step;
  *moved = 0;
  if ((uint32_t)dbm > 60) { /* below 0 or above 60 in one unsigned comparison */
    level = dbm < 0 ? 0 : 60;
    *moved = 1;
  }
  for (last = level; last >= 10;) last = (uint8_t)(last - 10); /* the last digit, no divide */
  step = (int8_t)qvc_flash_byte(&qvw_power_correction[last]);
  if (step != 0) *moved = 1;
  return (uint8_t)(level + step);
}

#endif
