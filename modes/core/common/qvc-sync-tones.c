/* Data over sync, a byte of each read per eight tones. */
#include "qvc-sync-tones.h"

#include "qvc-flash.h"

void qvc_sync_tones(const uint8_t* coded, const uint8_t* sync, uint8_t invert, uint8_t count,
                    uint8_t* symbols, uint8_t* tones) {
  uint8_t i, data = 0, marks = 0;
  for (i = 0; i < count; ++i) {
    uint8_t bit;
    if ((i & 7) == 0) {
      data = *coded++;
      marks = qvc_flash_byte(sync++);
      if (invert) marks = (uint8_t)~marks;
    }
    bit = (uint8_t)(data >> 7);
    if (symbols) symbols[i] = bit;
    tones[i] = (uint8_t)(2 * bit + (marks >> 7));
    data = (uint8_t)(data << 1);
    marks = (uint8_t)(marks << 1);
  }
}
