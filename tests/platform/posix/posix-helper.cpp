// A small child program for the process tests. With no mode it prints each argument on a line of
// its own; "--open FILE" opens FILE exclusively and exits with the Win32 error (0: it opened);
// "--hold MS" sleeps; "--exit N" exits with N; "--comspec" prints comspec as the program sees it;
// "--command-line" prints its command line; "--exit-hooks" ends through two exit hooks, the later
// of which ends the process again, as a signal handler might.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "platform/posix/posix-hooks.h"

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--open" && argc > 2) {
    std::string name = argv[2];
    pf::Handle file = pf::CreateFileW(std::u16string(name.begin(), name.end()), pf::kGenericRead, 0,
                                      false, pf::kOpenExisting, pf::kFileAttributeNormal);
    return file == pf::kInvalidHandle ? static_cast<int>(pf::GetLastError()) : 0;
  }
  if (mode == "--hold" && argc > 2) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[2])));
    return 0;
  }
  if (mode == "--exit" && argc > 2) return std::atoi(argv[2]);
  if (mode == "--comspec") {
    pf::ProcessAttach(argc, argv);
    char16_t value[4096];
    uint32_t length = pf::GetEnvironmentVariableW(u"comspec", value, 4096);
    std::printf("[%s]\n", pf::WideCharToMultiByte(std::u16string_view(value, length)).c_str());
    return 0;
  }
  if (mode == "--command-line") {
    pf::ProcessAttach(argc, argv);
    std::printf("%s\n", pf::WideCharToMultiByte(pf::GetCommandLineW()).c_str());
    return 0;
  }
  if (mode == "--exit-hooks") {
    pf::posix::AddExitHook([] { pf::WriteStandardOutput("first added\n"); });
    pf::posix::AddExitHook([] {
      pf::WriteStandardOutput("last added\n");
      pf::ExitProcess(5);
    });
    pf::ExitProcess(7);
  }
  for (int i = 1; i < argc; ++i) std::printf("%s\n", argv[i]);
  return 0;
}
