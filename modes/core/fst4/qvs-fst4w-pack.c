/* The FST4W packer: a beacon text in one of three forms to the 50 bits FST4W sends, with the
   77-bit messages' field formats (not WSPR's):
     CALL GRID P       28-bit call, 15-bit locator, 5-bit power code, 00
     PFX/CALL P        28-bit base call, 16-bit prefix or suffix code, 5-bit power code, 1
     CALL/SFX P
     <CALL> GRID       22-bit hash of the call, 25-bit 4- or 6-character locator, 010
   The text is read as the 77-bit packer reads it (its first 37 characters, upper case, words
   between blanks), and calls go through that packer's call fields. */
#include <string.h>

#include "modes/core/fst4/qvs-frame.h"
#include "modes/core/fst4/qvs-fst4.h"
#include "modes/core/ft/qvf-call28.h"
#include "modes/core/ft/qvf-text.h"

#define QVS_TEXT_LIMIT 37
#define QVS_SUFFIX_BASE 46656U /* 36^3: codes below are prefixes */

/* A36 (0-9, A-Z as 0-35), or 36 and above for any other character. */
static uint8_t qvs_a36(char c) {
  return (uint8_t)(qvf_a38(c) - 1);
}

/* The 5-bit code of a power of one or two digits (0-60 dBm in 19 steps of 10/3 dB: 0, 3, 7, 10,
   13 ... 57, 60), or 0xFF; notes when a receiver shows another figure: one above 60 or ending in
   another digit than 0, 3 or 7. */
static uint8_t qvs_power_code(const char* p, uint8_t digits, qvc_report* report) {
  uint8_t dbm = (uint8_t)(p[0] - '0'), code = 0, tenths;
  char last = p[digits - 1];
  if (digits > 2 || dbm > 9 || !qvf_is_digit(last)) return 0xFF;
  if (digits == 2) dbm = (uint8_t)(dbm * 10U + (uint8_t)(last - '0'));
  /* The nearest step: (3 dBm + 5) / 10; the power is a step's own figure (ends in 0, 3 or 7)
     when 3 dBm is within 1 of a multiple of 10, so when the remainder is 4, 5 or 6. */
  for (tenths = (uint8_t)(3U * (dbm > 60 ? 60U : dbm) + 5U); tenths >= 10; tenths -= 10) ++code;
  if (dbm > 60 || (uint8_t)(tenths - 4U) > 2) report->changes |= QVS_CHANGED_POWER;
  return code;
}

