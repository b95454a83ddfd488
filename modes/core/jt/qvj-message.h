/* The 72-bit message of JT65, JT9 and JT4: the text as a mode takes it (22 characters, capitals,
   blanks collapsed, the OOO flag split off) and its 72 source bits, two 28-bit call fields and a
   16-bit third field. Status codes 16-47 and change bits 8-15 (shared with WSPR) of the JT family
   are numbered here. */
#ifndef QVJ_MESSAGE_H
#define QVJ_MESSAGE_H

#include <stdint.h>

#include "../common/qvc-status.h"

#ifdef __cplusplus
extern "C" {
#endif

#define QVJ_MESSAGE_LENGTH 22

/* Message types, numbered as the reference encoder's "Type" column. */
#define QVJ_TYPE_SHORTHAND 0 /* RO, RRR or 73 alone: two tones, no symbols */
#define QVJ_TYPE_STANDARD 1
#define QVJ_TYPE_LIST_PREFIX 2
#define QVJ_TYPE_LIST_SUFFIX 3
#define QVJ_TYPE_FREE_PREFIX 4
#define QVJ_TYPE_FREE_SUFFIX 5
#define QVJ_TYPE_FREE_TEXT 6

/* A shorthand message (RO, RRR, 73) has no channel symbols in JT65 and JT9. */
#define QVJ_SHORTHAND 16

/* OOO ended the text, and JT9 and JT4 do not send it. */
#define QVJ_CHANGED_OOO_DROPPED (1UL << 8)

typedef struct {
  char text[QVJ_MESSAGE_LENGTH + 1]; /* as the mode took it, NUL-terminated; JT65 keeps OOO */
  uint8_t source[9];                 /* the 72 bits, first bit in the top bit of source[0] */
  uint8_t type;                      /* QVJ_TYPE_* */
  uint8_t ooo;                       /* the text ended in the OOO flag */
} qvj_message;

/* The text cut or padded to 22 characters, a-z made capitals, and up to the last character that
   is not a blank every run of blanks cut to one (a single leading blank stays). Sets
   QVC_CHANGED_CUT in changes when more than blanks was cut. */
void qvj_normalise(const char* text, char message[QVJ_MESSAGE_LENGTH], uint32_t* changes);

/* Removes the OOO flag from a normalised message: " OOO" ending a message whose last character
   is at place 11 or later, or " OO" at places 20-22. 1 when there was one. */
uint8_t qvj_split_ooo(char message[QVJ_MESSAGE_LENGTH]);

/* 1 for RO, RRR or 73 standing alone. */
uint8_t qvj_is_shorthand(const char message[QVJ_MESSAGE_LENGTH]);

/* The steps of qvj_prepare: JT9 drops a leading blank, after looking for the shorthand messages;
   JT4 does not look for them (it sends them as free text, and its packer sets the type). The
   highest step is 2: steps below it look for them. */
#define QVJ_PREPARE_DROP_BLANK 1
#define QVJ_PREPARE_NO_SHORTHAND 2

/* JT9's and JT4's reading of a text into message->text and ->ooo, with the steps above (0 or
   more); 1 when it is a shorthand message. Clears report. */
uint8_t qvj_prepare(const char* text, uint8_t steps, qvj_message* message, qvc_report* report);

/* Packs message->text (normalised, without OOO, not a shorthand) into ->source and ->type. */
void qvj_pack(qvj_message* message);

/* The same for a text held elsewhere. */
void qvj_pack_text(const char text[QVJ_MESSAGE_LENGTH], qvj_message* message);

#ifdef __cplusplus
}
#endif

#endif
