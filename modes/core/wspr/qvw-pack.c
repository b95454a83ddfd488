/* Reading a WSPR message and packing it into n1 and n2: which of the three forms the text takes,
   the grid field, the prefix or suffix of a compound call, the hashed call and the power; then
   the code, the interleaver and the tones. What the text cannot say is refused with a status;
   what is changed quietly is said in the report's change bits. The three forms, the coding and
   the tones are one function: each form ends in the same power reading and the same
   n2 = high * 128 + low, so those exist once, every refusal jumps to one place that fills the
   report, and the registers this chip saves on entry to a function are saved once (a function
   per form or per stage would save and restore up to 18 each). */
#include <string.h>

#include "../common/qvc-bits.h"
#include "../common/qvc-call.h"
#include "../common/qvc-convolutional.h"
#include "../common/qvc-flash.h"
#include "../common/qvc-list-number.h"
#include "../common/qvc-locator.h"
#include "../common/qvc-text.h"
#include "qvw-lookup3-rounds.h"
#include "qvw-power-level.h"
#include "qvw-wspr.h"

#define QVW_NONE 0xFF
/* A hashed call longer than this is not sent: the reference keeps the key in 12 bytes. */
#define QVW_LONGEST_HASHED_CALL 12

/* The characters of the word at w up to a blank, the end of the text or most. */
static uint8_t qvw_word_length(const char* w, uint8_t most) {
  uint8_t n = 0;
  while (n < most && w[n] != ' ' && w[n] != '\0') ++n;
  return n;
}

/* 10 * (at[0] - '0') + (at[1] - '0'), the constants folded into one. */
int16_t qvw_two_digits(const char* at) {
  return (int16_t)(10 * at[0] + at[1] - 11 * '0');
}

/* Digits 0-9, capital letters 10-35, anything else the blank's 36: a prefix character's code. */
static uint8_t qvw_prefix_code(char c) {
  if (qvc_is_digit(c)) return (uint8_t)(c - '0');
  if (qvc_is_letter(c)) return (uint8_t)(c - 'A' + 10);
  return 36;
}

/* Each place of a grid: its first character and how many follow it (two letters A-R, two
   digits, two letters A-X). */
static const uint8_t qvw_grid_places[] QVC_FLASH = {'A', 17, 'A', 17, '0', 9,
                                                    '0', 9,  'A', 23, 'A', 23};

/* A 4-character locator (upper case) and a 6-character grid (either case) have one check. */
uint8_t qvw_is_grid(const char* g, uint8_t places, uint8_t fold) {
  uint8_t i;
  for (i = 0; i < places; ++i) {
    uint8_t c = (uint8_t)g[i];
    if (fold) c = (uint8_t)qvc_upper((char)c);
    if ((uint8_t)(c - qvc_flash_byte(&qvw_grid_places[2 * i])) >
        qvc_flash_byte(&qvw_grid_places[2 * i + 1]))
      return 0;
  }
  return 1;
}

/* The words a type 1 grid field may start with, each after what it adds to QVC_BLANK_FIELD:
   four blanks (the blank field itself), then the words past the reports. */
#define QVW_GRID_WORDS 4
static const uint8_t qvw_grid_words[] QVC_FLASH = {0,  ' ', ' ', ' ', ' ', 0,  61,  'R', 'O', 0,
                                                   62, 'R', 'R', 'R', 0,   63, '7', '3', 0};

/* The type 1 grid field (4 characters): a locator, or one of the report-like words the old
   packer also takes; 0 when it is none of them. */
static uint8_t qvw_pack_grid_field(const char* field, uint16_t* grid) {
  const uint8_t* word = qvw_grid_words;
  uint8_t i, r = field[0] == 'R';
  if (field[r] == '-') {
    /* "-nn" and "R-nn" (r is 1), but "R-00" is the blank field. */
    int16_t number = qvw_two_digits(field + r + 1);
    return *grid = (uint16_t)(QVC_BLANK_FIELD + (r && number != 0 ? 30 : 0) + number), 1;
  }
  for (i = 0; i < QVW_GRID_WORDS; ++i) {
    uint8_t add = qvc_flash_byte(word++);
    if (qvc_starts_with(field, word)) return *grid = (uint16_t)(QVC_BLANK_FIELD + add), 1;
    while (qvc_flash_byte(word++) != 0) {
    }
  }
  if (qvw_is_grid(field, 4, 0)) return *grid = qvc_locator_value(field), 1;
  return 0;
}

