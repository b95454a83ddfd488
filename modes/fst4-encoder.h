// FST4 and FST4W as modes of the encoder library: FST4 sends the 77-bit messages of FT8, FST4W
// the three WSPR-style beacon messages, both through the encoder core's frame.
#pragma once

#include <string_view>

#include "modes/mode.h"

namespace fst4 {

// Fill encoding (mode, submode and physical layer already set) with the message's bits and tones.
modes::EncodeResult EncodeFst4w(std::string_view text, modes::Encoding& encoding);
modes::EncodeResult EncodeFst4(std::string_view text, modes::Encoding& encoding);

}  // namespace fst4
