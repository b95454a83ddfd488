// Process life on Linux: the command line and environment the way Windows hands them over, the
// default command interpreter, the end of the process with its exit hooks, and what Windows
// provides that Linux needs no stand-in for (version, TLS slots, COM, message boxes).
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/posix/posix-hooks.h"
#include "platform/posix/system-posix.h"

extern char** environ;

namespace pf {

namespace {

std::u16string commandLine;
bool attached = false;

std::array<void (*)(), 32> exitHooks{};
std::atomic<int> exitHookCount{0};
std::atomic<bool> flushed{false};

std::atomic<uint64_t> tlsSlots{0};

// A word that a Linux shell split off with blanks inside, quoted again so that the Windows rules
// give it back whole. A word that already reads as command-line text (it holds a quote or a
// redirection, or is a switch such as "/C ...") is kept as typed: it was quoted for us to read.
std::string QuotedWord(const std::string& word) {
  bool hasBlank = word.find_first_of(" \t") != std::string::npos;
  bool isCommandText = word.find_first_of("\">") != std::string::npos || word[0] == '/';
  if (!hasBlank || isCommandText) return word;
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : word) {
    backslashes = c == '\\' ? backslashes + 1 : 0;
    quoted += c;
  }
  quoted.append(backslashes, '\\');  // a closing quote after backslashes needs them doubled
  return quoted + "\"";
}

std::u16string QuotedProgramAndArguments(const std::vector<std::string>& arguments,
                                         ArgumentJoin join) {
  std::u16string line = u"\"";
  if (!arguments.empty()) line += posix::Utf16FromUtf8(arguments[0]);
  line += u"\"";
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    line += u" " + posix::Utf16FromUtf8(join == ArgumentJoin::kQuoted ? QuotedWord(word) : word);
  }
  return line;
}

// A child we started finds its exact Windows command line in the environment. It is taken only
// when it splits into exactly our arguments (else it was left by some other program on the way),
// and it is removed, so that our own children never see it.
std::u16string CommandLineFor(const std::vector<std::string>& arguments, ArgumentJoin join) {
  const char* given = std::getenv(posix::kCommandLineVariable);
  std::u16string line = given != nullptr ? posix::Utf16FromUtf8(given) : u"";
  if (given != nullptr) unsetenv(posix::kCommandLineVariable);
  if (given != nullptr) {
    std::vector<std::u16string> words = posix::SplitCommandLine(line);
    bool same = words.size() == arguments.size();
    for (size_t i = 0; same && i < words.size(); ++i) {
      same = posix::Utf8FromUtf16(words[i]) == arguments[i];
    }
    if (same) return line;
  }
  return QuotedProgramAndArguments(arguments, join);
}

bool HasVariableIgnoringCase(std::string_view name) {
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    std::string_view text = *entry;
    if (posix::NamesEqualIgnoringCase(text.substr(0, text.find('=')), name)) return true;
  }
  return false;
}

// Windows always has a command interpreter; ours is qcmd beside the running program. It is named
// bare, since a bare program name is looked for first in the running program's folder (as Windows
// does): a path would break at a blank in a folder's name, and a long one would push the rest of
// the command line out of its 256 characters.
void ProvideCommandInterpreter() {
  if (HasVariableIgnoringCase("COMSPEC")) return;
  setenv("COMSPEC", "qcmd", 1);
}

}  // namespace

namespace posix {

std::string ProgramFolder() {
  std::array<char, 4096> self{};
  ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
  if (length <= 0) return "";
  std::string path(self.data(), static_cast<size_t>(length));
  return path.substr(0, path.rfind('/'));
}

}  // namespace posix

void ProcessAttach(int argc, char** argv, ArgumentJoin join) {
  std::vector<std::string> arguments(argv, argv + argc);
  commandLine = CommandLineFor(arguments, join);
  attached = true;
  ProvideCommandInterpreter();
  // A write to a pipe nobody reads fails with an error, as on Windows, instead of ending us.
  // Children start with every signal at its default again (CreateProcessW).
  signal(SIGPIPE, SIG_IGN);
}

