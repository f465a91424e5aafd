#include "ymf/driver_files_lock.h"

#include "platform/system_lock.h"
#include "ymf/operation_failure.h"

namespace {

int Depth = 0;
SystemLock Held = 0;

}  // namespace

bool UnderDriverFilesLock(const std::function<bool()>& change) {
  if (Depth > 0) {
    ++Depth;
    const bool result = change();
    --Depth;
    return result;
  }
  ClearFailure();
  switch (TakeSystemLock(DriverFilesLockName, DriverFilesLockWaitMs, Held)) {
    case SystemLockResult::Taken:
    case SystemLockResult::TakenOver:
      break;
    case SystemLockResult::Busy:
      return Fail(FailureKind::Busy,
                  "Another Tovaro program is changing the driver files; nothing was changed. Try again when it "
                  "has finished.");
    case SystemLockResult::Failed:
      return Fail(FailureKind::Busy, "The lock of the driver files cannot be created; nothing was changed.");
  }
  Depth = 1;
  const bool result = change();
  Depth = 0;
  ReleaseSystemLock(Held);
  return result;
}
