// Free text back from base 42. The third group's top two bits ride as the lowest bits of the
// first two fields.
#include "modes/free-text.h"

#include "modes/fixed-text.h"

namespace jt65 {
namespace {

void WriteBase42(std::int32_t value, std::string& text, std::size_t first, std::size_t count) {
  for (std::size_t i = first + count; i-- > first;) {
    text[i] = kTextAlphabet[value % 42];
    value /= 42;
  }
}

}  // namespace

std::string UnpackFreeText(const PackedMessage& packed) {
  std::int32_t third =
      (packed.field3 & 0x7FFF) | ((packed.call1 & 1) << 15) | ((packed.call2 & 1) << 16);
  std::string text(kMessageLength, ' ');
  WriteBase42(packed.call1 / 2, text, 0, 5);
  WriteBase42(packed.call2 / 2, text, 5, 5);
  WriteBase42(third, text, 10, 3);
  return text;
}

}  // namespace jt65
