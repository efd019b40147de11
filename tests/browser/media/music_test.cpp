// The music list in windows, driven by messages: the column header's clicks, drags and
// fits; rows in header order, keys, right presses and notices of the list; the row's play
// and stop buttons; and the music view over a folder of fixture sounds (listing, sorting,
// widths and sort kept in the profile, reload key, playing where a sound device is).
#include <gtest/gtest.h>

#include <VxDocument/BrowserDocument.h>
#include <VxDocument/Document.h>
#include <VxDocument/VxDocDefs.h>
#include <VxGUIDB/Thumbnail.h>
#include <VxGUIDB/ThumbnailPage.h>
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>
#include <Kitlib2/Profile.h>
#include <picture.h>
#include <profileroot.h>
#include <program.h>
#include <pump.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "AudioPlayer.h"
#include "MainWndMessages.h"
#include "MusicListRow.h"
#include "MusicListWnd.h"
#include "MusicView.h"

using testsupport::Fixture;
using testsupport::PumpPending;

namespace {

struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A top-level window that keeps the private notices it gets.
class CRecorder : public CWnd {
 public:
  std::vector<Seen> got;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message > WM_USER || message == WM_BROWSER_RELOAD || message == WM_REFRESH_FOLDERS)
      got.push_back({message, wParam, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<Seen> Take(UINT message) {
    PumpPending();
    std::vector<Seen> out;
    for (const Seen& s : got)
      if (s.message == message) out.push_back(s);
    return out;
  }
  bool Create(int cx, int cy) {
    return CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), "music host",
                    WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, cx, cy, nullptr, nullptr) != FALSE;
  }
};

LPARAM Pt(int x, int y) { return MAKELPARAM((WORD)(short)x, (WORD)(short)y); }

const UINT kHeaderParts[listheader::kPartImages] = {
    IDB_MUSIC_HEADER_BODY, IDB_MUSIC_HEADER_BODY_PRESSED, IDB_MUSIC_HEADER_LEFT, IDB_MUSIC_HEADER_LEFT_PRESSED,
    IDB_MUSIC_HEADER_RIGHT, IDB_MUSIC_HEADER_RIGHT_PRESSED, IDB_MUSIC_HEADER_DOWN, IDB_MUSIC_HEADER_DOWN_PRESSED,
    IDB_MUSIC_HEADER_UP, IDB_MUSIC_HEADER_UP_PRESSED};

void Click(CWnd& w, int x, int y) {
  w.SendMessage(WM_MOUSEMOVE, 0, Pt(x, y));
  w.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(x, y));
  w.SendMessage(WM_LBUTTONUP, 0, Pt(x, y));
}

