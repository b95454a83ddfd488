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

/* "CQ 5" becomes "CQ 005", "CQ DX" the callsign "CQ9DX", and "CQ NA" (two letters) the callsign
   "E9NA"; the decoder turns them back. */
static void qvj_rewrite_cq(char m[QVJ_MESSAGE_LENGTH]) {
  if (qvc_starts_with(m, qvj_word_cq) && qvc_is_digit(m[3]) && m[4] == ' ') {
    memmove(m + 5, m + 3, QVJ_MESSAGE_LENGTH - 5);
    m[3] = m[4] = '0';
  }
  if (qvc_starts_with(m, qvj_word_cq_dx)) m[2] = '9';
  if (qvc_starts_with(m, qvj_word_cq) && qvc_is_letter(m[3]) && qvc_is_letter(m[4]) &&
      m[5] == ' ') {
    m[0] = 'E';
    m[1] = '9';
    memmove(m + 2, m + 3, QVJ_MESSAGE_LENGTH - 3);
    m[QVJ_MESSAGE_LENGTH - 1] = ' ';
  }
}

static uint8_t qvj_find_blank(const char m[QVJ_MESSAGE_LENGTH], uint8_t from) {
  while (from < QVJ_MESSAGE_LENGTH && m[from] != ' ') ++from;
  return from;
}

static uint8_t qvj_is_list_add_on(uint8_t kind) {
  return kind == QVJ_ADD_ON_LIST_PREFIX || kind == QVJ_ADD_ON_LIST_SUFFIX;
}

/* The first-field value of "CQ/QRZ/DE + call with a free-form add-on", or 0 when the first field
   is no such word. */
static uint32_t qvj_free_add_on_lead(const char* call1, uint8_t kind, int32_t k) {
  const uint8_t* word = qvj_lead_words;
  uint8_t w;
  uint32_t lead = QVJ_CQ_PREFIX_BASE, step = QVJ_QRZ_PREFIX_BASE - QVJ_CQ_PREFIX_BASE;
  for (w = 0; !qvc_starts_with(call1, word); ++w) {
    if (w == 2) return 0;
    while (qvc_flash_byte(word++) != 0) {
    }
  }
  /* The three words' ranges follow each other: 37^4 - 50652 values for prefixes, 37^3 - 1368
     for suffixes. */
  if (kind != QVJ_ADD_ON_FREE_PREFIX) {
    lead = QVJ_CQ_SUFFIX_BASE;
    step = QVJ_QRZ_SUFFIX_BASE - QVJ_CQ_SUFFIX_BASE;
  }
  while (w--) lead += step;
  return lead + (uint32_t)k;
}

/* A standard or compound-call message into fields; 0 when the text is none (free text then). */
static uint8_t qvj_pack_structured(const char m[QVJ_MESSAGE_LENGTH], uint32_t fields[3],
                                   uint8_t* type) {
  char word[12];
  qvj_compound_call calls[2];
  uint8_t ends[3], start = 0, i;
  uint16_t value3 = 0;
  int32_t k = 0;

  /* The three fields end at blanks; "CQ nnn" is one field, its end taken to lie after the
     digits. */
  ends[0] = qvj_find_blank(m, 0);
  if (qvc_starts_with(m, qvj_word_cq))
    ends[0] = qvc_is_digit(m[3]) && qvc_is_digit(m[4]) && qvc_is_digit(m[5]) ? 6 : 2;
  for (i = 0; i < 3; ++i) {
    if (i > 0) ends[i] = qvj_find_blank(m, (uint8_t)(ends[i - 1] + 1));
    if (ends[i] >= QVJ_MESSAGE_LENGTH) return 0;
  }
  for (i = 0; i < 2; ++i) {
    qvc_copy_padded(word, 12, m + start, (uint8_t)(ends[i] - start));
    qvj_split_compound_call(word, &calls[i]);
    if (!qvc_pack_call(calls[i].base, 12, QVC_CALL_RULES_JT, &fields[i])) return 0;
    start = (uint8_t)(ends[i] + 1);
  }
  if (calls[0].kind >= QVJ_ADD_ON_FREE_PREFIX) return 0;

  if (qvj_is_list_add_on(calls[0].kind) || qvj_is_list_add_on(calls[1].kind)) {
    /* One listed add-on at most, and it replaces whatever the third field held. */
    if (calls[0].k < 0 || calls[1].k < 0 || (calls[0].k != 0 && calls[1].k != 0)) return 0;
    k = calls[0].k + (calls[1].k != 0 ? calls[1].k + 450 : 0);
  }
  if (k > 0) {
    value3 = qvj_list_add_on_field3((uint16_t)k);
  } else {
    qvc_copy_padded(word, 4, m + start, (uint8_t)(ends[2] - start));
    if (qvc_starts_with(word, qvj_word_ooo)) word[0] = word[1] = word[2] = ' ';
    if (!qvj_pack_field3(word, &value3)) return 0;
  }
  fields[2] = value3;
  *type = calls[0].kind > calls[1].kind ? calls[0].kind : calls[1].kind;
  if (calls[1].kind >= QVJ_ADD_ON_FREE_PREFIX) {
    /* m starts as the first field does: "CQ ", "QRZ " and "DE " end at its blank. */
    fields[0] = qvj_free_add_on_lead(m, calls[1].kind, calls[1].k);
    if (fields[0] == 0) return 0;
  }
  return 1;
}

void qvj_pack(qvj_message* message) {
  qvj_pack_text(message->text, message);
}

void qvj_pack_text(const char text[QVJ_MESSAGE_LENGTH], qvj_message* message) {
  char m[QVJ_MESSAGE_LENGTH];
  uint32_t fields[3];
  memcpy(m, text, QVJ_MESSAGE_LENGTH);
  qvj_rewrite_cq(m);
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
