// FST4W messages for comparing the encoder with the reference tool, made from a seed: the three
// forms (CALL GRID dBm, compound call with dBm, <CALL> GRID with 4 or 6 characters) from the WSPR
// comparison's calls, locators and powers, every power from 0 to 99 in turn, and now and then
// lower case, doubled blanks and words no form takes.
#pragma once

#include <string>
#include <vector>

#include "tests/modes/wspr-message-maker.h"

namespace fst4test {

inline std::vector<std::string> MakeFst4wMessages(std::uint32_t seed, int count) {
  modestest::WsprMessageMaker maker(seed);
  jt65test::MessageMaker& random = maker.random;
  std::vector<std::string> messages;
  for (int i = 0; i < count; ++i) {
    // Each power from 0 to 99 once, in the first form; then the WSPR comparison's mix.
    std::string power = i < 100 ? std::to_string(i) : maker.Power();
    std::string message;
    switch (random.Below(10)) {
      case 0:
      case 1:
      case 2:
      case 3:
        message = maker.Call() + " " + maker.Grid4() + " " + power;
        break;
      case 4:
      case 5:
      case 6:
        message = maker.CompoundCall() + " " + power;
        break;
      default: {
        std::string call = random.Chance(60) ? maker.Call() : maker.CompoundCall();
        message = "<" + call + "> " + maker.Grid6();
        break;
      }
    }
    if (i < 100) message = maker.Call() + " " + maker.Grid4() + " " + power;
    if (random.Chance(7)) {
      for (char& c : message)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    if (random.Chance(5)) message.insert(message.find(' '), " ");
    messages.push_back(message);
  }
  return messages;
}

}  // namespace fst4test
