#include "foreground/Foreground.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// Shown without taking the activation: only the calls under test move the foreground.
HWND Popup(const char* title) {
  HWND w = CreateWindowExA(0, "STATIC", title, WS_POPUP, 40, 40, 80, 40, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(w, SW_SHOWNA);
  return w;
}

void PumpUntil(HANDLE event) {
  while (MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
}

// Another thread holds the foreground; one of ours takes it. A holder that stops answering
// (a hung program) must not hold the taker up.
TEST(BringToFront, TakesTheFrontFromAThreadWhetherItAnswersOrNot) {
  for (bool answers : {true, false}) {
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE end = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND holding = nullptr;
    std::thread holder([&] {
      HWND w = holding = Popup("holder");
      SetForegroundWindow(w);
      SetEvent(held);
      if (!answers) WaitForSingleObject(release, INFINITE);  // deaf meanwhile
      PumpUntil(end);
      DestroyWindow(w);
    });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(held, 10000));
    EXPECT_EQ(holding, GetForegroundWindow());
    std::atomic<bool> front{false};
    std::thread taker([&] {
      HWND w = Popup("taker");
      foreground::BringToFront(w);
      front = GetForegroundWindow() == w;
      SetEvent(taken);
      PumpUntil(end);
      DestroyWindow(w);
    });
    // Bounded by far more than the wait for an answer, however slow the machine.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(taken, 20000)) << "held up by a holder that " << (answers ? "answers" : "does not answer");
    SetEvent(release);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(taken, 20000));
    EXPECT_TRUE(front) << answers;
    SetEvent(end);
    holder.join();
    taker.join();
    for (HANDLE h : {held, release, taken, end}) CloseHandle(h);
  }
}

}  // namespace