void qvw_wspr_encode(const char* text, qvw_message* message, uint8_t* symbols,
                     uint8_t tones[QVW_SYMBOLS], qvc_report* report) {
  char* m = message->text;
  uint8_t place, end = 0, blank, slash, open, close, at, start = 0, count = 0, extra = 0, most = 6;
  uint8_t type, moved;
  qvc_status status;
  uint16_t high, changes = 0; /* the change bits fit in 16 bits until they go into the report */
  uint32_t call;
  const char* rest = text;
  memset(message, 0, sizeof *message); /* text[22] is the NUL */
  /* The first 22 characters, blanks after the end of the text; end is one past the last that
     is not a blank, so the checks for blanks to the end need no loop of their own. */
  for (place = 0; place < QVW_MESSAGE_LENGTH; ++place) {
    char c = *rest != '\0' ? *rest++ : ' ';
    m[place] = c;
    if (c != ' ') end = (uint8_t)(place + 1);
  }
  for (; *rest != '\0'; ++rest)
    if (*rest != ' ') changes = QVC_CHANGED_CUT;
  /* The first blank, "/", "<" and ">", each QVW_NONE when there is none: one pass from the end
     to the start, so the last place seen of each is its first. */
  blank = slash = open = close = QVW_NONE;
  for (place = QVW_MESSAGE_LENGTH; place-- > 0;) {
    char c = m[place];
    if (c == ' ') blank = place;
    if (c == '/') slash = place;
    if (c == '<') open = place;
    if (c == '>') close = place;
  }

  if (open == 0) {
    /* <CALL> GRID6 POWER: the call as its hash, the grid through the call packer. */
    uint8_t i;
    const char* grid;
    char turned[6];
    status = QVW_HASH_NOT_CLOSED;
    if (close == QVW_NONE) goto refuse;
    status = QVW_HASH_EMPTY;
    if (close == 1) goto refuse;
    for (i = 1; i < close; ++i) {
      status = QVW_HASH_BLANK;
      if (m[i] == ' ') goto refuse;
      status = QVW_HASH_LOWER_CASE;
      if (qvc_is_lower(m[i])) goto refuse;
    }
    status = QVW_HASH_TOO_LONG;
    if (close - 1 > QVW_LONGEST_HASHED_CALL) goto refuse;
    /* So close is at most 13 and the grid, with the blank after it, ends inside the text. */
    status = QVW_HASH_NO_BLANK;
    if (m[close + 1] != ' ') goto refuse;
    grid = m + close + 2;
    if (!qvw_is_grid(grid, 6, 1) || grid[6] != ' ') {
      status = QVW_HASH_GRID;
      start = (uint8_t)(close + 2);
      goto refuse_word;
    }
    /* The grid goes through the call packer, turned by one place so its digits come third: it
       is always a call then. */
    for (i = 0; i < 5; ++i) turned[i] = grid[i + 1];
    turned[5] = grid[0];
    qvc_pack_call(turned, 6, QVC_CALL_RULES_WSPR, &call);
    high = (uint16_t)(qvw_lookup3_rounds(m + 1, (uint8_t)(close - 1), QVW_CALL_HASH_SEED) &
                      QVW_CALL_HASH_MASK);
    type = QVW_TYPE_HASHED_CALL;
    at = (uint8_t)(close + 9);
  } else if (open != QVW_NONE) {
    status = QVW_HASH_NOT_FIRST;
    goto refuse;
  } else if (slash == 0) {
    status = QVW_STARTS_WITH_SLASH;
    goto refuse;
  } else if (slash != QVW_NONE) {
    /* PFX/CALL POWER or CALL/SFX POWER; the reference looks at the first 12 characters of the
       call. extra is 1 + the prefix's flag, added to the power. */
    uint8_t after;
    status = QVW_COMPOUND_FORM;
    if (blank == QVW_NONE || slash > blank) goto refuse;
    count = blank < 12 ? blank : 12;
    status = QVW_NOT_A_CALL;
    if (slash >= count) goto refuse;
    after = (uint8_t)(count - slash - 1);
    count = slash;
    extra = 2;
    if (after == 2) {
      /* Two characters, read as digits without a check; /00-/09 fall on the letters /Q-/Z. The
         value, 60026 plus at most a few thousand either way, is taken modulo 32768. */
      high = (uint16_t)(60026 - 32768 + qvw_two_digits(m + slash + 1));
    } else {
      /* A suffix of one character or none, or a prefix: its first three characters; either
         right-aligned in its width as a base-37 number by one loop (j counts from n - width,
         modulo 256, so the places before the characters read as blanks). */
      const char* chars = m;
      uint8_t n = slash < 3 ? slash : 3, width = 3, j;
      uint16_t value = 0;
      if (after <= 1) {
        chars = m + slash + 1;
        n = after;
        width = 1;
      }
      for (j = (uint8_t)(n - width); j != n; ++j)
        value = (uint16_t)(37 * value + qvw_prefix_code(j < n ? chars[j] : ' '));
      if (after <= 1) {
        /* A digit or a capital letter; anything else (or none) is taken as 38. */
        high = (uint16_t)(27232 + (value == 36 ? 38 : value));
      } else {
        /* The prefix, its number's top bit sent as the flag. */
        extra = (uint8_t)(1 + (value >> 15));
        high = value & 0x7FFF;
        start = (uint8_t)(slash + 1);
        count = after;
      }
    }
    if (!qvc_pack_call(m + start, count, QVC_CALL_RULES_WSPR, &call)) goto refuse;
    type = QVW_TYPE_COMPOUND_CALL;
    at = (uint8_t)(blank + 1);
  } else {
    /* CALL GRID4 POWER, or why the text is not that either. */
    uint8_t is_call = 0;
    if (blank >= 2 && blank <= 6) {
      is_call = qvc_pack_call(m, blank, QVC_CALL_RULES_WSPR, &call);
      status = QVW_GRID_POWER_MISSING;
      if (is_call && end <= blank) goto refuse;
      if (is_call && qvw_pack_grid_field(m + blank + 1, &high)) {
        type = QVW_TYPE_CALL_GRID_POWER;
        at = (uint8_t)(blank + 5);
        goto power;
      }
    }
    status = QVC_EMPTY_MESSAGE;
    if (end == 0) goto refuse;
    status = QVW_STARTS_WITH_BLANK;
    if (blank == 0) goto refuse;
    status = QVW_TYPE1_CALL;
    count = blank == QVW_NONE ? QVW_MESSAGE_LENGTH : blank;
    if (!is_call) goto refuse;
    count = 0;
    status = QVW_BLANKS_APART;
    if (m[blank + 1] == ' ') goto refuse;
    /* The whole word as typed is quoted, not the four characters a grid would take. */
    status = QVW_TYPE1_GRID;
    start = (uint8_t)(blank + 1);
    most = QVW_MESSAGE_LENGTH;
    goto refuse_word;
  }

power:
  /* The power, read as a whole number from place at to the end (what follows the number is
     ignored). */
  status = qvc_read_list_number(m + at, (uint8_t)(QVW_MESSAGE_LENGTH - at), &message->typed_power);
  if (status == QVC_LIST_END) {
    status = QVW_POWER_MISSING;
    start = count = 0;
    goto refuse;
  }
  if (status != QVC_LIST_VALUE) {
    while (m[at] == ' ') ++at;
    status = QVW_POWER_NOT_A_NUMBER;
    start = at;
    count = (uint8_t)(end - at);
    goto refuse;
  }
  /* status is QVC_OK now, typed_power the number read. */
  message->power = qvw_power_level(message->typed_power, &moved);
  start = count = 0;
  if (moved) {
    changes |= QVW_CHANGED_POWER;
    start = at;
  }
  /* n2: a 15- or 16-bit value over 7 low bits. The shifts here and below go through the shared
     multiply-add, which costs less flash than inline 32-bit shifts on an 8-bit chip. */
  message->type = type;
  message->n1 = call;
  message->n2 =
      qvc_multiply_add(high, 128,
                       type == QVW_TYPE_HASHED_CALL ? (uint8_t)(63 - message->power)
                                                    : (uint8_t)(message->power + 64 + extra));
  /* The 50 bits, n1's 28 then n2's low 22, written from the last byte up: n2 << 6 fills bytes 6
     to 3, and n1 << 4 joins it in byte 3, where the low four bits hold what is left of n2 << 6
     to send (n2 may have 23 bits). */
  {
    uint32_t part = qvc_multiply_add(message->n2, 64, 0);
    uint8_t i;
    for (i = 7; i-- > 0; part >>= 8) {
      if (i == 3) part = qvc_multiply_add(call, 16, (uint8_t)(part & 15));
      message->source[i] = (uint8_t)part;
    }
  }
  if (tones != NULL) {
    /* The 162 coded bits go in the last 21 bytes of tones. Byte k of them is read whole when
       tone 8k is made, and lies at place 141 + k, at or past 8k for every k up to 20: each is
       read before a tone is written over it, and the stack needs no room for them. */
    uint8_t *coded = tones + QVW_SYMBOLS - 21, *next = coded, i, marks = 0, bits = 0;
    qvc_code_and_interleave(message->source, 50, coded);
    /* A byte of coded bits and one of sync bits read per eight tones, each bit shifted out at
       the top: no bit-addressing call per tone. */
    for (i = 0; i < QVW_SYMBOLS; ++i, marks = (uint8_t)(marks << 1), bits = (uint8_t)(bits << 1)) {
      uint8_t bit;
      if ((i & 7) == 0) {
        marks = qvc_flash_byte(&qvw_sync[next - coded]);
        bits = *next++;
      }
      bit = (uint8_t)(bits >> 7);
      if (symbols) symbols[i] = bit;
      tones[i] = (uint8_t)(2 * bit + (marks >> 7));
    }
  }
  goto report;

refuse_word:
  /* The whole word from start as typed, up to most characters. */
  count = qvw_word_length(m + start, most);
refuse:
report:
  report->status = status;
  report->word_start = start;
  report->word_length = count;
  report->changes = changes;
}

void qvw_pack(const char* text, qvw_message* message, qvc_report* report) {
  qvw_wspr_encode(text, message, NULL, NULL, report);
}
