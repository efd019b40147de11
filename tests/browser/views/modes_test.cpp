// The view modes in windows: the controller's switch between icons, the details list and
// focus mode over the icon view, and the base view's four windows with its notices to the
// main window.
#include <gtest/gtest.h>

#include <BrowserBaseView.h>
#include <MainWndMessages.h>
#include <ThumbToolTip.h>
#include <fw/threadtip.h>
#include <VxResourceIds.h>
#include <VxGUITrans.h>
#include <pump.h>

#include <algorithm>
#include <deque>
#include <functional>

#include "iconview_host.h"

namespace {

const std::vector<const char*> kPictures = {"exif_full.jpg", "exif_le.jpg", "people.jpg", "plain.jpg", "rose.jpg"};

CListCtrl* DetailsList(CIconView* view);

// The icon view over a fixture folder with its controller and details list. The browse
// mode is kept in the profile for the next document: it leaves large icons.
struct ModesHost {
  std::string folder;
  ViewOverFolders v;
  CVxGUITrans* trans;
  CListCtrl* list;
  ModesHost(const char* tag, const std::vector<const char*>& files)
      : folder(FixtureFolder(tag, files)),
        v({folder}),
        trans(v.view ? v.view->GetController() : nullptr),
        list(v.view ? DetailsList(v.view) : nullptr) {}
  ~ModesHost() {
    if (trans) trans->OnModeChange(CGVIEW_LARGEICON);
  }
};

// The details list through its window (the control itself is the library's own).
CListCtrl* DetailsList(CIconView* view) {
  return DYNAMIC_DOWNCAST(CListCtrl, CWnd::FromHandlePermanent(::GetDlgItem(view->GetSafeHwnd(), IDC_DETAILS_LIST)));
}

// The entry shown in a row: the icon view's item whose list ID is that row.
CThumbnail* RowEntry(const ViewOverFolders& v, int row) {
  for (DWORD id : v.view->GetDisplayList())
    if (v.view->GetThumbnail(id)->GetUniqueID(VXID_SLOT_LIST) == (DWORD)row) return v.view->GetThumbnail(id);
  return nullptr;
}

// Row = list ID = place in the icon view's display order.
void ExpectRowsInDisplayOrder(const ViewOverFolders& v) {
  const auto& order = v.view->GetDisplayList();
  for (size_t i = 0; i < order.size(); ++i)
    EXPECT_EQ(v.view->GetThumbnail(order[i])->GetUniqueID(VXID_SLOT_LIST), (DWORD)i);
}

TEST(ViewModes, DetailsListFollowsTheIconViewAndFillsItsColumns) {
  ModesHost h("modes-details", kPictures);
  ASSERT_NE(h.v.view, nullptr);
  ViewOverFolders& v = h.v;
  CVxGUITrans* trans = h.trans;
  const std::string& folder = h.folder;
  CListCtrl* list = h.list;
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(list->GetSafeHwnd());
  EXPECT_FALSE(list->IsWindowVisible());

  trans->OnModeChange(CGVIEW_FILEINFO);
  EXPECT_TRUE(trans->IsFileInfoMode());
  EXPECT_TRUE(list->IsWindowVisible());
  ASSERT_EQ(list->GetItemCount(), 5);
  ExpectRowsInDisplayOrder(v);
  EXPECT_EQ(list->GetHeaderCtrl()->GetItemCount(), 8);

  // Column 0 is the name at once; the folder column comes from the worker.
  EXPECT_EQ(std::string(list->GetItemText(0, 0)), std::string(RowEntry(v, 0)->GetDisplayName()));
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !list->GetItemText(4, 1).IsEmpty(); }, 5000));
  CString shown = list->GetItemText(4, 1);
  EXPECT_EQ(std::string(shown), folder) << "the folder without its final backslash";
  EXPECT_FALSE(list->GetItemText(4, 4).IsEmpty());  // size

  // The audio information mode sets its columns but answers no texts.
  trans->OnModeChange(CGVIEW_AUDIOINFO);
  EXPECT_TRUE(trans->IsAudioInfoMode());
  EXPECT_EQ(list->GetHeaderCtrl()->GetItemCount(), 10);
  EXPECT_TRUE(list->GetItemText(0, 0).IsEmpty());

  // After a sort by name, descending, rows follow the icon view and list IDs equal rows.
  trans->OnModeChange(CGVIEW_FILEINFO);
  trans->Sort(20, TRUE);
  ExpectRowsInDisplayOrder(v);
  EXPECT_STREQ(RowEntry(v, 0)->GetFileName(), "rose.jpg");
  trans->SetSortType(11);  // the sort is kept in the profile: the default again
  EXPECT_STREQ(list->GetItemText(0, 0), RowEntry(v, 0)->GetDisplayName());

  // The row under the cursor shows five lines of its entry in a tip.
  CRect row;
  ASSERT_TRUE(list->GetItemRect(0, &row, LVIR_BOUNDS));
  CPoint at = row.CenterPoint();
  list->ClientToScreen(&at);
  ::SetCursorPos(at.x, at.y);
  NMTTDISPINFOA tip = {};
  tip.hdr.code = TTN_NEEDTEXTA;
  ASSERT_EQ(list->SendMessage(WM_NOTIFY, 0, (LPARAM)&tip), 0);
  ASSERT_NE(tip.lpszText, nullptr);
  std::string text = tip.lpszText;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4) << text;
  EXPECT_EQ(text.find(std::string(": ") + (LPCSTR)RowEntry(v, 0)->GetDisplayName()), text.find(": ")) << text;

  trans->OnModeChange(CGVIEW_LARGEICON);
  EXPECT_TRUE(trans->IsLargeIconMode());
  EXPECT_FALSE(list->IsWindowVisible());
}

