// Q65 as a mode of the encoder library: the 77-bit messages of FT8 through the encoder core's
// Q65 channel.
#pragma once

#include <string_view>

#include "modes/mode.h"

namespace q65 {

// Fill encoding (mode, submode and physical layer already set) with the message's bits and tones.
// A standard message ending in RR73 carries the RR73 code, as WSJT-X's transmitter sends it.
modes::EncodeResult EncodeQ65(std::string_view text, modes::Encoding& encoding);

}  // namespace q65
