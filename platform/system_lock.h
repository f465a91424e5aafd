// A lock that every process on the machine sees under one name: on Windows
// a named mutex (Windows 98 has them too), in the test double a lock of
// this process that a test can declare held elsewhere or abandoned.
#pragma once

#include <cstdint>
#include <string>

enum class SystemLockResult {
  Taken,
  TakenOver,  // the last holder ended without releasing it: what it was doing may be half done
  Busy,       // another holder kept it for the whole wait
  Failed,     // the system could not make the lock
};

using SystemLock = std::intptr_t;

// Waits up to waitMs for the lock named name. On Taken and TakenOver the
// caller holds it until ReleaseSystemLock. Within one thread the lock is not
// counted: callers that nest must take it once.
SystemLockResult TakeSystemLock(const std::string& name, std::uint32_t waitMs, SystemLock& lock);
void ReleaseSystemLock(SystemLock lock);
