/* The WSPR sync bits, one under each coded bit of the 162 tones; the encoder in qvw-pack.c reads
   the table, the host one bit at a time. */
#include "qvw-wspr.h"

#include "../common/qvc-bits.h"
#include "../common/qvc-flash.h"

const uint8_t qvw_sync[21] QVC_FLASH = {0xC0, 0x8E, 0x25, 0xE0, 0x25, 0x02, 0xCD,
                                        0x1A, 0x1A, 0xA9, 0x2C, 0x6A, 0x20, 0x93,
                                        0xB3, 0x47, 0x05, 0x30, 0x1A, 0xC6, 0x00};

uint8_t qvw_sync_bit(uint8_t i) {
  return qvc_flash_bit(qvw_sync, i);
}
