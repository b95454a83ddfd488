// The 77-bit messages of FT8 and FT4: a text packed into 77 bits by the first message type that
// takes it, and 77 bits unpacked into the text a receiver prints.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "modes/bits.h"
#include "modes/ft-call28.h"

namespace ft {

struct Message77 {
  std::string text;  // the normalised text: first 37 characters, upper case, single blanks
  modes::Bits bits;  // 77
  int i3 = 0;        // the type: bits 74-76
  int n3 = 0;        // the subtype of type 0: bits 71-73
  CallBook book;     // the calls the message names, for the hashes it carries
  std::vector<std::string> notes;  // what the packing dropped or changed, in words
};

struct Pack77Result {
  bool ok = false;
  std::string error;  // in words, when !ok
};

Pack77Result PackMessage77(std::string_view input, Message77& message);

// The 77 bits packed first bit first, as the encoder core holds them, and back.
std::array<std::uint8_t, 10> PackedBits77(const modes::Bits& bits);
modes::Bits UnpackedBits77(const std::uint8_t* bytes);

// The text of 77 bits; nothing when a receiver would refuse them. Hashed calls are looked up in
// book; why, when given, says in words why a receiver refuses them.
std::optional<std::string> UnpackMessage77(const modes::Bits& bits, const CallBook& book,
                                           std::string* why = nullptr);

}  // namespace ft
