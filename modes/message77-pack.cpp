// Packing a text into a 77-bit message through the encoder core, and the core's refusals and
// changes told in words, quoting the words of the message they speak of.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "modes/core/ft/qvf-message77.h"
#include "modes/message77.h"

namespace ft {
namespace {

// The word of the caller's text a report points at, as the packing saw it (upper case); a CQ
// merged with the word after it reads as one word, "CQ_xx".
std::string QuotedWord(std::string_view input, const qvc_report& report) {
  std::string word;
  for (char c :
       input.substr(std::min<std::size_t>(report.word_start, input.size()), report.word_length)) {
    if (c == ' ') {
      if (!word.empty() && word.back() != '_') word += '_';
      continue;
    }
    word += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
  }
  return word;
}

std::string Refusal(std::string_view input, const qvc_report& report) {
  std::string word = "\"" + QuotedWord(input, report) + "\"";
  switch (report.status) {
    case QVF_NO_CALL:
    case QVF_NO_CQ_MODIFIER:
      return word + " is no call a call field can hold";
    case QVF_BAD_FIELD_DAY_CLASS:
      return "the Field Day class must be a letter A to H, not " + word;
    case QVF_SUFFIX_TOO_LONG:
      return "a suffix of more than 3 characters cannot be sent";
    case QVF_BAD_AFFIX:
      return word + " has a prefix or suffix that cannot be sent";
    case QVF_REPORT_TOO_LONG:
      return "the report " + word + " has more than 2 digits";
    case QVF_SERIAL_TOO_LARGE:
      return "the serial number " + word + " is too large";
    case QVF_REPORT_NOT_NUMBER:
      return "the report " + word + " is not a number";
    case QVF_TWO_WHOLE_CALLS:
      return "only one of two calls can go whole; put the other in angle brackets";
    case QVF_TWO_HASHED_CALLS:
      return "two calls in angle brackets go together only in a standard message";
    case QVF_HASHED_TOO_SHORT:
      return word + ": a hashed call needs at least 3 characters of a call";
    case QVF_BAD_CALL_CHARACTER:
      return word + ": a call holds only letters, digits and \"/\"";
    case QVF_NO_TEXT:
      return "none of its characters can be sent as free text";
    case QVF_CQ_WITH_REPLY:
      return "after CQ only a locator may follow; R, RRR, RR73, 73 and reports answer a call";
    case QVF_CQ_WITH_HASHED:
      return "CQ does not go before a call in angle brackets; \"CQ CALL\" sends the whole call";
    default:
      return "the bits hold no message a receiver knows";
  }
}

// The changes in the order the packing makes them.
std::vector<std::string> Notes(std::string_view input, const qvc_report& report) {
  const std::pair<std::uint32_t, const char*> kNotes[] = {
      {QVF_CHANGED_INPUT_CUT, "only the first 37 characters are read"},
      {QVF_CHANGED_HEX_TOO_LARGE,
       "hex above 7FFFFFFFFFFFFFFFFF is too large for telemetry: sent as free text"},
      {QVF_CHANGED_TELEMETRY_CUT, "telemetry keeps its first 18 characters"},
      {QVF_CHANGED_TELEMETRY_PLUS, "the + in front of telemetry is not sent"},
      {QVF_CHANGED_ROGER_DROPPED, nullptr},
      {QVF_CHANGED_SERIAL_AS_LIST, "serial numbers above 8000 are not sent as numbers"},
      {QVF_CHANGED_EXTRA_WORDS, "only the report after the calls is sent"},
      {QVC_CHANGED_CALL_CUT, "a call keeps its first 11 characters"},
      {QVF_CHANGED_WORD_DROPPED, nullptr},
      {QVF_CHANGED_SERIAL_CLAMPED, "serial numbers above 2047 are sent as 2047"},
      {QVF_CHANGED_LOCATOR_CUT, "the locator keeps its first 6 characters"},
      {QVC_CHANGED_CUT, "free text keeps its first 13 characters"},
  };
  std::vector<std::string> notes;
  for (const auto& [bit, words] : kNotes) {
    if ((report.changes & bit) == 0) continue;
    std::string word = "\"" + QuotedWord(input, report) + "\"";
    if (bit == QVF_CHANGED_ROGER_DROPPED)
      notes.push_back("the R before " + word + " is not sent");
    else if (bit == QVF_CHANGED_WORD_DROPPED)
      notes.push_back(word + " is not sent");
    else
      notes.push_back(words);
  }
  return notes;
}

// Whether the text holds the call after a "<", its ">" following or left out, as receivers read it.
bool InBrackets(std::string_view text, const std::string& call) {
  for (std::size_t at = text.find("<" + call); at != std::string_view::npos;
       at = text.find("<" + call, at + 1)) {
    std::size_t after = at + 1 + call.size();
    if (after == text.size() || text[after] == '>' || text[after] == ' ') return true;
  }
  return false;
}

}  // namespace

std::array<std::uint8_t, 10> PackedBits77(const modes::Bits& bits) {
  std::array<std::uint8_t, 10> bytes{};
  for (std::size_t i = 0; i < bits.size() && i < 77; ++i)
    bytes[i / 8] |= std::uint8_t((bits[i] & 1) << (7 - i % 8));
  return bytes;
}

modes::Bits UnpackedBits77(const std::uint8_t* bytes) {
  modes::Bits bits;
  for (int i = 0; i < 77; ++i) bits.push_back(std::uint8_t((bytes[i / 8] >> (7 - i % 8)) & 1));
  return bits;
}

Pack77Result PackMessage77(std::string_view input, Message77& message) {
  message = Message77{};
  // The core reads a C string: a text with a NUL inside ends there.
  std::string text(input.substr(0, input.find('\0')));
  std::uint8_t bytes[QVF_MESSAGE77_BYTES];
  qvc_report report{};
  qvf_pack77_detail detail{};
  qvc_status status = qvf_pack77_detailed(text.c_str(), bytes, &report, &detail);
  message.text = detail.text;
  if (input.size() > QVF_TEXT_LENGTH) report.changes |= QVF_CHANGED_INPUT_CUT;
  message.notes = Notes(input, report);
  if (status != QVC_OK)
    return {false, "\"" + message.text + "\" cannot be sent: " + Refusal(input, report)};
  message.bits = UnpackedBits77(bytes);
  message.i3 = int(modes::ReadBits(message.bits, 74, 3));
  message.n3 = message.i3 == 0 ? int(modes::ReadBits(message.bits, 71, 3)) : 0;
  for (int i = 0; i < detail.call_count; ++i) {
    // Type 4 sends its plain call whole: only the bracketed one is looked up by its hash, and a
    // plain call of the same 12-bit hash must not stand in for it.
    std::string call = detail.calls[i];
    if (message.i3 == 4 && !InBrackets(message.text, call)) continue;
    message.book.Add(call);
  }
  return {true, {}};
}

}  // namespace ft
