// Fuzzes the conversion with any listing bytes. It must end; the include file must be made only of
// well-formed "de" lines, eight entries " d'NN'" (NN two digits) to a line but the last, and the
// comment line with the decoded text; each line between the markers gives at least one entry and
// at most one for every two of its characters, so the entry count is bounded by the listing size.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz-support.h"
#include "generator/stages.h"
#include "platform/memory/memory-console.h"
#include "runtime/errors.h"
#include "runtime/process.h"

namespace {

struct ListingShape {
  bool hasSymbols = false;
  bool hasDecoded = false;
  size_t symbolLines = 0;
  size_t mostEntries = 0;
  Text comment;
};

ListingShape ShapeOf(std::string_view listing) {
  ListingShape shape;
  for (const std::string& line : fuzzsupport::ExpectedLines(listing)) {
    if (!shape.hasSymbols) {
      shape.hasSymbols = line.find("Channel symbols") != std::string::npos;
    } else if (line.find("Decoded") != std::string::npos) {
      shape.hasDecoded = true;
      size_t colon = line.find(':');
      shape.comment =
          "    ;   " + UpperCase(colon == std::string::npos ? line : line.substr(colon + 1));
      break;
    } else {
      ++shape.symbolLines;
      shape.mostEntries += std::max<size_t>(1, line.size() / 2);
    }
  }
  return shape;
}

// Steps over expected at *at in include; false when include does not hold it there.
bool Take(const std::string& include, size_t* at, std::string_view expected) {
  if (include.compare(*at, expected.size(), expected) != 0) return false;
  *at += expected.size();
  return true;
}

bool TakeEntry(const std::string& include, size_t* at) {
  if (!Take(include, at, " d'") || *at + 3 > include.size()) return false;
  bool wellFormed = std::isdigit(static_cast<unsigned char>(include[*at])) &&
                    std::isdigit(static_cast<unsigned char>(include[*at + 1])) &&
                    include[*at + 2] == '\'';
  *at += 3;
  return wellFormed;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::MakeWorkFolder();
  memcon::Reset(80, 25);
  SetUpConsole();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view listing = fuzzsupport::AsText(data, size);
  fuzzsupport::WriteFile(fuzzsupport::InWorkFolder("JT65TEMP.TXT"), listing);
  ClearRuntimeError();
  OpenTextInput(kListingFile, fuzzsupport::InWorkFolder("JT65Temp.txt"), 128);
  OpenTextOutput(kIncludeFile, fuzzsupport::InWorkFolder("OUT.INC"));
  FUZZ_CHECK(LastRuntimeError() == 0);
  const ConversionResult result = ConvertListing();
  FUZZ_CHECK(!IsFileOpen(kListingFile));
  CloseFile(kIncludeFile);
  const std::string include = fuzzsupport::ReadFile(fuzzsupport::InWorkFolder("OUT.INC"));

  const ListingShape shape = ShapeOf(listing);
  FUZZ_CHECK(!result.writeFailed);
  FUZZ_CHECK(result.foundSymbols == shape.hasSymbols);
  FUZZ_CHECK(result.foundDecoded == shape.hasDecoded);
  if (!shape.hasSymbols) {
    FUZZ_CHECK(result.symbolCount == 0);
    FUZZ_CHECK(include.empty());
    return 0;
  }
  const size_t count = static_cast<size_t>(result.symbolCount);
  FUZZ_CHECK(count >= shape.symbolLines);
  FUZZ_CHECK(count <= shape.mostEntries);
  FUZZ_CHECK(count <= size);

  size_t at = 0;
  for (size_t entry = 0; entry < count; ++entry) {
    FUZZ_CHECK(Take(include, &at, entry % 8 == 0 ? "\r\n    de  " : ","));
    FUZZ_CHECK(TakeEntry(include, &at));
  }
  FUZZ_CHECK(Take(include, &at, "\r\n"));
  if (shape.hasDecoded) {
    FUZZ_CHECK(Take(include, &at, shape.comment));
    FUZZ_CHECK(Take(include, &at, "\r\n"));
  }
  FUZZ_CHECK(at == include.size());
  return 0;
}
