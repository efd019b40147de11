// The icon view in a frame of its own over a fixture folder: broken and hostile files,
// selection and marks by mouse messages with the document's answers, the decode window
// and a screenshot.
#include <gtest/gtest.h>

#include <DragDrop.h>
#include <IconView.h>
#include <VxGUITrans.h>
#include <VxResourceIds.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <files.h>
#include <imaging/decode.h>
#include <profileroot.h>
#include <program.h>
#include <tempfolder.h>
#include <testmain.h>
#include <viewframe.h>

#include "iconview_host.h"
#include "uikit.h"

#include <algorithm>
#include <cstring>

namespace {

// Marks are kept in the profile and the database: both of the test's own.
testsupport::ScopedProfileRoot* g_profile = nullptr;
std::string g_db;
testmain::StartUp ole([] { return AfxOleInit() != FALSE; }, [] { AfxOleTerm(); });
testmain::StartUp ownState(
    [] {
      g_profile = new testsupport::ScopedProfileRoot("iconview");
      g_db = testsupport::NewTempFolder("iconview-db");
      return ::SetEnvironmentVariableA("GLIMORA_DB_DIR", g_db.c_str()) != FALSE;
    },
    [] {
      ::SetEnvironmentVariableA("GLIMORA_DB_DIR", nullptr);
      testsupport::RemoveTree(g_db);
      delete g_profile;
    });

using testsupport::Fixture;

// ---- Files -----------------------------------------------------------------------------------
// The offset of the first start-of-frame segment's height field in a JPEG stream, walking
// its segments from `from` (the stream's FFD8); npos when none.
size_t SofSizeField(const std::string& d, size_t from) {
  size_t p = from + 2;
  while (p + 4 <= d.size() && uint8_t(d[p]) == 0xFF) {
    uint8_t m = uint8_t(d[p + 1]);
    size_t len = (uint8_t(d[p + 2]) << 8) | uint8_t(d[p + 3]);
    if (m == 0xC0 || m == 0xC1 || m == 0xC2) return p + 5;
    if (m == 0xDA || len < 2) break;
    p += 2 + len;
  }
  return std::string::npos;
}

void ClaimSize(std::string* d, size_t field) {
  ASSERT_NE(field, std::string::npos);
  for (int i = 0; i < 4; ++i) (*d)[field + i] = char(0xFF);  // height and width 65535
}

// The embedded thumbnail's stream inside the Exif block: the second FFD8 of the file.
size_t ThumbnailStart(const std::string& d) {
  size_t first = d.find("\xFF\xD8", 0);
  return first == std::string::npos ? first : d.find("\xFF\xD8\xFF", first + 2);
}

struct HostileFile {
  const char* name;
  std::string data;
  bool icon;  // only the kind icon can stand for it
};

std::vector<HostileFile> HostileFiles() {
  std::string full = testsupport::ReadWholeFile(Fixture("exif_full.jpg"));
  std::string plain = testsupport::ReadWholeFile(Fixture("exif_nothumb.jpg"));
  std::string png = testsupport::ReadWholeFile(Fixture("image.png"));
  std::vector<HostileFile> files;
  files.push_back({"empty.jpg", "", true});
  files.push_back({"cut_header.jpg", full.substr(0, 200), true});
  files.push_back({"text.jpg", "this is no picture at all\r\n", true});
  files.push_back({"png_named.jpg", png, false});
  files.push_back({"bad_offsets.jpg", testsupport::ReadWholeFile(Fixture("bad_offsets.jpg")), false});
  files.push_back({"cut_scan.jpg", testsupport::ReadWholeFile(Fixture("cut_scan.jpg")), false});
  std::string huge = plain;
  ClaimSize(&huge, SofSizeField(huge, 0));
  files.push_back({"huge_frame.jpg", huge, true});
  // A thumbnail that claims 65535 x 65535: not decoded; the real picture stands in.
  std::string hugeThumb = full;
  size_t t = ThumbnailStart(hugeThumb);
  if (t != std::string::npos) ClaimSize(&hugeThumb, SofSizeField(hugeThumb, t));
  files.push_back({"huge_thumb.jpg", hugeThumb, false});
  return files;
}

TEST(IconViewFiles, BrokenAndHostileFilesShowTheKindIcon) {
  std::string folder = testsupport::NewTempFolder("iconview-hostile");
  for (const HostileFile& f : HostileFiles()) {
    SCOPED_TRACE(f.name);
    std::string path = folder + "\\" + f.name;
    ASSERT_TRUE(testsupport::WriteWholeFile(path, f.data));
    CThumbnail t(path.c_str());
    t.SetDecodeSize(160, 160);
    DWORD start = GetTickCount();
    EXPECT_EQ(t.DecodeThumbnail(), S_OK);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(t.IsDecoded());
    if (f.icon) { EXPECT_EQ(t.GetDecodeImageType(), VXIMAGE_ICON); }
    t.ThreadLock();
    BITMAPINFOHEADER* bih = t.GetThumbnail(160, 160);
    EXPECT_NE(bih, nullptr);
    if (bih) {
      EXPECT_EQ(bih->biWidth, 160);
      EXPECT_EQ(bih->biHeight, 160);
    }
    t.ThreadUnlock();
  }
  testsupport::RemoveTree(folder);
}

TEST(IconViewFiles, EmbeddedThumbnailDecodesScaledWithoutWic) {
  imaging::Dib dib;
  imaging::DecodeReport rep;
  ASSERT_EQ(imaging::DecodeThumbnail(Fixture("exif_full.jpg").c_str(), 80, 80, &dib, &rep), S_OK);
  EXPECT_TRUE(rep.fromThumbnail);
  EXPECT_LE(dib.Width(), 80);
  EXPECT_LE(dib.Height(), 80);
  EXPECT_TRUE(dib.Width() == 80 || dib.Height() == 80);
}

TEST(IconView, ClicksSelectAndMarkThroughTheDocument) {
  std::string folder = FixtureFolder("iconview-click", {"exif_full.jpg", "exif_le.jpg", "people.jpg", "plain.jpg",
                                                        "quadrants.jpg", "rose.jpg", "wizard.jpg", "image.png"});
  {
    ViewOverFolders v({folder});
    ASSERT_NE(v.view, nullptr);
    ASSERT_EQ(v.view->GetItemCount(), 8);
    int cols = 0, rows = 0;
    ASSERT_TRUE(v.view->CellOfItem(v.IdAt(7), cols, rows));
    // 800 pixels: three cells of 160 (176 with their frame, 30 apart) a row.
    ASSERT_EQ(cols, 1);
    ASSERT_EQ(rows, 2);
    CBrowserDocument* doc = v.pDoc->GetBrowser();

    v.Click(v.IdAt(1));
    EXPECT_EQ(v.Selected(), (std::vector<int>{1}));
    EXPECT_EQ(doc->GetSelectCount(), 1);
    v.Click(v.IdAt(5), MK_CONTROL);
    EXPECT_EQ(v.Selected(), (std::vector<int>{1, 5}));
    EXPECT_EQ(doc->GetLastSelectedItem(), v.view->GetThumbnail(v.IdAt(5)));
    v.Click(v.IdAt(5), MK_CONTROL);
    EXPECT_EQ(v.Selected(), (std::vector<int>{1}));
    // Shift: the rectangle of cells from the anchor (1: column 1, row 0) to 5 (2, 1).
    v.Click(v.IdAt(5), MK_SHIFT);
    EXPECT_EQ(v.Selected(), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(doc->GetSelectCount(), 4);
    // A click beside every item empties the selection.
    v.ClickAt(CPoint(790, 590));
    EXPECT_EQ(doc->GetSelectCount(), 0);

    // The check box marks; a second press unmarks.
    CRect check;
    CThumbnailItem* item = v.view->FindItem(v.IdAt(3));
    item->GetCheckRect(check);
    CPoint at = check.CenterPoint() - v.view->GetScrollPositionRaw();
    v.ClickAt(at);
    EXPECT_EQ(v.view->GetThumbnail(v.IdAt(3))->GetMarkStatus(1), 1);
    EXPECT_EQ(doc->GetSelectCount(), 0);  // marking leaves the selection
    v.ClickAt(at);
    EXPECT_EQ(v.view->GetThumbnail(v.IdAt(3))->GetMarkStatus(1), 0);

    // Keys: Home, Right, Shift+End through the model (the key state comes from the
    // thread's keyboard, so the keys go through the view's own handler).
    v.Click(v.IdAt(0));
    v.view->SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(v.Selected(), (std::vector<int>{1}));
    v.view->SendMessage(WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(v.Selected(), (std::vector<int>{7}));
    v.view->SendMessage(WM_KEYDOWN, 'P', 0);  // type-ahead: "people.jpg", then "plain.jpg"
    EXPECT_EQ(v.Selected(), (std::vector<int>{3}));
    v.view->SendMessage(WM_KEYDOWN, 'P', 0);
    EXPECT_EQ(v.Selected(), (std::vector<int>{4}));
  }
  testsupport::RemoveTree(folder);
}

TEST(IconView, GroupsDecodeWindowAndScreenshot) {
  std::string a = FixtureFolder("iconview-shot-a", {"exif_full.jpg", "quadrants.jpg", "rose.jpg", "movie.mp4",
                                                    "wizard.jpg", "people.jpg"});
  std::string b = FixtureFolder("iconview-shot-b", {"image.png", "plain.jpg"});
  std::string c = FixtureFolder("iconview-shot-c", {});
  {
    ViewOverFolders v({a, c, b});
    ASSERT_NE(v.view, nullptr);
    ASSERT_EQ(v.view->GetGroupHeaders().GetCount(), 3);
    // Group a: six items in two rows; the empty group c only its header; b on its own row.
    const CIconGroupHeaders& h = v.view->GetGroupHeaders();
    EXPECT_EQ(h.GetAt(0).m_rect.top, 0);
    int afterA = h.GetAt(1).m_rect.top, afterC = h.GetAt(2).m_rect.top;
    EXPECT_EQ(afterC - afterA, 50);
    CThumbnailItem* firstB = v.view->FindItem(v.IdAt(6));
    EXPECT_EQ(firstB->m_y, afterC + 50);
    EXPECT_EQ(firstB->m_x, 15);

    v.view->SelectItem(v.IdAt(1), TRUE);
    v.view->Invalidate();
    v.view->UpdateWindow();
    // Everything fits: the decode window is the whole list.
    EXPECT_EQ(v.view->GetDecodeStart(), 0);
    EXPECT_EQ(v.view->GetDecodeCount(), 8);

    uikit::Picture pic(v.view->m_hWnd);
    EXPECT_FALSE(pic.Save("iconview_groups").empty());
    CRect client;
    v.view->GetClientRect(&client);
    EXPECT_GT(pic.Count(client, RGB(122, 142, 156)), client.Width() * client.Height() / 4);
    // Every picture shows more than the background; the selected one has its frame.
    for (int i = 0; i < 8; ++i) {
      CRect rc;
      v.view->GetItemRect(v.IdAt(i), rc, 1);
      rc.DeflateRect(10, 10);
      EXPECT_LT(pic.Count(rc, RGB(122, 142, 156)), rc.Width() * rc.Height() / 2) << i;
    }
    CRect sel;
    v.view->GetItemRect(v.IdAt(1), sel, 1);
    sel.InflateRect(4, 4);
    EXPECT_GT(pic.Count(sel, RGB(255, 146, 18)) + pic.Count(sel, RGB(255, 214, 87)), 100);

    // A smaller window: the second group scrolls out, and scrolling moves the decode window.
    v.pFrame->SetWindowPos(nullptr, 0, 0, 800, 300, SWP_NOZORDER | SWP_NOMOVE);
    uikit::PumpPending();
    v.view->Invalidate();
    v.view->UpdateWindow();
    int before = v.view->GetDecodeStart();
    v.view->SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    v.view->UpdateWindow();
    EXPECT_GT(v.view->GetDecodeStart(), before);
  }
  for (auto& f : {a, b, c}) testsupport::RemoveTree(f);
}

// The vertical bar follows the layout: it comes once the items need it, with the layout's
// height as its range and the client as its page; it stays so when the same items are laid
// out again (a sort), goes when the window holds them all, and comes back with it smaller.
TEST(IconView, TheScrollBarFollowsTheLayout) {
  std::string folder = testsupport::NewTempFolder("iconview-bar");
  for (int i = 0; i < 14; ++i)
    ASSERT_TRUE(::CopyFileA(Fixture("exif_full.jpg").c_str(), (folder + "\\p" + std::to_string(i) + ".jpg").c_str(),
                            FALSE));
  {
    ViewOverFolders v({folder}, 520, 400);
    ASSERT_NE(v.view, nullptr);
    // The layout's height, which the bar must show, in *total.
    auto barShowsTheLayout = [&](const char* when, int* total) {
      SCOPED_TRACE(when);
      *total = -1;
      CRect client, last;
      v.view->GetClientRect(&client);
      ASSERT_TRUE(v.view->GetStyle() & WS_VSCROLL);
      SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE};
      ASSERT_TRUE(::GetScrollInfo(v.view->m_hWnd, SB_VERT, &si));
      *total = v.view->GetTotalSize().cy;
      EXPECT_GT(*total, client.Height());
      EXPECT_EQ(si.nMin, 0);
      EXPECT_EQ(si.nMax, *total - 1);
      EXPECT_EQ(si.nPage, UINT(client.Height()));
      ASSERT_TRUE(v.view->GetItemRect(v.IdAt(13), last, 0));
      EXPECT_LE(last.bottom, *total);
    };
    int total = 0, again = 0;
    barShowsTheLayout("first layout", &total);
    v.view->SortItems(nullptr, 0);
    uikit::PumpPending();
    barShowsTheLayout("laid out again", &again);
    EXPECT_EQ(again, total);
    v.pFrame->SetWindowPos(nullptr, 0, 0, 1200, 1000, SWP_NOZORDER | SWP_NOMOVE);
    uikit::PumpPending();
    EXPECT_FALSE(v.view->GetStyle() & WS_VSCROLL);
    v.pFrame->SetWindowPos(nullptr, 0, 0, 520, 400, SWP_NOZORDER | SWP_NOMOVE);
    uikit::PumpPending();
    barShowsTheLayout("smaller again", &again);
    EXPECT_EQ(again, total);
  }
  testsupport::RemoveTree(folder);
}

// A decoded picture is drawn again where it is in sight, and costs nothing elsewhere: the
// decoder reports a whole folder's pictures, most of them far below the window.
TEST(IconView, DecodedPicturesAreRedrawnOnlyInSight) {
  std::string folder = testsupport::NewTempFolder("iconview-sight");
  for (int i = 0; i < 40; ++i) {
    char name[32];
    sprintf(name, "\\p%02d.jpg", i);
    ::CopyFileA(testsupport::Fixture("plain.jpg").c_str(), (folder + name).c_str(), FALSE);
  }
  {
    ViewOverFolders v({folder}, 800, 300);
    ASSERT_NE(v.view, nullptr);
    ASSERT_EQ(v.view->GetItemCount(), 40);
    CRect client;
    v.view->GetClientRect(&client);
    struct Case {
      int scroll;  // SB_TOP or SB_BOTTOM
      int item;
      bool inSight;
    };
    // Four items a row at this width: at the top rows 0 and 1 show (1 in part); at the
    // bottom the last rows.
    const Case cases[] = {
        {SB_TOP, 0, true},      {SB_TOP, 3, true},     {SB_TOP, 4, true},      {SB_TOP, 39, false},
        {SB_TOP, 20, false},    {SB_BOTTOM, 39, true}, {SB_BOTTOM, 0, false},  {SB_BOTTOM, 36, true},
    };
    for (const Case& c : cases) {
      v.view->SendMessage(WM_VSCROLL, c.scroll, 0);
      v.view->UpdateWindow();
      v.view->ValidateRect(NULL);
      DWORD id = v.IdAt(c.item);
      CRect pic;
      v.view->GetItemRect(id, pic, 1);
      pic.OffsetRect(-v.view->GetScrollPositionRaw());
      CRect shown;
      const bool visible = shown.IntersectRect(&pic, &client) != FALSE;
      ASSERT_EQ(visible, c.inSight) << "case " << c.item << " at " << c.scroll;
      v.view->RedrawPicture(id);
      CRect dirty;
      const bool any = v.view->GetUpdateRect(&dirty, FALSE) != FALSE;
      EXPECT_EQ(any, c.inSight) << "item " << c.item << " scrolled " << c.scroll;
      if (c.inSight) {
        CRect both;
        EXPECT_TRUE(both.IntersectRect(&dirty, &pic)) << "item " << c.item;
      }
    }
  }
  testsupport::RemoveTree(folder);
}

bool Exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// ---- Renaming in place ------------------------------------------------------------------------
std::string EditText(CWnd* edit) {
  CString s;
  edit->GetWindowText(s);
  return (LPCSTR)s;
}
void Type(CWnd* edit, const std::string& bytes) {
  for (unsigned char c : bytes) edit->SendMessage(WM_CHAR, c, 1);
}

TEST(IconView, RenameBoxOpensFiltersCommitsAndCancels) {
  std::string folder = FixtureFolder("iconview-rename", {"plain.jpg", "rose.jpg"});
  {
    ViewOverFolders v({folder});
    ASSERT_NE(v.view, nullptr);
    v.Click(v.IdAt(0));
    v.view->SendMessage(WM_KEYDOWN, VK_F2, 0);
    CWnd* edit = v.view->GetDlgItem(IDC_RENAME_EDIT);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(EditText(edit), "plain");  // without its extension
    EXPECT_EQ(v.view->GetRenameTarget(), v.IdAt(0));
    EXPECT_EQ(v.view->ItemDrawFlags(v.IdAt(0), FALSE) & kDrawLabel, 0u);  // the box stands in for the label
    // The whole frame drawn at once: what the screen shows is then the last paint.
    v.pFrame->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    {
      uikit::Picture pic(v.view->m_hWnd);
      EXPECT_FALSE(pic.Save("iconview_rename").empty());
      // Beside the box the label's white text is gone.
      CRect label, box;
      v.view->GetItemRect(v.IdAt(0), label, 2);
      edit->GetWindowRect(&box);
      v.view->ScreenToClient(&box);
      EXPECT_EQ(pic.CountNear(CRect(label.left, label.top, box.left - 1, label.bottom), RGB(255, 255, 255), 60), 0);
      EXPECT_EQ(pic.CountNear(CRect(box.right + 1, label.top, label.right, label.bottom), RGB(255, 255, 255), 60), 0);
    }
    // Typed over the whole text: a colon is refused, a dot can't start the name.
    Type(edit, ":");
    EXPECT_EQ(EditText(edit), "plain");
    edit->SetWindowText("");
    Type(edit, ".a");
    EXPECT_EQ(EditText(edit), "a");
    // The second byte of U+8868 has a backslash's value: taken.
    edit->SetWindowText("");
    Type(edit, "\x95\x5C");
    EXPECT_EQ(EditText(edit), "\x95\x5C");
    // Escape: nothing renamed, the box is gone.
    edit->SendMessage(WM_CHAR, VK_ESCAPE, 1);
    uikit::PumpPending();
    EXPECT_EQ(v.view->GetDlgItem(IDC_RENAME_EDIT), nullptr);
    EXPECT_EQ(v.view->GetRenameTarget(), DWORD(-1));
    EXPECT_TRUE(Exists(folder + "\\plain.jpg"));
    // The controller's edit state ended with it (else the Delete command would stay with
    // a box that is gone).
    EXPECT_FALSE(v.view->GetController()->IsEditLabel());

    // A slow second click on the label of the selected item opens it again; Enter renames.
    CRect label;
    v.view->GetItemRect(v.IdAt(0), label, 2);
    v.ClickAt(label.CenterPoint() - v.view->GetScrollPositionRaw());
    edit = v.view->GetDlgItem(IDC_RENAME_EDIT);
    ASSERT_NE(edit, nullptr);
    edit->SetWindowText("");
    Type(edit, "trip");
    edit->SendMessage(WM_CHAR, VK_RETURN, 1);
    uikit::PumpPending();
    EXPECT_EQ(v.view->GetDlgItem(IDC_RENAME_EDIT), nullptr);
    EXPECT_TRUE(Exists(folder + "\\trip.jpg"));
    EXPECT_FALSE(Exists(folder + "\\plain.jpg"));
  }
  testsupport::RemoveTree(folder);
}

// A path that leaves no room for a name: no box (a box without a limit would take any
// length), the refusal is posted and the edit that began has ended.
TEST(IconView, RenameRefusedWhenThePathLeavesNoRoom) {
  std::string folder = testsupport::NewTempFolder("iconview-long");
  std::string deep = folder;
  while (deep.size() < 240) deep += "\\" + std::string(std::min<size_t>(40, 240 - deep.size()), 'd');
  deep += "\\" + std::string(252 - deep.size() - 1, 'e');
  ASSERT_EQ(deep.size(), 252u);
  testsupport::MakeFolders(deep);
  ASSERT_TRUE(CopyFileA(Fixture("plain.jpg").c_str(), (deep + "\\a.jpg").c_str(), FALSE));  // 258 characters
  {
    ViewOverFolders v({deep});
    ASSERT_NE(v.view, nullptr);
    ASSERT_EQ(v.view->GetItemCount(), 1);
    v.Click(v.IdAt(0));
    v.view->SendMessage(WM_KEYDOWN, VK_F2, 0);
    EXPECT_EQ(v.view->GetDlgItem(IDC_RENAME_EDIT), nullptr);
    MSG msg;
    const UINT uError = RegisterWindowMessageA("VX3D_ERROR_DISPLAY");
    ASSERT_TRUE(PeekMessageA(&msg, v.view->GetSafeHwnd(), uError, uError, PM_REMOVE));
    EXPECT_EQ(msg.wParam, WPARAM(IDS_BROWSER_RENAME_FAILED));
    EXPECT_FALSE(v.view->GetController()->IsEditLabel());
  }
  testsupport::RemoveTree(folder);
}

// ---- Dragging out -------------------------------------------------------------------------------
// A window of its own that takes drops and keeps what they offered.
class CRecordingTarget : public COleDropTarget {
 public:
  std::vector<std::string> files, idlist;
  std::string folders;
  int drops = 0;
  // Set: the drop moves the files there, as the shell does.
  std::string moveTo;
  DROPEFFECT Wish() const { return moveTo.empty() ? DROPEFFECT_COPY : DROPEFFECT_MOVE; }
  DROPEFFECT OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) override { return Wish(); }
  DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) override { return Wish(); }
  BOOL OnDrop(CWnd*, COleDataObject* pData, DROPEFFECT, CPoint) override {
    ++drops;
    files.clear();
    if (HGLOBAL h = pData->GetGlobalData(CF_HDROP)) {
      char path[MAX_PATH];
      HDROP d = static_cast<HDROP>(h);
      for (UINT i = 0, n = DragQueryFileA(d, 0xFFFFFFFF, nullptr, 0); i < n; ++i)
        if (DragQueryFileA(d, i, path, MAX_PATH)) files.push_back(path);
      GlobalFree(h);
      for (const std::string& f : files)
        if (!moveTo.empty()) MoveFileA(f.c_str(), (moveTo + "\\" + PathFindFileNameA(f.c_str())).c_str());
    }
    if (HGLOBAL h = pData->GetGlobalData(DragFormats().cfFolderPath)) {
      folders.assign(static_cast<const char*>(GlobalLock(h)), GlobalSize(h));
      GlobalUnlock(h);
      GlobalFree(h);
    }
    if (HGLOBAL h = pData->GetGlobalData(DragFormats().cfIDList)) {
      const CIDA* cida = static_cast<const CIDA*>(GlobalLock(h));
      const BYTE* base = reinterpret_cast<const BYTE*>(cida);
      LPCITEMIDLIST parent = reinterpret_cast<LPCITEMIDLIST>(base + cida->aoffset[0]);
      for (UINT i = 1; i <= cida->cidl; ++i) {
        LPITEMIDLIST full = ILCombine(parent, reinterpret_cast<LPCITEMIDLIST>(base + cida->aoffset[i]));
        char path[MAX_PATH] = "";
        if (full && SHGetPathFromIDListA(full, path)) idlist.push_back(path);
        ILFree(full);
      }
      GlobalUnlock(h);
      GlobalFree(h);
    }
    return TRUE;
  }
};

