/* FT8's channel: the codeword cut into 58 groups of 3 bits, each a tone through FT8's own Gray
   table (not the binary-reflected one), framed by the Costas array. */
#include "modes/core/ft/qvf-ft8.h"

#include "modes/core/common/qvc-flash.h"
#include "modes/core/ft/qvf-codeword.h"

static const uint8_t kCostas[7] QVC_FLASH = {3, 1, 4, 0, 6, 5, 2};
static const uint8_t kToneOf[8] QVC_FLASH = {0, 1, 3, 2, 5, 6, 4, 7};

void qvf_ft8_tones(const uint8_t bits77[QVF_MESSAGE77_BYTES], uint8_t tones[QVF_FT8_TONES]) {
  uint8_t codeword[QVF_CODEWORD_BYTES], t, left = 0, byte = 0, i, sync = 0, value;
  const uint8_t* next = codeword;
  qvf_codeword174(bits77, codeword);
  for (t = 0; t < QVF_FT8_TONES; ++t, ++sync) {
    /* the Costas array opens every 36 tones: at 0, 36 and 72 */
    if (sync == 36) sync = 0;
    if (sync < 7) {
      tones[t] = qvc_flash_byte(&kCostas[sync]);
      continue;
    }
    for (i = 0, value = 0; i < 3; ++i, --left, byte = (uint8_t)(byte << 1)) {
      if (left == 0) {
        byte = *next++;
        left = 8;
      }
      value = (uint8_t)((value << 1) | (byte >> 7));
    }
    tones[t] = qvc_flash_byte(&kToneOf[value]);
  }
}

qvc_status qvf_ft8_encode(const char* text, uint8_t bits77[QVF_MESSAGE77_BYTES],
                          uint8_t tones[QVF_FT8_TONES], qvc_report* report) {
  qvc_status status = qvf_pack77(text, bits77, report);
  if (status == QVC_OK) qvf_ft8_tones(bits77, tones);
  return status;
}
