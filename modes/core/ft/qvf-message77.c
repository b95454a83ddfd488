/* Packing a text into a 77-bit message: normalising it, trying the message types in their fixed
   order (the first that takes the text wins, as in every other sender of these messages, so that
   the same text gives the same bits everywhere), the bit layout of each type, and the refusals a
   receiver would make of the bits. */
#include "modes/core/ft/qvf-message77.h"

#include <string.h>

#include "modes/core/ft/qvf-call28.h"
#include "modes/core/ft/qvf-message77-tables.h"
#include "modes/core/ft/qvf-text.h"

#define MAX_WORDS 7 /* more words than this (6 after a CQ merge) fit no type but free text */
#define TELEMETRY_DIGITS 18
#define FREE_TEXT_LENGTH 13
#define LAST_RTTY_NUMBER (8000 + QVF_RTTY_EXCHANGES)
/* The grid-or-report field of the standard messages holds a locator, one of these, or a report
   (QVF_LOCATORS + 35 + report). */
#define NO_GRID (QVF_LOCATORS + 1)
#define GRID_RRR (QVF_LOCATORS + 2)
#define GRID_73 (QVF_LOCATORS + 4)

/* What a message type made of the words. */
enum { DECLINED, PACKED, REFUSED };

typedef struct {
  /* The fields read most come first, where an 8-bit chip reaches them in one instruction. */
  uint8_t* bits;
  uint8_t pos;
  uint8_t count; /* words in w (after the merge); more than MAX_WORDS: too many */
  uint8_t length;
  uint8_t n[MAX_WORDS];
  uint8_t in_at[MAX_WORDS]; /* where the word stands in the caller's text */
  uint8_t in_length[MAX_WORDS];
  const char* w[MAX_WORDS];
  qvc_report report;
  uint32_t call; /* the value of the last 28-bit call field written */
#ifdef QVF_HOST_DETAIL
  qvf_pack77_detail* detail;
#endif
  char text[QVF_TEXT_LENGTH + 1]; /* the normalised text */
  char cq[QVF_WORD_LENGTH + 1];   /* "CQ_" and the word after CQ, when they were merged */
} packer;

/* Writes the low count bits of value (count at most 16), first bit first. */
static void put(packer* p, uint16_t value, uint8_t count) {
  uint8_t *byte = p->bits + (p->pos >> 3), mask = (uint8_t)(0x80 >> (p->pos & 7));
  p->pos = (uint8_t)(p->pos + count);
  value = (uint16_t)(value << (16 - count)); /* the first bit to write on top */
  while (count-- > 0) {
    if (value & 0x8000) *byte |= mask;
    value = (uint16_t)(value << 1);
    mask >>= 1;
    if (mask == 0) {
      mask = 0x80;
      ++byte;
    }
  }
}

/* A field of 17 to 32 bits. */
static void put_long(packer* p, uint32_t value, uint8_t count) {
  put(p, (uint16_t)(value >> 16), (uint8_t)(count - 16));
  put(p, (uint16_t)value, 16);
}

/* The low count bits of a little-endian byte string, the top byte's bits first. */
static void put_wide(packer* p, const uint8_t* number, uint8_t count) {
  while (count > 0) {
    uint8_t take = (uint8_t)(((count - 1) & 7) + 1);
    count = (uint8_t)(count - take);
    put(p, number[count >> 3], take);
  }
}

static uint8_t closed(packer* p, uint8_t i3, uint8_t n3) {
  if (i3 == 0) put(p, n3, 3);
  put(p, i3, 3);
  return PACKED;
}

static void point_at(packer* p, uint8_t at, uint8_t length) {
  p->report.word_start = at;
  p->report.word_length = length;
}

static void change(packer* p, uint32_t bit) {
  p->report.changes |= bit;
}

static void change_at(packer* p, uint32_t bit, uint8_t word) {
  change(p, bit);
  point_at(p, p->in_at[word], p->in_length[word]);
}

static uint8_t refuse(packer* p, qvc_status status) {
  p->report.status = status;
  return REFUSED;
}

static uint8_t refuse_at(packer* p, qvc_status status, uint8_t word) {
  point_at(p, p->in_at[word], p->in_length[word]);
  return refuse(p, status);
}

static uint8_t is(const packer* p, uint8_t word, uint8_t text) {
  return qvf_is(p->w[word], p->n[word], text);
}

