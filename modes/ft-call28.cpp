// The call check, the call hash and the 28-bit call field of the 77-bit messages through the
// encoder core, and the text of a 28-bit field.
#include "modes/ft-call28.h"

#include <algorithm>

#include "modes/core/ft/qvf-call28.h"

namespace ft {

int ValueIn(std::string_view alphabet, char c) {
  std::size_t at = alphabet.find(c);
  return at == std::string_view::npos ? -1 : int(at);
}

std::optional<std::string> BaseCall(std::string_view word) {
  std::uint8_t at = 0, length = 0;
  if (word.size() > 11 || !qvf_base_call(word.data(), std::uint8_t(word.size()), &at, &length))
    return std::nullopt;
  return std::string(word.substr(at, length));
}

std::uint32_t CallHash(std::string_view call, int bits) {
  return qvf_call_hash(call.data(), std::uint8_t(std::min<std::size_t>(call.size(), 11)),
                       std::uint8_t(bits));
}

std::optional<std::int64_t> PackCall28(std::string_view text) {
  std::uint32_t value = 0;
  if (text.size() > 255 || !qvf_call28(text.data(), std::uint8_t(text.size()), &value))
    return std::nullopt;
  return value;
}

std::string CallBook::Find(std::uint32_t hash, int bits) const {
  for (auto call = calls.rbegin(); call != calls.rend(); ++call)
    if (CallHash(*call, bits) == hash) return "<" + *call + ">";
  return "<...>";
}

namespace {

// Letters or a call read back from base-27 and friends: trimmed, refused with a blank inside.
std::optional<std::string> Solid(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  std::string trimmed = text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (trimmed.find(' ') != std::string::npos) return std::nullopt;
  return trimmed;
}

}  // namespace

std::optional<std::string> UnpackCall28(std::int64_t value, const CallBook& book, bool* hashed) {
  *hashed = false;
  if (value == 0) return "DE";
  if (value == 1) return "QRZ";
  if (value == 2) return "CQ";
  if (value < kCall28CqLetters) {
    std::string digits = std::to_string(value - kCall28CqNumbers);
    return "CQ " + std::string(3 - digits.size(), '0') + digits;
  }
  if (value < 532444) {
    std::int64_t number = value - kCall28CqLetters;
    std::string letters(4, ' ');
    for (int i = 3; i >= 0; --i, number /= 27) letters[i] = kA27[number % 27];
    std::optional<std::string> solid = Solid(letters);
    if (!solid) return std::nullopt;
    return "CQ " + *solid;
  }
  if (value < kCall28Hashed) return std::nullopt;
  if (value < kCall28Standard) {
    *hashed = true;
    return book.Find(std::uint32_t(value - kCall28Hashed), 22);
  }
  std::int64_t number = value - kCall28Standard;
  std::string six(6, ' ');
  for (int i = 5; i >= 3; --i, number /= 27) six[i] = kA27[number % 27];
  six[2] = kA36[number % 10];
  number /= 10;
  six[1] = kA36[number % 36];
  number /= 36;
  if (number >= 37) return std::nullopt;
  six[0] = kA37[number];
  return Solid(six);
}

}  // namespace ft
