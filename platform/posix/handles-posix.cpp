// The handle table of the system backend: files, processes and their threads, directory searches.
// Handle values start at 0x1000, well above the console backends' small values, and are never
// reused, so a stale handle fails with error 6 instead of reaching another object.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "platform/posix/system-posix.h"

namespace pf {

namespace posix {

namespace {
std::mutex tableLock;
std::map<Handle, HandleObject> table;
Handle nextHandle = 0x1000;
}  // namespace

Handle AddHandle(HandleObject object) {
  std::lock_guard<std::mutex> guard(tableLock);
  Handle handle = nextHandle;
  nextHandle +=
      4;  // Win32 handles are multiples of four; some callers rely on the low bits being 0
  table.emplace(handle, std::move(object));
  return handle;
}

HandleObject* FindHandle(Handle handle, HandleKind kind) {
  std::lock_guard<std::mutex> guard(tableLock);
  auto found = table.find(handle);
  if (found == table.end() || found->second.kind != kind) {
    SetLastError(kErrorInvalidHandle);
    return nullptr;
  }
  return &found->second;
}

bool RemoveHandle(Handle handle, HandleObject* removed) {
  std::lock_guard<std::mutex> guard(tableLock);
  auto found = table.find(handle);
  if (found == table.end()) return Fail(kErrorInvalidHandle);
  *removed = std::move(found->second);
  table.erase(found);
  return true;
}

int MoveAboveStandardStreams(int fd) {
  if (fd > STDERR_FILENO) return fd;
  int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  if (moved < 0) return fd;
  close(fd);
  return moved;
}

}  // namespace posix

bool CloseHandle(Handle object) {
  posix::HandleObject removed;
  if (!posix::RemoveHandle(object, &removed)) return false;
  switch (removed.kind) {
    case posix::HandleKind::kFile:
      // The descriptor is gone whatever close reports; its lock goes with it.
      close(removed.fd);
      return true;
    case posix::HandleKind::kProcess:
      if (!removed.ended) {
        int status = 0;
        waitpid(removed.pid, &status, WNOHANG);  // reaps a child that ended unobserved
      }
      posix::FinishChild(&removed);
      return true;
    case posix::HandleKind::kThread:
    case posix::HandleKind::kSearch:
      return true;
  }
  return true;
}

}  // namespace pf
