// The Reed-Solomon (63,12) code over GF(64) that protects a JT65 message: 51 parity symbols in
// front of the 12 data symbols. Any two codewords differ in at least 52 symbols. The encoder core
// computes it; these are its C++ faces.
#pragma once

#include <array>

#include "modes/core/common/qvc-reed-solomon.h"
#include "modes/packed-message.h"

namespace jt65 {

using Codeword = std::array<int, 63>;

inline constexpr int kParityCount = QVC_RS_PARITY;

// GF(64) with x^6 + x + 1; an element is a 6-bit number, alpha = 2.
int GfMultiply(int a, int b);

// The generator polynomial's coefficients, from x^0 up to x^51 (which is 1): the product of
// (x - alpha^j) for j = 3 ... 53.
const std::array<int, kParityCount + 1>& GeneratorPolynomial();

// codeword[k] is the coefficient of x^k: the data symbols sit at 51-62, data[11] highest, and the
// parity below them is the remainder that makes the whole divisible by the generator.
Codeword EncodeReedSolomon(const DataSymbols& data);

// The data symbols of an error-free codeword.
DataSymbols DataOfCodeword(const Codeword& codeword);

}  // namespace jt65
