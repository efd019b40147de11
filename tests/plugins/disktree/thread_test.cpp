// The folder thread's start and stop, and the sub-folder probe on real folders.
#include <FolderThread.h>
#include <ShellItems.h>
#include <files.h>
#include <gtest/gtest.h>
#include <tempfolder.h>
#include <textkit/text.h>

using namespace disktree;

TEST(FolderThread, StopsAThreadThatWaitsOnTheCallersWindow) {
  FolderThread thread;
  EXPECT_TRUE(thread.Stop());  // none running
  HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  volatile LONG started = 0;
  ASSERT_TRUE(thread.Start([&](const volatile LONG* stop) -> unsigned {
    InterlockedExchange(&started, 1);
    while (!*stop) Sleep(10);
    // Like a walk that sends its tree a message after the stop was asked for.
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("served"));
    return 2;
  }));
  while (!started) Sleep(5);
  EXPECT_TRUE(thread.IsRunning());
  EXPECT_TRUE(thread.Stop(10000));
  EXPECT_FALSE(thread.IsRunning());
  char text[16] = {};
  GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(text, "served");
  DestroyWindow(window);
}

TEST(FolderThread, AStopThatRunsOutOfTimeKeepsTheThreadUntilItEnds) {
  FolderThread thread;
  ASSERT_TRUE(thread.Start([](const volatile LONG*) -> unsigned {
    Sleep(1500);  // a shell call that does not look at the flag
    return 1;
  }));
  EXPECT_FALSE(thread.Stop(600));
  while (thread.IsRunning()) Sleep(20);
  EXPECT_EQ(thread.ExitCode(), 1u);
  EXPECT_TRUE(thread.Stop());
  // A new start after the old thread ended.
  ASSERT_TRUE(thread.Start([](const volatile LONG*) -> unsigned { return 0; }));
  EXPECT_TRUE(thread.Stop());
}

TEST(SubfolderProbe, EachItemGetsItsOwnAnswer) {
  CoInitialize(nullptr);
  std::string root = testsupport::NewTempFolder("probe");
  testsupport::MakeFolders(root + "\\full\\child");
  testsupport::MakeFolders(root + "\\empty");
  testsupport::WriteWholeFile(root + "\\empty\\file.txt", "x");
  IShellFolder* desktop = nullptr;
  ASSERT_EQ(SHGetDesktopFolder(&desktop), S_OK);
  ItemIdList rootId;
  std::wstring w = textkit::AnsiToWide(root);
  ASSERT_EQ(desktop->ParseDisplayName(nullptr, nullptr, &w[0], nullptr, rootId.Out(), nullptr), S_OK);
  IShellFolder* folder = nullptr;
  ASSERT_EQ(desktop->BindToObject(rootId.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder)), S_OK);
  auto child = [&](const char* name) {
    ItemIdList id;
    std::wstring n = textkit::AnsiToWide(name);
    folder->ParseDisplayName(nullptr, nullptr, &n[0], nullptr, id.Out(), nullptr);
    return id;
  };
  ItemIdList full = child("full"), empty = child("empty");
  {
    SubfolderProbe probe;
    unsigned a = probe.Submit(folder, full.Get()), b = probe.Submit(folder, empty.Get());
    unsigned c = probe.Submit(folder, full.Get());
    // The probe keeps its own reference and id: the caller may let go at once.
    full.Reset();
    probe.Cancel(c);
    EXPECT_EQ(probe.Wait(b, 5000), SubfolderProbe::kNoSubfolders);
    EXPECT_EQ(probe.Wait(a, 5000), SubfolderProbe::kHasSubfolders);
    EXPECT_EQ(probe.Wait(c, 100), SubfolderProbe::kUnknown);  // cancelled: no answer for anyone
    EXPECT_EQ(probe.Submit(nullptr, empty.Get()), 0u);
  }
  folder->Release();
  desktop->Release();
  testsupport::RemoveTree(root);
  CoUninitialize();
}
