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
#include "qvj-compound-call.h"
#include "qvj-field3.h"
#include "qvj-message.h"

static const uint8_t qvj_word_cq_dx[] QVC_FLASH = "CQ DX ";
/* The words that may lead a message whose second call has a free-form add-on; the first is
   also the CQ that the CQ rewrites look for. */
static const uint8_t qvj_lead_words[15] QVC_FLASH = "CQ \0\0QRZ \0DE \0";
/* The prefixes a compound call ("ZL/K1ABC") may carry as a listed add-on, which rides in the
   third field as a locator no station uses, in list order, grouped by first character (a
   character may open more than one group). Each group: the character, its top bit set when the
   character alone is the group's first entry; the group's count of entries; the count of bytes
   its other entries take in qvj_prefix_rests. */
const uint8_t qvj_prefix_groups[3 * QVJ_PREFIX_GROUPS] QVC_FLASH = {
    0x31, 0x02, 0x02, 0x33, 0x10, 0x12, 0x34, 0x07, 0x09, 0x35, 0x0B, 0x0B, 0x36, 0x02, 0x02, 0x37,
    0x04, 0x04, 0x38, 0x03, 0x03, 0x39, 0x0E, 0x0F, 0x41, 0x08, 0x08, 0x42, 0x04, 0x05, 0x43, 0x13,
    0x15, 0x44, 0x05, 0x05, 0x45, 0x11, 0x11, 0xC6, 0x15, 0x16, 0xCD, 0x07, 0x06, 0x48, 0x13, 0x13,
    0xC9, 0x03, 0x02, 0x4A, 0x0D, 0x0E, 0xCB, 0x12, 0x14, 0x4C, 0x05, 0x05, 0x4F, 0x0C, 0x0D, 0x50,
    0x0A, 0x10, 0x52, 0x02, 0x03, 0x53, 0x0D, 0x0D, 0x54, 0x17, 0x18, 0x55, 0x06, 0x06, 0x56, 0x22,
    0x27, 0x58, 0x07, 0x09, 0x59, 0x0C, 0x0C, 0x5A, 0x14, 0x18, 0x4B, 0x01, 0x02, 0x45, 0x01, 0x01};

/* Those entries, each written as what differs from the entry before it in the group: its first
   byte holds in the top two bits how many characters (1-3, the group's character counted) it
   keeps of that entry, the bytes after it have 0 there; the low six bits hold each new
   character less '0'. A last byte with 3 there ends the list. */
