// The listing the encoder prints, in the layout of the classic WSJT encoder:
//
//   Message:   CQ K1ABC FN42
//   Packed message, 6-bit symbols:  62 32 32 49 39 55  3  2 14  5 33 40
//   Channel symbols, including FEC:
//      41 26 52 55 27 48 25  0 44 36 18  3 37  9 51  6 23  2  9 54 53
//      ... (three lines of 21)
//   Decoded message: CQ K1ABC FN42
//
// Free text has a "Plain text." line after the message line; a shorthand message has only the
// message line and "Shorthand message.". Every line ends in CR LF and none ends in a blank: a
// reader takes the symbols from the lines between "Channel symbols" and "Decoded", and the decoded
// text from behind the first ":" of the last line.
#pragma once

#include <string>

#include "modes/jt65-encoder.h"

namespace jt65 {

std::string FormatListing(const Encoding& encoding);

}  // namespace jt65
