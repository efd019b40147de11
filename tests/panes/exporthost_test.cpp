// The export and conversion hosts with real plug-in libraries: loading and sorting, the
// calls they wrap, what a finished export posts and sends.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "ExportPluginManager.h"
#include "ExportRules.h"
#include "MainWndMessages.h"
#include "PpcPluginManager.h"
#include "profileroot.h"
#include "pump.h"
#include "tempfolder.h"

namespace {
using namespace testsupport;

std::string TestPluginFolder() {
  char path[MAX_PATH];
  ::GetModuleFileNameA(NULL, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.rfind('\\')) + "\\testplugins\\";
}

// A folder holding copies of the named test plug-ins.
struct PluginFolder {
  std::string path;
  explicit PluginFolder(std::initializer_list<const char*> names) {
    path = NewTempFolder("plugins");
    for (const char* n : names)
      EXPECT_TRUE(::CopyFileA((TestPluginFolder() + n).c_str(), (path + "\\" + n).c_str(), FALSE)) << n;
  }
  ~PluginFolder() { RemoveTree(path); }
};

// Whether a library of that file name is loaded in the process.
bool IsLoaded(const std::string& folder, const char* name) {
  return ::GetModuleHandleA((folder + "\\" + name).c_str()) != NULL;
}

// A window that keeps the messages and copy-data texts it receives.
struct Recorder {
  HWND hwnd = NULL;
  static std::vector<MSG> messages;
  static std::vector<std::pair<ULONG_PTR, std::string>> texts;
  static std::vector<DWORD> sizes;
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_COPYDATA) {
      const COPYDATASTRUCT* c = (const COPYDATASTRUCT*)l;
      texts.push_back({c->dwData, std::string((const char*)c->lpData)});
      sizes.push_back(c->cbData);
      return TRUE;
    }
    if (m >= WM_USER) {
      MSG msg = {h, m, w, l};
      messages.push_back(msg);
      return 0;
    }
    return ::DefWindowProcA(h, m, w, l);
  }
  Recorder() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = "ExportHostRecorder";
    ::RegisterClassA(&wc);
    hwnd = ::CreateWindowA("ExportHostRecorder", "", 0, 0, 0, 10, 10, HWND_MESSAGE, NULL, NULL, NULL);
    messages.clear();
    texts.clear();
    sizes.clear();
  }
  ~Recorder() { ::DestroyWindow(hwnd); }
};
std::vector<MSG> Recorder::messages;
std::vector<std::pair<ULONG_PTR, std::string>> Recorder::texts;
std::vector<DWORD> Recorder::sizes;

std::vector<std::string> Names(const CExportPluginManager& m) {
  std::vector<std::string> names;
  for (int i = 0; i < m.GetEntryCount(); ++i) {
    CExportPluginInfo info;
    EXPECT_EQ(0, m.GetInfo(i, &info));
    names.push_back(info.szName);
  }
  return names;
}

TEST(ExportHost, LoadsSortsAndFreesEachLibraryOnce) {
  ScopedProfileRoot profile("exporthost");
  PluginFolder dir({"peu_order30.peu", "peu_order10.peu", "peu_three.peu", "peu_firstfails.peu", "peu_noinfo.peu",
                    "peu_zero.peu", "peu_throwinfo.peu"});
  {
    CExportPluginManager m;
    ASSERT_EQ(0, m.Load(dir.path.c_str()));
    // Orders: Three 0 and 2, Second 1, Ten 10, Thirty 30; no entry from the others.
    EXPECT_EQ((std::vector<std::string>{"Three 0", "Second 1", "Three 2", "Ten 0", "Thirty 0"}), Names(m));
    EXPECT_EQ(0, m.GetEntry(0)->m_nType);
    EXPECT_EQ(2, m.GetEntry(2)->m_nType);
    for (const char* gone : {"peu_noinfo.peu", "peu_zero.peu", "peu_throwinfo.peu"})
      EXPECT_FALSE(IsLoaded(dir.path, gone)) << gone;
    EXPECT_TRUE(IsLoaded(dir.path, "peu_firstfails.peu"));
  }
  // Every library freed once, also the one whose type 0 was dropped.
  for (const char* n : {"peu_order30.peu", "peu_order10.peu", "peu_three.peu", "peu_firstfails.peu"})
    EXPECT_FALSE(IsLoaded(dir.path, n)) << n;
}

