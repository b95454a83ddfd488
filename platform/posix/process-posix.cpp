// Child processes started from a Windows command line: the first word names the program, found as
// Windows finds it (the starting program's folder, the current directory, then PATH, letter case
// ignored, ".exe" and ".com" tried); the rest is split by the Windows rules. Failures are found
// before anything starts.
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/posix/posix-hooks.h"
#include "platform/posix/system-posix.h"

extern char** environ;

namespace pf {

namespace posix {

namespace {

ChildProcessHooks childHooks;

bool IsBlank(char16_t unit) {
  return unit == u' ' || unit == u'\t';
}

// One argument from position *at on, by the rules of the Windows C runtime: 2n backslashes before
// a quote give n backslashes and the quote toggles quoting; 2n+1 give n and a literal quote; ""
// inside quotes gives a literal quote and quoting goes on; other backslashes are plain.
std::u16string NextArgument(std::u16string_view line, size_t* at) {
  std::u16string argument;
  bool quoted = false;
  size_t i = *at;
  while (i < line.size() && (quoted || !IsBlank(line[i]))) {
    if (line[i] == u'\\') {
      size_t count = 0;
      while (i < line.size() && line[i] == u'\\') ++count, ++i;
      bool beforeQuote = i < line.size() && line[i] == u'"';
      argument.append(beforeQuote ? count / 2 : count, u'\\');
      if (beforeQuote && count % 2 == 1) argument += line[i++];
    } else if (line[i] == u'"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
        argument += u'"';
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
    } else {
      argument += line[i++];
    }
  }
  *at = i;
  return argument;
}

struct ProgramSearch {
  std::string found;
  bool sawNotExecutable = false;
  uint32_t error = kErrorFileNotFound;
};

// Tries one spelling; true when it names a program we can run.
bool TryProgram(const std::string& path, ProgramSearch* search) {
  ResolvedName resolved;
  if (!ResolveName(path, &resolved)) {
    search->error = GetLastError();
    return false;
  }
  struct stat status;
  if (!resolved.exists || stat(resolved.path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return false;
  }
  if ((status.st_mode & 0111) == 0) {
    search->sawNotExecutable = true;
    return false;
  }
  search->found = resolved.path;
  return true;
}

bool TryInDirectory(const std::string& directory, const std::string& name, ProgramSearch* search) {
  std::string base = directory.empty() ? name : directory + "/" + name;
  for (const char* extension : {"", ".exe", ".com"}) {
    if (TryProgram(base + extension, search)) return true;
  }
  return false;
}

// The path of the program to run, or false with the Win32 error: 2 not found, 5 not executable.
// A bare name is looked for where Windows looks: the running program's own folder, the current
// folder, then along PATH.
bool FindProgram(const std::string& name, std::string* path) {
  ProgramSearch search;
  bool found = false;
  if (name.empty()) return Fail(kErrorFileNotFound);
  if (name.find('/') != std::string::npos) {
    found = TryInDirectory("", name, &search);
  } else {
    std::string ownFolder = ProgramFolder();
    found = !ownFolder.empty() && TryInDirectory(ownFolder, name, &search);
    if (!found) found = TryInDirectory("", name, &search);
    const char* pathVariable = std::getenv("PATH");
    std::string_view rest = pathVariable != nullptr ? pathVariable : "";
    while (!found && !rest.empty()) {
      size_t colon = rest.find(':');
      std::string directory(rest.substr(0, colon));
      rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
      found = TryInDirectory(directory.empty() ? "." : directory, name, &search);
    }
    search.error = kErrorFileNotFound;
  }
  if (found) {
    *path = search.found;
    return true;
  }
  return Fail(search.sawNotExecutable ? kErrorAccessDenied : search.error);
}

// Our environment, and the exact command line for a child that reads it (see ProcessAttach).
std::vector<std::string> ChildEnvironment(const std::u16string& commandLine) {
  std::vector<std::string> environment;
  std::string prefix = std::string(kCommandLineVariable) + "=";
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, prefix.c_str(), prefix.size()) != 0) environment.push_back(*entry);
  }
  environment.push_back(prefix + Utf8FromUtf16(commandLine));
  return environment;
}

std::vector<char*> PointersTo(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

uint32_t ExitCodeOf(int status) {
  if (WIFEXITED(status)) return static_cast<uint32_t>(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return 128 + static_cast<uint32_t>(WTERMSIG(status));
  return kErrorGenFailure;
}

void RecordEnd(HandleObject* process, int status) {
  process->ended = true;
  process->exitCode = ExitCodeOf(status);
  FinishChild(process);
}

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  std::vector<std::u16string> words;
  size_t at = 0;
  if (!line.empty() && line[0] == u'"') {
    size_t close = line.find(u'"', 1);
    words.emplace_back(line.substr(1, close == std::u16string_view::npos ? close : close - 1));
    at = close == std::u16string_view::npos ? line.size() : close + 1;
  } else {
    while (at < line.size() && !IsBlank(line[at])) ++at;
    words.emplace_back(line.substr(0, at));
  }
  for (;;) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at >= line.size()) break;
    words.push_back(NextArgument(line, &at));
  }
  return words;
}

