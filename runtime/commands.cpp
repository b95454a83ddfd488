// The command-tail finder, environment look-up and the start of a child process that is waited for.
#include "runtime/commands.h"

#include <vector>

#include "platform/platform.h"
#include "runtime/errors.h"

namespace {

constexpr size_t kMaxName = 256;
constexpr size_t kMaxCommandLine = 256;
constexpr uint32_t kMaxValue = 7915;

WideText commandLine;
size_t tailStart = 0;

}  // namespace

size_t CommandTailStart(std::u16string_view line) {
  size_t i = 0;
  const size_t end = line.size();
  if (end == 0) return 0;
  if (line[0] == u'"') {
    i = line.find(u'"', 1);
    if (i == std::u16string_view::npos) return end;  // never closed: no tail
    ++i;
  } else if (line[0] == u' ') {
    // The name itself becomes the start of the tail.
  } else {
    while (i < end && line[i] > u' ') ++i;
    if (i < end && line[i] != u' ') return i;  // a tab or other control character starts the tail
  }
  while (i < end && line[i] == u' ') ++i;
  return i;
}

void FindCommandTailStart() {
  UseCommandLine(pf::GetCommandLineW());
}

void UseCommandLine(std::u16string_view line) {
  commandLine = line;
  tailStart = CommandTailStart(commandLine);
}

Text CommandTail() {
  if (tailStart >= commandLine.size()) return {};
  return ToNarrow(std::u16string_view(commandLine).substr(tailStart));
}

Text GetEnvironment(std::string_view name) {
  WideText wideName = ToWide(name).substr(0, kMaxName);
  std::vector<char16_t> value(kMaxValue + 1);
  uint32_t length = pf::GetEnvironmentVariableW(wideName, value.data(), kMaxValue + 1);
  if (length == 0) return {};
  if (length > kMaxValue) {
    // Longer than the usual buffer: fetch it whole rather than cut it.
    value.resize(length);
    length = pf::GetEnvironmentVariableW(wideName, value.data(), length);
    if (length == 0 || length >= value.size()) return {};
  }
  return ToNarrow(std::u16string_view(value.data(), length));
}

uint32_t RunCommandAndWait(std::string_view line, int showStyle) {
  WideText wideLine = ToWide(line).substr(0, kMaxCommandLine);
  pf::StartupInfo startup;
  startup.showWindow = static_cast<uint16_t>(showStyle);
  pf::ProcessInformation info;
  int failure = 0;
  bool started =
      PlatformCall(&failure, [&] { return pf::CreateProcessW(wideLine, false, startup, &info); });
  if (!started) {
    RecordRuntimeError(failure != 0 ? failure : MapPlatformError(0xFFFF));
    return 0;
  }
  pf::WaitForSingleObject(info.process, pf::kInfinite);
  uint32_t exitCode = 0;
  pf::GetExitCodeProcess(info.process, &exitCode);
  pf::CloseHandle(info.process);
  if (info.thread != pf::kInvalidHandle) pf::CloseHandle(info.thread);
  return exitCode;
}
