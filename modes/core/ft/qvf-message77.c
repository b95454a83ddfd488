/* Packing a text into a 77-bit message: normalising it, trying the message types in their fixed
   order (the first that takes the text wins, as in every other sender of these messages, so that
   the same text gives the same bits everywhere), the bit layout of each type, and the refusals a
   receiver would make of the bits. */
#include "modes/core/ft/qvf-message77.h"

#include <string.h>

#include "modes/core/common/qvc-flash.h"
#include "modes/core/ft/qvf-call28.h"
#include "modes/core/ft/qvf-message77-tables.h"
#include "modes/core/ft/qvf-text.h"

#define MAX_WORDS 7    /* more words than this (6 after a CQ merge) fit no type but free text */
#define SHAPED_WORDS 5 /* the words whose shape is found (a type takes at most 6) */
#define TELEMETRY_DIGITS 18
#define FREE_TEXT_LENGTH 13
#define LAST_RTTY_NUMBER (8000 + QVF_RTTY_EXCHANGES)
/* The grid-or-report field of the standard messages holds a locator, one of these, or a report
   (QVF_LOCATORS + 35 + report). */
#define NO_GRID (QVF_LOCATORS + 1)
#define GRID_RRR (QVF_LOCATORS + 2)
#define GRID_73 (QVF_LOCATORS + 4)

/* What every type asks of a word, found once for all of them when the text is read: one bit
   tested costs less than a helper called with the word's pointer and length at every question. */
#define IS_CALL 0x01       /* passes the call check */
#define IS_BRACKETED 0x02  /* "<CALL>" with at least three characters inside */
#define IS_OPEN 0x04       /* opens with "<" */
#define IS_SLASHED 0x08    /* holds a "/" */
#define IS_CLOSED 0x10     /* holds a ">" */
#define IS_SIGNED 0x20     /* holds a "+" or "-" */
#define IS_CQ_WORD 0x40    /* DE, QRZ, CQ or "CQ_..." */
#define IS_ALL_DIGITS 0x80 /* one digit or more and nothing else */
#define W(word) ((const char*)m.text + m.at[word])
#define SHAPE(word, facts) (m.shape[word] & (facts))
#define IS(word, list_word) (m.id[word] == (list_word) + 1)

/* Each change's place among bits 16-31. */
#define BIT_QVF_CHANGED_INPUT_CUT 0
#define BIT_QVF_CHANGED_HEX_TOO_LARGE 1
#define BIT_QVF_CHANGED_TELEMETRY_CUT 2
#define BIT_QVF_CHANGED_TELEMETRY_PLUS 3
#define BIT_QVF_CHANGED_ROGER_DROPPED 4
#define BIT_QVF_CHANGED_SERIAL_AS_LIST 5
#define BIT_QVF_CHANGED_EXTRA_WORDS 6
#define BIT_QVF_CHANGED_WORD_DROPPED 7
#define BIT_QVF_CHANGED_SERIAL_CLAMPED 8
#define BIT_QVF_CHANGED_LOCATOR_CUT 9
/* Never defined: the array size fails to compile when a place and the header's bit disagree. */
extern char qvf_change_places_match
    [(QVF_CHANGED_INPUT_CUT >> BIT_QVF_CHANGED_INPUT_CUT) == 1UL << 16 &&
             (QVF_CHANGED_HEX_TOO_LARGE >> BIT_QVF_CHANGED_HEX_TOO_LARGE) == 1UL << 16 &&
             (QVF_CHANGED_TELEMETRY_CUT >> BIT_QVF_CHANGED_TELEMETRY_CUT) == 1UL << 16 &&
             (QVF_CHANGED_TELEMETRY_PLUS >> BIT_QVF_CHANGED_TELEMETRY_PLUS) == 1UL << 16 &&
             (QVF_CHANGED_ROGER_DROPPED >> BIT_QVF_CHANGED_ROGER_DROPPED) == 1UL << 16 &&
             (QVF_CHANGED_SERIAL_AS_LIST >> BIT_QVF_CHANGED_SERIAL_AS_LIST) == 1UL << 16 &&
             (QVF_CHANGED_EXTRA_WORDS >> BIT_QVF_CHANGED_EXTRA_WORDS) == 1UL << 16 &&
             (QVF_CHANGED_WORD_DROPPED >> BIT_QVF_CHANGED_WORD_DROPPED) == 1UL << 16 &&
             (QVF_CHANGED_SERIAL_CLAMPED >> BIT_QVF_CHANGED_SERIAL_CLAMPED) == 1UL << 16 &&
             (QVF_CHANGED_LOCATOR_CUT >> BIT_QVF_CHANGED_LOCATOR_CUT) == 1UL << 16
         ? 1
         : -1];

/* What a message type made of the words: DECLINED, REFUSED, or the type it packed as the six
   bits n3 and i3 that end the message (n3 is 0 unless i3 is). Those bits are written once, by
   the end, for every type: a code handed back costs each type less than a call that writes them.
   At bit 71 the six bits can be written for every type, since writing only sets bits: the zeros
   of n3 leave a wider payload's bits 71-73 as they are. */
#define DECLINED 0xFF
#define REFUSED 0xFE
#define TYPE(i3, n3) ((uint8_t)((n3) << 3 | (i3)))

