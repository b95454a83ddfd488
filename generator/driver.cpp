// The dialogue of one run: banner, encoder check, message, encoder run, destination, conversion,
// report and the removal of the listing, in one straight line.
#include "generator/generator.h"
#include "generator/stages.h"
#include "runtime/commands.h"
#include "runtime/console-output.h"
#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/line-input.h"
#include "runtime/process.h"

namespace {

constexpr size_t kMessageLength = 13;
constexpr char kDefaultDestination[] = "JT65SYMB.INC";
constexpr uint32_t kListingBlock = 128;
constexpr int kSucceeded = 0;
constexpr int kFailed = 1;

void WriteLine(std::string_view text) {
  ConsoleWrite(text);
  ConsoleNewLine();
}

// One line in light red; later text is light grey again. Without a console, the same line goes to
// standard error.
void ReportFailure(std::string_view what) {
  ConsoleSetColour(kLightRed, kKeepColour, 0);
  WriteLine(what);
  ConsoleSetColour(kLightGrey, kKeepColour, 0);
  ConsoleAbsentReport(what);
}

// What went wrong with the include file, or empty text when it was written whole.
Text ConversionFailure(const ConversionResult& result, bool destinationOpen,
                       std::string_view destination) {
  if (!destinationOpen) return "Cannot open " + Text(destination) + " for writing";
  if (!result.foundSymbols) return "No channel symbols in the encoder listing";
  if (!result.foundDecoded) return "The encoder listing ends before the decoded message";
  if (result.writeFailed) return "Cannot write " + Text(destination);
  return {};
}

}  // namespace

Text FirstField(std::string_view line) {
  size_t start = line.find_first_not_of(' ');
  if (start == std::string_view::npos) return {};
  if (line[start] == '"') {
    size_t close = line.find('"', start + 1);
    return Text(
        line.substr(start + 1, close == std::string_view::npos ? close : close - start - 1));
  }
  std::string_view field = line.substr(start, line.find(',', start) - start);
  size_t last = field.find_last_not_of(' ');
  return Text(last == std::string_view::npos ? std::string_view{} : field.substr(0, last + 1));
}

Text NormaliseMessage(std::string_view typed) {
  return UpperCase(typed.substr(0, kMessageLength));
}

int GeneratorMain() {
  ConsoleNewLine();
  ConsoleNewLine();
  WriteLine("Generates JT65 Symbols from 13 character plain text message");
  WriteLine("Calls JT65CODE.EXE");
  ConsoleNewLine();

  if (!EncoderPresent()) {
    ReportFailure("JT65CODE.EXE is not present.  Ensure this is in the same directory as QUORVEL");
    WriteLine("Visit the WSJT Website for full download");
    return kFailed;
  }

  Text message = CommandTail();
  if (message.empty()) {
    ConsoleWrite("Message  ");
    message = ConsoleReadLine();
  }
  message = NormaliseMessage(message);
  if (message.empty()) return kSucceeded;

  // From here on a listing may exist: a run ended from outside removes it too.
  RemoveOnClose(kListingName);
  if (!RunEncoder(message)) {
    WriteLine("No Temp file created");
    ConsoleAbsentReport("No Temp file created");
    return kFailed;
  }

  ConsoleNewLine();
  ConsoleNewLine();
  ConsoleWrite("Destination file ( JT65SYMB.INC )   ");
  Text destination = FirstField(ConsoleReadLine());
  if (destination.empty()) destination = kDefaultDestination;

  ClearRuntimeError();
  // The program has always opened the listing spelled so; names are matched without regard to
  // letter case, so this is the JT65TEMP.TXT the encoder run made.
  OpenTextInput(kListingFile, "JT65Temp.txt", kListingBlock);
  if (LastRuntimeError() != 0) {
    // Held by another program since the check: the include file is left as it was.
    ConsoleNewLine();
    ReportFailure("Cannot read the encoder listing JT65TEMP.TXT");
    RemoveListing();
    return kFailed;
  }
  ClearRuntimeError();
  OpenTextOutput(kIncludeFile, destination);
  const bool destinationOpen = LastRuntimeError() == 0;
  const bool destinationOnDisk = destinationOpen && IsDiskFile(kIncludeFile);

  ConversionResult result = ConvertListing();
  Text failure = ConversionFailure(result, destinationOpen, destination);

  ConsoleNewLine();
  if (failure.empty()) {
    ConsoleNewLine();
    ConsoleWrite("Symbols written to " + destination + "   ");
    ConsoleNewLine();
    ConsoleNewLine();
  } else {
    // A half-written include file is worse than none: it would assemble into a wrong beacon.
    CloseFile(kIncludeFile);
    if (destinationOnDisk) DeleteFile(destination);
    ReportFailure(failure);
  }
  RemoveListing();
  return failure.empty() ? kSucceeded : kFailed;
}
