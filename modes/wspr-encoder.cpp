// WSPR from source bits to channel symbols, and its sync vector.
#include "modes/wspr-encoder.h"

#include <string>

#include "modes/bit-reversal-interleaver.h"
#include "modes/convolutional-code.h"

namespace wspr {
namespace {

constexpr std::string_view kSync =
    "110000001000111000100101111000000010010100000010110011010001"
    "101000011010101010010010110001101010001000001001001110110011"
    "010001110000010100110000000110101100011000";

}  // namespace

const modes::Bits& SyncVector() {
  static const modes::Bits sync = [] {
    modes::Bits bits;
    for (char c : kSync) bits.push_back(c == '1');
    return bits;
  }();
  return sync;
}

Encoding EncodeMessage(std::string_view text) {
  Encoding encoding;
  encoding.packing = PackMessage(text);
  if (!encoding.packing.ok) return encoding;
  encoding.source = SourceBits(encoding.packing.source);
  encoding.data = modes::InterleaveBitReversal(modes::ConvolutionalEncode(encoding.source));
  const modes::Bits& sync = SyncVector();
  for (int i = 0; i < kSymbolCount; ++i) encoding.tones.push_back(2 * encoding.data[i] + sync[i]);
  encoding.decoded = UnpackMessage(FromSourceBits(encoding.source));
  return encoding;
}

}  // namespace wspr