typedef struct {
  uint8_t count;  /* words (after the merge); more than MAX_WORDS: too many */
  uint8_t merged; /* "CQ xx" became one word */
  uint8_t length;
  /* A word's place, length and place in the caller's text; words after the seventh all share
     the last entry, which no type reads (see read_words). */
  uint8_t n[MAX_WORDS + 1];
  uint8_t in_at[MAX_WORDS + 1];
  uint8_t span0;               /* the length of word 0 there ("CQ xx" when they were merged) */
  uint8_t shape[SHAPED_WORDS]; /* the IS_* facts of each word, read once */
  uint8_t id[SHAPED_WORDS];    /* 1 + the place of the list word (QVF_DE ...) the word is, or 0 */
  /* The call part of each word (see qvf_base_call; the whole word when it is no call), found
     once with its shape: kept at fixed places, it needs no stack frame for the results. */
  uint8_t base_at[SHAPED_WORDS];
  uint8_t base_n[SHAPED_WORDS];
  uint8_t inside[SHAPED_WORDS]; /* the length before the first ">" less one (see inside_length) */
  uint8_t at[MAX_WORDS + 1];    /* where the word starts in text: see W() */
  uint8_t bits[QVF_MESSAGE77_BYTES]; /* handed to the caller at the end */
  uint8_t number[9];                 /* a wide field being counted up, little-endian */
  uint8_t pos;
  qvc_report report;
  uint16_t changed; /* bits 16-31 of report.changes */
  uint8_t cut;      /* QVC_CHANGED_CUT, QVC_CHANGED_CALL_CUT: one byte to set, not four */
  uint32_t call;    /* the value of the last 28-bit call field written */
#ifdef QVF_HOST_DETAIL
  qvf_pack77_detail* detail;
#endif
  /* The normalised text. A word is text + at: a byte for each word's start costs less than a
     pointer to read and keep. */
  char text[QVF_TEXT_LENGTH + 1];
} packer;

/* The message being packed. One workspace, not a packer handed from function to function: an
   8-bit chip reaches a fixed address without the pointer every call would pass and keep. The
   host's build gives each thread its own. */
#ifdef QVF_HOST_DETAIL
static _Thread_local packer m;
#else
static packer m;
#endif

/* Writes the low count bits of value (count at most 16), first bit first. */
static void put(uint16_t value, uint8_t count) {
  uint8_t pos = m.pos;
  value = (uint16_t)(value << (16 - count)); /* the first bit to write on top */
  while (count-- > 0) {
    if (value & 0x8000) m.bits[pos >> 3] |= (uint8_t)(0x80 >> (pos & 7));
    ++pos;
    value = (uint16_t)(value << 1);
  }
  m.pos = pos;
}

/* A field of up to 32 bits. */
static void put_long(uint32_t value, uint8_t count) {
  if (count > 16) {
    put((uint16_t)(value >> 16), (uint8_t)(count - 16));
    count = 16;
  }
  put((uint16_t)value, count);
}

/* number = number * factor + addend */
static void number_times_add(uint8_t factor, uint8_t addend) {
  qvf_multiply_add(m.number, sizeof m.number, factor, addend, 0);
}

/* The low count bits of the little-endian byte string, the top byte's bits first. */
static void put_wide(uint8_t count) {
  while (count > 0) {
    uint8_t take = (uint8_t)(((count - 1) & 7) + 1);
    count = (uint8_t)(count - take);
    put(m.number[count >> 3], take);
  }
}

static void point_at(uint8_t at, uint8_t length) {
  m.report.word_start = at;
  m.report.word_length = length;
}

/* The 77-bit families' changes are bits 16-31: kept as 16 bits, cheaper to pass on a small chip,
   and joined to the report at the end. */
static void change_bit(uint8_t bit) {
  m.changed |= (uint16_t)(1U << bit);
}
#define change(bit) change_bit(BIT_##bit)

/* A word stands in the caller's text as it was read, but for a merged "CQ xx". */
static void point_at_word(uint8_t word) {
  point_at(m.in_at[word], word == 0 ? m.span0 : m.n[word]);
}

static void change_at(uint8_t bit, uint8_t word) {
  change_bit(bit);
  point_at_word(word);
}

static uint8_t refuse(qvc_status status) {
  m.report.status = status;
  return REFUSED;
}

static uint8_t refuse_at(qvc_status status, uint8_t word) {
  point_at_word(word);
  return refuse(status);
}

static uint8_t base_call(uint8_t word) {
  return qvf_base_call(W(word), m.n[word], &m.base_at[word], &m.base_n[word]);
}

/* The text inside the brackets of a word opening with "<": up to ">", or to the end. */
static uint8_t inside_length(uint8_t word) {
  return m.inside[word];
}

/* The value of one digit or more, or NOT_DIGITS; 9999 for any of 10000 and more: no field here
   tells such numbers apart, and 16 bits cost a small chip less than 32. */
#define NOT_DIGITS 0xFFFF
static uint16_t digits_value(const char* text, uint8_t length) {
  uint16_t value = 0;
  if (length == 0) return NOT_DIGITS;
  while (length-- > 0) {
    char c = *text++;
    if (!qvf_is_digit(c)) return NOT_DIGITS;
    value = value > 999 ? 9999 : (uint16_t)(value * 10 + (c - '0'));
  }
  return value;
}

/* An optional sign and 1 to 9 digits, the only number form a message may hold here; else
   NOT_NUMBER. The text is at least one character long. */
