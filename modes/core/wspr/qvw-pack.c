/* Reading a WSPR message and packing it into n1 and n2: which of the three forms the text takes,
   the grid field, the prefix or suffix of a compound call, the hashed call and the power. What
   the text cannot say is refused with a status; what is changed quietly is said in the
   report's change bits. */
#include <string.h>

#include "../common/qvc-bits.h"
#include "../common/qvc-call.h"
#include "../common/qvc-flash.h"
#include "../common/qvc-list-number.h"
#include "../common/qvc-locator.h"
#include "../common/qvc-text.h"
#include "qvw-wspr.h"

#define QVW_NONE 0xFF
/* A hashed call longer than this is not sent: the reference keeps the key in 12 bytes. */
#define QVW_LONGEST_HASHED_CALL 12

static const int8_t qvw_power_correction[10] QVC_FLASH = {0, -1, 1, 0, -1, 2, 1, 0, -1, 1};

uint8_t qvw_round_power(int32_t dbm) {
  uint8_t clamped = (uint8_t)(dbm < 0 ? 0 : (dbm > 60 ? 60 : dbm)), last = clamped;
  while (last >= 10) last = (uint8_t)(last - 10); /* the last digit, with no divide routine */
  return (uint8_t)(clamped + (int8_t)qvc_flash_byte(&qvw_power_correction[last]));
}

static uint8_t qvw_find(const char* m, char c) {
  uint8_t i;
  for (i = 0; i < QVW_MESSAGE_LENGTH; ++i)
    if (m[i] == c) return i;
  return QVW_NONE;
}

static uint8_t qvw_refuse(qvc_report* report, qvc_status status, uint8_t start, uint8_t length) {
  report->status = status;
  report->word_start = start;
  report->word_length = length;
  return 0;
}

/* Two characters read as digits, unchecked. */
static int16_t qvw_two_digits(const char* at) {
  return (int16_t)(10 * (at[0] - '0') + (at[1] - '0'));
}

/* The type 1 grid field (4 characters): a locator, or one of the report-like words the old
   packer also takes; 0 when it is none of them. */
static uint8_t qvw_pack_grid_field(const char* field, uint16_t* grid) {
  if (qvc_all_blank(field, 4)) return *grid = QVC_BLANK_FIELD, 1;
  if (field[0] == '-') return *grid = (uint16_t)(QVC_BLANK_FIELD + qvw_two_digits(field + 1)), 1;
  if (field[0] == 'R' && field[1] == '-') {
    int16_t number = qvw_two_digits(field + 2);
    return *grid = (uint16_t)(number == 0 ? QVC_BLANK_FIELD : QVC_BLANK_FIELD + 30 + number), 1;
  }
  if (field[0] == 'R' && field[1] == 'O') return *grid = QVC_BLANK_FIELD + 61, 1;
  if (field[0] == 'R' && field[1] == 'R' && field[2] == 'R') return *grid = QVC_BLANK_FIELD + 62, 1;
  if (field[0] == '7' && field[1] == '3') return *grid = QVC_BLANK_FIELD + 63, 1;
  if (qvc_is_locator(field)) return *grid = qvc_locator_value(field), 1;
  return 0;
}

/* The last character each place of a 6-character grid takes: two letters A-R, two digits, two
   letters A-X; letters in either case. */
static const uint8_t qvw_grid_last[] QVC_FLASH = "RR99XX";

static uint8_t qvw_is_six_character_grid(const char* g) {
  uint8_t i;
  for (i = 0; i < 6; ++i) {
    char c = qvc_upper(g[i]);
    char last = (char)qvc_flash_byte(&qvw_grid_last[i]);
    if (c < (last <= '9' ? '0' : 'A') || c > last) return 0;
  }
  return 1;
}

/* The power, read as a whole number from place at to the end (what follows the number is
   ignored); 0 with the refusal set when there is none. */
static uint8_t qvw_read_power(const char* m, uint8_t at, qvw_message* message, qvc_report* report) {
  int32_t dbm = 0;
  uint8_t read = qvc_read_list_number(m + at, (uint8_t)(QVW_MESSAGE_LENGTH - at), &dbm);
  if (read == QVC_LIST_END) return qvw_refuse(report, QVW_POWER_MISSING, 0, 0);
  if (read != QVC_LIST_VALUE) {
    uint8_t end = QVW_MESSAGE_LENGTH;
    while (m[at] == ' ') ++at;
    while (m[end - 1] == ' ') --end;
    return qvw_refuse(report, QVW_POWER_NOT_A_NUMBER, at, (uint8_t)(end - at));
  }
  message->typed_power = dbm;
  message->power = qvw_round_power(dbm);
  if (message->power != dbm) {
    report->changes |= QVW_CHANGED_POWER;
    report->word_start = at;
  }
  return 1;
}

