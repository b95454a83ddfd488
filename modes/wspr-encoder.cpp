// WSPR through the encoder core, and the notes on what a receiver will show.
#include "modes/wspr-encoder.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "common/ascii.h"
#include "modes/core/wspr/qvw-wspr.h"

namespace wspr {
namespace {

// The words of a text in capitals, blanks collapsed.
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : std::string(text) + " ") {
    if (c != ' ') {
      word += ascii::Upper(c);
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
  static const modes::Bits sync = [] {
    modes::Bits bits(kSymbolCount);
    for (int i = 0; i < kSymbolCount; ++i) bits[i] = qvw_sync_bit(std::uint8_t(i));
    return bits;
  }();
  return sync;
}

Encoding EncodeMessage(std::string_view text) {
  qvw_message core{};
  qvc_report report{};
  std::uint8_t symbols[QVW_SYMBOLS];
  std::uint8_t tones[QVW_SYMBOLS];
  qvw_wspr_encode(std::string(text).c_str(), &core, symbols, tones, &report);
  Encoding encoding;
  encoding.packing = PackingOf(core, report);
  if (!encoding.packing.ok) return encoding;
  encoding.source = SourceBits(encoding.packing.source);
  encoding.data.assign(symbols, symbols + QVW_SYMBOLS);
  encoding.tones.assign(tones, tones + QVW_SYMBOLS);
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