TEST(MusicHeader, ClicksSortDragsResizeAndDoubleClicksFit) {
  CRecorder host;
  ASSERT_TRUE(host.Create(420, 60));
  CMusicListHeader header;
  ASSERT_TRUE(header.LoadImages(kHeaderParts, nullptr, 0));
  ASSERT_TRUE(header.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 20),
                              &host, 1));
  header.SetTopWindowCheck(FALSE);
  header.SetColumnHeaderLook(TRUE);
  header.SetNotifyWnd(host.m_hWnd);
  const CMusicListColumn columns[] = {{1, "Title", 150, TRUE, 1, DT_LEFT, 0},
                                      {2, "Time", 60, FALSE, 0, DT_RIGHT, 0},
                                      {3, "Size", 80, TRUE, 2, DT_RIGHT, 0}};
  for (int i = 0; i < 3; i++) EXPECT_EQ(header.InsertColumn(i, &columns[i]), i);
  EXPECT_EQ(header.InsertColumn(0, nullptr), -1);
  EXPECT_EQ(host.Take(UWM_HDR_COLINSERTED).size(), 3u);

  // A sortable column: the click, then the sort with its direction; a plain one: the click.
  Click(header, 50, 8);
  Click(header, 180, 8);
  auto clicks = host.Take(UWM_HDR_COLCLICK);
  auto sorts = host.Take(UWM_HEADER_SORT);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0].wParam, 0u);
  EXPECT_EQ(clicks[1].wParam, 1u);
  ASSERT_EQ(sorts.size(), 1u);
  EXPECT_EQ(sorts[0].wParam, 0u);
  EXPECT_EQ(sorts[0].lParam, 1);
  host.got.clear();

  // A double-click on a divider fits that column; the release after it clicks nothing.
  header.SendMessage(WM_MOUSEMOVE, 0, Pt(146, 8));
  EXPECT_EQ(header.GetHoverKind(), listheader::kHoverDivider);
  header.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, Pt(146, 8));
  header.SendMessage(WM_LBUTTONUP, 0, Pt(146, 8));
  ASSERT_EQ(host.Take(UWM_HDR_AUTOFIT).size(), 1u);
  EXPECT_EQ(host.Take(UWM_HDR_AUTOFIT)[0].wParam, 0u);
  EXPECT_EQ(host.Take(UWM_HDR_DBLCLK).size(), 1u);
  EXPECT_TRUE(host.Take(UWM_HDR_COLCLICK).empty());
  host.got.clear();

  // Dragging the divider past the column's left edge leaves it at 0, a width notice for
  // every step; the hidden column keeps a zone to be dragged open again.
  header.SendMessage(WM_MOUSEMOVE, 0, Pt(146, 8));
  header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(146, 8));
  EXPECT_TRUE(header.IsDragging());
  for (int x : {126, 0, -20}) header.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(x, 8));
  header.SendMessage(WM_LBUTTONUP, 0, Pt(-20, 8));
  EXPECT_FALSE(header.IsDragging());
  std::vector<int> widths;
  for (const Seen& s : host.Take(UWM_HDR_COLWIDTH)) widths.push_back((int)s.lParam);
  EXPECT_EQ(widths, (std::vector<int>{130, 4, 0}));
  EXPECT_EQ(header.GetColumnWidth(0), 0);
  EXPECT_TRUE(host.Take(UWM_HDR_COLCLICK).empty());
  ASSERT_FALSE(header.HiddenZones().empty());
  EXPECT_EQ(header.HiddenZones()[0].column, 0);
  header.SendMessage(WM_MOUSEMOVE, 0, Pt(3, 8));
  EXPECT_EQ(header.GetHoverKind(), listheader::kHoverHidden);
  header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(3, 8));
  header.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(43, 8));
  header.SendMessage(WM_LBUTTONUP, 0, Pt(43, 8));
  EXPECT_EQ(header.GetColumnWidth(0), 40);

  // Not resizable: no zones, so a press on a divider is a click on its column.
  header.SetResizable(FALSE);
  host.got.clear();
  Click(header, 40, 8);
  EXPECT_EQ(header.GetHoverKind(), listheader::kHoverNone);
  EXPECT_EQ(header.GetColumnWidth(0), 40);
  EXPECT_EQ(host.Take(UWM_HDR_COLCLICK).size(), 1u);
  // Scrolled by the list, the zones move with the columns.
  header.SetResizable(TRUE);
  header.SetOrigin(20, 0);
  header.SendMessage(WM_MOUSEMOVE, 0, Pt(15, 8));
  EXPECT_EQ(header.GetHoverKind(), listheader::kHoverDivider);
  header.SendMessage(WM_MOUSEMOVE, 0, Pt(35, 8));
  EXPECT_EQ(header.GetHoverKind(), listheader::kHoverNone);
  host.DestroyWindow();
}

// Each row shows "r<row>-<id>" in cells supplied in reverse column order.
int CALLBACK FillRow(int row, int, int, CSkinCtrlWnd* pRow, void* pContext) {
  auto* p = dynamic_cast<CListRowCtrl*>(pRow);
  if (!p) return 0;
  std::vector<CListRowCell> cells;
  for (int id : {3, 2, 1}) {
    CString text;
    text.Format("r%d-%d", row, id);
    cells.push_back({id, text, 0, DT_LEFT, 0, 0, -1});
  }
  p->SetSuppliedCells(cells);
  ++*static_cast<int*>(pContext);
  return 1;
}

