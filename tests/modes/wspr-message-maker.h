// WSPR messages of every form for comparing encoders, made from a seed so a run can be repeated:
// type 1 (CALL GRID4 POWER) with locators and the report-like words the old packer takes, type 2
// (PFX/CALL POWER, CALL/SFX POWER) with prefixes of 1-4 characters and one- and two-character
// suffixes, type 3 (<CALL> GRID6 POWER) with plain and compound calls; every power from the
// levels, any whole number and out-of-range ones; and, now and then, text no form accepts.
#pragma once

#include <string>
#include <vector>

#include "tests/modes/jt65-message-maker.h"

namespace modestest {

struct WsprMessageMaker {
  explicit WsprMessageMaker(std::uint32_t seed) : random(seed) {}

  using Maker = jt65test::MessageMaker;

  // One or two leading characters, a digit, up to three letters; sometimes a call that is none.
  std::string Call() {
    std::string lead;
    switch (random.Below(4)) {
      case 0:
        lead = random.Several(Maker::kLetters, 1);
        break;
      case 1:
        lead = random.Several(Maker::kLetters, 2);
        break;
      case 2:
        lead = random.Several(Maker::kDigits, 1) + random.Several(Maker::kLetters, 1);
        break;
      default:
        lead = random.Several(Maker::kLetters, 1) + random.Several(Maker::kDigits, 1);
        break;
    }
    std::string call =
        lead + random.Several(Maker::kDigits, 1) + random.Several(Maker::kLetters, random.Below(4));
    if (random.Chance(3)) call = "3DA0" + random.Several(Maker::kLetters, 1 + random.Below(2));
    if (random.Chance(3)) call = random.Several(Maker::kAlphanumeric, 1 + random.Below(8));
    return call;
  }

  std::string Grid4() {
    std::string_view field = "ABCDEFGHIJKLMNOPQR";
    if (random.Chance(88)) {
      return std::string(1, random.From(field)) + random.From(field) +
             random.Several(Maker::kDigits, 2);
    }
    static constexpr std::string_view kOther[] = {"RO",   "RRR",  "73",   "-15",  "R-15", "-01",
                                                  "R-30", "fn42", "FN4X", "ZZ99", "RO09", "-AB"};
    return std::string(kOther[random.Below(std::size(kOther))]);
  }

  std::string Grid6() {
    std::string_view field = "ABCDEFGHIJKLMNOPQR";
    std::string_view square = "ABCDEFGHIJKLMNOPQRSTUVWX";
    std::string grid = std::string(1, random.From(field)) + random.From(field) +
                       random.Several(Maker::kDigits, 2) + random.Several(square, 2);
    if (random.Chance(10)) {
      grid[4] = char(grid[4] - 'A' + 'a');
      grid[5] = char(grid[5] - 'A' + 'a');
    }
    if (random.Chance(3)) grid = grid.substr(0, 4);
    return grid;
  }

  std::string Power() {
    static constexpr int kLevels[] = {0,  3,  7,  10, 13, 17, 20, 23, 27, 30,
                                      33, 37, 40, 43, 47, 50, 53, 57, 60};
    int roll = random.Below(100);
    if (roll < 62) return std::to_string(kLevels[random.Below(std::size(kLevels))]);
    if (roll < 87) return std::to_string(random.Below(61));
    if (roll < 93) {
      static constexpr int kOutside[] = {-5, -1, 61, 70, 99};
      return std::to_string(kOutside[random.Below(std::size(kOutside))]);
    }
    static constexpr std::string_view kOdd[] = {"+37", "037", "XX", "3.5", "", "37 DBM", "2*5"};
    return std::string(kOdd[random.Below(std::size(kOdd))]);
  }

  std::string CompoundCall() {
    std::string call = Call();
    switch (random.Below(5)) {
      case 0:
      case 1:
        return random.Several(Maker::kAlphanumeric, 1 + random.Below(4)) + "/" + call;
      case 2:
        return call + "/" + random.Several(Maker::kAlphanumeric, 1);
      case 3:
        return call + "/" + random.Several(Maker::kDigits, 2);
      default:
        return call + "/" + (random.Chance(50) ? "P" : random.Several(Maker::kAlphanumeric, 2));
    }
  }

  std::string Next() {
    std::string message;
    switch (random.Below(10)) {
      case 0:
      case 1:
      case 2:
      case 3: {
        std::string call = Call();
        if (random.Chance(5)) {
          for (char& c : call)
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        }
        message = call + " " + Grid4() + " " + Power();
        break;
      }
      case 4:
      case 5:
      case 6:
        message = CompoundCall() + " " + Power();
        break;
      default: {
        std::string call = random.Chance(60) ? Call() : CompoundCall();
        // The reference keeps a hashed call in 12 bytes.
        call = call.substr(0, 12);
        message = "<" + call + "> " + Grid6() + " " + Power();
        break;
      }
    }
    // Some messages no form takes: a doubled or leading blank, a grid after a compound call.
    if (random.Chance(2)) message = " " + message;
    if (random.Chance(2)) message.insert(message.find(' '), " ");
    return message;
  }

  jt65test::MessageMaker random;
};

inline std::vector<std::string> MakeWsprMessages(std::uint32_t seed, int count) {
  WsprMessageMaker maker(seed);
  std::vector<std::string> messages;
  for (int i = 0; i < count; ++i) messages.push_back(maker.Next());
  return messages;
}

}  // namespace modestest
