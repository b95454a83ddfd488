/* The walk through the list of prefixes a compound call may carry as a listed add-on (the list
   is in qvj-compound-call.c). An inline function, since its one caller on the chip, the packer,
   then pays no prologue for it; qvj_walk_prefixes (qvj-pack.h) gives it to the host. */
#ifndef QVJ_COMPOUND_CALL_H
#define QVJ_COMPOUND_CALL_H

#include <stdint.h>

#include "../common/qvc-flash.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The list as one run of bytes, each entry written as what differs from the entry before it:
   its first byte holds in the top two bits how many characters it keeps of that entry, 1 or 2,
   or 3 for none (the entry opens a group of entries with a new first character); the bytes
   after it have 0 there; the low six bits hold each new character less '0'. 0xFF ends the list.
   In qvj-compound-call.c. */
#define QVJ_PREFIX_LIST_END 0xFF
extern const uint8_t qvj_prefix_list[] QVC_FLASH;

/* Walks the list up to entry wanted or, when wanted is 0, up to the entry equal to the first
   length characters of field, and returns its place (1-339), or 0 when there is none. Only a
   walk to entry wanted leaves it in text (NUL-terminated): the packer's search, where wanted
   is the constant 0, then stores no characters at all. A search only counts the entries of
   groups whose first character is not the field's, reading no text for them.
   sdcc reports a branch that folding a constant removes (warnings 110 and 126) and the core is
   built with --Werror; here removing the stores is the point, so sdcc is told not to report it
   for this function alone. */
#ifdef __SDCC
#pragma save
#pragma disable_warning 110
#pragma disable_warning 126
#endif
static inline uint16_t qvj_prefix_walk(const char* field, uint8_t length, uint16_t wanted,
                                       char text[5]) {
  const uint8_t* next = qvj_prefix_list;
  uint16_t k = 0;
  /* How many first characters of the entry equal the field's, counted as the entry is read:
     the packer then keeps no copy of the entry to compare. */
  uint8_t byte = qvc_flash_byte(next), same = 0;
  while (byte != QVJ_PREFIX_LIST_END) {
    uint8_t used = (uint8_t)(byte >> 6);
    ++k;
    if (used == 3) {
      used = 0;
      /* No "||": where wanted is a constant 0, folding it away must not leave a branch on a
         constant, which sdcc reports. */
      if (!(uint8_t)(((uint8_t)((byte & 0x3F) + '0') == (uint8_t)field[0]) | (wanted != 0))) {
        /* Another first character: count this group's entries up to the next group. */
        while (((byte = qvc_flash_byte(++next)) & 0xC0) != 0xC0)
          if (byte & 0xC0) ++k;
        continue;
      }
    }
    if (same > used) same = used;
    do {
      char c = (char)((byte & 0x3F) + '0');
      if (same == used && used < length && c == field[used]) ++same;
      if (wanted != 0) text[used] = c;
      ++used;
    } while (!((byte = qvc_flash_byte(++next)) & 0xC0));
    if (wanted != 0) text[used] = '\0';
    if (k == wanted) return k;
    if (same == used && used == length) return k;
  }
  return 0;
}
#ifdef __SDCC
#pragma restore
#endif

#ifdef __cplusplus
}
#endif

#endif