struct ListHost {
  CRecorder host;
  CMusicListWnd list;
  int fills = 0;
  ListHost() {
    host.Create(420, 260);
    list.Create(WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 400, 240), &host, 1);
    list.SetOwnerWnd(host.m_hWnd);
    list.SetItemCallback(&FillRow, &fills);
    list.SetHeaderImages(kHeaderParts, nullptr, 0);
    CListRowCtrl row;
    row.SetTopWindowCheck(FALSE);
    row.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "", WS_CHILD, CRect(0, 0, 200, 20), &host, 3);
    list.SetCellFitMode(-1, 1);
    list.SetCellGaps(0, 0);
    list.SetHeaderCtrl(&row);
    row.DestroyWindow();
    const CMusicListColumn columns[] = {{1, "Title", 150, TRUE, 0, DT_LEFT, 0},
                                        {2, "Time", 60, TRUE, 0, DT_RIGHT, 0},
                                        {3, "Size", 80, TRUE, 0, DT_RIGHT, 0}};
    for (int i = 0; i < 3; i++) list.InsertColumn(i, &columns[i], TRUE);
    list.SetItemCount(30, FALSE);
    list.Relayout(0, TRUE);
    PumpPending();
    host.got.clear();
  }
  ~ListHost() { host.DestroyWindow(); }
  std::vector<int> Selection() {
    std::vector<int> s;
    list.GetSelection(s);
    return s;
  }
  int First() {
    int first, last;
    list.GetVisibleRange(&first, &last);
    return first;
  }
};

TEST(MusicList, RowsShowTheirCellsInHeaderOrderAndFollowColumnWidths) {
  ListHost h;
  ASSERT_GT(h.list.GetVisibleCount(), 3);
  CListRowCtrl* row = h.list.GetRow(2);
  ASSERT_NE(row, nullptr);
  const auto& cells = row->GetDisplayedCells();
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_STREQ(cells[0].text, "r2-1");
  EXPECT_STREQ(cells[2].text, "r2-3");
  EXPECT_EQ(cells[1].width, 60);
  EXPECT_EQ(cells[1].format, (UINT)DT_RIGHT);
  // A new column width reaches every row at once.
  h.list.GetHeader()->SetColumnWidth(1, 90);
  PumpPending();
  EXPECT_EQ(h.list.GetRow(2)->GetDisplayedCells()[1].width, 90);
  // A double-click on a divider fits its column to the widest text the rows drew.
  h.list.UpdateWindow();
  for (int i = 0; i < h.list.GetVisibleCount(); i++) h.list.GetRow(i)->Paint();
  int widest = h.list.GetColumnTextWidth(0);
  EXPECT_GT(widest, 8);
  EXPECT_LT(widest, 150);
  h.list.SendMessage(UWM_HDR_AUTOFIT, 0, 0);
  EXPECT_EQ(h.list.GetHeader()->GetColumnWidth(0), widest);
  EXPECT_EQ(h.list.GetRow(2)->GetDisplayedCells()[0].width, widest);
}

