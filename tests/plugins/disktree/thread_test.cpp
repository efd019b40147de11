// The folder thread's start and stop, and the sub-folder probe on real folders.
#include <FolderThread.h>
#include <ShellItems.h>
#include <files.h>
#include <gtest/gtest.h>
#include <pump.h>
#include <tempfolder.h>
#include <textkit/text.h>

#include <string>
#include <vector>

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
    // Like a walk that finishes its step in the tree after the stop was asked for.
    for (int i = 0; i < 10; ++i) SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("served"));
    return 2;
  }));
  while (!started) Sleep(5);
  EXPECT_TRUE(thread.IsRunning());
  const DWORD start = GetTickCount();
  EXPECT_TRUE(thread.Stop(10000));
  // Each message answered as it comes, not once per wait of half a second.
  EXPECT_LT(GetTickCount() - start, 2500u);
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

// A plain directory is asked on the disk alone, child by child within its level's open
// directory; levels may alternate, and a long listing needs more than one read.
TEST(SubfolderProbe, PlainFoldersAreAskedOnTheDisk) {
  CoInitialize(nullptr);
  const std::string root = testsupport::NewTempFolder("plainprobe");
  const std::string other = root + "\\other";
  struct Case {
    std::string folder;
    bool hasSub;
  };
  std::vector<Case> cases;
  auto make = [&](const std::string& folder, const std::string& sub, bool hasSub) {
    testsupport::MakeFolders(sub.empty() ? folder : folder + "\\" + sub);
    cases.push_back({folder, hasSub});
  };
  make(root + "\\full", "child", true);
  testsupport::MakeFolders(root + "\\empty");
  testsupport::WriteWholeFile(root + "\\empty\\file.txt", "x");
  cases.push_back({root + "\\empty", false});
  make(root + "\\none", "", false);
  make(other + "\\deep", "child", true);  // another level between two of the first
  // Names whose second byte is a backslash in the ANSI code page.
  make(root + "\\\x83\x5c\x95\x5c", "\x83\x5c", true);
  make(other + "\\\x83\x5c\x95\x5c", "", false);
  make(root + "\\hiddenchild", "sub", true);
  SetFileAttributesA((root + "\\hiddenchild\\sub").c_str(), FILE_ATTRIBUTE_HIDDEN);
  // Far more than one read of names: files first, then (on most file systems, later in
  // the listing) the one folder; and the same without a folder.
  for (const char* name : {"longfiles", "longfilesonly"}) {
    testsupport::MakeFolders(root + "\\" + name);
    for (int i = 0; i < 150; ++i)
      testsupport::WriteWholeFile(root + "\\" + name + "\\" + std::string(100, 'f') + std::to_string(i), "");
  }
  make(root + "\\longfiles", "zzz", true);
  cases.push_back({root + "\\longfilesonly", false});
  cases.push_back({root + "\\gone", false});  // no such folder
  cases.push_back({root + "\\full", true});   // the first level again
  // Enough probes that more than one worker answers.
  for (int i = 0; i < 200; ++i) make(root + "\\many" + std::to_string(i), i % 7 ? "" : "s", i % 7 == 0);

  IShellFolder* desktop = nullptr;
  ASSERT_EQ(SHGetDesktopFolder(&desktop), S_OK);
  ItemIdList rootId;
  std::wstring w = textkit::AnsiToWide(root);
  ASSERT_EQ(desktop->ParseDisplayName(nullptr, nullptr, &w[0], nullptr, rootId.Out(), nullptr), S_OK);
  {
    SubfolderProbe probe;
    std::vector<unsigned> tickets;
    // The path alone is asked; the item id only has to be one.
    for (const Case& c : cases) tickets.push_back(probe.Submit(desktop, rootId.Get(), c.folder));
    for (size_t i = 0; i < cases.size(); ++i)
      EXPECT_EQ(probe.Wait(tickets[i], 10000),
                cases[i].hasSub ? SubfolderProbe::kHasSubfolders : SubfolderProbe::kNoSubfolders)
          << cases[i].folder;
  }
  desktop->Release();
  testsupport::RemoveTree(root);
  CoUninitialize();
}

