#include <windows.h>

#include "files/win32/windows_family.h"
#include "platform/system_lock.h"

namespace {

// On Windows 2000 and XP the "Global\" prefix puts the mutex where every
// session sees it (fast user switching, terminal services). Windows 9x
// allows no backslash in the name and has only one namespace.
std::string KernelName(const std::string& name) {
  const bool nt5 = !RunsOnWindows9x() && LOBYTE(LOWORD(GetVersion())) >= 5;
  return nt5 ? "Global\\" + name : name;
}

}  // namespace

SystemLockResult TakeSystemLock(const std::string& name, std::uint32_t waitMs, SystemLock& lock) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, KernelName(name).c_str());
  if (mutex == nullptr) {
    return SystemLockResult::Failed;
  }
  switch (WaitForSingleObject(mutex, waitMs)) {
    case WAIT_OBJECT_0:
      lock = reinterpret_cast<SystemLock>(mutex);
      return SystemLockResult::Taken;
    case WAIT_ABANDONED:
      lock = reinterpret_cast<SystemLock>(mutex);
      return SystemLockResult::TakenOver;
    case WAIT_TIMEOUT:
      CloseHandle(mutex);
      return SystemLockResult::Busy;
    default:
      CloseHandle(mutex);
      return SystemLockResult::Failed;
  }
}

void ReleaseSystemLock(SystemLock lock) {
  HANDLE mutex = reinterpret_cast<HANDLE>(lock);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}
