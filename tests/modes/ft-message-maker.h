// Messages of every 77-bit type for comparing the FT8 and FT4 encoders with the reference tools,
// made from a seed so that a run can be repeated: standard messages with random calls, locators,
// reports, /R and /P, CQ with numbers and letters, bracketed and nonstandard calls, DXpedition,
// Field Day, telemetry, WSPR-style, RTTY Roundup and EU VHF exchanges, and free text; some in lower
// case or with extra blanks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "modes/message77-tables.h"
#include "tests/modes/jt65-message-maker.h"

namespace fttest {

class FtMessageMaker {
 public:
  explicit FtMessageMaker(std::uint32_t seed) : pick_(seed) {}

  std::string Next() {
    std::string message;
    switch (Below(24)) {
      case 0:
      case 1:
      case 2:
      case 3:
      case 4:
      case 5:
        message = Standard();
        break;
      case 6:
      case 7:
        message = Bracketed();
        break;
      case 8:
      case 9:
        message = FreeText();
        break;
      case 10:
        message = DXpedition();
        break;
      case 11:
      case 12:
        message = FieldDay();
        break;
      case 13:
        message = Telemetry();
        break;
      case 14:
        message = WsprStyle();
        break;
      case 15:
      case 16:
      case 17:
        message = Rtty();
        break;
      case 18:
      case 19:
      case 20:
        message = Nonstandard();
        break;
      default:
        message = EuVhf();
        break;
    }
    if (Below(12) == 0) {
      for (char& c : message)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    if (Below(12) == 0) {
      std::string spaced = " ";
      for (char c : message) spaced += c == ' ' ? std::string("  ") : std::string(1, c);
      message = spaced + "  ";
    }
    return message;
  }

 private:
  static constexpr std::string_view kLetters = jt65test::MessageMaker::kLetters;
  static constexpr std::string_view kDigits = jt65test::MessageMaker::kDigits;
  static constexpr std::string_view kAlphanumeric = jt65test::MessageMaker::kAlphanumeric;
  static constexpr std::string_view kHex = "0123456789ABCDEF";

  // The seeded picks of the JT65 comparison, shared.
  int Below(int n) { return pick_.Below(n); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  char From(std::string_view set) { return pick_.From(set); }
  std::string Several(std::string_view set, int count) { return pick_.Several(set, count); }
  template <typename List>
  std::string OneOf(const List& list) {
    return std::string(list[std::size_t(Below(int(list.size())))]);
  }

  std::string Call() {
    std::string prefix;
    switch (Below(5)) {
      case 0:
        prefix = Several(kLetters, 1);
        break;
      case 1:
      case 2:
        prefix = Several(kLetters, 2);
        break;
      case 3:
        prefix = Several(kDigits, 1) + Several(kLetters, 1);
        break;
      default:
        prefix = Several(kLetters, 1) + Several(kAlphanumeric, 1);
        break;
    }
    // No call starts with Q (those are Q codes).
    if (prefix[0] == 'Q') prefix[0] = 'K';
    return prefix + Several(kDigits, 1) + Several(kLetters, Between(1, 3));
  }
  std::string Compound() {
    if (Below(2) == 0)
      return Several(kLetters, 1) + Several(kAlphanumeric, Between(0, 2)) + "/" + Call();
    return Call() + "/" + Several(kAlphanumeric, Between(1, 2));
  }
  std::string Long() {
    return Several(kLetters, 2) + Several(kDigits, 2) + Several(kLetters, Between(3, 5));
  }
  std::string AnyCall() {
    int kind = Below(10);
    return kind < 6 ? Call() : kind < 8 ? Compound() : Long();
  }
  std::string Locator() { return Several("ABCDEFGHIJKLMNOPQR", 2) + Several(kDigits, 2); }
  std::string Report() {
    int r = Below(10) == 0 ? Between(-99, 99) : Between(-50, 50);
    std::string digits = std::to_string(r < 0 ? -r : r);
    if (digits.size() < 2 && Below(4) != 0) digits = "0" + digits;
    return (r < 0 ? "-" : "+") + digits;
  }

  std::string Standard() {
    std::string first;
    switch (Below(9)) {
      case 0:
        first = "CQ";
        break;
      case 1:
        first = "CQ " + Several(kDigits, 3);
        break;
      case 2:
        first = "CQ " + Several(kLetters, Between(1, 4));
        break;
      case 3:
        first = Below(2) ? "DE" : "QRZ";
        break;
      case 4:
        // Neither 3 digits nor 1-4 letters: the modifier goes as a hash.
        first = "CQ " + (Below(2) ? Several(kDigits, 2) : Several(kLetters, 5));
        break;
      default:
        first = Call();
        break;
    }
    std::string second = Call();
    if (Below(6) == 0) second += Below(2) ? "/R" : "/P";
    if (first.size() > 3 && first[2] != ' ' && Below(8) == 0) first += Below(2) ? "/R" : "/P";
    bool cq = first.rfind("CQ", 0) == 0;
    if (cq) {
      return first + " " + second + (Below(4) ? " " + Locator() : "");
    }
    switch (Below(8)) {
      // Two plain calls alone, one compound, have no defined layout.
      case 0:
        return first + " " + second.substr(0, second.find('/'));
      case 1:
        return first + " " + second + " R " + Locator();
      case 2:
        return first + " " + second + " " + (Below(2) ? "R" : "") + Report();
      case 3:
        return first + " " + second + " " + (Below(3) == 0 ? "RRR" : Below(2) ? "RR73" : "73");
      case 4:
      case 5:
        return first + " " + second + " " + Report();
      default:
        return first + " " + second + " " + Locator();
    }
  }

  std::string Bracketed() {
    std::string hashed = "<" + AnyCall() + ">";
    std::string plain = Call();
    std::string tail = Below(3) == 0 ? "" : Below(2) ? " " + Report() : " R" + Report();
    return Below(2) ? hashed + " " + plain + tail : plain + " " + hashed + tail;
  }

  std::string FreeText() {
    constexpr std::string_view kText = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 +-./?";
    std::string text = Several(kLetters, 1) + Several(kText, Between(0, 16));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
  }

  std::string DXpedition() {
    return Call() + " RR73; " + Call() + " <" + AnyCall() + "> " + std::to_string(Between(-35, 40));
  }

  std::string FieldDay() {
    std::string entry = std::to_string(Between(1, 32)) + From("ABCDEF");
    return Call() + " " + Call() + (Below(2) ? " R " : " ") + entry + " " +
           OneOf(ft::kFieldDaySections);
  }

  std::string Telemetry() {
    int digits = Between(1, 18);
    std::string hex = Several(kHex, digits);
    // Eighteen digits from 8 on are too large and go as free text.
    if (digits == 18 && Below(4) != 0) hex[0] = From("01234567");
    return hex;
  }

  std::string WsprStyle() {
    std::string power = std::to_string(Between(0, 60));
    switch (Below(3)) {
      case 0:
        return Call() + " " + Locator() + " " + power;
      case 1:
        return Call() + "/" + Several(kAlphanumeric, Between(1, 2)) + " " + power;
      default:
        return Several(kAlphanumeric, Between(1, 3)) + "/" + Call() + " " + power;
    }
  }

  std::string Rtty() {
    std::string rst = "5" + std::string(1, From("23456789")) + "9";
    std::string exchange = Below(2) ? OneOf(ft::kRttyExchanges) : std::to_string(Between(1, 7999));
    if (Below(3) == 0 && exchange.size() < 4 && exchange[0] >= '0' && exchange[0] <= '9')
      exchange = std::string(4 - exchange.size(), '0') + exchange;
    return (Below(4) == 0 ? "TU; " : "") + Call() + " " + Call() + (Below(3) == 0 ? " R " : " ") +
           rst + " " + exchange;
  }

  std::string Nonstandard() {
    std::string plain = Below(2) ? Compound() : Long();
    if (Below(4) == 0) return "CQ " + plain;
    std::string hashed = "<" + (Below(2) ? Call() : AnyCall()) + ">";
    std::string tail = Below(2) ? "" : Below(3) == 0 ? " RRR" : Below(2) ? " RR73" : " 73";
    return Below(2) ? hashed + " " + plain + tail : plain + " " + hashed + tail;
  }

  std::string EuVhf() {
    std::string exchange =
        std::to_string(Between(52, 59)) + std::to_string(Between(10000, 19999)).substr(1);
    std::string locator = Locator() + Several("ABCDEFGHIJKLMNOPQRSTUVWX", 2);
    return "<" + AnyCall() + "> <" + AnyCall() + ">" + (Below(3) == 0 ? " R " : " ") + exchange +
           " " + locator;
  }

  jt65test::MessageMaker pick_;
};

inline std::vector<std::string> MakeFtMessages(std::uint32_t seed, int count) {
  FtMessageMaker maker(seed);
  std::vector<std::string> messages;
  for (int i = 0; i < count; ++i) messages.push_back(maker.Next());
  return messages;
}

}  // namespace fttest
