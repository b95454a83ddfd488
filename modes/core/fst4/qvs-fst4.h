/* FST4 and FST4W in the encoder core: the 160 tones of a frame, from 77 packed message bits (FST4)
   or from the 50 bits of a WSPR-style beacon message (FST4W), and the FST4W text packer.
   Bit strings are bytes, first bit in the top bit of byte 0. Tones are 0-3; the caller keys them
   12000/N Hz apart, N samples at 12 kHz a symbol as its period has it (qvs_samples_per_symbol).
   Each entry lives in its own file, so a firmware that sends FST4W alone links neither the FST4
   code nor the 77-bit packer. */
#ifndef QVS_FST4_H
#define QVS_FST4_H

#include <stdint.h>

#include "modes/core/common/qvc-status.h"

#ifdef __cplusplus
extern "C" {
#endif

#define QVS_TONES 160      /* tones of every frame, sync included */
#define QVS_DATA_TONES 120 /* of them carrying the codeword */
#define QVS_FST4W_BITS 50  /* the FST4W message */
#define QVS_FST4W_BYTES 7
#define QVS_FST4_BITS 77 /* the 77-bit message of FST4 */
#define QVS_FST4_BYTES 10

/* Refusals of FST4W texts (the family's range is 128-143). */
#define QVS_NOT_FST4W 128   /* none of "CALL GRID P", "PFX/CALL P" or "CALL/SFX P", "<CALL> GRID" */
#define QVS_BAD_CALL 129    /* a call with characters no call field holds */
#define QVS_BAD_AFFIX 130   /* a prefix or suffix FST4W cannot send (4 characters or more) */
#define QVS_BAD_POWER 131   /* a power that is not one or two digits */
#define QVS_BAD_LOCATOR 132 /* a locator that is not AA00-RR99, or AA00AA-RR99XX */

/* Changes an FST4W message may undergo (bits of qvc_report.changes). */
#define QVS_CHANGED_CALL_HASHED (1UL << 28) /* a call that is not standard went out as its hash */
#define QVS_CHANGED_POWER (1UL << 29)       /* the power went out rounded to the nearest of 19 */

/* The three FST4W message forms, as the packer reports them. */
#define QVS_FST4W_CALL_GRID_POWER 1
#define QVS_FST4W_COMPOUND_POWER 2
#define QVS_FST4W_HASH_GRID 3

/* Packs an FST4W text (NUL-terminated) into its 50 bits; on success `form` (may be NULL) gets the
   message form. Returns the status, also written to report (may be NULL). */
qvc_status qvs_fst4w_pack(const char* text, uint8_t bits[QVS_FST4W_BYTES], uint8_t* form,
                          qvc_report* report);

/* The frame of 50 FST4W bits: CRC-24, LDPC (240,74), Gray-mapped tones between the sync words. */
void qvs_fst4w_tones(const uint8_t bits[QVS_FST4W_BYTES], uint8_t tones[QVS_TONES]);

/* Text to tones in one call: qvs_fst4w_pack, then qvs_fst4w_tones. */
qvc_status qvs_fst4w_encode(const char* text, uint8_t tones[QVS_TONES], qvc_report* report);

/* The frame of 77 FST4 message bits: scrambled, CRC-24, LDPC (240,101), tones between the sync
   words. A message of type 0.6 (WSPR-style) goes out as the FST4W frame of its first 50 bits, as
   the reference transmitter sends it. */
void qvs_fst4_tones(const uint8_t bits[QVS_FST4_BYTES], uint8_t tones[QVS_TONES]);

/* Text to tones in one call: the 77-bit packer (qvf_pack77, which fills bits and report), then
   qvs_fst4_tones; on a refusal the tones are untouched. */
qvc_status qvs_fst4_encode(const char* text, uint8_t bits[QVS_FST4_BYTES], uint8_t tones[QVS_TONES],
                           qvc_report* report);

/* Samples a symbol at 12000 Hz for a period of 15, 30, 60, 120, 300, 900 or 1800 s; 0 for any
   other period. The tone spacing is 12000 / N Hz. */
uint32_t qvs_samples_per_symbol(uint16_t period_seconds);

#ifdef __cplusplus
}
#endif

#endif
