/* FT8's channel: the codeword cut into 58 groups of 3 bits, each a tone through FT8's own Gray
   table (not the binary-reflected one), framed by the Costas array. */
#include "modes/core/ft/qvf-ft8.h"

#include "modes/core/common/qvc-flash.h"
#include "modes/core/ft/qvf-codeword.h"

/* The Costas array, then the Gray table from a group's value to its tone: one table, so that
   both kinds of tone are one read. */
static const uint8_t kTones[7 + 8] QVC_FLASH = {3, 1, 4, 0, 6, 5, 2, 0, 1, 3, 2, 5, 6, 4, 7};

void qvf_ft8_tones(const uint8_t bits77[QVF_MESSAGE77_BYTES], uint8_t tones[QVF_FT8_TONES]) {
  uint8_t codeword[QVF_CODEWORD_BITS], t, at;
  const uint8_t* bit = codeword;
  qvf_codeword174(bits77, codeword);
  for (t = 0; t < QVF_FT8_TONES; ++t) {
    /* the Costas array opens every 36 tones: at 0, 36 and 72 */
    at = t;
    while (at >= 36) at -= 36;
    if (at >= 7) {
      at = (uint8_t)(7 + (bit[0] << 2) + (bit[1] << 1) + bit[2]);
      bit += 3;
    }
    tones[t] = qvc_flash_byte(&kTones[at]);
  }
}

qvc_status qvf_ft8_encode(const char* text, uint8_t bits77[QVF_MESSAGE77_BYTES],
                          uint8_t tones[QVF_FT8_TONES], qvc_report* report) {
  qvc_status status = qvf_pack77(text, bits77, report);
  if (status == QVC_OK) qvf_ft8_tones(bits77, tones);
  return status;
}
