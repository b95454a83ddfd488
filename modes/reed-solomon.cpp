// Systematic Reed-Solomon encoding by polynomial division, with log tables for GF(64).
#include "modes/reed-solomon.h"

namespace jt65 {
namespace {

struct GaloisTables {
  std::array<int, 63> power{};  // alpha^i
  std::array<int, 64> log{};    // log[power[i]] = i; log[0] is unused
};

const GaloisTables& Tables() {
  static const GaloisTables tables = [] {
    GaloisTables t;
    int element = 1;
    for (int i = 0; i < 63; ++i) {
      t.power[i] = element;
      t.log[element] = i;
      element <<= 1;
      if (element & 64) element ^= 0x43;
    }
    return t;
  }();
  return tables;
}

}  // namespace

int GfMultiply(int a, int b) {
  if (a == 0 || b == 0) return 0;
  const GaloisTables& t = Tables();
  return t.power[(t.log[a] + t.log[b]) % 63];
}

const std::array<int, kParityCount + 1>& GeneratorPolynomial() {
  static const std::array<int, kParityCount + 1> generator = [] {
    std::array<int, kParityCount + 1> g{};
    g[0] = 1;
    for (int root = 3, degree = 0; root <= 53; ++root, ++degree) {
      // g(x) <- g(x) * (x + alpha^root); minus and plus are the same in GF(2^m).
      int alpha = Tables().power[root % 63];
      for (int i = degree + 1; i > 0; --i) g[i] = g[i - 1] ^ GfMultiply(g[i], alpha);
      g[0] = GfMultiply(g[0], alpha);
    }
    return g;
  }();
  return generator;
}

Codeword EncodeReedSolomon(const DataSymbols& data) {
  const std::array<int, kParityCount + 1>& g = GeneratorPolynomial();
  std::array<int, kParityCount> remainder{};
  for (int i = static_cast<int>(data.size()) - 1; i >= 0; --i) {
    int feedback = data[i] ^ remainder[kParityCount - 1];
    for (int j = kParityCount - 1; j > 0; --j) {
      remainder[j] = remainder[j - 1] ^ GfMultiply(feedback, g[j]);
    }
    remainder[0] = GfMultiply(feedback, g[0]);
  }
  Codeword codeword{};
  for (int j = 0; j < kParityCount; ++j) codeword[j] = remainder[j];
  for (std::size_t i = 0; i < data.size(); ++i) codeword[kParityCount + i] = data[i];
  return codeword;
}

DataSymbols DataOfCodeword(const Codeword& codeword) {
  DataSymbols data{};
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = codeword[kParityCount + i];
  return data;
}

}  // namespace jt65
