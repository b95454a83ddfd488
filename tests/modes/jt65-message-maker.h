// Messages of every kind for comparing encoders, made from a seed so that a run can be repeated:
// standard messages with locators and reports, CQ/QRZ/DE and their variants, type 1 and type 2
// add-ons, free text, characters outside the JT65 alphabet, lower case, extra blanks, messages
// too long, OOO and shorthand, and malformed fields that test the edges of each rule.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "modes/compound-call.h"

namespace jt65test {

struct MessageMaker {
  explicit MessageMaker(std::uint32_t seed) : random_(seed) {}

  // Below, Chance and From use the engine's raw output, which is the same everywhere (the
  // standard distributions are not).
  int Below(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  char From(std::string_view set) { return set[Below(static_cast<int>(set.size()))]; }
  std::string Several(std::string_view set, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += From(set);
    return text;
  }

  static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  static constexpr std::string_view kDigits = "0123456789";
  static constexpr std::string_view kAlphanumeric = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  static constexpr std::string_view kTextAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ +-./?";
  // Printable ASCII without the 42 of the alphabet; lower case letters included.
  static constexpr std::string_view kOutside =
      "!\"#$%&'()*,:;<=>@[\\]^_`{|}~abcdefghijklmnopqrstuvwxyz";

  std::string Call() {
    int tail = 1 + Below(3);
    switch (Below(9)) {
      case 0:
        return Several(kLetters, 1) + Several(kDigits, 1) + Several(kLetters, tail);
      case 1:
        return Several(kLetters, 2) + Several(kDigits, 1) + Several(kLetters, tail);
      case 2:
        return Several(kDigits, 1) + Several(kLetters, 1) + Several(kDigits, 1) +
               Several(kLetters, tail);
      case 3:
        return Several(kLetters, 1) + Several(kDigits, 2) + Several(kLetters, tail);
      case 4:
        return "3DA0" + Several(kLetters, 1 + Below(3));
      case 5:
        return "3X" + Several(kLetters, 1) + Several(kDigits, 1) + Several(kLetters, 2);
      case 6:
        return Several(kLetters, 2) + Several(kDigits, 1) + Several(kLetters, 4);
      case 7:
        return "Q" + Several(kLetters, 1) + Several(kDigits, 1) + Several(kLetters, tail);
      default:
        return Several(kAlphanumeric, 2 + Below(6));
    }
  }

  std::string Locator() {
    std::string_view field = "ABCDEFGHIJKLMNOPQR";
    // Often at the northern edge, where locators stand for type 1 add-on codes instead.
    std::string second = Chance(30) ? "R" : std::string(1, From(field));
    return From(field) + second + Several(kDigits, 1) +
           (Chance(30) ? From("56789") : From(kDigits));
  }

  std::string Report() {
    int n = Below(100) - 50;
    std::string magnitude = std::to_string(n < 0 ? -n : n);
    if (Chance(70) && magnitude.size() == 1) magnitude = "0" + magnitude;
    std::string sign = n < 0 ? "-" : (Chance(50) ? "+" : "");
    return (Chance(40) ? "R" : "") + sign + magnitude;
  }

  std::string Field3() {
    switch (Below(7)) {
      case 0:
      case 1:
        return Locator();
      case 2:
      case 3:
        return Report();
      case 4:
        return Below(3) == 0 ? "RO" : (Below(2) == 0 ? "RRR" : "73");
      case 5:
        return "";
      default:
        return Several("0123456789+-R.,;/*AKLZ", 1 + Below(4));
    }
  }

  std::string Word(int index) {
    switch (index) {
      case 0:
        return "CQ";
      case 1:
        return "QRZ";
      default:
        return "DE";
    }
  }

  std::string ListAddOn(const std::string& call) {
    if (Chance(50)) {
      return std::string(jt65::kPrefixList[Below(static_cast<int>(jt65::kPrefixList.size()))]) +
             "/" + call;
    }
    return call + "/" + From(Chance(85) ? jt65::kSuffixList : std::string_view("BXZ"));
  }

  // Mostly of a length that fits a type 2 prefix (1-4) or suffix (1-3), sometimes not.
  std::string FreeAddOn(const std::string& call) {
    if (Chance(50)) return Several(kAlphanumeric, Chance(85) ? 1 + Below(4) : 5) + "/" + call;
    return call + "/" + Several(kAlphanumeric, Chance(85) ? 1 + Below(3) : 4 * Below(2));
  }

  std::string Join(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
      if (word.empty()) continue;
      if (!text.empty()) text += Chance(10) ? std::string(1 + Below(4), ' ') : " ";
      text += word;
    }
    return text;
  }

