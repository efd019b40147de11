// The upload plug-in as the export pane loads it: its exports bound by name.
#include <ExportPluginApi.h>
#include <MainWndMessages.h>
#include <VxResourceIds.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "dialogwatch.h"
#include "files.h"
#include "moviefile.h"
#include "otherwindows.h"
#include "picture.h"
#include "program.h"
#include "pump.h"
#include "tempfolder.h"

namespace {

class Plugin : public testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryA("ExpVideoPostUI.peu");
    ASSERT_TRUE(module);
  }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }
  template <typename T>
  T Bind(const char* name) {
    T p = (T)GetProcAddress(module, name);
    EXPECT_TRUE(p) << name;
    return p;
  }
  HMODULE module = NULL;
};

TEST_F(Plugin, DescribesItsOneTile) {
  int count = 0;
  ASSERT_EQ(0, Bind<PFN_EXPORT_GETNUMOFTYPE>("GetNumOfType")(&count));
  EXPECT_EQ(1, count);

  auto getInfo = Bind<PFN_EXPORT_GETINFO>("GetInfo");
  EXPECT_EQ(E_INVALIDARG, getInfo(0, nullptr));
  CExportPluginInfo info;
  memset(&info, 0x5A, sizeof info);
  CExportPluginInfo untouched = info;
  EXPECT_EQ(0, getInfo(1, &info));
  EXPECT_EQ(0, memcmp(&info, &untouched, sizeof info));
  ASSERT_EQ(0, getInfo(0, &info));
  EXPECT_GT(strlen(info.szName), 0u);
  EXPECT_LT(strlen(info.szName), 260u);
  EXPECT_GT(strlen(info.szDescription), 0u);
  for (HBITMAP h : {info.hbmNormal, info.hbmPressed, info.hbmHover, info.hbmDisabled}) {
    BITMAP bm = {};
    ASSERT_TRUE(GetObjectA(h, sizeof bm, &bm));
    EXPECT_EQ(66, bm.bmWidth);
  }
  EXPECT_EQ(12, info.nOrder);

  int mode = 7;
  EXPECT_EQ(0, Bind<PFN_EXPORT_GETFILEMODE>("GetFileMode")(0, &mode));
  EXPECT_EQ(0, mode);
  EXPECT_EQ(14, Bind<PFN_EXPORT_GETFILTERTYPE>("GetFilterType")(0));

  typedef long(__cdecl * PFN_GETERRORSTRING)(int, int, CString*);
  CString text("left over");
  EXPECT_EQ(E_FAIL, Bind<PFN_GETERRORSTRING>("GetErrorString")(0, 0, &text));
  EXPECT_TRUE(text.IsEmpty());
}

// A type the plug-in does not have is refused without a message, and the pane is told.
TEST_F(Plugin, AnotherTypeIsRefusedAndThePaneToldItIsFree) {
  HWND pane = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
  CGFileInfoList files;
  auto open = Bind<PFN_EXPORT_OPENWINDOW>("OpenWindow");
  EXPECT_EQ(E_FAIL, open(1, pane, NULL, &files, 4));
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, pane, WM_EXPORT_BUSY, WM_EXPORT_BUSY, PM_REMOVE));
  DestroyWindow(pane);
}

// A run against the real uploader (the shipped settings: it shows the clip and sends
// nothing). The clip's companions are named after it in the temporary folder.
class Run : public Plugin {
 protected:
  void SetUp() override {
    Plugin::SetUp();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    tempDir = temp;
    base = "glimora-upload-" + std::to_string(GetCurrentProcessId());
    clip = tempDir + base + "-src\\" + base + ".mov";
    ASSERT_TRUE(testsupport::WriteWholeFile(clip, moviefile::Clip().Build()));
    CGFILEINFO info;
    info.path = clip.c_str();
    files.AddTail(info);
    pane = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
  }
  void TearDown() override {
    DestroyWindow(pane);
    DeleteFileA(clip.c_str());
    RemoveDirectoryA((tempDir + base + "-src").c_str());
    Plugin::TearDown();
  }
  bool Written() { return Exists(tempDir + base + ".cont") && Exists(tempDir + base + ".tmb"); }
  bool Gone() { return !Exists(tempDir + base + ".cont") && !Exists(tempDir + base + ".tmb"); }
  static bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }
  // The uploader this program's plug-in started (another program's of the class is not it).
  static HWND UploaderWindow() {
    std::vector<HWND> windows = testsupport::WindowsOfChildren("VideoPostUploader");
    return windows.empty() ? NULL : windows.front();
  }
  bool PaneToldFree() {
    MSG msg;
    return PeekMessageA(&msg, pane, WM_EXPORT_BUSY, WM_EXPORT_BUSY, PM_REMOVE) != 0;
  }
  std::string tempDir, base, clip;
  CGFileInfoList files;
  HWND pane = NULL;
};

