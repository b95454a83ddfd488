// The narrow set of platform primitives the runtime is written against. Each is named and shaped
// after the Win32 call it stands for, and fails the Win32 way: a false or invalid result, with a
// Win32 error number left for GetLastError. Backends: win32 (pass-through), posix (terminal, files,
// processes), memory (a console held in memory, for tests).
//
// The primitives come in two link groups, so a test program can pair the in-memory console with
// the real files and processes of its platform:
//   console: everything in the "Console" section (backends console-posix, console-win32, memory);
//   system:  everything else (backends system-posix, system-win32).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pf {

using Handle = std::uintptr_t;
inline constexpr Handle kInvalidHandle = ~Handle{0};  // INVALID_HANDLE_VALUE

// ---- Win32 error numbers the backends report ----------------------------------------------------
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorPathNotFound = 3;
inline constexpr uint32_t kErrorTooManyOpenFiles = 4;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorNotEnoughMemory = 8;
inline constexpr uint32_t kErrorNoMoreFiles = 18;
inline constexpr uint32_t kErrorSharingViolation = 32;
inline constexpr uint32_t kErrorHandleEof = 38;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorDiskFull = 112;
inline constexpr uint32_t kErrorAlreadyExists = 183;
inline constexpr uint32_t kErrorInvalidFunction = 1;
inline constexpr uint32_t kErrorNotReady = 21;
inline constexpr uint32_t kErrorGenFailure = 31;
inline constexpr uint32_t kErrorFileExists = 80;
inline constexpr uint32_t kErrorBrokenPipe = 109;
inline constexpr uint32_t kErrorNegativeSeek = 131;
inline constexpr uint32_t kErrorDirNotEmpty = 145;
inline constexpr uint32_t kErrorBadExeFormat = 193;
inline constexpr uint32_t kErrorEnvvarNotFound = 203;
inline constexpr uint32_t kErrorFilenameTooLong = 206;
inline constexpr uint32_t kErrorFileTooLarge = 223;
inline constexpr uint32_t kErrorDirectory = 267;
inline constexpr uint32_t kErrorCantResolveFilename = 1921;

// A Win32 error number in words, for the messages of the tools: "no such file", "is a folder".
std::string ErrorWords(uint32_t error);

// ---- Errors (system group) ----------------------------------------------------------------------
uint32_t GetLastError();
void SetLastError(uint32_t code);
inline constexpr uint32_t kSemFailCriticalErrors = 0x0001;
inline constexpr uint32_t kSemNoOpenFileErrorBox = 0x8000;
uint32_t SetErrorMode(uint32_t mode);  // returns the previous mode

// ---- Text conversion on the system ANSI code page (system group) --------------------------------
// A character the code page cannot hold becomes the code page's default character "?".
std::u16string MultiByteToWideChar(std::string_view bytes);
std::string WideCharToMultiByte(std::u16string_view wide);

// ---- Process life (system group) ----------------------------------------------------------------
// ProcessAttach is called first thing by main(): it hands the backend the arguments it may need to
// build a command line, and lets it settle what Windows would have provided (a command interpreter,
// say).
// ArgumentJoin tells how a program started with an argument list (Linux) sees it as one command
// line: the words joined by blanks as typed (a message after the program's name), or words with
// blanks quoted again, so that splitting the line gives them back whole (a command interpreter run
// by hand from a shell).
enum class ArgumentJoin { kAsTyped, kQuoted };
void ProcessAttach(int argc, char** argv, ArgumentJoin join = ArgumentJoin::kAsTyped);
bool IsWindowsNtFamily();  // GetVersionExA, platform id 2
inline constexpr uint32_t kMbTaskModalSetForeground = 0x12000;
void MessageBoxA(const char* text, uint32_t style);  // no owner, no caption
inline constexpr uint32_t kTlsOutOfIndexes = 0xFFFFFFFF;
uint32_t TlsAlloc();
bool TlsFree(uint32_t index);
bool CoInitialize();
void CoUninitialize();
[[noreturn]] void ExitProcess(uint32_t exitCode);

