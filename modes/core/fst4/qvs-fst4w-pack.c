/* The FST4W packer: a beacon text in one of three forms to the 50 bits FST4W sends, with the FT8
   family's field formats (not WSPR's):
     CALL GRID P       28-bit call, 15-bit locator, 5-bit power code, 00
     PFX/CALL P        28-bit base call, 16-bit prefix or suffix code, 5-bit power code, 1
     CALL/SFX P
     <CALL> GRID       22-bit hash of the call, 25-bit 4- or 6-character locator, 010
   The text is read as the 77-bit packer reads it: its first 37 characters, upper case, words
   split at blanks. */
#include <string.h>

#include "modes/core/common/qvc-flash.h"
#include "modes/core/fst4/qvs-frame.h"
#include "modes/core/fst4/qvs-fst4.h"

#define QVS_TEXT_LIMIT 37
#define QVS_CALL28_HASHED 2063592UL
#define QVS_CALL28_STANDARD 6257896UL
#define QVS_SUFFIX_BASE 46656UL /* 36^3: codes below are prefixes */

typedef struct {
  const char* text;
  uint8_t start;
  uint8_t length;
} qvs_word;

static char qvs_upper(char c) {
  return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
}

static uint8_t qvs_is_digit(char c) {
  return c >= '0' && c <= '9';
}

static uint8_t qvs_is_letter(char c) {
  return c >= 'A' && c <= 'Z';
}

static char qvs_at(const qvs_word* w, uint8_t i) {
  return qvs_upper(w->text[w->start + i]);
}

/* Value in 0-9 A-Z, or 0xFF. */
static uint8_t qvs_a36(char c) {
  if (qvs_is_digit(c)) return (uint8_t)(c - '0');
  if (qvs_is_letter(c)) return (uint8_t)(c - 'A' + 10);
  return 0xFF;
}

/* The 22-bit hash of characters first..first+length-1 of a word: the call left-aligned in 11
   places read in base 38 (blank, 0-9, A-Z, /), times 47055833459 modulo 2^64, top 22 bits.
   Byte-wise, so 8-bit chips need no 64-bit multiply. Returns 0xFFFFFFFF for a character outside
   the alphabet. */
static uint32_t qvs_hash22(const qvs_word* w, uint8_t first, uint8_t length) {
  static const uint8_t factor[5] QVC_FLASH = {0x73, 0x09, 0xbf, 0xf4, 0x0a}; /* low byte first */
  uint8_t number[8], product[8];
  uint8_t i, j;
  memset(number, 0, sizeof number);
  memset(product, 0, sizeof product);
  for (i = 0; i < 11; ++i) {
    uint16_t carry = 0;
    if (i < length) {
      char c = qvs_at(w, (uint8_t)(first + i));
      uint8_t value = qvs_a36(c);
      if (c == '/')
        carry = 37;
      else if (value != 0xFF)
        carry = (uint16_t)(value + 1U);
      else if (c != ' ')
        return 0xFFFFFFFFUL;
    }
    for (j = 0; j < 8; ++j) {
      carry = (uint16_t)(carry + number[j] * 38U);
      number[j] = (uint8_t)carry;
      carry >>= 8;
    }
  }
  for (i = 0; i < 8; ++i) {
    uint16_t carry = 0;
    for (j = 0; i + j < 8; ++j) {
      carry = (uint16_t)(carry + product[i + j] +
                         (j < 5 ? number[i] * (uint16_t)qvc_flash_byte(&factor[j]) : 0U));
      product[i + j] = (uint8_t)carry;
      carry >>= 8;
    }
  }
  return (((uint32_t)product[7] << 16) | ((uint32_t)product[6] << 8) | product[5]) >> 2;
}

/* The 28-bit field of a standard call (characters first..first+length-1), or 0 when the text
   is not one: its call-area digit is the last digit, the 2nd or 3rd character, with a letter
   before it and at most three letters after it. 0xFFFFFFFF when it has that shape but holds
   characters no call field has. */
