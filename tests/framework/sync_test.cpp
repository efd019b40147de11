// Synchronisation across threads: re-entrant critical sections, events, mutexes,
// semaphores and the scoped locks; the holder of other windows' closes. Waits are short
// and bounded.
#include <gtest/gtest.h>
#include <fw/fw.h>

#include <atomic>
#include <thread>
#include <tuple>
#include <vector>

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

// What the holder's windows were handed: window, message, wParam.
using Handed = std::tuple<HWND, UINT, WPARAM>;
std::vector<Handed> g_handed;

LRESULT CALLBACK HandedProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CLOSE || m == WM_SYSCOMMAND || m == WM_USER) {
    g_handed.emplace_back(w, m, wp);
    return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

// A loop running inside window `own` (an import's wait, a modal dialog) gets everything for
// own, its children and the windows it owns at once; a posted close of any other window
// (the main window's would unload a plug-in under the loop) and the quit wait until the
// holder goes, then come again in their order.
TEST(CloseHolder, HoldsOtherWindowsClosesAndTheQuitUntilItGoes) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = HandedProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "CloseHolderTest";
  RegisterClassA(&wc);
  auto make = [&](const char* name, DWORD style, HWND parent) {
    return CreateWindowA("CloseHolderTest", name, style, 0, 0, 50, 50, parent, nullptr, wc.hInstance, nullptr);
  };
  HWND main = make("main", WS_OVERLAPPEDWINDOW, nullptr);
  HWND own = make("own", WS_POPUP, main);
  HWND part = make("part", WS_CHILD, own);
  HWND box = make("box", WS_POPUP, own);  // owned by own, as its message boxes are
  HWND other = make("other", WS_OVERLAPPEDWINDOW, nullptr);
  const struct {
    HWND to;
    UINT message;
    WPARAM wParam;
    bool passes;
  } cases[] = {
      {main, WM_USER, 0, true},  // anything but a close
      {main, WM_CLOSE, 0, false},
      {own, WM_CLOSE, 0, true},
      {part, WM_CLOSE, 0, true},
      {box, WM_SYSCOMMAND, SC_CLOSE, true},
      {main, WM_SYSCOMMAND, SC_CLOSE | 2, false},  // the low four bits are the system's
      {main, WM_SYSCOMMAND, SC_MINIMIZE, true},
      {other, WM_CLOSE, 0, false},
  };
  std::vector<Handed> passing, held;
  for (const auto& c : cases) (c.passes ? passing : held).emplace_back(c.to, c.message, c.wParam);
  held.emplace_back(nullptr, WM_QUIT, 7);

  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  g_handed.clear();
  {
    CCloseHolder holder(own);
    for (const auto& c : cases) PostMessageA(c.to, c.message, c.wParam, 0);
    PostQuitMessage(7);
    holder.Pump();
    EXPECT_EQ(g_handed, passing);
    EXPECT_EQ(holder.Held(), held.size());
  }
  std::vector<Handed> again;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) again.emplace_back(msg.hwnd, msg.message, msg.wParam);
  EXPECT_EQ(again, held);
  DestroyWindow(other);
  DestroyWindow(main);
  UnregisterClassA("CloseHolderTest", wc.hInstance);
}

}  // namespace
