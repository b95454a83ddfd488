// Fuzzes the line reader: any file bytes, read in blocks of any length from 1 to 256 bytes, give
// back exactly the lines that ExpectedLines describes, then the end of the file, again and again.
// Joined with the line ends the reader consumed, the lines make up the file up to its Ctrl-Z.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz-support.h"
#include "runtime/errors.h"
#include "runtime/files.h"

namespace {

constexpr FileNumber kFile = 1;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint32_t blockLength = 1u + data[0];
  const std::string_view file = fuzzsupport::AsText(data + 1, size - 1);
  fuzzsupport::WriteFile(fuzzsupport::InWorkFolder("LINES.TXT"), file);

  ClearRuntimeError();
  OpenTextInput(kFile, fuzzsupport::InWorkFolder("lines.txt"), blockLength);
  FUZZ_CHECK(LastRuntimeError() == 0);
  for (const std::string& expected : fuzzsupport::ExpectedLines(file)) {
    ClearRuntimeError();
    Text line = ReadTextLine(kFile);
    FUZZ_CHECK(LastRuntimeError() == 0);
    FUZZ_CHECK(line == expected);
  }
  for (int i = 0; i < 2; ++i) {
    ClearRuntimeError();
    FUZZ_CHECK(ReadTextLine(kFile).empty());
    FUZZ_CHECK(LastRuntimeError() == kErrInputPastEnd);
  }
  CloseFile(kFile);
  FUZZ_CHECK(!IsFileOpen(kFile));
  return 0;
}