static uint32_t qvs_standard_call28(const qvs_word* w, uint8_t first, uint8_t length) {
  uint8_t area = 0, letters_after = 0, letter_before = 0, i, pad;
  uint32_t value = 0;
  for (i = length; i > 1; --i) {
    if (qvs_is_digit(qvs_at(w, (uint8_t)(first + i - 1)))) {
      area = i;
      break;
    }
  }
  if (area != 2 && area != 3) return 0;
  for (i = 0; i < length; ++i) {
    char c = qvs_at(w, (uint8_t)(first + i));
    if (i + 1 < area && qvs_is_letter(c)) letter_before = 1;
    if (i >= area && qvs_is_letter(c)) ++letters_after;
  }
  if (!letter_before || letters_after > 3) return 0;
  pad = (uint8_t)(area == 2);
  if (length + pad > 6) return 0xFFFFFFFFUL;
  for (i = 0; i < 6; ++i) {
    char c = (i >= pad && i - pad < length) ? qvs_at(w, (uint8_t)(first + i - pad)) : ' ';
    uint8_t v = qvs_a36(c);
    if (i == 0) {
      if (c == ' ')
        v = 0;
      else if (v == 0xFF)
        return 0xFFFFFFFFUL;
      else
        ++v;
      value = v;
    } else if (i == 1) {
      if (v == 0xFF) return 0xFFFFFFFFUL;
      value = value * 36U + v;
    } else if (i == 2) {
      value = value * 10U + v; /* the call-area digit */
    } else {
      if (c == ' ')
        v = 0;
      else if (qvs_is_letter(c))
        v = (uint8_t)(c - 'A' + 1);
      else
        return 0xFFFFFFFFUL;
      value = value * 27U + v;
    }
  }
  return QVS_CALL28_STANDARD + value;
}

/* The base call of a call with an optional prefix or suffix, as offset and length within the
   word; 0 length when the word is not a call. */
static uint8_t qvs_base_call(const qvs_word* w, uint8_t* base_first) {
  uint8_t slash = 0xFF, i, first = 0, length = w->length, area;
  if (length > 11) return 0;
  for (i = 0; i < length; ++i) {
    char c = qvs_at(w, i);
    if (c == '.' || c == '+' || c == '-' || c == '?') return 0;
    if (c == '/' && slash == 0xFF) slash = i;
  }
  if (length > 6 && slash == 0xFF) return 0;
  if (slash != 0xFF) {
    uint8_t after = (uint8_t)(length - slash - 1);
    if (slash > 6 || after > 6) return 0;
    if (slash != 0 && after != 0) {
      if (after >= slash)
        first = (uint8_t)(slash + 1), length = after;
      else
        length = slash;
    }
  }
  if (length > 6) length = 6;
  if (length < 3) return 0;
  if (!qvs_is_letter(qvs_at(w, first)) && !qvs_is_letter(qvs_at(w, (uint8_t)(first + 1)))) return 0;
  if (qvs_at(w, first) == 'Q' &&
      !(length == 5 && qvs_at(w, (uint8_t)(first + 1)) == 'U' &&
        qvs_at(w, (uint8_t)(first + 2)) == '1' && qvs_at(w, (uint8_t)(first + 3)) == 'R' &&
        qvs_at(w, (uint8_t)(first + 4)) == 'K'))
    return 0;
  area = qvs_is_digit(qvs_at(w, (uint8_t)(first + 2)))   ? 3
         : qvs_is_digit(qvs_at(w, (uint8_t)(first + 1))) ? 2
                                                         : 0;
  if (area == 0 || length < area + 1 || length > area + 3) return 0;
  for (i = area; i < length; ++i)
    if (!qvs_is_letter(qvs_at(w, (uint8_t)(first + i)))) return 0;
  *base_first = first;
  return length;
}

/* The value of a 4-character locator (AA00-RR99), or 0xFFFF. */
static uint16_t qvs_locator4(const qvs_word* w) {
  char l1 = qvs_at(w, 0), l2 = qvs_at(w, 1), d1 = qvs_at(w, 2), d2 = qvs_at(w, 3);
  if (l1 < 'A' || l1 > 'R' || l2 < 'A' || l2 > 'R' || !qvs_is_digit(d1) || !qvs_is_digit(d2))
    return 0xFFFF;
  return (uint16_t)((l1 - 'A') * 1800U + (l2 - 'A') * 100U + (d1 - '0') * 10U + (d2 - '0'));
}

/* The 5-bit code of a power of one or two digits, or 0xFF; *changed tells whether a receiver
   shows another figure. */
