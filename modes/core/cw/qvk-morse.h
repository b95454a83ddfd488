/* Morse keying for the encoder core: a text turned into the on/off durations a transmitter keys,
   counted in dot units so that one table serves any speed (PARIS timing: a dot is one unit, a
   dash three; one unit off between the elements of a letter, three between letters, seven
   between words; "PARIS " is fifty units, so a dot lasts 1200 / wpm milliseconds).
   The durations alternate key down, key up, key down, ..., starting and ending with key down,
   so their count is odd and the message carries no trailing gap. */
#ifndef QVK_MORSE_H
#define QVK_MORSE_H

#include <stddef.h>
#include <stdint.h>

#include "modes/core/common/qvc-status.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Status: the durations do not fit the caller's buffer. */
#define QVK_BUFFER_TOO_SMALL 160

/* Durations, in dot units. */
#define QVK_DOT 1
#define QVK_DASH 3
#define QVK_ELEMENT_GAP 1
#define QVK_LETTER_GAP 3
#define QVK_WORD_GAP 7

/* The most durations a character can take (seven elements, their gaps and the gap after it). */
#define QVK_MOST_PER_CHARACTER 14

/* Keys the NUL-terminated text into durations[0..capacity). Lower case goes as upper case, a run
   of blanks is one word gap, and characters without a Morse code are left out (the report's
   changes then hold QVC_CHANGED_OUTSIDE_ALPHABET and its word points at the first of them).
   Codes: A-Z 0-9 / ? . , = + - ' ( ) : " @ ! & ; _ $.
   Returns the count of durations; 0 with report->status QVC_EMPTY_MESSAGE or
   QVK_BUFFER_TOO_SMALL. A text of n characters never needs more than QVK_MOST_PER_CHARACTER * n. */
size_t qvk_morse_keying(const char* text, uint8_t* durations, size_t capacity, qvc_report* report);

/* A character's code: a leading 1 bit, then its elements from the first, 1 a dash and 0 a dot
   ("A" .- is binary 101); 0 when the character has none. Lower case counts as upper case. */
uint8_t qvk_morse_code(char c);

/* The dot length at a speed in words per minute (PARIS); 0 for a speed of 0. */
uint16_t qvk_dot_milliseconds(uint8_t wpm);

/* The whole length of a keying in dot units. */
uint32_t qvk_keying_units(const uint8_t* durations, size_t count);

#ifdef __cplusplus
}
#endif

#endif
