/* Small text and number helpers the 77-bit packing shares between its files (not for users). */
#ifndef QVF_TEXT_H
#define QVF_TEXT_H

#include <stdint.h>

#define qvf_is_digit(c) ((c) >= '0' && (c) <= '9')
#define qvf_is_letter(c) ((c) >= 'A' && (c) <= 'Z')

/* The place of the first c in text, or length when there is none. */
uint8_t qvf_find(const char* text, uint8_t length, char c);

/* The value of length decimal digits (at most 9; the caller checked they are digits). */
uint32_t qvf_number(const char* digits, uint8_t length);

/* number = number * factor + addend, modulo 2^(8 * size), on a little-endian byte string; fill is
   the byte every higher byte of the addend holds (0, or 0xFF for a negative addend). */
void qvf_multiply_add(uint8_t* number, uint8_t size, uint8_t factor, uint8_t addend, uint8_t fill);

#endif