static uint8_t has(const packer* p, uint8_t word, char c) {
  return qvf_find(p->w[word], p->n[word], c) < p->n[word];
}

static uint8_t all_digits(const char* text, uint8_t length) {
  uint8_t i;
  for (i = 0; i < length; ++i)
    if (!qvf_is_digit(text[i])) return 0;
  return length > 0;
}

static uint8_t base_call(const packer* p, uint8_t word, uint8_t* at, uint8_t* length) {
  return qvf_base_call(p->w[word], p->n[word], at, length);
}

static uint8_t is_call(const packer* p, uint8_t word) {
  uint8_t at, length;
  return base_call(p, word, &at, &length);
}

/* "<CALL>" with at least three characters inside. */
static uint8_t bracketed(const packer* p, uint8_t word) {
  return p->n[word] > 0 && p->w[word][0] == '<' && qvf_find(p->w[word], p->n[word], '>') >= 4 &&
         has(p, word, '>');
}

/* The text inside the brackets of a word opening with "<": up to ">", or to the end. */
static uint8_t inside_length(const packer* p, uint8_t word) {
  return (uint8_t)(qvf_find(p->w[word], p->n[word], '>') - 1);
}

/* The value of length digits (the caller checked they are), or 9999 for any of 10000 and more:
   no field here tells such numbers apart, and 16 bits cost a small chip less than 32. */
static uint16_t small_number(const char* digits, uint8_t length) {
  uint16_t value = 0;
  while (length-- > 0) value = value > 999 ? 9999 : (uint16_t)(value * 10 + (*digits++ - '0'));
  return value;
}

/* An optional sign and 1 to 9 digits, the only number form a message may hold here. */
static uint8_t signed_number(const char* text, uint8_t length, int16_t* value) {
  uint8_t sign = length > 0 && (text[0] == '+' || text[0] == '-');
  if (length - sign > 9 || !all_digits(text + sign, (uint8_t)(length - sign))) return 0;
  *value = (int16_t)small_number(text + sign, (uint8_t)(length - sign));
  if (text[0] == '-') *value = -*value;
  return 1;
}

#ifdef QVF_HOST_DETAIL
static void book(packer* p, const char* call, uint8_t length) {
  qvf_pack77_detail* d = p->detail;
  if (d == 0 || d->call_count >= 3) return;
  memcpy(d->calls[d->call_count], call, length);
  d->calls[d->call_count++][length] = '\0';
}

static void book_written(packer* p, uint8_t word) {
  book(p, p->w[word], p->n[word]);
}

/* A word in angle brackets goes in as the call inside them. */
static void book_word(packer* p, uint8_t word) {
  if (p->w[word][0] == '<')
    book(p, p->w[word] + 1, inside_length(p, word));
  else
    book(p, p->w[word], p->n[word]);
}
#else
/* A firmware keeps no book of the calls. */
#define book(p, call, length) ((void)0)
#define book_written(p, word) ((void)0)
#define book_word(p, word) ((void)0)
#endif

/* A 28-bit call field of text (a word or part of one); refused when the arithmetic would send
   another call. */
static uint8_t add_call28(packer* p, uint8_t word, uint8_t at, uint8_t length) {
  uint32_t value;
  if (!qvf_call28(p->w[word] + at, length, &value)) {
    if (p->w[word] == p->cq) {
      point_at(p, p->in_at[word], p->in_length[word]);
      return refuse(p, QVF_NO_CQ_MODIFIER);
    }
    point_at(p, (uint8_t)(p->in_at[word] + at), length);
    return refuse(p, QVF_NO_CALL);
  }
  put_long(p, value, 28);
  p->call = value;
  return PACKED;
}

static uint8_t add_word_call28(packer* p, uint8_t word) {
  return add_call28(p, word, 0, p->n[word]);
}

/* Type 0.1: "C1 RR73; C2 <C3> report". */
static uint8_t dxpedition(packer* p) {
  int16_t report;
  if (p->count != 5 || !is(p, 1, QVF_RR73_) || p->w[3][0] != '<' || !has(p, 3, '>'))
    return DECLINED;
  /* -99 stands for "no report" where this layout was designed. */
  if (!signed_number(p->w[4], p->n[4], &report) || report == -99 || !is_call(p, 0) ||
      !is_call(p, 2))
    return DECLINED;
  if (add_word_call28(p, 0) == REFUSED || add_word_call28(p, 2) == REFUSED) return REFUSED;
  put(p, (uint16_t)qvf_call_hash(p->w[3] + 1, inside_length(p, 3), 10), 10);
  report = (report + 30) / 2;
  put(p, (uint16_t)(report < 0 ? 0 : report > 31 ? 31 : report), 5);
  book_written(p, 0);
  book_written(p, 2);
  book_word(p, 3);
  return closed(p, 0, 1);
}