TEST(ExportHost, HugeCountAsksThirtyTypesAndTextsStayTerminated) {
  ScopedProfileRoot profile("exporthost");
  PluginFolder dir({"peu_huge.peu", "peu_long.peu"});
  CExportPluginManager m;
  ASSERT_EQ(0, m.Load(dir.path.c_str()));
  ASSERT_EQ(EXPORTPLUGIN_MAX_TYPES + 1, m.GetEntryCount());
  int longOnes = 0;
  for (int i = 0; i < m.GetEntryCount(); ++i) {
    CExportPluginInfo info;
    ASSERT_EQ(0, m.GetInfo(i, &info));
    EXPECT_LT(strlen(info.szName), (size_t)EXPORTPLUGIN_TEXT_MAX);
    EXPECT_LT(strlen(info.szDescription), (size_t)EXPORTPLUGIN_TEXT_MAX);
    if (strlen(info.szName) == EXPORTPLUGIN_TEXT_MAX - 1) ++longOnes;
  }
  EXPECT_EQ(1, longOnes);
}

TEST(ExportHost, EmptyFolderAndIndexesOutOfRange) {
  ScopedProfileRoot profile("exporthost");
  PluginFolder dir({});
  CExportPluginManager m;
  EXPECT_EQ(E_FAIL, m.Load(dir.path.c_str()));
  CExportPluginInfo info;
  int mode = 0;
  EXPECT_EQ(E_FAIL, m.GetInfo(0, &info));
  EXPECT_EQ(E_FAIL, m.GetFileMode(-1, &mode));
  EXPECT_EQ(1, m.GetFilterType(3));
  EXPECT_EQ(E_FAIL, m.OpenWindow(0, (HWND)1, (HWND)1, NULL, 0));
}

// OpenWindow: success and failure, with and without an updated file.
TEST(ExportHost, OpenWindowPostsFinishedAndSendsUpdateText) {
  ScopedProfileRoot profile("exporthost");
  struct {
    const char* plugin;
    bool succeeds, sendsText;
  } cases[] = {
      {"peu_order10.peu", true, false},     {"peu_openfail.peu", false, false}, {"peu_update.peu", true, true},
      {"peu_updatefail.peu", false, false}, {"peu_throw.peu", false, false},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.plugin);
    PluginFolder dir({c.plugin});
    CExportPluginManager m;
    ASSERT_EQ(0, m.Load(dir.path.c_str()));
    Recorder pane, main;
    CGFileInfoList files;
    CGFILEINFO f;
    f.path = "C:\\photos\\a.jpg";
    files.AddTail(f);
    CMWriteProfileString("VxExport\\SaveFile", "UpdateFile", "C:\\stale.jpg");
    long r = m.OpenWindow(0, pane.hwnd, main.hwnd, &files, 5);
    EXPECT_EQ(c.succeeds, r >= 0);
    PumpPending();
    ASSERT_EQ(1u, Recorder::messages.size());
    const MSG& msg = Recorder::messages[0];
    EXPECT_EQ(main.hwnd, msg.hwnd);
    EXPECT_EQ((UINT)WM_EXPORT_FINISHED, msg.message);
    EXPECT_EQ((WPARAM)pane.hwnd, msg.wParam);
    EXPECT_EQ(c.succeeds ? 0x80000000u : 0u, (DWORD)msg.lParam);
    if (c.sendsText) {
      ASSERT_EQ(1u, Recorder::texts.size());
      EXPECT_EQ((ULONG_PTR)CDID_UPDATE_FILES, Recorder::texts[0].first);
      EXPECT_EQ("0|A|2|C:\\photos\\a.jpg||", Recorder::texts[0].second);
    } else {
      EXPECT_TRUE(Recorder::texts.empty());
    }
    EXPECT_EQ("", std::string(CMGetProfileString("VxExport\\SaveFile", "UpdateFile", "")));
    EXPECT_EQ(-7, CMGetProfileInt("VxExport", "MailModal", -7));
    int calls, type, scope, count;
    ICGBrowser* browser;
    typedef void (*StateFn)(int*, int*, int*, int*, ICGBrowser**);
    StateFn state = (StateFn)::GetProcAddress(m.GetEntry(0)->m_hModule, "TestState");
    ASSERT_TRUE(state);
    state(&calls, &type, &scope, &count, &browser);
    EXPECT_EQ(1, calls);
    EXPECT_EQ(5, scope);
    EXPECT_EQ(1, count);
  }
}

