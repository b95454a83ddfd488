/* The channel of WSPR and JT4: each coded bit sent as one of four tones, the data bit over a
   sync bit, tone = 2 * data + sync. */
#ifndef QVC_SYNC_TONES_H
#define QVC_SYNC_TONES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* count tones of packed coded bits over the packed sync bits in flash (each inverted when invert
   is 1); symbols (the coded bits, one a byte) may be NULL. */
void qvc_sync_tones(const uint8_t* coded, const uint8_t* sync, uint8_t invert, uint8_t count,
                    uint8_t* symbols, uint8_t* tones);

#ifdef __cplusplus
}
#endif

#endif