TEST(MusicList, KeysRightPressesAndRowNotices) {
  ListHost h;
  auto send = [&](UINT vk) { h.list.SendMessage(WM_KEYDOWN, vk, 0); };
  send(VK_END);
  EXPECT_EQ(h.Selection(), std::vector<int>{29});
  int first = h.First();
  EXPECT_GT(first, 0);  // scrolled so that the last row shows
  EXPECT_EQ(h.host.Take(UWM_LIST_ITEMCHANGE).size(), 1u);
  send(VK_UP);
  EXPECT_EQ(h.Selection(), std::vector<int>{28});
  send(VK_HOME);
  EXPECT_EQ(h.Selection(), std::vector<int>{0});
  EXPECT_EQ(h.First(), 0);
  // Left and right key-ups never reach the list.
  MSG up = {h.list.m_hWnd, WM_KEYUP, VK_LEFT, 0};
  EXPECT_TRUE(h.list.PreTranslateMessage(&up));

  // A right press on a row selects it alone; one on the list's own area clears.
  h.host.got.clear();
  h.list.SendMessage(UWM_ROW_CELLRDOWN, 0, (LPARAM)h.list.GetRow(3)->m_hWnd);
  EXPECT_EQ(h.Selection(), std::vector<int>{3});
  EXPECT_EQ(h.list.GetAnchorRow(), 3);
  EXPECT_EQ(h.host.Take(UWM_LIST_ITEMCHANGE).size(), 1u);
  h.list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, Pt(390, 230));
  EXPECT_TRUE(h.Selection().empty());
  EXPECT_EQ(h.host.Take(UWM_LIST_ITEMCHANGE).size(), 2u);
  // Also below the last row, on the canvas the rows stand on.
  h.list.SendMessage(UWM_ROW_CELLRDOWN, 0, (LPARAM)h.list.GetRow(3)->m_hWnd);
  CWnd* canvas = h.list.GetDlgItem(scrollpanel::kCanvasId);
  ASSERT_NE(canvas, nullptr);
  h.list.SetItemCount(2, TRUE);
  h.list.SetSelection({1});
  canvas->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, Pt(100, 150));
  EXPECT_TRUE(h.Selection().empty());
  h.list.SetItemCount(30, TRUE);

  // Notices of a row: its absolute row when scrolled; none from a window that is no row.
  send(VK_END);
  first = h.First();
  h.host.got.clear();
  HWND row2 = h.list.GetRow(2)->m_hWnd;
  h.list.SendMessage(WM_COMMAND, MAKEWPARAM(0, BN_DOUBLECLICKED), (LPARAM)row2);
  h.list.SendMessage(UWM_ROW_CHECKCLICK, 1, (LPARAM)row2);
  h.list.SendMessage(UWM_ROW_CHECKCLICK, 1, (LPARAM)h.host.m_hWnd);
  h.list.SendMessage(UWM_ROW_CELLRDOWN, 0, (LPARAM)h.host.m_hWnd);
  auto dbl = h.host.Take(UWM_LIST_ITEMDBLCLK);
  ASSERT_EQ(dbl.size(), 1u);
  EXPECT_EQ((int)dbl[0].wParam, first + 2);
  auto checks = h.host.Take(UWM_LIST_ITEMCHECK);
  ASSERT_EQ(checks.size(), 1u);
  EXPECT_EQ((int)checks[0].lParam, first + 2);
  EXPECT_TRUE(h.host.Take(UWM_ROW_CHECKCLICK).empty());  // turned into the list's own notice
  EXPECT_EQ(h.Selection(), std::vector<int>{first + 2});  // the stray right press changed nothing

  // An empty list: the keys select nothing and tell nothing.
  h.list.SetItemCount(0, TRUE);
  h.list.ClearSelection(TRUE, TRUE, FALSE);
  h.host.got.clear();
  for (UINT vk : {VK_DOWN, VK_UP, VK_HOME, VK_END, VK_NEXT, VK_PRIOR}) send(vk);
  EXPECT_TRUE(h.Selection().empty());
  EXPECT_TRUE(h.host.Take(UWM_LIST_ITEMCHANGE).empty());
}

TEST(MusicListRow, OneButtonShowsAndItFollowsThePlayingMark) {
  CRecorder host;
  ASSERT_TRUE(host.Create(320, 80));
  CMusicListRow tmpl;
  ASSERT_TRUE(tmpl.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "", WS_CHILD, CRect(0, 0, 300, 27), &host, 3));
  tmpl.m_pOwnerView = &host;
  tmpl.SetPlaying(TRUE);
  tmpl.SetTopWindowCheck(FALSE);
  std::unique_ptr<CMusicListRow> row(static_cast<CMusicListRow*>(tmpl.Clone(&host, 4)));
  ASSERT_NE(row, nullptr);
  EXPECT_TRUE(row->IsPlaying());
  EXPECT_EQ(row->GetCurrentButton(), &row->StopButton());
  row->SetCells({{1, "Title", 200, DT_LEFT, 0, 0, -1}, {2, "0:03", 100, DT_RIGHT, 0, 0, -1}});
  row->ShowWindow(SW_SHOW);
  row->Paint();
  EXPECT_TRUE(row->StopButton().IsWindowVisible());
  EXPECT_FALSE(row->PlayButton().IsWindowVisible());
  CRect button = row->GetButtonRect();
  EXPECT_EQ(button.top, 4);
  EXPECT_GT(button.Width(), 0);
  int measured = row->GetCellTextWidth(0);
  row->SetPlaying(FALSE);
  EXPECT_TRUE(row->PlayButton().IsWindowVisible());
  EXPECT_FALSE(row->StopButton().IsWindowVisible());
  EXPECT_GT(measured, button.Width());  // the title cell counts the button in

  // The play button asks the owner view to play this row.
  row->SendMessage(WM_COMMAND, MAKEWPARAM(CMusicListRow::kPlayId, BN_CLICKED), (LPARAM)row->PlayButton().m_hWnd);
  row->SendMessage(WM_COMMAND, MAKEWPARAM(CMusicListRow::kStopId, BN_CLICKED), (LPARAM)row->StopButton().m_hWnd);
  auto plays = host.Take(UWM_ROW_PLAY);
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].wParam, (WPARAM)row.get());
  EXPECT_EQ(host.Take(UWM_ROW_STOP).size(), 1u);

  // A row without a title cell shows no button.
  std::unique_ptr<CMusicListRow> plain(static_cast<CMusicListRow*>(tmpl.Clone(&host, 5)));
  plain->SetPlaying(FALSE);
  plain->SetCells({{2, "0:03", 100, DT_RIGHT, 0, 0, -1}});
  plain->ShowWindow(SW_SHOW);
  plain->Paint();
  EXPECT_FALSE(plain->PlayButton().IsWindowVisible());
  EXPECT_FALSE(plain->StopButton().IsWindowVisible());
  host.DestroyWindow();
}

