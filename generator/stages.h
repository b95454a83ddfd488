// The two stages of one run: the encoder run (presence check, run, removal of its listing) and the
// conversion of the encoder listing into the symbol include file.
#pragma once

#include "runtime/files.h"
#include "runtime/text.h"

inline constexpr char kEncoderName[] = "JT65CODE.EXE";
inline constexpr char kListingName[] = "JT65TEMP.TXT";
inline constexpr FileNumber kListingFile = 1;
inline constexpr FileNumber kIncludeFile = 2;

// True when the encoder is in the current directory.
bool EncoderPresent();
// The command line that runs the encoder for message through the interpreter.
Text EncoderCommandLine(std::string_view interpreter, std::string_view message);
// Runs the encoder for message; true when its listing came into being.
bool RunEncoder(std::string_view message);
void RemoveListing();

struct ConversionResult {
  bool foundSymbols = false;  // a line announced the channel symbols
  bool foundDecoded = false;  // the listing went on to the decoded-message line
  bool writeFailed = false;   // some text did not reach the include file
  int symbolCount = 0;
};

// Reads the listing (file 1) and writes the include file (file 2), echoing it on the console.
// Closes file 1; leaves file 2 open. Stops at the end of the listing, whatever it holds.
ConversionResult ConvertListing();

// The pieces of the conversion, for tests.
int ReadSymbolValue(std::string_view text);  // the number at the start of text, as a 16-bit value
Text SymbolText(int value);                  // at least two digits
Text SymbolEntry(std::string_view symbolText);  // " d'NN'"
