// Fuzzes the WSPR, JT9 and JT4 encoders (and JT65 through the same entry point) with any message:
// each mode either refuses it with a reason or encodes it into symbols and tones of the right
// count and range; every stage undoes exactly (source bits to n1/n2 and back, the interleaver,
// the Gray code, the sync); the decoded text is the unpacking of the bits sent; and a message
// that went through without a note decodes to itself and encodes again to the same bits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/ascii.h"
#include "fuzz/fuzz-support.h"
#include "modes/bit-reversal-interleaver.h"
#include "modes/convolutional-code.h"
#include "modes/fixed-text.h"
#include "modes/gray-code.h"
#include "modes/jt4-encoder.h"
#include "modes/jt72-message.h"
#include "modes/jt9-encoder.h"
#include "modes/message-format.h"
#include "modes/mode.h"
#include "modes/wspr-encoder.h"

namespace {

constexpr size_t kLongestMessage = 40;

bool InRange(const std::vector<int>& values, int top) {
  return std::all_of(values.begin(), values.end(), [&](int v) { return v >= 0 && v <= top; });
}

// The words of a text in capitals.
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

// Words of digits alone (a + before them aside) without their leading zeros.
std::vector<std::string> NumbersByValue(std::vector<std::string> words) {
  for (std::string& word : words) {
    if (word.size() > 1 && word[0] == '+') word.erase(0, 1);
    if (word.find_first_not_of("0123456789") != std::string::npos) continue;
    std::size_t first = word.find_first_not_of('0');
    word = first == std::string::npos ? "0" : word.substr(first);
  }
  return words;
}

void CheckWspr(std::string_view text, const modes::Encoding& encoding) {
  FUZZ_CHECK(encoding.sourceBits.size() == 50);
  FUZZ_CHECK(encoding.symbols.size() == 162 && InRange(encoding.symbols, 1));
  FUZZ_CHECK(encoding.tones.size() == 162 && InRange(encoding.tones, 3));
  modes::Bits data(encoding.symbols.begin(), encoding.symbols.end());
  FUZZ_CHECK(modes::DeinterleaveBitReversal(data) ==
             modes::ConvolutionalEncode(encoding.sourceBits));
  for (size_t i = 0; i < 162; ++i)
    FUZZ_CHECK(encoding.tones[i] == 2 * data[i] + wspr::SyncVector()[i]);

  wspr::SourceMessage source = wspr::FromSourceBits(encoding.sourceBits);
  FUZZ_CHECK(wspr::SourceBits(source) == encoding.sourceBits);
  FUZZ_CHECK(wspr::UnpackMessage(source) == encoding.decoded);
  wspr::Packing packing = wspr::PackMessage(text);
  FUZZ_CHECK(packing.ok && packing.power == wspr::RoundPower(packing.power));
  if (!encoding.notes.empty() || packing.type == wspr::MessageType::kHashedCall) return;
  // Packed without a note: a receiver shows the words typed, in capitals (a number by its value:
  // a power of "00" shows as "0"), and they pack to the same bits.
  FUZZ_CHECK(NumbersByValue(Words(encoding.decoded)) == NumbersByValue(Words(text)));
  modes::Encoding again;
  FUZZ_CHECK(modes::EncodeMessage(modes::Mode::kWspr, 0, encoding.decoded, again).ok);
  FUZZ_CHECK(again.sourceBits == encoding.sourceBits);
}

void CheckJt72(modes::Mode mode, const modes::Encoding& encoding) {
  FUZZ_CHECK(encoding.sourceBits.size() == 72);
  modes::Bits interleaved =
      modes::InterleaveBitReversal(modes::ConvolutionalEncode(encoding.sourceBits));
  FUZZ_CHECK(interleaved.size() == 206);
  std::string unpacked = jt65::UnpackMessage(modes::FromJt72Bits(encoding.sourceBits));
  FUZZ_CHECK(modes::Jt72Bits(modes::FromJt72Bits(encoding.sourceBits)) == encoding.sourceBits);
  if (mode == modes::Mode::kJt9) {
    FUZZ_CHECK(encoding.symbols.size() == 69 && InRange(encoding.symbols, 7));
    FUZZ_CHECK(encoding.tones.size() == 85 && InRange(encoding.tones, 8));
    FUZZ_CHECK(jt9::Tones(encoding.symbols) == encoding.tones);
    modes::Bits regrouped;
    for (int symbol : encoding.symbols)
      modes::AppendBits(regrouped, std::uint64_t(modes::UndoGrayCode(symbol)), 3);
    FUZZ_CHECK(regrouped.back() == 0);
    regrouped.pop_back();
    FUZZ_CHECK(regrouped == interleaved);
    FUZZ_CHECK(encoding.decoded == std::string(jt65::TrimRight(jt65::NormaliseMessage(unpacked))));
  } else {
    FUZZ_CHECK(encoding.tones.size() == 206 && InRange(encoding.tones, 3));
    FUZZ_CHECK(modes::Bits(encoding.symbols.begin(), encoding.symbols.end()) == interleaved);
    bool inverted = jt4::InvertsSync(encoding.message);
    for (size_t i = 0; i < 206; ++i)
      FUZZ_CHECK(encoding.tones[i] == 2 * interleaved[i] + (jt4::SyncVector()[i] ^ inverted));
    FUZZ_CHECK(encoding.decoded == std::string(jt65::TrimRight(unpacked)));
  }
  if (!encoding.notes.empty()) return;
  // Sent without a note: the decoded text is the message, and it encodes to the same bits.
  FUZZ_CHECK(Words(encoding.decoded) == Words(encoding.message));
  // In JT9, " 73" is free text (a leading blank hides the shorthand), but "73" is a shorthand.
  if (mode == modes::Mode::kJt9 && jt65::IsShorthand(jt65::Fixed(encoding.decoded, 22))) return;
  modes::Encoding again;
  FUZZ_CHECK(modes::EncodeMessage(mode, 0, encoding.decoded, again).ok);
  FUZZ_CHECK(again.sourceBits == encoding.sourceBits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzzsupport::AsText(data, std::min(size, kLongestMessage));
  for (modes::Mode mode :
       {modes::Mode::kWspr, modes::Mode::kJt9, modes::Mode::kJt4, modes::Mode::kJt65}) {
    modes::Encoding encoding;
    modes::EncodeResult result = modes::EncodeMessage(mode, 0, text, encoding);
    if (!result.ok) {
      FUZZ_CHECK(!result.error.empty());
      continue;
    }
    FUZZ_CHECK(encoding.decoded.size() <= jt65::kMessageLength);
    if (mode == modes::Mode::kWspr) CheckWspr(text, encoding);
    if (mode == modes::Mode::kJt9 || mode == modes::Mode::kJt4) CheckJt72(mode, encoding);
  }
  return 0;
}
