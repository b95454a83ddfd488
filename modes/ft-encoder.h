// FT8 and FT4 as modes of the encoder library: the encoder core's bits and tones, with the decoded
// text and the notes in words.
#pragma once

#include <string_view>

#include "modes/mode.h"

namespace ft {

// Fill encoding (mode, submode and physical layer already set) with the message's bits and tones.
modes::EncodeResult EncodeFt8(std::string_view text, modes::Encoding& encoding);
modes::EncodeResult EncodeFt4(std::string_view text, modes::Encoding& encoding);

}  // namespace ft
