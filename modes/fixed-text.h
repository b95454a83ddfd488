// Fixed-width text as the JT65 message routines see it: every field is a run of a set width,
// padded with blanks, and the two alphabets turn the decoded codes back into characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace jt65 {

// A message is always handled as exactly this many characters.
inline constexpr std::size_t kMessageLength = 22;

// Callsign alphabet: the code of a character is its position.
inline constexpr std::string_view kCallAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
// Free-text alphabet: the code of a character is its position.
inline constexpr std::string_view kTextAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ +-./?";

// text cut, or padded with blanks, to width characters.
std::string Fixed(std::string_view text, std::size_t width);

// text without its trailing blanks.
std::string_view TrimRight(std::string_view text);

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
inline bool IsLetter(char c) {
  return c >= 'A' && c <= 'Z';
}

}  // namespace jt65
