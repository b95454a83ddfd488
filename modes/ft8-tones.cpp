// FT8 tone mapping and framing.
#include "modes/ft8-tones.h"

#include <array>

namespace ft {
namespace {

constexpr std::array kCostas = {3, 1, 4, 0, 6, 5, 2};
// Neighbouring tones differ in one bit, but this is not the binary-reflected Gray code of the
// shared gray-code.h (3-bit values 4-7 land elsewhere), so FT8 keeps its own table.
constexpr std::array kToneOf = {0, 1, 3, 2, 5, 6, 4, 7};
constexpr std::size_t kDataTones = 58;

}  // namespace

FtTones Ft8Tones(const modes::Bits& codeword174) {
  FtTones tones;
  for (std::size_t k = 0; k < kDataTones; ++k)
    tones.data.push_back(kToneOf[modes::ReadBits(codeword174, 3 * k, 3)]);
  auto half = [&](std::size_t from) {
    tones.all.insert(tones.all.end(), kCostas.begin(), kCostas.end());
    tones.all.insert(tones.all.end(), tones.data.begin() + long(from),
                     tones.data.begin() + long(from + 29));
  };
  half(0);
  half(29);
  tones.all.insert(tones.all.end(), kCostas.begin(), kCostas.end());
  return tones;
}

}  // namespace ft