TEST(MusicListRow, CellHitsAndTheCheckBox) {
  CRecorder host;
  ASSERT_TRUE(host.Create(320, 60));
  CListRowCtrl row;
  row.SetTopWindowCheck(FALSE);
  ASSERT_TRUE(row.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 20),
                           &host, 3));
  row.SetNotifyWnd(host.m_hWnd);
  row.SetCells({{1, "a", 100, DT_LEFT, 0, 0, -1}, {2, "b", 100, DT_LEFT, 0, 0, -1}});
  CImageList checks;
  ASSERT_TRUE(checks.Create(12, 12, ILC_COLOR24, 2, 0));
  CBitmap bmp;
  CClientDC dc(&host);
  bmp.CreateCompatibleBitmap(&dc, 24, 12);
  checks.Add(&bmp, (CBitmap*)nullptr);
  row.SetCheckImageList(1, &checks);
  row.Paint();
  CRect box = row.GetCheckRect();
  ASSERT_GT(box.Width(), 0);
  EXPECT_GE(box.left, 100);  // in the second cell
  // A disabled check box still tells of the press, with the flag as it was.
  row.EnableCheckBox(FALSE);
  row.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(box.left + 1, box.top + 1));
  auto clicks = host.Take(UWM_ROW_CHECKCLICK);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].wParam, 0u);
  EXPECT_EQ(row.GetState(), skinctrl::kNormal);  // no press look
  row.EnableCheckBox(TRUE);
  row.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(box.left + 1, box.top + 1));
  EXPECT_TRUE(row.IsChecked());
  // Per-cell hits off: every press is on cell 0, beyond the cells too.
  host.got.clear();
  row.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, Pt(150, 5));
  row.SetCellHitTest(FALSE);
  row.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, Pt(250, 5));
  auto downs = host.Take(UWM_ROW_CELLRDOWN);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].wParam, 1u);
  EXPECT_EQ(downs[1].wParam, 0u);
  row.DestroyWindow();
  host.DestroyWindow();
}

// The music view over a document whose first page is a music folder's (under the test's
// own profile root).
struct ViewHost {
  CRecorder host;
  CVxDocument* doc = nullptr;
  CMusicView* view = nullptr;
  CWnd* oldMain = nullptr;
  explicit ViewHost(const std::vector<std::string>& files) {
    host.Create(640, 300);
    doc = static_cast<CVxDocument*>(RUNTIME_CLASS(CVxDocument)->CreateObject());
    doc->m_bAutoDelete = FALSE;  // the test deletes it
    doc->GetBrowser()->SetViewMode(BROWSE_VIEW_MUSIC);
    CThumbnailPage* page = new CThumbnailPage(VXPAGE_VIRTUAL, 1);
    page->SetGroupInfo(CThumbnailGroupInfo(5, "C:\\music\\"));
    for (const std::string& f : files) page->Add(Fixture(f).c_str(), 1);
    doc->GetBrowser()->GetPageList().AddPage(page);
    view = static_cast<CMusicView*>(RUNTIME_CLASS(CMusicView)->CreateObject());
    CCreateContext context;
    context.m_pCurrentDoc = doc;
    view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 620, 280), &host, 3, &context);
    view->SendMessage(WM_INITIALUPDATE);
    oldMain = AfxGetThread()->m_pMainWnd;
    AfxGetThread()->m_pMainWnd = &host;
  }
  ~ViewHost() {
    AfxGetThread()->m_pMainWnd = oldMain;
    host.DestroyWindow();  // the view goes with it
    delete doc;
  }
  void Enable() {
    doc->UpdateAllViews(nullptr, VXHINT_ENABLE, nullptr);
    PumpPending();
  }
  CListRowCtrl* Row(int i) { return view->GetList()->GetRow(i); }
  std::string Title(int row) {
    CThumbnail* p = view->GetThumbnail(row);
    return p ? std::string(p->GetMusicInfo(0)->GetTitle()) : "";
  }
};