std::u16string GetCommandLineW() {
  if (!attached) {
    // Not attached (a test, say): the arguments as Linux recorded them. Read with read(2): a
    // file stream would bring the stream and locale machinery, and its start-up, into every
    // program.
    std::string all;
    int fd = open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
    char buffer[4096];
    for (ssize_t got = 0; fd >= 0 && (got = read(fd, buffer, sizeof buffer)) > 0;) {
      all.append(buffer, static_cast<size_t>(got));
    }
    if (fd >= 0) close(fd);
    std::vector<std::string> arguments;
    for (size_t start = 0; start < all.size();) {
      size_t end = all.find('\0', start);
      if (end == std::string::npos) end = all.size();
      arguments.push_back(all.substr(start, end - start));
      start = end + 1;
    }
    return QuotedProgramAndArguments(arguments, ArgumentJoin::kAsTyped);
  }
  return commandLine;
}

uint32_t GetEnvironmentVariableW(const std::u16string& name, char16_t* buffer, uint32_t size) {
  std::string wanted = posix::Utf8FromUtf16(name);
  const char* value = wanted.find('=') == std::string::npos ? std::getenv(wanted.c_str()) : nullptr;
  for (char** entry = environ; value == nullptr && entry != nullptr && *entry != nullptr; ++entry) {
    const char* equals = std::strchr(*entry, '=');
    if (equals != nullptr &&
        posix::NamesEqualIgnoringCase(std::string_view(*entry, equals - *entry), wanted)) {
      value = equals + 1;
    }
  }
  if (value == nullptr) {
    SetLastError(kErrorEnvvarNotFound);
    return 0;
  }
  std::u16string text = posix::Utf16FromUtf8(value);
  if (text.empty()) return 0;
  uint32_t length = static_cast<uint32_t>(text.size());
  if (buffer == nullptr || length >= size) return length + 1;
  std::copy(text.begin(), text.end(), buffer);
  buffer[length] = 0;
  return length;
}

bool IsWindowsNtFamily() {
  return true;
}

void MessageBoxA(const char* text, uint32_t style) {
  (void)style;
  std::string line = posix::Utf8FromUtf16(MultiByteToWideChar(text != nullptr ? text : ""));
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  WriteStandardError(line + "\n");
}

uint32_t TlsAlloc() {
  uint64_t slots = tlsSlots.load();
  for (;;) {
    if (slots == ~uint64_t{0}) return kTlsOutOfIndexes;
    uint32_t index = 0;
    while ((slots >> index) & 1) ++index;
    if (tlsSlots.compare_exchange_weak(slots, slots | (uint64_t{1} << index))) return index;
  }
}

bool TlsFree(uint32_t index) {
  if (index >= 64 || ((tlsSlots.fetch_and(~(uint64_t{1} << index)) >> index) & 1) == 0) {
    return posix::Fail(kErrorInvalidParameter);
  }
  return true;
}

bool CoInitialize() {
  return true;
}
void CoUninitialize() {}

// The hooks run once each, most recent first, even when a signal handler calls ExitProcess again
// while they run: each caller takes the next hook not yet taken. _exit, not exit: C++ teardown
// must not run under a handler or beside code that was cut off.
void ExitProcess(uint32_t exitCode) {
  for (int next = exitHookCount.fetch_sub(1); next > 0; next = exitHookCount.fetch_sub(1)) {
    exitHooks[static_cast<size_t>(next - 1)]();
  }
  if (!flushed.exchange(true)) std::fflush(nullptr);
  _exit(static_cast<int>(exitCode));
}

namespace posix {

void AddExitHook(void (*hook)()) {
  int count = exitHookCount.load();
  if (hook == nullptr || count < 0 || count >= static_cast<int>(exitHooks.size())) return;
  exitHooks[static_cast<size_t>(count)] = hook;
  exitHookCount.store(count + 1);
}

}  // namespace posix
}  // namespace pf