TEST(ViewModes, ACheckBoxOfASelectedRowMarksEverySelectedRow) {
  ModesHost h("modes-check", kPictures);
  ASSERT_NE(h.v.view, nullptr);
  ViewOverFolders& v = h.v;
  CVxGUITrans* trans = h.trans;
  CListCtrl* list = h.list;
  trans->OnModeChange(CGVIEW_FILEINFO);
  ASSERT_EQ(list->GetItemCount(), 5);
  for (int r : {1, 2, 4}) list->SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
  uikit::PumpPending();
  // The list's selection reaches the document.
  EXPECT_EQ(v.pDoc->GetBrowser()->GetSelectCount(), 3);
  CRect row;
  ASSERT_TRUE(list->GetItemRect(2, &row, LVIR_BOUNDS));
  CPoint at(row.left + 8, row.CenterPoint().y);
  list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  list->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  uikit::PumpPending();
  for (int r = 0; r < 5; ++r) EXPECT_EQ(RowEntry(v, r)->GetMarkStatus(1), (r == 1 || r == 2 || r == 4) ? 1 : 0) << r;
  // Unselected row: only itself.
  ASSERT_TRUE(list->GetItemRect(0, &row, LVIR_BOUNDS));
  at = CPoint(row.left + 8, row.CenterPoint().y);
  list->SetItemState(-1, 0, LVIS_SELECTED);
  list->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(at.x, at.y));
  list->SendMessage(WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(at.x, at.y));
  uikit::PumpPending();
  EXPECT_EQ(RowEntry(v, 0)->GetMarkStatus(1), 1);
  EXPECT_EQ(RowEntry(v, 1)->GetMarkStatus(1), 1);
  v.pDoc->GetBrowser()->ClearMark();
}