#define NOT_NUMBER (-32767 - 1)
static int16_t signed_number(const char* text, uint8_t length) {
  /* the sign and the count in bytes: int arithmetic would take 16 bits */
  char first = text[0];
  uint8_t sign = first == '+' || first == '-', digits = (uint8_t)(length - sign);
  uint16_t value = digits_value(text + sign, digits);
  if (digits > 9 || value == NOT_DIGITS) return NOT_NUMBER;
  return (int16_t)(first == '-' ? -(int16_t)value : (int16_t)value);
}

#ifdef QVF_HOST_DETAIL
static void book(const char* call, uint8_t length) {
  qvf_pack77_detail* d = m.detail;
  if (d == 0 || d->call_count >= 3) return;
  memcpy(d->calls[d->call_count], call, length);
  d->calls[d->call_count++][length] = '\0';
}

static void book_written(uint8_t word) {
  book(W(word), m.n[word]);
}

/* A word in angle brackets goes in as the call inside them. */
static void book_word(uint8_t word) {
  if (W(word)[0] == '<')
    book(W(word) + 1, inside_length(word));
  else
    book(W(word), m.n[word]);
}

/* A call of the standard message: the call inside the brackets, or the part of the word that
   went into the call field. */
static void book_standard(uint8_t word, uint8_t at, uint8_t length) {
  if (SHAPE(word, IS_BRACKETED))
    book_word(word);
  else
    book(W(word) + at, length);
}
#else
/* A firmware keeps no book of the calls. */
#define book(call, length) ((void)0)
#define book_written(word) ((void)0)
#define book_word(word) ((void)0)
#define book_standard(word, at, length) ((void)0)
#endif

/* The hash of the call inside the angle brackets of a word. */
static void put_hash(uint8_t word, uint8_t bits) {
  put_long(qvf_call_hash(W(word) + 1, inside_length(word), bits), bits);
}

/* The 28-bit call field (see qvf_call28). It lives beside its one caller on a chip, which it is
   compiled into: a function of its own would save and restore a dozen registers of its own. */
static uint8_t call28(const char* text, uint8_t length, uint32_t* value) {
  uint8_t i, digits = 0, letters = 0;
  uint32_t number = 0;
  /* DE, QRZ and CQ are 0, 1 and 2; their words sit at 0, 3 and 7 of the word list */
  for (i = 0; i < 3; ++i) {
    if (qvf_is(text, length, (uint8_t)(i * 3 + (i >> 1)))) {
      number = i;
      goto found;
    }
  }
  /* "CQ_nnn" or "CQ_abcd"; one with a character that is neither cannot be sent, one with some
     digits goes on to the other rules. Both values are counted in the one loop, in the base the
     first character chooses: a word of the other kind is thrown away after it. */
  if (length >= 4 && length <= 7 && qvf_starts(text, length, QVF_CQ_)) {
    uint8_t base = qvf_is_digit(text[3]) ? 10 : 27;
    /* counted in the wide field's bytes (no type that has call fields uses them): the byte
       string's multiply-add is linked anyway, a 32-bit one would come on top. The first
       character multiplies by 0, which clears what the bytes held. */
    for (i = 3; i < length; ++i) {
      char c = text[i];
      digits += qvf_is_digit(c);
      letters += qvf_is_letter(c);
      number_times_add(i == 3 ? 0 : base, (uint8_t)(base == 10 ? c - '0' : c - 'A' + 1));
    }
    number = qvf_read32(m.number);
    if (length == 6 && digits == 3) {
      number += QVF_CALL28_CQ_NUMBERS;
      goto found;
    }
    if (digits == 0) {
      if (letters != (uint8_t)(length - 3)) return 0;
      number += QVF_CALL28_CQ_LETTERS;
      goto found;
    }
  }
  if (length == 0 || text[0] != '<') return qvf_plain_call28(text, length, value);
  /* Without its ">", a bracketed call hashes as empty text. */
  i = qvf_find(text, length, '>');
  number = QVF_CALL28_HASHED + qvf_call_hash(text + 1, i < length ? (uint8_t)(i - 1) : 0, 22);
found:
  *value = number;
  return 1;
}

#ifdef QVF_HOST_DETAIL
uint8_t qvf_call28(const char* text, uint8_t length, uint32_t* value) {
  return call28(text, length, value);
}
#endif

/* A 28-bit call field of text (a word or part of one); refused when the arithmetic would send
   another call. The type that asked goes on to its end, writing bits the refusal throws away
   (no type notes a change after its call fields): one test at the end costs less than one
   after every call field. A refusal stands, so a later call field only writes bits too: one
   way out of the function, where two would each restore the saved registers. */
static void add_call28(uint8_t word, uint8_t at, uint8_t length) {
  if (m.report.status == QVC_OK && !call28(W(word) + at, length, &m.call)) {
    if (word == 0 && m.merged) {
      refuse_at(QVF_NO_CQ_MODIFIER, word);
    } else {
      point_at((uint8_t)(m.in_at[word] + at), length);
      refuse(QVF_NO_CALL);
    }
  }
  put_long(m.call, 28);
}

static void add_word_call28(uint8_t word) {
  add_call28(word, 0, m.n[word]);
}

