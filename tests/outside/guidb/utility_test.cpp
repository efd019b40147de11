// VxGUIDB's utilities: modules by name and their strings, the resource library, bitmaps,
// file identity, path checks, registry sections, the worker-thread base.
#include <VxGUIDB.h>
#include <gtest/gtest.h>

#include <atomic>

#include <profileroot.h>

#include "guidb_fixtures.h"

using namespace guidbtest;

namespace {

// The test resource library stands in for VxResource.dll.
HINSTANCE TestResources() {
  static HINSTANCE h = LoadLibraryA((testsupport::ProgramFolder() + "\\guidb_testres.dll").c_str());
  return h;
}

TEST(DllLoaderTest, CardPluginStringsWithFallback) {
  ASSERT_NE(nullptr, TestResources());
  VxSetResourceLibrary(TestResources());
  CDllLoader card("guidb_testcard.psp");
  ASSERT_TRUE(card.IsLoaded());
  EXPECT_EQ(nullptr, card.GetProcAddress("GuidbTestModule"));  // loaded for its resources only
  char buf[64];
  EXPECT_EQ(8, card.LoadStringA(40280, buf, sizeof(buf)));
  EXPECT_STREQ("SD_Audio", buf);
  EXPECT_EQ(8, card.LoadStringA(40279, buf, sizeof(buf)));
  EXPECT_STREQ("SD_Voice", buf);
  // At most 63 characters, never half a double-byte character.
  int n = card.LoadStringA(40290, buf, sizeof(buf));
  EXPECT_EQ(62, n);
  EXPECT_EQ(0, n % 2);
  // What the plug-in lacks comes from the resource library; neither: nothing.
  CString s;
  EXPECT_TRUE(card.LoadStringA(40281, s));
  EXPECT_STREQ("ライブラリ側の文字列", s);
  EXPECT_EQ(0, card.LoadStringA(40999, buf, sizeof(buf)));
  EXPECT_STREQ("", buf);

  CDllLoader missing("no_such_module.psp");
  EXPECT_FALSE(missing.IsLoaded());
  EXPECT_EQ(0, missing.LoadStringA(40280, buf, sizeof(buf)));

  // A module in the process already is shared and its exports found.
  CDllLoader self("VxGUIDB.dll", TRUE);
  ASSERT_TRUE(self.IsLoaded());
  EXPECT_NE(nullptr, self.GetProcAddress("VxGUIDBInitialize"));
  CDllLoader code("guidb_testcard.psp", TRUE);
  ASSERT_TRUE(code.IsLoaded());
  EXPECT_NE(nullptr, code.GetProcAddress("GuidbTestModule"));
}

TEST(DllLoaderTest, TheProgramFoldersResourceLibraryAnswersForPluginsWithoutTexts) {
  VxSetResourceLibrary(nullptr);  // found again: VxResource.dll beside the program
  HINSTANCE lib = VxGetResourceLibrary();
  ASSERT_NE(nullptr, lib);
  EXPECT_EQ(GetModuleHandleA("VxResource.dll"), lib);
  CDllLoader plugin("guidb_testres.dll");
  char buf[64];
  EXPECT_GT(plugin.LoadStringA(40280, buf, sizeof(buf)), 0);
  EXPECT_STREQ("SD オーディオ", buf);
  EXPECT_GT(plugin.LoadStringA(40279, buf, sizeof(buf)), 0);
  EXPECT_STREQ("SD ボイス", buf);
  VxSetResourceLibrary(TestResources());
}

TEST(ResourceTest, StringsFormatsAndTheCurrentModule) {
  ASSERT_NE(nullptr, TestResources());
  VxSetResourceLibrary(TestResources());
  CResourceLoader loader;
  CString s;
  ASSERT_TRUE(loader.LoadStringA(50001, s));
  EXPECT_STREQ("リソースの文字列", s);
  EXPECT_STREQ("12 件の写真（旅行）", loader.Format(50002, 12, "旅行"));
  EXPECT_FALSE(loader.LoadStringA(59999, s));
  EXPECT_TRUE(s.IsEmpty());

  HINSTANCE before = AfxGetResourceHandle();
  {
    CResourceChanger outer;
    EXPECT_TRUE(outer.IsChanged());
    EXPECT_EQ(TestResources(), AfxGetResourceHandle());
    {
      CResourceChanger inner;  // already current: nothing to change or restore
      EXPECT_FALSE(inner.IsChanged());
    }
    EXPECT_EQ(TestResources(), AfxGetResourceHandle());
  }
  EXPECT_EQ(before, AfxGetResourceHandle());
}

TEST(ResourceTest, BitmapContainer) {
  VxSetResourceLibrary(TestResources());
  CBitmapResourceContainer box;
  EXPECT_TRUE(box.IsEmpty());
  const UINT ids[] = {100, 9999, 100};
  EXPECT_EQ(2, box.Load(ids, 3));
  EXPECT_FALSE(box.IsEmpty());
  EXPECT_EQ(3, box.GetCount());
  EXPECT_EQ(12, box.GetWidth(0));
  EXPECT_EQ(8, box.GetHeight(2));
  EXPECT_EQ(nullptr, box.GetBitmap(1));
  EXPECT_EQ(0, box.GetWidth(7));

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 40, 40);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas);
  RECT all = {0, 0, 40, 40};
  FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
  ASSERT_TRUE(box.Draw(dc, 0, 5, 5));
  EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 6, 6));
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 20, 20));
  RECT big = {0, 20, 40, 40};
  ASSERT_TRUE(box.StretchDraw(dc, 2, big));
  EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 35, 35));
  EXPECT_FALSE(box.Draw(dc, 1, 0, 0));
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
  box.Clear();
  EXPECT_TRUE(box.IsEmpty());
}

