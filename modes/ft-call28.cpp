// The call check, the call hash and the 28-bit call field of the 77-bit messages.
#include "modes/ft-call28.h"

#include "modes/fixed-text.h"

namespace ft {
namespace {

using jt65::IsDigit;
using jt65::IsLetter;

constexpr std::uint64_t kHashMultiplier = 47055833459ull;

// The call-area digit of a standard call sits in the second or third place.
std::optional<std::size_t> StandardAreaDigit(std::string_view text) {
  if (text.size() < 2) return std::nullopt;
  std::size_t at = text.size() - 1;
  while (at >= 1 && !IsDigit(text[at])) --at;
  if (at < 1 || at > 2) return std::nullopt;
  bool letterBefore = false;
  for (std::size_t i = 0; i < at; ++i) letterBefore |= IsLetter(text[i]);
  int lettersAfter = 0;
  for (std::size_t i = at + 1; i < text.size(); ++i) lettersAfter += IsLetter(text[i]);
  if (!letterBefore || lettersAfter > 3) return std::nullopt;
  return at;
}

// "CQ_nnn" or "CQ_abcd"; -1 for one that cannot be sent, nothing for other words.
std::optional<std::int64_t> CqModifier(std::string_view word) {
  if (word.size() < 4 || word.size() > 7 || word.substr(0, 3) != "CQ_") return std::nullopt;
  std::string_view x = word.substr(3);
  bool allDigits = true, anyDigit = false;
  for (char c : x) {
    allDigits &= IsDigit(c);
    anyDigit |= IsDigit(c);
  }
  if (x.size() == 3 && allDigits) return kCall28CqNumbers + std::stoi(std::string(x));
  if (anyDigit) return std::nullopt;
  // Anything but letters would be sent as blanks, a modifier other than the one typed: -1.
  for (char c : x)
    if (!IsLetter(c)) return -1;
  std::int64_t number = 0;
  std::string aligned = std::string(4 - x.size(), ' ') + std::string(x);
  for (char c : aligned) number = number * 27 + (IsLetter(c) ? c - 'A' + 1 : 0);
  return kCall28CqLetters + number;
}

}  // namespace

int ValueIn(std::string_view alphabet, char c) {
  std::size_t at = alphabet.find(c);
  return at == std::string_view::npos ? -1 : int(at);
}

std::optional<std::string> BaseCall(std::string_view word) {
  if (word.size() > 11 || word.find_first_of(".+-?") != std::string_view::npos) return std::nullopt;
  std::size_t slash = word.find('/');
  if (word.size() > 6 && slash == std::string_view::npos) return std::nullopt;
  std::string_view base = word.substr(0, 6);
  if (slash != std::string_view::npos) {
    std::string_view before = word.substr(0, slash), after = word.substr(slash + 1);
    if (before.size() > 6 || after.size() > 6) return std::nullopt;
    if (slash != 0 && slash != word.size() - 1)
      base = before.size() > after.size() ? before : after;
  }
  if (base.size() < 2 || !(IsLetter(base[0]) || IsLetter(base[1]))) return std::nullopt;
  if (base[0] == 'Q' && base != "QU1RK") return std::nullopt;
  std::size_t area;
  if (base.size() > 2 && IsDigit(base[2])) {
    area = 2;
  } else if (IsDigit(base[1])) {
    area = 1;
  } else {
    return std::nullopt;
  }
  std::string_view tail = base.substr(area + 1);
  if (tail.empty() || tail.size() > 3) return std::nullopt;
  for (char c : tail)
    if (!IsLetter(c)) return std::nullopt;
  return std::string(base);
}

bool IsBracketed(std::string_view word) {
  std::size_t close = word.find('>');
  return !word.empty() && word[0] == '<' && close != std::string_view::npos && close >= 4;
}

std::string_view InsideBrackets(std::string_view word) {
  std::size_t close = word.find('>');
  return word.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
}

std::uint32_t CallHash(std::string_view call, int bits) {
  std::int64_t number = 0;
  for (std::size_t i = 0; i < 11; ++i)
    number = number * 38 + (i < call.size() ? ValueIn(kA38, call[i]) : 0);
  std::uint64_t product = std::uint64_t(number) * kHashMultiplier;
  return std::uint32_t(product >> (64 - bits));
}

std::optional<std::int64_t> PackCall28(std::string_view text) {
  if (text == "DE") return 0;
  if (text == "QRZ") return 1;
  if (text == "CQ") return 2;
  if (std::optional<std::int64_t> cq = CqModifier(text)) return *cq < 0 ? std::nullopt : cq;
  // Without its ">", a bracketed call hashes as empty text.
  if (!text.empty() && text[0] == '<')
    return kCall28Hashed + CallHash(text.find('>') != text.npos ? InsideBrackets(text) : "", 22);
  std::optional<std::size_t> area = StandardAreaDigit(text);
  if (!area) return kCall28Hashed + CallHash(text, 22);
  std::string six = jt65::Fixed((*area == 1 ? " " : "") + std::string(text), 6);
  const std::string_view alphabets[6] = {kA37, kA36, kA36.substr(0, 10), kA27, kA27, kA27};
  const int sizes[6] = {37, 36, 10, 27, 27, 27};
  std::int64_t value = 0;
  for (int i = 0; i < 6; ++i) {
    // A character outside its alphabet would borrow from its neighbours: "W9XY/P" would go out
    // as "W9XXZ", another station. Such a text is no call this field can hold.
    int code = ValueIn(alphabets[i], six[std::size_t(i)]);
    if (code < 0) return std::nullopt;
    value = value * sizes[i] + code;
  }
  return kCall28Standard + value;
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