const uint8_t qvj_prefix_rests[] QVC_FLASH = {
    0x51, 0x63, 0x51, 0x52, 0x06, 0x88, 0x89, 0x53, 0x80, 0x54, 0x02, 0xD3, 0xE2, 0x91, 0x66, 0x67,
    0x68, 0x69, 0x92, 0xA0, 0x5A, 0x5C, 0x63, 0x65, 0x01, 0x19, 0xE5, 0x67, 0x68, 0x51, 0x52, 0x58,
    0x5E, 0x62, 0x64, 0x65, 0x66, 0x67, 0x68, 0x6A, 0x67, 0x69, 0x5F, 0x60, 0x61, 0x68, 0x60, 0x61,
    0x62, 0x51, 0x57, 0x58, 0x5A, 0x5B, 0x5C, 0x5D, 0x02, 0x86, 0x5E, 0x61, 0x65, 0x66, 0x68, 0x69,
    0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x49, 0x60, 0x63, 0x07, 0x66, 0x89, 0x69, 0x42, 0x43, 0x45,
    0x46, 0x49, 0x55, 0x80, 0x28, 0xE9, 0xEA, 0x89, 0x5D, 0x5E, 0x60, 0x64, 0x83, 0x65, 0x68, 0x69,
    0x00, 0x89, 0x42, 0x44, 0x46, 0x5C, 0x65, 0x43, 0x44, 0x51, 0x86, 0x88, 0x89, 0x59, 0x5B, 0x5C,
    0x60, 0x62, 0x63, 0x64, 0x65, 0x68, 0x69, 0x6A, 0x57, 0x58, 0x5A, 0x5B, 0x93, 0x5D, 0x5F, 0x91,
    0x93, 0x9D, 0x60, 0x62, 0x97, 0x9A, 0xA4, 0x64, 0x05, 0x27, 0xE8, 0xEA, 0x67, 0x69, 0x54, 0x59,
    0x5A, 0x5D, 0x65, 0x67, 0x44, 0x80, 0x51, 0x52, 0x80, 0x53, 0x88, 0x58, 0x59, 0x5B, 0x80, 0xDD,
    0x5C, 0x5D, 0x60, 0x62, 0x63, 0x66, 0x6A, 0x63, 0x80, 0x42, 0x43, 0x45, 0x46, 0x47, 0x48, 0x51,
    0x54, 0x1D, 0x9F, 0x64, 0x67, 0x68, 0x69, 0x57, 0x04, 0x58, 0x00, 0x81, 0x82, 0x83, 0x84, 0x85,
    0xDB, 0x86, 0x87, 0x88, 0x89, 0x5C, 0x60, 0x01, 0x82, 0x84, 0x85, 0x51, 0x65, 0x68, 0x69, 0x6A,
    0x51, 0x54, 0x55, 0x58, 0x80, 0x5A, 0x00, 0x5B, 0x5D, 0x5E, 0x68, 0x69, 0x6A, 0x42, 0x44, 0x51,
    0x5A, 0x02, 0x87, 0x69, 0x80, 0x16, 0x64, 0x00, 0x23, 0x69, 0x00, 0x24, 0x6A, 0x41, 0x16, 0x9D,
    0x40, 0x42, 0x45, 0x47, 0x49, 0x5D, 0x60, 0x64, 0x65, 0x66, 0x91, 0x85, 0x89, 0x42, 0x43, 0x00,
    0x81, 0x82, 0x83, 0x45, 0x47, 0x48, 0x49, 0x51, 0x56, 0x57, 0x59, 0x89, 0x5A, 0x5B, 0x5C, 0x5E,
    0x62, 0x64, 0x65, 0x69, 0x6A, 0x51, 0x82, 0x89, 0x5B, 0x5E, 0x62, 0x42, 0x43, 0x44, 0x45, 0x46,
    0x47, 0x48, 0x55, 0x5B, 0x80, 0x18, 0xDD, 0x89, 0x13, 0xDC, 0xDD, 0xDE, 0xE7, 0xE8, 0x60, 0x02,
    0x15, 0xDD, 0xE6, 0x85, 0x86, 0xD4, 0x88, 0xD7, 0xD8, 0xDF, 0xE3, 0x89, 0x61, 0x09, 0x62, 0x65,
    0x84, 0x87, 0x55, 0x56, 0x04, 0x64, 0x65, 0x67, 0x68, 0x09, 0x6A, 0x51, 0x52, 0x59, 0x5A, 0x5B,
    0x5C, 0x5E, 0x5F, 0x63, 0x65, 0x66, 0x80, 0x42, 0x43, 0x51, 0x52, 0x53, 0x04, 0x54, 0x07, 0x88,
    0x89, 0x56, 0x5B, 0x01, 0x1E, 0xE3, 0x82, 0x83, 0x5C, 0x87, 0x88, 0x89, 0x60, 0x63, 0x88, 0x53,
    0x04, 0x45, 0xC0,
};

/* The k that no list entry uses is kept for a prefix the operator sets up; this encoder has
   none. */

/* The free-text signs after the digits, the letters and the blank, from code 37 on. */
static const uint8_t qvj_text_signs[] QVC_FLASH = "+-./?";

void qvj_pack(qvj_message* message) {
  qvj_pack_text(message->text, message);
}

