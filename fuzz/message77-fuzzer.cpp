// Fuzzes the 77-bit message packing of FT8 and FT4 with any text, and the unpacking with any bits:
// nothing may fail. A text that is sent gives 77 bits whose unpacking is the decoded text, tones in
// range around sync in place, and a decoded text that, sent again, decodes to itself (unless it
// shows a hashed call, whose text a receiver cannot know, or is free text, which has its own rule:
// the first 13 characters, those outside the free-text alphabet turned into blanks).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz-support.h"
#include "modes/message77.h"
#include "modes/mode.h"

namespace {

// Messages are cut at 37 characters; a little more shows what happens to the rest.
constexpr std::size_t kLongestMessage = 48;

std::string FreeTextSent(const std::string& normalised) {
  std::string text = normalised.substr(0, 13);
  for (char& c : text)
    if (ft::kA42.find(c) == std::string_view::npos) c = ' ';
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void CheckTones(const modes::Encoding& encoding, std::size_t count, std::size_t data, int levels) {
  FUZZ_CHECK(encoding.tones.size() == count);
  FUZZ_CHECK(encoding.symbols.size() == data);
  for (int tone : encoding.tones) FUZZ_CHECK(tone >= 0 && tone < levels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(fuzzsupport::AsText(data, std::min(size, kLongestMessage)));

  // Any 77 bits unpack or are refused.
  std::vector<std::uint8_t> bits;
  for (std::size_t i = 0; i < 77; ++i)
    bits.push_back(i / 8 < size ? std::uint8_t((data[i / 8] >> (i % 8)) & 1) : 0);
  (void)ft::UnpackMessage77(bits, {});

  ft::Message77 message;
  ft::Pack77Result packed = ft::PackMessage77(text, message);
  FUZZ_CHECK(packed.ok != message.bits.empty());
  FUZZ_CHECK(packed.ok || !packed.error.empty());
  FUZZ_CHECK(message.text.size() <= 37);

  modes::Encoding ft8, ft4;
  modes::EncodeResult sent8 = modes::EncodeMessage(modes::Mode::kFt8, 0, text, ft8);
  modes::EncodeResult sent4 = modes::EncodeMessage(modes::Mode::kFt4, 0, text, ft4);
  FUZZ_CHECK(sent8.ok == sent4.ok);
  if (!sent8.ok) {
    FUZZ_CHECK(!sent8.error.empty() && ft8.tones.empty());
    return 0;
  }
  FUZZ_CHECK(packed.ok && message.bits.size() == 77);
  FUZZ_CHECK(ft8.sourceBits == message.bits && ft4.sourceBits == message.bits);
  FUZZ_CHECK(ft8.decoded == ft4.decoded);
  CheckTones(ft8, 79, 58, 8);
  CheckTones(ft4, 105, 87, 4);
  const std::vector<int> costas8 = {3, 1, 4, 0, 6, 5, 2};
  for (std::size_t at : {0, 36, 72})
    FUZZ_CHECK(std::vector<int>(ft8.tones.begin() + long(at), ft8.tones.begin() + long(at + 7)) ==
               costas8);
  FUZZ_CHECK(ft4.tones.front() == 0 && ft4.tones.back() == 0);

  const std::string decoded = ft8.decoded;
  FUZZ_CHECK(ft::UnpackMessage77(message.bits, message.book) == decoded);
  if (message.i3 == 0 && message.n3 == 0) {
    FUZZ_CHECK(decoded == FreeTextSent(message.text));
    return 0;
  }
  if (decoded.find('<') != std::string::npos) return 0;
  // A receiver's text is what the packing made of the message: sent again, it comes back as it is
  // (its bits may differ: "CQ TE# K1ABC" is sent as "CQ TE K1ABC", whose letters sit elsewhere).
  ft::Message77 again;
  FUZZ_CHECK(ft::PackMessage77(decoded, again).ok);
  FUZZ_CHECK(ft::UnpackMessage77(again.bits, again.book) == decoded);
  return 0;
}
