/* FT4 in the encoder core: a message text to its 105 tones (0-3): a ramp slot, four different
   4-tone Costas arrays framing three blocks of 29 data tones, and a ramp slot. The ramp slots
   carry no symbol; they hold tone 0, the frequency the transmitter rises to and falls from. */
#ifndef QVF_FT4_H
#define QVF_FT4_H

#include <stdint.h>

#include "modes/core/common/qvc-status.h"
#include "modes/core/ft/qvf-message77.h"

#ifdef __cplusplus
extern "C" {
#endif

#define QVF_FT4_TONES 105
#define QVF_FT4_DATA_BLOCK 29
#define QVF_FT4_DATA_START(block) (5 + 33 * (block)) /* block 0, 1 or 2 */

/* The message bits XORed with FT4's fixed vector, which keeps an all-zero message off the air. */
void qvf_ft4_scramble(uint8_t bits77[QVF_MESSAGE77_BYTES]);

/* The tones of 77 packed message bits (not scrambled yet). */
void qvf_ft4_tones(const uint8_t bits77[QVF_MESSAGE77_BYTES], uint8_t tones[QVF_FT4_TONES]);

/* Packs text (see qvf_pack77) and fills bits77 (the message bits, not scrambled) and tones; on a
   refusal the tones are untouched. */
qvc_status qvf_ft4_encode(const char* text, uint8_t bits77[QVF_MESSAGE77_BYTES],
                          uint8_t tones[QVF_FT4_TONES], qvc_report* report);

#ifdef __cplusplus
}
#endif

#endif
