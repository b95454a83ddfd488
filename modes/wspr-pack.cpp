// Reading a WSPR message and packing it into n1 and n2: which of the three forms the text takes,
// the grid field, the prefix or suffix of a compound call, the hashed call and the power.
#include <optional>

#include "modes/callsign.h"
#include "modes/field3.h"
#include "modes/fixed-text.h"
#include "modes/list-number.h"
#include "modes/wspr-call-hash.h"
#include "modes/wspr-message.h"

namespace wspr {
namespace {

using jt65::Fixed;
using jt65::IsDigit;
using jt65::IsLetter;

constexpr std::size_t kLength = jt65::kMessageLength;
// A hashed call longer than this is not sent: the reference keeps the key in 12 bytes.
constexpr std::size_t kLongestHashedCall = 12;

Packing Refuse(Packing packing, std::string error) {
  packing.ok = false;
  packing.error = std::move(error);
  return packing;
}

std::string Quote(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// The type 1 grid field (the 4 characters after the first blank): a locator, or one of the
// report-like words the old packer also takes; nothing when it is none of them.
std::optional<int> PackGridField(std::string_view field) {
  constexpr int kBlank = jt65::kBlankField3;
  auto number = [&](std::size_t at) { return 10 * (field[at] - '0') + (field[at + 1] - '0'); };
  if (field == "    ") return kBlank;
  if (field[0] == '-') return kBlank + number(1);
  if (field.substr(0, 2) == "R-") return number(2) == 0 ? kBlank : kBlank + 30 + number(2);
  if (field.substr(0, 2) == "RO") return kBlank + 61;
  if (field.substr(0, 3) == "RRR") return kBlank + 62;
  if (field.substr(0, 2) == "73") return kBlank + 63;
  if (jt65::IsLocator(field)) return jt65::LocatorValue(field);
  return std::nullopt;
}

bool IsGridLetter(char c, char last) {
  char upper = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
  return upper >= 'A' && upper <= last;
}

// Two letters A-R, two digits, two letters A-X; either case, as the call packer takes them.
bool IsSixCharacterGrid(std::string_view grid) {
  return grid.size() == 6 && IsGridLetter(grid[0], 'R') && IsGridLetter(grid[1], 'R') &&
         IsDigit(grid[2]) && IsDigit(grid[3]) && IsGridLetter(grid[4], 'X') &&
         IsGridLetter(grid[5], 'X');
}

// The power, read as a whole number from the start of rest (what follows the number is ignored);
// nothing, with the refusal set on packing, when there is no number there.
std::optional<int> ReadPower(std::string_view rest, Packing& packing) {
  int dbm = 0;
  jt65::ListRead read = jt65::ReadListNumber(rest, dbm);
  if (read == jt65::ListRead::kEnd) {
    packing = Refuse(packing, "the power in dBm is missing at the end of the message");
    return std::nullopt;
  }
  if (read != jt65::ListRead::kValue) {
    std::string_view shown = jt65::TrimRight(rest.substr(rest.find_first_not_of(' ')));
    packing = Refuse(packing, "the power " + Quote(shown) + " is not a whole number of dBm");
    return std::nullopt;
  }
  int sent = RoundPower(dbm);
  if (sent != dbm) {
    packing.notes.push_back("power " + std::to_string(dbm) + " dBm is not a WSPR power level " +
                            "(0-60 dBm, ending in 0, 3 or 7): sent as " + std::to_string(sent) +
                            " dBm");
  }
  packing.power = sent;
  return sent;
}

// Digits 0-9, capital letters 10-35, anything else the blank's 36: a prefix character's code.
int PrefixCode(char c) {
  if (IsDigit(c)) return c - '0';
  if (IsLetter(c)) return c - 'A' + 10;
  return 36;
}

// The 15-bit value ng and the flag a of a compound call's prefix or suffix, and its base call.
struct AddOn {
  int ng = 0;
  int a = 0;
  std::string base;
};

AddOn SplitAddOn(std::string_view call, std::size_t slash) {
  std::string_view after = call.substr(slash + 1);
  AddOn addOn;
  if (after.size() <= 1) {
    // One character: a digit or a capital letter; anything else (or none) is taken as 38.
    int s = 38;
    if (after.size() == 1 && IsDigit(after[0])) s = after[0] - '0';
    if (after.size() == 1 && IsLetter(after[0])) s = after[0] - 'A' + 10;
    return {27232 + s, 1, std::string(call.substr(0, slash))};
  }
  if (after.size() == 2) {
    // Two characters, read as digits without a check; /00-/09 fall on the letters /Q-/Z.
    int value = 60026 + 10 * (after[0] - '0') + (after[1] - '0');
    return {((value % 32768) + 32768) % 32768, 1, std::string(call.substr(0, slash))};
  }
  // A prefix: its first three characters, right-aligned, as a base-37 number.
  std::string prefix =
      std::string(3, ' ') + std::string(call.substr(0, std::min(slash, std::size_t{3})));
  prefix = prefix.substr(prefix.size() - 3);
  int value = 37 * 37 * PrefixCode(prefix[0]) + 37 * PrefixCode(prefix[1]) + PrefixCode(prefix[2]);
  addOn.a = value >= 32768 ? 1 : 0;
  addOn.ng = value - 32768 * addOn.a;
  addOn.base = std::string(after);
  return addOn;
}

Packing PackCallGridPower(Packing packing, std::int32_t call, int grid, std::size_t blank) {
  std::optional<int> power =
      ReadPower(std::string_view(packing.message).substr(blank + 5), packing);
  if (!power) return packing;
  packing.type = MessageType::kCallGridPower;
  packing.source = {std::uint32_t(call), std::uint32_t(128 * grid + *power + 64)};
  packing.ok = true;
  return packing;
}

Packing PackCompoundCall(Packing packing, std::size_t blank) {
  const std::string& m = packing.message;
  std::size_t slash = m.find('/');
  if (blank == std::string::npos || slash > blank) {
    return Refuse(packing,
                  "a compound call is sent as PFX/CALL POWER or CALL/SFX POWER, with the "
                  "\"/\" in the call and no grid");
  }
  // The reference looks at the first 12 characters of the call.
  std::string_view call = std::string_view(m).substr(0, std::min(blank, std::size_t{12}));
  if (slash >= call.size())
    return Refuse(packing, Quote(call) + " is not a callsign WSPR can send");
  AddOn addOn = SplitAddOn(call, slash);
  std::optional<std::int32_t> base = jt65::PackCall(addOn.base, jt65::CallRules::kWspr);
  if (!base) return Refuse(packing, Quote(addOn.base) + " is not a callsign WSPR can send");
  std::optional<int> power = ReadPower(std::string_view(m).substr(blank + 1), packing);
  if (!power) return packing;
  packing.type = MessageType::kCompoundCall;
  std::uint32_t n2 = std::uint32_t(128 * addOn.ng + *power + 1 + addOn.a + 64) & 0x3FFFFF;
  packing.source = {std::uint32_t(*base), n2};
  packing.ok = true;
  return packing;
}

Packing PackHashedCall(Packing packing) {
  const std::string& m = packing.message;
  std::size_t close = m.find('>');
  if (close == std::string::npos) return Refuse(packing, "the hashed call has no closing \">\"");
  std::string_view call = std::string_view(m).substr(1, close - 1);
  if (call.empty()) return Refuse(packing, "there is no call between \"<\" and \">\"");
  for (char c : call) {
    if (c == ' ') return Refuse(packing, "a call between \"<\" and \">\" has no blanks");
    if (c >= 'a' && c <= 'z') {
      return Refuse(packing,
                    "write the call between \"<\" and \">\" in capitals: receivers "
                    "match the hash of the call as they print it");
    }
  }
  if (call.size() > kLongestHashedCall) {
    return Refuse(packing, "the call between \"<\" and \">\" is longer than 12 characters");
  }
  std::size_t blank = close + 1;
  std::string_view grid = std::string_view(m).substr(std::min(blank + 1, kLength), 6);
  if (blank >= kLength || m[blank] != ' ') {
    return Refuse(packing, "a blank must follow the \">\" of the hashed call");
  }
  if (!IsSixCharacterGrid(grid) || m[blank + 7] != ' ') {
    return Refuse(packing, "a hashed call is sent as <CALL> GRID6 POWER, and " +
                               Quote(jt65::TrimRight(grid.substr(0, grid.find(' ')))) +
                               " is not a 6-character grid");
  }
  std::optional<int> power = ReadPower(std::string_view(m).substr(blank + 8), packing);
  if (!power) return packing;
  // The grid goes through the call packer, turned by one place so its digits come third.
  std::string turned = std::string(grid.substr(1)) + grid[0];
  std::int32_t n1 = *jt65::PackCall(turned, jt65::CallRules::kWspr);
  packing.type = MessageType::kHashedCall;
  packing.source = {std::uint32_t(n1), std::uint32_t(128 * CallHash(call) + 63 - *power)};
  packing.ok = true;
  return packing;
}

// Why a text that is no compound or hashed message is not type 1 either.
std::string WhyNotType1(const std::string& m, std::size_t blank) {
  if (m.find_first_not_of(' ') == std::string::npos) return "the message is empty";
  if (blank == 0) return "the message starts with a blank";
  std::string word = m.substr(0, blank);
  if (blank == std::string::npos || word.size() < 2 || word.size() > 6 ||
      !jt65::PackCall(word, jt65::CallRules::kWspr)) {
    return Quote(word.substr(0, 13)) + " is not a callsign WSPR can send (CALL GRID4 POWER)";
  }
  if (m[blank + 1] == ' ') return "the words are to be one blank apart";
  std::string grid = m.substr(blank + 1, 4);
  std::string shown(jt65::TrimRight(grid.substr(0, grid.find(' '))));
  return Quote(shown) + " is not a 4-character grid (two capitals A-R and two digits)";
}

bool IsPlainNumber(const std::string& word) {
  std::size_t digits = word[0] == '+' || word[0] == '-' ? 1 : 0;
  return word.size() > digits && word.find_first_not_of("0123456789", digits) == std::string::npos;
}

// The typed message as a receiver would print it if nothing were lost on the way: capitals, one
// blank between words, a plain power number as the level sent, the hashed call as "<...>".
std::string Expected(const Packing& packing) {
  std::string m = packing.message;
  for (char& c : m)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  if (packing.type == MessageType::kHashedCall) m = "<...>" + m.substr(m.find('>') + 1);
  std::vector<std::string> words;
  for (std::size_t start = 0; (start = m.find_first_not_of(' ', start)) != std::string::npos;) {
    std::size_t end = m.find(' ', start);
    words.push_back(m.substr(start, end - start));
    start = end;
  }
  // The power is the last word each form reads; its rounding has a note of its own.
  std::size_t power = packing.type == MessageType::kCompoundCall ? 1 : 2;
  if (words.size() > power && IsPlainNumber(words[power]))
    words[power] = std::to_string(packing.power);
  std::string expected;
  for (const std::string& word : words) expected += (expected.empty() ? "" : " ") + word;
  return expected;
}

std::string Collapsed(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

int RoundPower(int dbm) {
  static constexpr int kCorrection[10] = {0, -1, 1, 0, -1, 2, 1, 0, -1, 1};
  int clamped = dbm < 0 ? 0 : (dbm > 60 ? 60 : dbm);
  return clamped + kCorrection[clamped % 10];
}

Packing PackMessage(std::string_view text) {
  Packing packing;
  packing.message = Fixed(text, kLength);
  if (text.size() > kLength && !jt65::TrimRight(text.substr(kLength)).empty()) {
    packing.notes.push_back("cut to 22 characters: " + Quote(jt65::TrimRight(packing.message)));
  }
  const std::string& m = packing.message;
  std::size_t blank = m.find(' ');
  std::size_t slash = m.find('/');
  bool hashed = m.find('<') != std::string::npos;

  if (!hashed && slash == std::string::npos && blank >= 2 && blank <= 6) {
    std::optional<std::int32_t> call = jt65::PackCall(m.substr(0, blank), jt65::CallRules::kWspr);
    std::optional<int> grid = PackGridField(std::string_view(m).substr(blank + 1, 4));
    if (call && m.find_first_not_of(' ', blank) == std::string::npos)
      return Refuse(packing, "the grid and the power are missing (CALL GRID4 POWER)");
    if (call && grid) packing = PackCallGridPower(packing, *call, *grid, blank);
  } else if (!hashed && slash != std::string::npos && slash != 0) {
    packing = PackCompoundCall(packing, blank);
  } else if (m[0] == '<') {
    packing = PackHashedCall(packing);
  } else if (hashed) {
    return Refuse(packing, "a hashed call is sent as <CALL> GRID6 POWER, with the \"<\" first");
  } else if (slash == 0) {
    return Refuse(packing, "the message starts with \"/\"");
  }
  if (!packing.ok) {
    if (packing.error.empty()) packing.error = WhyNotType1(m, blank);
    return packing;
  }
  std::string sent = UnpackMessage(packing.source);
  if (Collapsed(sent) != Expected(packing)) packing.notes.push_back("sent as " + Quote(sent));
  return packing;
}

modes::Bits SourceBits(const SourceMessage& source) {
  modes::Bits bits;
  modes::AppendBits(bits, source.n1, 28);
  modes::AppendBits(bits, source.n2, 22);
  return bits;
}

SourceMessage FromSourceBits(const modes::Bits& bits) {
  return {std::uint32_t(modes::ReadBits(bits, 0, 28)),
          std::uint32_t(modes::ReadBits(bits, 28, 22))};
}

}  // namespace wspr
