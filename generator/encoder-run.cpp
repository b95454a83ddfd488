// The run of the external encoder through the command interpreter, with its listing redirected
// into a file in the current directory.
#include "generator/stages.h"
#include "runtime/commands.h"
#include "runtime/files.h"

namespace {

constexpr int kShowNormal = 1;

// Inside double quotes a command interpreter acts on two characters only: '"' would end the
// quoting and '%' would expand a variable. Neither is in the JT65 alphabet, so the encoder is
// handed '#' instead, another character outside it that nothing acts on: the quoting cannot break
// and nothing else can run, while the encoder, which takes every character outside its alphabet
// alike, encodes the message as typed. The rest ("&|<>^") is plain text inside the quotes.
constexpr char kHandedOverInstead = '#';

bool InterpreterActsOnInQuotes(char c) {
  return c == '"' || c == '%';
}

}  // namespace

bool EncoderPresent() {
  return !FindFirstName(kEncoderName, 0).empty();
}

Text EncoderCommandLine(std::string_view interpreter, std::string_view message) {
  Text quoted(message);
  for (char& c : quoted)
    if (InterpreterActsOnInQuotes(c)) c = kHandedOverInstead;
  return Text(interpreter) + " /C JT65CODE \"" + quoted + "\" > " + kListingName;
}

bool RunEncoder(std::string_view message) {
  Text interpreter = GetEnvironment("comspec");
  RunCommandAndWait(EncoderCommandLine(interpreter, message), kShowNormal);
  return !FindFirstName(kListingName, 0).empty();
}

void RemoveListing() {
  DeleteFile(kListingName);
}