/* Type 0.1: "C1 RR73; C2 <C3> report". */
static uint8_t dxpedition(void) {
  int16_t report;
  if (m.count != 5 || !IS(1, QVF_RR73_) || SHAPE(3, IS_OPEN | IS_CLOSED) != (IS_OPEN | IS_CLOSED))
    return DECLINED;
  /* -99 stands for "no report" where this layout was designed. */
  report = signed_number(W(4), m.n[4]);
  if (report == NOT_NUMBER || report == -99 || !SHAPE(0, m.shape[2] & IS_CALL)) return DECLINED;
  add_word_call28(0);
  add_word_call28(2);
  put_hash(3, 10);
  /* (report + 30) / 2 held to 0-31, halved by a shift: a division would call the chip's
     16-bit divide (a sum below 0 halves to 0 or less, held to 0 either way) */
  report = (int16_t)(report + 30);
  put((uint16_t)(report < 0 ? 0 : report > 63 ? 31 : report >> 1), 5);
  book_written(0);
  book_written(2);
  book_word(3);
  return TYPE(0, 1);
}

/* Types 0.3 and 0.4: "C1 C2 [R] nX SECTION". */
static uint8_t field_day(void) {
  uint8_t roger = m.count == 5, entry = (uint8_t)(2 + roger), n, section, transmitters;
  int8_t category;
  if (m.count != 4 && m.count != 5) return DECLINED;
  if (roger && !IS(2, QVF_R)) return DECLINED;
  n = m.n[entry];
  section = qvf_field_day_section(W(entry + 1), m.n[entry + 1]);
  if (section == 0 || n < 2 || n > 3 || !SHAPE(0, m.shape[1] & IS_CALL)) return DECLINED;
  /* NOT_DIGITS and 0 fall out with the numbers above 32 */
  transmitters = (uint8_t)digits_value(W(entry), (uint8_t)(n - 1));
  if ((uint8_t)(transmitters - 1) > 31) return DECLINED;
  category = (int8_t)(W(entry)[n - 1] - 'A');
  if (category < 0 || category > 7) {
    point_at((uint8_t)(m.in_at[entry] + n - 1), 1);
    return refuse(QVF_BAD_FIELD_DAY_CLASS);
  }
  add_word_call28(0);
  add_word_call28(1);
  put(roger, 1);
  put((uint8_t)(transmitters - 1) & 15, 4); /* (a mask: "% 16" on an int would divide) */
  put((uint8_t)category, 3);
  put(section, 7);
  book_written(0);
  book_written(1);
  return TYPE(0, transmitters > 16 ? 4 : 3);
}

/* Type 0.5: up to 18 hex digits below 2^71; declined when the text is not hex at all. */
static uint8_t telemetry(void) {
  uint8_t i, length = m.length < TELEMETRY_DIGITS ? m.length : TELEMETRY_DIGITS;
  /* A plus sign may stand in front, as in any number read; it counts in the 18 characters. */
  uint8_t plus = length > 0 && m.text[0] == '+';
  if (length == plus && m.length > 0) return DECLINED;
  for (i = plus; i < length; ++i) {
    /* digits and letters are 1-36 in A38: one less is their value as a hex digit */
    uint8_t digit = (uint8_t)(qvf_a38(m.text[i]) - 1);
    if (digit > 15) return DECLINED;
    number_times_add(16, digit);
  }
  if (m.number[8] & 0x80) {
    change(QVF_CHANGED_HEX_TOO_LARGE);
    return DECLINED;
  }
  if (m.length > TELEMETRY_DIGITS) change(QVF_CHANGED_TELEMETRY_CUT);
  if (plus) change(QVF_CHANGED_TELEMETRY_PLUS);
  put_wide(71);
  return TYPE(0, 5);
}

/* Type 0.6, WSPR-style: "CALL LOCATOR POWER" or "CALL/SUFFIX POWER", "PREFIX/CALL POWER". */
static uint8_t wspr_style(void) {
  uint8_t power, slash, after, base_at = 0, base_n = m.n[0], i, from = 0, to, suffix,
                               locator = m.count == 3, last = (uint8_t)(m.count - 1);
  const char* w = W(0);
  uint16_t affix = 0;
  /* Every test before the refusals only declines, so their order is free. */
  if (m.count != 2 && m.count != 3) return DECLINED;
  /* The power, the last word: one or two digits, dBm sent in steps of 10/3 dB. */
  if (m.n[last] > 2 || !SHAPE(last, IS_ALL_DIGITS)) return DECLINED;
  power = (uint8_t)digits_value(W(last), m.n[last]);
  if (power > 60) power = 60;
  /* (dbm * 3 + 5) / 10, counted out: a small chip has no divider */
  for (i = (uint8_t)(power * 3 + 5), power = 0; i >= 10; i = (uint8_t)(i - 10)) ++power;
  if (locator) {
    affix = qvf_locator(W(1), m.n[1]);
    if (m.n[0] < 3 || m.n[0] > 6 || m.n[1] != 4 || affix == QVF_NOT_LOCATOR) return DECLINED;
  } else {
    if (m.n[0] < 5 || m.n[0] > 10) return DECLINED;
    slash = qvf_find(w, m.n[0], '/');
    after = (uint8_t)(m.n[0] - slash - 1);
    if (slash == m.n[0] || slash == 0 || after == 0 || !SHAPE(0, IS_CALL)) return DECLINED;
    base_at = m.base_at[0];
    base_n = m.base_n[0];
    if (after == 3 && !qvf_is_digit(w[slash + 3])) return DECLINED;
    /* A prefix of up to 3 characters, or a suffix of up to 3 (of 3, the last a digit) after all
       the prefixes' values; base 36, a character outside it counting as -1. */
    suffix = slash > 3;
    to = slash;
    if (suffix) {
      if (after > 3) return refuse_at(QVF_SUFFIX_TOO_LONG, 0);
      from = (uint8_t)(slash + 1);
      to = m.n[0];
    }
    /* Counted modulo 2^16: the value lies from -1333 (three -1s) to 59641, so a value of 0xF000
       and more can only have been below zero. */
    for (i = from; i < to; ++i) {
      /* digits and letters are 1-36 in A38: one less is their base-36 digit */
      uint8_t digit = (uint8_t)(qvf_a38(w[i]) - 1);
      /* base 10 for the third character after the "/" only: the last of a 3-character suffix
         (a prefix stands before the "/") */
      affix = (uint16_t)(affix * (uint8_t)((uint8_t)(i - slash) == 3 ? 10 : 36) +
                         (digit < 36 ? digit : 0xFFFFU));
    }
    if (suffix) affix = (uint16_t)(affix + 36U * 36 * 36);
    if (affix >= 0xF000) return refuse_at(QVF_BAD_AFFIX, 0);
  }
  add_call28(0, base_at, base_n);
  put(affix, (uint8_t)(16 - locator)); /* a locator has 15 bits, an affix 16 */
  put(power, 5);
  put(!locator, 1);
  book(w + base_at, base_n);
  return TYPE(0, 6);
}