struct DropWindow {
  CWnd wnd;
  CRecordingTarget target;
  explicit DropWindow(const CRect& rc) {
    wnd.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), "drop", WS_POPUP | WS_VISIBLE, rc.left, rc.top, rc.Width(),
                 rc.Height(), nullptr, nullptr);
    target.Register(&wnd);
  }
  ~DropWindow() {
    target.Revoke();
    wnd.DestroyWindow();
  }
};

std::vector<std::string> Lower(std::vector<std::string> v) {
  for (auto& s : v) std::transform(s.begin(), s.end(), s.begin(), ::tolower);
  return v;
}

TEST(IconView, DragOutOffersFilesFoldersAndIdLists) {
  std::string folder = FixtureFolder("iconview-drag", {"plain.jpg", "rose.jpg", "wizard.jpg"});
  {
    ViewOverFolders v({folder});
    ASSERT_NE(v.view, nullptr);
    v.Click(v.IdAt(0));
    v.Click(v.IdAt(2), MK_CONTROL);
    DropWindow drop(CRect(900, 100, 1100, 250));
    ASSERT_TRUE(drop.wnd.GetSafeHwnd());
    uikit::PumpPending();
    // No button is held: the drag drops at once where the cursor is.
    ::SetCursorPos(1000, 175);
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = v.view->GetSafeHwnd();
    nm.hdr.idFrom = VXICONVIEW_CTRL_ID;
    nm.hdr.code = LVN_BEGINDRAG;
    nm.iItem = int(v.IdAt(0));
    nm.lParam = reinterpret_cast<LPARAM>(v.view->GetThumbnail(v.IdAt(0)));
    CRect pic;
    v.view->GetItemRect(v.IdAt(0), pic, 1);
    nm.ptAction = pic.CenterPoint();
    v.view->ClientToScreen(&nm.ptAction);
    v.view->SendMessage(WM_NOTIFY, VXICONVIEW_CTRL_ID, reinterpret_cast<LPARAM>(&nm));
    ASSERT_EQ(drop.target.drops, 1);
    const std::vector<std::string> want = Lower({folder + "\\plain.jpg", folder + "\\wizard.jpg"});
    EXPECT_EQ(Lower(drop.target.files), want);
    EXPECT_EQ(Lower(drop.target.idlist), want);
    EXPECT_EQ(drop.target.folders, folder + "\\" + std::string(2, '\0'));
    // The files stayed: nothing to reload, both items still there.
    EXPECT_EQ(v.view->GetItemCount(), 3);

    // An item outside the selection is dragged alone.
    drop.target.files.clear();
    nm.iItem = int(v.IdAt(1));
    nm.lParam = reinterpret_cast<LPARAM>(v.view->GetThumbnail(v.IdAt(1)));
    v.view->SendMessage(WM_NOTIFY, VXICONVIEW_CTRL_ID, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(Lower(drop.target.files), Lower({folder + "\\rose.jpg"}));

    // A target that moves the file away: the groups reload without it.
    std::string away = testsupport::NewTempFolder("iconview-drag-away");
    drop.target.moveTo = away;
    v.view->SendMessage(WM_NOTIFY, VXICONVIEW_CTRL_ID, reinterpret_cast<LPARAM>(&nm));
    uikit::PumpPending();
    EXPECT_TRUE(Exists(away + "\\rose.jpg"));
    EXPECT_EQ(v.view->GetItemCount(), 2);
    testsupport::RemoveTree(away);
  }
  testsupport::RemoveTree(folder);
}

TEST(IconView, DragImageHidesWhereItWouldLeaveTheView) {
  std::string folder = FixtureFolder("iconview-image", {"plain.jpg"});
  {
    ViewOverFolders v({folder});
    ASSERT_NE(v.view, nullptr);
    CRect rc;
    v.view->GetWindowRect(&rc);
    CDropSource source;
    source.m_noDrop.Add(rc);
    source.m_hSource = v.view->GetSafeHwnd();
    source.m_nState = CDropSource::kArmed;
    CPoint centre = rc.CenterPoint();
    ASSERT_EQ(source.CreateDragImage(v.view->GetThumbnail(v.IdAt(0)), nullptr, CSize(64, 64), CPoint(32, 32), centre),
              S_OK);
    EXPECT_EQ(source.m_nState, CDropSource::kShown);
    ::SetCursorPos(centre.x, centre.y);
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_NONE), S_OK);  // the source's own "no" cursor
    EXPECT_TRUE(source.m_bImageShown);
    // Near the right edge half of the image would be outside: hidden, still "no".
    ::SetCursorPos(rc.right - 5, centre.y);
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_NONE), S_OK);
    EXPECT_FALSE(source.m_bImageShown);
    // Outside the view: the default cursors, no image.
    ::SetCursorPos(rc.right + 100, centre.y);
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_FALSE(source.m_bImageShown);
    source.EndDragImage();
    EXPECT_EQ(source.m_nState, CDropSource::kIdle);
    // Not armed: no image is made.
    EXPECT_EQ(source.CreateDragImage(v.view->GetThumbnail(v.IdAt(0)), nullptr, CSize(64, 64), CPoint(0, 0), centre),
              S_OK);
    EXPECT_EQ(source.m_nState, CDropSource::kIdle);
  }
  testsupport::RemoveTree(folder);
}

