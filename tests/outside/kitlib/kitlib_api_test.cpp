// Kitlib2's interface as the callers use it: profile, texts, file lists, sorting, progress.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>

#include <string>

#include <program.h>

#include "profile_core.h"
#include "test_folder.h"
#include "test_profile_root.h"

namespace {

std::string S(const CString& s) { return std::string(static_cast<LPCSTR>(s), s.GetLength()); }

TEST(Profile, DefaultsThenRoundTripsInBothRoots) {
  TestProfileRoot root;
  EXPECT_EQ(CMGetProfileInt("Settings", "AutoRun", 3, 1), 3);
  EXPECT_EQ(S(CMGetProfileString("Settings", "Mutex", "Norvane Marlo5 Application Mutex")),
            "Norvane Marlo5 Application Mutex");
  EXPECT_EQ(S(CMGetProfileString("Settings", "Mutex")), "");

  EXPECT_TRUE(CMWriteProfileInt("Settings", "AutoRun", 0, 0, 1));
  EXPECT_TRUE(CMWriteProfileInt("CardTree\\Settings", "TreeType", 0x2000101, 1, 0));
  EXPECT_TRUE(CMWriteProfileString("CardTree", "CardDrive", "E"));
  EXPECT_EQ(CMGetProfileInt("Settings", "AutoRun", 3, 1), 0);
  EXPECT_EQ(CMGetProfileInt("Settings", "AutoRun", 3, 0), 3);  // the program root has none
  EXPECT_EQ(CMGetProfileInt("CardTree\\Settings", "TreeType", 0), 0x2000101);
  EXPECT_EQ(S(CMGetProfileString("CardTree", "CardDrive", "")), "E");

  // The values sit where other programs look for them.
  int v = 0;
  EXPECT_TRUE(kitlib::RegReadInt(HKEY_CURRENT_USER, root.common() + "\\Settings", "AutoRun", &v));
  EXPECT_TRUE(kitlib::RegReadInt(HKEY_CURRENT_USER, root.program() + "\\CardTree\\Settings", "TreeType", &v));

  // An empty section is the root itself.
  EXPECT_TRUE(CMWriteProfileString("", "FirstPath", "C:\\\x95\x5C\\a.jpg"));
  EXPECT_EQ(S(CMGetProfileString("", "FirstPath")), "C:\\\x95\x5C\\a.jpg");
  EXPECT_EQ(S(CMGetKeyPosition()), root.program());
}

TEST(Profile, RemoveAndNullTextRemove) {
  TestProfileRoot root;
  CMWriteProfileInt("DepthViewer", "SelectFlag", 1);
  EXPECT_TRUE(CMRemoveProfileKey("DepthViewer", "SelectFlag"));
  EXPECT_EQ(CMGetProfileInt("DepthViewer", "SelectFlag", -7), -7);
  EXPECT_FALSE(CMRemoveProfileKey("DepthViewer", "SelectFlag"));
  CMWriteProfileString("DepthViewer", "SelectFilePath", "x");
  EXPECT_TRUE(CMWriteProfileString("DepthViewer", "SelectFilePath", nullptr));
  EXPECT_EQ(S(CMGetProfileString("DepthViewer", "SelectFilePath", "gone")), "gone");
}

TEST(Profile, ExplicitRootsAndTheInstallersCopy) {
  TestProfileRoot root;
  std::string explicitRoot = root.vendor() + "\\Explicit";
  kitlib::RegWriteString(HKEY_CURRENT_USER, explicitRoot + "\\CardTree", "BackupFolder", "D:\\Backup");
  EXPECT_EQ(S(CMGetProfileStringEx(explicitRoot.c_str(), "CardTree", "BackupFolder", "")), "D:\\Backup");
  EXPECT_EQ(S(CMGetProfileStringEx(explicitRoot.c_str(), "CardTree", "Missing", "def")), "def");

  // What the installer left under HKLM becomes the user's profile.
  ASSERT_TRUE(kitlib::RegWriteInt(HKEY_LOCAL_MACHINE, root.program() + "\\Common", "InstallGmrCount", 4, false));
  ASSERT_TRUE(kitlib::RegWriteString(HKEY_LOCAL_MACHINE, root.program() + "\\ProductInfo", "WindowTitle", "T"));
  EXPECT_EQ(S(CMGetProfileStringEx(root.program().c_str(), "ProductInfo", "WindowTitle", "", 1)), "T");
  EXPECT_TRUE(CMCopyProfileHklmToHkcu());
  EXPECT_EQ(CMGetProfileInt("Common", "InstallGmrCount", 0), 4);
  EXPECT_EQ(S(CMGetProfileString("ProductInfo", "WindowTitle")), "T");
}

// kitenv.ini moves the program root: checked in a copy of this program in a folder of
// its own, so the shared program folder never holds such a file.
TEST(Profile, KitenvIniInTheProgramFolderMovesTheRoot) {
  std::string exeDir = S(CMTLGetExeDir());
  TestFolder folder("kitenv");
  const std::string& dir = folder.path();
  for (const char* f : {"kitlib_tests.exe", "Kitlib2.dll", "KitlibEx.dll", "GlimFW.dll", "moviekit.dll"})
    ASSERT_TRUE(CopyFileA((exeDir + "\\" + f).c_str(), (dir + "\\" + f).c_str(), FALSE)) << f;
  std::string moved = "Software\\GlimoraTest\\kitenv-" + std::to_string(GetCurrentProcessId());
  WritePrivateProfileStringA("RegistryKey", "Position", moved.c_str(), (dir + "\\kitenv.ini").c_str());

  std::string out = dir + "\\out.txt";
  std::string cmd = "\"" + dir + "\\kitlib_tests.exe\" --kitenv-child \"" + out + "\"";
  char saved[512] = {};
  DWORD had = GetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", saved, sizeof(saved));
  SetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", nullptr);  // the child sees the real rules
  HANDLE child = testsupport::StartProgram(cmd, dir);
  if (had) SetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", saved);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(testsupport::WaitForExit(child, 30000), 0u);

  char buf[512] = {};
  GetPrivateProfileStringA("child", "position", "", buf, sizeof(buf), out.c_str());
  EXPECT_EQ(std::string(buf), moved);
  int v = 0;
  EXPECT_TRUE(kitlib::RegReadInt(HKEY_CURRENT_USER, moved + "\\Child", "Written", &v));
  EXPECT_EQ(v, 77);

  kitlib::RegDeleteKeyTree(HKEY_CURRENT_USER, moved);
}

TEST(Texts, PathsNamesAndStrings) {
  EXPECT_EQ(S(CMTLGetDirectory("C:\\\x95\x5C\\a.jpg")), "C:\\\x95\x5C");
  EXPECT_EQ(S(CMTLGetFileName("C:\\\x95\x5C\\a.jpg")), "a.jpg");
  EXPECT_EQ(S(CMTLGetDirectory(nullptr)), "");
  EXPECT_EQ(S(CMTLMbcsToMbcs("c:/\x82\x81\x83\x61")), "C:\\\x82\x60\x83\x61");
  EXPECT_EQ(S(CMTLGetAppName()), "Glimora");
  EXPECT_EQ(S(CMTLGetAppVersionName(0)), "Glimora");
  EXPECT_NE(S(CMTLGetAppVersionName(1)), "Glimora");
  std::string exe = S(CMTLGetExeDir());
  EXPECT_NE(GetFileAttributesA((exe + "\\kitlib_tests.exe").c_str()), INVALID_FILE_ATTRIBUTES);

  HMODULE res = LoadLibraryExA((exe + "\\smoke_res.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(res);
  EXPECT_EQ(S(CMTLLoadString(res, 101)), "There is no VxResource.dll.");
  EXPECT_EQ(S(CMTLLoadString(res, 100)), "フォルダを選択してください");
  EXPECT_EQ(S(CMTLLoadString(res, 4242)), "");
  FreeLibrary(res);
}

TEST(System, AnswersOfAWindows7LikeSystem) {
  EXPECT_FALSE(CMTLIsWin98(-1, -1, -1));
  EXPECT_FALSE(CMTLIsWin2000(5, 1, -1));
  int sys = -1, gdi = -1, user = -1;
  int least = CMTLGetFreeResource(&sys, &gdi, &user);
  EXPECT_GE(least, 30);  // the start-up check of the main program passes
  EXPECT_EQ(least, std::min(sys, std::min(gdi, user)));
  std::string exe = S(CMTLGetExeDir());
  EXPECT_GT(CMTLGetDiskSpace(exe.c_str()), 204800u);  // the start-up's 200 MB
  // Kilobytes and bytes of the same drive. Other processes write meanwhile, so only the
  // unit is checked: a wrong factor would be a thousandfold off, disk activity a few percent.
  double kb = static_cast<double>(std::min<ULONGLONG>(CMTLGetDiskSpaceEx(exe.c_str()) / 1024, 0xFFFFFFFFull));
  double kbDirect = static_cast<double>(CMTLGetDiskSpace(exe.c_str()));
  EXPECT_NEAR(kb, kbDirect, std::max(kbDirect * 0.05, 1048576.0));
  EXPECT_EQ(CMTLGetDiskSpaceEx("Q:\\"), 0u);
  EXPECT_GT(CMTLGetMaxDecodeSize(), 24000000u);  // a 24-megapixel picture decodes here
  EXPECT_TRUE(CMTLCheckSupportBMP("testdata\\exif_full.jpg"));
  EXPECT_TRUE(CMTLCheckSupportBMP("testdata\\image.bmp"));
  EXPECT_FALSE(CMTLCheckSupportBMP("testdata\\movie.mp4"));
  EXPECT_FALSE(CMTLCheckSupportBMP("testdata\\image.ico"));
  EXPECT_FALSE(CMTLCheckSupportBMP("testdata\\missing.jpg"));
  char sysDir[MAX_PATH];
  GetSystemDirectoryA(sysDir, MAX_PATH);
  EXPECT_FALSE(S(CMTLInspectFile((std::string(sysDir) + "\\kernel32.dll").c_str())).empty());
  EXPECT_EQ(S(CMTLInspectFile((exe + "\\kitlib_tests.exe").c_str())), "");
  EXPECT_TRUE(CMTLIsInstalledAcrobatReader((exe + "\\Manual\\manual.pdf").c_str()));
  EXPECT_TRUE(CMTLAllowSetForegroundWindow());
  EXPECT_GE(CMTLInitializeVideoCodecPlugin(), 0);
  CMTLTerminateVideoCodecPlugin();
  CMTLSetLocale();
  EXPECT_EQ(GetACP(), 932u);
}

TEST(FileInfo, ParsesIntoObjectsTheOwnerDeletes) {
  CObList list;
  const char text[] = "0|0|0|C:\\\x83\x7C\\a.jpg|1|0||C:\\b.png|4|0||";
  EXPECT_EQ(CMTLChangeFileInfo(text, list, sizeof(text)), 2);
  ASSERT_EQ(list.GetCount(), 2);
  auto* first = DYNAMIC_DOWNCAST(CMTLFileInfo, list.GetHead());
  ASSERT_TRUE(first);
  EXPECT_EQ(S(first->m_strPath), "C:\\\x83\x7C\\a.jpg");
  EXPECT_TRUE(first->IsSelected());
  auto* second = static_cast<CMTLFileInfo*>(list.GetTail());
  EXPECT_TRUE(second->IsMarked());
  EXPECT_FALSE(second->IsSelected());
  EXPECT_EQ(CMTLChangeFileInfo("1|Disk|1|||", list), 0);  // nothing selected
  // A text the record reader refuses adds nothing.
  EXPECT_EQ(CMTLChangeFileInfo("1|Disk|1|C:\\A\\||C:\\Fo", list), 0);
  EXPECT_EQ(list.GetCount(), 2);
  CMTLDeleteFileInfo(list);
  EXPECT_TRUE(list.IsEmpty());

  CString status, program, data;
  int number = 0;
  EXPECT_TRUE(CMTLParseRequest("A|VxEdit.exe|4|0|0|0|C:\\x.jpg|1|0||", status, program, number, data));
  EXPECT_EQ(S(status), "A");
  EXPECT_EQ(S(program), "VxEdit.exe");
  EXPECT_EQ(number, 4);
  EXPECT_EQ(CMTLChangeFileInfo(data, list), 1);
  CMTLDeleteFileInfo(list);
  EXPECT_FALSE(CMTLParseRequest("A|B|", status, program, number, data));
}

class Item : public CObject {
 public:
  Item(int k, int o) : key(k), order(o) {}
  int key, order;
};

class ByKey : public CSortableObList {
 protected:
  int Compare(const CObject* a, const CObject* b) const override {
    return static_cast<const Item*>(a)->key - static_cast<const Item*>(b)->key;
  }
};

TEST(SortableObList, StableInBothDirectionsAndByTheVirtualCompare) {
  ByKey list;
  int keys[] = {3, 1, 2, 1, 3};
  for (int i = 0; i < 5; ++i) list.AddTail(new Item(keys[i], i));
  POSITION head = list.GetHeadPosition();
  list.Sort();
  std::string got;
  for (POSITION p = list.GetHeadPosition(); p;) {
    auto* it = static_cast<Item*>(list.GetNext(p));
    got += std::to_string(it->key) + ":" + std::to_string(it->order) + " ";
  }
  EXPECT_EQ(got, "1:1 1:3 2:2 3:0 3:4 ");
  EXPECT_EQ(list.GetHeadPosition(), head);  // nodes stay, elements move
  list.Sort(
      [](const CObject* a, const CObject* b, LPARAM) {
        return static_cast<const Item*>(a)->key - static_cast<const Item*>(b)->key;
      },
      0, FALSE);
  EXPECT_EQ(static_cast<Item*>(list.GetHead())->order, 0);  // 3:0 before 3:4
  EXPECT_EQ(static_cast<Item*>(list.GetTail())->order, 3);
  while (!list.IsEmpty()) delete list.RemoveHead();
}

struct Job : CPgBarData {
  int files = 0;
  int done = 0;
};

int Worker(CPgBarData* data) {
  auto* job = static_cast<Job*>(data);
  static char text[64];
  for (int i = 0; i < job->files && !job->m_bCancel; ++i) {
    wsprintfA(text, "file %d", i);
    CMTLPostProgress(job->m_hWnd, text, (i + 1) * 100 / job->files);
    ++job->done;
    if (i == 2) PostMessageA(job->m_hWnd, WM_CLOSE, 0, 0);  // the user closes the window
    Sleep(20);
  }
  return job->m_bCancel ? 2 : 1;
}

TEST(ProgressBar, RunsTheWorkerUntilTheUserCancels) {
  Job job;
  job.files = 200;
  EXPECT_EQ(CMTLProgressBar(Worker, "Test", CMTL_PGBAR_CANCEL, &job), 2);
  EXPECT_LT(job.done, 200);
  EXPECT_GE(job.done, 3);
  EXPECT_EQ(job.m_hWnd, nullptr);
  EXPECT_EQ(CMTLProgressBar(nullptr, "Test", 1, &job), -1);
}

}  // namespace
