/* The 77-bit messages of FT8, FT4 and the modes that reuse them: a text packed into 77 bits by the
   first message type that takes it, refused when a receiver would refuse the bits.
   The bits are packed into 10 bytes, first bit first: message bit i is bit 7 - i % 8 of byte
   i / 8; the last three bits of byte 9 are zero. The type is bits 74-76 (i3) and, for type 0,
   bits 71-73 (n3). */
#ifndef QVF_MESSAGE77_H
#define QVF_MESSAGE77_H

#include <stdint.h>

#include "modes/core/common/qvc-status.h"

#ifdef __cplusplus
extern "C" {
#endif

#define QVF_MESSAGE77_BYTES 10
#define QVF_TEXT_LENGTH 37 /* characters of the text read; the rest is ignored */
#define QVF_WORD_LENGTH 13 /* characters of a word any rule looks at */

/* Refusals. word_start/word_length of the report point at the word they speak of. */
#define QVF_NO_CALL 80             /* the word is no call a 28-bit call field can hold */
#define QVF_NO_CQ_MODIFIER 81      /* the word after CQ is neither 3 digits nor 1-4 letters */
#define QVF_BAD_FIELD_DAY_CLASS 82 /* the class of a Field Day entry is not a letter A-H */
#define QVF_SUFFIX_TOO_LONG 83     /* a suffix of more than 3 characters */
#define QVF_BAD_AFFIX 84           /* a prefix or suffix with characters that cannot be sent */
#define QVF_REPORT_TOO_LONG 85     /* a signal report of more than 2 digits */
#define QVF_SERIAL_TOO_LARGE 86    /* an RTTY Roundup serial number above the exchange list */
#define QVF_REPORT_NOT_NUMBER 87   /* an RTTY Roundup report that is no number */
#define QVF_TWO_WHOLE_CALLS 88     /* two calls, one compound, neither in angle brackets */
#define QVF_TWO_HASHED_CALLS 89    /* two calls in angle brackets outside a standard message */
#define QVF_HASHED_TOO_SHORT 90    /* a call in angle brackets of fewer than 3 characters */
#define QVF_BAD_CALL_CHARACTER 91  /* a whole call with a character other than A-Z, 0-9, / */
#define QVF_NO_TEXT 92             /* free text of which no character can be sent */
#define QVF_CQ_WITH_REPLY 93       /* after CQ only a locator may follow */
#define QVF_CQ_WITH_HASHED 94      /* CQ before a call in angle brackets */

/* Changes (QVC_CHANGED_CUT: free text kept its first 13 characters; QVC_CHANGED_CALL_CUT: a
   whole call kept its first 11). word_start/word_length point at the word of the last change
   that names one. */
#define QVF_CHANGED_INPUT_CUT (1UL << 16)      /* only the first 37 characters were read */
#define QVF_CHANGED_HEX_TOO_LARGE (1UL << 17)  /* hex of 2^71 or more went as free text */
#define QVF_CHANGED_TELEMETRY_CUT (1UL << 18)  /* telemetry kept its first 18 characters */
#define QVF_CHANGED_TELEMETRY_PLUS (1UL << 19) /* the + in front of telemetry was dropped */
#define QVF_CHANGED_ROGER_DROPPED (1UL << 20)  /* word: the R before a report was dropped */
#define QVF_CHANGED_SERIAL_AS_LIST (1UL << 21) /* a serial above 8000 went as a list entry */
#define QVF_CHANGED_EXTRA_WORDS (1UL << 22)    /* only the report after the calls was sent */
#define QVF_CHANGED_WORD_DROPPED (1UL << 23)   /* word: a closing word that was not sent */
#define QVF_CHANGED_SERIAL_CLAMPED (1UL << 24) /* an EU VHF serial above 2047 went as 2047 */
#define QVF_CHANGED_LOCATOR_CUT (1UL << 25)    /* a locator kept its first 6 characters */

/* Packs text (NUL-terminated, any case) into bits77. Returns the status, also written to report
   (which may be NULL). On a refusal bits77 is all zero. */
qvc_status qvf_pack77(const char* text, uint8_t bits77[QVF_MESSAGE77_BYTES], qvc_report* report);

#ifdef QVF_HOST_DETAIL
/* What a host that also decodes needs besides the bits: the normalised text (upper case, single
   blanks, at most 37 characters) and the calls the message names, in the order a receiver would
   have heard them, for looking up the hashes the bits carry. */
typedef struct {
  char text[QVF_TEXT_LENGTH + 1];
  char calls[3][QVF_WORD_LENGTH + 1];
  uint8_t call_count;
} qvf_pack77_detail;

/* qvf_pack77 that also fills detail (when not NULL). Only the host build (QVF_HOST_DETAIL) has
   it, so a firmware carries none of the bookkeeping. */
qvc_status qvf_pack77_detailed(const char* text, uint8_t bits77[QVF_MESSAGE77_BYTES],
                               qvc_report* report, qvf_pack77_detail* detail);
#endif

#ifdef __cplusplus
}
#endif

#endif