// ---- Files and directory search (system group) --------------------------------------------------
inline constexpr uint32_t kGenericRead = 0x80000000;
inline constexpr uint32_t kGenericWrite = 0x40000000;
inline constexpr uint32_t kFileShareRead = 0x1;
inline constexpr uint32_t kCreateAlways = 2;
inline constexpr uint32_t kOpenExisting = 3;
inline constexpr uint32_t kOpenAlways = 4;
inline constexpr uint32_t kFileAttributeReadonly = 0x01;
inline constexpr uint32_t kFileAttributeHidden = 0x02;
inline constexpr uint32_t kFileAttributeSystem = 0x04;
inline constexpr uint32_t kFileAttributeVolumeLabel = 0x08;
inline constexpr uint32_t kFileAttributeDirectory = 0x10;
inline constexpr uint32_t kFileAttributeNormal = 0x80;
inline constexpr uint32_t kFileTypeDisk = 1;
inline constexpr uint32_t kFileTypeChar = 2;
inline constexpr uint32_t kFileTypePipe = 3;
inline constexpr uint32_t kFileBegin = 0;
inline constexpr uint32_t kInvalidSetFilePointer = 0xFFFFFFFF;

struct FindData {
  uint32_t attributes = 0;
  std::u16string name;  // the long name of the entry, without its directory
};

Handle FindFirstFileW(const std::u16string& pattern, FindData* found);
bool FindNextFileW(Handle search, FindData* found);
bool FindClose(Handle search);
bool DeleteFileW(const std::u16string& name);
// Gives a file a new name; with kMovefileReplaceExisting a file already of that name is replaced
// in one step, so the name always holds either the old file or the new one whole.
inline constexpr uint32_t kMovefileReplaceExisting = 0x1;
bool MoveFileExW(const std::u16string& existing, const std::u16string& renamed, uint32_t flags);
// share 0 is exclusive: no other open of the same file succeeds while this one lasts.
Handle CreateFileW(const std::u16string& name, uint32_t access, uint32_t share, bool inheritable,
                   uint32_t disposition, uint32_t flagsAndAttributes);
uint32_t GetFileType(Handle file);
// Returns the new low 32 bits of the position; *high (when given) takes and receives the high part.
uint32_t SetFilePointer(Handle file, int32_t distanceLow, int32_t* distanceHigh, uint32_t method);
bool SetEndOfFile(Handle file);
bool ReadFile(Handle file, void* buffer, uint32_t toRead, uint32_t* read);
bool WriteFile(Handle file, const void* buffer, uint32_t toWrite, uint32_t* written);
bool CloseHandle(Handle object);  // files and processes

// Raw bytes to the process's standard output or error, whatever they are (tools use these).
bool WriteStandardOutput(std::string_view bytes);
bool WriteStandardError(std::string_view bytes);
// Everything standard input holds, read to its end.
bool ReadStandardInput(std::string* bytes);

// Removes the file of exactly this name at once, with no allocation and no lock, so a console
// control handler may call it while the process is being ended.
bool RemoveFileInHandler(const char* name);

// ---- Whole files (system group) -----------------------------------------------------------------
// Everything the file of this UTF-8 name holds.
bool ReadWholeFile(const std::string& name, std::string* bytes);
// Makes bytes the whole content of the file of this UTF-8 name, at once: a regular file (or the one
// a link names; the link stays) is replaced only when the new content is complete, with the old
// file's permissions, and a temporary file never outlives the call, not even a caught signal; a
// FIFO, a device or a socket is written directly; a folder is refused (kErrorDirectory).
bool WriteWholeFile(const std::string& name, std::string_view bytes);

// ---- Command line, environment, child processes (system group) ----------------------------------
std::u16string GetCommandLineW();
// Copies the value and its terminating 0 when it fits and returns its length; when it does not fit,
// returns the size needed (terminator included); 0 when the variable is not set or is empty.
uint32_t GetEnvironmentVariableW(const std::u16string& name, char16_t* buffer, uint32_t size);

struct ProcessInformation {
  Handle process = kInvalidHandle;
  Handle thread = kInvalidHandle;
  uint32_t processId = 0;
};
struct StartupInfo {
  uint16_t showWindow = 1;            // SW_SHOWNORMAL
  Handle stdOutput = kInvalidHandle;  // kInvalidHandle: the child shares ours
};
// The first word of the command line names the program (no application name is given).
bool CreateProcessW(const std::u16string& commandLine, bool inheritHandles,
                    const StartupInfo& startup, ProcessInformation* info);
inline constexpr uint32_t kInfinite = 0xFFFFFFFF;
inline constexpr uint32_t kWaitObject0 = 0;
inline constexpr uint32_t kWaitTimeout = 258;
inline constexpr uint32_t kWaitFailed = 0xFFFFFFFF;
uint32_t WaitForSingleObject(Handle object, uint32_t milliseconds);
bool GetExitCodeProcess(Handle process, uint32_t* exitCode);

