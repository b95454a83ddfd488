// The few ties between the Linux console and the Linux process backend: the terminal is handed back
// around a child process and whenever the process ends.
#pragma once

namespace pf::posix {

struct ChildProcessHooks {
  void (*beforeChild)() = nullptr;  // the terminal as the child should find it
  void (*afterChild)() = nullptr;   // the child has ended; the cursor may have moved
};
void SetChildProcessHooks(const ChildProcessHooks& hooks);

// Runs hook (most recently added first) whenever the process ends through ExitProcess.
void AddExitHook(void (*hook)());

}  // namespace pf::posix
