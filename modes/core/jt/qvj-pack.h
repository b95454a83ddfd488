/* The pieces of the 72-bit packing a host reads on its own: the third field, the compound-call
   add-ons and their lists, the free-text flag. qvj_pack (qvj-message.h) puts them together. */
#ifndef QVJ_PACK_H
#define QVJ_PACK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The free-text flag, bit 15 of the third field. */
#define QVJ_FREE_TEXT_FLAG 0x8000U

/* The value of a third field (4 characters, blank-padded): a locator, a report, RO, RRR, 73 or
   blanks. 0 when it is none of them (the message then goes as free text). */
uint8_t qvj_pack_field3(const char field[4], uint16_t* value);

/* The first-field bases of CQ, QRZ and DE with a free-form prefix, then with a suffix: the field
   holds the base plus the add-on as a base-37 number. */
#define QVJ_CQ_PREFIX_BASE 262178563UL
#define QVJ_QRZ_PREFIX_BASE 264002072UL
#define QVJ_DE_PREFIX_BASE 265825581UL
#define QVJ_CQ_SUFFIX_BASE 267649090UL
#define QVJ_QRZ_SUFFIX_BASE 267698375UL
#define QVJ_DE_SUFFIX_BASE 267747660UL

/* The add-on kinds, ordered so that the larger of two calls' kinds is the message type. */
#define QVJ_ADD_ON_NONE 1
#define QVJ_ADD_ON_LIST_PREFIX 2
#define QVJ_ADD_ON_LIST_SUFFIX 3
#define QVJ_ADD_ON_FREE_PREFIX 4
#define QVJ_ADD_ON_FREE_SUFFIX 5

#define QVJ_PREFIX_COUNT 339
#define QVJ_FIRST_SUFFIX_CODE 401

/* Walks the prefix list up to entry wanted or, when wanted is 0, up to the entry equal to the
   first length characters of field. Leaves that entry in text (NUL-terminated) and returns its
   place (1-339), or 0 when there is none. */
uint16_t qvj_walk_prefixes(const char* field, uint8_t length, uint16_t wanted, char text[5]);

/* Listed prefix k (1-339) into text, NUL-terminated; its length. */
uint8_t qvj_prefix_text(uint16_t k, char text[5]);

/* The listed suffixes: suffix code 401 + i is this text's character i. */
#define QVJ_SUFFIX_LIST "P0123456789A"

#ifdef __cplusplus
}
#endif

#endif
