// The folder properties page: its texts by tables, the count on real folders, and the sheet
// driven as a user would (counted to the end; closed in the middle of a long count).
#include <DiskTreeModule.h>
#include <FolderCount.h>
#include <FolderPropertiesPage.h>
#include <VxResourceIds.h>
#include <dialogwatch.h>
#include <files.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <tempfolder.h>
#include <testmain.h>

#include <cstdio>

namespace {

struct Resources {
  HMODULE module = LoadLibraryA("VxResource.dll");
  HINSTANCE previous = AfxGetResourceHandle();
  Resources() {
    disktree::SetResourceModule(module);
    AfxSetResourceHandle(module);
  }
  ~Resources() {
    AfxSetResourceHandle(previous);
    disktree::SetResourceModule(nullptr);
    FreeLibrary(module);
  }
};

void WriteBytes(const std::string& path, size_t n) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::string bytes(n, 'x');
  fwrite(bytes.data(), 1, n, f);
  fclose(f);
}

std::string Format(UINT id, const std::string& a, const std::string& b) {
  char out[512];
  snprintf(out, sizeof out, disktree::ResourceString(id).c_str(), a.c_str(), b.c_str());
  return out;
}

std::string ControlText(HWND page, int id) {
  char text[512] = {};
  GetDlgItemTextA(page, id, text, sizeof text);
  return text;
}

struct Absolute {
  LPITEMIDLIST pidl = nullptr;
  explicit Absolute(const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    SHParseDisplayName(wide.c_str(), nullptr, &pidl, 0, nullptr);
  }
  ~Absolute() { CoTaskMemFree(pidl); }
};

}  // namespace