// ---- Console (console group) --------------------------------------------------------------------
inline constexpr uint32_t kStdInputHandle = static_cast<uint32_t>(-10);
inline constexpr uint32_t kStdOutputHandle = static_cast<uint32_t>(-11);
inline constexpr uint32_t kStdErrorHandle = static_cast<uint32_t>(-12);

struct Coord {
  int16_t x = 0;
  int16_t y = 0;
};
struct SmallRect {
  int16_t left = 0;
  int16_t top = 0;
  int16_t right = 0;
  int16_t bottom = 0;
};
struct ScreenBufferInfo {
  Coord size;    // the whole buffer, W x H
  Coord cursor;  // 0-based column and row
  uint16_t attributes = 7;
  SmallRect window;  // the visible part of the buffer
};
struct CharInfo {
  char16_t ch = u' ';
  uint16_t attributes = 7;
};
struct CursorInfo {
  uint32_t size = 25;  // percent of a cell, 1..100
  bool visible = true;
};

inline constexpr uint16_t kKeyEvent = 0x0001;
inline constexpr uint16_t kMouseEvent = 0x0002;
inline constexpr uint16_t kWindowBufferSizeEvent = 0x0004;
inline constexpr uint16_t kMenuEvent = 0x0008;
inline constexpr uint16_t kFocusEvent = 0x0010;

inline constexpr uint32_t kRightAltPressed = 0x0001;
inline constexpr uint32_t kLeftAltPressed = 0x0002;
inline constexpr uint32_t kRightCtrlPressed = 0x0004;
inline constexpr uint32_t kLeftCtrlPressed = 0x0008;
inline constexpr uint32_t kShiftPressed = 0x0010;
inline constexpr uint32_t kEnhancedKey = 0x0100;

struct KeyEventRecord {
  bool keyDown = true;
  uint16_t repeatCount = 1;
  uint16_t virtualKeyCode = 0;
  uint16_t virtualScanCode = 0;
  char16_t unicodeChar = 0;
  uint32_t controlKeyState = 0;
};
struct InputRecord {
  uint16_t eventType = kKeyEvent;
  KeyEventRecord key;  // meaningful for kKeyEvent only
};

inline constexpr uint32_t kCtrlCEvent = 0;
inline constexpr uint32_t kCtrlBreakEvent = 1;
inline constexpr uint32_t kCtrlCloseEvent = 2;
inline constexpr uint32_t kCtrlLogoffEvent = 5;
inline constexpr uint32_t kCtrlShutdownEvent = 6;
using ControlHandler = bool (*)(uint32_t eventType);

inline constexpr uint32_t kEnableProcessedOutput = 0x1;
inline constexpr uint32_t kEnableWrapAtEolOutput = 0x2;

Handle GetStdHandle(uint32_t which);
Handle OpenConsoleInput();  // CreateFileA("CONIN$", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING)
bool CloseConsoleHandle(Handle console);
bool GetConsoleMode(Handle console, uint32_t* mode);  // fails when the handle is no console
bool SetConsoleMode(Handle console, uint32_t mode);   // input mode 0: raw keys, no echo, no signals
bool SetConsoleCtrlHandler(ControlHandler handler, bool add);
bool GetConsoleCursorInfo(Handle console, CursorInfo* info);
bool SetConsoleCursorInfo(Handle console, const CursorInfo& info);
bool GetConsoleScreenBufferInfo(Handle console, ScreenBufferInfo* info);
// Puts the cells of a (bufferSize) block, from bufferOrigin on, into *region of the screen buffer.
bool WriteConsoleOutputW(Handle console, const CharInfo* cells, Coord bufferSize,
                         Coord bufferOrigin, SmallRect* region);
bool ScrollConsoleScreenBufferW(Handle console, const SmallRect& source, const SmallRect* clip,
                                Coord destination, const CharInfo& fill);
bool SetConsoleCursorPosition(Handle console, Coord position);
bool SetConsoleTextAttribute(Handle console, uint16_t attributes);
bool FillConsoleOutputAttribute(Handle console, uint16_t attributes, uint32_t length, Coord start,
                                uint32_t* written);
bool PeekConsoleInputW(Handle console, InputRecord* records, uint32_t length, uint32_t* read);
bool ReadConsoleInputW(Handle console, InputRecord* records, uint32_t length, uint32_t* read);
void Sleep(uint32_t milliseconds);

}  // namespace pf
