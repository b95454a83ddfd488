/* Packing a message: the CQ rewrites, the split into three fields and of each call into its
   add-on and base call, the order of checks that makes it a standard message, a compound-call
   message or free text, and free text itself. One large function: on the chip every call
   between smaller ones would cost a prologue saving most registers. */
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
/* The free-text characters after the digits and letters, from code 36 on. */
static const uint8_t qvj_text_signs[] QVC_FLASH = " +-./?";

static uint8_t qvj_find_blank(const char m[QVJ_MESSAGE_LENGTH], uint8_t from) {
  while (from < QVJ_MESSAGE_LENGTH && m[from] != ' ') ++from;
  return from;
}

static uint8_t qvj_is_list_add_on(uint8_t kind) {
  return kind == QVJ_ADD_ON_LIST_PREFIX || kind == QVJ_ADD_ON_LIST_SUFFIX;
}

/* A standard or compound-call message into fields; 0 when the text is none (free text then).
   Each call field is split into its add-on and base call in place, inside the one loop, and
   packed from where it stands in m: no copy of a field is made. */
static uint8_t qvj_pack_structured(const char m[QVJ_MESSAGE_LENGTH], uint8_t cq_number,
                                   uint32_t fields[3], uint8_t* type) {
  char word[4];
  uint8_t kinds[2];
  int32_t add_ons[2];
  uint8_t start = 0, end, i;
  uint16_t value3 = 0;
  int16_t k = 0;

  /* Three fields, each ended by a blank; "CQ nnn" is one field, its end taken to lie after the
     digits. Any failure means free text, so the order of the checks does not matter. */
  for (i = 0; i < 3; ++i) {
    const char* field = m + start;
    const char* base = field;
    const char* after;
    uint8_t length, base_length, slash = 0, left, right, kind = QVJ_ADD_ON_NONE;
    /* A listed add-on: 1-339 (prefix) or 401-412 (suffix); a free one: the add-on as a base-37
       number; 0 when there is none, -1 for an add-on that fits neither form. */
    int32_t add_on = 0;
    end = qvj_find_blank(m, start);
    if (i == 0 && cq_number) end = 6;
    if (end >= QVJ_MESSAGE_LENGTH) return 0;
    length = (uint8_t)(end - start);
    start = (uint8_t)(end + 1);
    if (i == 2) {
      qvc_copy_padded(word, 4, field, length);
      break;
    }
    /* A call field counts up to 12 characters. */
    if (length > 12) length = 12;
    base_length = length;
    while (slash < length && field[slash] != '/') ++slash;
    left = slash;
    right = (uint8_t)(length - slash - 1);
    after = field + slash + 1;
    if (slash < length) {
      uint8_t prefix, suffix, j;
      if (right >= 4) {
        /* A listed prefix? */
        char text[5];
        base = after;
        base_length = right;
        add_on = qvj_walk_prefixes(field, slash, 0, text);
        if (add_on != 0) {
          kind = QVJ_ADD_ON_LIST_PREFIX;
          goto split;
        }
      } else if (right == 1) {
        /* A listed suffix? */
        base_length = slash;
        /* The list (QVJ_SUFFIX_LIST) is P, the ten digits, A: worked out, not searched. */
        j = qvc_is_digit(*after) ? (uint8_t)(*after - '0' + 1) : 12;
        if (*after == 'P') j = 0;
        if (*after == 'A') j = 11;
        if (j < 12) {
          kind = QVJ_ADD_ON_LIST_SUFFIX;
          add_on = QVJ_FIRST_SUFFIX_CODE + j;
          goto split;
        }
      }
      /* A free-form add-on: 1-4 characters before the "/" or 1-3 after it; when both fit, the
         side of 3 or more characters, and when both are that long, a prefix ending in a digit.
         Two short sides (as in "D9/X") cancel each other, leaving a plain call. */
      prefix = left > 0 && left <= 4;
      suffix = right > 0 && right <= 3;
      if (!prefix && !suffix) add_on = -1;
      if (prefix && suffix) {
        if (left < 3) suffix = 0;
        if (right < 3) prefix = 0;
        if (prefix && suffix) {
          if (qvc_is_digit(field[slash - 1])) {
            suffix = 0;
          } else {
            prefix = 0;
          }
        }
      }
      if (prefix || suffix) {
        /* The add-on as a base-37 number of 4 (prefix) or 3 (suffix) characters, blanks after
           it; the base call is the other side. */
        const char* text = field;
        uint8_t text_length = left;
        kind = QVJ_ADD_ON_FREE_PREFIX;
        base = after;
        base_length = right;
        if (suffix) {
          kind = QVJ_ADD_ON_FREE_SUFFIX;
          text = after;
          text_length = right;
          base = field;
          base_length = left;
        }
        for (j = 0; j < 8 - kind; ++j)
          add_on = 37 * add_on + qvc_call_code(j < text_length ? text[j] : ' ');
      }
    }
  split:
    kinds[i] = kind;
    add_ons[i] = add_on;
    if (!qvc_pack_call(base, base_length, QVC_CALL_RULES_JT, &fields[i])) return 0;
  }
  if (kinds[0] >= QVJ_ADD_ON_FREE_PREFIX) return 0;

  if (kinds[1] >= QVJ_ADD_ON_FREE_PREFIX) {
    /* Only CQ, QRZ or DE may lead; the message then starts as its first field does, and that
       field has no "/", so no listed add-on can be about. */
    const uint8_t* lead = qvj_lead_words;
    uint32_t value = QVJ_CQ_PREFIX_BASE, step = QVJ_QRZ_PREFIX_BASE - QVJ_CQ_PREFIX_BASE;
    /* The three words' ranges follow each other: 37^4 - 50652 values for prefixes, 37^3 - 1368
       for suffixes. */
    if (kinds[1] != QVJ_ADD_ON_FREE_PREFIX) {
      value = QVJ_CQ_SUFFIX_BASE;
      step = QVJ_QRZ_SUFFIX_BASE - QVJ_CQ_SUFFIX_BASE;
    }
    while (!qvc_starts_with(m, lead)) {
      if (lead == qvj_lead_words + 9) return 0;
      lead += 4 + (lead != qvj_lead_words);
      value += step;
    }
    fields[0] = value + (uint32_t)add_ons[1];
  } else if (qvj_is_list_add_on(kinds[0]) || qvj_is_list_add_on(kinds[1])) {
    /* One listed add-on at most, and it replaces whatever the third field held. Neither call
       has a free-form add-on here, so every add-on is -1, 0 or a list code below 413. */
    int16_t k0 = (int16_t)add_ons[0], k1 = (int16_t)add_ons[1];
    if (k0 < 0 || k1 < 0 || (k0 != 0 && k1 != 0)) return 0;
    k = (int16_t)(k0 + (k1 != 0 ? k1 + 450 : 0));
  }
  if (k > 0) {
    /* The listed add-on k (1-412 for the first call, 451-862 for the second) as a locator at
       latitude 85-89 N: five add-ons a longitude step, 180 values apart. */
    value3 = 175;
    for (--k; k >= 5; k = (int16_t)(k - 5)) value3 = (uint16_t)(value3 + 180);
    value3 = (uint16_t)(value3 + k);
  } else {
    if (qvc_starts_with(word, qvj_word_ooo)) word[0] = word[1] = word[2] = ' ';
    if (!qvj_pack_field3(word, &value3)) return 0;
  }
  fields[2] = value3;
  *type = kinds[0] > kinds[1] ? kinds[0] : kinds[1];
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
  uint8_t cq_number = 0, i;
  if (qvc_starts_with(m, qvj_word_cq)) {
    if (qvc_is_digit(m[3]) && m[4] == ' ') {
      for (i = QVJ_MESSAGE_LENGTH - 1; i >= 5; --i) m[i] = m[i - 2];
      m[3] = m[4] = '0';
    } else if (qvc_starts_with(m, qvj_word_cq_dx)) {
      m[2] = '9';
    } else if (qvc_is_letter(m[3]) && qvc_is_letter(m[4]) && m[5] == ' ') {
      m[0] = 'E';
      m[1] = '9';
      for (i = 2; i < QVJ_MESSAGE_LENGTH - 1; ++i) m[i] = m[i + 1];
      m[QVJ_MESSAGE_LENGTH - 1] = ' ';
    }
    /* "CQ nnn" (the rewrites above leave no digit at place 3 but this one's) is one field. */
    for (i = 3; i < 6 && qvc_is_digit(m[i]); ++i) {
    }
    cq_number = i == 6;
  }
  if (!qvj_pack_structured(m, cq_number, fields, &message->type)) {
    /* Free text: the first 13 characters in base 42, 5 + 5 + 3 characters: digits, capitals,
       then the signs; the blank's 36 for anything else. The third group needs 17 bits but its
       field has 15 beside the flag, so its top two bits ride as the lowest bits of the two call
       fields: the groups are read last to first, and a call field's bit is one more step of
       the same multiply-and-add, by 2. */
    uint8_t g, top = 0;
    for (g = 3; g-- > 0;) {
      const char* c = m + 5 * g;
      uint8_t n = g == 2 ? 3 : 6;
      uint32_t value = 0;
      while (n-- > 0) {
        uint8_t radix = 42, code;
        if (n == 0 && g < 2) {
          radix = 2;
          code = (uint8_t)((top >> g) & 1);
        } else {
          code = (uint8_t)(*c - '0');
          if (code > 9) {
            code = (uint8_t)(*c - 'A' + 10);
            if (!qvc_is_letter(*c)) {
              for (code = 0; code < sizeof qvj_text_signs - 1; ++code)
                if (qvc_flash_byte(&qvj_text_signs[code]) == (uint8_t)*c) break;
              if (code == sizeof qvj_text_signs - 1) code = 0;
              code = (uint8_t)(code + 36);
            }
          }
          ++c;
        }
        value = value * radix + code;
      }
      if (g == 2) {
        top = (uint8_t)(value >> 15);
        value = (uint16_t)value | QVJ_FREE_TEXT_FLAG;
      }
      fields[g] = value;
    }
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