static uint8_t qvs_power_code(const qvs_word* w, uint8_t* changed) {
  uint8_t dbm = 0, i, code;
  if (w->length < 1 || w->length > 2) return 0xFF;
  for (i = 0; i < w->length; ++i) {
    if (!qvs_is_digit(qvs_at(w, i))) return 0xFF;
    dbm = (uint8_t)(dbm * 10U + (uint8_t)(qvs_at(w, i) - '0'));
  }
  code = (uint8_t)((3U * (dbm > 60 ? 60U : dbm) + 5U) / 10U);
  *changed = (uint8_t)((20U * code + 3U) / 6U != dbm);
  return code;
}

static qvc_status qvs_refuse(qvc_report* report, qvc_status status, const qvs_word* w) {
  report->status = status;
  report->word_start = w ? w->start : 0;
  report->word_length = w ? w->length : 0;
  return status;
}

/* The call of "CALL GRID P": <X> as the hash of X, QRZ, a standard call, or else the hash of the
   whole word (a receiver shows <...> until it has heard the call). */
static uint32_t qvs_type1_call28(const qvs_word* w, qvc_report* report) {
  uint32_t value;
  if (qvs_at(w, 0) == '<') {
    if (w->length < 3 || qvs_at(w, (uint8_t)(w->length - 1)) != '>') return 0xFFFFFFFFUL;
    value = qvs_hash22(w, 1, (uint8_t)(w->length - 2));
    return value == 0xFFFFFFFFUL ? value : QVS_CALL28_HASHED + value;
  }
  if (w->length == 3 && qvs_at(w, 0) == 'Q' && qvs_at(w, 1) == 'R' && qvs_at(w, 2) == 'Z') return 1;
  value = qvs_standard_call28(w, 0, w->length);
  if (value != 0) return value;
  report->changes |= QVS_CHANGED_CALL_HASHED;
  report->word_start = w->start;
  report->word_length = w->length;
  value = qvs_hash22(w, 0, w->length);
  return value == 0xFFFFFFFFUL ? value : QVS_CALL28_HASHED + value;
}

