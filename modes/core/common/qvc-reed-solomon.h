/* The Reed-Solomon (63,12) code over GF(64) that protects a JT65 message: 51 parity symbols in
   front of the 12 data symbols, so any two codewords differ in at least 52 symbols. */
#ifndef QVC_REED_SOLOMON_H
#define QVC_REED_SOLOMON_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QVC_RS_PARITY 51

/* The product of two elements of GF(64) with x^6 + x + 1 (alpha = 2). */
uint8_t qvc_gf64_multiply(uint8_t a, uint8_t b);

/* Coefficient i (0 ... 51) of the generator, the product of (x - alpha^j) for j = 3 ... 53. */
uint8_t qvc_rs_generator(uint8_t i);

/* codeword[k] is the coefficient of x^k: data at 51-62 (data[11] highest), below it the parity
   that makes the whole divisible by the generator. */
void qvc_rs63_encode(const uint8_t data[12], uint8_t codeword[63]);

/* The same with the GF(64) tables in the caller's buffers, which the call overwrites: power
   and log must not overlap codeword. */
void qvc_rs63_encode_in(const uint8_t data[12], uint8_t codeword[63], uint8_t power[63],
                        uint8_t log[63]);

#ifdef __cplusplus
}
#endif

#endif
