// System, disk and file queries.
#include <gtest/gtest.h>

#include <string>

#include "system_core.h"

namespace {

using namespace kitlib;

std::string TempDir() {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  return tmp;
}

TEST(Versions, FamilyAndNumbersMatchWithWildcards) {
  SystemVersion win7 = {VER_PLATFORM_WIN32_NT, 6, 1, 7601};
  SystemVersion xp = {VER_PLATFORM_WIN32_NT, 5, 1, 2600};
  SystemVersion me = {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 3000};
  EXPECT_FALSE(VersionMatches(win7, false, -1, -1, -1));  // IsWin98(-1,-1,-1) on Windows 7
  EXPECT_TRUE(VersionMatches(me, false, -1, -1, -1));
  EXPECT_FALSE(VersionMatches(win7, true, 5, 1, -1));     // IsWin2000(5,1,-1) on Windows 7
  EXPECT_TRUE(VersionMatches(xp, true, 5, 1, -1));
  EXPECT_TRUE(VersionMatches(win7, true, 6, -1, -1));
  EXPECT_FALSE(VersionMatches(win7, true, 6, 1, 7600));
  EXPECT_EQ(GetSystemVersion().platform, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
}

TEST(DiskSpace, NearestExistingFolderCounts) {
  std::string tmp = TempDir();
  EXPECT_GT(FreeDiskBytes(tmp), 0u);
  EXPECT_GT(FreeDiskBytes(tmp + "no\\such\\folder\\file.jpg"), 0u);
  EXPECT_GT(FreeDiskBytes("C:"), 0u);
  EXPECT_EQ(FreeDiskBytes(""), 0u);
  EXPECT_EQ(FreeDiskBytes("Q:\\nothing"), 0u);
}

TEST(FreeResources, PercentagesInRange) {
  FreeResources r = GetFreeResources();
  for (int v : {r.system, r.gdi, r.user}) {
    EXPECT_GE(v, 0);
    EXPECT_LE(v, 100);
  }
  EXPECT_GE(r.gdi, 30);  // a test program uses few objects
}

TEST(FileVersion, SystemModuleHasOneOurTestHasNone) {
  char sys[MAX_PATH];
  GetSystemDirectoryA(sys, MAX_PATH);
  std::string v = FileVersionText(std::string(sys) + "\\kernel32.dll");
  EXPECT_EQ(std::count(v.begin(), v.end(), '.'), 3) << v;
  EXPECT_EQ(FileVersionText("C:\\no\\such.dll"), "");
}

TEST(MaxDecode, HalfTheMemoryForTwoBuffersCapped) {
  EXPECT_EQ(MaxDecodePixels(0), 0u);
  EXPECT_EQ(MaxDecodePixels(1600ull << 20), (1600ull << 20) / 16);
  EXPECT_EQ(MaxDecodePixels(1ull << 40), 400000000u);
}

TEST(CodecPlugins, CountsVcpFiles) {
  std::string dir = TempDir() + "kitlib-vcp-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  EXPECT_EQ(CountCodecPlugins(dir), 0);
  for (const char* n : {"\\MovDecode.vcp", "\\Other.vcp", "\\readme.txt"}) {
    HANDLE f = CreateFileA((dir + n).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(f);
  }
  EXPECT_EQ(CountCodecPlugins(dir), 2);
  for (const char* n : {"\\MovDecode.vcp", "\\Other.vcp", "\\readme.txt"}) DeleteFileA((dir + n).c_str());
  RemoveDirectoryA(dir.c_str());
}

TEST(Association, RegisteredDocumentKinds) {
  EXPECT_TRUE(HasOpenAssociation("C:\\doc\\manual.pdf"));  // the prefix opens PDFs with its browser
  EXPECT_FALSE(HasOpenAssociation("C:\\doc\\manual.zz9unknown"));
  EXPECT_FALSE(HasOpenAssociation("C:\\doc\\noextension"));
}

LRESULT CALLBACK CountingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_APP) ++*reinterpret_cast<int*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  return DefWindowProcA(h, m, w, l);
}

TEST(MessagePump, HandlesTheGivenWindowsOnly) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KitlibPumpTest";
  RegisterClassA(&wc);
  int countA = 0, countB = 0;
  HWND a = CreateWindowA(wc.lpszClassName, "a", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  HWND b = CreateWindowA(wc.lpszClassName, "b", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrA(a, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&countA));
  SetWindowLongPtrA(b, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&countB));
  for (int i = 0; i < 3; ++i) PostMessageA(a, WM_APP, 0, 0);
  PostMessageA(b, WM_APP, 0, 0);
  EXPECT_GE(PumpWindowMessages(a, nullptr, 200), 3);
  EXPECT_EQ(countA, 3);
  EXPECT_EQ(countB, 0);
  PumpWindowMessages(a, b, 200);
  EXPECT_EQ(countB, 1);
  DestroyWindow(a);
  DestroyWindow(b);
}

}  // namespace
