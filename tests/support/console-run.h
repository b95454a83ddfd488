// The fixture of tests that run the generator's stages in-process: a fresh temporary folder as the
// current directory, an 80 x 40 in-memory console set up as start-up sets it up, no run-time error
// recorded, and files 1 and 2 (the listing and the include file) closed again afterwards.
#pragma once

#include "platform/memory/memory-console.h"
#include "runtime/errors.h"
#include "runtime/files.h"
#include "runtime/process.h"
#include "tests/support/temp-folder.h"

namespace testsupport {

class ConsoleRunTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    memcon::Reset(80, 40);
    SetUpConsole();
    ClearRuntimeError();
  }
  void TearDown() override {
    CloseFile(1);
    CloseFile(2);
    TempFolderTest::TearDown();
  }
};

}  // namespace testsupport