const std::vector<std::string> kSounds = {"tone.wav", "tagged.mp3", "tone.mp3"};

TEST(MusicView, ListsTheFolderInFourColumnsAndSortsByAClickedColumn) {
  testsupport::ScopedProfileRoot profile("music-sort");
  ViewHost h(kSounds);
  ASSERT_NE(h.view->GetList(), nullptr);
  CMusicListHeader* header = h.view->GetList()->GetHeader();
  ASSERT_NE(header, nullptr);
  ASSERT_EQ(header->GetColumnCount(), 4);
  EXPECT_EQ(header->GetColumnWidth(0), 300);  // nothing stored: the defaults
  EXPECT_EQ(header->GetColumnWidth(3), 150);
  // The sizing cursors are the resource library's.
  for (int i : {1, 2}) {
    CResourceChanger change;
    const UINT id = i == 1 ? IDCUR_MUSIC_DIVIDER : IDCUR_MUSIC_HIDDEN_COLUMN;
    HCURSOR own = (HCURSOR)LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_CURSOR, 0, 0,
                                      LR_DEFAULTSIZE | LR_SHARED);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own, header->GetCursor(i));
  }
  h.Enable();
  ASSERT_EQ(h.view->GetList()->GetTotalCount(), 3);
  for (int i = 0; i < 3; i++) ASSERT_NE(h.Row(i), nullptr);
  EXPECT_STREQ(h.Row(0)->GetCellText(0), h.Title(0).c_str());
  EXPECT_FALSE(h.Row(0)->GetCellText(3).IsEmpty());  // the size
  EXPECT_EQ(h.Row(0)->GetBackColor(CListRowCtrl::kLookNormal), RGB(241, 240, 236));
  EXPECT_EQ(h.Row(1)->GetBackColor(CListRowCtrl::kLookNormal), RGB(255, 255, 255));
  EXPECT_EQ(h.view->GetThumbnail(3), nullptr);  // past the page

  // Entering the mode with nothing stored shows no arrow. A click on the title (mark 0)
  // sorts ascending, a second (mark 1) descending; the profile follows at once.
  for (int i = 0; i < 4; i++) EXPECT_EQ(header->Columns()[i].sortDir, 0);
  h.view->SendMessage(UWM_HEADER_SORT, 0, 0);
  std::vector<std::string> up = {h.Title(0), h.Title(1), h.Title(2)};
  EXPECT_TRUE(std::is_sorted(up.begin(), up.end())) << up[0] << "," << up[1] << "," << up[2];
  EXPECT_EQ(header->Columns()[0].sortDir, 1);
  EXPECT_EQ(CMGetProfileInt("ListInfo", "sort", -1), 1);
  EXPECT_EQ(CMGetProfileInt("ListInfo", "sortindex", -1), 0);
  EXPECT_STREQ(h.Row(0)->GetCellText(0), h.Title(0).c_str());  // the rows were filled again

  // The selected file stays selected at its new place.
  const std::string chosen = h.Title(2);
  h.view->SendMessage(UWM_LIST_ITEMPRESS, 2, 0);
  EXPECT_TRUE(h.view->IsDragArmed());
  h.view->SendMessage(UWM_HEADER_SORT, 0, 1);
  EXPECT_EQ(header->Columns()[0].sortDir, 2);
  std::vector<int> sel;
  h.view->GetList()->GetSelection(sel);
  ASSERT_EQ(sel.size(), 1u);
  EXPECT_EQ(h.Title(sel[0]), chosen);
  EXPECT_EQ(sel[0], 0);  // the greatest title, first when descending
  EXPECT_EQ(CMGetProfileInt("ListInfo", "sort", -1), 2);
  // Another column's click sorts it ascending and clears the title's arrow.
  h.view->SendMessage(UWM_HEADER_SORT, 3, 2);
  EXPECT_EQ(header->Columns()[0].sortDir, 0);
  EXPECT_EQ(header->Columns()[3].sortDir, 1);
  EXPECT_EQ(CMGetProfileInt("ListInfo", "sortindex", -1), 3);
}

