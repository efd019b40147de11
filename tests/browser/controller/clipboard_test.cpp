// Cut, copy and paste through the controller and the system clipboard: files reach the
// shown folder, a cut moves them and leaves a copy of the new place on the clipboard, and
// a full drive or a damaged list from another program pastes nothing.
#include <gtest/gtest.h>

#include <VxResourceIds.h>
#include <shlobj.h>

#include <cstring>

#include "ctl_fixture.h"
#include "files.h"

namespace {

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

void SelectByName(BrowserHost& h, const char* name) {
  for (CThumbnail* p : h.pView->m_items)
    if (lstrcmpiA(p->GetFileName(), name) == 0) h.pView->SelectItem(p->GetUniqueID(VXID_SLOT_VIEW), TRUE);
}

std::string ResString(UINT id) {
  CString s;
  CResourceLoader().LoadStringA(id, s);
  return (LPCSTR)s;
}

bool SawText(BoxAnswers& a, const std::string& text) {
  for (const std::string& s : a.Seen())
    if (s.find(text) != std::string::npos) return true;
  return false;
}

// Puts raw bytes on the clipboard as CF_HDROP, as another program might.
void PutRawDrop(const std::string& bytes) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  memcpy(GlobalLock(h), bytes.data(), bytes.size());
  GlobalUnlock(h);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_HDROP, h);
  CloseClipboard();
}

ULONGLONG g_free = 0;
BOOL FixedDriveWith(LPCSTR, UINT* type, ULONGLONG* free) {
  *type = DRIVE_FIXED;
  *free = g_free;
  return TRUE;
}

struct DiskQueryScope {
  explicit DiskQueryScope(ULONGLONG free) {
    g_free = free;
    CVxGUITrans::SetDiskQuery(FixedDriveWith);
  }
  ~DiskQueryScope() { CVxGUITrans::SetDiskQuery(nullptr); }
};

}  // namespace

TEST(Clipboard, CopyCutPasteAndPasteAgain) {
  std::string a = ctltest::Scratch("clip-a"), b = ctltest::Scratch("clip-b"), c = ctltest::Scratch("clip-c");
  ctltest::Copy("plain.jpg", a + "\\one.jpg");
  ctltest::Copy("plain.jpg", a + "\\two.jpg");
  BrowserHost h;
  h.ShowFolder(a);
  CBrowserDocument* doc = h.browser();
  ASSERT_NE(doc->GetClipboardObject(), nullptr);

  // Copy: both files on the clipboard as a copy.
  SelectByName(h, "one.jpg");
  SelectByName(h, "two.jpg");
  EXPECT_EQ(h.trans()->CopySelectFilesToClipBoard(), 1);
  CStringList paths;
  DWORD effect = 0;
  EXPECT_EQ(doc->GetClipboardObject()->ReadPaths(paths, &effect), 2);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));

  // Paste into another folder: the paste goes to the one folder shown.
  h.ShowFolder(b);
  doc->EmptyContextMenuPosition();
  EXPECT_EQ(h.trans()->PasteFileFromClipBoard(), 1);
  EXPECT_TRUE(Exists(b + "\\one.jpg"));
  EXPECT_TRUE(Exists(b + "\\two.jpg"));
  EXPECT_TRUE(Exists(a + "\\one.jpg"));
  EXPECT_EQ(h.pView->m_items.size(), 2u);  // the groups were reloaded

  // Cut one of them: it is marked cut, and a paste into c moves it.
  h.pView->UnSelectAll(TRUE);
  SelectByName(h, "one.jpg");
  h.trans()->CutSelectFiles();
  int cut = 0;
  for (CThumbnail* p : h.pView->m_items) cut += p->IsCut() ? 1 : 0;
  EXPECT_EQ(cut, 1);
  EXPECT_EQ(doc->GetClipboardObject()->ReadPaths(paths, &effect), 1);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_MOVE));
  h.ShowFolder(c);
  doc->EmptyContextMenuPosition();
  EXPECT_EQ(h.trans()->PasteFileFromClipBoard(), 1);
  EXPECT_TRUE(Exists(c + "\\one.jpg"));
  EXPECT_FALSE(Exists(b + "\\one.jpg"));
  // After the move the clipboard names the new place as a copy: a second paste copies it.
  paths.RemoveAll();
  EXPECT_EQ(doc->GetClipboardObject()->ReadPaths(paths, &effect), 1);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
  EXPECT_STRCASEEQ(paths.GetHead(), (c + "\\one.jpg").c_str());
  h.ShowFolder(a);
  doc->EmptyContextMenuPosition();
  EXPECT_EQ(h.trans()->PasteFileFromClipBoard(), 1);
  EXPECT_TRUE(Exists(c + "\\one.jpg"));
  EXPECT_TRUE(Exists(a + "\\one (2).jpg") || Exists(a + "\\one - \x83\x52\x83\x73\x81\x5B.jpg"));
  CExploreClipboardObject::Clear();
  ctltest::Pump();
}

