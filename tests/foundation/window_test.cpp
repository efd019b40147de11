// A real window under Xvfb answering WM_COPYDATA sent from another thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <pump.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

std::string g_received;
ULONG_PTR g_code = 0;

LRESULT CALLBACK CopyDataProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COPYDATA) {
    auto* cds = reinterpret_cast<COPYDATASTRUCT*>(lp);
    g_code = cds->dwData;
    g_received.assign(static_cast<const char*>(cds->lpData), cds->cbData);
    return static_cast<LRESULT>(cds->dwData + 1);
  }
  return DefWindowProcA(h, msg, wp, lp);
}

TEST(Window, CreatesOnTheDisplayAndAnswersCopyData) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = CopyDataProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "GlimoraSmokeWindow";
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND h = CreateWindowA(wc.lpszClassName, "smoke", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr,
                         wc.hInstance, nullptr);
  ASSERT_TRUE(h != nullptr) << "CreateWindow failed: " << GetLastError();
  ShowWindow(h, SW_SHOW);
  UpdateWindow(h);
  EXPECT_GE(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_GE(GetSystemMetrics(SM_CYSCREEN), 768);

  const char text[] = "C:\\Pictures|C:\\Pictures\\IMG_0001.JPG";
  LRESULT answer = 0;
  std::atomic<bool> done{false};
  std::thread sender([&] {
    COPYDATASTRUCT cds = {1534, sizeof(text), const_cast<char*>(text)};
    answer = SendMessageA(h, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    done = true;
  });
  testsupport::WaitUntil([&] { return done.load(); }, 5000);
  sender.join();
  EXPECT_EQ(answer, 1535);
  EXPECT_EQ(g_code, 1534u);
  EXPECT_EQ(g_received, std::string(text, sizeof(text)));
  DestroyWindow(h);
}

}  // namespace
