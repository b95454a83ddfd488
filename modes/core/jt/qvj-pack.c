/* Packing a message: the CQ rewrites, the split into three fields, and the order of checks that
   makes it a standard message, a compound-call message or free text. */
#include "qvj-pack.h"

#include <string.h>

#include "../common/qvc-bits.h"
#include "../common/qvc-call.h"
#include "../common/qvc-flash.h"
#include "../common/qvc-text.h"
#include "qvj-message.h"

static const uint8_t qvj_word_cq[] QVC_FLASH = "CQ ";
static const uint8_t qvj_word_cq_dx[] QVC_FLASH = "CQ DX ";
/* The words that may lead a message whose second call has a free-form add-on. */
static const uint8_t qvj_lead_words[] QVC_FLASH = "CQ \0QRZ \0DE ";
static const uint8_t qvj_word_ooo[] QVC_FLASH = "OOO ";

static uint8_t qvj_find_blank(const char m[QVJ_MESSAGE_LENGTH], uint8_t from) {
  while (from < QVJ_MESSAGE_LENGTH && m[from] != ' ') ++from;
  return from;
}

static uint8_t qvj_is_list_add_on(uint8_t kind) {
  return kind == QVJ_ADD_ON_LIST_PREFIX || kind == QVJ_ADD_ON_LIST_SUFFIX;
}

/* A standard or compound-call message into fields; 0 when the text is none (free text then). */
static uint8_t qvj_pack_structured(const char m[QVJ_MESSAGE_LENGTH], uint32_t fields[3],
                                   uint8_t* type) {
  char word[12];
  qvj_compound_call calls[2];
  uint8_t start = 0, end, i;
  uint16_t value3 = 0;
  int16_t k = 0;

  /* Three fields, each ended by a blank; "CQ nnn" is one field, its end taken to lie after the
     digits. Every field is split out before any is judged: any failure means free text, so the
     order of the checks does not matter. */
  for (i = 0; i < 3; ++i) {
    end = qvj_find_blank(m, start);
    if (i == 0 && qvc_starts_with(m, qvj_word_cq) && qvc_is_digit(m[3]) && qvc_is_digit(m[4]) &&
        qvc_is_digit(m[5]))
      end = 6;
    if (end >= QVJ_MESSAGE_LENGTH) return 0;
    qvc_copy_padded(word, 12, m + start, (uint8_t)(end - start));
    start = (uint8_t)(end + 1);
    if (i == 2) break;
    qvj_split_compound_call(word, &calls[i]);
    if (!qvc_pack_call(calls[i].base, 12, QVC_CALL_RULES_JT, &fields[i])) return 0;
  }
  if (calls[0].kind >= QVJ_ADD_ON_FREE_PREFIX) return 0;

  if (calls[1].kind >= QVJ_ADD_ON_FREE_PREFIX) {
    /* Only CQ, QRZ or DE may lead; the message then starts as its first field does, and that
       field has no "/", so no listed add-on can be about. */
    const uint8_t* lead = qvj_lead_words;
    uint32_t value = QVJ_CQ_PREFIX_BASE, step = QVJ_QRZ_PREFIX_BASE - QVJ_CQ_PREFIX_BASE;
    /* The three words' ranges follow each other: 37^4 - 50652 values for prefixes, 37^3 - 1368
       for suffixes. */
    if (calls[1].kind != QVJ_ADD_ON_FREE_PREFIX) {
      value = QVJ_CQ_SUFFIX_BASE;
      step = QVJ_QRZ_SUFFIX_BASE - QVJ_CQ_SUFFIX_BASE;
    }
    while (!qvc_starts_with(m, lead)) {
      if (lead == qvj_lead_words + 9) return 0;
      lead += 4 + (lead != qvj_lead_words);
      value += step;
    }
    fields[0] = value + (uint32_t)calls[1].k;
  } else if (qvj_is_list_add_on(calls[0].kind) || qvj_is_list_add_on(calls[1].kind)) {
    /* One listed add-on at most, and it replaces whatever the third field held. Neither call
       has a free-form add-on here, so every k is -1, 0 or a list code below 413. */
    int16_t k0 = (int16_t)calls[0].k, k1 = (int16_t)calls[1].k;
    if (k0 < 0 || k1 < 0 || (k0 != 0 && k1 != 0)) return 0;
    k = (int16_t)(k0 + (k1 != 0 ? k1 + 450 : 0));
  }
  if (k > 0) {
    value3 = qvj_list_add_on_field3((uint16_t)k);
  } else {
    if (qvc_starts_with(word, qvj_word_ooo)) word[0] = word[1] = word[2] = ' ';
    if (!qvj_pack_field3(word, &value3)) return 0;
  }
  fields[2] = value3;
  *type = calls[0].kind > calls[1].kind ? calls[0].kind : calls[1].kind;
  return 1;
}

void qvj_pack(qvj_message* message) {
  qvj_pack_text(message->text, message);
}

void qvj_pack_text(const char text[QVJ_MESSAGE_LENGTH], qvj_message* message) {
  char m[QVJ_MESSAGE_LENGTH];
  uint32_t fields[3];
  memcpy(m, text, QVJ_MESSAGE_LENGTH);
  /* "CQ 5" becomes "CQ 005", "CQ DX" the callsign "CQ9DX", and "CQ NA" (two letters) the
     callsign "E9NA"; the decoder turns them back. Each rewrite leaves a text the others do not
     match. */
  if (qvc_starts_with(m, qvj_word_cq)) {
    if (qvc_is_digit(m[3]) && m[4] == ' ') {
      memmove(m + 5, m + 3, QVJ_MESSAGE_LENGTH - 5);
      m[3] = m[4] = '0';
    } else if (qvc_starts_with(m, qvj_word_cq_dx)) {
      m[2] = '9';
    } else if (qvc_is_letter(m[3]) && qvc_is_letter(m[4]) && m[5] == ' ') {
      m[0] = 'E';
      m[1] = '9';
      memmove(m + 2, m + 3, QVJ_MESSAGE_LENGTH - 3);
      m[QVJ_MESSAGE_LENGTH - 1] = ' ';
    }
  }
  if (!qvj_pack_structured(m, fields, &message->type)) {
    qvj_pack_free_text(m, fields);
    message->type = QVJ_TYPE_FREE_TEXT;
  }
  /* 28 + 28 + 16 bits: the second field starts in the low half of byte 3. */
  {
    uint8_t* s = message->source;
    uint32_t first = fields[0] << 4;
    s[0] = (uint8_t)(first >> 24);
    s[1] = (uint8_t)(first >> 16);
    s[2] = (uint8_t)(first >> 8);
    s[3] = (uint8_t)((uint8_t)first | (uint8_t)((fields[1] >> 24) & 15));
    s[4] = (uint8_t)(fields[1] >> 16);
    s[5] = (uint8_t)(fields[1] >> 8);
    s[6] = (uint8_t)fields[1];
    s[7] = (uint8_t)(fields[2] >> 8);
    s[8] = (uint8_t)fields[2];
  }
}