// M4A and WMA rows show their playing time and sort by it with the others (the time
// column, mark 1, sorts by the time's sort text, in milliseconds).
TEST(MusicView, M4aAndWmaRowsShowTheirTimeAndSortByIt) {
  testsupport::ScopedProfileRoot profile("music-time");
  // 2.5 s, 1.2 s, 3 s, 1 s.
  ViewHost h({"music.m4a", "music.wma", "tagged.mp3", "tone.wav"});
  h.Enable();
  ASSERT_EQ(h.view->GetList()->GetTotalCount(), 4);
  h.view->SendMessage(UWM_HEADER_SORT, 1, 0);
  const char* kOrder[] = {"tone.wav", "music.wma", "music.m4a", "tagged.mp3"};
  const char* kTimes[] = {"0:01", "0:01", "0:02", "0:03"};
  for (int i = 0; i < 4; i++) {
    CThumbnail* p = h.view->GetThumbnail(i);
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(kOrder[i], p->GetFileName()) << i;
    ASSERT_NE(h.Row(i), nullptr);
    EXPECT_STREQ(kTimes[i], h.Row(i)->GetCellText(1)) << kOrder[i];
  }
  EXPECT_STREQ("M4A 96kbps", h.Row(2)->GetCellText(2));
  EXPECT_STREQ("WMA 64kbps", h.Row(1)->GetCellText(2));
}

// The list as it shows: the header's parts, the rows' alternating backgrounds, their text
// and each title cell's play button (saved as music_list.png).
TEST(MusicView, PictureOfTheList) {
  testsupport::ScopedProfileRoot profile("music-picture");
  ViewHost h(kSounds);
  h.Enable();
  h.view->SendMessage(UWM_HEADER_SORT, 0, 0);
  testsupport::Picture pic(h.view->m_hWnd, testsupport::Picture::kClient);
  pic.Save("music_list");
  const CRect header(0, 0, 600, 20), rows(0, 20, 600, 100), titles(0, 20, 300, 100);
  EXPECT_GT(pic.CountNear(header, RGB(236, 237, 237), 16), 4000);
  EXPECT_GT(pic.CountDark(header, 300), 20);  // the titles
  EXPECT_GT(pic.Count(rows, RGB(241, 240, 236)), 4000);  // rows 0 and 2
  EXPECT_GT(pic.Count(rows, RGB(255, 255, 255)), 4000);  // row 1
  EXPECT_GT(pic.CountNear(titles, RGB(0, 54, 99), 40), 30);  // row text
  EXPECT_GT(pic.CountNear(titles, RGB(30, 104, 144), 40), 60);  // the play buttons
}

// The list's notices carry pointers: the view reads its own list instead, so a stray
// notice with any value selects what the list holds.
TEST(MusicView, NoticesAreReadFromTheListNotFromTheirPointers) {
  testsupport::ScopedProfileRoot profile("music-notices");
  ViewHost h(kSounds);
  h.Enable();
  CBrowserDocument* doc = h.doc->GetBrowser();
  h.view->SendMessage(UWM_LIST_ITEMCHANGE, 0x1234, 0);
  EXPECT_EQ(doc->GetSelectCount(), 0);
  h.view->GetList()->SetSelection({1});
  h.view->SendMessage(UWM_LIST_ITEMCHANGE, 0x1234, 0);
  ASSERT_EQ(doc->GetSelectCount(), 1);
  EXPECT_EQ(doc->GetLastSelectedItem(), h.view->GetThumbnail(1));
  h.view->SendMessage(UWM_ROW_PLAY, 0x1234, 0);  // no row of the list: row -1, refused
  EXPECT_FALSE(h.view->IsPlaying());
  // A drag's block: the path with its NUL in 261 zeroed bytes; nothing for a longer path.
  HGLOBAL block = MusicDragBlock("C:\\music\\a.mp3");
  ASSERT_NE(block, nullptr);
  EXPECT_GE(GlobalSize(block), 261u);
  const char* p = static_cast<const char*>(GlobalLock(block));
  EXPECT_STREQ(p, "C:\\music\\a.mp3");
  EXPECT_EQ(p[260], 0);
  GlobalUnlock(block);
  GlobalFree(block);
  EXPECT_EQ(MusicDragBlock(std::string(261, 'a').c_str()), nullptr);
  EXPECT_EQ(MusicDragBlock(nullptr), nullptr);
}

