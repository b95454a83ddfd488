/* JT9 from message text to its 69 channel symbols and 85 tones: the 72-bit message, the
   convolutional code and interleaver (206 bits, one zero bit added), 69 three-bit values Gray
   coded, laid among 16 sync tones. Tone 0 is sync; data value g goes as tone g + 1. */
#ifndef QVJ_JT9_H
#define QVJ_JT9_H

#include <stdint.h>

#include "../common/qvc-status.h"
#include "qvj-message.h"

#ifdef __cplusplus
extern "C" {
#endif

#define QVJ_JT9_SYMBOLS 69
#define QVJ_JT9_TONES 85

/* Encodes text (NUL-terminated, any length); a shorthand message is refused (QVJ_SHORTHAND)
   with message filled. A leading blank is dropped; OOO is not sent (QVJ_CHANGED_OOO_DROPPED). */
void qvj_jt9_encode(const char* text, qvj_message* message, uint8_t symbols[QVJ_JT9_SYMBOLS],
                    uint8_t tones[QVJ_JT9_TONES], qvc_report* report);

/* The 69 Gray-coded symbols of 206 interleaved bits (packed). */
void qvj_jt9_symbols(const uint8_t interleaved[26], uint8_t symbols[QVJ_JT9_SYMBOLS]);

/* The 85 tones of the 69 symbols, sync included. */
void qvj_jt9_tones(const uint8_t symbols[QVJ_JT9_SYMBOLS], uint8_t tones[QVJ_JT9_TONES]);

#ifdef __cplusplus
}
#endif

#endif
