/* JT4's sync vector, its inverted-sync rule and the tones. */
#include "qvj-jt4.h"

#include "../common/qvc-bits.h"
#include "../common/qvc-convolutional.h"
#include "../common/qvc-flash.h"
#include "../common/qvc-sync-tones.h"
#include "qvj-prepare.h"

static const uint8_t qvj_jt4_sync[26] QVC_FLASH = {
    0x18, 0xD9, 0x40, 0x60, 0x01, 0x6D, 0x7D, 0x12, 0x7C, 0x51, 0xEC, 0x8D, 0x55,
    0xF5, 0x6A, 0xE5, 0xBC, 0x36, 0x3B, 0xB9, 0x1B, 0x23, 0xF3, 0x0C, 0x5B, 0xD4};

uint8_t qvj_jt4_sync_bit(uint8_t i) {
  return qvc_flash_bit(qvj_jt4_sync, i);
}

uint8_t qvj_jt4_inverts_sync(const char message[QVJ_MESSAGE_LENGTH]) {
  uint8_t dash = 0;
  while (dash < QVJ_MESSAGE_LENGTH && message[dash] != '-') ++dash;
  if (dash < 8 || dash + 1 >= QVJ_MESSAGE_LENGTH) return 0;
  return message[dash + 1] >= '0' && message[dash + 1] <= '3';
}

void qvj_jt4_encode(const char* text, qvj_message* message, uint8_t* symbols,
                    uint8_t tones[QVJ_JT4_TONES], qvc_report* report) {
  /* The coded block goes to the last 26 of the tones: tone i is written after byte i / 8 of
     the block is read, and 8 i / 8 + 7 stays below 180 + i / 8 for every byte, so none is
     overwritten before it is read. No 26 bytes of stack for it. */
  uint32_t changes;
  uint8_t* coded = tones + QVJ_JT4_TONES - 26;
  qvj_prepare_inline(text, QVJ_PREPARE_NO_SHORTHAND, message, report);
  qvj_pack_text(message->text, message);
  /* Both changes are set in a copy of the word held in registers: one read and one write of
     it in place of two each. */
  changes = report->changes;
  if (message->ooo) changes |= QVJ_CHANGED_OOO_DROPPED;
  if (message->type == QVJ_TYPE_FREE_TEXT) changes |= QVC_CHANGED_SENT_AS_TEXT;
  report->changes = changes;
  qvc_code_and_interleave(message->source, 72, coded);
  qvc_sync_tones(coded, qvj_jt4_sync, qvj_jt4_inverts_sync(message->text), QVJ_JT4_TONES, symbols,
                 tones);
}