/* Types 0.3 and 0.4: "C1 C2 [R] nX SECTION". */
static uint8_t field_day(packer* p) {
  uint8_t roger = p->count == 5, entry = (uint8_t)(2 + roger), n, section, transmitters;
  int8_t category;
  if (p->count != 4 && p->count != 5) return DECLINED;
  if (roger && !is(p, 2, QVF_R)) return DECLINED;
  n = p->n[entry];
  section = qvf_field_day_section(p->w[entry + 1], p->n[entry + 1]);
  if (section == 0 || n < 2 || n > 3 || !is_call(p, 0) || !is_call(p, 1)) return DECLINED;
  if (!all_digits(p->w[entry], (uint8_t)(n - 1))) return DECLINED;
  transmitters = (uint8_t)qvf_number(p->w[entry], (uint8_t)(n - 1));
  if (transmitters < 1 || transmitters > 32) return DECLINED;
  category = (int8_t)(p->w[entry][n - 1] - 'A');
  if (category < 0 || category > 7) {
    point_at(p, (uint8_t)(p->in_at[entry] + n - 1), 1);
    return refuse(p, QVF_BAD_FIELD_DAY_CLASS);
  }
  if (add_word_call28(p, 0) == REFUSED || add_word_call28(p, 1) == REFUSED) return REFUSED;
  put(p, roger, 1);
  put(p, (uint16_t)((transmitters - 1) % 16), 4);
  put(p, (uint16_t)category, 3);
  put(p, section, 7);
  book_written(p, 0);
  book_written(p, 1);
  return closed(p, 0, transmitters > 16 ? 4 : 3);
}

/* Type 0.5: up to 18 hex digits below 2^71; declined when the text is not hex at all. */
static uint8_t telemetry(packer* p) {
  uint8_t number[9], i, length = p->length < TELEMETRY_DIGITS ? p->length : TELEMETRY_DIGITS;
  /* A plus sign may stand in front, as in any number read; it counts in the 18 characters. */
  uint8_t plus = length > 0 && p->text[0] == '+';
  if (length == plus && p->length > 0) return DECLINED;
  memset(number, 0, sizeof number);
  for (i = plus; i < length; ++i) {
    char c = p->text[i];
    uint8_t digit;
    if (qvf_is_digit(c))
      digit = (uint8_t)(c - '0');
    else if (c >= 'A' && c <= 'F')
      digit = (uint8_t)(c - 'A' + 10);
    else
      return DECLINED;
    qvf_multiply_add(number, 9, 16, digit, 0);
  }
  if (number[8] & 0x80) {
    change(p, QVF_CHANGED_HEX_TOO_LARGE);
    return DECLINED;
  }
  if (p->length > TELEMETRY_DIGITS) change(p, QVF_CHANGED_TELEMETRY_CUT);
  if (plus) change(p, QVF_CHANGED_TELEMETRY_PLUS);
  put_wide(p, number, 71);
  return closed(p, 0, 5);
}

/* The power word of the WSPR-style type: one or two digits, dBm sent in steps of 10/3 dB. */
static uint8_t power_code(const packer* p, uint8_t word, uint8_t* code) {
  uint8_t tenths, steps = 0;
  if (p->n[word] > 2 || !all_digits(p->w[word], p->n[word])) return 0;
  tenths = (uint8_t)small_number(p->w[word], p->n[word]);
  if (tenths > 60) tenths = 60;
  /* (dbm * 3 + 5) / 10, counted out: a small chip has no divider */
  for (tenths = (uint8_t)(tenths * 3 + 5); tenths >= 10; tenths = (uint8_t)(tenths - 10)) ++steps;
  *code = steps;
  return 1;
}

static int8_t a36(char c) {
  if (qvf_is_digit(c)) return (int8_t)(c - '0');
  if (qvf_is_letter(c)) return (int8_t)(c - 'A' + 10);
  return -1;
}

