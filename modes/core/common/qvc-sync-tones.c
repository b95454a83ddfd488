/* Data over sync, a byte of each read per eight tones. */
#include "qvc-sync-tones.h"

#include "qvc-flash.h"

void qvc_sync_tones(const uint8_t* coded, const uint8_t* sync, uint8_t invert, uint8_t count,
                    uint8_t* symbols, uint8_t* tones) {
  /* invert becomes a mask of all ones or none, XORed into each sync byte as it is read: no
     branch in the loop. */
  uint8_t i, data = 0, marks = 0;
  invert = (uint8_t)-invert;
  for (i = 0; i < count; ++i) {
    if ((i & 7) == 0) {
      data = *coded++;
      marks = (uint8_t)(qvc_flash_byte(sync++) ^ invert);
    }
    if (symbols) *symbols++ = (uint8_t)(data >> 7);
    *tones++ = (uint8_t)(((data >> 6) & 2) | (marks >> 7));
    data = (uint8_t)(data << 1);
    marks = (uint8_t)(marks << 1);
  }
}