/* "/P" or "/R" after a call travels as a flag; any other prefix or suffix is lost. 2 for "/P",
   1 for "/R", 0 for neither. */
static uint8_t rover_or_portable(uint8_t word) {
  uint8_t n = m.n[word];
  const char* w = W(word);
  if (n < 5 || w[n - 2] != '/') return 0;
  return w[n - 1] == 'P' ? 2 : w[n - 1] == 'R';
}

/* Types 1 and 2: "C1 C2", "C1 C2 GRID-OR-REPORT", "C1 C2 R GRID". */
static uint8_t standard(void) {
  uint8_t i, roger = 0, portable = 0, at, n, last = (uint8_t)(m.count - 1), r;
  const char* w;
  int16_t report;
  uint16_t grid = NO_GRID;
  uint32_t first = 0;
  if (m.count < 2 || m.count > 4) return DECLINED;
  if (!SHAPE(0, IS_CQ_WORD | IS_BRACKETED | IS_CALL) || !SHAPE(1, IS_BRACKETED | IS_CALL))
    return DECLINED;
  /* A hashed call beside a compound one: type 4 sends the compound one whole. */
  if ((SHAPE(0, IS_OPEN) && SHAPE(1, IS_SLASHED)) || (SHAPE(1, IS_OPEN) && SHAPE(0, IS_SLASHED)))
    return DECLINED;
  if (m.count == 2 && SHAPE(1, IS_SLASHED)) return DECLINED;
  if (m.count == 4 && !IS(2, QVF_R)) return DECLINED;
  /* The grid-or-report field and its R bit, from the last word after the calls. */
  if (m.count > 2) {
    w = W(last);
    /* "RR73" is also a locator, and goes as one: the code for it is only ever decoded. */
    grid = qvf_locator(w, m.n[last]);
    if (grid != QVF_NOT_LOCATOR) {
      roger = m.count == 4;
    } else if (IS(last, QVF_RRR) || IS(last, QVF_73)) {
      grid = w[0] == 'R' ? GRID_RRR : GRID_73;
    } else {
      /* A report with its sign, after an R or not. (A word of one character is followed by a
         blank or the end, so w[1] is no sign then.) */
      r = w[0] == 'R';
      if (w[r] != '+' && w[r] != '-') return DECLINED;
      report = signed_number(w + r, (uint8_t)(m.n[last] - r));
      if (report == NOT_NUMBER) return DECLINED;
      roger = r;
      /* Reports of three digits and more would come out as other reports, or none at all. */
      if (report < -99 || report > 99) return refuse_at(QVF_REPORT_TOO_LONG, last);
      if (report >= -50 && report <= -31) report += 101; /* the lowest take the codes above +50 */
      grid = (uint16_t)(QVF_LOCATORS + 35 + report);
    }
  }
  if (m.count == 4 && grid >= QVF_LOCATORS) change_at(BIT_QVF_CHANGED_ROGER_DROPPED, last);
  for (i = 0; i < 2; ++i) {
    uint8_t flag = rover_or_portable(i);
    at = 0;
    n = m.n[i];
    if (!SHAPE(i, IS_CQ_WORD | IS_BRACKETED)) {
      at = m.base_at[i];
      n = m.base_n[i];
    }
    add_call28(i, at, n);
    if (i == 0) first = m.call;
    put(flag != 0, 1);
    portable |= flag;
    book_standard(i, at, n);
  }
  put(roger ? grid | 0x8000U : grid, 16);        /* R and the 15 bits: one call less */
  if (m.report.status != QVC_OK) return REFUSED; /* a call field refused: that refusal stands */
  /* A receiver refuses these: CQ calls for answers, so a reply's R, RRR, RR73, 73 or report after
     it makes no sense, and "CQ <CALL>" would hide the very call that calls. */
  if (first >= 2 && first < QVF_CALL28_HASHED &&
      ((roger && grid < QVF_LOCATORS) || grid >= GRID_RRR))
    return refuse(QVF_CQ_WITH_REPLY);
  if (first == 2 && m.call >= QVF_CALL28_HASHED && m.call < QVF_CALL28_STANDARD)
    return refuse(QVF_CQ_WITH_HASHED);
  return TYPE(portable & 2 ? 2 : 1, 0);
}

