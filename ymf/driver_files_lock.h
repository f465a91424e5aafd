// One writer at a time: every operation that changes the driver files or
// the backup runs under a lock that every Tovaro process on the machine
// shares, tovaro.exe and tovaroc alike.
#pragma once

#include <cstdint>
#include <functional>

constexpr const char* DriverFilesLockName = "Tovaro.DriverFiles";
// How long a second program waits for the first one to finish.
constexpr std::uint32_t DriverFilesLockWaitMs = 5000;

// Runs change while holding the lock and returns its result. The outermost
// call takes the lock and clears the failure record; calls made inside it
// (an operation that uses another) run at once under the same lock. When
// the lock stays busy for DriverFilesLockWaitMs, change does not run and
// the result is false with a Busy failure. A lock whose last holder ended
// without releasing it is taken over: change always judges the files as it
// finds them, so half-done work is seen for what it is.
bool UnderDriverFilesLock(const std::function<bool()>& change);
