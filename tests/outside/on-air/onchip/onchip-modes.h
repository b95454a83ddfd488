// The modes built as on-chip firmware (the rows of the CMakeLists.txt here, which hands their
// names and folder over as ONCHIP_MODES and ONCHIP_FIRMWARE_DIR), with what the tests and the
// benchmark need of each: its modes::Mode and generated messages of every type it has.
#pragma once

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "modes/mode.h"
#include "tests/modes/fst4w-message-maker.h"
#include "tests/modes/ft-message-maker.h"
#include "tests/modes/jt65-message-maker.h"
#include "tests/modes/wspr-message-maker.h"

namespace testonchip {

// The names of the firmware built, the stand-in `echo` left out.
inline std::vector<std::string> BuiltModes() {
  std::vector<std::string> names;
  std::istringstream list(ONCHIP_MODES);
  for (std::string name; std::getline(list, name, ',');)
    if (name != "echo") names.push_back(name);
  return names;
}

inline std::string FirmwarePath(const std::string& name, const std::string& mcu,
                                bool bare = false) {
  return std::string(ONCHIP_FIRMWARE_DIR) + "/" + name + "-" + mcu + (bare ? "-bare" : "") + ".elf";
}

// Messages of every type the mode has, from the makers the reference layer uses, after a few
// that the mode refuses or that sit on the edge of a refusal (the makers seldom make those).
inline std::vector<std::string> MessagesFor(modes::Mode mode, std::uint32_t seed, int count) {
  std::vector<std::string> messages;
  std::vector<std::string> made;
  switch (mode) {
    case modes::Mode::kWspr:
      messages = {
          "", "K1ABC", "K1ABC FN42", "K1ABC FN42 XX", "<K1ABC> FN42 37", "<K1ABC FN42AB 37"};
      made = modestest::MakeWsprMessages(seed, count);
      break;
    case modes::Mode::kFst4w:
      messages = {
          "", "K1ABC FN42", "K1ABC FN42 -5", "CQ K1ABC FN42", "K1ABC/ABCD 30", "<K1ABC> FN42AB 37"};
      made = fst4test::MakeFst4wMessages(seed, count);
      break;
    case modes::Mode::kFt8:
    case modes::Mode::kFt4:
    case modes::Mode::kFst4:
    case modes::Mode::kQ65:
      messages = {"",
                  "@@@",
                  "CQ <K1ABC> FN42",
                  "W9XYZ K1ABC R 5X9 NJ",
                  "K1ABC W9XYZ 6Z SD",
                  "PJ4/K1ABC G4/W9XYZ"};
      made = fttest::MakeFtMessages(seed, count);
      break;
    default:
      messages = {"", "   ", "RO", "RRR", "73", "ro OOO"};
      made = jt65test::MakeMessages(seed, count);
      break;
  }
  made.resize(made.size() - messages.size());
  messages.insert(messages.end(), made.begin(), made.end());
  return messages;
}

// A few messages of every type a mode built for a small chip has, each within its 24-character
// text.
inline std::vector<std::string> SmallChipMessages(modes::Mode mode) {
  if (mode == modes::Mode::kWspr)
    return {"K1ABC FN42 37", "G4XYZ IO91 10",         "PJ4/K1ABC 37",
            "K1ABC/P 23",    "<PJ4/K1ABC> FK52UD 37", "<K1ABC> FN42AB 0"};
  return {};
}

}  // namespace testonchip
