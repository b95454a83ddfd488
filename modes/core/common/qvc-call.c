/* Callsign packing, with the substitutions for the prefixes that do not fit six positions:
   "3DA0" (Swaziland) goes as "3D0", "3X" + letter (Guinea) as "Q" + letter. */
#include "qvc-call.h"

#include "qvc-text.h"

static uint8_t qvc_is_letter_or_blank(char c) {
  return qvc_is_letter(c) || c == ' ';
}

static uint8_t qvc_starts_with(const char* call, const char* start) {
  while (*start)
    if (*call++ != *start++) return 0;
  return 1;
}

uint8_t qvc_pack_call(const char* field, uint8_t length, uint8_t rules, uint32_t* value) {
  char call[6];
  char t[6];
  uint8_t i;
  uint32_t v;
  for (i = 0; i < 6; ++i) call[i] = i < length ? field[i] : ' ';
  if (qvc_starts_with(call, "3DA0")) {
    call[2] = '0';
    call[3] = call[4];
    call[4] = call[5];
    call[5] = ' ';
  } else if (rules == QVC_CALL_RULES_JT && call[0] == '3' && call[1] == 'X' &&
             qvc_is_letter(call[2])) {
    call[0] = 'Q';
    for (i = 1; i < 5; ++i) call[i] = call[i + 1];
    call[5] = ' ';
  }
  if (rules == QVC_CALL_RULES_WSPR) {
    if (qvc_starts_with(call, "CQ    ")) return *value = QVC_CALL_CQ, 1;
    if (qvc_starts_with(call, "QRZ   ")) return *value = QVC_CALL_QRZ, 1;
  } else {
    if (qvc_starts_with(call, "CQ ")) {
      if (qvc_is_digit(call[3]) && qvc_is_digit(call[4]) && qvc_is_digit(call[5])) {
        *value = QVC_CALL_CQ_FREQUENCY +
                 (uint16_t)((call[3] - '0') * 100 + (call[4] - '0') * 10 + (call[5] - '0'));
      } else {
        *value = QVC_CALL_CQ;
      }
      return 1;
    }
    if (qvc_starts_with(call, "QRZ ")) return *value = QVC_CALL_QRZ, 1;
    if (qvc_starts_with(call, "DE ")) return *value = QVC_CALL_DE, 1;
  }

  /* The digit of a callsign must land in the third position. */
  if (qvc_is_digit(call[2])) {
    for (i = 0; i < 6; ++i) t[i] = call[i];
  } else if (qvc_is_digit(call[1]) && call[5] == ' ') {
    t[0] = ' ';
    for (i = 1; i < 6; ++i) t[i] = call[i - 1];
  } else {
    return 0;
  }
  for (i = 0; i < 6; ++i) t[i] = qvc_upper(t[i]);
  if (!(qvc_is_letter_or_blank(t[0]) || qvc_is_digit(t[0])) ||
      !(qvc_is_letter(t[1]) || qvc_is_digit(t[1])) || !qvc_is_digit(t[2]) ||
      !qvc_is_letter_or_blank(t[3]) || !qvc_is_letter_or_blank(t[4]) ||
      !qvc_is_letter_or_blank(t[5]))
    return 0;
  v = qvc_call_code(t[0]);
  v = 36 * v + qvc_call_code(t[1]);
  v = 10 * v + qvc_call_code(t[2]);
  for (i = 3; i < 6; ++i) v = 27 * v + (uint8_t)(qvc_call_code(t[i]) - 10);
  *value = v;
  return 1;
}