/* Type 3: "[TU;] C1 C2 [R] RST EXCHANGE", the exchange a state or province or a serial number.
   The last two words decide whether this is the type; the fields are then read from the front,
   so words out of place leave no report to send. */
static uint8_t rtty_roundup(void) {
  uint8_t at = IS(0, QVF_TU), last = (uint8_t)(m.count - 1), roger, rst, place;
  uint8_t plus, steps = 0, exchange_n;
  uint16_t number, report;
  const char *r, *exchange;
  if (m.count > 6 || (uint8_t)(at + 4) > m.count) return DECLINED; /* (4 words at least) */
  if (!SHAPE(at, m.shape[at + 1] & IS_CALL) || SHAPE(last - 1, IS_SIGNED)) return DECLINED;
  exchange = W(last);
  exchange_n = m.n[last];
  place = qvf_rtty_exchange(exchange, exchange_n);
  if (place != 0) {
    number = 8000U + place;
  } else {
    r = W(last - 1);
    /* A serial number is read as a number: a plus sign may stand in front. */
    plus = exchange[0] == '+';
    /* (a serial of 10 digits and more reads as 9999, too large as well) */
    number = digits_value(exchange + plus, (uint8_t)(exchange_n - plus));
    if (!(m.n[last - 1] == 3 && r[0] == '5' && r[1] >= '2' && r[1] <= '9' && r[2] == '9') ||
        number == NOT_DIGITS || number == 0)
      return DECLINED;
    if (number > LAST_RTTY_NUMBER) return refuse_at(QVF_SERIAL_TOO_LARGE, last);
    if (number > 8000) change(QVF_CHANGED_SERIAL_AS_LIST);
  }
  roger = IS(at + 2, QVF_R);
  rst = (uint8_t)(at + 2 + roger);
  if (m.n[rst] > 9 || !SHAPE(rst, IS_ALL_DIGITS)) return refuse_at(QVF_REPORT_NOT_NUMBER, rst);
  if ((uint8_t)(at + 4 + roger) != m.count) change(QVF_CHANGED_EXTRA_WORDS);
  /* (rst - 509) / 10 - 2, held to 0-7, counted out */
  for (report = digits_value(W(rst), m.n[rst]); report >= 539 && steps < 7; report -= 10) ++steps;
  put(at, 1);
  add_word_call28(at);
  add_word_call28((uint8_t)(at + 1));
  put(roger, 1);
  put(steps, 3);
  put(number, 13);
  book_written(at);
  book_written((uint8_t)(at + 1));
  return TYPE(3, 0);
}

/* (The results go to the places of word 4, which this message type, of at most three words,
   has no use for.) */
static uint8_t standard_call(const char* call, uint8_t length) {
  return qvf_find(call, length, '/') == length &&
         qvf_base_call(call, length, &m.base_at[4], &m.base_n[4]);
}

/* Type 4: one call that no other field holds, sent whole, beside a hashed call or after CQ. */
static uint8_t nonstandard(void) {
  uint8_t cq = IS(0, QVF_CQ), plain = 1, i, closing = 0, n, hashed_n;
  const char* hashed;
  if (m.count != 2 && m.count != 3) return DECLINED;
  if (cq) {
    if (m.n[1] <= 4) return DECLINED;
    hashed = W(1);
    hashed_n = m.n[1];
  } else {
    switch ((uint8_t)(SHAPE(0, IS_OPEN) | SHAPE(1, IS_OPEN) >> 1)) {
      case 0:
        /* Two calls, one compound, neither hashed: this layout has room for only one of them. */
        if (SHAPE(0, m.shape[1] & IS_CALL) && (m.shape[0] | m.shape[1]) & IS_SLASHED)
          return refuse(QVF_TWO_WHOLE_CALLS);
        return DECLINED;
      case IS_OPEN | IS_OPEN >> 1:
        return refuse(QVF_TWO_HASHED_CALLS);
      case IS_OPEN >> 1:
        plain = 0;
    }
    /* the other word is the hashed one */
    hashed = W(!plain) + 1;
    hashed_n = inside_length(!plain);
    if (hashed_n < 3 || qvf_is(hashed, hashed_n, QVF_DOTS))
      return refuse_at(QVF_HASHED_TOO_SHORT, !plain);
    /* Two standard calls go in the standard message, or nowhere. */
    if (SHAPE(plain, IS_CALL | IS_SLASHED) == IS_CALL && standard_call(hashed, hashed_n))
      return DECLINED;
  }
  n = m.n[plain] < 11 ? m.n[plain] : 11;
  for (i = 0; i < n; ++i) {
    int8_t code = qvf_a38(W(plain)[i]);
    if (code < 0) return refuse_at(QVF_BAD_CALL_CHARACTER, plain);
    number_times_add(38, (uint8_t)code);
  }
  if (m.n[plain] > 11) m.cut = QVC_CHANGED_CALL_CUT;
  if (m.count == 3) {
    if (!cq) closing = IS(2, QVF_RRR) ? 1 : IS(2, QVF_RR73) ? 2 : IS(2, QVF_73) ? 3 : 0;
    if (closing == 0) change_at(BIT_QVF_CHANGED_WORD_DROPPED, 2);
  }
  put_long(qvf_call_hash(hashed, hashed_n, 12), 12);
  put_wide(58);
  put(!plain, 1); /* the second word was the hashed one */
  put(closing, 2);
  put(cq, 1);
  book_word(0);
  book_word(1);
  return TYPE(4, 0);
}

