// Synchronisation across threads: re-entrant critical sections, events, mutexes,
// semaphores and the scoped locks. Waits are short and bounded.
#include <gtest/gtest.h>
#include <fw/fw.h>

#include <atomic>
#include <thread>

namespace {

// Runs f on another thread and returns its result.
template <class F>
auto OnOtherThread(F f) -> decltype(f()) {
  decltype(f()) result{};
  std::thread t([&] { result = f(); });
  t.join();
  return result;
}

TEST(Sync, CriticalSectionIsReentrantOnItsOwnerOnly) {
  CCriticalSection cs;
  EXPECT_TRUE(cs.Lock());
  {
    CSingleLock inner(&cs, TRUE);  // the same thread again: no deadlock
    EXPECT_TRUE(inner.IsLocked());
    EXPECT_FALSE(OnOtherThread([&] { return cs.Lock(20) != FALSE; })) << "held by this thread";
  }
  EXPECT_FALSE(OnOtherThread([&] { return cs.Lock(0) != FALSE; })) << "still held once";
  cs.Unlock();
  EXPECT_TRUE(OnOtherThread([&] {
    CSingleLock lock(&cs);
    return lock.Lock(1000) != FALSE;  // released again by the lock's destructor
  }));
  EXPECT_TRUE(cs.Lock(0));
  cs.Unlock();
}

TEST(Sync, EventsSignalAcrossThreads) {
  CEvent ready, done(FALSE, TRUE);  // auto-reset, manual-reset
  std::atomic<int> step{0};
  std::thread worker([&] {
    CSingleLock wait(&ready);
    if (wait.Lock(5000)) step = 1;
    done.SetEvent();
  });
  ready.SetEvent();
  CSingleLock lock(&done);
  ASSERT_TRUE(lock.Lock(5000));
  worker.join();
  EXPECT_EQ(step, 1);
  EXPECT_FALSE(CSingleLock(&ready).Lock(0)) << "auto-reset: consumed by the worker";
  EXPECT_TRUE(done.Lock(0)) << "manual reset stays set";
  EXPECT_TRUE(done.Lock(0));
  done.ResetEvent();
  EXPECT_FALSE(done.Lock(0));

  // Two objects of one name are one event.
  CString name;
  name.Format("fw_sync_test_%lu", GetCurrentProcessId());
  CEvent a(FALSE, TRUE, name), b(FALSE, TRUE, name);
  a.SetEvent();
  EXPECT_TRUE(b.Lock(0));
}

TEST(Sync, MutexSemaphoreAndMultiLock) {
  CMutex mutex;
  CSingleLock held(&mutex, TRUE);
  EXPECT_TRUE(held.IsLocked());
  EXPECT_FALSE(OnOtherThread([&] { return CSingleLock(&mutex).Lock(20) != FALSE; }));
  held.Unlock();
  EXPECT_FALSE(held.IsLocked());
  EXPECT_TRUE(OnOtherThread([&] { return CSingleLock(&mutex).Lock(1000) != FALSE; }));

  CSemaphore sem(2, 2);
  EXPECT_TRUE(sem.Lock(0));
  EXPECT_TRUE(sem.Lock(0));
  EXPECT_FALSE(sem.Lock(0));
  LONG previous = -1;
  EXPECT_TRUE(sem.Unlock(2, &previous));
  EXPECT_EQ(previous, 0);

  CEvent first, second;
  CSyncObject* objects[] = {&first, &second};
  CMultiLock any(objects, 2);
  EXPECT_EQ(any.Lock(0, FALSE), (DWORD)WAIT_TIMEOUT);
  second.SetEvent();
  EXPECT_EQ(any.Lock(1000, FALSE), WAIT_OBJECT_0 + 1);
  EXPECT_TRUE(any.IsLocked(1));
  EXPECT_FALSE(any.IsLocked(0));
  EXPECT_TRUE(first.IsKindOf(RUNTIME_CLASS(CSyncObject)));
}

}  // namespace