// The uploader's message goes to a window of another thread, so the run waits with its
// progress window up until the uploader ends; then its files go.
TEST_F(Run, ProgressWindowStaysUntilTheUploaderEndsThenTheFilesGo) {
  HWND main = NULL;
  HANDLE ready = CreateEventA(NULL, TRUE, FALSE, NULL);
  DWORD mainThread = 0;
  std::thread owner([&] {
    main = CreateWindowA("STATIC", "main", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    mainThread = GetCurrentThreadId();
    SetEvent(ready);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(main);
  });
  WaitForSingleObject(ready, INFINITE);
  CloseHandle(ready);

  bool writtenWhileShown = false, centred = false;
  testsupport::DialogWatch watch(
      NULL, [](HWND box) { return IsWindowVisible(box) && UploaderWindow() != NULL; },
      [&](HWND box) {
        writtenWhileShown = Written();
        RECT rc;
        GetWindowRect(box, &rc);
        int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        centred = abs((rc.left + rc.right) / 2 - cx / 2) <= 1 && abs((rc.top + rc.bottom) / 2 - cy / 2) <= 1;
        testsupport::Picture().Save("videopost_upload_progress");
        PostMessageA(UploaderWindow(), WM_CLOSE, 0, 0);
      },
      15000);
  DWORD start = GetTickCount();
  EXPECT_EQ(0, Bind<PFN_EXPORT_OPENWINDOW>("OpenWindow")(0, pane, main, &files, 4));
  EXPECT_LT(GetTickCount() - start, 15000u);  // not the whole wait: the uploader had ended
  watch.Stop();
  EXPECT_TRUE(watch.Acted());
  EXPECT_TRUE(writtenWhileShown);
  EXPECT_TRUE(centred);
  EXPECT_TRUE(PaneToldFree());
  EXPECT_TRUE(testsupport::WaitUntil([&] { return Gone(); }, 10000));
  PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
  owner.join();
}

// An uploader that runs but never reports: the run gives up after about twenty seconds,
// counted as started (the uploader keeps the plug-in busy until it ends).
TEST_F(Run, AnUploaderThatNeverReportsIsGivenUpOn) {
  HWND main = NULL;
  DWORD mainThread = 0;
  HANDLE ready = CreateEventA(NULL, TRUE, FALSE, NULL);
  std::thread owner([&] {  // takes the uploader's message away from the waiting thread
    main = CreateWindowA("STATIC", "main", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    mainThread = GetCurrentThreadId();
    SetEvent(ready);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(main);
  });
  WaitForSingleObject(ready, INFINITE);
  CloseHandle(ready);
  // A window of the waiting thread, spoilt during the wait, paints before the wait ends.
  static DWORD painted;
  painted = 0;
  WNDCLASSA wc = {};
  wc.lpszClassName = "GlimoraUploadPaint";
  wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    if (msg == WM_PAINT) painted = GetTickCount();
    return DefWindowProcA(h, msg, w, l);
  };
  RegisterClassA(&wc);
  HWND spoilt = CreateWindowA(wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, NULL, NULL, NULL, NULL);
  ASSERT_TRUE(spoilt);
  UpdateWindow(spoilt);
  painted = 0;
  std::thread spoiler([spoilt] {
    Sleep(3000);
    InvalidateRect(spoilt, NULL, TRUE);
  });
  DWORD start = GetTickCount();
  EXPECT_EQ(0, Bind<PFN_EXPORT_OPENWINDOW>("OpenWindow")(0, pane, main, &files, 4));
  const DWORD end = GetTickCount(), took = end - start;
  spoiler.join();
  EXPECT_GE(took, 19000u);
  EXPECT_LT(took, 30000u);
  EXPECT_NE(0u, painted) << "no paint came through during the wait";
  EXPECT_LT(painted - start, took - 1000) << "the paint waited for the end of the wait";
  DestroyWindow(spoilt);
  UnregisterClassA(wc.lpszClassName, NULL);
  EXPECT_TRUE(PaneToldFree());
  ASSERT_TRUE(UploaderWindow());
  EXPECT_TRUE(Written());
  PostMessageA(UploaderWindow(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return Gone(); }, 10000));
  PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
  owner.join();
}

