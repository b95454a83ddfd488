/* Systematic Reed-Solomon encoding by polynomial division. GF(64) products go through log and
   antilog tables, and the generator is kept as the logs of its coefficients (none is zero), so
   each step of the division is one addition modulo 63 and two table reads. The two tables are
   not stored: they are built, 63 steps of doubling, in buffers the caller lends, which costs
   less flash than the 127 bytes they would take there. */
#include "qvc-reed-solomon.h"

#include <string.h>

#include "qvc-flash.h"

/* The generator's coefficients of x^0 ... x^50 as logs (that of x^51 is 0, the coefficient 1). */
static const uint8_t qvc_rs_generator_log[] QVC_FLASH = {
    42, 36, 57, 12, 9,  41, 22, 21, 27, 39, 18, 41, 52, 19, 39, 21, 4,
    59, 27, 15, 51, 10, 37, 51, 58, 36, 8,  37, 37, 30, 10, 58, 29, 48,
    24, 39, 0,  25, 12, 52, 48, 32, 60, 55, 56, 1,  27, 2,  12, 1,  50,
};

/* alpha times a: a doubling, reduced by x^6 + x + 1. */
static uint8_t qvc_gf64_double(uint8_t a) {
  a = (uint8_t)(a << 1);
  return a & 64 ? (uint8_t)(a ^ 0x43) : a;
}

uint8_t qvc_gf64_multiply(uint8_t a, uint8_t b) {
  /* Shift and add: the host's use, where speed does not matter. */
  uint8_t product = 0;
  for (; b != 0; b >>= 1, a = qvc_gf64_double(a))
    if (b & 1) product ^= a;
  return product;
}

uint8_t qvc_rs_generator(uint8_t i) {
  uint8_t value = 1, e;
  if (i >= QVC_RS_PARITY) return 1;
  for (e = qvc_flash_byte(&qvc_rs_generator_log[i]); e > 0; --e) value = qvc_gf64_double(value);
  return value;
}

void qvc_rs63_encode_in(const uint8_t data[12], uint8_t codeword[63], uint8_t power[63],
                        uint8_t log[63]) {
  uint8_t i, j, element = 1;
  for (i = 0; i < 63; ++i) {
    power[i] = element;
    log[element - 1] = i;
    element = qvc_gf64_double(element);
  }
  /* The remainder is kept one place up, in codeword[1 ... 51], over a zero in codeword[0]: each
     step of the division then reads the place below without a test for the bottom one. */
  memset(codeword, 0, QVC_RS_PARITY + 1);
  for (i = 12; i-- > 0;) {
    uint8_t feedback = (uint8_t)(data[i] ^ codeword[QVC_RS_PARITY]);
    uint8_t feedback_log = feedback != 0 ? log[feedback - 1] : 0;
    uint8_t* place = codeword + QVC_RS_PARITY;
    const uint8_t* generator = qvc_rs_generator_log + QVC_RS_PARITY;
    for (j = QVC_RS_PARITY; j > 0; --j) {
      uint8_t below = *(place - 1);
      --generator;
      if (feedback != 0) {
        uint8_t sum = (uint8_t)(feedback_log + qvc_flash_byte(generator));
        below ^= power[sum >= 63 ? (uint8_t)(sum - 63) : sum];
      }
      *place-- = below;
    }
  }
  for (i = 0; i < QVC_RS_PARITY; ++i) codeword[i] = codeword[i + 1];
  memcpy(codeword + QVC_RS_PARITY, data, 12);
}

void qvc_rs63_encode(const uint8_t data[12], uint8_t codeword[63]) {
  uint8_t power[63], log[63];
  qvc_rs63_encode_in(data, codeword, power, log);
}
