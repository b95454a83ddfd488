// Text a user typed, made safe to show: control characters and bytes that are not UTF-8 never
// reach a terminal raw, and a line that holds them can be named with the byte in words.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qvcode {

// The text with every control character (C0, DEL, C1) and every byte outside valid UTF-8 written
// as \xHH; the rest unchanged.
std::string Visible(std::string_view text);

// The first byte of text that is a control character (tab aside) or no part of valid UTF-8, in
// words ("byte 0x1B (a control character)"); nothing when the text is clean.
std::optional<std::string> FirstFault(std::string_view text);

}  // namespace qvcode