namespace {

// A folder whose attributes the shell is slow to give: each call waits until let go.
class HeldFolder : public IShellFolder {
 public:
  volatile LONG inside = 0;  // calls come in
  HANDLE letGo = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  bool hold = true;
  volatile LONG refs = 1;
  ~HeldFolder() { CloseHandle(letGo); }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IShellFolder) return *out = nullptr, E_NOINTERFACE;
    AddRef();
    return *out = this, S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs); }
  ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&refs); }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, LPCITEMIDLIST*, SFGAOF* attributes) override {
    InterlockedIncrement(&inside);
    if (hold) WaitForSingleObject(letGo, INFINITE);
    *attributes = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, LPBC, LPWSTR, ULONG*, LPITEMIDLIST*, ULONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToObject(LPCITEMIDLIST, LPBC, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToStorage(LPCITEMIDLIST, LPBC, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, LPCITEMIDLIST, LPCITEMIDLIST) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, LPCITEMIDLIST*, REFIID, UINT*, void**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(LPCITEMIDLIST, SHGDNF, STRRET*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, LPCITEMIDLIST, LPCWSTR, SHGDNF, LPITEMIDLIST*) override {
    return E_NOTIMPL;
  }
};

}  // namespace

// The plug-in's take-down stops the probes while the shell still holds one: neither the
// stop nor the probe's end waits for it, the queued probes are dropped, the probe works
// on after a stop, and the held worker, let go later, ends on its own without the probe
// it came from.
TEST(SubfolderProbe, StopsWithoutWaitingForAProbeTheShellHolds) {
  CoInitialize(nullptr);
  // One item id of two bytes: the folder never looks at it.
  const BYTE item[] = {4, 0, 'x', 0, 0, 0};
  const auto id = reinterpret_cast<LPCITEMIDLIST>(item);
  for (bool destroy : {false, true}) {
    SCOPED_TRACE(destroy ? "the probe destroyed" : "the probe stopped");
    HeldFolder held;
    auto* probe = new SubfolderProbe;
    // Both workers held, the third probe queued.
    const unsigned first = probe->Submit(&held, id), second = probe->Submit(&held, id);
    const unsigned queued = probe->Submit(&held, id);
    ASSERT_TRUE(first && second && queued);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return held.inside == 2; }, 10000));
    const DWORD start = GetTickCount();
    if (destroy) {
      delete probe;
      probe = nullptr;
    } else {
      probe->Stop();
    }
    const DWORD took = GetTickCount() - start;
    EXPECT_LT(took, 2000u) << "the take-down waited for the shell";
    // The queued probe's reference went with the stop; the held ones stay with their workers.
    EXPECT_EQ(held.refs, 3);
    if (probe) {
      for (unsigned ticket : {first, second, queued}) EXPECT_EQ(probe->Poll(ticket), SubfolderProbe::kUnknown);
      EXPECT_EQ(probe->Running(), 2);
      // Later probes get a worker of their own.
      HeldFolder quick;
      quick.hold = false;
      const unsigned later = probe->Submit(&quick, id);
      EXPECT_EQ(probe->Wait(later, 10000), SubfolderProbe::kNoSubfolders);
      ASSERT_TRUE(testsupport::WaitUntil([&] { return quick.refs == 1; }, 10000));
    }
    SetEvent(held.letGo);
    // The held workers let go of their folder and end.
    EXPECT_TRUE(testsupport::WaitUntil([&] { return held.refs == 1; }, 10000));
    if (probe) {
      EXPECT_TRUE(testsupport::WaitUntil([&] { return probe->Running() == 0; }, 10000));
      delete probe;
    }
    EXPECT_EQ(held.inside, 2);  // the queued probe never reached the shell
  }
  CoUninitialize();
}

