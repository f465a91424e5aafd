// The named mutex itself: held by another thread (which counts as another
// holder, as another process would), and left behind by a thread that ended
// while holding it.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/system_lock.h"

namespace {

const char* const TestLockName = "Tovaro.SystemLockTest";

struct Holder {
  HANDLE Taken = nullptr;
  HANDLE Release = nullptr;
  bool ReleaseAtEnd = true;
};

DWORD WINAPI HoldLock(void* data) {
  Holder* holder = static_cast<Holder*>(data);
  SystemLock lock = 0;
  if (TakeSystemLock(TestLockName, 1000, lock) != SystemLockResult::Taken) {
    return 1;
  }
  SetEvent(holder->Taken);
  WaitForSingleObject(holder->Release, 10000);
  if (holder->ReleaseAtEnd) {
    ReleaseSystemLock(lock);
  }
  return 0;
}

TEST(SystemLock, SecondHolderWaitsThenIsRefusedAndTakesOverAnAbandonedLock) {
  for (bool releaseAtEnd : {true, false}) {
    Holder holder;
    holder.Taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    holder.Release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    holder.ReleaseAtEnd = releaseAtEnd;
    HANDLE thread = CreateThread(nullptr, 0, &HoldLock, &holder, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(holder.Taken, 5000), WAIT_OBJECT_0);

    SystemLock lock = 0;
    const DWORD start = GetTickCount();
    EXPECT_EQ(TakeSystemLock(TestLockName, 300, lock), SystemLockResult::Busy);
    EXPECT_GE(GetTickCount() - start, 250u) << "the second holder waits before it gives up";

    SetEvent(holder.Release);
    WaitForSingleObject(thread, 5000);
    const SystemLockResult after = TakeSystemLock(TestLockName, 1000, lock);
    EXPECT_EQ(after, releaseAtEnd ? SystemLockResult::Taken : SystemLockResult::TakenOver);
    if (after == SystemLockResult::Taken || after == SystemLockResult::TakenOver) {
      ReleaseSystemLock(lock);
    }
    CloseHandle(thread);
    CloseHandle(holder.Taken);
    CloseHandle(holder.Release);
  }
}

}  // namespace