// The browser's drop target: the effect by formats and keys, refusal while disabled, and the
// private data handed on to the window.
class CKeyWnd : public CWnd {
 public:
  std::string got;
  LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override {
    static const UINT key = RegisterWindowMessageA("VX3D_DRAGDROP_KEY");
    if (m == key) {
      got = l ? std::string(static_cast<const char*>(GlobalLock(HGLOBAL(l)))) : "<none>";
      if (l) GlobalUnlock(HGLOBAL(l));
      return 0;
    }
    return CWnd::WindowProc(m, w, l);
  }
};

HGLOBAL Block(const std::string& s) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
  memcpy(GlobalLock(h), s.c_str(), s.size() + 1);
  GlobalUnlock(h);
  return h;
}

TEST(IconView, DropTargetEffectsAndRefusal) {
  CKeyWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "target", WS_POPUP | WS_VISIBLE, 900, 300, 200, 150, nullptr, nullptr));
  CDropTarget target;
  ASSERT_TRUE(target.Register(&wnd));
  IDropTarget* pTarget = &target.m_xDropTarget;
  COleDataSource accepted;
  accepted.CacheGlobalData(DragFormats().cfPrivate, Block("C:\\a.jpg|"));
  COleDataSource plain;
  plain.CacheGlobalData(CF_TEXT, Block("x"));
  POINTL pt = {950, 350};
  struct {
    COleDataSource* data;
    DWORD keys;
    BOOL enabled;
    DWORD effect;
    const char* got;
  } cases[] = {
      {&accepted, MK_LBUTTON | MK_CONTROL, TRUE, DROPEFFECT_COPY, "C:\\a.jpg|"},
      {&accepted, MK_LBUTTON, TRUE, DROPEFFECT_MOVE, "C:\\a.jpg|"},
      {&accepted, MK_LBUTTON, FALSE, DROPEFFECT_NONE, ""},  // drop flag 0: refused
      {&plain, MK_LBUTTON | MK_CONTROL, TRUE, DROPEFFECT_NONE, ""},
  };
  for (const auto& c : cases) {
    target.m_bDropEnabled = c.enabled;
    wnd.got.clear();
    IDataObject* pData = c.data->GetIDataObject(FALSE);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, pTarget->DragEnter(pData, c.keys, pt, &effect));
    DWORD dropped = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    if (effect == DROPEFFECT_NONE) {
      pTarget->DragLeave();
      dropped = DROPEFFECT_NONE;
    } else {
      ASSERT_EQ(S_OK, pTarget->Drop(pData, c.keys & ~MK_LBUTTON, pt, &dropped));
    }
    EXPECT_EQ(dropped, c.effect) << c.keys << " " << c.enabled;
    EXPECT_EQ(wnd.got, c.got) << c.keys << " " << c.enabled;
  }
  target.Revoke();
  wnd.DestroyWindow();
}

