/* Q65 in the encoder core: the 85 tones of a transmission from 77 packed message bits (the FT8
   family's packing): CRC-12, the (65,15) QRA code over GF(64) with its CRC symbols punctured, 22
   sync slots of tone 0 and 63 data slots of symbol + 1, so tones 0-64.
   Bit strings are bytes, first bit in the top bit of byte 0. The caller keys each tone for N
   samples at 12 kHz (qvq_samples_per_symbol), tone k at f0 + k * 2^s * 12000 / N Hz, s = 0-4 for
   submodes A-E, plain FSK without shaping. */
#ifndef QVQ_Q65_H
#define QVQ_Q65_H

#include <stdint.h>

#include "modes/core/common/qvc-status.h"

#ifdef __cplusplus
extern "C" {
#endif

#define QVQ_TONES 85
#define QVQ_DATA_SYMBOLS 63
#define QVQ_BITS 77
#define QVQ_BYTES 10

/* A standard message (type 1 or 2) whose last field is the locator RR73, as the 77-bit packer
   writes a final RR73, gets the RR73 code instead: both read as RR73, and receivers that match
   whole expected messages (as WSJT-X's do at weak signals) expect that one. Returns 1 when the
   bits changed. The reference encoder q65code leaves them; WSJT-X's transmitter changes them. */
uint8_t qvq_q65_prefer_rr73(uint8_t bits[QVQ_BYTES]);

/* The 85 tones of 77 message bits. */
void qvq_q65_tones(const uint8_t bits[QVQ_BYTES], uint8_t tones[QVQ_TONES]);

/* Text to tones in one call, as WSJT-X's transmitter sends it: the 77-bit packer (qvf_pack77,
   which fills bits and report), qvq_q65_prefer_rr73, then qvq_q65_tones; on a refusal the tones
   are untouched. */
qvc_status qvq_q65_encode(const char* text, uint8_t bits[QVQ_BYTES], uint8_t tones[QVQ_TONES],
                          qvc_report* report);

/* Samples a symbol at 12000 Hz for a period of 15, 30, 60, 120 or 300 s; 0 for any other. The
   first tone starts 0.5 s into a 15 or 30 s period and 1 s into the longer ones. */
uint32_t qvq_samples_per_symbol(uint16_t period_seconds);

#ifdef __cplusplus
}
#endif

#endif