// The short numbers themselves are the rules' tests; here the texts they go into.
TEST(FolderProperties, SizeAndNumberTexts) {
  Resources res;
  struct Case {
    LONGLONG bytes;
    const char* shortText;
    int unit;
    const char* exact;
  } cases[] = {
      {0, "0", 0, "0"},
      {5, "5", 0, "5"},
      {100, "100", 0, "100"},
      {1023, "1023", 0, "1,023"},
      {1024, "1.00", 1, "1,024"},
      {1536, "1.50", 1, "1,536"},
      {10 * 1024, "10.0", 1, "10,240"},
      {1023 * 1024, "1023", 1, "1,047,552"},
      {1048576, "1.00", 2, "1,048,576"},
      {3LL << 30, "3.00", 3, "3,221,225,472"},
      {5LL << 40, "5.00", 4, "5,497,558,138,880"},
      {2000LL << 40, "2000", 4, "2,199,023,255,552,000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(disktree::NumberText(c.bytes), c.exact) << c.bytes;
    EXPECT_EQ(disktree::SizeText(c.bytes), Format(IDS_DISKTREE_SIZE_BYTES + c.unit, c.shortText, c.exact)) << c.bytes;
  }
  // A terabyte and a missing date no longer share one text.
  EXPECT_NE(disktree::ResourceString(IDS_DISKTREE_SIZE_TB), disktree::ResourceString(IDS_DISKTREE_NO_CREATION_TIME));
  EXPECT_EQ(disktree::ContentsText(0, 0), Format(IDS_DISKTREE_CONTENTS, "0", "0"));
}

TEST(FolderProperties, PathsAndLocations) {
  struct Case {
    const char* path;
    const char* cut;
    const char* location;
  } cases[] = {
      {"C:\\", "C:", ""},
      {"C:\\Photos", "C:\\Photos", "C:\\"},
      {"C:\\Photos\\\\", "C:\\Photos", "C:\\"},
      {"C:\\Photos\\2024", "C:\\Photos\\2024", "C:\\Photos"},
      {"E:\\DCIM\\表", "E:\\DCIM\\表", "E:\\DCIM"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(disktree::PropertiesPath(c.path), c.cut) << c.path;
    EXPECT_EQ(disktree::LocationOf(c.path), c.location) << c.path;
  }
}

TEST(FolderProperties, CountsFilesFoldersAndSizes) {
  const std::string root = testsupport::NewTempFolder("props");
  {
    disktree::FolderCount count;
    int done = 0;
    EXPECT_TRUE(disktree::CountFolder(root, &count, nullptr, [&] { ++done; }));
    EXPECT_EQ(count.files, 0);
    EXPECT_EQ(count.folders, 0);
    EXPECT_EQ(count.size, 0);
    EXPECT_EQ(count.onDisk, 0);
    EXPECT_EQ(done, 1);
  }
  WriteBytes(root + "\\a.jpg", 1023);
  CreateDirectoryA((root + "\\写真").c_str(), nullptr);
  CreateDirectoryA((root + "\\写真\\sub").c_str(), nullptr);
  WriteBytes(root + "\\写真\\sub\\b.jpg", 1536);
  WriteBytes(root + "\\写真\\empty.txt", 0);
  disktree::FolderCount count;
  int done = 0;
  EXPECT_TRUE(disktree::CountFolder(root + "\\", &count, nullptr, [&] { ++done; }));
  EXPECT_EQ(count.files, 3);
  EXPECT_EQ(count.folders, 2);
  EXPECT_EQ(count.size, 1023 + 1536);
  EXPECT_EQ(done, 3);
  // Whole clusters: at least the bytes, and an empty file takes none.
  EXPECT_GE(count.onDisk, 1023 + 1536);
  EXPECT_EQ(disktree::SizeOnDisk(root + "\\写真\\empty.txt", 0), 0);
  const LONGLONG one = disktree::SizeOnDisk(root + "\\a.jpg", 1023);
  EXPECT_GE(one, 1023);
  EXPECT_EQ(disktree::SizeOnDisk(root + "\\a.jpg", 1), one) << "one cluster either way";
  EXPECT_EQ(disktree::SizeOnDisk("\\\\server\\share\\a.jpg", 1023), 0) << "no drive letter";

  // A stop ends every level at its next entry, with what was counted kept.
  disktree::FolderCount stopped;
  int entries = 0;
  EXPECT_FALSE(disktree::CountFolder(root, &stopped, [&] { return ++entries < 2; }, nullptr));
  EXPECT_EQ(entries, 2);
  EXPECT_LE(stopped.files + stopped.folders, 3);
  testsupport::RemoveTree(root);
}

TEST(FolderProperties, TheSheetShowsTheCountedFolder) {
  Resources res;
  const std::string root = testsupport::NewTempFolder("props-sheet");
  WriteBytes(root + "\\a.jpg", 1536);
  CreateDirectoryA((root + "\\sub").c_str(), nullptr);
  // Wine keeps a folder's hidden mark but not its read-only one.
  ASSERT_TRUE(SetFileAttributesA(root.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(GetFileAttributesA(root.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  Absolute absolute(root);
  ASSERT_NE(absolute.pidl, nullptr);
  const std::string contents = disktree::ContentsText(1, 1);
  std::string name, location, created, size, title;
  UINT system = 1, hidden = 0;
  testsupport::DialogWatch watch(
      nullptr, [&](HWND sheet) { return PropSheet_GetCurrentPageHwnd(sheet) &&
                                 ControlText(PropSheet_GetCurrentPageHwnd(sheet), IDC_DISKTREE_PROP_CONTENTS) == contents; },
      [&](HWND sheet) {
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        char text[512] = {};
        GetWindowTextA(sheet, text, sizeof text);
        title = text;
        name = ControlText(page, IDC_DISKTREE_PROP_NAME);
        location = ControlText(page, IDC_DISKTREE_PROP_LOCATION);
        created = ControlText(page, IDC_DISKTREE_PROP_CREATED);
        size = ControlText(page, IDC_DISKTREE_PROP_SIZE);
        system = IsDlgButtonChecked(page, IDC_DISKTREE_PROP_SYSTEM);
        hidden = IsDlgButtonChecked(page, IDC_DISKTREE_PROP_HIDDEN);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
      },
      15000);
  EXPECT_EQ(disktree::ShowFolderProperties(root, absolute.pidl, nullptr), S_OK);
  watch.Stop();
  ASSERT_TRUE(watch.Acted());
  const std::string folderName = root.substr(root.rfind('\\') + 1);
  EXPECT_EQ(name, folderName);
  char expectedTitle[512];
  snprintf(expectedTitle, sizeof expectedTitle, disktree::ResourceString(IDS_DISKTREE_PROPERTIES_TITLE).c_str(),
           folderName.c_str());
  EXPECT_EQ(title, expectedTitle);
  EXPECT_EQ(location, root.substr(0, root.rfind('\\')));
  EXPECT_FALSE(created.empty());
  EXPECT_NE(created, disktree::ResourceString(IDS_DISKTREE_NO_CREATION_TIME));
  EXPECT_EQ(size, disktree::SizeText(1536));
  EXPECT_EQ(hidden, BST_CHECKED);
  EXPECT_EQ(system, BST_UNCHECKED);
  SetFileAttributesA(root.c_str(), FILE_ATTRIBUTE_NORMAL);
  testsupport::RemoveTree(root);
}

TEST(FolderProperties, ClosingDuringALongCountEndsIt) {
  Resources res;
  const std::string root = testsupport::NewTempFolder("props-long");
  const int kFolders = 60, kFiles = 40;
  for (int d = 0; d < kFolders; ++d) {
    const std::string dir = root + "\\d" + std::to_string(d);
    CreateDirectoryA(dir.c_str(), nullptr);
    for (int f = 0; f < kFiles; ++f) WriteBytes(dir + "\\f" + std::to_string(f), 10);
  }
  Absolute absolute(root);
  CPropertySheet sheet("props");
  CPropertyFolderPage page;
  page.SetFolder(root, absolute.pidl);
  sheet.AddPage(&page);
  // The first intermediate texts come after ten folders: the count is then under way.
  testsupport::DialogWatch watch(
      nullptr,
      [&](HWND sheet) {
        HWND p = PropSheet_GetCurrentPageHwnd(sheet);
        return p && !ControlText(p, IDC_DISKTREE_PROP_CONTENTS).empty();
      },
      [&](HWND sheet) { PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); }, 15000);
  const DWORD start = GetTickCount();
  sheet.DoModal();
  const DWORD took = GetTickCount() - start;
  watch.Stop();
  ASSERT_TRUE(watch.Acted());
  EXPECT_TRUE(page.m_bStop);
  EXPECT_FALSE(page.m_bCounted);
  EXPECT_LT(page.m_count.files, kFolders * kFiles) << "took " << took << " ms";
  EXPECT_GE(page.m_count.folders, 10);
  testsupport::RemoveTree(root);
}