/* Type 0.6, WSPR-style: "CALL LOCATOR POWER" or "CALL/SUFFIX POWER", "PREFIX/CALL POWER". */
static uint8_t wspr_style(packer* p) {
  uint8_t power, slash, after, base_at, base_n, i;
  const char* w = p->w[0];
  int32_t affix = 0;
  if (p->count == 3 && p->n[0] >= 3 && p->n[0] <= 6 && p->n[1] == 4 &&
      qvf_is_locator(p->w[1], p->n[1])) {
    if (!power_code(p, 2, &power)) return DECLINED;
    if (add_word_call28(p, 0) == REFUSED) return REFUSED;
    put(p, qvf_locator_value(p->w[1]), 15);
    put(p, power, 5);
    p->pos = (uint8_t)(p->pos + 23); /* zero bits */
    book_written(p, 0);
    return closed(p, 0, 6);
  }
  if (p->count != 2 || p->n[0] < 5 || p->n[0] > 10) return DECLINED;
  slash = qvf_find(w, p->n[0], '/');
  after = (uint8_t)(p->n[0] - slash - 1);
  if (slash == p->n[0] || slash == 0 || after == 0 || !base_call(p, 0, &base_at, &base_n) ||
      !power_code(p, 1, &power))
    return DECLINED;
  if (after == 3 && !qvf_is_digit(w[slash + 3])) return DECLINED;
  if (slash + 1 <= 4) {
    for (i = 0; i < slash; ++i) affix = affix * 36 + a36(w[i]);
  } else {
    if (after > 3) return refuse_at(p, QVF_SUFFIX_TOO_LONG, 0);
    if (after == 3) {
      affix = 360 * (int32_t)a36(w[slash + 1]) + 10 * a36(w[slash + 2]) + a36(w[slash + 3]);
    } else {
      for (i = (uint8_t)(slash + 1); i < p->n[0]; ++i) affix = affix * 36 + a36(w[i]);
    }
    affix += 36L * 36 * 36;
  }
  if (affix < 0) return refuse_at(p, QVF_BAD_AFFIX, 0);
  if (add_call28(p, 0, base_at, base_n) == REFUSED) return REFUSED;
  put(p, (uint16_t)affix, 16);
  put(p, power, 5);
  put(p, 1, 1);
  p->pos = (uint8_t)(p->pos + 21); /* zero bits */
  book(p, w + base_at, base_n);
  return closed(p, 0, 6);
}

static uint8_t is_cq_word(const packer* p, uint8_t word) {
  return is(p, word, QVF_DE) || is(p, word, QVF_QRZ) || is(p, word, QVF_CQ) ||
         qvf_starts(p->w[word], p->n[word], QVF_CQ_);
}

/* "/P" or "/R" after a call travels as a flag; any other prefix or suffix is lost. */
static uint8_t rover_or_portable(const packer* p, uint8_t word) {
  uint8_t n = p->n[word], slash = n;
  const char* w = p->w[word];
  while (slash > 0 && w[slash - 1] != '/') --slash;
  return slash >= 4 && slash + 1 == n && (w[n - 1] == 'P' || w[n - 1] == 'R');
}

/* The grid-or-report field of types 1 and 2 and its R bit; 0 when the last word is neither. A
   value above 0x7FFF stands for a report of more than two digits. */
static uint8_t grid_field(const packer* p, uint16_t* value, uint8_t* roger) {
  uint8_t last = (uint8_t)(p->count - 1), r;
  const char* w = p->w[last];
  int16_t report;
  *roger = 0;
  if (p->count == 2) {
    *value = NO_GRID;
    return 1;
  }
  /* "RR73" is also a locator, and goes as one: the code for it is only ever decoded. */
  if (qvf_is_locator(w, p->n[last])) {
    *value = qvf_locator_value(w);
    *roger = p->count == 4;
    return 1;
  }
  if (is(p, last, QVF_RRR) || is(p, last, QVF_73)) {
    *value = w[0] == 'R' ? GRID_RRR : GRID_73;
    return 1;
  }
  r = p->n[last] >= 2 && w[0] == 'R' && (w[1] == '+' || w[1] == '-');
  if (!r && w[0] != '+' && w[0] != '-') return 0;
  if (!signed_number(w + r, (uint8_t)(p->n[last] - r), &report)) return 0;
  *roger = r;
  /* Reports of three digits and more come out as other reports, or none at all. */
  if (report < -99 || report > 99) {
    *value = 0xFFFF;
    return 1;
  }
  if (report >= -50 && report <= -31) report += 101; /* the lowest take the codes above +50 */
  *value = (uint16_t)(QVF_LOCATORS + 35 + report);
  return 1;
}