void qvj_pack_text(const char text[QVJ_MESSAGE_LENGTH], qvj_message* message) {
  /* The text and a blank after it, which ends every field's search for its blank. */
  char m[QVJ_MESSAGE_LENGTH + 1];
  char word[4];
  uint32_t fields[3];
  const char* field;
  uint8_t cq_end = 0, w = 0, i, start = 0, end, length, type = QVJ_ADD_ON_NONE, refuse = 0;
  /* The listed add-on of either call: 1-412 for the first, 451-862 for the second. */
  uint16_t k = 0;
  uint16_t value3;
  memcpy(m, text, QVJ_MESSAGE_LENGTH);
  m[QVJ_MESSAGE_LENGTH] = ' ';
  /* "CQ 5" becomes "CQ 005", "CQ DX" the callsign "CQ9DX", and "CQ NA" (two letters) the
     callsign "E9NA"; the decoder turns them back. Each rewrite leaves a text the others do not
     match. */
  if (qvc_starts_with(m, qvj_lead_words)) {
    if (qvc_is_digit(m[3]) && m[4] == ' ') {
      for (i = QVJ_MESSAGE_LENGTH - 1; i >= 5; --i) m[i] = m[i - 2];
      m[3] = m[4] = '0';
    } else if (qvc_starts_with(m, qvj_word_cq_dx)) {
      m[2] = '9';
    } else if (qvc_is_letter(m[3]) && qvc_is_letter(m[4]) && m[5] == ' ') {
      m[0] = 'E';
      m[1] = '9';
      /* The last place takes the blank after the text. */
      for (i = 2; i < QVJ_MESSAGE_LENGTH; ++i) m[i] = m[i + 1];
    }
    /* "CQ nnn" (the rewrites above leave no digit at place 3 but this one's) is one field. */
    for (i = 3; i < 6 && qvc_is_digit(m[i]); ++i) {
    }
    if (i == 6) cq_end = 6;
  }

  /* Three fields, each ended by a blank; "CQ nnn" is one field, its end (cq_end, for the first
     field only) taken to lie after the digits. Each call field is split into its add-on and base
     call in place and packed from where it stands in m. Any failure means free text, so the
     order of the checks does not matter: a first call with a free-form add-on fails at once. */
  for (i = 0;; ++i) {
    const char* base;
    const char* after;
    uint8_t base_length, slash = 0, left, right, kind = QVJ_ADD_ON_NONE;
    field = m + start;
    end = start;
    while (m[end] != ' ') ++end;
    if (end < cq_end) end = cq_end;
    cq_end = 0;
    if (end >= QVJ_MESSAGE_LENGTH) goto free_text;
    length = (uint8_t)(end - start);
    start = (uint8_t)(end + 1);
    if (i == 2) break;
    /* A call field counts up to 12 characters. */
    if (length > 12) length = 12;
    base = field;
    base_length = length;
    while (slash < length && field[slash] != '/') ++slash;
    left = slash;
    right = (uint8_t)(length - slash - 1);
    after = field + slash + 1;
    if (slash < length) {
      uint8_t prefix, suffix, j;
      /* A listed add-on: 1-339 (prefix) or 401-412 (suffix). */
      uint16_t code = 0;
      if (right >= 4) {
        char listed[5];
        base = after;
        base_length = right;
        code = qvj_prefix_walk(field, slash, 0, listed);
        kind = QVJ_ADD_ON_LIST_PREFIX;
      } else if (right == 1) {
        base_length = slash;
        /* The place in QVJ_SUFFIX_LIST, "P", the digits, "A", worked out: smaller than a
           search of the list. */
        j = (uint8_t)(*after - '0');
        if (j < 10) code = (uint16_t)(QVJ_FIRST_SUFFIX_CODE + 1 + j);
        if (*after == 'P') code = QVJ_FIRST_SUFFIX_CODE;
        if (*after == 'A') code = QVJ_FIRST_SUFFIX_CODE + 11;
        kind = QVJ_ADD_ON_LIST_SUFFIX;
      }
      if (code != 0) {
        /* One listed add-on at most. */
        if (k != 0) refuse = 1;
        k = (uint16_t)(code + (i ? 450 : 0));
        goto split;
      }
      kind = QVJ_ADD_ON_NONE;
      /* A free-form add-on: 1-4 characters before the "/" or 1-3 after it; when both fit, the
         side of 3 or more characters, and when both are that long, a prefix ending in a digit.
         Two short sides (as in "D9/X") cancel each other, leaving a plain call. */
      prefix = left > 0 && left <= 4;
      suffix = right > 0 && right <= 3;
      /* An add-on that fits no form refuses a listed add-on of the other call. */
      if (!prefix && !suffix) refuse = 1;
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
           it; the base call is the other side. Only the second call may have one. */
        uint32_t free_add_on;
        const char* add_on = field;
        uint8_t add_on_length = left;
        if (i == 0) goto free_text;
        kind = QVJ_ADD_ON_FREE_PREFIX;
        base = after;
        base_length = right;
        if (suffix) {
          kind = QVJ_ADD_ON_FREE_SUFFIX;
          add_on = after;
          add_on_length = right;
          base = field;
          base_length = left;
        }
        /* Only CQ, QRZ or DE (word w) may lead; the first field then has no "/". Word w's
           range starts w * (36 * 37^3 + 1) above CQ's (36 * 37^2 + 1 for a suffix), so the
           number is w plus the add-on read with 36 * w added to its first character's code:
           no 32-bit step is added w times. */
        while (!qvc_starts_with(m, qvj_lead_words + 5 * w))
          if (++w == 3) goto free_text;
        free_add_on = (uint8_t)(36 * w);
        for (j = 0; j < (uint8_t)(8 - kind); ++j)
          free_add_on = qvc_multiply_add(free_add_on, j ? 37 : 1,
                                         qvc_call_code(j < add_on_length ? add_on[j] : ' '));
        /* The second call's free-form add-on is the message's type; the first field is
           already packed and goes no further, so it is overwritten here. */
        fields[0] = free_add_on + w +
                    (kind == QVJ_ADD_ON_FREE_PREFIX ? QVJ_CQ_PREFIX_BASE : QVJ_CQ_SUFFIX_BASE);
      }
    }
  split:
    if (kind > type) type = kind;
    if (!qvc_pack_call(base, base_length, QVC_CALL_RULES_JT, &fields[i])) goto free_text;
  }

  if (type == QVJ_ADD_ON_LIST_PREFIX || type == QVJ_ADD_ON_LIST_SUFFIX) {
    /* The listed add-on k replaces whatever the third field held, as a locator at latitude
       85-89 N: five add-ons a longitude step, 180 values apart. */
    if (refuse) goto free_text;
    /* 175 + 180 q + r for k - 1 = 5 q + r, that is 174 + k plus 175 for each step of 5. */
    value3 = (uint16_t)(k + 174);
    for (; k > 5; k = (uint16_t)(k - 5)) value3 = (uint16_t)(value3 + 175);
  } else {
    qvc_copy_padded(word, 4, field, length);
    /* OOO alone there is the flag, sent as a blank field. */
    if (!qvj_field3_value(word, 0, &value3)) goto free_text;
  }
  fields[2] = value3;
  message->type = type;
  goto place;

