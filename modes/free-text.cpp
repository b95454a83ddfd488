// Free text in base 42. The third group needs 17 bits but its field has 15 beside the flag, so its
// top two bits ride as the lowest bits of the first two fields.
#include "modes/free-text.h"

#include "modes/fixed-text.h"

namespace jt65 {
namespace {

std::int32_t Base42(std::string_view text) {
  std::int32_t value = 0;
  for (char c : text) value = 42 * value + TextCode(c);
  return value;
}

void WriteBase42(std::int32_t value, std::string& text, std::size_t first, std::size_t count) {
  for (std::size_t i = first + count; i-- > first;) {
    text[i] = kTextAlphabet[value % 42];
    value /= 42;
  }
}

}  // namespace

PackedMessage PackFreeText(std::string_view message) {
  std::string text = Fixed(message, 13);
  std::int32_t first = Base42(std::string_view(text).substr(0, 5));
  std::int32_t second = Base42(std::string_view(text).substr(5, 5));
  std::int32_t third = Base42(std::string_view(text).substr(10, 3));
  PackedMessage packed;
  packed.call1 = 2 * first + ((third >> 15) & 1);
  packed.call2 = 2 * second + ((third >> 16) & 1);
  packed.field3 = (third & 0x7FFF) | kFreeTextFlag;
  packed.type = MessageType::kFreeText;
  return packed;
}

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
