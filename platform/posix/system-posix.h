// What the files, processes and text pieces of the Linux system backend share: the handle table,
// UTF-8 text, errno mapping, case-blind name resolution and the Windows command-line split.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/unicode.h"

namespace pf::posix {

// ---- Errors -------------------------------------------------------------------------------------
inline constexpr uint32_t kStillActive = 259;  // a process's exit code while it runs

uint32_t Win32ErrorFromErrno(int error);
// Always returns false, so a failing call can end with `return FailWithErrno(errno);`.
bool FailWithErrno(int error);
bool Fail(uint32_t win32Error);

// ---- Text ---------------------------------------------------------------------------------------
// Names, arguments and environment values are UTF-8 bytes on Linux; platform/unicode.h converts
// them, keeping bytes that are no UTF-8.
using unicode::Utf16FromUtf8;
using unicode::Utf8FromUtf16;

// ---- Names --------------------------------------------------------------------------------------
// A Windows name as a Linux path: UTF-8, with "\" taken as a separator like "/".
std::string NativePath(std::u16string_view name);
// The one folding rule of every name comparison: ASCII and Latin-1 small letters (a-z,
// U+00E0..U+00FE but U+00F7) become capitals.
char16_t FoldCase(char16_t unit);
// Whether a and b are the same name once folded by FoldCase.
bool NamesEqualIgnoringCase(std::string_view a, std::string_view b);
// "*" any run of characters, "?" one character, letter case ignored; a trailing ".*" also matches a
// name without an extension, so "*.*" matches every name, as on Windows.
bool MatchesPattern(std::u16string_view pattern, std::u16string_view name);
// Whether a name given to a directory search holds "*" or "?".
bool HasWildcards(std::u16string_view pattern);
// The entry of directory that equals name ignoring case (the byte-wise smallest when several do),
// or empty text.
std::string FindInDirectoryIgnoringCase(const std::string& directory, std::string_view name);

struct ResolvedName {
  std::string path;     // the spelling on disk; a missing last component keeps its given spelling
  bool exists = false;  // false: every directory was found, the last component was not
};
// Exact spelling first, else each component case-blind in its directory. A file of exactly the
// given name is the only one ever used, so a user's file that differs from it only in letter case
// is never touched; for the same reason a name about to be created (toCreate) is never matched
// case-blind in its last component: a missing file is made under the name given. A missing
// directory sets error 3 and returns false.
bool ResolveName(const std::string& path, ResolvedName* resolved, bool toCreate = false);

// ---- Handles ------------------------------------------------------------------------------------
enum class HandleKind { kFile, kProcess, kThread, kSearch };

struct SearchEntry {
  std::string name;  // UTF-8, as on disk
  uint32_t attributes = 0;
};

struct HandleObject {
  HandleKind kind = HandleKind::kFile;
  int fd = -1;                       // file
  std::string path;                  // file
  int pid = 0;                       // process
  bool ended = false;                // process
  uint32_t exitCode = 0;             // process
  bool afterChildPending = false;    // process: the child hooks' afterChild is still to run
  std::vector<SearchEntry> entries;  // search
  size_t next = 0;                   // search
};

// Handle values start at 0x1000 and are never handed out twice.
Handle AddHandle(HandleObject object);
// The object, or nullptr with error 6 when the handle is unknown or of another kind. The pointer
// holds until the handle is removed.
HandleObject* FindHandle(Handle handle, HandleKind kind);
bool RemoveHandle(Handle handle, HandleObject* removed);

// Moves a new descriptor above 0..2, so that a process started without standard streams never
// hands a file of ours to a child as one of them. Returns the descriptor to use.
int MoveAboveStandardStreams(int fd);

// Called by CloseHandle for a process whose wait never ran.
void FinishChild(HandleObject* process);

// ---- The running program -----------------------------------------------------------------------
// The folder that holds the running program's executable, without a trailing "/"; empty when it
// cannot be known.
std::string ProgramFolder();

// ---- Command lines ------------------------------------------------------------------------------
// Splits a Windows command line: the first word (quoted or not) names the program, as
// CreateProcess reads it; the rest is split by the rules a Windows C program applies to its
// arguments.
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

// The environment variable through which a child started here learns its exact command line, since
// a Linux process receives only the split arguments.
inline constexpr const char* kCommandLineVariable = "QUORVEL_COMMAND_LINE";

}  // namespace pf::posix
