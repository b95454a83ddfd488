/* Callsigns in the 77-bit messages: the call check, the 10/12/22-bit call hashes and the 28-bit
   call field with its DE/QRZ/CQ, hashed and standard ranges. Texts are given as a pointer and a
   length, upper case, without blanks. */
#ifndef QVF_CALL28_H
#define QVF_CALL28_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* First values of the ranges of the 28-bit call field. */
#define QVF_CALL28_CQ_NUMBERS 3UL
#define QVF_CALL28_CQ_LETTERS 1003UL
#define QVF_CALL28_HASHED 2063592UL
#define QVF_CALL28_STANDARD 6257896UL

/* 1 when word is a callsign, possibly with one prefix or suffix; then the call it stands for (the
   longer part around the "/", or the word itself) is word[*base_at], *base_length long. */
uint8_t qvf_base_call(const char* word, uint8_t length, uint8_t* base_at, uint8_t* base_length);

/* The hash of a call (without brackets) in the top `bits` bits (10, 12 or 22). */
uint32_t qvf_call_hash(const char* call, uint8_t length, uint8_t bits);

/* The 28-bit field of a text: DE, QRZ, CQ, a "CQ_nnn"/"CQ_abcd" word, a call in angle brackets
   (hashed), a standard call, or else the hash of the text. 0 when the text is shaped like a
   standard call or a CQ word but holds a character its place cannot (it would go out as another
   call), 1 when *value is set; after a 0 *value holds nothing of use. The host's build has it (in
   qvf-message77.c, where a chip's packer has the same rules compiled into its one caller). */
#ifdef QVF_HOST_DETAIL
uint8_t qvf_call28(const char* text, uint8_t length, uint32_t* value);
#endif

/* The same for a text that is none of DE, QRZ, CQ, a CQ word or a bracketed call: a standard
   call, or else its hash. (FST4W's beacon messages need only this.) */
uint8_t qvf_plain_call28(const char* text, uint8_t length, uint32_t* value);

/* The place of c in " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/", or -1. */
int8_t qvf_a38(char c);

#ifdef __cplusplus
}
#endif

#endif