  std::string Next() {
    std::string message = Shape();
    // Some messages get the flag, some a stray character or lower case, some extra blanks.
    if (Chance(5)) message += " OOO";
    if (Chance(5) && !message.empty()) {
      message[Below(static_cast<int>(message.size()))] = From(kOutside);
    }
    if (Chance(5)) {
      for (char& c : message) {
        if (c >= 'A' && c <= 'Z' && Chance(50)) c = static_cast<char>(c - 'A' + 'a');
      }
    }
    if (Chance(3)) message = std::string(1 + Below(3), ' ') + message;
    // The reference takes a message starting "-t" for its option that prints its own test list.
    if (message.rfind("-t", 0) == 0) message[0] = '+';
    return message;
  }

  std::string Shape() {
    switch (Below(12)) {
      case 0:
      case 1:
        return Join({Call(), Call(), Field3()});
      case 2:
        return Join({Word(Below(3)), Call(), Chance(70) ? Locator() : Field3()});
      case 3: {
        std::string cq = "CQ " + Several(kDigits, 1 + Below(4));
        if (Chance(50)) cq = "CQ " + (Chance(30) ? std::string("DX") : Several(kLetters, 2));
        return Join({cq, Call(), Chance(70) ? Locator() : Field3()});
      }
      case 4: {
        int where = Below(4);
        std::string first = where == 3 ? Word(Below(3)) : Call();
        if (where == 0 || where == 2) first = ListAddOn(first);
        std::string second = where >= 1 ? ListAddOn(Call()) : Call();
        return Join({first, second, Chance(50) ? Field3() : ""});
      }
      case 5: {
        std::string first = Chance(80) ? Word(Below(3)) : Call();
        if (Chance(10)) first = FreeAddOn(Call());
        return Join({first, FreeAddOn(Call()), Chance(60) ? Field3() : ""});
      }
      case 6:
        return Several(kTextAlphabet, 1 + Below(22));
      case 7:
        return Join({Word(Below(3)), FreeAddOn(Call()), Chance(80) ? Locator() : ""});
      case 8: {
        std::string text = Several(kTextAlphabet, 1 + Below(15));
        for (int i = Below(4); i >= 0; --i) {
          text[Below(static_cast<int>(text.size()))] = From(kOutside);
        }
        return text;
      }
      case 9:
        return Join({Call(), Call(), Field3(), Several(kTextAlphabet, 3 + Below(20))});
      case 10: {
        static constexpr std::string_view kSpecial[] = {
            "RO",   "RRR", "73",  "ro", "",      " ",      "CQ DX",    "CQ NA",
            "CQ 5", "DE",  "QRZ", "CQ", "73 GL", "RRR 73", "TNX 73 GL"};
        return std::string(kSpecial[Below(std::size(kSpecial))]);
      }
      default: {
        // Standard messages padded out to the edge of the 22 characters.
        std::string text = Join({Call(), Call(), Field3()});
        while (text.size() < 19) text += ' ';
        return text + (Chance(50) ? " OO" : Several(kTextAlphabet, 3));
      }
    }
  }

  std::mt19937 random_;
};

inline std::vector<std::string> MakeMessages(std::uint32_t seed, int count) {
  MessageMaker maker(seed);
  std::vector<std::string> messages;
  for (int i = 0; i < count; ++i) messages.push_back(maker.Next());
  return messages;
}

}  // namespace jt65test
