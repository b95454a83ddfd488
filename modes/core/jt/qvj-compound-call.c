/* The walks through the list of prefixes a compound call ("ZL/K1ABC") may carry as a listed
   add-on, for the host; the list itself is in qvj-pack.c, the packer that searches it on the
   chip, so that a chip's linker that takes whole files (sdcc's) takes none of this one. */
#include "qvj-compound-call.h"

#include <string.h>

#include "../common/qvc-flash.h"
#include "../common/qvc-text.h"
#include "qvj-pack.h"

uint16_t qvj_walk_prefixes(const char* field, uint8_t length, uint16_t wanted, char text[5]) {
  uint16_t k = qvj_prefix_walk(field, length, wanted, text);
  /* A search stores no text; the entry it found is the field's first length characters. */
  if (k != 0 && wanted == 0) {
    text[length] = '\0';
    while (length-- > 0) text[length] = field[length];
  }
  return k;
}

uint8_t qvj_prefix_text(uint16_t k, char text[5]) {
  qvj_walk_prefixes(text, 0, k, text);
  return (uint8_t)strlen(text);
}