// Another program's data replaces the list: the cut marks go, the files stay.
TEST(Clipboard, CutMarksGoWhenTheClipboardChanges) {
  std::string a = ctltest::Scratch("cutmark-a");
  ctltest::Copy("plain.jpg", a + "\\one.jpg");
  BrowserHost h;
  h.ShowFolder(a);
  SelectByName(h, "one.jpg");
  h.trans()->CutSelectFiles();
  ASSERT_TRUE(h.pView->m_items.at(0)->IsCut());
  ctltest::Pump();
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 2);
  memcpy(GlobalLock(text), "x", 2);
  GlobalUnlock(text);
  SetClipboardData(CF_TEXT, text);
  CloseClipboard();
  ctltest::Pump();
  EXPECT_FALSE(h.pView->m_items.at(0)->IsCut());
  EXPECT_TRUE(Exists(a + "\\one.jpg"));
  EXPECT_FALSE(h.browser()->GetClipboardObject()->IsViewer(h.view()));
  CExploreClipboardObject::Clear();
}

TEST(Clipboard, FreeSpaceBoundaryOnAFixedDrive) {
  std::string a = ctltest::Scratch("space-a"), b = ctltest::Scratch("space-b");
  ctltest::Copy("plain.jpg", a + "\\one.jpg");
  BrowserHost h;
  h.ShowFolder(a);
  SelectByName(h, "one.jpg");
  ASSERT_EQ(h.trans()->CopySelectFilesToClipBoard(), 1);
  h.ShowFolder(b);
  h.browser()->EmptyContextMenuPosition();
  {
    DiskQueryScope low(100ull * 1024 * 1024 - 1);
    BoxAnswers answers({IDOK});
    EXPECT_EQ(h.trans()->PasteFileFromClipBoard(), 0);
    EXPECT_TRUE(SawText(answers, ResString(IDS_BROWSER_PASTE_LOW_SPACE).substr(0, 20)));
    EXPECT_FALSE(Exists(b + "\\one.jpg"));
  }
  {
    DiskQueryScope enough(100ull * 1024 * 1024);
    EXPECT_EQ(h.trans()->PasteFileFromClipBoard(), 1);
    EXPECT_TRUE(Exists(b + "\\one.jpg"));
  }
  CExploreClipboardObject::Clear();
  ctltest::Pump();
}

TEST(Clipboard, DamagedListsFromOtherProgramsPasteNothing) {
  std::string a = ctltest::Scratch("bad-a"), b = ctltest::Scratch("bad-b");
  ctltest::Copy("plain.jpg", a + "\\one.jpg");
  BrowserHost h;
  h.ShowFolder(b);
  h.browser()->EmptyContextMenuPosition();
  auto block = [](DWORD offset, const std::string& list, bool wide) {
    DROPFILES head = {};
    head.pFiles = offset;
    head.fWide = wide;
    return std::string(reinterpret_cast<const char*>(&head), sizeof(head)) + list;
  };
  const std::string src = a + "\\one.jpg";
  struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"offset past the block", block(4000, src + std::string(2, '\0'), false)},
      {"no final terminator", block(20, src, false)},
      {"a path of 260 bytes", block(20, "C:\\" + std::string(257, 'x') + std::string(2, '\0'), false)},
  };
  for (const auto& c : cases) {
    PutRawDrop(c.bytes);
    BoxAnswers answers({IDOK});
    EXPECT_EQ(h.trans()->PasteFileFromClipBoard(), 0) << c.what;
    EXPECT_EQ(answers.Count(), 1u) << c.what;
    EXPECT_FALSE(Exists(b + "\\one.jpg")) << c.what;
  }
  // An empty list pastes nothing and says nothing.
  PutRawDrop(block(20, std::string(2, '\0'), false));
  {
    BoxAnswers answers({IDOK});
    EXPECT_EQ(h.trans()->PasteFileFromClipBoard(), 1);
    EXPECT_EQ(answers.Count(), 0u);
  }
  // A wide list from another program is taken.
  std::wstring wsrc(src.size() + 1, L'\0');
  wsrc.resize(MultiByteToWideChar(CP_ACP, 0, src.c_str(), -1, &wsrc[0], int(wsrc.size())) - 1);
  std::string wide(reinterpret_cast<const char*>(wsrc.c_str()), (wsrc.size() + 1) * 2);
  wide.append(2, '\0');
  PutRawDrop(block(20, wide, true));
  EXPECT_EQ(h.trans()->PasteFileFromClipBoard(), 1);
  EXPECT_TRUE(Exists(b + "\\one.jpg"));
  CExploreClipboardObject::Clear();
  ctltest::Pump();
}
