/* JT65 A-C from message text to its 63 channel symbols and 126 tones: the 72-bit message as 12
   six-bit symbols, the Reed-Solomon (63,12) code, the 7 x 9 interleave, the Gray code, and the
   sync pattern that places the symbols among the sync tones. The submodes differ only in the
   tone spacing. */
#ifndef QVJ_JT65_H
#define QVJ_JT65_H

#include <stdint.h>

#include "../common/qvc-status.h"
#include "qvj-message.h"

#ifdef __cplusplus
extern "C" {
#endif

#define QVJ_JT65_SYMBOLS 63
#define QVJ_JT65_TONES 126

/* Encodes text (NUL-terminated, any length). message->text keeps the OOO flag. A shorthand
   message is refused (QVJ_SHORTHAND) with message filled and no symbols. Tone 0 is the sync
   tone, data value v goes as tone v + 2. */
void qvj_jt65_encode(const char* text, qvj_message* message, uint8_t symbols[QVJ_JT65_SYMBOLS],
                     uint8_t tones[QVJ_JT65_TONES], qvc_report* report);

/* The 12 six-bit data symbols of the 72 source bits. */
void qvj_jt65_data_symbols(const uint8_t source[9], uint8_t data[12]);

/* The codeword (coefficients of x^0 ... x^62) read as 9 rows of 7 column by column and Gray
   coded: the channel symbols. */
void qvj_jt65_channel_symbols(const uint8_t codeword[63], uint8_t symbols[QVJ_JT65_SYMBOLS]);

#ifdef __cplusplus
}
#endif

#endif
