// Reading a WSPR message through the encoder core, and what it says in words: why a text is
// refused, and the notes on what was changed in it.
#include <string>
#include <vector>

#include "common/ascii.h"
#include "modes/core/common/qvc-bits.h"
#include "modes/core/wspr/qvw-wspr.h"
#include "modes/fixed-text.h"
#include "modes/wspr-message.h"

namespace wspr {
namespace {

std::string Quote(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// Why the core refused the text, in words, quoting the word it points at.
std::string Refusal(const qvc_report& report, const std::string& m) {
  const std::string word = Quote(std::string_view(m).substr(report.word_start, report.word_length));
  switch (report.status) {
    case QVC_EMPTY_MESSAGE:
      return "the message is empty";
    case QVW_POWER_MISSING:
      return "the power in dBm is missing at the end of the message";
    case QVW_POWER_NOT_A_NUMBER:
      return "the power " + word + " is not a whole number of dBm";
    case QVW_COMPOUND_FORM:
      return "a compound call is sent as PFX/CALL POWER or CALL/SFX POWER, with the \"/\" in the "
             "call and no grid";
    case QVW_NOT_A_CALL:
      return word + " is not a callsign WSPR can send";
    case QVW_HASH_NOT_CLOSED:
      return "the hashed call has no closing \">\"";
    case QVW_HASH_EMPTY:
      return "there is no call between \"<\" and \">\"";
    case QVW_HASH_BLANK:
      return "a call between \"<\" and \">\" has no blanks";
    case QVW_HASH_LOWER_CASE:
      return "write the call between \"<\" and \">\" in capitals: receivers match the hash of the "
             "call as they print it";
    case QVW_HASH_TOO_LONG:
      return "the call between \"<\" and \">\" is longer than 12 characters";
    case QVW_HASH_NO_BLANK:
      return "a blank must follow the \">\" of the hashed call";
    case QVW_HASH_GRID:
      return "a hashed call is sent as <CALL> GRID6 POWER, and " + word +
             " is not a 6-character grid";
    case QVW_GRID_POWER_MISSING:
      return "the grid and the power are missing (CALL GRID4 POWER)";
    case QVW_HASH_NOT_FIRST:
      return "a hashed call is sent as <CALL> GRID6 POWER, with the \"<\" first";
    case QVW_STARTS_WITH_SLASH:
      return "the message starts with \"/\"";
    case QVW_STARTS_WITH_BLANK:
      return "the message starts with a blank";
    case QVW_TYPE1_CALL:
      return word + " is not a callsign WSPR can send (CALL GRID4 POWER)";
    case QVW_BLANKS_APART:
      return "the words are to be one blank apart";
    case QVW_TYPE1_GRID:
      return word + " is not a 4-character grid (two capitals A-R and two digits)";
    default:
      return "the message cannot be sent in WSPR";
  }
}

bool IsPlainNumber(const std::string& word) {
  std::size_t digits = word[0] == '+' || word[0] == '-' ? 1 : 0;
  return word.size() > digits && word.find_first_not_of("0123456789", digits) == std::string::npos;
}

// The typed message as a receiver would print it if nothing were lost on the way: capitals, one
// blank between words, a plain power number as the level sent, the hashed call as "<...>".
std::string Expected(const Packing& packing) {
  std::string m = ascii::UpperCase(packing.message);
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
  return qvw_round_power(dbm);
}

Packing PackMessage(std::string_view text) {
  qvw_message core{};
  qvc_report report{};
  qvw_pack(std::string(text).c_str(), &core, &report);
  return PackingOf(core, report);
}

Packing PackingOf(const qvw_message& core, const qvc_report& report) {
  Packing packing;
  packing.message = std::string(core.text, jt65::kMessageLength);
  if (report.changes & QVC_CHANGED_CUT)
    packing.notes.push_back("cut to 22 characters: " + Quote(jt65::TrimRight(packing.message)));
  if (report.status != QVC_OK) {
    packing.error = Refusal(report, packing.message);
    return packing;
  }
  if (report.changes & QVW_CHANGED_POWER) {
    packing.notes.push_back("power " + std::to_string(core.typed_power) +
                            " dBm is not a WSPR power level (0-60 dBm, ending in 0, 3 or 7): " +
                            "sent as " + std::to_string(core.power) + " dBm");
  }
  packing.ok = true;
  packing.type = static_cast<MessageType>(core.type);
  packing.source = {core.n1, core.n2};
  packing.power = core.power;
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
