// The Reed-Solomon code of the encoder core as arrays, and the data part of a codeword.
#include "modes/reed-solomon.h"

#include "modes/core/common/qvc-reed-solomon.h"

namespace jt65 {

int GfMultiply(int a, int b) {
  return qvc_gf64_multiply(std::uint8_t(a & 63), std::uint8_t(b & 63));
}

const std::array<int, kParityCount + 1>& GeneratorPolynomial() {
  static const std::array<int, kParityCount + 1> generator = [] {
    std::array<int, kParityCount + 1> g{};
    for (int i = 0; i <= kParityCount; ++i) g[i] = qvc_rs_generator(std::uint8_t(i));
    return g;
  }();
  return generator;
}

Codeword EncodeReedSolomon(const DataSymbols& data) {
  std::uint8_t bytes[12];
  std::uint8_t coded[63];
  for (int i = 0; i < 12; ++i) bytes[i] = std::uint8_t(data[i] & 63);
  qvc_rs63_encode(bytes, coded);
  Codeword codeword{};
  for (int i = 0; i < 63; ++i) codeword[i] = coded[i];
  return codeword;
}

DataSymbols DataOfCodeword(const Codeword& codeword) {
  DataSymbols data{};
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = codeword[kParityCount + i];
  return data;
}

}  // namespace jt65
