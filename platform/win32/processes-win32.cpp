// The command line, the environment and child processes, passed straight to Windows.
#include <vector>

#include "platform/win32/win32-api.h"

namespace pf {

std::u16string GetCommandLineW() {
  const wchar_t* line = ::GetCommandLineW();
  if (line == nullptr) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(line));
}

uint32_t GetEnvironmentVariableW(const std::u16string& name, char16_t* buffer, uint32_t size) {
  return ::GetEnvironmentVariableW(win32::Wide(name), reinterpret_cast<wchar_t*>(buffer), size);
}

bool CreateProcessW(const std::u16string& commandLine, bool inheritHandles,
                    const StartupInfo& startup, ProcessInformation* info) {
  // CreateProcessW may write into the command line it is given, so it gets a copy of its own.
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');

  STARTUPINFOW startupInfo{};
  startupInfo.cb = sizeof(startupInfo);
  startupInfo.dwFlags = STARTF_USESHOWWINDOW;
  startupInfo.wShowWindow = startup.showWindow;
  if (startup.stdOutput != kInvalidHandle) {
    // The child's output goes where the caller says; its input and error stay ours.
    startupInfo.dwFlags |= STARTF_USESTDHANDLES;
    startupInfo.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startupInfo.hStdOutput = win32::ToWin(startup.stdOutput);
    startupInfo.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  }

  SECURITY_ATTRIBUTES security{};
  security.nLength = sizeof(security);
  security.lpSecurityDescriptor = nullptr;
  security.bInheritHandle = FALSE;

  PROCESS_INFORMATION started{};
  const BOOL ok =
      ::CreateProcessW(nullptr, line.data(), &security, &security, inheritHandles ? TRUE : FALSE,
                       NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startupInfo, &started);
  if (ok && info != nullptr) {
    info->process = win32::FromWin(started.hProcess);
    info->thread = win32::FromWin(started.hThread);
    info->processId = started.dwProcessId;
  }
  return ok != FALSE;
}

uint32_t WaitForSingleObject(Handle object, uint32_t milliseconds) {
  return ::WaitForSingleObject(win32::ToWin(object), milliseconds);
}

bool GetExitCodeProcess(Handle process, uint32_t* exitCode) {
  DWORD code = 0;
  const BOOL ok = ::GetExitCodeProcess(win32::ToWin(process), &code);
  if (exitCode != nullptr) *exitCode = code;
  return ok != FALSE;
}

}  // namespace pf
