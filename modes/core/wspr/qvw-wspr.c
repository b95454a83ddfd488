/* WSPR from the packed message to tones: the convolutional code, the interleaver, and each
   coded bit over its sync bit. */
#include "qvw-wspr.h"

#include "../common/qvc-bits.h"
#include "../common/qvc-convolutional.h"
#include "../common/qvc-flash.h"

static const uint8_t qvw_sync[21] QVC_FLASH = {0xC0, 0x8E, 0x25, 0xE0, 0x25, 0x02, 0xCD,
                                               0x1A, 0x1A, 0xA9, 0x2C, 0x6A, 0x20, 0x93,
                                               0xB3, 0x47, 0x05, 0x30, 0x1A, 0xC6, 0x00};

uint8_t qvw_sync_bit(uint8_t i) {
  return qvc_flash_bit(qvw_sync, i);
}

void qvw_wspr_encode(const char* text, qvw_message* message, uint8_t* symbols,
                     uint8_t tones[QVW_SYMBOLS], qvc_report* report) {
  uint8_t coded[21], i, data = 0, marks = 0;
  qvw_pack(text, message, report);
  if (report->status != QVC_OK) return;
  qvc_code_and_interleave(message->source, 50, coded);
  /* A byte of coded bits and of sync bits read per eight tones, each shifted out at the top. */
  for (i = 0; i < QVW_SYMBOLS; ++i) {
    if ((i & 7) == 0) {
      data = coded[i >> 3];
      marks = qvc_flash_byte(&qvw_sync[i >> 3]);
    }
    if (symbols) symbols[i] = data >> 7;
    tones[i] = (uint8_t)(((data >> 6) & 2) | (marks >> 7));
    data = (uint8_t)(data << 1);
    marks = (uint8_t)(marks << 1);
  }
}