qvc_status qvs_fst4w_pack(const char* text, uint8_t bits[QVS_FST4W_BYTES], uint8_t* form,
                          qvc_report* report) {
  qvc_report own;
  char buf[QVS_TEXT_LIMIT];
  uint8_t start[3], length[3], count = 0, i, n, slash;
  uint8_t power = 0, shape = QVS_FST4W_CALL_GRID_POWER, bad = 0, status = QVS_NOT_FST4W;
  uint8_t call_bits = 28; /* then the rest of the 50 bits: */
  uint32_t call = 0, tail;
  uint16_t field;
  const char* w;
  if (report == 0) report = &own;
  memset(report, 0, sizeof *report);
  memset(bits, 0, QVS_FST4W_BYTES);
  /* Words of the first 37 characters, in upper case. */
  for (i = 0; i < QVS_TEXT_LIMIT && text[i] != '\0'; ++i) {
    char c = text[i];
    buf[i] = (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
    if (c == ' ') continue;
    if (i == 0 || text[i - 1] == ' ') {
      if (count == 3) goto refuse;
      start[count] = i;
      length[count++] = 0;
    }
    ++length[count - 1];
  }
  status = QVC_EMPTY_MESSAGE;
  if (count == 0) goto refuse;
  status = QVS_NOT_FST4W;
  if (count == 1) goto refuse;
  w = buf + start[0];
  n = length[0];
  slash = qvf_find(w, n, '/');

  if (count == 3 || w[0] != '<') {
    /* CALL GRID P, or PFX/CALL P and CALL/SFX P: their shape, then the power, the last word. */
    if (count == 3 ? (n < 3 || n > 6 || length[1] != 4)
                   : (n < 5 || n > 10 || slash == 0 || (uint8_t)(slash + 1) >= n))
      goto refuse;
    bad = (uint8_t)(count - 1);
    status = QVS_BAD_POWER;
    power = qvs_power_code(buf + start[bad], length[bad], report);
    if (power == 0xFF) goto refuse;
    bad = 0;
  }
  if (count == 3) {
    /* CALL GRID P: QRZ, a call in brackets (hashed), a standard call, or the hash of any other
       word, which a receiver shows as <...> until it has heard the call. */
    bad = 1;
    status = QVS_BAD_LOCATOR;
    field = qvf_locator(buf + start[1], length[1]);
    if (field == QVF_NOT_LOCATOR) goto refuse;
    bad = 0;
    status = QVS_BAD_CALL;
    if (qvf_is(w, n, QVF_QRZ)) {
      call = 1;
    } else if (w[0] == '<') {
      if (w[n - 1] != '>') goto refuse;
      call = QVF_CALL28_HASHED + qvf_call_hash(w + 1, (uint8_t)(n - 2), 22);
    } else {
      if (!qvf_plain_call28(w, n, &call)) goto refuse;
      if (call < QVF_CALL28_STANDARD) {
        report->changes |= QVS_CHANGED_CALL_HASHED;
        report->word_start = start[0];
        report->word_length = n;
      }
    }
    tail = ((uint32_t)field << 7) | (uint8_t)(power << 2); /* the locator, the power, 00 */
  } else if (w[0] == '<') {
    /* <CALL> GRID: inside the brackets letters, digits and a / between them. */
    const char* g = buf + start[1];
    uint8_t inner = (uint8_t)(n - 2);
    if (n < 5 || n > 12 || w[n - 1] != '>') goto refuse;
    status = QVS_BAD_CALL;
    for (i = 1; i <= inner; ++i)
      if (qvf_a38(w[i]) <= 0 || ((i == 1 || i == inner) && w[i] == '/')) goto refuse;
    call = qvf_call_hash(w + 1, inner, 22);
    bad = 1;
    status = QVS_BAD_LOCATOR;
    field = qvf_locator(g, length[1]);
    if ((length[1] != 4 && length[1] != 6) || field == QVF_NOT_LOCATOR) goto refuse;
    /* Base 25 for the last two letters; a 4-character locator goes as if they were YY. */
    {
      uint8_t l5 = 24, l6 = 24;
      if (length[1] == 6) {
        l5 = (uint8_t)(g[4] - 'A');
        l6 = (uint8_t)(g[5] - 'A');
        if (l5 > 23 || l6 > 23) goto refuse;
      }
      /* The locator, 010. */
      tail = (((uint32_t)field * 625U + (uint16_t)(l5 * 25U + l6)) << 3) | 2U;
    }
    call_bits = 22;
    shape = QVS_FST4W_HASH_GRID;
  } else {
    /* PFX/CALL P or CALL/SFX P; three characters after the slash end in a digit, and a suffix
       has at most three. */
    uint8_t after = (uint8_t)(n - slash - 1), base_at, base_length;
    status = QVS_BAD_AFFIX;
    if ((after == 3 && !qvf_is_digit(w[n - 1])) || (slash > 3 && after > 3)) goto refuse;
    status = QVS_BAD_CALL;
    if (!qvf_base_call(w, n, &base_at, &base_length) ||
        !qvf_plain_call28(w + base_at, base_length, &call))
      goto refuse;
    status = QVS_BAD_AFFIX;
    /* A prefix in base 36; a suffix in base 36, 36 and 10, above all prefixes. */
    {
      uint16_t code = 0;
      uint8_t from = 0, to = slash;
      if (slash > 3) from = (uint8_t)(slash + 1), to = n;
      for (i = from; i < to; ++i) {
        uint8_t v = qvs_a36(w[i]);
        if (v > 35) goto refuse;
        code = (uint16_t)(code * ((uint8_t)(i - slash) == 3 ? 10U : 36U) + v);
      }
      if (slash > 3) code = (uint16_t)(code + QVS_SUFFIX_BASE);
      /* The prefix or suffix, the power, 1. */
      tail = ((uint32_t)code << 6) | (uint8_t)(power << 1) | 1U;
    }
    shape = QVS_FST4W_COMPOUND_POWER;
  }
  qvs_put_bits(bits, 0, call, call_bits);
  qvs_put_bits(bits, call_bits, tail, (uint8_t)(50 - call_bits));
  if (form) *form = shape;
  return QVC_OK;
refuse:
  report->status = status;
  if (count != 0) {
    report->word_start = start[bad];
    report->word_length = length[bad];
  }
  return status;
}
