/* Systematic Reed-Solomon encoding by polynomial division. GF(64) products go through log and
   antilog tables, and the generator is kept as the logs of its coefficients (none is zero), so
   each step of the division is one addition modulo 63 and two table reads. */
#include "qvc-reed-solomon.h"

#include <string.h>

#include "qvc-flash.h"

/* alpha^i for i = 0 ... 62; the log of each element (log[0] unused); the generator's
   coefficients of x^0 ... x^50 as logs (that of x^51 is 1). */
static const uint8_t qvc_gf64_power[] QVC_FLASH = {
    1,  2,  4,  8,  16, 32, 3,  6,  12, 24, 48, 35, 5,  10, 20, 40, 19, 38, 15, 30, 60,
    59, 53, 41, 17, 34, 7,  14, 28, 56, 51, 37, 9,  18, 36, 11, 22, 44, 27, 54, 47, 29,
    58, 55, 45, 25, 50, 39, 13, 26, 52, 43, 21, 42, 23, 46, 31, 62, 63, 61, 57, 49, 33,
};
static const uint8_t qvc_gf64_log[] QVC_FLASH = {
    0,  0,  1,  6,  2,  12, 7,  26, 3,  32, 13, 35, 8,  48, 27, 18, 4,  24, 33, 16, 14, 52,
    36, 54, 9,  45, 49, 38, 28, 41, 19, 56, 5,  62, 25, 11, 34, 31, 17, 47, 15, 23, 53, 51,
    37, 44, 55, 40, 10, 61, 46, 30, 50, 22, 39, 43, 29, 60, 42, 21, 20, 59, 57, 58,
};
static const uint8_t qvc_rs_generator_log[] QVC_FLASH = {
    42, 36, 57, 12, 9,  41, 22, 21, 27, 39, 18, 41, 52, 19, 39, 21, 4,
    59, 27, 15, 51, 10, 37, 51, 58, 36, 8,  37, 37, 30, 10, 58, 29, 48,
    24, 39, 0,  25, 12, 52, 48, 32, 60, 55, 56, 1,  27, 2,  12, 1,  50,
};

static uint8_t qvc_gf64_sum_of_logs(uint8_t a, uint8_t b) {
  uint8_t sum = (uint8_t)(a + b);
  return sum >= 63 ? (uint8_t)(sum - 63) : sum;
}

uint8_t qvc_gf64_multiply(uint8_t a, uint8_t b) {
  if (a == 0 || b == 0) return 0;
  return qvc_flash_byte(&qvc_gf64_power[qvc_gf64_sum_of_logs(qvc_flash_byte(&qvc_gf64_log[a]),
                                                             qvc_flash_byte(&qvc_gf64_log[b]))]);
}

uint8_t qvc_rs_generator(uint8_t i) {
  if (i >= QVC_RS_PARITY) return 1;
  return qvc_flash_byte(&qvc_gf64_power[qvc_flash_byte(&qvc_rs_generator_log[i])]);
}

void qvc_rs63_encode(const uint8_t data[12], uint8_t codeword[63]) {
  uint8_t i, j;
  /* The remainder is kept one place up, in codeword[1 ... 51], over a zero in codeword[0]: each
     step of the division then reads the place below without a test for the bottom one. */
  memset(codeword, 0, QVC_RS_PARITY + 1);
  for (i = 12; i-- > 0;) {
    uint8_t feedback = (uint8_t)(data[i] ^ codeword[QVC_RS_PARITY]);
    uint8_t feedback_log = qvc_flash_byte(&qvc_gf64_log[feedback]);
    uint8_t* place = codeword + QVC_RS_PARITY;
    const uint8_t* generator = qvc_rs_generator_log + QVC_RS_PARITY;
    for (j = QVC_RS_PARITY; j > 0; --j) {
      uint8_t below = *(place - 1);
      --generator;
      if (feedback != 0)
        below ^= qvc_flash_byte(
            &qvc_gf64_power[qvc_gf64_sum_of_logs(feedback_log, qvc_flash_byte(generator))]);
      *place-- = below;
    }
  }
  memmove(codeword, codeword + 1, QVC_RS_PARITY);
  memcpy(codeword + QVC_RS_PARITY, data, 12);
}
