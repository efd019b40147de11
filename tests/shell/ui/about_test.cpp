// The About box: its texts, the module list of the program folder, the notices file.
#include <gtest/gtest.h>

#include <algorithm>

#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <ui/AboutDlg.h>

#include <string>

#include "shelltest.h"
#include "uikit.h"

namespace {

TEST(AboutTexts, VersionDateAndSize) {
  struct {
    const char* version;
    int tv;
    const char* text;
  } versions[] = {{"1.20L03", 0, "Ver.1.20L03(NTSC)"}, {"1.20L03", 1, "Ver.1.20L03(PAL)"},
                  {"1.20L03", 2, "Ver.1.20L03"},       {"0.00L00", -1, "Ver.0.00L00"}};
  for (auto& v : versions) EXPECT_EQ(about::VersionText(v.version, v.tv), CString(v.text)) << v.tv;
  EXPECT_EQ(about::ProductVersion("1.20L03", "5.0.0.1"), CString("1.20L03"));
  EXPECT_EQ(about::ProductVersion("", "5.0.0.1"), CString("5.0.0.1"));  // nothing installed: the file's own
  EXPECT_EQ(about::ProductVersion("", ""), CString("0.00"));
  struct {
    const char* in;
    const char* out;
  } times[] = {{"2024/05/06 7:08:09", "2024/05/06 7:08"}, {"2024/05/06 17:08:59", "2024/05/06 17:08"},
               {"2024/05/06", "2024/05/06"},           {"12:3", "12"}};
  for (auto& t : times) EXPECT_EQ(about::WithoutSeconds(t.in), CString(t.out)) << t.in;
  EXPECT_EQ(about::SizeText(0), CString("   0KB"));
  EXPECT_EQ(about::SizeText(1023), CString("   0KB"));
  EXPECT_EQ(about::SizeText(5 * 1024 + 1), CString("   5KB"));
  EXPECT_EQ(about::SizeText(123456789), CString("120563KB"));
}

TEST(AboutModules, ListsTheProgramFolderPatternByPattern) {
  const DWORD start = ::GetTickCount();
  std::vector<about::ModuleRow> rows = about::ListModules(uikit::ProgramFolder().c_str());
  // The versions come from the resources alone, not the whole of each file: a fraction of
  // a second for the program folder (a reading of every file took seconds, minutes on a
  // busy machine, with the About box showing nothing meanwhile).
  EXPECT_LT(::GetTickCount() - start, 5000u);
  ASSERT_FALSE(rows.empty());
  // Programs come before libraries, plug-ins last.
  int firstDll = -1, lastExe = -1, firstPsp = -1;
  for (int i = 0; i < (int)rows.size(); i++) {
    CString ext = rows[i].name.Right(4);
    ext.MakeLower();
    if (ext == ".exe") lastExe = i;
    if (ext == ".dll" && firstDll < 0) firstDll = i;
    if (ext == ".psp" && firstPsp < 0) firstPsp = i;
    EXPECT_EQ(rows[i].size.Right(2), CString("KB"));
    EXPECT_EQ(rows[i].modified.Find(':'), rows[i].modified.ReverseFind(':'));  // hours:minutes only
  }
  EXPECT_LT(lastExe, firstDll);
  if (firstPsp >= 0) {
    EXPECT_GT(firstPsp, firstDll);
  }
  // Every deliverable and library of ours carries its version.
  const char* const kOurs[] = {"Marlo5.exe",   "VxAutoRun.exe",      "VxGUITrans.dll", "DiskTree.psp",
                               "CardTree.psp", "ExpVideoPostUI.peu", "Rename.dll",     "GlimFW.dll",
                               "VxResource.dll", "Kitlib2.dll",      "VxDatabase.dll", "VxDocument.dll"};
  CString strMain;
  for (const char* name : kOurs) {
    auto it = std::find_if(rows.begin(), rows.end(), [name](const about::ModuleRow& r) { return r.name == name; });
    ASSERT_NE(it, rows.end()) << name;
    EXPECT_FALSE(it->version.IsEmpty()) << name;
    if (strMain.IsEmpty()) strMain = it->version;
    EXPECT_EQ(it->version, strMain) << name;  // one version for the whole system
  }
}

TEST(AboutDialog, ShowsTextsModulesAndNoNoticesWithoutTheFile) {
  shelltest::ProfileRoot root;
  CMWriteProfileString("ProductInfo", "ProductVersion", "5.10L02");
  CMWriteProfileInt("Settings", "TVSystem", 1);
  CMWriteProfileString("Common", "ModuleCopyrights", "NoSuchNotices.txt");
  CAboutDlg dlg;
  int rows = 0;
  std::string version, notices, info;
  uikit::DialogDriver driver([&](HWND h) {
    rows = (int)::SendDlgItemMessageA(h, IDC_ABOUT_MODULES, LVM_GETITEMCOUNT, 0, 0);
    char buf[256] = {};
    ::GetDlgItemTextA(h, IDC_ABOUT_VERSION, buf, sizeof(buf));
    version = buf;
    ::GetDlgItemTextA(h, IDC_ABOUT_NOTICES, buf, sizeof(buf));
    notices = buf;
    ::GetDlgItemTextA(h, IDC_ABOUT_VERSION_INFO, buf, sizeof(buf));
    info = buf;
    uikit::Picture(h).Save("about");
    uikit::Press(h, IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_GT(rows, 5);
  EXPECT_EQ(version, "Ver.5.10L02(PAL)");
  EXPECT_EQ(info, "Marlo");
  EXPECT_EQ(notices, "");

  // With the notices file in the program folder, its text is shown.
  std::string path = uikit::ProgramFolder() + "\\TestNotices.txt";
  {
    CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    const char text[] = "libjpeg: (C) the Independent JPEG Group";
    f.Write(text, sizeof(text) - 1);
  }
  CMWriteProfileString("Common", "ModuleCopyrights", "TestNotices.txt");
  CAboutDlg withNotices;
  uikit::DialogDriver second([&](HWND h) {
    char buf[256] = {};
    ::GetDlgItemTextA(h, IDC_ABOUT_NOTICES, buf, sizeof(buf));
    notices = buf;
    uikit::Press(h, IDOK);
  });
  withNotices.DoModal();
  EXPECT_EQ(notices, "libjpeg: (C) the Independent JPEG Group");
  ::DeleteFileA(path.c_str());
}

}  // namespace
