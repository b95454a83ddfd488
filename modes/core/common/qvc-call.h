/* A callsign field as a 28-bit number: six positions, letter-or-digit, letter-or-digit, digit,
   then three letters or blanks, read as one mixed-radix number. Numbers from QVC_CALL_BASE up
   are not callsigns but the words CQ, QRZ, DE and "CQ nnn". JT65, JT9, JT4 and WSPR share it;
   WSPR's older rules know CQ and QRZ only and keep no place for Guinea's 3X calls. */
#ifndef QVC_CALL_H
#define QVC_CALL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* 37 * 36 * 10 * 27 * 27 * 27: the count of ordinary callsign values. */
#define QVC_CALL_BASE 262177560UL
#define QVC_CALL_CQ (QVC_CALL_BASE + 1)
#define QVC_CALL_QRZ (QVC_CALL_BASE + 2)
#define QVC_CALL_CQ_FREQUENCY (QVC_CALL_BASE + 3) /* + nnn of "CQ nnn" */
#define QVC_CALL_DE 267796945UL

#define QVC_CALL_RULES_JT 0
#define QVC_CALL_RULES_WSPR 1

/* The value of a call field of length characters (only the first 6 count; fewer are padded
   with blanks); 0 when the field is not a callsign, 1 with *value set when it is. */
uint8_t qvc_pack_call(const char* field, uint8_t length, uint8_t rules, uint32_t* value);

#ifdef __cplusplus
}
#endif

#endif