TEST(FileTimeTest, IdentityOfFiles) {
  std::string d = ScratchDir("ident");
  CopyFixture("plain.jpg", d + "\\a.jpg");
  CopyFixture("plain.jpg", d + "\\b.jpg");
  CFileTime a1, a2, b, none;
  ASSERT_EQ(S_OK, a1.Extract((d + "\\a.jpg").c_str()));
  ASSERT_EQ(S_OK, a2.Extract((d + "\\A.JPG").c_str()));
  ASSERT_EQ(S_OK, b.Extract((d + "\\b.jpg").c_str()));
  EXPECT_TRUE(a1 == a2);
  EXPECT_FALSE(a1 == b);
  EXPECT_TRUE(none.IsEmpty());
  EXPECT_FALSE(a1 == none);
  SetWriteTime(d + "\\a.jpg", 2011, 1, 2);
  CFileTime touched;
  touched.Extract((d + "\\a.jpg").c_str());
  EXPECT_FALSE(a1 == touched);
  EXPECT_LT(touched.Extract((d + "\\gone.jpg").c_str()), 0);
  EXPECT_TRUE(touched.IsEmpty());
  EXPECT_EQ(E_INVALIDARG, touched.Extract(static_cast<LPCSTR>(nullptr)));
  CThumbnail t((d + "\\b.jpg").c_str());
  CFileTime fromItem;
  ASSERT_EQ(S_OK, fromItem.Extract(&t));
  EXPECT_TRUE(fromItem == b);
}

