// FT8 and FT4 as modes of the encoder library: a message packed into 77 bits, protected by the
// CRC and the LDPC code, and mapped onto each mode's tones.
#pragma once

#include <string_view>

#include "modes/bits.h"
#include "modes/mode.h"

namespace ft {

// The 174-bit codeword of 77 message bits: the bits, their CRC-14 and the 83 parity bits.
modes::Bits Codeword174(const modes::Bits& bits77);

// Packs the text into encoding's source bits (77), its text and decoded text, and the notes of
// what packing changed; refuses what a receiver would refuse. FST4 and Q65 send the same bits.
modes::EncodeResult PackForAir(std::string_view text, modes::Encoding& encoding);

// Fill encoding (mode, submode and physical layer already set) with the message's bits and tones.
modes::EncodeResult EncodeFt8(std::string_view text, modes::Encoding& encoding);
modes::EncodeResult EncodeFt4(std::string_view text, modes::Encoding& encoding);

}  // namespace ft