/* n2 of every form: a 15- or 16-bit value over 7 low bits (their sum stays below 2^22, so
   nothing is cut). */
static uint32_t qvw_field2(uint16_t high, uint8_t low) {
  return ((uint32_t)high << 7) + low;
}

/* Digits 0-9, capital letters 10-35, anything else the blank's 36: a prefix character's code. */
static uint8_t qvw_prefix_code(char c) {
  if (qvc_is_digit(c)) return (uint8_t)(c - '0');
  if (qvc_is_letter(c)) return (uint8_t)(c - 'A' + 10);
  return 36;
}

static uint8_t qvw_pack_compound_call(const char* m, uint8_t blank, qvw_message* message,
                                      qvc_report* report) {
  uint8_t slash = qvw_find(m, '/');
  uint8_t length, after, base_start, base_length;
  uint16_t ng;
  uint8_t a = 1;
  uint32_t base;
  if (blank == QVW_NONE || slash > blank) return qvw_refuse(report, QVW_COMPOUND_FORM, 0, 0);
  /* The reference looks at the first 12 characters of the call. */
  length = blank < 12 ? blank : 12;
  if (slash >= length) return qvw_refuse(report, QVW_NOT_A_CALL, 0, length);
  after = (uint8_t)(length - slash - 1);
  base_start = 0;
  base_length = slash;
  if (after <= 1) {
    /* One character: a digit or a capital letter; anything else (or none) is taken as 38. */
    uint8_t s = 38;
    char c = m[slash + 1];
    if (after == 1 && qvc_is_digit(c)) s = (uint8_t)(c - '0');
    if (after == 1 && qvc_is_letter(c)) s = (uint8_t)(c - 'A' + 10);
    ng = (uint16_t)(27232 + s);
  } else if (after == 2) {
    /* Two characters, read as digits without a check; /00-/09 fall on the letters /Q-/Z. The
       value, 60026 plus at most a few thousand either way, is taken modulo 32768. */
    ng = (uint16_t)(60026 - 32768 + qvw_two_digits(m + slash + 1));
  } else {
    /* A prefix: its first three characters, right-aligned, as a base-37 number. */
    char prefix[3];
    uint8_t count = slash < 3 ? slash : 3, i;
    uint16_t value;
    for (i = 0; i < 3; ++i) prefix[i] = i + count >= 3 ? m[i + count - 3] : ' ';
    value = (uint16_t)(1369U * qvw_prefix_code(prefix[0]) + 37U * qvw_prefix_code(prefix[1]) +
                       qvw_prefix_code(prefix[2]));
    a = value >= 32768U;
    ng = (uint16_t)(value - (a ? 32768U : 0));
    base_start = (uint8_t)(slash + 1);
    base_length = after;
  }
  if (!qvc_pack_call(m + base_start, base_length, QVC_CALL_RULES_WSPR, &base))
    return qvw_refuse(report, QVW_NOT_A_CALL, base_start, base_length);
  if (!qvw_read_power(m, (uint8_t)(blank + 1), message, report)) return 0;
  message->type = QVW_TYPE_COMPOUND_CALL;
  message->n1 = base;
  message->n2 = qvw_field2(ng, (uint8_t)(message->power + 1 + a + 64));
  return 1;
}

static uint8_t qvw_pack_hashed_call(const char* m, qvw_message* message, qvc_report* report) {
  uint8_t close = qvw_find(m, '>');
  uint8_t i, blank, grid_length;
  char turned[6];
  const char* grid;
  if (close == QVW_NONE) return qvw_refuse(report, QVW_HASH_NOT_CLOSED, 0, 0);
  if (close == 1) return qvw_refuse(report, QVW_HASH_EMPTY, 0, 0);
  for (i = 1; i < close; ++i) {
    if (m[i] == ' ') return qvw_refuse(report, QVW_HASH_BLANK, 0, 0);
    if (qvc_is_lower(m[i])) return qvw_refuse(report, QVW_HASH_LOWER_CASE, 0, 0);
  }
  if (close - 1 > QVW_LONGEST_HASHED_CALL) return qvw_refuse(report, QVW_HASH_TOO_LONG, 0, 0);
  blank = (uint8_t)(close + 1);
  if (blank >= QVW_MESSAGE_LENGTH || m[blank] != ' ')
    return qvw_refuse(report, QVW_HASH_NO_BLANK, 0, 0);
  grid = m + blank + 1;
  grid_length = (uint8_t)(QVW_MESSAGE_LENGTH - blank - 1);
  if (grid_length > 6) grid_length = 6;
  if (grid_length < 6 || !qvw_is_six_character_grid(grid) || m[blank + 7] != ' ') {
    uint8_t shown = 0;
    while (shown < grid_length && grid[shown] != ' ') ++shown;
    return qvw_refuse(report, QVW_HASH_GRID, (uint8_t)(blank + 1), shown);
  }
  if (!qvw_read_power(m, (uint8_t)(blank + 8), message, report)) return 0;
  /* The grid goes through the call packer, turned by one place so its digits come third. */
  for (i = 0; i < 5; ++i) turned[i] = grid[i + 1];
  turned[5] = grid[0];
  qvc_pack_call(turned, 6, QVC_CALL_RULES_WSPR, &message->n1);
  message->type = QVW_TYPE_HASHED_CALL;
  message->n2 =
      qvw_field2(qvw_call_hash(m + 1, (uint8_t)(close - 1)), (uint8_t)(63 - message->power));
  return 1;
}