// ---- Where a paste goes -----------------------------------------------------------------------
TEST(IconView, PasteGoesToTheGroupUnderTheMenuPoint) {
  std::string a = FixtureFolder("iconview-paste-a", {"plain.jpg", "rose.jpg"});
  std::string b = FixtureFolder("iconview-paste-b", {"wizard.jpg"});
  {
    ViewOverFolders v({a, b});
    ASSERT_NE(v.view, nullptr);
    CBrowserDocument* doc = v.pDoc->GetBrowser();
    CThumbnailPage* pageA = doc->GetPageList().GetPageAt(0);
    CThumbnailPage* pageB = doc->GetPageList().GetPageAt(1);
    CVxGUITrans* trans = v.view->GetController();
    // The menu opened over b's picture: b.
    CPoint over = v.PictureCentre(v.IdAt(2));
    v.view->ClientToScreen(&over);
    doc->SetContextMenuPosition(over);
    EXPECT_EQ(trans->PasteFileFromClipBoard_GetPasteFolder(), pageB);
    over = v.PictureCentre(v.IdAt(0));
    v.view->ClientToScreen(&over);
    doc->SetContextMenuPosition(over);
    EXPECT_EQ(trans->PasteFileFromClipBoard_GetPasteFolder(), pageA);
    // From the keyboard (no menu point) with two folders shown: no guess.
    doc->EmptyContextMenuPosition();
    EXPECT_EQ(trans->PasteFileFromClipBoard_GetPasteFolder(), nullptr);
  }
  {
    ViewOverFolders v({b});
    CBrowserDocument* doc = v.pDoc->GetBrowser();
    doc->EmptyContextMenuPosition();
    EXPECT_EQ(v.view->GetController()->PasteFileFromClipBoard_GetPasteFolder(), doc->GetPageList().GetPageAt(0));
  }
  for (auto& f : {a, b}) testsupport::RemoveTree(f);
}

}  // namespace