void SetChildProcessHooks(const ChildProcessHooks& hooks) {
  childHooks = hooks;
}

void FinishChild(HandleObject* process) {
  if (!process->afterChildPending) return;
  process->afterChildPending = false;
  if (childHooks.afterChild != nullptr) childHooks.afterChild();
}

}  // namespace posix

bool CreateProcessW(const std::u16string& commandLine, bool inheritHandles,
                    const StartupInfo& startup, ProcessInformation* info) {
  (void)inheritHandles;  // only the standard output given in startup is handed on
  std::vector<std::u16string> words = posix::SplitCommandLine(commandLine);
  std::string program;
  if (!posix::FindProgram(posix::NativePath(words[0]), &program)) return false;
  int outputFd = -1;
  if (startup.stdOutput != kInvalidHandle) {
    posix::HandleObject* output = posix::FindHandle(startup.stdOutput, posix::HandleKind::kFile);
    if (output == nullptr) return false;
    outputFd = output->fd;
  }

  std::vector<std::string> arguments;
  for (const std::u16string& word : words) arguments.push_back(posix::Utf8FromUtf16(word));
  std::vector<std::string> environment = posix::ChildEnvironment(commandLine);
  std::vector<char*> argv = posix::PointersTo(arguments), envp = posix::PointersTo(environment);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (outputFd >= 0) posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
  // The child starts with every signal at its default and none blocked, whatever we changed.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t all, none;
  sigfillset(&all);
  sigdelset(&all, SIGKILL);
  sigdelset(&all, SIGSTOP);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  if (posix::childHooks.beforeChild != nullptr) posix::childHooks.beforeChild();
  pid_t pid = 0;
  int failure = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (failure != 0) {
    if (posix::childHooks.afterChild != nullptr) posix::childHooks.afterChild();
    return posix::FailWithErrno(failure);
  }

  posix::HandleObject process;
  process.kind = posix::HandleKind::kProcess;
  process.pid = pid;
  process.afterChildPending = true;
  posix::HandleObject thread;
  thread.kind = posix::HandleKind::kThread;
  ProcessInformation started;
  started.process = posix::AddHandle(std::move(process));
  started.thread = posix::AddHandle(std::move(thread));
  started.processId = static_cast<uint32_t>(pid);
  if (info != nullptr) *info = started;
  return true;
}

uint32_t WaitForSingleObject(Handle object, uint32_t milliseconds) {
  posix::HandleObject* process = posix::FindHandle(object, posix::HandleKind::kProcess);
  if (process == nullptr) return kWaitFailed;
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  while (!process->ended) {
    int status = 0;
    pid_t ended = waitpid(process->pid, &status, milliseconds == kInfinite ? 0 : WNOHANG);
    if (ended == process->pid) {
      posix::RecordEnd(process, status);
      break;
    }
    if (ended < 0 && errno != EINTR) {
      posix::FailWithErrno(errno);
      return kWaitFailed;
    }
    if (ended == 0) {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      int64_t elapsed =
          (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
      if (elapsed >= milliseconds) return kWaitTimeout;
      timespec pause{0, 2 * 1000 * 1000};
      nanosleep(&pause, nullptr);
    }
  }
  return kWaitObject0;
}

bool GetExitCodeProcess(Handle process, uint32_t* exitCode) {
  posix::HandleObject* object = posix::FindHandle(process, posix::HandleKind::kProcess);
  if (object == nullptr) return false;
  if (!object->ended) {
    int status = 0;
    if (waitpid(object->pid, &status, WNOHANG) == object->pid) posix::RecordEnd(object, status);
  }
  if (exitCode != nullptr) *exitCode = object->ended ? object->exitCode : posix::kStillActive;
  return true;
}

}  // namespace pf