qvc_status qvs_fst4w_pack(const char* text, uint8_t bits[QVS_FST4W_BYTES], uint8_t* form,
                          qvc_report* report) {
  qvc_report own;
  qvs_word words[3];
  uint8_t count = 0, i, power_changed = 0, base_first = 0, base_length, slash;
  uint32_t call;
  if (report == 0) report = &own;
  memset(report, 0, sizeof *report);
  memset(bits, 0, QVS_FST4W_BYTES);
  /* Words of the first 37 characters. */
  for (i = 0; i < QVS_TEXT_LIMIT && text[i] != '\0'; ++i) {
    if (text[i] == ' ') continue;
    if (i == 0 || text[i - 1] == ' ') {
      if (count == 3) return qvs_refuse(report, QVS_NOT_FST4W, 0);
      words[count].text = text;
      words[count].start = i;
      words[count].length = 0;
      ++count;
    }
    ++words[count - 1].length;
  }
  if (count == 0) return qvs_refuse(report, QVC_EMPTY_MESSAGE, 0);
  if (count == 1) return qvs_refuse(report, QVS_NOT_FST4W, &words[0]);

  if (count == 3) {
    /* CALL GRID P */
    uint16_t locator;
    uint8_t power;
    if (words[0].length < 3 || words[0].length > 6 || words[1].length != 4)
      return qvs_refuse(report, QVS_NOT_FST4W, 0);
    locator = qvs_locator4(&words[1]);
    if (locator == 0xFFFF) return qvs_refuse(report, QVS_BAD_LOCATOR, &words[1]);
    power = qvs_power_code(&words[2], &power_changed);
    if (power == 0xFF) return qvs_refuse(report, QVS_BAD_POWER, &words[2]);
    call = qvs_type1_call28(&words[0], report);
    if (call == 0xFFFFFFFFUL) return qvs_refuse(report, QVS_BAD_CALL, &words[0]);
    qvs_put_bits(bits, 0, call, 28);
    qvs_put_bits(bits, 28, locator, 15);
    qvs_put_bits(bits, 43, power, 5);
    if (form) *form = QVS_FST4W_CALL_GRID_POWER;
  } else if (qvs_at(&words[0], 0) == '<') {
    /* <CALL> GRID */
    uint32_t locator;
    if (words[0].length < 5 || words[0].length > 12 ||
        qvs_at(&words[0], (uint8_t)(words[0].length - 1)) != '>')
      return qvs_refuse(report, QVS_NOT_FST4W, &words[0]);
    /* Inside the brackets: letters, digits and a / between them, as a call is written. */
    call = qvs_hash22(&words[0], 1, (uint8_t)(words[0].length - 2));
    if (call == 0xFFFFFFFFUL || qvs_at(&words[0], 1) == '/' ||
        qvs_at(&words[0], (uint8_t)(words[0].length - 2)) == '/')
      return qvs_refuse(report, QVS_BAD_CALL, &words[0]);
    if (words[1].length != 4 && words[1].length != 6)
      return qvs_refuse(report, QVS_BAD_LOCATOR, &words[1]);
    locator = qvs_locator4(&words[1]);
    if (locator == 0xFFFF) return qvs_refuse(report, QVS_BAD_LOCATOR, &words[1]);
    locator *= 625U;
    if (words[1].length == 4) {
      locator += 624U;
    } else {
      char l5 = qvs_at(&words[1], 4), l6 = qvs_at(&words[1], 5);
      if (l5 < 'A' || l5 > 'X' || l6 < 'A' || l6 > 'X')
        return qvs_refuse(report, QVS_BAD_LOCATOR, &words[1]);
      locator += (uint32_t)(l5 - 'A') * 25U + (uint32_t)(l6 - 'A');
    }
    qvs_put_bits(bits, 0, call, 22);
    qvs_put_bits(bits, 22, locator, 25);
    qvs_put_bits(bits, 47, 2, 3);
    if (form) *form = QVS_FST4W_HASH_GRID;
  } else {
    /* PFX/CALL P or CALL/SFX P */
    const qvs_word* x = &words[0];
    uint8_t after, power;
    uint32_t affix = 0;
    power = qvs_power_code(&words[1], &power_changed);
    if (power == 0xFF) return qvs_refuse(report, QVS_BAD_POWER, &words[1]);
    for (slash = 0; slash < x->length && qvs_at(x, slash) != '/'; ++slash) {
    }
    if (x->length < 5 || x->length > 10 || slash == 0 || slash + 1 >= x->length)
      return qvs_refuse(report, QVS_NOT_FST4W, x);
    after = (uint8_t)(x->length - slash - 1);
    /* Three characters after the slash end in a digit, whether prefix or suffix. */
    if (after == 3 && !qvs_is_digit(qvs_at(x, (uint8_t)(x->length - 1))))
      return qvs_refuse(report, QVS_BAD_AFFIX, x);
    base_length = qvs_base_call(x, &base_first);
    if (base_length == 0) return qvs_refuse(report, QVS_BAD_CALL, x);
    if (slash <= 3) {
      for (i = 0; i < slash; ++i) {
        uint8_t v = qvs_a36(qvs_at(x, i));
        if (v == 0xFF) return qvs_refuse(report, QVS_BAD_AFFIX, x);
        affix = affix * 36U + v;
      }
    } else {
      uint8_t a[3];
      if (after > 3) return qvs_refuse(report, QVS_BAD_AFFIX, x);
      for (i = 0; i < after; ++i) {
        a[i] = qvs_a36(qvs_at(x, (uint8_t)(slash + 1 + i)));
        if (a[i] == 0xFF) return qvs_refuse(report, QVS_BAD_AFFIX, x);
      }
      if (after == 3 && a[2] > 9) return qvs_refuse(report, QVS_BAD_AFFIX, x);
      affix = after == 1 ? a[0] : after == 2 ? 36U * a[0] + a[1] : 360UL * a[0] + 10U * a[1] + a[2];
      affix += QVS_SUFFIX_BASE;
    }
    {
      qvs_word base = *x;
      base.start = (uint8_t)(base.start + base_first);
      base.length = base_length;
      call = qvs_standard_call28(&base, 0, base_length);
      if (call == 0 || call == 0xFFFFFFFFUL) return qvs_refuse(report, QVS_BAD_CALL, x);
    }
    qvs_put_bits(bits, 0, call, 28);
    qvs_put_bits(bits, 28, affix, 16);
    qvs_put_bits(bits, 44, power, 5);
    qvs_put_bits(bits, 49, 1, 1);
    if (form) *form = QVS_FST4W_COMPOUND_POWER;
  }
  if (power_changed) report->changes |= QVS_CHANGED_POWER;
  return QVC_OK;
}
