/* FT4's channel: the scrambled message through the shared CRC and LDPC code, the codeword cut
   into 87 pairs of bits, each a tone through the 2-bit Gray code, framed by the Costas arrays and
   the ramp slots. */
#include "modes/core/ft/qvf-ft4.h"

#include "modes/core/common/qvc-flash.h"
#include "modes/core/ft/qvf-codeword.h"

/* 77 bits, first bit first; the last three bits of the last byte are zero. */
static const uint8_t kScrambling[QVF_MESSAGE77_BYTES] QVC_FLASH = {0x4A, 0x5E, 0x89, 0xB4, 0xB0,
                                                                   0x8A, 0x79, 0x55, 0xBE, 0x28};
/* Arrays A, B, C, D, one after the other: one read for each sync tone. */
static const uint8_t kCostas[16] QVC_FLASH = {0, 1, 3, 2, 1, 0, 2, 3, 2, 3, 1, 0, 3, 2, 0, 1};

/* The message XORed with the vector, into out (which may be the message). */
static void scramble(const uint8_t* bits77, uint8_t* out) {
  uint8_t i;
  for (i = 0; i < QVF_MESSAGE77_BYTES; ++i)
    out[i] = (uint8_t)(bits77[i] ^ qvc_flash_byte(&kScrambling[i]));
}

void qvf_ft4_scramble(uint8_t bits77[QVF_MESSAGE77_BYTES]) {
  scramble(bits77, bits77);
}

void qvf_ft4_tones(const uint8_t bits77[QVF_MESSAGE77_BYTES], uint8_t tones[QVF_FT4_TONES]) {
  uint8_t codeword[QVF_CODEWORD_BITS], scrambled[QVF_MESSAGE77_BYTES], t, sync = 0, costas = 0;
  const uint8_t* bit = codeword;
  scramble(bits77, scrambled);
  qvf_codeword174(scrambled, codeword);
  tones[0] = 0;
  tones[QVF_FT4_TONES - 1] = 0;
  /* a Costas array opens every 33 tones from tone 1 on: at 1, 34, 67 and 100 */
  for (t = 1; t < QVF_FT4_TONES - 1; ++t, ++sync) {
    if (sync == 33) sync = 0;
    if (sync < 4) {
      tones[t] = qvc_flash_byte(&kCostas[costas++]);
    } else {
      /* Gray: bit pairs 00 01 11 10 are tones 0 1 2 3 */
      tones[t] = (uint8_t)((bit[0] << 1) | (bit[0] ^ bit[1]));
      bit += 2;
    }
  }
}

qvc_status qvf_ft4_encode(const char* text, uint8_t bits77[QVF_MESSAGE77_BYTES],
                          uint8_t tones[QVF_FT4_TONES], qvc_report* report) {
  qvc_status status = qvf_pack77(text, bits77, report);
  if (status == QVC_OK) qvf_ft4_tones(bits77, tones);
  return status;
}