TEST(IsValidPathTest, FilesFoldersAndNonsense) {
  std::string d = ScratchDir("valid");
  CopyFixture("plain.jpg", d + "\\x.jpg");
  struct {
    std::string path;
    BOOL valid;
  } cases[] = {{d + "\\x.jpg", TRUE},  {d, TRUE},         {d + "\\", TRUE},        {"C:\\", TRUE},
               {"C:", TRUE},           {d + "\\y.jpg", FALSE}, {d + "\\*.jpg", FALSE}, {"", FALSE},
               {std::string(300, 'a'), FALSE}};
  for (auto& c : cases) EXPECT_EQ(c.valid, IsValidPath(c.path.c_str())) << c.path;
  EXPECT_FALSE(IsValidPath(nullptr));
  WIN32_FIND_DATAA fd;
  ASSERT_TRUE(IsValidPath((d + "\\x.jpg").c_str(), &fd));
  EXPECT_STREQ("x.jpg", fd.cFileName);
  ASSERT_TRUE(IsValidPath((d + "\\").c_str(), &fd));
  EXPECT_TRUE(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(RegistryTest, SectionsOfTheProgramRoot) {
  testsupport::ScopedProfileRoot profile("guidb");
  const std::string& root = profile.key();
  EXPECT_EQ(root + "\\Marlo5", std::string((LPCSTR)CMarloRegManager::GetRootPath()));
  {
    CMarloRegManager w("ExeState");
    ASSERT_TRUE(w.IsOpen());
    EXPECT_TRUE(w.Write("VxDepthViewer_Created", DWORD(1)));
    EXPECT_TRUE(w.Write("Name", "表示"));
  }
  {
    CMarloRegManager r("ExeState", KEY_READ);
    ASSERT_TRUE(r.IsOpen());
    EXPECT_EQ(1, r.GetInt("VxDepthViewer_Created", 0));
    EXPECT_STREQ("表示", r.GetString("Name"));
    EXPECT_EQ(7, r.GetInt("Missing", 7));
    EXPECT_STREQ("def", r.GetString("Missing", "def"));
    DWORD v = 99;
    EXPECT_FALSE(r.Read("Name", v));  // a text is not a number
    EXPECT_EQ(99u, v);
    EXPECT_FALSE(r.Write("Other", DWORD(2)));  // read access only
  }
  CMarloRegManager missing("NoSuchSection", KEY_READ);
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_EQ(3, missing.GetInt("x", 3));
  CRegManager raw(HKEY_CURRENT_USER, (root + "\\Marlo5\\ExeState").c_str());
  EXPECT_TRUE(raw.DeleteValue("Name"));
  EXPECT_FALSE(raw.DeleteValue("Name"));
  raw.Close();
}

// A worker that counts until it is told to stop; optionally sends to a window first.
class Counter : public CVxThread {
 public:
  Counter() : CVxThread(nullptr) {}
  std::atomic<int> n{0};
  HWND sendTo = nullptr;

 protected:
  DWORD Run() override {
    if (sendTo) SendMessageA(sendTo, WM_USER + 5, 0, 0);
    while (!IsAbort()) {
      ++n;
      Sleep(1);
    }
    return 17;
  }
};

TEST(VxThreadTest, StartsEndsAndDoesNotDeadlockOnSends) {
  Counter c;
  EXPECT_FALSE(c.IsActive());
  ASSERT_TRUE(c.BeginThread(THREAD_PRIORITY_IDLE));
  EXPECT_TRUE(c.IsActive());
  EXPECT_FALSE(c.BeginThread());  // running already
  while (c.n < 3) Sleep(1);
  EXPECT_TRUE(c.SetPriority(THREAD_PRIORITY_LOWEST));
  EXPECT_TRUE(c.EndThread(5000));
  EXPECT_FALSE(c.IsActive());
  EXPECT_TRUE(c.IsAbort());
  EXPECT_EQ(17u, c.GetExitCode());
  ASSERT_TRUE(c.BeginThread());  // again, after it ended
  EXPECT_FALSE(c.IsAbort());
  c.Abort();
  EXPECT_TRUE(c.EndThread(5000));

  // The worker sends to a window of the thread that waits for it.
  HWND wnd = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, wnd);
  Counter sender;
  sender.sendTo = wnd;
  ASSERT_TRUE(sender.BeginThread());
  Sleep(20);
  EXPECT_TRUE(sender.EndThread(5000));
  DestroyWindow(wnd);
}

}  // namespace
