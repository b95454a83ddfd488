/* The one status type of the encoder core: what an encode call says about a message.
   A call fills a qvc_report: `status` is QVC_OK or the reason the message is refused; `changes`
   holds one bit for each thing the mode changed in the message while sending it (the host
   library turns both into words); `word_start` and `word_length` point at the word of the text
   the status or the last change speaks of, so a caller can quote what the user typed.
   Each family owns a range of status codes and of change bits, so a mode's header can be read
   alone and families never renumber each other. */
#ifndef QVC_STATUS_H
#define QVC_STATUS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint8_t qvc_status;

/* Status codes. 0 is success; each family numbers its refusals inside its own range. */
#define QVC_OK 0
#define QVC_EMPTY_MESSAGE 1 /* nothing left to send once blanks and unknown characters go */
#define QVC_BAD_ARGUMENT 2  /* a submode, period or buffer the mode does not have */
/* 16-47: JT65, JT9, JT4 (modes/core/jt)        48-79: WSPR (modes/core/wspr)
   80-127: 77-bit packing, FT8, FT4 (modes/core/ft)   128-159: FST4, FST4W, Q65
   160-175: Morse (modes/core/cw) */

/* Change bits. Bits 0-7 are shared by every family; 8-15 JT and WSPR; 16-31 the 77-bit
   families. */
#define QVC_CHANGED_CUT (1UL << 0)              /* the message was cut to the mode's length */
#define QVC_CHANGED_OUTSIDE_ALPHABET (1UL << 1) /* characters the mode lacks went out as blanks */
#define QVC_CHANGED_SENT_AS_TEXT (1UL << 2) /* free text went out instead of a structured message */
#define QVC_CHANGED_CALL_CUT (1UL << 3)     /* a callsign was cut */

typedef struct {
  qvc_status status;
  uint8_t word_start;  /* offset of the word in the text the last status or change speaks of */
  uint8_t word_length; /* its length; 0 when no single word is meant */
  uint32_t changes;    /* QVC_CHANGED_* bits */
} qvc_report;

#ifdef __cplusplus
}
#endif

#endif