/* Type 5, EU VHF contest: "<C1> <C2> [R] RRSSSS LOCATOR6". */
static uint8_t eu_vhf(void) {
  uint8_t roger = m.count == 5, exchange = (uint8_t)(2 + roger), locator = (uint8_t)(3 + roger);
  const char *l, *e = W(exchange);
  uint8_t block;
  uint16_t serial, value;
  if (m.count != 4 && m.count != 5) return DECLINED;
  if ((roger && !IS(2, QVF_R)) || !SHAPE(0, m.shape[1] & IS_BRACKETED)) return DECLINED;
  /* RRSSSS from 520001 to 594095: six digits, the block RR and the serial SSSS apart */
  if (m.n[exchange] != 6 || !SHAPE(exchange, IS_ALL_DIGITS)) return DECLINED;
  block = (uint8_t)((uint8_t)(e[0] - '0') * 10 + e[1] - '0' - 52); /* 0-7 for 52-59 */
  serial = digits_value(e + 2, 4);
  l = W(locator);
  if (block > 7 || (block == 0 && serial == 0) || (block == 7 && serial > 4095) ||
      m.n[locator] < 6 || (value = qvf_locator(l, m.n[locator])) == QVF_NOT_LOCATOR ||
      (uint8_t)(l[4] - 'A') > 23 || (uint8_t)(l[5] - 'A') > 23)
    return DECLINED;
  if (serial > 2047) {
    change(QVF_CHANGED_SERIAL_CLAMPED);
    serial = 2047;
  }
  if (m.n[locator] > 6) change(QVF_CHANGED_LOCATOR_CUT);
  put_hash(0, 12);
  put_hash(1, 22);
  put(roger, 1);
  put(block, 3);
  put(serial, 11);
  /* locator * 576 + subsquare, as byte arithmetic: no 32-bit multiply on a small chip */
  m.number[0] = (uint8_t)value;
  m.number[1] = (uint8_t)(value >> 8);
  number_times_add(24, (uint8_t)(l[4] - 'A'));
  number_times_add(24, (uint8_t)(l[5] - 'A'));
  put_wide(25);
  book_word(0);
  book_word(1);
  return TYPE(5, 0);
}

/* Digits and letters have the codes of A38; the signs follow them. */
static uint8_t a42(char c) {
  uint8_t i, code = (uint8_t)qvf_a38(c);
  if ((uint8_t)(code - 1) < 36) return code;
  for (i = 0; i < 5; ++i)
    if (qvf_word_char((uint8_t)(QVF_SIGNS + i)) == c) return (uint8_t)(37 + i);
  return 0; /* a blank, or a character free text lacks: sent as a blank */
}

/* Type 0.0: 13 characters of text; refused when none of them can be sent. */
static uint8_t free_text(void) {
  uint8_t kept = m.length < FREE_TEXT_LENGTH ? m.length : FREE_TEXT_LENGTH, i, any = 0;
  if (m.length > FREE_TEXT_LENGTH) m.cut = QVC_CHANGED_CUT;
  while (kept > 0 && m.text[kept - 1] == ' ') --kept;
  /* The text is sent right-aligned: blanks (0) in front add nothing to the number. */
  for (i = 0; i < kept; ++i) {
    uint8_t code = a42(m.text[i]);
    any |= code;
    number_times_add(42, code);
  }
  if (!any) return refuse(QVF_NO_TEXT);
  put_wide(71);
  return TYPE(0, 0);
}

/* The normalised text: the first 37 characters, upper case, single blanks, none at the ends; and
   its words as the types see them, each cut to 13 characters. "CQ xx CALL ..." makes "CQ_xx" one
   word. */
/* (m starts all zero.) */
static void read_words(const char* input) {
  /* counted in registers, stored once: cheaper than a fixed address at every step */
  uint8_t i, gap = 1, length = 0, count = 0;
  char c;
  for (i = 0; i < QVF_TEXT_LENGTH && (c = input[i]) != '\0'; ++i) {
    if (c == ' ') {
      if (gap) continue;
      gap = 1;
    } else {
      if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
      if (gap) {
        gap = 0;
        /* The count stops at one more than MAX_WORDS, all it needs to say "too many"; the
           words from there on overwrite one entry: one test instead of two. */
        if (count <= MAX_WORDS) ++count;
        m.at[count - 1] = length;
        m.in_at[count - 1] = i;
      }
      if (m.n[count - 1] < QVF_WORD_LENGTH) ++m.n[count - 1];
    }
    m.text[length++] = c;
  }
  if (input[i] != '\0') change(QVF_CHANGED_INPUT_CUT); /* stopped at the 37th character */
  /* The blank at the end is cut off, but stays in text: after the last word text holds that
     blank or zeros, never a sign or a digit, and no reader needs more (only the host's copy is
     ended by a NUL). */
  if (gap && length > 0) --length;
  m.length = length;
  m.count = count;
  m.span0 = m.n[0];
#ifdef QVF_HOST_DETAIL
  if (m.detail != 0) {
    memcpy(m.detail->text, m.text, length);
    m.detail->text[length] = '\0';
  }
#endif
  if (count > MAX_WORDS || count < 3 || !qvf_is(W(0), m.n[0], QVF_CQ) || !base_call(2)) return;
  /* The merge: word 0 becomes "CQ", the blank after it made "_", and word 1 (its first 10
     characters), in the text itself. Free text, the one reader of the whole text after this,
     sends "_" as a blank; nothing else reads a word past its length. */
  m.text[2] = '_';
  m.n[0] = (uint8_t)(3 + (m.n[1] < 10 ? m.n[1] : 10));
  m.span0 = (uint8_t)(m.in_at[1] + (m.n[0] - 3) - m.in_at[0]);
  m.merged = 1;
  m.count = --count;
  for (i = 1; i < count; ++i) {
    m.at[i] = m.at[i + 1];
    m.n[i] = m.n[i + 1];
    m.in_at[i] = m.in_at[i + 1];
  }
}

