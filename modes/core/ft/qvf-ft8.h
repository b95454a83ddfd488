/* FT8 in the encoder core: a message text to its 79 tones (0-7): three 7-tone Costas arrays
   framing two blocks of 29 data tones. */
#ifndef QVF_FT8_H
#define QVF_FT8_H

#include <stdint.h>

#include "modes/core/common/qvc-status.h"
#include "modes/core/ft/qvf-message77.h"

#ifdef __cplusplus
extern "C" {
#endif

#define QVF_FT8_TONES 79
#define QVF_FT8_DATA_BLOCK 29                        /* data tones a block */
#define QVF_FT8_DATA_START(block) (7 + 36 * (block)) /* block 0 or 1 */

/* The tones of 77 packed message bits. */
void qvf_ft8_tones(const uint8_t bits77[QVF_MESSAGE77_BYTES], uint8_t tones[QVF_FT8_TONES]);

/* Packs text (see qvf_pack77) and fills bits77 and tones; on a refusal the tones are untouched. */
qvc_status qvf_ft8_encode(const char* text, uint8_t bits77[QVF_MESSAGE77_BYTES],
                          uint8_t tones[QVF_FT8_TONES], qvc_report* report);

#ifdef __cplusplus
}
#endif

#endif
