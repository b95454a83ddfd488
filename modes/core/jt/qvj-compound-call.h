/* The walk through the list of prefixes a compound call may carry as a listed add-on (the list
   is in qvj-pack.c). An inline function, since its one caller on the chip, the packer,
   then pays no prologue for it; qvj_walk_prefixes (qvj-pack.h) gives it to the host. */
#ifndef QVJ_COMPOUND_CALL_H
#define QVJ_COMPOUND_CALL_H

#include <stdint.h>

#include "../common/qvc-flash.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The list, grouped by first character: see qvj-pack.c. */
#define QVJ_PREFIX_GROUPS 32
extern const uint8_t qvj_prefix_groups[3 * QVJ_PREFIX_GROUPS] QVC_FLASH;
extern const uint8_t qvj_prefix_rests[] QVC_FLASH;

/* Walks the list up to entry wanted or, when wanted is 0, up to the entry equal to the first
   length characters of field, and returns its place (1-339), or 0 when there is none. Only a
   walk to entry wanted leaves it in text (NUL-terminated): the packer's search, where wanted
   is the constant 0, then stores no characters at all. A search reads only the groups of the
   field's first character, a few dozen bytes, not the whole list.
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
  /* Places in the tables rather than pointers: fewer bytes for the 8051 to keep. */
  uint8_t group;
  uint16_t rest = 0, k = 0;
  for (group = 0; group < sizeof qvj_prefix_groups; group += 3) {
    uint8_t first = qvc_flash_byte(&qvj_prefix_groups[group]);
    uint8_t count = qvc_flash_byte(&qvj_prefix_groups[group + 1]);
    char c = (char)(first & 0x7F);
    /* No "||": where wanted is a constant 0, folding it away must not leave a branch on a
       constant, which sdcc reports. */
    if (!(uint8_t)((c == field[0]) | (wanted != 0))) {
      /* Another first character: the group's entries counted, its bytes stepped over. */
      k = (uint16_t)(k + count);
      rest = (uint16_t)(rest + qvc_flash_byte(&qvj_prefix_groups[group + 2]));
    } else {
      /* How many first characters of the entry equal the field's, counted as the entry is
         read: the packer then keeps no copy of the entry to compare. Reading every entry of
         the group leaves rest at the next group's bytes. */
      uint8_t same = (uint8_t)(length != 0 && c == field[0]);
      if (wanted != 0) text[0] = c;
      for (; count > 0; --count) {
        uint8_t used = 1;
        ++k;
        if (!(first & 0x80)) {
          uint8_t byte = qvc_flash_byte(&qvj_prefix_rests[rest]);
          used = (uint8_t)(byte >> 6);
          if (same > used) same = used;
          do {
            c = (char)((byte & 0x3F) + '0');
            if (same == used && used < length && c == field[used]) ++same;
            if (wanted != 0) text[used] = c;
            ++used;
          } while (!((byte = qvc_flash_byte(&qvj_prefix_rests[++rest])) & 0xC0));
        }
        first = 0;
        if (wanted != 0) text[used] = '\0';
        if (k == wanted) return k;
        if (same == used && used == length) return k;
      }
    }
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
