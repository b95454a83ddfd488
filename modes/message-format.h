// The shape a message takes before it is packed: the argument cut to 22 characters, upper case,
// runs of blanks collapsed; the trailing OOO flag split off; the three shorthand messages spotted.
#pragma once

#include <string>
#include <string_view>

namespace jt65 {

// The argument as the encoder reads it: 22 characters, a-z made upper case, and, up to the last
// character that is not a blank, every run of blanks cut to one. A single leading blank stays.
std::string NormaliseMessage(std::string_view argument);

struct OooSplit {
  std::string message;  // 22 characters, the flag removed
  bool ooo = false;
};

// Splits off the OOO flag: " OOO" ending a message whose last character is at position 11 or
// later, or " OO" in positions 20-22. OOO travels in the sync pattern, not in the symbols.
OooSplit SplitOooFlag(const std::string& message);

// True for RO, RRR and 73 standing alone: these are sent as tone pairs, without symbols.
bool IsShorthand(const std::string& message);

}  // namespace jt65
