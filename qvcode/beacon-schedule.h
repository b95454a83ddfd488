// A beacon's schedule beyond one message a line: Morse identifications after messages, and WSPR's
// pair of messages for a six-character locator.
#pragma once

#include <string>
#include <vector>

#include "common/outcome.h"
#include "modes/mode.h"
#include "qvcode/tables.h"

namespace qvcode {

// The prefix of a schedule line whose rest is sent in Morse after the message before it.
inline constexpr std::string_view kIdentificationPrefix = "cw:";

// Takes "cw: TEXT" lines (case-blind) as the identification of the message before them, and in
// WSPR turns "CALL GRID6 POWER" into the two messages sent one after the other: "CALL POWER" (a
// compound call, type 2) or "CALL GRID4 POWER" (type 1), then "<CALL> GRID6 POWER" (type 3), each
// followed by the identification. A refusal names the schedule line.
Outcome ShapeSchedule(std::vector<Message>& messages, modes::Mode mode);

}  // namespace qvcode
