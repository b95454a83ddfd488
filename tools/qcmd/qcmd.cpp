// qcmd: the command interpreter stand-in on Linux. `qcmd /C command` runs one program with its
// arguments, and sends its output to a file when the line holds one `> file` outside quotes.
// Nothing else on the line means anything here (no pipes, no "&", no variables, no wildcards), so
// whatever text is handed to a program can never start another one.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "platform/unicode.h"

namespace {

constexpr uint32_t kNotRecognized = 9009;
constexpr uint32_t kUsageError = 1;

// Text for our own messages, which go to standard error as UTF-8.
std::string Utf8(std::u16string_view text) {
  return pf::unicode::Utf8FromUtf16(text);
}

[[noreturn]] void Quit(uint32_t exitCode, const std::string& message) {
  pf::WriteStandardError(message + "\n");
  pf::ExitProcess(exitCode);
}

bool IsBlank(char16_t unit) {
  return unit == u' ' || unit == u'\t';
}

size_t SkipBlanks(std::u16string_view text, size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at;
}

// One word: up to the next blank, or between double quotes (which are dropped).
std::u16string_view WordAt(std::u16string_view text, size_t at, size_t* end) {
  if (at < text.size() && text[at] == u'"') {
    size_t close = text.find(u'"', at + 1);
    *end = close == std::u16string_view::npos ? text.size() : close + 1;
    return text.substr(at + 1, close == std::u16string_view::npos ? close : close - at - 1);
  }
  size_t stop = at;
  while (stop < text.size() && !IsBlank(text[stop])) ++stop;
  *end = stop;
  return text.substr(at, stop - at);
}

// The command after "/C" (or "/c") on our own command line.
std::u16string_view CommandAfterSwitch(std::u16string_view line) {
  size_t at = 0;
  WordAt(line, 0, &at);  // our own name
  at = SkipBlanks(line, at);
  bool isSwitch = line.size() >= at + 2 && line[at] == u'/' &&
                  (line[at + 1] == u'C' || line[at + 1] == u'c') &&
                  (line.size() == at + 2 || IsBlank(line[at + 2]));
  if (!isSwitch) Quit(kUsageError, "qcmd: usage: qcmd /C command [> file]");
  return line.substr(SkipBlanks(line, at + 2));
}

struct Command {
  std::u16string line;    // the program and its arguments
  std::u16string output;  // the file named after ">", or empty text
};

// Takes the one `> file` outside quotes out of text.
Command SplitOffRedirection(std::u16string_view text) {
  size_t redirect = std::u16string_view::npos;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'"') quoted = !quoted;
    if (text[i] != u'>' || quoted) continue;
    if (i + 1 < text.size() && text[i + 1] == u'>') Quit(kUsageError, "qcmd: >> is not supported");
    if (redirect != std::u16string_view::npos) {
      Quit(kUsageError, "qcmd: only one output redirection is allowed");
    }
    redirect = i;
  }
  if (redirect == std::u16string_view::npos) return {std::u16string(text), u""};
  size_t end = 0;
  std::u16string_view target = WordAt(text, SkipBlanks(text, redirect + 1), &end);
  if (target.empty()) Quit(kUsageError, "qcmd: no file name after >");
  return {std::u16string(text.substr(0, redirect)) + std::u16string(text.substr(end)),
          std::u16string(target)};
}

// An interpreter looks for a program named bare in the current folder before anywhere else, while
// a bare name given to CreateProcessW is looked for beside the starting program (qcmd) first. So
// the current folder is named explicitly first; only when the program is not there does the name
// go bare.
bool StartInCurrentFolderFirst(std::u16string_view line, const pf::StartupInfo& startup,
                               pf::ProcessInformation* started) {
  size_t end = 0;
  std::u16string_view program = WordAt(line, 0, &end);
  bool bare = program.find_first_of(u"/\\:") == std::u16string_view::npos;
  std::u16string here =
      u"\".\\" + std::u16string(program) + u"\"" + std::u16string(line.substr(end));
  if (bare && pf::CreateProcessW(here, true, startup, started)) return true;
  return pf::CreateProcessW(std::u16string(line), true, startup, started);
}

}  // namespace

int main(int argc, char** argv) {
  // Run by hand from a Linux shell, quoted words reach us split: quote them again.
  pf::ProcessAttach(argc, argv, pf::ArgumentJoin::kQuoted);
  std::u16string commandLine = pf::GetCommandLineW();
  Command command = SplitOffRedirection(CommandAfterSwitch(commandLine));
  size_t start = SkipBlanks(command.line, 0);
  if (start == command.line.size()) Quit(kUsageError, "qcmd: no command to run");
  std::u16string line = command.line.substr(start);
  size_t end = 0;
  std::string program = Utf8(WordAt(line, 0, &end));

  pf::StartupInfo startup;
  if (!command.output.empty()) {
    startup.stdOutput = pf::CreateFileW(command.output, pf::kGenericWrite, pf::kFileShareRead, true,
                                        pf::kCreateAlways, pf::kFileAttributeNormal);
    if (startup.stdOutput == pf::kInvalidHandle) {
      Quit(kUsageError, "qcmd: cannot create '" + Utf8(command.output) +
                            "': " + pf::ErrorWords(pf::GetLastError()));
    }
  }
  pf::ProcessInformation started;
  if (!StartInCurrentFolderFirst(line, startup, &started)) {
    uint32_t error = pf::GetLastError();
    if (error == pf::kErrorFileNotFound || error == pf::kErrorPathNotFound) {
      Quit(kNotRecognized, "'" + program + "' is not recognized as a command");
    }
    Quit(kUsageError, "qcmd: cannot run '" + program + "': " + pf::ErrorWords(error));
  }
  uint32_t exitCode = 0;
  pf::WaitForSingleObject(started.process, pf::kInfinite);
  pf::GetExitCodeProcess(started.process, &exitCode);
  pf::CloseHandle(started.process);
  pf::CloseHandle(started.thread);
  if (startup.stdOutput != pf::kInvalidHandle) pf::CloseHandle(startup.stdOutput);
  pf::ExitProcess(exitCode);
}
