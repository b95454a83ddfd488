/* The JT65 encoding pipeline: normalise, split off OOO, pack, Reed-Solomon, interleave, Gray
   code, tones. The caller's tone buffer holds the codeword while it is interleaved, so no
   second 63-symbol buffer is needed. */
#include "qvj-jt65.h"

#include <string.h>

#include "../common/qvc-bits.h"
#include "../common/qvc-flash.h"
#include "../common/qvc-reed-solomon.h"

/* Sync (1) or data (0) for each of the 126 symbol periods, packed. */
static const uint8_t qvj_jt65_sync[16] QVC_FLASH = {0x98, 0xFD, 0x45, 0x91, 0xCF, 0x6F, 0x1A, 0xB3,
                                                    0x54, 0x81, 0x80, 0xD2, 0xD5, 0x32, 0x43, 0xFC};

void qvj_jt65_data_symbols(const uint8_t source[9], uint8_t data[12]) {
  /* Bit by bit: one short loop instead of the four shifts of every 3-byte group. */
  uint8_t i, byte = 0, symbol = 0, taken = 0;
  for (i = 0; i < 72; ++i) {
    if ((i & 7) == 0) byte = *source++;
    symbol = (uint8_t)((symbol << 1) | (byte >> 7));
    byte = (uint8_t)(byte << 1);
    if (++taken == 6) {
      *data++ = (uint8_t)(symbol & 63);
      taken = 0;
    }
  }
}

void qvj_jt65_channel_symbols(const uint8_t codeword[63], uint8_t symbols[QVJ_JT65_SYMBOLS]) {
  uint8_t r, q, out = 0;
  for (r = 0; r < 7; ++r)
    for (q = 0; q < 9; ++q) symbols[out++] = qvc_gray(codeword[7 * q + r]);
}

void qvj_jt65_encode(const char* text, qvj_message* message, uint8_t symbols[QVJ_JT65_SYMBOLS],
                     uint8_t tones[QVJ_JT65_TONES], qvc_report* report) {
  uint8_t data[12];
  uint8_t i, next = 0, sync = 0, flip;
  memset(report, 0, sizeof *report);
  qvj_normalise(text, message->text, &report->changes);
  message->text[QVJ_MESSAGE_LENGTH] = '\0';
  {
    /* The flag travels in the sync pattern: pack the text without it. */
    char split[QVJ_MESSAGE_LENGTH];
    memcpy(split, message->text, QVJ_MESSAGE_LENGTH);
    message->ooo = qvj_split_ooo(split);
    if (qvj_is_shorthand(split)) {
      message->type = QVJ_TYPE_SHORTHAND;
      memset(message->source, 0, sizeof message->source);
      report->status = QVJ_SHORTHAND;
      return;
    }
    qvj_pack_text(split, message);
  }
  if (message->type == QVJ_TYPE_FREE_TEXT) report->changes |= QVC_CHANGED_SENT_AS_TEXT;
  qvj_jt65_data_symbols(message->source, data);
  /* The codeword goes to tones[0 ... 62]; the rest of tones and the symbols are free until
     the interleave and lend room for the GF(64) tables. */
  qvc_rs63_encode_in(data, tones, tones + QVC_RS_PARITY + 12, symbols);
  qvj_jt65_channel_symbols(tones, symbols);
  /* Data value v goes two spacings above the sync tone. OOO swaps sync and data: the flag
     becomes a mask of all ones XORed into each sync byte, so the loop tests one bit. */
  flip = (uint8_t)(0 - message->ooo);
  for (i = 0; i < QVJ_JT65_TONES; ++i, sync = (uint8_t)(sync << 1)) {
    if ((i & 7) == 0) sync = (uint8_t)(qvc_flash_byte(&qvj_jt65_sync[i >> 3]) ^ flip);
    tones[i] = (uint8_t)((sync & 0x80) ? 0 : symbols[next++] + 2);
  }
}