/* Types 1 and 2: "C1 C2", "C1 C2 GRID-OR-REPORT", "C1 C2 R GRID". */
static uint8_t standard(packer* p) {
  uint8_t i, roger, portable = 0, at, n;
  uint16_t grid;
  uint32_t first = 0;
  if (p->count < 2 || p->count > 4) return DECLINED;
  if (!(is_cq_word(p, 0) || bracketed(p, 0) || is_call(p, 0))) return DECLINED;
  if (!(bracketed(p, 1) || is_call(p, 1))) return DECLINED;
  /* A hashed call beside a compound one: type 4 sends the compound one whole. */
  if ((p->w[0][0] == '<' && has(p, 1, '/')) || (p->w[1][0] == '<' && has(p, 0, '/')))
    return DECLINED;
  if (p->count == 2 && has(p, 1, '/')) return DECLINED;
  if (p->count == 4 && !is(p, 2, QVF_R)) return DECLINED;
  if (!grid_field(p, &grid, &roger)) return DECLINED;
  if (grid == 0xFFFF) return refuse_at(p, QVF_REPORT_TOO_LONG, (uint8_t)(p->count - 1));
  if (p->count == 4 && grid >= QVF_LOCATORS)
    change_at(p, QVF_CHANGED_ROGER_DROPPED, (uint8_t)(p->count - 1));
  for (i = 0; i < 2; ++i) {
    at = 0;
    n = p->n[i];
    if (!is_cq_word(p, i) && !bracketed(p, i)) base_call(p, i, &at, &n);
    if (add_call28(p, i, at, n) == REFUSED) return REFUSED;
    if (i == 0) first = p->call;
    put(p, rover_or_portable(p, i), 1);
    portable |= rover_or_portable(p, i) && p->w[i][p->n[i] - 1] == 'P';
    if (bracketed(p, i))
      book_word(p, i);
    else
      book(p, p->w[i] + at, n);
  }
  put(p, roger, 1);
  put(p, grid, 15);
  /* A receiver refuses these: CQ calls for answers, so a reply's R, RRR, RR73, 73 or report after
     it makes no sense, and "CQ <CALL>" would hide the very call that calls. */
  if (first >= 2 && first < QVF_CALL28_HASHED &&
      ((roger && grid < QVF_LOCATORS) || grid >= GRID_RRR))
    return refuse(p, QVF_CQ_WITH_REPLY);
  if (first == 2 && p->call >= QVF_CALL28_HASHED && p->call < QVF_CALL28_STANDARD)
    return refuse(p, QVF_CQ_WITH_HASHED);
  return closed(p, portable ? 2 : 1, 0);
}

/* Type 3: "[TU;] C1 C2 [R] RST EXCHANGE", the exchange a state or province or a serial number.
   The last two words decide whether this is the type; the fields are then read from the front,
   so words out of place leave no report to send. */
static uint8_t rtty_roundup(packer* p) {
  uint8_t at = p->count > 0 && is(p, 0, QVF_TU), last = (uint8_t)(p->count - 1), roger, rst, place;
  uint8_t plus, steps = 0;
  uint16_t number, report;
  const char* r;
  if (p->count < 4 || p->count > 6 || at + 4 > p->count) return DECLINED;
  if (!is_call(p, at) || !is_call(p, (uint8_t)(at + 1)) || has(p, (uint8_t)(last - 1), '+') ||
      has(p, (uint8_t)(last - 1), '-'))
    return DECLINED;
  place = qvf_rtty_exchange(p->w[last], p->n[last]);
  if (place != 0) {
    number = 8000U + place;
  } else {
    r = p->w[last - 1];
    /* A serial number is read as a number: a plus sign may stand in front. */
    plus = p->w[last][0] == '+';
    if (!(p->n[last - 1] == 3 && r[0] == '5' && r[1] >= '2' && r[1] <= '9' && r[2] == '9') ||
        !all_digits(p->w[last] + plus, (uint8_t)(p->n[last] - plus)))
      return DECLINED;
    number = p->n[last] - plus > 9 ? LAST_RTTY_NUMBER + 1
                                   : small_number(p->w[last] + plus, (uint8_t)(p->n[last] - plus));
    if (number == 0) return DECLINED;
    if (number > LAST_RTTY_NUMBER) return refuse_at(p, QVF_SERIAL_TOO_LARGE, last);
    if (number > 8000) change(p, QVF_CHANGED_SERIAL_AS_LIST);
  }
  roger = is(p, (uint8_t)(at + 2), QVF_R);
  rst = (uint8_t)(at + 2 + roger);
  if (p->n[rst] > 9 || !all_digits(p->w[rst], p->n[rst]))
    return refuse_at(p, QVF_REPORT_NOT_NUMBER, rst);
  if (at + 4 + roger != p->count) change(p, QVF_CHANGED_EXTRA_WORDS);
  /* (rst - 509) / 10 - 2, held to 0-7, counted out */
  for (report = small_number(p->w[rst], p->n[rst]); report >= 539 && steps < 7; report -= 10)
    ++steps;
  put(p, at, 1);
  if (add_word_call28(p, at) == REFUSED || add_word_call28(p, (uint8_t)(at + 1)) == REFUSED)
    return REFUSED;
  put(p, roger, 1);
  put(p, steps, 3);
  put(p, number, 13);
  book_written(p, at);
  book_written(p, (uint8_t)(at + 1));
  return closed(p, 3, 0);
}