TEST(MusicView, WidthsSurviveTheViewAndF5AsksForAReload) {
  testsupport::ScopedProfileRoot profile("music-widths");
  CMWriteProfileInt("ListInfo", "title", 0);  // a stored 0 gives the default
  CMWriteProfileInt("ListInfo", "time", 77);
  {
    ViewHost h(kSounds);
    CMusicListHeader* header = h.view->GetList()->GetHeader();
    EXPECT_EQ(header->GetColumnWidth(0), 300);
    EXPECT_EQ(header->GetColumnWidth(1), 77);
    header->SetColumnWidth(2, 66);
    // F5 goes to the main window as a reload request and stops there.
    MSG f5 = {h.view->GetList()->m_hWnd, WM_KEYDOWN, VK_F5, 0};
    EXPECT_TRUE(h.view->PreTranslateMessage(&f5));
    auto reloads = h.host.Take(WM_BROWSER_RELOAD);
    ASSERT_EQ(reloads.size(), 1u);
    EXPECT_EQ((HWND)reloads[0].wParam, h.view->m_hWnd);
  }
  EXPECT_EQ(CMGetProfileInt("ListInfo", "format", 0), 66);
  EXPECT_EQ(CMGetProfileInt("ListInfo", "time", 0), 77);
}

// Reload, a folder change and leaving the music mode empty or refill the list.
TEST(MusicView, ReloadFolderChangeAndOtherModes) {
  testsupport::ScopedProfileRoot profile("music-reload");
  CMWriteProfileInt("ListInfo", "sort", 2);  // the stored sort applies on reload
  CMWriteProfileInt("ListInfo", "sortindex", 0);
  ViewHost h(kSounds);
  h.Enable();
  CMusicListWnd* list = h.view->GetList();
  ASSERT_EQ(list->GetTotalCount(), 3);
  EXPECT_EQ(list->GetHeader()->Columns()[0].sortDir, 2);
  std::vector<std::string> down = {h.Title(0), h.Title(1), h.Title(2)};
  EXPECT_TRUE(std::is_sorted(down.rbegin(), down.rend()));
  h.view->SendMessage(WM_BROWSER_BEFORE_FOLDER_CHANGE, 0, 0);
  EXPECT_EQ(list->GetTotalCount(), 0);
  list->SetSelection({1});
  h.host.got.clear();
  h.view->SendMessage(WM_BROWSER_RELOAD, 0, 0);
  EXPECT_EQ(list->GetTotalCount(), 3);
  std::vector<int> sel;
  list->GetSelection(sel);
  EXPECT_TRUE(sel.empty());
  auto refresh = h.host.Take(WM_REFRESH_FOLDERS);
  ASSERT_EQ(refresh.size(), 1u);  // posted to the main window
  EXPECT_EQ((HWND)refresh[0].wParam, h.view->m_hWnd);
  // Out of the music mode the enable hint empties the list; a reload does nothing.
  h.doc->GetBrowser()->SetViewMode(BROWSE_VIEW_LARGEICON);
  h.Enable();
  EXPECT_EQ(list->GetTotalCount(), 0);
  h.view->SendMessage(WM_BROWSER_RELOAD, 0, 0);
  EXPECT_EQ(list->GetTotalCount(), 0);
  EXPECT_EQ(h.view->GetIndex(h.view->GetThumbnail(0)->GetFilePath()), -1);  // only in the music mode
}

TEST(MusicView, PlaysARowAndMarksIt) {
  testsupport::ScopedProfileRoot profile("music-play");
  ViewHost h(kSounds);
  h.Enable();
  EXPECT_EQ(h.view->PlayMusic(3), E_FAIL);
  EXPECT_EQ(h.view->PlayMusic(-1), E_FAIL);
  int wav = -1;
  for (int i = 0; i < 3 && wav < 0; i++)
    if (std::string(h.view->GetThumbnail(i)->GetFileName()) == "tone.wav") wav = i;
  ASSERT_GE(wav, 0);
  HRESULT hr = h.view->PlayMusic(wav);
  // The prefix's sound goes to a device that takes it (the null device without a card).
  ASSERT_TRUE(SUCCEEDED(hr)) << "the file does not render (" << std::hex << hr << ")";
  EXPECT_TRUE(h.view->IsPlaying());
  EXPECT_TRUE(static_cast<CMusicListRow*>(h.Row(wav))->IsPlaying());
  // The end of the 1 s tone clears the mark within the timer's half second; nothing follows.
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !h.view->IsPlaying(); }, 4000));
  EXPECT_FALSE(static_cast<CMusicListRow*>(h.Row(wav))->IsPlaying());
}

}  // namespace
