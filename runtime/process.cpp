// Start-up and end of the process, the console control handler and the per-thread record.
#include "runtime/process.h"

#include <new>

#include "runtime/commands.h"
#include "runtime/console-output.h"
#include "runtime/thread-record.h"

ConsoleState consoleState;

namespace {

uint32_t threadSlot = pf::kTlsOutOfIndexes;
ThreadRecord* threadRecord = nullptr;
bool comLibraryReady = false;

}  // namespace

ThreadRecord& CurrentThreadRecord() {
  if (threadRecord == nullptr) {
    static ThreadRecord fallback;
    threadRecord = &fallback;
  }
  return *threadRecord;
}

bool MakeThreadRecord() {
  threadSlot = pf::TlsAlloc();
  if (threadSlot == pf::kTlsOutOfIndexes) return false;
  threadRecord = new (std::nothrow) ThreadRecord{};
  return threadRecord != nullptr;
}

void ReleaseThreadRecord() {
  if (threadRecord != nullptr && threadRecord->search.handle != pf::kInvalidHandle) {
    pf::FindClose(threadRecord->search.handle);
    threadRecord->search.handle = pf::kInvalidHandle;
  }
  if (threadSlot != pf::kTlsOutOfIndexes) {
    delete threadRecord;
    threadRecord = nullptr;
    pf::TlsFree(threadSlot);
    threadSlot = pf::kTlsOutOfIndexes;
  }
}

namespace {
const char* volatile removedOnClose = nullptr;
}  // namespace

void RemoveOnClose(const char* name) {
  removedOnClose = name;
}

bool ConsoleControlHandler(uint32_t eventType) {
  if (eventType == pf::kCtrlCloseEvent && removedOnClose != nullptr)
    pf::RemoveFileInHandler(removedOnClose);
  return eventType == pf::kCtrlCEvent || eventType == pf::kCtrlBreakEvent ||
         eventType == pf::kCtrlCloseEvent;
}

void SetUpConsole() {
  ConsoleState& cs = consoleState;
  pf::Handle stdErr = pf::GetStdHandle(pf::kStdErrorHandle);
  pf::Handle stdIn = pf::GetStdHandle(pf::kStdInputHandle);
  pf::Handle stdOut = pf::GetStdHandle(pf::kStdOutputHandle);
  cs.consoleOut = stdErr;
  cs.consoleIn = pf::OpenConsoleInput();
  uint32_t mode = 0;
  if (pf::GetConsoleMode(stdOut, &mode)) cs.consoleOut = stdOut;
  pf::SetConsoleMode(cs.consoleOut, pf::kEnableProcessedOutput | pf::kEnableWrapAtEolOutput);
  pf::SetConsoleMode(stdIn, 0);
  pf::SetConsoleCtrlHandler(ConsoleControlHandler, true);

  pf::CursorInfo shape;
  bool haveShape = pf::GetConsoleCursorInfo(cs.consoleOut, &shape) && shape.size != 0;
  if (!haveShape) haveShape = pf::GetConsoleCursorInfo(stdOut, &shape) && shape.size != 0;
  if (!haveShape) {
    shape = pf::CursorInfo{10, true};
    pf::SetConsoleCursorInfo(cs.consoleOut, shape);
  }
  cs.cursorSize = shape.size;
  cs.cursorVisible = shape.visible;
  cs.cursorForced = false;
  cs.foreground = kLightGrey;
  cs.background = 0;
  cs.scrollPending = false;
}

void RunProcess(int argc, char** argv, ProgramEntry entry) {
  pf::ProcessAttach(argc, argv);
  if (!pf::IsWindowsNtFamily()) {
    pf::MessageBoxA("Win98 No Support", pf::kMbTaskModalSetForeground);
    pf::ExitProcess(255);
  }
  SetUpConsole();
  FindCommandTailStart();
  if (!MakeThreadRecord()) pf::ExitProcess(255);
  // No service needs COM; it is made ready for the thread as Windows programs of its kind do.
  comLibraryReady = pf::CoInitialize();
  EndProgram(static_cast<uint32_t>(entry()));
}

void EndProgram(uint32_t exitCode) {
  if (consoleState.consoleIn != pf::kInvalidHandle) {
    pf::CloseConsoleHandle(consoleState.consoleIn);
    consoleState.consoleIn = pf::kInvalidHandle;
  }
  ReleaseThreadRecord();
  if (comLibraryReady) pf::CoUninitialize();
  pf::ExitProcess(exitCode);
}
