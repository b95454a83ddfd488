// Unpacking 77 bits into the text a receiver prints, refusing what a receiver refuses.
#include <cstdio>
#include <optional>
#include <string>

#include "modes/message77-tables.h"
#include "modes/message77.h"
#include "modes/wide-number.h"

namespace ft {
namespace {

using modes::Bits;
using Text = std::optional<std::string>;

// Reads the fields of the bits one after the other.
struct Reader {
  const Bits& bits;
  std::size_t at = 0;
  std::string why;  // what a receiver refuses, in words

  std::nullopt_t Refuse(std::string reason) {
    why = std::move(reason);
    return std::nullopt;
  }
  int Int(int count) {
    at += std::size_t(count);
    return int(modes::ReadBits(bits, at - std::size_t(count), count));
  }
  std::uint64_t Long(int count) {
    at += std::size_t(count);
    return modes::ReadBits(bits, at - std::size_t(count), count);
  }
};

std::string Padded(int value, int width) {
  std::string digits = std::to_string(value);
  return std::string(std::size_t(std::max(0, width - int(digits.size()))), '0') + digits;
}

// A report with its sign and two digits; three-digit values come without a sign.
std::string Report(int value) {
  if (value >= 100) return std::to_string(value);
  return (value < 0 ? "-" : "+") + Padded(value < 0 ? -value : value, 2);
}

Text FreeText(Reader& in) {
  modes::WideNumber value = modes::ReadWideBits(in.bits, 0, 71);
  std::string text(13, ' ');
  for (int i = 12; i >= 0; --i) text[std::size_t(i)] = kA42[value.Divide(42)];
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos || !value.IsZero())
    return in.Refuse("none of its characters can be sent as free text");
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

Text Telemetry(Reader& in) {
  modes::WideNumber value = modes::ReadWideBits(in.bits, 0, 71);
  std::string hex;
  while (!value.IsZero()) hex.insert(hex.begin(), "0123456789ABCDEF"[value.Divide(16)]);
  return hex;
}

// A 28-bit call field, refused when a receiver refuses it.
struct Call {
  std::string text;
  std::int64_t value = 0;
  bool hashed = false;
};

std::optional<Call> ReadCall(Reader& in, const CallBook& book) {
  Call call;
  call.value = std::int64_t(in.Long(28));
  Text text = UnpackCall28(call.value, book, &call.hashed);
  if (!text) return in.Refuse("a call field comes out as no call a receiver can read");
  call.text = *text;
  return call;
}

Text DXpedition(Reader& in, const CallBook& book) {
  std::optional<Call> first = ReadCall(in, book), second = ReadCall(in, book);
  if (!first || !second) return std::nullopt;
  std::string hashed = book.Find(std::uint32_t(in.Int(10)), 10);
  int report = 2 * in.Int(5) - 30;
  return first->text + " RR73; " + second->text + " " + hashed + " " + Report(report);
}

Text FieldDay(Reader& in, const CallBook& book, int n3) {
  std::optional<Call> first = ReadCall(in, book), second = ReadCall(in, book);
  if (!first || !second) return std::nullopt;
  bool roger = in.Int(1);
  int transmitters = in.Int(4) + (n3 == 4 ? 17 : 1);
  char category = char('A' + in.Int(3));
  int section = in.Int(7);
  if (section < 1 || section > int(kFieldDaySections.size())) return std::nullopt;
  return first->text + " " + second->text + (roger ? " R " : " ") + std::to_string(transmitters) +
         category + " " + std::string(kFieldDaySections[std::size_t(section - 1)]);
}

std::string Power(int code) {
  return std::to_string((20 * code + 3) / 6);
}

Text WsprStyle(Reader& in, const CallBook& book) {
  // Bits 48 and 49 = 1 0: a hashed call with a 4- or 6-character locator (base 25, where a
  // 4-character one is sent as if it ended in YY) and no power, which FST4W sends.
  if (in.bits[48] == 1 && in.bits[49] == 0) {
    std::string call = book.Find(std::uint32_t(in.Int(22)), 22);
    int locator = in.Int(25);
    if (locator / 625 >= kLocatorCount || locator % 625 / 25 > 24 ||
        (locator % 25 == 24) != (locator % 625 / 25 == 24))
      return std::nullopt;
    std::string text = call + " " + LocatorText(locator / 625);
    if (locator % 625 != 624) text += {char('A' + locator % 625 / 25), char('A' + locator % 25)};
    return text;
  }
  std::optional<Call> call = ReadCall(in, book);
  if (!call) return std::nullopt;
  // A CQ token in the call field reads as the one word it was typed as ("CQ_ABC"), as the
  // reference tools print it: "CQ ABC FN42 37" would pack as another message.
  if (call->text.starts_with("CQ ")) call->text[2] = '_';
  if (in.bits[49] == 0) {
    int locator = in.Int(15);
    if (locator >= kLocatorCount) return std::nullopt;
    return call->text + " " + LocatorText(locator) + " " + Power(in.Int(5));
  }
  int affix = in.Int(16);
  std::string power = Power(in.Int(5));
  std::string letters;
  if (affix < 36 * 36 * 36) {
    do {
      letters.insert(letters.begin(), kA36[std::size_t(affix % 36)]);
      affix /= 36;
    } while (affix > 0);
    return letters + "/" + call->text + " " + power;
  }
  int suffix = affix - 36 * 36 * 36;
  if (suffix < 36) {
    letters = kA36[std::size_t(suffix)];
  } else if (suffix < 36 * 36) {
    letters = {kA36[std::size_t(suffix / 36)], kA36[std::size_t(suffix % 36)]};
  } else if (suffix < 36 * 360) {
    letters = {kA36[std::size_t(suffix / 360)], kA36[std::size_t(suffix % 360 / 10)],
               kA36[std::size_t(suffix % 10)]};
  } else {
    return std::nullopt;
  }
  return call->text + "/" + letters + " " + power;
}

Text Standard(Reader& in, const CallBook& book, int i3) {
  std::optional<Call> calls[2];
  bool flags[2];
  for (int i = 0; i < 2; ++i) {
    calls[i] = ReadCall(in, book);
    flags[i] = in.Int(1);
    if (!calls[i]) return std::nullopt;
  }
  bool roger = in.Int(1);
  int grid = in.Int(15);
  // CQ calls for answers; a reply's R, RRR, RR73, 73 or report after it makes no sense.
  bool cq = calls[0]->value >= 2 && calls[0]->value < kCall28Hashed;
  if (cq && ((roger && grid < kLocatorCount) || grid >= kRrr))
    return in.Refuse(
        "after CQ only a locator may follow; R, RRR, RR73, 73 and reports answer a call");
  if (calls[0]->value == 2 && calls[1]->hashed)
    return in.Refuse(
        "CQ does not go before a call in angle brackets; \"CQ CALL\" sends the whole call");
  if (grid == kLocatorCount) return in.Refuse("the grid field holds no locator, report or reply");
  std::string text;
  for (int i = 0; i < 2; ++i) {
    if (i == 1) text += ' ';
    text += calls[i]->text;
    if (flags[i] && !calls[i]->hashed && calls[i]->text.size() >= 3) text += i3 == 2 ? "/P" : "/R";
  }
  if (grid < kLocatorCount) return text + (roger ? " R " : " ") + LocatorText(grid);
  if (grid == kNoGrid) return text;
  if (grid == kRrr) return text + " RRR";
  if (grid == kRr73) return text + " RR73";
  if (grid == k73) return text + " 73";
  int report = grid - kLocatorCount - 35;
  if (report > 50) report -= 101;
  return text + (roger ? " R" : " ") + Report(report);
}

Text RttyRoundup(Reader& in, const CallBook& book) {
  bool thanks = in.Int(1);
  std::optional<Call> first = ReadCall(in, book), second = ReadCall(in, book);
  if (!first || !second) return std::nullopt;
  bool roger = in.Int(1);
  int report = in.Int(3) + 2;
  int number = in.Int(13);
  std::string exchange;
  if (number > 8000) {
    if (number > 8000 + int(kRttyExchanges.size())) return std::nullopt;
    exchange = kRttyExchanges[std::size_t(number - 8001)];
  } else {
    exchange = Padded(number, 4);
  }
  return (thanks ? "TU; " : "") + first->text + " " + second->text + (roger ? " R 5" : " 5") +
         char('0' + report) + "9 " + exchange;
}

Text Nonstandard(Reader& in, const CallBook& book) {
  std::string hashed = book.Find(std::uint32_t(in.Int(12)), 12);
  std::uint64_t value = in.Long(58);
  bool flip = in.Int(1);
  int closing = in.Int(2);
  bool cq = in.Int(1);
  std::string whole(11, ' ');
  for (int i = 10; i >= 0; --i, value /= 38) whole[std::size_t(i)] = kA38[value % 38];
  std::size_t first = whole.find_first_not_of(' ');
  if (value != 0 || first == std::string::npos) return std::nullopt;
  whole = whole.substr(first);
  if (whole.find(' ') != std::string::npos) return std::nullopt;
  if (cq) return "CQ " + whole;
  std::string text = flip ? whole + " " + hashed : hashed + " " + whole;
  constexpr const char* kClosings[] = {"", " RRR", " RR73", " 73"};
  return text + kClosings[closing];
}

Text EuVhf(Reader& in, const CallBook& book) {
  std::string first = book.Find(std::uint32_t(in.Int(12)), 12);
  std::string second = book.Find(std::uint32_t(in.Int(22)), 22);
  bool roger = in.Int(1);
  int report = in.Int(3) + 52;
  int serial = in.Int(11);
  int locator = in.Int(25);
  if (locator / 576 >= kLocatorCount || locator % 576 / 24 >= 24) return std::nullopt;
  std::string six =
      LocatorText(locator / 576) + char('A' + locator % 576 / 24) + char('A' + locator % 24);
  return first + " " + second + (roger ? " R " : " ") + std::to_string(report) + Padded(serial, 4) +
         " " + six;
}

Text Unpack(Reader& in, const CallBook& book) {
  int i3 = int(modes::ReadBits(in.bits, 74, 3));
  int n3 = int(modes::ReadBits(in.bits, 71, 3));
  switch (i3) {
    case 0:
      switch (n3) {
        case 0:
          return FreeText(in);
        case 1:
          return DXpedition(in, book);
        case 3:
        case 4:
          return FieldDay(in, book, n3);
        case 5:
          return Telemetry(in);
        case 6:
          return WsprStyle(in, book);
        default:
          return std::nullopt;
      }
    case 1:
    case 2:
      return Standard(in, book, i3);
    case 3:
      return RttyRoundup(in, book);
    case 4:
      return Nonstandard(in, book);
    case 5:
      return EuVhf(in, book);
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::string> UnpackMessage77(const Bits& bits, const CallBook& book,
                                           std::string* why) {
  if (bits.size() != 77) return std::nullopt;
  Reader in{bits, 0, {}};
  Text text = Unpack(in, book);
  if (!text && why != nullptr)
    *why = in.why.empty() ? "the bits hold no message a receiver knows" : in.why;
  return text;
}

}  // namespace ft
