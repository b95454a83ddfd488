// Fuzzes the small text rules with any bytes: the command-tail finder (the bytes taken as the
// characters of a command line), the first field of a typed line, the message normalisation and
// the reading of a symbol value. Each result is checked against what the rule says it is.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz-support.h"
#include "generator/generator.h"
#include "generator/stages.h"
#include "runtime/commands.h"

namespace {

bool AllBlanks(std::u16string_view text) {
  return text.find_first_not_of(u' ') == std::u16string_view::npos;
}

// The tail starts after the program's name (up to its closing quote, or up to the first character
// of code 0x20 or less) and the blanks behind it; an unclosed quote leaves no tail.
void CheckTailStart(std::u16string_view line) {
  const size_t start = CommandTailStart(line);
  FUZZ_CHECK(start <= line.size());
  FUZZ_CHECK(start == line.size() || line[start] != u' ');
  size_t nameEnd = 0;
  if (!line.empty() && line[0] == u'"') {
    size_t close = line.find(u'"', 1);
    if (close == std::u16string_view::npos) {
      FUZZ_CHECK(start == line.size());
      return;
    }
    nameEnd = close + 1;
  } else {
    while (nameEnd < line.size() && line[nameEnd] > u' ') ++nameEnd;
  }
  FUZZ_CHECK(start >= nameEnd);
  FUZZ_CHECK(AllBlanks(line.substr(nameEnd, start - nameEnd)));
}

// Leading blanks passed over; a quoted field runs to its closing quote; any other runs to the
// first comma, its trailing blanks removed.
void CheckFirstField(std::string_view line) {
  const Text field = FirstField(line);
  const size_t lead = line.find_first_not_of(' ');
  if (lead == std::string_view::npos) {
    FUZZ_CHECK(field.empty());
    return;
  }
  std::string_view rest = line.substr(lead);
  if (rest[0] == '"') {
    rest.remove_prefix(1);
    FUZZ_CHECK(rest.substr(0, field.size()) == field);
    FUZZ_CHECK(field.find('"') == Text::npos);
    FUZZ_CHECK(field.size() == rest.size() || rest[field.size()] == '"');
    return;
  }
  FUZZ_CHECK(rest.substr(0, field.size()) == field);
  FUZZ_CHECK(field.find(',') == Text::npos);
  FUZZ_CHECK(field.empty() || (field.front() != ' ' && field.back() != ' '));
  std::string_view after = rest.substr(field.size());
  std::string_view beforeComma = after.substr(0, after.find(','));
  FUZZ_CHECK(beforeComma.find_first_not_of(' ') == std::string_view::npos);
}

void CheckNormalisedMessage(std::string_view typed) {
  const Text message = NormaliseMessage(typed);
  FUZZ_CHECK(message.size() == std::min<size_t>(typed.size(), 13));
  FUZZ_CHECK(message == UpperCase(typed.substr(0, message.size())));
}

// Any text reads as a 16-bit value; a plain number of up to four digits reads as itself.
void CheckSymbolValue(std::string_view text) {
  const int value = ReadSymbolValue(text);
  FUZZ_CHECK(value >= -32768 && value <= 32767);
  size_t digits = text.find_first_not_of("0123456789");
  if (digits == std::string_view::npos) digits = text.size();
  bool plain = digits >= 1 && digits <= 4 &&
               (digits == text.size() ||
                std::string_view(".eEdD").find(text[digits]) == std::string_view::npos);
  if (plain) FUZZ_CHECK(value == std::stoi(std::string(text.substr(0, digits))));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzzsupport::AsText(data, size);
  std::u16string commandLine;
  for (size_t i = 0; i < size; ++i) commandLine += static_cast<char16_t>(data[i]);
  CheckTailStart(commandLine);
  CheckFirstField(text);
  CheckNormalisedMessage(text);
  CheckSymbolValue(text);
  return 0;
}