namespace {

// A folder whose every answer takes delayMs: items whose id starts with 'y' hold sub-folders.
class SlowFolder : public HeldFolder {
 public:
  explicit SlowFolder(DWORD delayMs) : delay(delayMs) {}
  DWORD delay;
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, LPCITEMIDLIST* items, SFGAOF* attributes) override {
    InterlockedIncrement(&inside);
    Sleep(delay);
    *attributes = items[0]->mkid.abID[0] == 'y' ? SFGAO_HASSUBFOLDER : 0;
    return S_OK;
  }
};

const BYTE kWithSub[] = {4, 0, 'y', 0, 0, 0};
const BYTE kWithout[] = {4, 0, 'n', 0, 0, 0};
LPCITEMIDLIST Id(const BYTE* bytes) { return reinterpret_cast<LPCITEMIDLIST>(bytes); }

}  // namespace

TEST(ProbeButton, AnAnswerDecidesAndAHeldUpProbeKeepsTheButton) {
  struct Case {
    SubfolderProbe::Answer answer;
    DWORD heldMs;
    ProbeButton button;
  } cases[] = {
      {SubfolderProbe::kHasSubfolders, 0, kButtonShown},
      {SubfolderProbe::kNoSubfolders, 0, kButtonHidden},
      // An answer that came late still counts.
      {SubfolderProbe::kNoSubfolders, 9000, kButtonHidden},
      {SubfolderProbe::kPending, 0, kButtonWait},
      {SubfolderProbe::kPending, 4999, kButtonWait},
      // Past the bound: "maybe", never "none".
      {SubfolderProbe::kPending, 5000, kButtonShown},
      // Forgotten or failed: the button stays.
      {SubfolderProbe::kUnknown, 0, kButtonShown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "answer " << c.answer << ", held " << c.heldMs << " ms");
    EXPECT_EQ(ButtonFromProbe(c.answer, c.heldMs, 5000), c.button);
  }
}

// A long queue of slow probes: each gets its own answer however long it waited behind the
// others, as long as the queue moves; the bound is each probe's own time on a worker.
TEST(ProbeButton, TimeQueuedBehindMovingProbesIsNotCounted) {
  CoInitialize(nullptr);
  {
    SlowFolder slow(50);
    SubfolderProbe probe;
    const DWORD bound = 1000;
    std::vector<unsigned> tickets;
    for (int i = 0; i < 60; ++i) tickets.push_back(probe.Submit(&slow, Id(i % 3 ? kWithout : kWithSub)));
    const DWORD start = GetTickCount();
    for (size_t i = 0; i < tickets.size(); ++i)
      EXPECT_EQ(AwaitButton(probe, tickets[i], bound, INFINITE), i % 3 ? kButtonHidden : kButtonShown) << "probe " << i;
    // The last ones waited in the queue longer than the bound.
    EXPECT_GT(GetTickCount() - start, bound);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return slow.refs == 1; }, 10000));
  }
  CoUninitialize();
}

// Probes the shell holds: the one held past the bound keeps its button, as does one queued
// behind held workers (the queue does not move), and a late answer changes nothing; a
// caller that may not wait gets no decision while the probe moves.
TEST(ProbeButton, AProbeHeldPastItsBoundKeepsTheButton) {
  CoInitialize(nullptr);
  {
    HeldFolder held;
    SubfolderProbe probe;
    const unsigned first = probe.Submit(&held, Id(kWithout)), second = probe.Submit(&held, Id(kWithout));
    const unsigned queued = probe.Submit(&held, Id(kWithout));
    ASSERT_TRUE(testsupport::WaitUntil([&] { return held.inside == 2; }, 10000));
    EXPECT_EQ(AwaitButton(probe, first, 60000, 0), kButtonWait);
    const DWORD start = GetTickCount();
    for (unsigned ticket : {first, second, queued}) EXPECT_EQ(AwaitButton(probe, ticket, 300, INFINITE), kButtonShown);
    EXPECT_LT(GetTickCount() - start, 5000u);
    SetEvent(held.letGo);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return held.refs == 1; }, 10000));
    for (unsigned ticket : {first, second, queued}) EXPECT_EQ(probe.Poll(ticket), SubfolderProbe::kUnknown);
  }
  CoUninitialize();
}
