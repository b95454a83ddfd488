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
#define QVS_SUFFIX_BASE 46656UL /* 36^3: codes below are prefixes */

/* The value of a 4-character locator (AA00-RR99), or 0xFFFF. */
static uint16_t qvs_locator4(const char* g) {
  if (g[0] < 'A' || g[0] > 'R' || g[1] < 'A' || g[1] > 'R' || !qvf_is_digit(g[2]) ||
      !qvf_is_digit(g[3]))
    return 0xFFFF;
  return (uint16_t)((g[0] - 'A') * 1800U + (g[1] - 'A') * 100U + (g[2] - '0') * 10U + (g[3] - '0'));
}

/* The 5-bit code of a power of one or two digits (0-60 dBm in 19 steps), or 0xFF; sets
   QVS_CHANGED_POWER when a receiver shows another figure. */
static uint8_t qvs_power_code(const char* p, uint8_t length, qvc_report* report) {
  uint8_t dbm, code;
  if (length < 1 || length > 2 || !qvf_is_digit(p[0]) || !qvf_is_digit(p[length - 1])) return 0xFF;
  dbm = (uint8_t)qvf_number(p, length);
  code = (uint8_t)((3U * (dbm > 60 ? 60U : dbm) + 5U) / 10U);
  if ((20U * code + 3U) / 6U != dbm) report->changes |= QVS_CHANGED_POWER;
  return code;
}

/* A36 (0-9, A-Z as 0-35), or 36 and above for any other character. */
static uint8_t qvs_a36(char c) {
  return (uint8_t)(qvf_a38(c) - 1);
}

static qvc_status qvs_refuse(qvc_report* report, qvc_status status, uint8_t start, uint8_t length) {
  report->status = status;
  report->word_start = start;
  report->word_length = length;
  return status;
}

