// The run of the external encoder through the command interpreter, with its listing redirected
// into a file in the current directory.
#include "generator/stages.h"
#include "runtime/commands.h"
#include "runtime/files.h"

namespace {

constexpr int kShowNormal = 1;

// Characters a command interpreter acts on. None is in the JT65 alphabet and the encoder reads them
// as blanks anyway, so they are handed over as blanks: the quoting cannot break and the message
// cannot start anything.
bool InterpreterActsOn(char c) {
  switch (c) {
    case '"':
    case '%':
    case '&':
    case '|':
    case '<':
    case '>':
    case '^':
      return true;
    default:
      return false;
  }
}

}  // namespace

bool EncoderPresent() {
  return !FindFirstName(kEncoderName, 0).empty();
}

Text EncoderCommandLine(std::string_view interpreter, std::string_view message) {
  Text quoted(message);
  for (char& c : quoted)
    if (InterpreterActsOn(c)) c = ' ';
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
