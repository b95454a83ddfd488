// The destinations of the bit-reversal interleaver, worked out for the block length at hand.
#include "modes/bit-reversal-interleaver.h"

#include <vector>

namespace modes {
namespace {

int Reverse8(int value) {
  int reversed = 0;
  for (int bit = 0; bit < 8; ++bit) reversed |= ((value >> bit) & 1) << (7 - bit);
  return reversed;
}

// The place of each coded bit in a block of size bits.
std::vector<int> BuildDestinations(std::size_t size) {
  std::vector<int> destinations;
  destinations.reserve(size);
  for (int i = 0; i < 256 && destinations.size() < size; ++i) {
    int place = Reverse8(i);
    if (std::size_t(place) < size) destinations.push_back(place);
  }
  return destinations;
}

// The blocks of WSPR (162) and JT9/JT4 (206) are worked out once.
std::vector<int> Destinations(std::size_t size) {
  static const std::vector<int> wspr = BuildDestinations(162);
  static const std::vector<int> jt = BuildDestinations(206);
  if (size == wspr.size()) return wspr;
  if (size == jt.size()) return jt;
  return BuildDestinations(size);
}

}  // namespace

Bits InterleaveBitReversal(const Bits& in) {
  Bits out(in.size());
  std::vector<int> destinations = Destinations(in.size());
  for (std::size_t k = 0; k < destinations.size(); ++k) out[destinations[k]] = in[k];
  return out;
}

Bits DeinterleaveBitReversal(const Bits& out) {
  Bits in(out.size());
  std::vector<int> destinations = Destinations(out.size());
  for (std::size_t k = 0; k < destinations.size(); ++k) in[k] = out[destinations[k]];
  return in;
}

}  // namespace modes
