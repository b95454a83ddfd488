// FT8 and FT4 as modes of the encoder library: the encoder core's bits and tones, with the decoded
// text and the notes in words.
#pragma once

#include <string_view>

#include "modes/mode.h"

namespace ft {

// Packs the text into encoding's source bits (77), its text and decoded text, and the notes of
// what packing changed; refuses what a receiver would refuse. FST4 and Q65 send the same bits.
modes::EncodeResult PackForAir(std::string_view text, modes::Encoding& encoding);

// Fill encoding (mode, submode and physical layer already set) with the message's bits and tones.
modes::EncodeResult EncodeFt8(std::string_view text, modes::Encoding& encoding);
modes::EncodeResult EncodeFt4(std::string_view text, modes::Encoding& encoding);

}  // namespace ft