/* The list words a type asks about. */
static const uint8_t kListWords[] QVC_FLASH = {QVF_DE,  QVF_QRZ,  QVF_CQ,    QVF_TU, QVF_R,
                                               QVF_RRR, QVF_RR73, QVF_RR73_, QVF_73};

/* Finds the shape and list word of the words the types ask about: no type takes more than
   SHAPED_WORDS + 1 words, nor asks about the last of six. */
static void classify(void) {
  uint8_t word, k, facts, close, i;
  for (word = 0; word < m.count && word < SHAPED_WORDS; ++word) {
    const char* w = W(word);
    uint8_t n = m.n[word];
    for (k = 0; k < sizeof kListWords && n <= 5; ++k) { /* "RR73;" is the longest */
      uint8_t list_word = qvc_flash_byte(&kListWords[k]);
      if (qvf_is(w, n, list_word)) m.id[word] = (uint8_t)(list_word + 1);
    }
    m.base_at[word] = 0;
    m.base_n[word] = n;
    facts = (uint8_t)(base_call(word) ? IS_CALL | IS_ALL_DIGITS : IS_ALL_DIGITS);
    /* DE, QRZ and CQ are the first three list words */
    if ((m.id[word] != 0 && m.id[word] <= QVF_CQ + 1) || qvf_starts(w, n, QVF_CQ_))
      facts |= IS_CQ_WORD;
    close = n;
    for (i = n; i-- > 0;) { /* backwards, so that close ends at the first ">" */
      char c = w[i];
      if (c == '>') close = i;
      if (c == '/') facts |= IS_SLASHED;
      if (c == '+' || c == '-') facts |= IS_SIGNED;
      if (!qvf_is_digit(c)) facts &= (uint8_t)~IS_ALL_DIGITS;
    }
    m.inside[word] = (uint8_t)(close - 1);
    if (close < n) facts |= IS_CLOSED;
    if (w[0] == '<') {
      facts |= IS_OPEN;
      if (close >= 4 && close < n) facts |= IS_BRACKETED;
    }
    m.shape[word] = facts;
  }
}

static uint8_t pack_words(void) {
  uint8_t outcome = DECLINED;
  if (m.count <= SHAPED_WORDS + 1) {
    classify();
    /* Unless the text opens with the word CQ, DE or QRZ (the first three list words; a merged
       "CQ xx" opened with CQ). */
    if ((uint8_t)(m.id[0] - 1) > QVF_CQ && !m.merged) {
      if ((outcome = dxpedition()) != DECLINED) return outcome;
      if ((outcome = field_day()) != DECLINED) return outcome;
      if (m.count <= 1 && (outcome = telemetry()) != DECLINED) return outcome;
      /* Every type declines before it writes a bit; only telemetry may leave a number behind. */
      memset(m.number, 0, sizeof m.number);
    }
    if ((outcome = wspr_style()) != DECLINED) return outcome;
    if ((outcome = standard()) != DECLINED) return outcome;
    if ((outcome = rtty_roundup()) != DECLINED) return outcome;
    if ((outcome = nonstandard()) != DECLINED) return outcome;
    if ((outcome = eu_vhf()) != DECLINED) return outcome;
  }
  return free_text();
}

/* The text packed into bits77; the host's build also fills detail. */
static qvc_status pack77(const char* text, uint8_t bits77[QVF_MESSAGE77_BYTES], qvc_report* report,
                         void* detail) {
  uint8_t outcome;
  memset(&m, 0, sizeof m);
#ifdef QVF_HOST_DETAIL
  m.detail = (qvf_pack77_detail*)detail;
  if (m.detail != 0) m.detail->call_count = 0;
#else
  (void)detail;
#endif
  read_words(text);
  outcome = pack_words();
  if (m.report.status != QVC_OK) {
    memset(m.bits, 0, QVF_MESSAGE77_BYTES);
#ifdef QVF_HOST_DETAIL
    if (m.detail != 0) m.detail->call_count = 0;
#endif
  } else {
    m.pos = 71;
    put(outcome, 6);
  }
  memcpy(bits77, m.bits, QVF_MESSAGE77_BYTES);
  m.report.changes = (uint32_t)m.changed << 16 | m.cut;
  if (report != 0) *report = m.report;
  return m.report.status;
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