// The details list is a virtual list: a label edit there names its row's file.
TEST(ViewModes, ARowsLabelEditRenamesItsFile) {
  ModesHost h("modes-rename", {"plain.jpg", "rose.jpg"});
  ASSERT_NE(h.v.view, nullptr);
  ViewOverFolders& v = h.v;
  CVxGUITrans* trans = h.trans;
  const std::string& folder = h.folder;
  CListCtrl* list = h.list;
  trans->OnModeChange(CGVIEW_FILEINFO);
  ASSERT_EQ(list->GetItemCount(), 2);
  list->SetFocus();
  CEdit* edit = list->EditLabel(1);
  ASSERT_NE(edit, nullptr);
  std::string old = (LPCSTR)RowEntry(v, 1)->GetFileName();
  edit->SetWindowText("renamed.jpg");
  edit->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  uikit::PumpPending();
  EXPECT_EQ(::GetFileAttributesA((folder + "\\" + old).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(::GetFileAttributesA((folder + "\\renamed.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
  // The entry follows (a sort may have moved it to another row).
  std::vector<std::string> names;
  for (int r = 0; r < 2; ++r) names.push_back((LPCSTR)RowEntry(v, r)->GetFileName());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{old == "plain.jpg" ? "renamed.jpg" : "plain.jpg",
                                             old == "rose.jpg" ? "renamed.jpg" : "rose.jpg"}));
}

// Paints of the details list, counted in front of its own procedure.
WNDPROC g_listProc = nullptr;
int g_listPaints = 0;
LRESULT CALLBACK CountPaints(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++g_listPaints;
  return ::CallWindowProcA(g_listProc, hWnd, message, wParam, lParam);
}

// The mark commands, a cut and a copy after it repaint a shown details list before they
// return: its check boxes and faded pictures are right at once, not at some later paint.
TEST(ViewModes, MarkCommandsAndCutRepaintTheDetailsListAtOnce) {
  ModesHost h("modes-repaint", kPictures);
  ASSERT_NE(h.v.view, nullptr);
  CVxGUITrans* trans = h.trans;
  CListCtrl* list = h.list;
  trans->OnModeChange(CGVIEW_FILEINFO);
  ASSERT_TRUE(list->IsWindowVisible());
  list->SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  list->SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  uikit::PumpPending();
  ASSERT_EQ(h.v.pDoc->GetBrowser()->GetSelectCount(), 2);
  // The icon view's own repaint must not stand in for the list's: clipped, it leaves the
  // list alone (as a parent's repaint does on Windows, whatever its style).
  h.v.view->ModifyStyle(0, WS_CLIPCHILDREN);
  g_listProc = (WNDPROC)::SetWindowLongPtrA(list->GetSafeHwnd(), GWLP_WNDPROC, (LONG_PTR)&CountPaints);
  struct {
    const char* what;
    std::function<void()> run;
  } steps[] = {
      {"toggle the marks", [&] { trans->MarkSelectToggle(); }},
      {"clear the marks", [&] { trans->MarkAllUnCheck(); }},
      {"cut", [&] { trans->CutSelectFiles(); }},
      {"copy after the cut", [&] { trans->CopySelectFilesToClipBoard(); }},
  };
  for (size_t i = 0; i < sizeof(steps) / sizeof(steps[0]); ++i) {
    auto& step = steps[i];
    uikit::PumpPending();
    ASSERT_FALSE(::GetUpdateRect(list->GetSafeHwnd(), nullptr, FALSE)) << step.what;
    g_listPaints = 0;
    step.run();
    EXPECT_GT(g_listPaints, 0) << step.what;
    EXPECT_FALSE(::GetUpdateRect(list->GetSafeHwnd(), nullptr, FALSE)) << step.what;
    if (i == 0) { EXPECT_EQ(RowEntry(h.v, 0)->GetMarkStatus(1), 1); }
  }
  ::SetWindowLongPtrA(list->GetSafeHwnd(), GWLP_WNDPROC, (LONG_PTR)g_listProc);
  h.v.pDoc->GetBrowser()->ClearMark();
}

// The details list's parent, answering the list's question for a row's entry in front of
// its own procedure when the test names one.
WNDPROC g_parentProc = nullptr;
CThumbnail* g_answer = nullptr;
int g_asked = 0;
LRESULT CALLBACK AnswerEntry(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  NMLVDISPINFOA* p = reinterpret_cast<NMLVDISPINFOA*>(lParam);
  if (message == WM_NOTIFY && p && p->hdr.idFrom == IDC_DETAILS_LIST && p->hdr.code == LVN_GETDISPINFOA &&
      (p->item.mask & LVIF_PARAM)) {
    ++g_asked;
    if (g_answer) {
      p->item.lParam = (LPARAM)g_answer;
      return 0;
    }
  }
  return ::CallWindowProcA(g_parentProc, hWnd, message, wParam, lParam);
}

std::string ListTip(CListCtrl* list) {
  NMTTDISPINFOA tip = {};
  tip.hdr.code = TTN_NEEDTEXTA;
  if (list->SendMessage(WM_NOTIFY, 0, (LPARAM)&tip) != 0 || !tip.lpszText) return "<none>";
  return tip.lpszText;
}

// The details list's tip asks its parent for the row's entry, as the list asks for its
// texts: what the parent names is what the tip shows.
TEST(ViewModes, TheDetailsListsTipShowsTheEntryItsParentNames) {
  ModesHost h("modes-listtip", kPictures);
  ASSERT_NE(h.v.view, nullptr);
  CListCtrl* list = h.list;
  h.trans->OnModeChange(CGVIEW_FILEINFO);
  CRect row;
  ASSERT_TRUE(list->GetItemRect(0, &row, LVIR_BOUNDS));
  CPoint at = row.CenterPoint();
  list->ClientToScreen(&at);
  ::SetCursorPos(at.x, at.y);
  HWND hParent = ::GetParent(list->GetSafeHwnd());
  g_parentProc = (WNDPROC)::SetWindowLongPtrA(hParent, GWLP_WNDPROC, (LONG_PTR)&AnswerEntry);
  g_asked = 0;
  g_answer = nullptr;
  std::string own = ListTip(list);
  EXPECT_GT(g_asked, 0);
  EXPECT_NE(own.find(std::string(": ") + (LPCSTR)RowEntry(h.v, 0)->GetDisplayName() + "\n"), std::string::npos) << own;
  g_answer = RowEntry(h.v, 3);
  std::string named = ListTip(list);
  EXPECT_NE(named.find(std::string(": ") + (LPCSTR)RowEntry(h.v, 3)->GetDisplayName() + "\n"), std::string::npos)
      << named;
  ::SetWindowLongPtrA(hParent, GWLP_WNDPROC, (LONG_PTR)g_parentProc);
  g_answer = nullptr;
}

TEST(ViewModes, FocusModeSelectsOneImageAndARepeatOnlyResetsTheLayout) {
  ModesHost h("modes-focus", kPictures);
  ASSERT_NE(h.v.view, nullptr);
  ViewOverFolders& v = h.v;
  CVxGUITrans* trans = h.trans;
  CBrowserDocument* doc = v.pDoc->GetBrowser();
  v.Click(v.IdAt(1));
  v.Click(v.IdAt(3), MK_CONTROL);
  ASSERT_EQ(doc->GetSelectCount(), 2);
  trans->OnModeChange(CGVIEW_FOCUS);
  EXPECT_TRUE(trans->IsFocusMode());
  // The last selected picture stays, alone.
  EXPECT_EQ(v.Selected(), (std::vector<int>{3}));
  trans->OnModeChange(CGVIEW_FOCUSINFO);  // information only while in focus: no pipeline
  EXPECT_TRUE(trans->IsFocusMode());
  EXPECT_EQ(v.Selected(), (std::vector<int>{3}));
  trans->OnModeChange(CGVIEW_SMALLICON);
  EXPECT_TRUE(trans->IsSmallIconMode());
  // Out of focus mode the view selects several items again.
  v.Click(v.IdAt(0), MK_CONTROL);
  EXPECT_EQ(v.Selected(), (std::vector<int>{0, 3}));
  trans->OnModeChange(99);  // no such mode: nothing changes
  EXPECT_TRUE(trans->IsSmallIconMode());
}

// ---- The base view ----------------------------------------------------------------------------
// The main window stand-in: records 1864 and 1306.
class CRecorderWnd : public CWnd {
 public:
  std::vector<std::pair<WPARAM, LPARAM>> modes, created, progress, counts;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_VIEW_MODE_CHANGED) modes.push_back({wParam, lParam});
    if (message == WM_STATUS_PROGRESS) progress.push_back({wParam, lParam});
    if (message == WM_STATUS_FILE_COUNT) counts.push_back({wParam, lParam});
    if (message == WM_CHILD_WINDOW_CREATED) created.push_back({wParam, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

struct BaseHost {
  CVxDocument* pDoc = nullptr;
  testsupport::CViewFrame* pFrame = nullptr;
  CBrowserBaseView* base = nullptr;
  CWnd thumbs;
  CRecorderWnd main;
  CWnd* oldMain = nullptr;

  BaseHost() {
    main.CreateEx(0, "STATIC", "main", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0);
    oldMain = AfxGetThread()->m_pMainWnd;
    AfxGetThread()->m_pMainWnd = &main;
    pDoc = DYNAMIC_DOWNCAST(CVxDocument, RUNTIME_CLASS(CVxDocument)->CreateObject());
    pDoc->OnNewDocument();
    pFrame = testsupport::CreateViewFrame(pDoc, RUNTIME_CLASS(CBrowserBaseView), "base", WS_POPUP | WS_VISIBLE,
                                          CRect(0, 0, 400, 300));
    if (!pFrame) return;
    base = static_cast<CBrowserBaseView*>(pFrame->GetView());
    // The thumbnail side stands first among the base view's children, as the main frame makes it.
    thumbs.Create("STATIC", "thumbs", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), base, 100);
    base->OnInitialUpdate();
    base->ChangeView(CGVIEW_LARGEICON);
  }
  ~BaseHost() {
    // The browse mode outlives the document in the profile: leave large icons.
    if (pDoc) pDoc->GetBrowser()->SetViewMode(BROWSE_VIEW_LARGEICON);
    if (pFrame) pFrame->DestroyWindow();
    AfxGetThread()->m_pMainWnd = oldMain;
    main.DestroyWindow();
    uikit::PumpPending();
  }
  // Which of the four windows shows: "T", "M", "D", "U" (music), joined.
  std::string Shown() const {
    std::string s;
    if (thumbs.IsWindowVisible()) s += "T";
    if (base->GetMonthView()->IsWindowVisible()) s += "M";
    if (base->GetDayView()->IsWindowVisible()) s += "D";
    if (base->GetMusicView()->IsWindowVisible()) s += "U";
    return s;
  }
};

TEST(BaseView, MakesItsThreeViewsAndShowsOneWindowPerCode) {
  BaseHost h;
  ASSERT_NE(h.base, nullptr);
  ASSERT_NE(h.base->GetMonthView(), nullptr);
  ASSERT_NE(h.base->GetDayView(), nullptr);
  ASSERT_NE(h.base->GetMusicView(), nullptr);
  EXPECT_EQ(h.base->GetMonthView()->GetDlgCtrlID(), 2);
  EXPECT_EQ(h.base->GetDayView()->GetDlgCtrlID(), 1);
  EXPECT_EQ(h.base->GetMusicView()->GetDlgCtrlID(), 3);
  ASSERT_EQ(h.main.created.size(), 1u);
  EXPECT_EQ((HWND)h.main.created[0].first, h.base->GetSafeHwnd());
  EXPECT_EQ(h.main.created[0].second, 7);
  // Every window covers the base view.
  CRect rc;
  h.base->GetMusicView()->GetWindowRect(&rc);
  CRect rcBase;
  h.base->GetClientRect(&rcBase);
  EXPECT_EQ(rc.Size(), rcBase.Size());

  struct {
    int code;
    const char* shown;
    int current;
    UINT browse;  // 0: the document's mode is not the base view's to set
  } steps[] = {
      {CGVIEW_LARGEICON, "T", 2, 0},  // already current: nothing, no notice
      {CGVIEW_FILEINFO, "T", 2, 0},   // notice only
      {CGVIEW_MUSIC, "U", 12, BROWSE_VIEW_MUSIC},
      {CGVIEW_DAY, "D", 11, BROWSE_VIEW_DAY},
      {CGVIEW_MONTH, "M", 10, BROWSE_VIEW_MONTH},
      {CGVIEW_FOCUS, "T", 5, 0},
      {CGVIEW_SMALLICON, "T", 1, 0},
  };
  h.main.modes.clear();
  size_t notices = 0;
  for (auto& s : steps) {
    SCOPED_TRACE(s.code);
    BOOL repeat = s.code == CBrowserBaseView::GetCurrentViewCode();
    ::InterlockedExchange(CBrowserBaseView::GetCancelFlag(), 0);
    h.base->ChangeView(s.code);
    uikit::PumpPending();
    EXPECT_EQ(h.Shown(), s.shown);
    EXPECT_EQ(CBrowserBaseView::GetCurrentViewCode(), s.current);
    if (s.browse) { EXPECT_EQ((UINT)h.pDoc->GetBrowser()->GetViewMode(), s.browse); }
    if (!repeat) ++notices;
    EXPECT_EQ(*CBrowserBaseView::GetCancelFlag(), repeat ? 0 : 1);
    ASSERT_EQ(h.main.modes.size(), notices);
    if (!repeat) {
      EXPECT_EQ(h.main.modes.back().first, (WPARAM)s.code);
      EXPECT_EQ(h.main.modes.back().second, (LPARAM)h.base);
    }
  }
}

// A view-mode command reaches the base view as a document hint: it switches and tells the
// status bar that the mode changed and how many files there are.
TEST(BaseView, AViewModeCommandSwitchesAndReportsTheCount) {
  std::string folder = FixtureFolder("modes-command", kPictures);
  BaseHost h;
  ASSERT_NE(h.base, nullptr);
  CThumbnailPage* page = new CThumbnailPage(VXPAGE_FOLDER, 1);
  page->Add(folder.c_str(), FALSE, nullptr, 0);
  h.pDoc->GetBrowser()->GetPageList().AddPage(page);
  h.main.modes.clear();
  CSendCommandObject music(ID_VIEWMODE_MUSIC);
  h.pDoc->UpdateAllViews(nullptr, VXHINT_COMMAND, &music);
  uikit::PumpPending();
  EXPECT_EQ(h.Shown(), "U");
  ASSERT_EQ(h.main.modes.size(), 1u);
  EXPECT_EQ(h.main.modes[0].first, (WPARAM)CGVIEW_MUSIC);
  ASSERT_FALSE(h.main.progress.empty());
  EXPECT_EQ(h.main.progress.back().first, (WPARAM)h.base);
  EXPECT_EQ(h.main.progress.back().second, -1);
  ASSERT_FALSE(h.main.counts.empty());
  EXPECT_EQ(h.main.counts.back().first, (WPARAM)h.base);
  EXPECT_EQ(h.main.counts.back().second, 5);  // the music mode counts every file
  // Another command of the browser leaves the windows alone.
  CSendCommandObject sort(ID_SORT_FIRST + 1);
  h.pDoc->UpdateAllViews(nullptr, VXHINT_COMMAND, &sort);
  EXPECT_EQ(h.Shown(), "U");
  EXPECT_EQ(h.main.modes.size(), 1u);
}

TEST(BaseView, TheCalendarPageHoldsEachPictureOnceAndGoesWithTheCalendar) {
  std::string folder = FixtureFolder("modes-calendar", kPictures);
  BaseHost h;
  ASSERT_NE(h.base, nullptr);
  CBrowserDocument* doc = h.pDoc->GetBrowser();
  // The same folder twice: its files stand in two pages.
  for (int n = 1; n <= 2; ++n) {
    CThumbnailPage* page = new CThumbnailPage(VXPAGE_FOLDER, n);
    page->Add(folder.c_str(), FALSE, nullptr, 0);
    doc->GetPageList().AddPage(page);
  }
  h.base->ChangeView(CGVIEW_MONTH);  // the month view asks for a fresh calendar page
  uikit::PumpPending();
  auto calendarPage = [&]() -> CThumbnailPage* {
    for (POSITION pos = doc->GetPageList().GetHeadPosition(); pos;) {
      CThumbnailPage* p = doc->GetPageList().GetNext(pos);
      if (p->GetType() == VXPAGE_CALENDAR) return p;
    }
    return nullptr;
  };
  CThumbnailPage* page = calendarPage();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->GetCount(), 5);
  EXPECT_EQ(h.base->GetOwnedCopyCount(), 5);
  EXPECT_EQ(doc->GetPageList().GetCount(), 3);
  // A reload with lParam 1 leaves a calendar alone; with 0 it builds the page again.
  h.base->SendMessage(WM_BROWSER_RELOAD, 0, 1);
  EXPECT_EQ(calendarPage(), page);
  h.base->SendMessage(WM_BROWSER_RELOAD, 0, 0);
  EXPECT_NE(calendarPage(), nullptr);
  EXPECT_EQ(h.base->GetOwnedCopyCount(), 5);
  EXPECT_EQ(doc->GetPageList().GetCount(), 3);
  h.base->ChangeView(CGVIEW_LARGEICON);
  EXPECT_EQ(calendarPage(), nullptr);
  EXPECT_EQ(h.base->GetOwnedCopyCount(), 0);
  EXPECT_EQ(doc->GetPageList().GetCount(), 2);
}

// Runs the closures posted to it in their turn among the thread's posted messages: inside
// the pumping of a calendar build, where the test itself cannot run.
class CPostedCallsWnd : public CWnd {
 public:
  CPostedCallsWnd() { CreateEx(0, "STATIC", "calls", WS_POPUP, CRect(0, 0, 1, 1), NULL, 0); }
  ~CPostedCallsWnd() override { DestroyWindow(); }
  void Post(std::function<void()> call) {
    calls_.push_back(std::move(call));
    PostMessage(WM_APP, calls_.size() - 1);
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP && wParam < calls_.size()) {
      calls_[wParam]();
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::deque<std::function<void()>> calls_;  // a call may post the next
};

// The visible dialogs of this thread: the calendar build's "please wait" box.
int WaitBoxes() {
  int n = 0;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hwnd, LPARAM count) {
        char cls[16] = "";
        ::GetClassNameA(hwnd, cls, sizeof cls);
        if (::IsWindowVisible(hwnd) && lstrcmpA(cls, "#32770") == 0) ++*(int*)count;
        return TRUE;
      },
      (LPARAM)&n);
  return n;
}

// A calendar build of one folder's page whose worker waits at an entry until the test lets
// it go: the test holds the entry's lock, which the worker takes to read its path.
struct HeldBuild {
  BaseHost h;
  CBrowserDocument* doc = nullptr;
  CThumbnail* held = nullptr;
  CPostedCallsWnd calls;
  explicit HeldBuild(const char* tag) {
    if (!h.base) return;
    doc = h.pDoc->GetBrowser();
    CThumbnailPage* page = new CThumbnailPage(VXPAGE_FOLDER, 1);
    page->Add(FixtureFolder(tag, kPictures).c_str(), FALSE, nullptr, 0);
    doc->GetPageList().AddPage(page);
    if (page->GetCount() != (int)kPictures.size()) return;
    held = page->GetAt(2);
    held->ThreadLock();
  }
  ~HeldBuild() { Release(); }
  void Release() {
    if (held) held->ThreadUnlock();
    held = nullptr;
  }
  // Inside the build: the main window is disabled while it runs.
  bool Building() { return !h.main.IsWindowEnabled(); }
  CThumbnailPage* CalendarPage() {
    for (POSITION pos = doc->GetPageList().GetHeadPosition(); pos;) {
      CThumbnailPage* p = doc->GetPageList().GetNext(pos);
      if (p->GetType() == VXPAGE_CALENDAR) return p;
    }
    return nullptr;
  }
};

// A reload that comes while the calendar page is being built (posted by this program or
// another) waits for the build, instead of deleting the page under its worker and building
// another beside it; it runs once the build is over.
TEST(BaseView, AReloadDuringTheCalendarBuildRunsAfterIt) {
  HeldBuild b("modes-calendar-reload");
  ASSERT_NE(b.held, nullptr);
  bool inBuild = false;
  int boxes = -1;
  b.calls.Post([&] {
    inBuild = b.Building();
    if (!inBuild) return b.Release();
    b.h.base->PostMessage(WM_BROWSER_RELOAD, 0, 0);
    b.calls.Post([&] {
      boxes = WaitBoxes();  // the reload has had its turn
      b.Release();
    });
  });
  b.h.base->ChangeView(CGVIEW_MONTH);
  ASSERT_TRUE(inBuild);
  EXPECT_EQ(boxes, 1);  // one build at a time
  // The reload's own build follows: each build tells the main window its count.
  auto builds = [&] {
    return std::count_if(b.h.main.counts.begin(), b.h.main.counts.end(),
                         [&](const std::pair<WPARAM, LPARAM>& c) { return c.first == (WPARAM)b.h.base; });
  };
  EXPECT_TRUE(testsupport::WaitUntil([&] { return builds() >= 2; }, 20000));
  uikit::PumpPending();
  EXPECT_EQ(builds(), 2);
  ASSERT_NE(b.CalendarPage(), nullptr);
  EXPECT_EQ(b.CalendarPage()->GetCount(), 5);
  EXPECT_EQ(b.h.base->GetOwnedCopyCount(), 5);
  EXPECT_EQ(b.doc->GetPageList().GetCount(), 2);
}

// Leaving the calendar while its page is being built stops the build before the page goes.
TEST(BaseView, LeavingTheCalendarDuringItsBuildStopsItFirst) {
  HeldBuild b("modes-calendar-leave");
  ASSERT_NE(b.held, nullptr);
  bool inBuild = false, released = false, left = false;
  b.calls.Post([&] {
    inBuild = b.Building();
    if (!inBuild) return b.Release();
    b.calls.Post([&] {
      b.Release();
      released = true;
    });
    b.h.base->ChangeView(CGVIEW_LARGEICON);
    left = true;
    EXPECT_TRUE(released);  // the page went only once the worker could end
  });
  b.h.base->ChangeView(CGVIEW_MONTH);
  ASSERT_TRUE(inBuild);
  EXPECT_TRUE(left);
  uikit::PumpPending();
  EXPECT_EQ(b.CalendarPage(), nullptr);
  EXPECT_EQ(b.h.base->GetOwnedCopyCount(), 0);
  EXPECT_EQ(b.doc->GetPageList().GetCount(), 1);
}

}  // namespace

namespace {

// The tooltip of the thumbnail under the cursor, as the tooltip control asks for it.
std::string TipText(CIconView* view, bool wide) {
  if (wide) {
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = NULL;
    info.hdr.code = TTN_NEEDTEXTW;
    if (view->SendMessage(WM_NOTIFY, 0, (LPARAM)&info) != 0 || !info.lpszText) return "<none>";
    char buf[2048];
    ::WideCharToMultiByte(CP_ACP, 0, info.lpszText, -1, buf, sizeof(buf), NULL, NULL);
    return buf;
  }
  NMTTDISPINFOA info = {};
  info.hdr.code = TTN_NEEDTEXTA;
  if (view->SendMessage(WM_NOTIFY, 0, (LPARAM)&info) != 0 || !info.lpszText) return "<none>";
  return info.lpszText;
}

// The thread's tooltip control as the test finds it: its timer messages recorded before
// they go on to the control's own procedure.
WNDPROC g_tipProc = nullptr;
std::vector<WPARAM> g_tipTimers;
LRESULT CALLBACK RecordTip(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) g_tipTimers.push_back(wParam);
  return ::CallWindowProcA(g_tipProc, hWnd, message, wParam, lParam);
}

// On Windows XP the hit test puts a procedure of its own in front of the thread's tooltip
// control, once: the control's timer 3 goes to the default procedure, the rest to the
// control. Other systems leave the control alone.
TEST(ThumbnailTips, OnWindowsXpTheControlsTimer3GoesToTheDefaultProcedure) {
  std::string folder = FixtureFolder("modes-xptip", {"plain.jpg"});
  ViewOverFolders v({folder});
  ASSERT_NE(v.view, nullptr);
  ASSERT_NE(v.view->GetToolTip(), nullptr);
  CPoint pt = v.PictureCentre(v.IdAt(0)), screen = pt;
  v.view->ClientToScreen(&screen);
  MSG move = {v.view->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y), 0, screen};
  v.view->GetToolTip()->SetVersionCode(9);
  v.view->FilterToolTipMessage(&move);
  HWND hTip = AfxGetThreadToolTip();
  ASSERT_NE(hTip, nullptr);
  g_tipProc = (WNDPROC)::SetWindowLongPtrA(hTip, GWLP_WNDPROC, (LONG_PTR)&RecordTip);
  v.view->FilterToolTipMessage(&move);
  EXPECT_EQ(::GetWindowLongPtrA(hTip, GWLP_WNDPROC), (LONG_PTR)&RecordTip);

  v.view->GetToolTip()->SetVersionCode(7);
  v.view->FilterToolTipMessage(&move);
  LONG_PTR xp = ::GetWindowLongPtrA(hTip, GWLP_WNDPROC);
  EXPECT_NE(xp, (LONG_PTR)&RecordTip);
  v.view->FilterToolTipMessage(&move);
  EXPECT_EQ(::GetWindowLongPtrA(hTip, GWLP_WNDPROC), xp);  // once
  g_tipTimers.clear();
  ::SendMessageA(hTip, WM_TIMER, 3, 0);
  ::SendMessageA(hTip, WM_TIMER, 77, 0);
  EXPECT_EQ(g_tipTimers, std::vector<WPARAM>{77});
  // The control goes with its procedures; the framework makes a new one when it is needed.
  CWnd::CancelToolTips();
  ::DestroyWindow(hTip);
  EXPECT_EQ(AfxGetThreadToolTip(), nullptr);
}

TEST(ThumbnailTips, TheItemUnderTheCursorShowsItsProperties) {
  std::string folder = FixtureFolder("modes-tips", {"exif_full.jpg", "plain.jpg"});
  ViewOverFolders v({folder});
  ASSERT_NE(v.view, nullptr);
  auto pointAt = [&](DWORD id) {
    CPoint pt = v.PictureCentre(id);
    v.view->ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
  };
  pointAt(v.IdAt(0));
  std::string first = TipText(v.view, false);
  // Name, type, dimensions, date, size and title: six lines, the name first.
  EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 5) << first;
  EXPECT_NE(first.find(": exif_full.jpg\n"), std::string::npos) << first;
  EXPECT_EQ(TipText(v.view, true), first);  // wide requests get the same text
  pointAt(v.IdAt(1));
  EXPECT_NE(TipText(v.view, false).find(": plain.jpg\n"), std::string::npos);
  // Empty space: no tip.
  CPoint empty(790, 590);
  v.view->ClientToScreen(&empty);
  ::SetCursorPos(empty.x, empty.y);
  EXPECT_EQ(TipText(v.view, false), "<none>");
}

}  // namespace
