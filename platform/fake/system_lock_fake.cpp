#include "platform/fake.h"
#include "platform/system_lock.h"

SystemLockResult TakeSystemLock(const std::string&, std::uint32_t, SystemLock& lock) {
  FakePlatform& fake = Fake();
  // A second take without a release would deadlock nobody here but would on
  // a lock that is not counted per thread: callers must not do it.
  if (fake.LockHeld) {
    return SystemLockResult::Failed;
  }
  if (fake.LockHeldElsewhere) {
    return SystemLockResult::Busy;
  }
  fake.LockHeld = true;
  ++fake.LockTakes;
  lock = 1;
  const bool abandoned = fake.LockAbandoned;
  fake.LockAbandoned = false;
  return abandoned ? SystemLockResult::TakenOver : SystemLockResult::Taken;
}

void ReleaseSystemLock(SystemLock) { Fake().LockHeld = false; }
