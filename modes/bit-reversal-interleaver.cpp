// The interleaver's places, as the encoder core walks them, over a whole bit string.
#include "modes/bit-reversal-interleaver.h"

#include <vector>

#include "modes/core/common/qvc-convolutional.h"

namespace modes {
namespace {

std::vector<int> Destinations(std::size_t size) {
  std::vector<int> destinations(size);
  std::uint16_t counter = 0;
  for (std::size_t k = 0; k < size; ++k)
    destinations[k] = qvc_next_interleaver_place(&counter, std::uint16_t(size));
  return destinations;
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
