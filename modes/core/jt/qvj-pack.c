/* Packing a message: the CQ rewrites, the split into three fields, and the order of checks that
   makes it a standard message, a compound-call message or free text. */
#include "qvj-pack.h"

#include <string.h>

#include "../common/qvc-bits.h"
#include "../common/qvc-call.h"
#include "../common/qvc-text.h"
#include "qvj-message.h"

/* "CQ 5" becomes "CQ 005", "CQ DX" the callsign "CQ9DX", and "CQ NA" (two letters) the callsign
   "E9NA"; the decoder turns them back. */
static void qvj_rewrite_cq(char m[QVJ_MESSAGE_LENGTH]) {
  if (memcmp(m, "CQ ", 3) == 0 && qvc_is_digit(m[3]) && m[4] == ' ') {
    memmove(m + 5, m + 3, QVJ_MESSAGE_LENGTH - 5);
    m[3] = m[4] = '0';
  }
  if (memcmp(m, "CQ DX ", 6) == 0) m[2] = '9';
  if (memcmp(m, "CQ ", 3) == 0 && qvc_is_letter(m[3]) && qvc_is_letter(m[4]) && m[5] == ' ') {
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

static void qvj_copy_field(char* field, uint8_t width, const char* text, uint8_t length) {
  uint8_t i;
  for (i = 0; i < width; ++i) field[i] = i < length ? text[i] : ' ';
}

static uint8_t qvj_is_list_add_on(uint8_t kind) {
  return kind == QVJ_ADD_ON_LIST_PREFIX || kind == QVJ_ADD_ON_LIST_SUFFIX;
}

/* The first-field value of "CQ/QRZ/DE + call with a free-form add-on", or 0 when the first field
   is no such word. */
static uint32_t qvj_free_add_on_lead(const char call1[12], uint8_t kind, int32_t k) {
  uint8_t prefix = kind == QVJ_ADD_ON_FREE_PREFIX;
  if (memcmp(call1, "CQ ", 3) == 0) return (prefix ? QVJ_CQ_PREFIX_BASE : QVJ_CQ_SUFFIX_BASE) + k;
  if (memcmp(call1, "QRZ ", 4) == 0)
    return (prefix ? QVJ_QRZ_PREFIX_BASE : QVJ_QRZ_SUFFIX_BASE) + k;
  if (memcmp(call1, "DE ", 3) == 0) return (prefix ? QVJ_DE_PREFIX_BASE : QVJ_DE_SUFFIX_BASE) + k;
  return 0;
}

/* A standard or compound-call message into fields; 0 when the text is none (free text then). */
static uint8_t qvj_pack_structured(const char m[QVJ_MESSAGE_LENGTH], uint32_t fields[3],
                                   uint8_t* type) {
  char call1[12], call2[12], field3[4];
  qvj_compound_call first, second;
  uint8_t end1, end2, end3, has_field3;
  uint16_t value3 = 0;

  /* The three fields; "CQ nnn" is one field, its end taken to lie after the digits. */
  if (memcmp(m, "CQ ", 3) == 0) {
    end1 = qvc_is_digit(m[3]) && qvc_is_digit(m[4]) && qvc_is_digit(m[5]) ? 6 : 2;
  } else {
    end1 = qvj_find_blank(m, 0);
    if (end1 == QVJ_MESSAGE_LENGTH) return 0;
  }
  end2 = qvj_find_blank(m, (uint8_t)(end1 + 1));
  if (end2 >= QVJ_MESSAGE_LENGTH) return 0;
  end3 = qvj_find_blank(m, (uint8_t)(end2 + 1));
  if (end3 >= QVJ_MESSAGE_LENGTH) return 0;
  qvj_copy_field(call1, 12, m, end1);
  qvj_copy_field(call2, 12, m + end1 + 1, (uint8_t)(end2 - end1 - 1));
  qvj_copy_field(field3, 4, m + end2 + 1, (uint8_t)(end3 - end2 - 1));
  if (memcmp(field3, "OOO ", 4) == 0) memset(field3, ' ', 4);

  qvj_split_compound_call(call1, &first);
  if (first.kind == QVJ_ADD_ON_FREE_PREFIX || first.kind == QVJ_ADD_ON_FREE_SUFFIX) return 0;
  if (!qvc_pack_call(first.base, 12, QVC_CALL_RULES_JT, &fields[0])) return 0;
  qvj_split_compound_call(call2, &second);
  if (!qvc_pack_call(second.base, 12, QVC_CALL_RULES_JT, &fields[1])) return 0;

  if (qvj_is_list_add_on(first.kind) || qvj_is_list_add_on(second.kind)) {
    /* One listed add-on at most, and it replaces whatever the third field held. */
    int32_t k;
    if (first.k < 0 || second.k < 0 || (first.k != 0 && second.k != 0)) return 0;
    k = second.k > 0 ? second.k + 450 : second.k;
    if (first.k > k) k = first.k;
    if (k > 0) {
      value3 = qvj_list_add_on_field3((uint16_t)k);
      has_field3 = 1;
    } else {
      has_field3 = qvj_pack_field3(field3, &value3);
    }
  } else {
    has_field3 = qvj_pack_field3(field3, &value3);
  }
  if (!has_field3) return 0;
  fields[2] = value3;
  *type = first.kind > second.kind ? first.kind : second.kind;
  if (second.kind == QVJ_ADD_ON_FREE_PREFIX || second.kind == QVJ_ADD_ON_FREE_SUFFIX) {
    fields[0] = qvj_free_add_on_lead(call1, second.kind, second.k);
    if (fields[0] == 0) return 0;
  }
  return 1;
}

void qvj_pack(qvj_message* message) {
  char m[QVJ_MESSAGE_LENGTH];
  uint32_t fields[3];
  memcpy(m, message->text, QVJ_MESSAGE_LENGTH);
  qvj_rewrite_cq(m);
  if (!qvj_pack_structured(m, fields, &message->type)) {
    qvj_pack_free_text(m, fields);
    message->type = QVJ_TYPE_FREE_TEXT;
  }
  memset(message->source, 0, sizeof message->source);
  qvc_write_bits(message->source, 0, fields[0], 28);
  qvc_write_bits(message->source, 28, fields[1], 28);
  qvc_write_bits(message->source, 56, fields[2], 16);
}