qvc_status qvs_fst4w_pack(const char* text, uint8_t bits[QVS_FST4W_BYTES], uint8_t* form,
                          qvc_report* report) {
  qvc_report own;
  char buf[QVS_TEXT_LIMIT];
  uint8_t start[3], length[3], count = 0, i;
  uint8_t power = 0, shape;
  uint32_t call, field;
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
      if (count == 3) return qvs_refuse(report, QVS_NOT_FST4W, 0, 0);
      start[count] = i;
      length[count++] = 0;
    }
    ++length[count - 1];
  }
  if (count == 0) return qvs_refuse(report, QVC_EMPTY_MESSAGE, 0, 0);
  if (count == 1) return qvs_refuse(report, QVS_NOT_FST4W, start[0], length[0]);
  w = buf + start[0];

  if (count == 3) {
    /* CALL GRID P: the call as the 28-bit field takes it, hashed if it is no standard call. */
    uint16_t locator;
    if (length[0] < 3 || length[0] > 6 || length[1] != 4)
      return qvs_refuse(report, QVS_NOT_FST4W, 0, 0);
    locator = qvs_locator4(buf + start[1]);
    if (locator == 0xFFFF) return qvs_refuse(report, QVS_BAD_LOCATOR, start[1], length[1]);
    power = qvs_power_code(buf + start[2], length[2], report);
    if (power == 0xFF) return qvs_refuse(report, QVS_BAD_POWER, start[2], length[2]);
    if (!qvf_call28(w, length[0], &call))
      return qvs_refuse(report, QVS_BAD_CALL, start[0], length[0]);
    if (call >= QVF_CALL28_HASHED && call < QVF_CALL28_STANDARD && w[0] != '<') {
      report->changes |= QVS_CHANGED_CALL_HASHED;
      report->word_start = start[0];
      report->word_length = length[0];
    }
    field = locator;
    shape = QVS_FST4W_CALL_GRID_POWER;
  } else if (w[0] == '<') {
    /* <CALL> GRID: inside the brackets letters, digits and a / between them. */
    const char* g = buf + start[1];
    uint8_t inner = (uint8_t)(length[0] - 2);
    if (length[0] < 5 || length[0] > 12 || w[length[0] - 1] != '>')
      return qvs_refuse(report, QVS_NOT_FST4W, start[0], length[0]);
    for (i = 1; i <= inner; ++i)
      if (qvf_a38(w[i]) <= 0 || ((i == 1 || i == inner) && w[i] == '/'))
        return qvs_refuse(report, QVS_BAD_CALL, start[0], length[0]);
    call = qvf_call_hash(w + 1, inner, 22);
    field = qvs_locator4(g);
    if ((length[1] != 4 && length[1] != 6) || field == 0xFFFF)
      return qvs_refuse(report, QVS_BAD_LOCATOR, start[1], length[1]);
    /* Base 25 for the last two letters; a 4-character locator goes as if they were YY. */
    for (i = 4; i < 6; ++i) {
      char c = length[1] == 4 ? 'Y' : g[i];
      if (c < 'A' || c > (length[1] == 4 ? 'Y' : 'X'))
        return qvs_refuse(report, QVS_BAD_LOCATOR, start[1], length[1]);
      field = field * 25U + (uint32_t)(c - 'A');
    }
    qvs_put_bits(bits, 0, call, 22);
    qvs_put_bits(bits, 22, field, 25);
    shape = QVS_FST4W_HASH_GRID;
  } else {
    /* PFX/CALL P or CALL/SFX P */
    uint8_t slash = qvf_find(w, length[0], '/'), after, base_at, base_length;
    after = (uint8_t)(length[0] - slash - 1);
    power = qvs_power_code(buf + start[1], length[1], report);
    if (power == 0xFF) return qvs_refuse(report, QVS_BAD_POWER, start[1], length[1]);
    if (length[0] < 5 || length[0] > 10 || slash == 0 || slash + 1 >= length[0])
      return qvs_refuse(report, QVS_NOT_FST4W, start[0], length[0]);
    /* Three characters after the slash end in a digit, whether prefix or suffix; a suffix has
       at most three. */
    if ((after == 3 && !qvf_is_digit(w[length[0] - 1])) || (slash > 3 && after > 3))
      return qvs_refuse(report, QVS_BAD_AFFIX, start[0], length[0]);
    if (!qvf_base_call(w, length[0], &base_at, &base_length) ||
        !qvf_call28(w + base_at, base_length, &call))
      return qvs_refuse(report, QVS_BAD_CALL, start[0], length[0]);
    field = 0;
    if (slash <= 3) {
      for (i = 0; i < slash; ++i) {
        if (qvs_a36(w[i]) > 35) return qvs_refuse(report, QVS_BAD_AFFIX, start[0], length[0]);
        field = field * 36U + qvs_a36(w[i]);
      }
    } else {
      /* 1 to 3 characters, the third a digit: base 36, 36 and 10. */
      for (i = 0; i < after; ++i) {
        uint8_t v = qvs_a36(w[slash + 1 + i]);
        if (v > 35) return qvs_refuse(report, QVS_BAD_AFFIX, start[0], length[0]);
        field = field * (i == 2 ? 10U : 36U) + v;
      }
      field += QVS_SUFFIX_BASE;
    }
    shape = QVS_FST4W_COMPOUND_POWER;
  }
  if (shape != QVS_FST4W_HASH_GRID) {
    /* Type 1 puts a 15-bit locator before the power and 00 after it; type 2 a 16-bit code,
       then the power and a 1. */
    uint8_t type2 = (uint8_t)(shape == QVS_FST4W_COMPOUND_POWER);
    qvs_put_bits(bits, 0, call, 28);
    qvs_put_bits(bits, 28, field, (uint8_t)(15 + type2));
    qvs_put_bits(bits, (uint8_t)(43 + type2), power, 5);
    qvs_put_bits(bits, 48, type2, 2);
  } else {
    qvs_put_bits(bits, 47, 2, 3);
  }
  if (form) *form = shape;
  return QVC_OK;
}