/* Why a text that is no compound or hashed message is not type 1 either. */
static void qvw_why_not_type1(const char* m, uint8_t blank, qvc_report* report) {
  uint8_t length, shown = 0;
  uint32_t call;
  if (qvc_all_blank(m, QVW_MESSAGE_LENGTH)) {
    qvw_refuse(report, QVC_EMPTY_MESSAGE, 0, 0);
    return;
  }
  if (blank == 0) {
    qvw_refuse(report, QVW_STARTS_WITH_BLANK, 0, 0);
    return;
  }
  length = blank == QVW_NONE ? QVW_MESSAGE_LENGTH : blank;
  if (blank == QVW_NONE || length < 2 || length > 6 ||
      !qvc_pack_call(m, length, QVC_CALL_RULES_WSPR, &call)) {
    qvw_refuse(report, QVW_TYPE1_CALL, 0, length);
    return;
  }
  if (m[blank + 1] == ' ') {
    qvw_refuse(report, QVW_BLANKS_APART, 0, 0);
    return;
  }
  /* The whole word as typed is quoted, not the four characters a grid would take. */
  while (blank + 1 + shown < QVW_MESSAGE_LENGTH && m[blank + 1 + shown] != ' ') ++shown;
  qvw_refuse(report, QVW_TYPE1_GRID, (uint8_t)(blank + 1), shown);
}

static uint8_t qvw_pack_text(const char* m, qvw_message* message, qvc_report* report) {
  uint8_t blank = qvw_find(m, ' ');
  uint8_t slash = qvw_find(m, '/');
  uint8_t hashed = qvw_find(m, '<') != QVW_NONE;
  if (!hashed && slash == QVW_NONE && blank >= 2 && blank <= 6) {
    uint32_t call;
    uint16_t grid;
    uint8_t is_call = qvc_pack_call(m, blank, QVC_CALL_RULES_WSPR, &call);
    uint8_t rest = blank;
    while (rest < QVW_MESSAGE_LENGTH && m[rest] == ' ') ++rest;
    if (is_call && rest == QVW_MESSAGE_LENGTH)
      return qvw_refuse(report, QVW_GRID_POWER_MISSING, 0, 0);
    if (is_call && qvw_pack_grid_field(m + blank + 1, &grid)) {
      if (!qvw_read_power(m, (uint8_t)(blank + 5), message, report)) return 0;
      message->type = QVW_TYPE_CALL_GRID_POWER;
      message->n1 = call;
      message->n2 = qvw_field2(grid, (uint8_t)(message->power + 64));
      return 1;
    }
  } else if (!hashed && slash != QVW_NONE && slash != 0) {
    if (qvw_pack_compound_call(m, blank, message, report)) return 1;
  } else if (m[0] == '<') {
    return qvw_pack_hashed_call(m, message, report);
  } else if (hashed) {
    return qvw_refuse(report, QVW_HASH_NOT_FIRST, 0, 0);
  } else if (slash == 0) {
    return qvw_refuse(report, QVW_STARTS_WITH_SLASH, 0, 0);
  }
  if (report->status == QVC_OK) qvw_why_not_type1(m, blank, report);
  return 0;
}

void qvw_pack(const char* text, qvw_message* message, qvc_report* report) {
  char* m = message->text;
  uint8_t length = 0;
  const char* rest;
  memset(report, 0, sizeof *report);
  memset(message, 0, sizeof *message);
  while (length < QVW_MESSAGE_LENGTH && text[length] != '\0') ++length;
  qvc_copy_padded(m, QVW_MESSAGE_LENGTH, text, length);
  m[QVW_MESSAGE_LENGTH] = '\0';
  for (rest = text + length; *rest != '\0'; ++rest)
    if (*rest != ' ') report->changes |= QVC_CHANGED_CUT;
  if (!qvw_pack_text(m, message, report)) return;
  qvc_write_bits(message->source, 0, message->n1, 28);
  qvc_write_bits(message->source, 28, message->n2 & 0x3FFFFFUL, 22);
}
