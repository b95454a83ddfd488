/* JT4 A-G from message text to its 206 tones: the 72-bit message, the convolutional code and
   interleaver, and each coded bit sent as one of four tones, the data bit over a sync bit. Some
   report messages invert every sync bit, which a receiver sees without decoding. JT4 sends RO,
   RRR and 73 as free text and keeps a leading blank. The submodes differ only in spacing. */
#ifndef QVJ_JT4_H
#define QVJ_JT4_H

#include <stdint.h>

#include "../common/qvc-status.h"
#include "qvj-message.h"

#ifdef __cplusplus
extern "C" {
#endif

#define QVJ_JT4_TONES 206

/* Encodes text (NUL-terminated, any length). symbols (the 206 interleaved bits, one a byte) may
   be NULL; each tone is 2 * symbol + sync bit. OOO is not sent (QVJ_CHANGED_OOO_DROPPED). */
void qvj_jt4_encode(const char* text, qvj_message* message, uint8_t* symbols,
                    uint8_t tones[QVJ_JT4_TONES], qvc_report* report);

/* 1 when a message (normalised, without OOO) is sent with inverted sync: its first "-" stands at
   place 8 or later and is followed by 0, 1, 2 or 3. */
uint8_t qvj_jt4_inverts_sync(const char message[QVJ_MESSAGE_LENGTH]);

/* Sync bit i (0-205), not inverted. */
uint8_t qvj_jt4_sync_bit(uint8_t i);

#ifdef __cplusplus
}
#endif

#endif
