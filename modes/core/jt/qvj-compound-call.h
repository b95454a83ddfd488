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

/* The list, grouped by first character: see qvj-compound-call.c. */
#define QVJ_PREFIX_GROUPS 32
extern const uint8_t qvj_prefix_groups[3 * QVJ_PREFIX_GROUPS] QVC_FLASH;
extern const uint8_t qvj_prefix_rests[] QVC_FLASH;

/* Walks the list up to entry wanted or, when wanted is 0, up to the entry equal to the first
   length characters of field. Leaves that entry in text (NUL-terminated) and returns its place
   (1-339), or 0 when there is none. A search reads only the groups of the field's first
   character, a few dozen bytes, not the whole list. */
static inline uint16_t qvj_prefix_walk(const char* field, uint8_t length, uint16_t wanted,
                                       char text[5]) {
  const uint8_t* group = qvj_prefix_groups;
  const uint8_t* rest = qvj_prefix_rests;
  uint16_t k = 0;
  for (; group < qvj_prefix_groups + sizeof qvj_prefix_groups; group += 3) {
    uint8_t first = qvc_flash_byte(group);
    uint8_t count = qvc_flash_byte(group + 1);
    const uint8_t* next = rest + qvc_flash_byte(group + 2);
    uint8_t used = 1;
    text[0] = (char)(first & 0x7F);
    /* No "||": where wanted is a constant 0, folding it away must not leave a branch on a
       constant, which sdcc reports. */
    if ((uint8_t)((text[0] == field[0]) | (wanted != 0))) {
      for (; count > 0; --count) {
        uint8_t i;
        if (!(first & 0x80)) {
          uint8_t byte = qvc_flash_byte(rest);
          used = (uint8_t)(byte >> 6);
          do {
            text[used++] = (char)((byte & 0x3F) + '0');
          } while (!((byte = qvc_flash_byte(++rest)) & 0xC0));
        }
        first = 0;
        text[used] = '\0';
        ++k;
        if (k == wanted) return k;
        if (used == length) {
          for (i = 0; i < used && text[i] == field[i]; ++i) {
          }
          if (i == used) return k;
        }
      }
    }
    k = (uint16_t)(k + count);
    rest = next;
  }
  return 0;
}

#ifdef __cplusplus
}
#endif

#endif
