// The 72-bit message of JT9 and JT4, as far as the two share it: the JT65 packing of the text,
// then the convolutional code and the interleaver, which give both modes the same 206 bits. The
// modes differ only before (JT9 drops a leading blank; JT4 packs RO, RRR and 73 as free text) and
// after (JT9 groups the bits into 8-level symbols, JT4 sends them with a sync bit each). The
// encoder core does the work; these are its C++ faces and the way back to text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "modes/bits.h"
#include "modes/packed-message.h"

namespace modes {

inline constexpr int kJt72CodedBits = 206;

enum class LeadingBlank { kKeep, kDrop };

struct Jt72Message {
  std::string message;     // 22 characters as packed: normalised, without OOO
  bool ooo = false;        // the text ended in OOO, which neither mode sends
  bool shorthand = false;  // RO, RRR or 73 alone, before any leading blank was dropped
  jt65::MessageType type = jt65::MessageType::kStandard;
  Bits source;          // the 72 bits: call 1 (28), call 2 (28), third field (16)
  Bits interleaved;     // the 206 coded bits, interleaved
  std::string decoded;  // what the 72 bits unpack to, 22 characters
};

// The text normalised as for JT65 (22 characters, capitals, blanks collapsed) and its OOO split
// off, without packing: a mode looks at it first for what it does not send.
Jt72Message PrepareJt72Message(std::string_view text, LeadingBlank leading);

// Packs, codes and interleaves a prepared message.
void CodeJt72Message(Jt72Message& message);

// count bits of packed bytes (the core's layout), one a byte; and back.
Bits UnpackedBits(const std::uint8_t* bytes, std::size_t count);
void PackedBits(const Bits& bits, std::uint8_t* bytes);

Bits Jt72Bits(const jt65::PackedMessage& packed);
jt65::PackedMessage FromJt72Bits(const Bits& bits);

}  // namespace modes
