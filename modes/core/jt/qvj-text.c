/* Normalising the text of a JT message, the OOO flag and the shorthand messages: the entry
   points JT65 and the host call (the work is in qvj-text.h). */
#include "qvj-text.h"

#include "qvj-message.h"

void qvj_normalise(const char* text, char message[QVJ_MESSAGE_LENGTH], uint32_t* changes) {
  qvj_normalise_inline(text, message, changes);
}

uint8_t qvj_split_ooo(char message[QVJ_MESSAGE_LENGTH]) {
  return qvj_split_ooo_inline(message);
}

uint8_t qvj_is_shorthand(const char message[QVJ_MESSAGE_LENGTH]) {
  return qvj_is_shorthand_inline(message);
}
