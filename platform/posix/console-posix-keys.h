// The key decoder of the terminal console: the bytes a terminal sends for the keys typed, turned
// into the key records of a console input buffer. Pure: no terminal, no clock.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace pf::tty {

struct DecodedInput {
  std::vector<pf::InputRecord> records;  // each key as a press followed by its release
  int cursorReports = 0;                 // cursor position reports met (and dropped)
};

// Decodes the keys at the front of bytes and returns how many bytes they took. A key whose bytes
// may still be incomplete (a lone ESC, a sequence or UTF-8 character cut short) is left in bytes
// unless pauseSeen says no byte has come for a while: then it is taken as what it is so far (a
// lone ESC is the Esc key). With cursorReportExpected, ESC [ row ; column R is a late answer to a
// cursor query rather than a function key, and is counted instead of decoded.
size_t DecodeKeys(std::string_view bytes, bool pauseSeen, bool cursorReportExpected,
                  DecodedInput* out);

// Looks for a cursor position report (ESC [ row ; column R) anywhere in bytes; when one is there,
// removes it (the last of several, all of them removed) and gives the 0-based position.
bool TakeCursorReport(std::string* bytes, pf::Coord* position);

// The key record of a key that types c (an ASCII character or control code): its scan code, and
// Shift for capitals and shifted signs, Ctrl for control codes.
pf::KeyEventRecord KeyForAscii(char c);

}  // namespace pf::tty