static uint8_t standard_call(const char* call, uint8_t length) {
  uint8_t at, n;
  return qvf_find(call, length, '/') == length && qvf_base_call(call, length, &at, &n);
}

/* Type 4: one call that no other field holds, sent whole, beside a hashed call or after CQ. */
static uint8_t nonstandard(packer* p) {
  uint8_t cq, first_hashed, second_hashed, plain, hashed_word, i, closing = 0, number[8], n;
  const char* hashed;
  uint8_t hashed_n;
  if (p->count != 2 && p->count != 3) return DECLINED;
  cq = is(p, 0, QVF_CQ);
  if (cq && p->n[1] <= 4) return DECLINED;
  first_hashed = p->w[0][0] == '<';
  second_hashed = p->w[1][0] == '<';
  if (!cq && !first_hashed && !second_hashed) {
    /* Two calls, one compound, neither hashed: this layout has room for only one of them. */
    if (is_call(p, 0) && is_call(p, 1) && (has(p, 0, '/') || has(p, 1, '/')))
      return refuse(p, QVF_TWO_WHOLE_CALLS);
    return DECLINED;
  }
  if (!cq && first_hashed && second_hashed) return refuse(p, QVF_TWO_HASHED_CALLS);
  plain = cq || first_hashed;
  hashed_word = first_hashed ? 0 : 1;
  if (cq) {
    hashed = p->w[plain];
    hashed_n = p->n[plain];
  } else {
    hashed = p->w[hashed_word] + 1;
    hashed_n = inside_length(p, hashed_word);
    if (hashed_n < 3 || qvf_is(hashed, hashed_n, QVF_DOTS))
      return refuse_at(p, QVF_HASHED_TOO_SHORT, hashed_word);
    /* Two standard calls go in the standard message, or nowhere. */
    if (standard_call(p->w[plain], p->n[plain]) && standard_call(hashed, hashed_n)) return DECLINED;
  }
  n = p->n[plain] < 11 ? p->n[plain] : 11;
  memset(number, 0, sizeof number);
  for (i = 0; i < n; ++i) {
    int8_t code = qvf_a38(p->w[plain][i]);
    if (code < 0) return refuse_at(p, QVF_BAD_CALL_CHARACTER, plain);
    qvf_multiply_add(number, 8, 38, (uint8_t)code, 0);
  }
  if (p->n[plain] > 11) change(p, QVC_CHANGED_CALL_CUT);
  if (p->count == 3) {
    if (!cq) closing = is(p, 2, QVF_RRR) ? 1 : is(p, 2, QVF_RR73) ? 2 : is(p, 2, QVF_73) ? 3 : 0;
    if (closing == 0) change_at(p, QVF_CHANGED_WORD_DROPPED, 2);
  }
  put(p, (uint16_t)qvf_call_hash(hashed, hashed_n, 12), 12);
  put_wide(p, number, 58);
  put(p, !cq && second_hashed, 1);
  put(p, closing, 2);
  put(p, cq, 1);
  book_word(p, 0);
  book_word(p, 1);
  return closed(p, 4, 0);
}

