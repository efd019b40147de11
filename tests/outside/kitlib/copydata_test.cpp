// WM_COPYDATA across processes within what Wine delivers: large blocks by shared memory,
// every send with a timeout, oversized blocks refused on receipt.
#include <gtest/gtest.h>

#include <Kitlib2/CopyData.h>

#include <program.h>

#include <string>

namespace {

const char kReceiverClass[] = "GlimoraCopyDataReceiver";
const ULONG_PTR kCodeCheck = 1536;  // answers the size when every byte is as made below
const ULONG_PTR kCodeStall = 1537;  // answers only after a long while

char PatternByte(size_t i) { return static_cast<char>((i * 7) % 251); }

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = PatternByte(i);
  return s;
}

LRESULT CALLBACK ReceiverProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) {
    COPYDATASTRUCT block;
    LRESULT status = CMTLOpenCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam), &block);
    if (status) return status;
    if (block.dwData == kCodeStall) Sleep(4000);
    LRESULT answer = static_cast<LRESULT>(block.cbData);
    const char* p = static_cast<const char*>(block.lpData);
    for (size_t i = 0; i < block.cbData; ++i)
      if (p[i] != PatternByte(i)) answer = -1;
    CMTLCloseCopyData(&block);
    return answer;
  }
  if (msg == WM_CLOSE) PostQuitMessage(0);
  return DefWindowProcA(hWnd, msg, wParam, lParam);
}

HWND MakeReceiver(const char* title) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ReceiverProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kReceiverClass;
  RegisterClassA(&wc);
  return CreateWindowA(kReceiverClass, title, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

// Ends the child when the test is done with it, whatever happened.
struct Child {
  HANDLE process = nullptr;
  HWND window = nullptr;
  ~Child() {
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (process) testsupport::WaitForExit(process, 10000);
  }
};

}  // namespace

// The child: a receiver window, titled as asked, until it is closed.
int CopyDataReceiverChild(const char* title) {
  if (!MakeReceiver(title)) return 2;
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  return 0;
}

TEST(CopyData, LargeBlocksReachAnotherProcessAndNothingWaitsForever) {
  std::string title = "copydata-receiver-" + std::to_string(GetCurrentProcessId());
  Child child;
  child.process = testsupport::StartProgram("\"" + testsupport::ProgramPath() + "\" --copydata-receiver " + title);
  ASSERT_TRUE(child.process);
  for (int i = 0; i < 200 && !child.window; ++i) {
    Sleep(50);
    child.window = FindWindowA(kReceiverClass, title.c_str());
  }
  ASSERT_TRUE(child.window);

  // Sizes around the limit and far past it; each arrives whole.
  for (size_t n :
       {size_t(16), size_t(CMTL_COPYDATA_MAX_INLINE - 1), size_t(CMTL_COPYDATA_MAX_INLINE), size_t(3u << 20)}) {
    SCOPED_TRACE(n);
    std::string block = Pattern(n);
    LRESULT answer = 0;
    DWORD start = GetTickCount();
    EXPECT_TRUE(CMTLSendCopyData(child.window, nullptr, kCodeCheck, block.data(), (DWORD)n, 5000, &answer));
    EXPECT_EQ(answer, static_cast<LRESULT>(n));
    EXPECT_LT(GetTickCount() - start, 5000u);
  }
  // A receiver that does not answer in time: the sender goes on.
  LRESULT answer = 0;
  DWORD start = GetTickCount();
  EXPECT_FALSE(CMTLSendCopyDataText(child.window, nullptr, kCodeStall, "x", 500, &answer));
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_FALSE(CMTLSendCopyData(child.window, nullptr, kCodeCheck, "", CMTL_COPYDATA_MAX_BLOCK + 1, 500, &answer));
}

TEST(CopyData, ReceiptRefusesWhatIsTooLargeOrGone) {
  COPYDATASTRUCT out;
  // Sent raw above the limit (by a program of someone else's): refused, not read.
  COPYDATASTRUCT raw = {kCodeCheck, CMTL_COPYDATA_MAX_INLINE, nullptr};
  EXPECT_EQ(CMTLOpenCopyData(&raw, &out), CMTL_COPYDATA_REFUSED_SIZE);
  EXPECT_EQ(out.lpData, nullptr);

  // A handover record naming memory that is gone, or smaller than it claims.
  struct {
    char magic[8];
    DWORD cb;
    char name[64];
  } record = {{'G', 'L', 'M', 'C', 'D', 'M', 'A', 'P'}, 4096, "Local\\GlimoraCopyData.none"};
  COPYDATASTRUCT handover = {kCodeCheck, sizeof record, &record};
  EXPECT_EQ(CMTLOpenCopyData(&handover, &out), CMTL_COPYDATA_REFUSED_GONE);
  HANDLE small =
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "Local\\GlimoraCopyData.small");
  ASSERT_TRUE(small);
  strcpy(record.name, "Local\\GlimoraCopyData.small");
  record.cb = 1 << 20;
  EXPECT_EQ(CMTLOpenCopyData(&handover, &out), CMTL_COPYDATA_REFUSED_GONE);
  record.cb = CMTL_COPYDATA_MAX_BLOCK + 1;
  EXPECT_EQ(CMTLOpenCopyData(&handover, &out), CMTL_COPYDATA_REFUSED_SIZE);
  record.cb = 100;
  ASSERT_EQ(CMTLOpenCopyData(&handover, &out), 0);
  EXPECT_EQ(out.cbData, 100u);
  CMTLCloseCopyData(&out);
  EXPECT_EQ(out.lpData, nullptr);
  CloseHandle(small);
}
