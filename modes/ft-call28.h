// Callsigns in the 77-bit messages of FT8 and FT4 as the host's decoder sees them: the encoder
// core's call check, call hashes and 28-bit call field for C++ callers, the book of calls a decoder
// looks hashes up in, and the text of a 28-bit field.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ft {

// Alphabets: a character's value is its place.
inline constexpr std::string_view kA36 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr std::string_view kA37 = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr std::string_view kA27 = " ABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr std::string_view kA38 = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/";
inline constexpr std::string_view kA42 = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ+-./?";  // free text

// The place of c in alphabet, or -1: the packing arithmetic counts an unknown character as -1.
int ValueIn(std::string_view alphabet, char c);

// The call a word stands for when it is a callsign, possibly with one prefix or suffix: the longer
// part around the "/" (or the word itself); nothing when the word is not a callsign.
std::optional<std::string> BaseCall(std::string_view word);

// The m-bit hash of a call (without brackets).
std::uint32_t CallHash(std::string_view call, int bits);

// First values of the ranges of the 28-bit call field.
inline constexpr std::int64_t kCall28CqNumbers = 3;
inline constexpr std::int64_t kCall28CqLetters = 1003;
inline constexpr std::int64_t kCall28Hashed = 2063592;
inline constexpr std::int64_t kCall28Standard = 6257896;
inline constexpr std::int64_t kCall28End = std::int64_t(1) << 28;

// The 28-bit field of a text: DE, QRZ, CQ, a merged "CQ_xxxx" word, a bracketed call, a standard
// call or else the hash of the text. Nothing for a text shaped like a standard call with a
// character its place cannot hold ("W9XY/P").
std::optional<std::int64_t> PackCall28(std::string_view text);

// Calls seen while packing one message, in order; a hash is looked up among them, the last one
// seen winning, as a receiver that heard them would.
struct CallBook {
  std::vector<std::string> calls;
  void Add(std::string_view call) { calls.emplace_back(call); }
  // "<CALL>" for the last call with this hash, "<...>" when none has it.
  std::string Find(std::uint32_t hash, int bits) const;
};

// The text of a 28-bit field; nothing when a receiver would refuse it. hashed tells whether the
// field held a hash.
std::optional<std::string> UnpackCall28(std::int64_t value, const CallBook& book, bool* hashed);

}  // namespace ft