free_text : {
  /* Free text: the first 13 characters in base 42, 5 + 5 + 3 characters: digits, capitals,
     then the signs; the blank's 36 for anything else. The third group needs 17 bits but its
     field has 15 beside the flag, so its top two bits ride as the lowest bits of the two call
     fields, which hold twice their group. The third group is read first (characters 10-12,
     then 0-9): each of the others then takes its characters' codes doubled and its bit with
     the last, in the same loop, where a second pass over the fields would cost more. */
  uint8_t top = 0, j = 10;
  uint32_t value = 0;
  for (i = 0; i < 13; ++i) {
    char c = m[j];
    uint8_t code = (uint8_t)(c - '0');
    if (code > 9) {
      code = (uint8_t)(c - 'A' + 10);
      if (!qvc_is_letter(c)) {
        /* 37-41 for a sign, 36 for the blank and anything else. */
        for (code = sizeof qvj_text_signs - 1; code > 0; --code)
          if (qvc_flash_byte(&qvj_text_signs[code - 1]) == (uint8_t)c) break;
        code = (uint8_t)(code + 36);
      }
    }
    if (j < 10) code = (uint8_t)(code << 1);
    value = qvc_multiply_add(value, 42, code);
    if ((uint8_t)(j & 0xF7) == 4 || j == 9) {
      /* The doubled group is even: its bit goes in with an OR on the lowest byte. The third
         group takes none, top being 0 until it is read. */
      value |= (uint8_t)(top & 1);
      top = (uint8_t)(top >> 1);
      if (j == 12) {
        /* Bits 15 and 16 as the byte above bits 16-31 of twice the group: byte moves and one
           shift, where a shift by 15 is a loop. */
        top = (uint8_t)((value << 1) >> 16);
        value = (uint16_t)value | QVJ_FREE_TEXT_FLAG;
      }
      /* Groups ending at 4, 9 and 12 go to fields 0, 1 and 2. */
      fields[(j >> 2) - 1] = value;
      value = 0;
    }
    if (++j == 13) j = 0;
  }
  message->type = QVJ_TYPE_FREE_TEXT;
}
place:
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
