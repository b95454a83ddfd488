/* JT9's channel: grouping, Gray code and sync placement. */
#include "qvj-jt9.h"

#include "../common/qvc-bits.h"
#include "../common/qvc-convolutional.h"
#include "../common/qvc-flash.h"
#include "qvj-prepare.h"

/* The sync places of the 85 tones (0, 1, 4, 9, 15, 22, 32, 34, 50, 51, 54, 59, 65, 72, 82, 84),
   packed. */
static const uint8_t qvj_jt9_sync[11] QVC_FLASH = {0xC8, 0x41, 0x02, 0x00, 0xA0, 0x00,
                                                   0x32, 0x10, 0x40, 0x80, 0x28};

void qvj_jt9_symbols(const uint8_t interleaved[26], uint8_t symbols[QVJ_JT9_SYMBOLS]) {
  /* 207 bits, three a symbol; the 207th, past the block, is zero: the last byte's spare bits
     are. */
  uint8_t i, byte = 0, value = 0, taken = 0;
  for (i = 0; i < 3 * QVJ_JT9_SYMBOLS; ++i) {
    if ((i & 7) == 0) byte = *interleaved++;
    value = (uint8_t)((value << 1) | (byte >> 7));
    byte = (uint8_t)(byte << 1);
    if (++taken == 3) {
      *symbols++ = qvc_gray((uint8_t)(value & 7));
      taken = 0;
    }
  }
}

void qvj_jt9_tones(const uint8_t symbols[QVJ_JT9_SYMBOLS], uint8_t tones[QVJ_JT9_TONES]) {
  /* A byte of the sync places per eight tones, read from its top bit down. */
  uint8_t i, sync = 0;
  for (i = 0; i < QVJ_JT9_TONES; ++i) {
    if ((i & 7) == 0) sync = qvc_flash_byte(&qvj_jt9_sync[i >> 3]);
    tones[i] = (sync & 0x80) ? 0 : (uint8_t)(*symbols++ + 1);
    sync = (uint8_t)(sync << 1);
  }
}

void qvj_jt9_encode(const char* text, qvj_message* message, uint8_t symbols[QVJ_JT9_SYMBOLS],
                    uint8_t tones[QVJ_JT9_TONES], qvc_report* report) {
  /* The coded block goes to the last 26 of the tones, which are written only after it has
     been read: no 26 bytes of stack for it. */
  uint32_t changes;
  uint8_t* coded = tones + QVJ_JT9_TONES - 26;
  if (qvj_prepare_inline(text, QVJ_PREPARE_DROP_BLANK, message, report)) {
    report->status = QVJ_SHORTHAND;
    return;
  }
  qvj_pack_text(message->text, message);
  /* Both changes are set in a copy of the word held in registers: one read and one write of
     it in place of two each. */
  changes = report->changes;
  if (message->ooo) changes |= QVJ_CHANGED_OOO_DROPPED;
  if (message->type == QVJ_TYPE_FREE_TEXT) changes |= QVC_CHANGED_SENT_AS_TEXT;
  report->changes = changes;
  qvc_code_and_interleave(message->source, 72, coded);
  qvj_jt9_symbols(coded, symbols);
  qvj_jt9_tones(symbols, tones);
}
