/* The call check, the call hash and the plain 28-bit call field (a standard call or a hash) of
   the 77-bit messages; the packer holds the field's DE/QRZ/CQ and bracket rules. Arithmetic on
   numbers wider than 32 bits is done on little-endian byte strings, which costs an 8-bit chip
   less than 64-bit integers. */
#include "modes/core/ft/qvf-call28.h"

#include <string.h>

#include "modes/core/common/qvc-flash.h"
#include "modes/core/ft/qvf-text.h"

/* The hash multiplies the base-38 value of the call by this number, modulo 2^64 (little-endian),
   followed by its negative modulo 2^64, which a character outside the alphabet adds. */
static const uint8_t kHashMultiplier[16] QVC_FLASH = {
    0x73, 0x09, 0xBF, 0xF4, 0x0A, 0, 0, 0, 0x8D, 0xF6, 0x40, 0x0B, 0xF5, 0xFF, 0xFF, 0xFF};

int8_t qvf_a38(char c) {
  if (c == ' ') return 0;
  if (c == '/') return 37;
  if (qvf_is_digit(c)) return (int8_t)(c - '0' + 1);
  if (qvf_is_letter(c)) return (int8_t)(c - 'A' + 11);
  return -1;
}

uint8_t qvf_base_call(const char* word, uint8_t length, uint8_t* base_at, uint8_t* base_length) {
  uint8_t slash = qvf_find(word, length, '/'), at = 0, n = length, i;
  const char* base;
  if (length > 11) return 0;
  for (i = 0; i < length; ++i) {
    char c = word[i];
    if (c == '.' || c == '+' || c == '-' || c == '?') return 0;
  }
  if (slash < length) {
    uint8_t after = (uint8_t)(length - slash - 1);
    if (slash > 6 || after > 6) return 0;
    if (slash != 0 && after != 0) {
      if (slash > after) {
        n = slash;
      } else {
        at = (uint8_t)(slash + 1);
        n = after;
      }
    } else if (n > 6) {
      n = 6; /* a "/" at either end: the first six characters */
    }
  } else if (length > 6) {
    return 0;
  }
  base = word + at;
  if (n < 2 || !(qvf_is_letter(base[0]) || qvf_is_letter(base[1]))) return 0;
  if (base[0] == 'Q' && !qvf_is(base, n, QVF_QU1RK)) return 0;
  /* the call-area digit third or second, then one to three letters */
  i = (uint8_t)(n > 2 && qvf_is_digit(base[2]) ? 3 : qvf_is_digit(base[1]) ? 2 : n);
  if ((uint8_t)(n - i - 1) > 2) return 0;
  for (; i < n; ++i)
    if (!qvf_is_letter(base[i])) return 0;
  *base_at = at;
  *base_length = n;
  return 1;
}

/* The hash's product, at a fixed address: a small chip reaches it without the stack frame a
   local array takes. The host's build gives each thread its own. */
#ifdef QVF_HOST_DETAIL
static _Thread_local uint8_t product[8];
#else
static uint8_t product[8];
#endif

uint32_t qvf_call_hash(const char* call, uint8_t length, uint8_t bits) {
  uint8_t i, j;
  uint32_t top;
  memset(product, 0, sizeof product);
  /* The base-38 value of the call times the multiplier, modulo 2^64, by Horner's rule on the
     product itself: each character multiplies it by 38 and adds its code times the multiplier,
     both in one pass over the bytes (a byte's sum stays below 2^16). A character outside the
     alphabet counts as -1, as in every other sender: it adds the multiplier's negative once.
     Reading either row of one table through one loop costs less than a complement and a
     length test inside it. */
  for (i = 0; i < 11; ++i) {
    int8_t code = i < length ? qvf_a38(call[i]) : 0;
    /* the multiplier's bytes times the code, or its negative's once for a code of -1 */
    const uint8_t* factor = kHashMultiplier + (code < 0 ? 8 : 0);
    uint8_t times = code < 0 ? 1 : (uint8_t)code;
    uint16_t carry = 0;
    for (j = 0; j < 8; ++j) {
      carry += (uint16_t)(product[j] * 38U) + (uint16_t)(qvc_flash_byte(&factor[j]) * times);
      product[j] = (uint8_t)carry;
      carry >>= 8;
    }
  }
  top = qvf_read32(product + 4);
  return top >> (32 - bits);
}

/* The place of the call-area digit of a standard call (1 or 2), 0 when the text is none: the
   last digit, behind a letter and before at most three letters. */
static uint8_t standard_area_digit(const char* text, uint8_t length) {
  uint8_t at = 0, i, any = 0, letter_before = 0, letters_after = 0;
  for (i = 0; i < length; ++i) {
    if (qvf_is_digit(text[i])) {
      at = i;
      letter_before = any;
      letters_after = 0;
    } else if (qvf_is_letter(text[i])) {
      any = 1;
      ++letters_after;
    }
  }
  if (at < 1 || at > 2 || !letter_before || letters_after > 3) return 0;
  return at;
}

/* The sizes of the alphabets of the six places of a standard call: A37 (blank, digits, letters),
   A36 (digits, letters), the digits, and A27 (blank, letters) three times. */
static const uint8_t kPlaceSizes[6] QVC_FLASH = {37, 36, 10, 27, 27, 27};

uint8_t qvf_plain_call28(const char* text, uint8_t length, uint32_t* value) {
  uint8_t area = standard_area_digit(text, length), i;
  uint32_t number;
  if (area == 0) {
    number = qvf_call_hash(text, length, 22);
    goto add;
  }
  /* Six places, the digit in the third: a call with its digit second starts with a blank. A
     character outside its place's alphabet would borrow from its neighbours: "W9XY/P" would go
     out as "W9XXZ", another station. Such a text is no call this field can hold. Codes are
     taken from A38 and made unsigned, so an unknown character is 255. The number grows in the
     hash's product, a byte string at a fixed address: nothing is kept in registers across the
     multiplications, which spares the chip most of the saved registers, and the byte string's
     multiply-add is the one the packer links anyway. */
  memset(product, 0, sizeof product);
  for (i = 0; i < 6; ++i) {
    uint8_t at = (uint8_t)(i + area - 2), size = qvc_flash_byte(&kPlaceSizes[i]);
    uint8_t code = at < length ? (uint8_t)qvf_a38(text[at]) : 0;
    if ((uint8_t)(i - 1) < 2) {
      --code; /* A36 and the digits start at "0" */
    } else if (i > 2 && code != 0) {
      code = code < 11 ? 0xFF : (uint8_t)(code - 10); /* A27 has no digits */
    }
    if (code >= size) return 0;
    qvf_multiply_add(product, 4, size, code, 0);
  }
  /* the standard calls follow the 2^22 hashes: one addition of the hashed range's start */
  number = qvf_read32(product) + (QVF_CALL28_STANDARD - QVF_CALL28_HASHED);
add:
  *value = QVF_CALL28_HASHED + number;
  return 1;
}