// A refused run shows its reason in a message box and tells the pane it is free; a scene
// without its stream fails with the general message and starts nothing.
TEST_F(Run, RefusalsAreShownAndThePaneToldFree) {
  HMODULE res = LoadLibraryExA("VxResource.dll", NULL, LOAD_LIBRARY_AS_DATAFILE);
  auto text = [res](UINT id) {
    char buf[1024] = "";
    LoadStringA(res, id, buf, sizeof buf);
    return std::string(buf);
  };
  std::string scene = tempDir + base + "-src\\00001.cont";
  ASSERT_TRUE(testsupport::WriteWholeFile(scene, "[Content]\r\nFormat=1\r\nMembers=00001.m2ts\r\n"));
  // A kind the support test takes but no clip: nothing to upload.
  std::string other = tempDir + base + "-src\\other.avi";
  ASSERT_TRUE(testsupport::WriteWholeFile(other, "RIFF not a clip"));
  CGFileInfoList none, sceneOnly, noClip;
  CGFILEINFO info;
  info.path = scene.c_str();
  sceneOnly.AddTail(info);
  info.path = other.c_str();
  noClip.AddTail(info);
  struct Case {
    const char* what;
    CGFileInfoList* list;
    UINT message;
  } cases[] = {
      {"no files", &none, IDS_EXPORT_NOT_SELECTED},
      {"a scene without its stream", &sceneOnly, IDS_UPLOAD_FAILED},
      {"no clip among the files", &noClip, IDS_UPLOAD_NO_CLIP},
  };
  HWND main = CreateWindowA("STATIC", "main", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
  for (const Case& c : cases) {
    std::string shown;
    testsupport::DialogWatch box(
        text(IDS_UPLOAD_NAME).c_str(), [](HWND b) { return GetDlgItem(b, 0xFFFF) != NULL; },
        [&](HWND b) {
          char buf[1024] = "";
          GetDlgItemTextA(b, 0xFFFF, buf, sizeof buf);
          shown = buf;
          PostMessageA(b, WM_COMMAND, IDOK, 0);
        });
    EXPECT_TRUE(FAILED(Bind<PFN_EXPORT_OPENWINDOW>("OpenWindow")(0, pane, main, c.list, 4))) << c.what;
    box.Stop();
    EXPECT_EQ(text(c.message), shown) << c.what;
    EXPECT_TRUE(PaneToldFree()) << c.what;
    EXPECT_FALSE(UploaderWindow()) << c.what;
  }
  DestroyWindow(main);
  FreeLibrary(res);
  DeleteFileA(scene.c_str());
  DeleteFileA(other.c_str());
}

// While the uploader runs a second run is refused and writes nothing; unloading the
// plug-in leaves the running uploader's files and code alone until it ends.
TEST_F(Run, BusyWhileTheUploaderRunsAndUnloadingWaitsForIt) {
  HWND main = CreateWindowA("STATIC", "main", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
  auto open = Bind<PFN_EXPORT_OPENWINDOW>("OpenWindow");
  ASSERT_EQ(0, open(0, pane, main, &files, 4));
  EXPECT_TRUE(PaneToldFree());
  ASSERT_TRUE(testsupport::WaitUntil([] { return UploaderWindow() != NULL; }, 10000));
  EXPECT_TRUE(Written());

  HMODULE res = LoadLibraryExA("VxResource.dll", NULL, LOAD_LIBRARY_AS_DATAFILE);
  char caption[260] = "";
  LoadStringA(res, IDS_UPLOAD_NAME, caption, sizeof caption);
  FreeLibrary(res);
  testsupport::DialogWatch busy(
      caption, [](HWND) { return true; }, [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
  EXPECT_EQ(E_FAIL, open(0, pane, main, &files, 4));
  busy.Stop();
  EXPECT_TRUE(busy.Acted());
  EXPECT_TRUE(PaneToldFree());
  std::string second = tempDir + base + "_*.tmb";
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA(second.c_str(), &fd);
  EXPECT_EQ(INVALID_HANDLE_VALUE, find) << "a second run wrote " << fd.cFileName;
  if (find != INVALID_HANDLE_VALUE) FindClose(find);

  FreeLibrary(module);
  module = NULL;
  EXPECT_TRUE(GetModuleHandleA("ExpVideoPostUI.peu")) << "the launch thread holds the plug-in";
  EXPECT_TRUE(Written());
  PostMessageA(UploaderWindow(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return Gone() && !GetModuleHandleA("ExpVideoPostUI.peu"); }, 10000));
  DestroyWindow(main);
}

// ---- Runs that fail ------------------------------------------------------------------------

// The resource library's text of a string.
std::string Text(UINT id) {
  HMODULE res = LoadLibraryExA("VxResource.dll", NULL, LOAD_LIBRARY_AS_DATAFILE);
  char buf[1024] = "";
  LoadStringA(res, id, buf, sizeof buf);
  FreeLibrary(res);
  return buf;
}

// What a failed run showed: the run's own box (its text), and any other message box,
// closed.
struct Shown {
  std::string ours;
  std::string others;
};

// Runs OpenWindow on the files while the boxes it shows are answered.
long RunAnswering(PFN_EXPORT_OPENWINDOW open, HWND pane, HWND main, CGFileInfoList* files, Shown* shown) {
  const std::string caption = Text(IDS_UPLOAD_NAME);
  testsupport::DialogWatch ours(
      caption.c_str(), [](HWND b) { return GetDlgItem(b, 0xFFFF) != NULL; },
      [&](HWND b) {
        char buf[1024] = "";
        GetDlgItemTextA(b, 0xFFFF, buf, sizeof buf);
        shown->ours = buf;
        PostMessageA(b, WM_COMMAND, IDOK, 0);
      },
      30000);
  testsupport::DialogWatch other(
      NULL,
      [caption](HWND b) {
        char text[256] = "";
        GetWindowTextA(b, text, sizeof text);
        return IsWindowVisible(b) && GetDlgItem(b, 0xFFFF) != NULL && caption != text;  // a message box
      },
      [&](HWND b) {
        char text[256] = "";
        GetWindowTextA(b, text, sizeof text);
        shown->others = text[0] ? text : "(a box without a caption)";
        PostMessageA(b, WM_CLOSE, 0, 0);
      },
      30000);
  return open(0, pane, main, files, 4);
}

// A temporary folder that is missing, or full: the run fails with the general message,
// starts nothing and leaves nothing behind.
TEST_F(Run, AMissingOrFullTemporaryFolderFailsTheRun) {
  char oldTmp[MAX_PATH] = "";
  const bool hadTmp = GetEnvironmentVariableA("TMP", oldTmp, sizeof oldTmp) != 0;
  const std::string scratch = testsupport::NewTempFolder("vptmp");
  // The small disk that CTest mounts (smalldisks.sh), filled up.
  std::string full;
  ULARGE_INTEGER avail, total, freeBytes;
  if (GetDiskFreeSpaceExA("C:\\glimora-full", &avail, &total, &freeBytes) && total.QuadPart <= (8u << 20)) {
    full = "C:\\glimora-full\\vp" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(full.c_str(), NULL);
    HANDLE filler = CreateFileA((full + "\\filler").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    std::string block(4096, 'x');
    DWORD put = 0;
    while (WriteFile(filler, block.data(), (DWORD)block.size(), &put, NULL) && put == block.size()) {
    }
    while (WriteFile(filler, block.data(), 1, &put, NULL) && put == 1) {
    }
    CloseHandle(filler);
  }
  struct Case {
    const char* what;
    std::string folder;
  } cases[] = {{"missing", scratch + "\\missing"}, {"full", full}};
  HWND main = CreateWindowA("STATIC", "main", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
  for (const Case& c : cases) {
    if (c.folder.empty()) {
      ADD_FAILURE() << "C:\\glimora-full is not a small mounted disk (smalldisks.sh mounts it as root)";
      continue;
    }
    SetEnvironmentVariableA("TMP", c.folder.c_str());
    Shown shown;
    long hr = RunAnswering(Bind<PFN_EXPORT_OPENWINDOW>("OpenWindow"), pane, main, &files, &shown);
    SetEnvironmentVariableA("TMP", hadTmp ? oldTmp : NULL);
    EXPECT_TRUE(FAILED(hr)) << c.what;
    EXPECT_EQ(Text(IDS_UPLOAD_FAILED), shown.ours) << c.what;
    EXPECT_EQ("", shown.others) << c.what;
    EXPECT_TRUE(PaneToldFree()) << c.what;
    EXPECT_FALSE(UploaderWindow()) << c.what;
  }
  // Unloaded, the plug-in leaves nothing of the failed runs.
  FreeLibrary(module);
  module = NULL;
  if (!full.empty()) {
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((full + "\\*.*").c_str(), &fd);
    std::string left;
    if (find != INVALID_HANDLE_VALUE) {
      do {
        if (strcmp(fd.cFileName, ".") && strcmp(fd.cFileName, "..") && strcmp(fd.cFileName, "filler"))
          left += std::string(fd.cFileName) + " ";
      } while (FindNextFileA(find, &fd));
      FindClose(find);
    }
    EXPECT_EQ("", left);
    testsupport::RemoveTree(full);
  }
  DestroyWindow(main);
  testsupport::RemoveTree(scratch);
}

// A program folder of the test's own: the built program's libraries and this test, with
// the uploader left out or replaced by one that crashes.
class OwnProgramFolder {
 public:
  explicit OwnProgramFolder(const std::string& uploader) {
    root = testsupport::NewTempFolder("vpprog");
    const std::string from = testsupport::ProgramFolder();
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((from + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = fd.cFileName;
        const size_t dot = name.rfind('.');
        const std::string ext = dot == std::string::npos ? "" : name.substr(dot);
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            (_stricmp(ext.c_str(), ".dll") == 0 || _stricmp(ext.c_str(), ".peu") == 0))
          Place(from + "\\" + name, root + "\\" + name);
      } while (FindNextFileA(find, &fd));
      FindClose(find);
    }
    Place(testsupport::ProgramPath(), root + "\\videopost_tests.exe");
    CreateDirectoryA((root + "\\Core").c_str(), NULL);
    CreateDirectoryA((root + "\\Core\\ScoreHall").c_str(), NULL);
    Place(from + "\\Core\\ScoreHall\\ClipFacts.dll", root + "\\Core\\ScoreHall\\ClipFacts.dll");
    Place(from + "\\Core\\VideoPostUploader.ini", root + "\\Core\\VideoPostUploader.ini");
    if (!uploader.empty()) Place(uploader, root + "\\Core\\VideoPostUploader.exe");
  }
  ~OwnProgramFolder() { testsupport::RemoveTree(root); }
  // Runs one test of this program from the folder; its exit code.
  DWORD RunTest(const std::string& test) {
    HANDLE p = testsupport::StartProgram(
        "\"" + root + "\\videopost_tests.exe\" --gtest_color=no --gtest_also_run_disabled_tests --gtest_filter=" + test,
        root);
    return testsupport::WaitForExit(p, 120000);
  }
  std::string root;

 private:
  static void Place(const std::string& from, const std::string& to) {
    if (!CreateHardLinkA(to.c_str(), from.c_str(), NULL)) CopyFileA(from.c_str(), to.c_str(), FALSE);
  }
};

// An uploader that is missing, or that crashes before it reports: the run fails at once
// with the general message (and no box of the system's), the pane is told, the run's files
// go, and the plug-in is free for the next run. Each runs in a program of its own folder.
TEST(UploaderFails, MissingOrCrashingFailsTheRunAtOnce) {
  const std::string crashing = testsupport::ProgramFolder() + "\\videopost_crashing_uploader.exe";
  struct Case {
    const char* what;
    std::string uploader;
  } cases[] = {{"missing", ""}, {"crashing", crashing}};
  for (const Case& c : cases) {
    OwnProgramFolder folder(c.uploader);
    SetEnvironmentVariableA("GLIMORA_UPLOADER_CASE", c.what);
    EXPECT_EQ(0u, folder.RunTest("Run.DISABLED_FailedUploaderInItsOwnFolder")) << c.what;
    SetEnvironmentVariableA("GLIMORA_UPLOADER_CASE", NULL);
  }
}

// The part of the test above that runs in the program of its own folder (disabled: not a
// test of its own).
TEST_F(Run, DISABLED_FailedUploaderInItsOwnFolder) {
  char what[32] = "";
  ASSERT_TRUE(GetEnvironmentVariableA("GLIMORA_UPLOADER_CASE", what, sizeof what))
      << "runs only from UploaderFails.MissingOrCrashingFailsTheRunAtOnce";
  HWND main = CreateWindowA("STATIC", "main", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
  auto open = Bind<PFN_EXPORT_OPENWINDOW>("OpenWindow");
  for (int round = 0; round < 2; ++round) {  // the second: not refused as busy
    Shown shown;
    const DWORD start = GetTickCount();
    long hr = RunAnswering(open, pane, main, &files, &shown);
    EXPECT_TRUE(FAILED(hr)) << what << " " << round;
    EXPECT_LT(GetTickCount() - start, 15000u) << what << " " << round;
    EXPECT_EQ(Text(IDS_UPLOAD_FAILED), shown.ours) << what << " " << round;
    EXPECT_EQ("", shown.others) << what << " " << round;
    EXPECT_TRUE(PaneToldFree()) << what << " " << round;
  }
  FreeLibrary(module);
  module = NULL;
  EXPECT_TRUE(testsupport::WaitUntil([&] { return Gone(); }, 10000)) << what;
  DestroyWindow(main);
}

}  // namespace
