/* The third field's words, and the third field on its own for the host: the packer reads it
   inline (qvj-field3.h). */
#include "qvj-field3.h"

#include "qvj-pack.h"

const uint8_t qvj_field3_words[25] QVC_FLASH =
    "OOO \0"
    "    \0"
    "RO  \0RRR \0"
    "73  ";

uint8_t qvj_pack_field3(const char field[4], uint16_t* value) {
  return qvj_field3_value(field, 1, value);
}
