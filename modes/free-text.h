// Free text: the first 13 characters of a message, 5 + 5 + 3 characters of the 42-character
// alphabet, spread over the three fields with the free-text flag set in the third (packed by the
// encoder core).
#pragma once

#include <string>

#include "modes/packed-message.h"

namespace jt65 {

// The 22-character text of a free-text message: 13 characters, then blanks.
std::string UnpackFreeText(const PackedMessage& packed);

}  // namespace jt65