/* Type 5, EU VHF contest: "<C1> <C2> [R] RRSSSS LOCATOR6". */
static uint8_t eu_vhf(packer* p) {
  uint8_t roger = p->count == 5, exchange = (uint8_t)(2 + roger), locator = (uint8_t)(3 + roger);
  const char *l, *e = p->w[exchange];
  uint8_t block;
  uint16_t serial;
  if (p->count != 4 && p->count != 5) return DECLINED;
  if ((roger && !is(p, 2, QVF_R)) || !bracketed(p, 0) || !bracketed(p, 1)) return DECLINED;
  /* RRSSSS from 520001 to 594095: six digits, the block RR and the serial SSSS apart */
  if (p->n[exchange] != 6 || !all_digits(e, 6)) return DECLINED;
  block = (uint8_t)((e[0] - '0') * 10 + (e[1] - '0'));
  serial = small_number(e + 2, 4);
  l = p->w[locator];
  if (block < 52 || block > 59 || (block == 52 && serial == 0) || (block == 59 && serial > 4095) ||
      p->n[locator] < 6 || !qvf_is_locator(l, p->n[locator]) || l[4] < 'A' || l[4] > 'X' ||
      l[5] < 'A' || l[5] > 'X')
    return DECLINED;
  if (serial > 2047) {
    change(p, QVF_CHANGED_SERIAL_CLAMPED);
    serial = 2047;
  }
  if (p->n[locator] > 6) change(p, QVF_CHANGED_LOCATOR_CUT);
  put(p, (uint16_t)qvf_call_hash(p->w[0] + 1, inside_length(p, 0), 12), 12);
  put_long(p, qvf_call_hash(p->w[1] + 1, inside_length(p, 1), 22), 22);
  put(p, roger, 1);
  put(p, (uint8_t)(block - 52), 3);
  put(p, serial, 11);
  put_long(p, (uint32_t)qvf_locator_value(l) * 576 + (uint32_t)((l[4] - 'A') * 24 + (l[5] - 'A')),
           25);
  book_word(p, 0);
  book_word(p, 1);
  return closed(p, 5, 0);
}

static uint8_t a42(char c) {
  uint8_t i;
  if (qvf_is_digit(c)) return (uint8_t)(c - '0' + 1);
  if (qvf_is_letter(c)) return (uint8_t)(c - 'A' + 11);
  for (i = 0; i < 5; ++i)
    if (qvf_word_char((uint8_t)(QVF_SIGNS + i)) == c) return (uint8_t)(37 + i);
  return 0; /* a blank, or a character free text lacks: sent as a blank */
}

/* Type 0.0: 13 characters of text; refused when none of them can be sent. */
static uint8_t free_text(packer* p) {
  uint8_t number[9], kept = p->length < FREE_TEXT_LENGTH ? p->length : FREE_TEXT_LENGTH, i, any = 0;
  if (p->length > FREE_TEXT_LENGTH) change(p, QVC_CHANGED_CUT);
  while (kept > 0 && p->text[kept - 1] == ' ') --kept;
  memset(number, 0, sizeof number);
  for (i = 0; i < FREE_TEXT_LENGTH; ++i) {
    uint8_t code = i + kept < FREE_TEXT_LENGTH ? 0 : a42(p->text[i + kept - FREE_TEXT_LENGTH]);
    any |= code;
    qvf_multiply_add(number, 9, 42, code, 0);
  }
  if (!any) return refuse(p, QVF_NO_TEXT);
  put_wide(p, number, 71);
  return closed(p, 0, 0);
}

/* The normalised text: the first 37 characters, upper case, single blanks, none at the ends; and
   its words as the types see them, each cut to 13 characters. "CQ xx CALL ..." makes "CQ_xx" one
   word. */
