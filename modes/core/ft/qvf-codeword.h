/* The error protection FT8 and FT4 share: the CRC-14 of the 77 message bits and the LDPC (174,91)
   code over the bits and their CRC. Message bits are packed first bit first, as in
   qvf-message77.h; the codeword comes one bit a byte, which the tone mappers read directly. */
#ifndef QVF_CODEWORD_H
#define QVF_CODEWORD_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QVF_CODEWORD_BITS 174

/* The CRC of 77 bits (five zero bits appended): polynomial 0x6757, initial value 0, most
   significant bit first, no final inversion. The three unused bits of bits77[9] must be zero. */
uint16_t qvf_crc14(const uint8_t bits77[10]);

/* The 174-bit codeword of 77 message bits: the bits, their CRC-14 and the 83 parity bits, each
   0 or 1 in a byte of its own. */
void qvf_codeword174(const uint8_t bits77[10], uint8_t codeword[QVF_CODEWORD_BITS]);

#ifdef __cplusplus
}
#endif

#endif
