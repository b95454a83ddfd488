// Packing a text into a 77-bit message: normalising it, trying the message types in their fixed
// order (the first that takes the text wins, as in every other sender of these messages, so that
// the same text gives the same bits everywhere), and the bit layout of each type.
#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "modes/fixed-text.h"
#include "modes/message77-tables.h"
#include "modes/message77.h"
#include "modes/wide-number.h"

namespace ft {
namespace {

using jt65::IsDigit;
using jt65::IsLetter;
using modes::AppendBits;
using modes::Bits;
using Words = std::vector<std::string>;

constexpr std::size_t kLongestInput = 37;
constexpr std::size_t kWordLength = 13;  // every test on a word sees at most this much of it
constexpr std::size_t kFreeTextLength = 13;
constexpr std::size_t kTelemetryDigits = 18;
// Exchange numbers above 8000 are the places in the list of states and provinces.
constexpr int kLastRttyNumber = 8000 + int(std::tuple_size_v<decltype(kRttyExchanges)>);

// What a message type made of the words: declined them (another type may take them), packed
// them, or took them but cannot send them.
enum class Try { kDeclined, kPacked, kRefused };

struct Attempt {
  Message77& message;
  std::string& error;

  Try Refuse(std::string why) {
    error = std::move(why);
    return Try::kRefused;
  }
  // The type closes the bits: n3 (type 0 only), then i3.
  Try Packed(int i3, int n3) {
    if (i3 == 0) AppendBits(message.bits, std::uint64_t(n3), 3);
    AppendBits(message.bits, std::uint64_t(i3), 3);
    message.i3 = i3;
    message.n3 = n3;
    return Try::kPacked;
  }
};

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// An optional sign and up to 9 digits; the only number form a message may hold here.
std::optional<int> SignedNumber(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) digits.remove_prefix(1);
  if (!AllDigits(digits) || digits.size() > 9) return std::nullopt;
  int value = std::stoi(std::string(digits));
  return text[0] == '-' ? -value : value;
}

bool Contains(std::string_view text, char c) {
  return text.find(c) != std::string_view::npos;
}

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// The power word of the WSPR-style type: one or two digits, dBm sent in steps of 10/3 dB.
std::optional<int> PowerCode(std::string_view word) {
  if (word.size() > 2 || !AllDigits(word)) return std::nullopt;
  int dbm = std::min(std::stoi(std::string(word)), 60);
  return (dbm * 3 + 5) / 10;
}

// A 28-bit call field; a text whose arithmetic leaves the field cannot be sent.
bool AddCall28(Bits& bits, std::string_view text, Attempt& attempt) {
  std::optional<std::int64_t> value = PackCall28(text);
  if (!value) {
    attempt.error = "\"" + std::string(text) + "\" is no call a call field can hold";
    return false;
  }
  AppendBits(bits, std::uint64_t(*value), 28);
  return true;
}

// Type 0.1: "C1 RR73; C2 <C3> report".
Try DXpedition(const Words& w, Attempt& attempt) {
  if (w.size() != 5 || w[1] != "RR73;" || w[3][0] != '<' || !Contains(w[3], '>'))
    return Try::kDeclined;
  std::optional<int> report = SignedNumber(w[4]);
  // -99 stands for "no report" where this layout was designed.
  if (!report || *report == -99 || !BaseCall(w[0]) || !BaseCall(w[2])) return Try::kDeclined;
  Bits& bits = attempt.message.bits;
  if (!AddCall28(bits, w[0], attempt) || !AddCall28(bits, w[2], attempt)) return Try::kRefused;
  std::string_view hashed = InsideBrackets(w[3]);
  AppendBits(bits, CallHash(hashed, 10), 10);
  AppendBits(bits, std::uint64_t(std::clamp((*report + 30) / 2, 0, 31)), 5);
  for (std::string_view call : {std::string_view(w[0]), std::string_view(w[2]), hashed})
    attempt.message.book.Add(call);
  return attempt.Packed(0, 1);
}

// Types 0.3 and 0.4: "C1 C2 [R] nX SECTION".
Try FieldDay(const Words& w, Attempt& attempt) {
  if (w.size() != 4 && w.size() != 5) return Try::kDeclined;
  bool roger = w.size() == 5;
  if (roger && w[2] != "R") return Try::kDeclined;
  const std::string& entry = w[roger ? 3 : 2];
  int section = PlaceIn(kFieldDaySections, w[roger ? 4 : 3]);
  if (section == 0 || entry.size() < 2 || entry.size() > 3 || !BaseCall(w[0]) || !BaseCall(w[1]))
    return Try::kDeclined;
  std::string_view count = std::string_view(entry).substr(0, entry.size() - 1);
  if (!AllDigits(count)) return Try::kDeclined;
  int transmitters = std::stoi(std::string(count));
  if (transmitters < 1 || transmitters > 32) return Try::kDeclined;
  int category = entry.back() - 'A';
  if (category < 0 || category > 7)
    return attempt.Refuse("the Field Day class must be a letter A to H, not \"" +
                          std::string(1, entry.back()) + "\"");
  Bits& bits = attempt.message.bits;
  if (!AddCall28(bits, w[0], attempt) || !AddCall28(bits, w[1], attempt)) return Try::kRefused;
  AppendBits(bits, roger, 1);
  AppendBits(bits, std::uint64_t((transmitters - 1) % 16), 4);
  AppendBits(bits, std::uint64_t(category), 3);
  AppendBits(bits, std::uint64_t(section), 7);
  attempt.message.book.Add(w[0]);
  attempt.message.book.Add(w[1]);
  return attempt.Packed(0, transmitters > 16 ? 4 : 3);
}

// Type 0.5: up to 18 hex digits below 2^71; declined when the text is not hex at all.
Try Telemetry(const std::string& text, Attempt& attempt) {
  std::string_view digits = std::string_view(text).substr(0, kTelemetryDigits);
  // A plus sign may stand in front, as in any number read; it counts in the 18 characters.
  bool plus = !digits.empty() && digits[0] == '+';
  if (plus) digits.remove_prefix(1);
  if (digits.empty() && !text.empty()) return Try::kDeclined;
  modes::WideNumber value;
  for (char c : digits) {
    int digit = ValueIn("0123456789ABCDEF", c);
    if (digit < 0) return Try::kDeclined;
    value.MultiplyAdd(16, std::uint32_t(digit));
  }
  if (value.Width() > 71) {
    attempt.message.notes.push_back(
        "hex above 7FFFFFFFFFFFFFFFFF is too large for telemetry: sent as free text");
    return Try::kDeclined;
  }
  if (text.size() > kTelemetryDigits)
    attempt.message.notes.push_back("telemetry keeps its first 18 characters");
  if (plus) attempt.message.notes.push_back("the + in front of telemetry is not sent");
  AppendBits(attempt.message.bits, value, 71);
  return attempt.Packed(0, 5);
}

// Type 0.6, WSPR-style: "CALL LOCATOR POWER" or "CALL/SUFFIX POWER", "PREFIX/CALL POWER".
Try WsprStyle(const Words& w, Attempt& attempt) {
  Bits& bits = attempt.message.bits;
  if (w.size() == 3 && w[0].size() >= 3 && w[0].size() <= 6 && w[1].size() == 4 &&
      IsLocator(w[1])) {
    std::optional<int> power = PowerCode(w[2]);
    if (!power) return Try::kDeclined;
    if (!AddCall28(bits, w[0], attempt)) return Try::kRefused;
    AppendBits(bits, std::uint64_t(LocatorValue(w[1])), 15);
    AppendBits(bits, std::uint64_t(*power), 5);
    AppendBits(bits, 0, 23);
    attempt.message.book.Add(w[0]);
    return attempt.Packed(0, 6);
  }
  if (w.size() != 2 || w[0].size() < 5 || w[0].size() > 10) return Try::kDeclined;
  std::size_t slash = w[0].find('/');
  std::optional<std::string> base = BaseCall(w[0]);
  std::optional<int> power = PowerCode(w[1]);
  if (slash == std::string::npos || slash == 0 || slash + 1 == w[0].size() || !base || !power)
    return Try::kDeclined;
  std::string_view after = std::string_view(w[0]).substr(slash + 1);
  if (after.size() == 3 && !IsDigit(after[2])) return Try::kDeclined;
  std::int64_t affix = 0;
  if (slash + 1 <= 4) {
    for (char c : std::string_view(w[0]).substr(0, slash)) affix = affix * 36 + ValueIn(kA36, c);
  } else {
    if (after.size() > 3)
      return attempt.Refuse("a suffix of more than 3 characters cannot be sent");
    if (after.size() == 3) {
      affix =
          360 * ValueIn(kA36, after[0]) + 10 * ValueIn(kA36, after[1]) + ValueIn(kA36, after[2]);
    } else {
      for (char c : after) affix = affix * 36 + ValueIn(kA36, c);
    }
    affix += 36 * 36 * 36;
  }
  if (affix < 0)
    return attempt.Refuse("\"" + w[0] + "\" has a prefix or suffix that cannot be sent");
  if (!AddCall28(bits, *base, attempt)) return Try::kRefused;
  AppendBits(bits, std::uint64_t(affix), 16);
  AppendBits(bits, std::uint64_t(*power), 5);
  AppendBits(bits, 1, 1);
  AppendBits(bits, 0, 21);
  attempt.message.book.Add(*base);
  return attempt.Packed(0, 6);
}

// The grid-or-report field of types 1 and 2, with the R bit; nothing when the word is neither.
struct GridField {
  int value = 0;
  bool roger = false;
};

std::optional<GridField> ReadGridField(const Words& w) {
  if (w.size() == 2) return GridField{kNoGrid, false};
  const std::string& last = w.back();
  // "RR73" is also a locator, and goes as one: the code for it is only ever decoded.
  if (IsLocator(last)) return GridField{LocatorValue(last), w.size() == 4};
  if (last == "RRR") return GridField{kRrr, false};
  if (last == "73") return GridField{k73, false};
  bool roger = StartsWith(last, "R+") || StartsWith(last, "R-");
  if (!roger && last[0] != '+' && last[0] != '-') return std::nullopt;
  std::optional<int> report = SignedNumber(std::string_view(last).substr(roger ? 1 : 0));
  if (!report) return std::nullopt;
  int r = *report;
  // Reports of three digits and more come out as other reports, or none at all.
  if (r < -99 || r > 99) return GridField{-1, roger};
  if (r >= -50 && r <= -31) r += 101;  // the lowest reports take the codes above +50
  return GridField{kLocatorCount + 35 + r, roger};
}

bool IsCqWord(std::string_view word) {
  return word == "DE" || word == "QRZ" || word == "CQ" || StartsWith(word, "CQ_");
}

// A call word of a standard message: "/P" and "/R" travel as a flag, any other prefix or suffix
// is lost.
bool EndsInRoverOrPortable(std::string_view word) {
  std::size_t slash = word.rfind('/');
  return slash != std::string_view::npos && slash >= 3 && slash + 2 == word.size() &&
         (word.back() == 'P' || word.back() == 'R');
}

// Types 1 and 2: "C1 C2", "C1 C2 GRID-OR-REPORT", "C1 C2 R GRID".
Try Standard(const Words& w, Attempt& attempt) {
  if (w.size() < 2 || w.size() > 4) return Try::kDeclined;
  const std::string &first = w[0], &second = w[1];
  bool firstBracketed = IsBracketed(first), secondBracketed = IsBracketed(second);
  if (!(IsCqWord(first) || firstBracketed || BaseCall(first))) return Try::kDeclined;
  if (!(secondBracketed || BaseCall(second))) return Try::kDeclined;
  // A hashed call beside a compound one: type 4 sends the compound one whole.
  if ((first[0] == '<' && Contains(second, '/')) || (second[0] == '<' && Contains(first, '/')))
    return Try::kDeclined;
  if (w.size() == 2 && Contains(second, '/')) return Try::kDeclined;
  if (w.size() == 4 && w[2] != "R") return Try::kDeclined;
  std::optional<GridField> grid = ReadGridField(w);
  if (!grid) return Try::kDeclined;
  if (grid->value < 0)
    return attempt.Refuse("the report \"" + w.back() + "\" has more than 2 digits");
  if (w.size() == 4 && grid->value >= kLocatorCount)
    attempt.message.notes.push_back("the R before \"" + w.back() + "\" is not sent");

  Bits& bits = attempt.message.bits;
  bool portable = false;
  for (const std::string& word : {first, second}) {
    std::string packed = IsCqWord(word) || IsBracketed(word) ? word : *BaseCall(word);
    if (!AddCall28(bits, packed, attempt)) return Try::kRefused;
    AppendBits(bits, EndsInRoverOrPortable(word), 1);
    portable |= EndsInRoverOrPortable(word) && word.back() == 'P';
    attempt.message.book.Add(IsBracketed(word) ? std::string(InsideBrackets(word)) : packed);
  }
  AppendBits(bits, grid->roger, 1);
  AppendBits(bits, std::uint64_t(grid->value), 15);
  return attempt.Packed(portable ? 2 : 1, 0);
}

// Type 3: "[TU;] C1 C2 [R] RST EXCHANGE", the exchange a state or province or a serial number.
Try RttyRoundup(const Words& w, Attempt& attempt) {
  // The last two words decide whether this is the type: a state or province, or a serial number
  // after a 5n9 report. The fields are then read from the front, so words out of place leave no
  // report to send.
  std::size_t at = !w.empty() && w[0] == "TU;" ? 1 : 0;
  if (w.size() < 4 || w.size() > 6 || at + 4 > w.size()) return Try::kDeclined;
  const std::string &first = w[at], &second = w[at + 1];
  const std::string &lastReport = w[w.size() - 2], &exchange = w.back();
  if (!BaseCall(first) || !BaseCall(second) || Contains(lastReport, '+') ||
      Contains(lastReport, '-'))
    return Try::kDeclined;
  int place = PlaceIn(kRttyExchanges, exchange);
  int number = 0;
  if (place != 0) {
    number = 8000 + place;
  } else {
    const std::string& r = lastReport;
    bool fiveNine = r.size() == 3 && r[0] == '5' && r[1] >= '2' && r[1] <= '9' && r[2] == '9';
    // A serial number is read as a number: a plus sign may stand in front.
    std::string_view serial = exchange;
    if (!serial.empty() && serial[0] == '+') serial.remove_prefix(1);
    if (!fiveNine || !AllDigits(serial)) return Try::kDeclined;
    number = serial.size() > 9 ? kLastRttyNumber + 1 : std::stoi(std::string(serial));
    if (number == 0) return Try::kDeclined;
    if (number > kLastRttyNumber)
      return attempt.Refuse("the serial number \"" + exchange + "\" is too large");
    if (number > 8000)
      attempt.message.notes.push_back("serial numbers above 8000 are not sent as numbers");
  }
  bool roger = w[at + 2] == "R";
  const std::string& rst = w[at + 2 + roger];
  if (!AllDigits(rst) || rst.size() > 9)
    return attempt.Refuse("the report \"" + rst + "\" is not a number");
  if (at + 4 + roger != w.size())
    attempt.message.notes.push_back("only the report after the calls is sent");
  int report = std::clamp((std::stoi(rst.substr(0, 9)) - 509) / 10 - 2, 0, 7);
  Bits& bits = attempt.message.bits;
  AppendBits(bits, at, 1);
  if (!AddCall28(bits, first, attempt) || !AddCall28(bits, second, attempt)) return Try::kRefused;
  AppendBits(bits, roger, 1);
  AppendBits(bits, std::uint64_t(report), 3);
  AppendBits(bits, std::uint64_t(number), 13);
  attempt.message.book.Add(first);
  attempt.message.book.Add(second);
  return attempt.Packed(3, 0);
}

// Type 4: one call that no other field holds, sent whole, beside a hashed call or after CQ.
Try Nonstandard(const Words& w, Attempt& attempt) {
  if (w.size() != 2 && w.size() != 3) return Try::kDeclined;
  bool cq = w[0] == "CQ";
  if (cq && w[1].size() <= 4) return Try::kDeclined;
  bool firstHashed = w[0][0] == '<', secondHashed = w[1][0] == '<';
  // Two calls, one compound, neither hashed: this layout has room for only one of them whole.
  if (!cq && !firstHashed && !secondHashed && BaseCall(w[0]) && BaseCall(w[1]) &&
      (Contains(w[0], '/') || Contains(w[1], '/')))
    return attempt.Refuse("only one of two calls can go whole; put the other in angle brackets");
  if (!cq && firstHashed && secondHashed)
    return attempt.Refuse("two calls in angle brackets go together only in a standard message");
  if (!cq && !firstHashed && !secondHashed) return Try::kDeclined;
  const std::string& plain = cq || firstHashed ? w[1] : w[0];
  const std::string& hashedWord = firstHashed ? w[0] : w[1];
  std::string_view hashed = cq ? std::string_view(plain) : InsideBrackets(hashedWord);
  if (!cq && (hashed.size() < 3 || hashed == "..."))
    return attempt.Refuse("\"" + hashedWord +
                          "\": a hashed call needs at least 3 characters of a call");
  // Two standard calls go in the standard message, or nowhere.
  auto standard = [](std::string_view call) { return !Contains(call, '/') && BaseCall(call); };
  if (!cq && standard(plain) && standard(hashed)) return Try::kDeclined;
  std::string whole = plain.substr(0, 11);
  std::uint64_t value = 0;
  for (char c : std::string(11 - whole.size(), ' ') + whole) {
    int code = ValueIn(kA38, c);
    if (code < 0)
      return attempt.Refuse("\"" + plain + "\": a call holds only letters, digits and \"/\"");
    value = value * 38 + std::uint64_t(code);
  }
  if (plain.size() > 11) attempt.message.notes.push_back("a call keeps its first 11 characters");
  int closing = 0;
  if (w.size() == 3) {
    if (!cq) closing = w[2] == "RRR" ? 1 : w[2] == "RR73" ? 2 : w[2] == "73" ? 3 : 0;
    if (closing == 0) attempt.message.notes.push_back("\"" + w[2] + "\" is not sent");
  }
  Bits& bits = attempt.message.bits;
  AppendBits(bits, CallHash(hashed, 12), 12);
  AppendBits(bits, value, 58);
  AppendBits(bits, !cq && secondHashed, 1);
  AppendBits(bits, std::uint64_t(closing), 2);
  AppendBits(bits, cq, 1);
  // Only the hashed call is looked up: a plain call of the same 12-bit hash must not stand in.
  attempt.message.book.Add(hashed);
  return attempt.Packed(4, 0);
}

// Type 5, EU VHF contest: "<C1> <C2> [R] RRSSSS LOCATOR6".
Try EuVhf(const Words& w, Attempt& attempt) {
  if (w.size() != 4 && w.size() != 5) return Try::kDeclined;
  bool roger = w.size() == 5;
  if ((roger && w[2] != "R") || !IsBracketed(w[0]) || !IsBracketed(w[1])) return Try::kDeclined;
  const std::string &exchange = w[2 + roger], &locator = w[3 + roger];
  if (!AllDigits(exchange) || exchange.size() > 6) return Try::kDeclined;
  int number = std::stoi(exchange);
  auto subsquare = [](char c) { return c >= 'A' && c <= 'X'; };
  if (number < 520001 || number > 594095 || locator.size() < 6 || !IsLocator(locator) ||
      !subsquare(locator[4]) || !subsquare(locator[5]))
    return Try::kDeclined;
  if (number % 10000 > 2047)
    attempt.message.notes.push_back("serial numbers above 2047 are sent as 2047");
  if (locator.size() > 6)
    attempt.message.notes.push_back("the locator keeps its first 6 characters");
  Bits& bits = attempt.message.bits;
  AppendBits(bits, CallHash(InsideBrackets(w[0]), 12), 12);
  AppendBits(bits, CallHash(InsideBrackets(w[1]), 22), 22);
  AppendBits(bits, roger, 1);
  AppendBits(bits, std::uint64_t(number / 10000 - 52), 3);
  AppendBits(bits, std::uint64_t(std::min(number % 10000, 2047)), 11);
  AppendBits(
      bits,
      std::uint64_t(LocatorValue(locator) * 576 + (locator[4] - 'A') * 24 + (locator[5] - 'A')),
      25);
  attempt.message.book.Add(InsideBrackets(w[0]));
  attempt.message.book.Add(InsideBrackets(w[1]));
  return attempt.Packed(5, 0);
}

// Type 0.0: 13 characters of text.
Try FreeText(const std::string& text, Attempt& attempt) {
  std::string kept(jt65::TrimRight(std::string_view(text).substr(0, kFreeTextLength)));
  if (text.size() > kFreeTextLength)
    attempt.message.notes.push_back("free text keeps its first 13 characters");
  modes::WideNumber value;
  for (char c : std::string(kFreeTextLength - kept.size(), ' ') + kept)
    value.MultiplyAdd(42, std::uint32_t(std::max(ValueIn(kA42, c), 0)));
  AppendBits(attempt.message.bits, value, 71);
  return attempt.Packed(0, 0);
}

std::string Normalise(std::string_view input) {
  std::string text;
  for (char c : input.substr(0, kLongestInput)) {
    if (c == ' ' && (text.empty() || text.back() == ' ')) continue;
    text += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
  }
  if (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// The words as the types see them; "CQ xx CALL ..." makes "CQ_xx" one word.
Words SplitWords(const std::string& text) {
  Words words;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = std::min(text.find(' ', at), text.size());
    words.push_back(text.substr(at, std::min(end - at, kWordLength)));
    at = end + 1;
  }
  if (words.size() >= 3 && words[0] == "CQ" && BaseCall(words[2])) {
    words[0] = "CQ_" + words[1].substr(0, 10);
    words.erase(words.begin() + 1);
  }
  return words;
}

bool OpensWithCqDeQrz(const std::string& text) {
  for (std::string_view opening : {"CQ", "DE", "QRZ"})
    if (text == opening || StartsWith(text, std::string(opening) + " ")) return true;
  return false;
}

Try PackWords(const std::string& text, const Words& words, Attempt& attempt) {
  Try result = Try::kDeclined;
  auto tried = [&](Try outcome) {
    result = outcome;
    if (outcome == Try::kDeclined) attempt.message.bits.clear();
    return outcome != Try::kDeclined;
  };
  if (!OpensWithCqDeQrz(text)) {
    if (tried(DXpedition(words, attempt)) || tried(FieldDay(words, attempt))) return result;
    if (words.size() <= 1 && tried(Telemetry(text, attempt))) return result;
  }
  if (tried(WsprStyle(words, attempt)) || tried(Standard(words, attempt)) ||
      tried(RttyRoundup(words, attempt)) || tried(Nonstandard(words, attempt)) ||
      tried(EuVhf(words, attempt)))
    return result;
  return FreeText(text, attempt);
}

}  // namespace

Pack77Result PackMessage77(std::string_view input, Message77& message) {
  message = Message77{};
  message.text = Normalise(input);
  if (input.size() > kLongestInput)
    message.notes.push_back("only the first 37 characters are read");
  std::string error;
  Attempt attempt{message, error};
  if (PackWords(message.text, SplitWords(message.text), attempt) == Try::kRefused) {
    message.bits.clear();
    return {false, "\"" + message.text + "\" cannot be sent: " + error};
  }
  return {true, {}};
}

}  // namespace ft