static void read_words(packer* p, const char* input) {
  uint8_t i, raw = 0;
  p->length = 0;
  p->count = 0;
  for (i = 0; i < QVF_TEXT_LENGTH && input[i] != '\0'; ++i) {
    char c = input[i];
    if (c == ' ') {
      if (p->length > 0 && p->text[p->length - 1] != ' ') p->text[p->length++] = ' ';
      continue;
    }
    if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    if (p->length == 0 || p->text[p->length - 1] == ' ') {
      if (raw < MAX_WORDS) {
        p->w[raw] = p->text + p->length;
        p->n[raw] = 0;
        p->in_at[raw] = i;
      }
      ++raw;
    }
    if (raw <= MAX_WORDS && p->n[raw - 1] < QVF_WORD_LENGTH) {
      ++p->n[raw - 1];
      p->in_length[raw - 1] = (uint8_t)(i + 1 - p->in_at[raw - 1]);
    }
    p->text[p->length++] = c;
  }
  if (p->length > 0 && p->text[p->length - 1] == ' ') --p->length;
  p->text[p->length] = '\0';
  p->count = raw;
  if (raw > MAX_WORDS || raw < 3 || !is(p, 0, QVF_CQ) || !is_call(p, 2)) return;
  /* the merge */
  p->cq[0] = 'C';
  p->cq[1] = 'Q';
  p->cq[2] = '_';
  p->n[0] = (uint8_t)(3 + (p->n[1] < 10 ? p->n[1] : 10));
  memcpy(p->cq + 3, p->w[1], (uint8_t)(p->n[0] - 3));
  p->w[0] = p->cq;
  p->in_length[0] = (uint8_t)(p->in_at[1] + (p->n[0] - 3) - p->in_at[0]);
  for (i = 1; i + 1 < raw; ++i) {
    p->w[i] = p->w[i + 1];
    p->n[i] = p->n[i + 1];
    p->in_at[i] = p->in_at[i + 1];
    p->in_length[i] = p->in_length[i + 1];
  }
  p->count = (uint8_t)(raw - 1);
}

static uint8_t opens_with(const packer* p, uint8_t word) {
  uint8_t n = qvf_starts(p->text, p->length, word);
  return n != 0 && (p->length == n || p->text[n] == ' ');
}

static uint8_t opens_with_cq_de_qrz(const packer* p) {
  return opens_with(p, QVF_CQ) || opens_with(p, QVF_DE) || opens_with(p, QVF_QRZ);
}

/* Clears the bits a type that declined may have written. */
static void restart(packer* p) {
  memset(p->bits, 0, QVF_MESSAGE77_BYTES);
  p->pos = 0;
}

static uint8_t pack_words(packer* p) {
  uint8_t outcome = DECLINED;
  if (p->count <= MAX_WORDS) {
    if (!opens_with_cq_de_qrz(p)) {
      if ((outcome = dxpedition(p)) != DECLINED) return outcome;
      restart(p);
      if ((outcome = field_day(p)) != DECLINED) return outcome;
      restart(p);
      if (p->count <= 1 && (outcome = telemetry(p)) != DECLINED) return outcome;
      restart(p);
    }
    if ((outcome = wspr_style(p)) != DECLINED) return outcome;
    restart(p);
    if ((outcome = standard(p)) != DECLINED) return outcome;
    restart(p);
    if ((outcome = rtty_roundup(p)) != DECLINED) return outcome;
    restart(p);
    if ((outcome = nonstandard(p)) != DECLINED) return outcome;
    restart(p);
    if ((outcome = eu_vhf(p)) != DECLINED) return outcome;
    restart(p);
  }
  return free_text(p);
}

/* The text packed into bits77; the host's build also fills detail. */
static qvc_status pack77(const char* text, uint8_t bits77[QVF_MESSAGE77_BYTES], qvc_report* report,
                         void* detail) {
  packer p;
  memset(&p.report, 0, sizeof p.report);
  p.bits = bits77;
  p.pos = 0;
  memset(bits77, 0, QVF_MESSAGE77_BYTES);
  read_words(&p, text);
  if (strlen(text) > QVF_TEXT_LENGTH) change(&p, QVF_CHANGED_INPUT_CUT);
#ifdef QVF_HOST_DETAIL
  p.detail = (qvf_pack77_detail*)detail;
  if (p.detail != 0) {
    p.detail->call_count = 0;
    memcpy(p.detail->text, p.text, (size_t)p.length + 1);
  }
#else
  (void)detail;
#endif
  if (pack_words(&p) == REFUSED) {
    memset(bits77, 0, QVF_MESSAGE77_BYTES);
#ifdef QVF_HOST_DETAIL
    if (p.detail != 0) p.detail->call_count = 0;
#endif
  }
  if (report != 0) *report = p.report;
  return p.report.status;
}

#ifdef QVF_HOST_DETAIL
qvc_status qvf_pack77_detailed(const char* text, uint8_t bits77[QVF_MESSAGE77_BYTES],
                               qvc_report* report, qvf_pack77_detail* detail) {
  return pack77(text, bits77, report, detail);
}
#endif

qvc_status qvf_pack77(const char* text, uint8_t bits77[QVF_MESSAGE77_BYTES], qvc_report* report) {
  return pack77(text, bits77, report, 0);
}