TEST(ExportHost, WrappedCallsAndNullArguments) {
  ScopedProfileRoot profile("exporthost");
  PluginFolder dir({"peu_done.peu"});
  CExportPluginManager m;
  ASSERT_EQ(0, m.Load(dir.path.c_str()));
  int mode = 0;
  EXPECT_EQ(0, m.GetFileMode(0, &mode));
  EXPECT_EQ(-2, mode);
  EXPECT_EQ(E_INVALIDARG, m.GetFileMode(0, NULL));
  EXPECT_EQ(E_INVALIDARG, m.GetInfo(0, NULL));
  EXPECT_EQ(E_INVALIDARG, m.SetPrintMode(0, NULL));
  EXPECT_EQ(E_INVALIDARG, m.OpenWindow(0, NULL, (HWND)1, NULL, 0));
  EXPECT_EQ(0, m.GetFilterType(0));
  EXPECT_EQ(0, m.SetCGBrowser(0, NULL));
}

// Every length of text: the size sent is a multiple of 4 that holds the text and its
// terminator, and the receiver reads the whole text back.
TEST(ExportHost, SendCopyDataTextSizes) {
  Recorder target, sender;
  for (int n = 1; n <= 8; ++n) {
    std::string text(n, 'a' + n);
    ASSERT_TRUE(CExportPluginManager::SendCopyDataText(sender.hwnd, target.hwnd, 77, text.c_str()));
    DWORD cb = Recorder::sizes.back();
    EXPECT_EQ(0u, cb % 4) << n;
    EXPECT_GE(cb, (DWORD)n + 1) << n;
    EXPECT_LE(cb, (DWORD)n + 4) << n;
    EXPECT_EQ(text, Recorder::texts.back().second);
  }
  EXPECT_FALSE(CExportPluginManager::SendCopyDataText(sender.hwnd, target.hwnd, 77, ""));
  EXPECT_FALSE(CExportPluginManager::SendCopyDataText(sender.hwnd, target.hwnd, 77, NULL));
  EXPECT_FALSE(CExportPluginManager::SendCopyDataText(NULL, target.hwnd, 77, "x"));
  EXPECT_FALSE(CExportPluginManager::SendCopyDataText(sender.hwnd, NULL, 77, "x"));
  EXPECT_EQ(8u, Recorder::texts.size());
}

TEST(PpcHost, ListsByPriorityAndOpensWindows) {
  PluginFolder dir({"ppc_prio5.ppc", "ppc_prio1.ppc", "ppc_refuse.ppc", "ppc_throw.ppc", "ppc_norecord.ppc"});
  CPpcPluginManager m(dir.path.c_str());
  ASSERT_EQ(3, m.GetCount());
  // Priorities: norecord 0, One 1, Five 5.
  EXPECT_EQ(259, m.GetName(0).GetLength());
  EXPECT_EQ("One", std::string(m.GetName(1)));
  EXPECT_EQ("Five", std::string(m.GetName(2)));
  EXPECT_EQ(7, m.GetKind(2));
  EXPECT_EQ(0, m.GetKind(3));
  EXPECT_EQ(NULL, m.GetModule(3));
  EXPECT_EQ("", std::string(m.GetName(-1)));
  for (const char* gone : {"ppc_refuse.ppc", "ppc_throw.ppc"}) EXPECT_FALSE(IsLoaded(dir.path, gone)) << gone;

  CString r1, r2;
  int list = 0;
  EXPECT_EQ(-1, m.OpenPpcPluginWindow(0, NULL, &list));  // no window record
  EXPECT_EQ(0, m.OpenPpcPluginWindow(1, NULL, &list));   // result 0: no texts
  EXPECT_FALSE(m.GetResultStrings(&r1, &r2));
  EXPECT_TRUE(r1.IsEmpty() && r2.IsEmpty());
  EXPECT_EQ(1, m.OpenPpcPluginWindow(2, NULL, &list));
  EXPECT_TRUE(m.GetResultStrings(&r1, &r2));
  EXPECT_EQ("first result", std::string(r1));
  EXPECT_EQ("second result", std::string(r2));
  typedef void* (*LastListFn)();
  LastListFn last = (LastListFn)::GetProcAddress(m.GetModule(2), "TestLastList");
  ASSERT_TRUE(last);
  EXPECT_EQ(&list, last());
  EXPECT_EQ(0, m.OpenPpcPluginWindow(3, NULL, &list));
  m.Unload();
  EXPECT_FALSE(IsLoaded(dir.path, "ppc_prio5.ppc"));
}

}  // namespace
