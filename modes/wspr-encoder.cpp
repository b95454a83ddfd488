// WSPR from source bits to channel symbols, and its sync vector.
#include "modes/wspr-encoder.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "modes/bit-reversal-interleaver.h"
#include "modes/convolutional-code.h"

namespace wspr {
namespace {

constexpr std::string_view kSync =
    "110000001000111000100101111000000010010100000010110011010001"
    "101000011010101010010010110001101010001000001001001110110011"
    "010001110000010100110000000110101100011000";

// The words of a text in capitals, blanks collapsed.
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : std::string(text) + " ") {
    if (c != ' ') {
      word += c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  return words;
}

}  // namespace

// Whether a receiver shows the words typed: the power, the last word, compared as a number, since
// "037" is sent as 37 without changing anything.
bool ShowsTheWordsTyped(std::string_view typed, std::string_view decoded) {
  std::vector<std::string> a = Words(typed), b = Words(decoded);
  if (a.size() != b.size() || a.empty()) return false;
  for (std::size_t i = 0; i + 1 < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return std::atol(a.back().c_str()) == std::atol(b.back().c_str());
}

const modes::Bits& SyncVector() {
  static const modes::Bits sync = modes::BitsOfText(kSync);
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
  // The fields are read from fixed columns, so a short grid word lets the power be read from
  // the wrong place ("C7Q 73 207" goes out as power 7): say what is sent where nothing else did.
  Packing& packing = encoding.packing;
  if (packing.notes.empty() && packing.type != MessageType::kHashedCall &&
      !ShowsTheWordsTyped(packing.message, encoding.decoded))
    packing.notes.push_back("sent as \"" + encoding.decoded + "\"");
  return encoding;
}

}  // namespace wspr
