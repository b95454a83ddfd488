/* WSPR from message text to its 162 channel symbols and tones: 50 source bits (n1, 28 bits, and
   n2, 22 bits) in one of three forms
     type 1  CALL GRID4 POWER             "K1ABC FN42 37"
     type 2  PFX/CALL POWER, CALL/SFX POWER  "PJ4/K1ABC 37", "K1ABC/P 37"
     type 3  <CALL> GRID6 POWER           "<PJ4/K1ABC> FK52UD 37", the call as its 15-bit hash
   then the convolutional code and interleaver, each coded bit sent over a sync bit. The text is
   read as the reference encoder reads it: 22 characters, neither upper-cased nor with blanks
   collapsed. Status codes 48-79 and the power change bit are numbered here. */
#ifndef QVW_WSPR_H
#define QVW_WSPR_H

#include <stdint.h>

#include "../common/qvc-flash.h"
#include "../common/qvc-status.h"

#ifdef __cplusplus
extern "C" {
#endif

#define QVW_MESSAGE_LENGTH 22
#define QVW_SYMBOLS 162

#define QVW_TYPE_CALL_GRID_POWER 1
#define QVW_TYPE_COMPOUND_CALL 2
#define QVW_TYPE_HASHED_CALL 3

/* Refusals; word_start and word_length of the report point at the word quoted, if any. The
   empty message is QVC_EMPTY_MESSAGE. */
#define QVW_POWER_MISSING 48      /* the power in dBm is missing at the end */
#define QVW_POWER_NOT_A_NUMBER 49 /* word: the power is not a whole number */
#define QVW_COMPOUND_FORM 50      /* a "/" elsewhere than in the call, or a grid after it */
#define QVW_NOT_A_CALL 51         /* word: the base call of a compound call */
#define QVW_HASH_NOT_CLOSED 52    /* no ">" */
#define QVW_HASH_EMPTY 53         /* nothing between "<" and ">" */
#define QVW_HASH_BLANK 54         /* a blank between "<" and ">" */
#define QVW_HASH_LOWER_CASE 55    /* lower case between "<" and ">" */
#define QVW_HASH_TOO_LONG 56      /* more than 12 characters between "<" and ">" */
#define QVW_HASH_NO_BLANK 57      /* no blank after ">" */
#define QVW_HASH_GRID 58          /* word: not a 6-character grid */
#define QVW_GRID_POWER_MISSING 59 /* a call alone */
#define QVW_HASH_NOT_FIRST 60     /* a "<" that does not start the message */
#define QVW_STARTS_WITH_SLASH 61
#define QVW_STARTS_WITH_BLANK 62
#define QVW_TYPE1_CALL 63   /* word: not a callsign for CALL GRID4 POWER */
#define QVW_BLANKS_APART 64 /* more than one blank after the call */
#define QVW_TYPE1_GRID 65   /* word: not a 4-character grid */

/* The power was not a WSPR level and went out as the nearest one; word: the power typed. */
#define QVW_CHANGED_POWER (1UL << 9)

typedef struct {
  char text[QVW_MESSAGE_LENGTH + 1]; /* the 22 characters as read, NUL-terminated */
  uint8_t source[7];                 /* the 50 bits, first bit in the top bit of source[0] */
  uint8_t type;                      /* QVW_TYPE_* */
  uint8_t power;                     /* dBm, as sent */
  int32_t typed_power;               /* dBm, as typed */
  uint32_t n1, n2;                   /* the two fields as computed, before they are cut to size */
} qvw_message;

/* Encodes text (NUL-terminated, any length); symbols (the interleaved bits, one a byte) may be
   NULL; each tone is 2 * symbol + sync bit. With tones NULL it only packs (qvw_pack). */
void qvw_wspr_encode(const char* text, qvw_message* message, uint8_t* symbols,
                     uint8_t tones[QVW_SYMBOLS], qvc_report* report);

/* Packs text into message (n1, n2, source, type, power); status in report. */
void qvw_pack(const char* text, qvw_message* message, qvc_report* report);

/* WSPR sends powers from 0 to 60 dBm ending in 0, 3 or 7; anything else is clamped to that range
   and moved to the nearest level. */
uint8_t qvw_round_power(int32_t dbm);

/* The 32-bit lookup3 hash of length bytes of key, started from seed. */
uint32_t qvw_lookup3(const char* key, uint8_t length, uint32_t seed);

/* A call's 15-bit hash as a type 3 message sends it (lookup3, seed 146, low 15 bits); inline,
   as the packer calls it once. */
static inline uint16_t qvw_call_hash(const char* call, uint8_t length) {
  return (uint16_t)(qvw_lookup3(call, length, 146) & 0x7FFF);
}

/* The sync bits, packed, the first in the top bit of byte 0; a table in flash (QVC_FLASH). */
extern const uint8_t qvw_sync[21] QVC_FLASH;
/* Two helpers of the packer, each called from two places: as functions of their own they exist
   once in flash, where the compiler would copy a file's own helper into both. */
/* 1 when the first places characters of g begin a grid (two letters A-R, two digits, two letters
   A-X), lower-case letters counting when fold is 1. */
uint8_t qvw_is_grid(const char* g, uint8_t places, uint8_t fold);
/* Two characters read as a decimal number without a check. */
int16_t qvw_two_digits(const char* at);

/* Sync bit i (0-161). */
uint8_t qvw_sync_bit(uint8_t i);

#ifdef __cplusplus
}
#endif

#endif
