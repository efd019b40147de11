// The month calendar in a window over a calendar page of dated files: the month shown
// first, the selection by mouse and keys, the month steps over empty months, the switch to
// the day, the mode hints, the tips, and a picture of it.
#include <gtest/gtest.h>

#include <CalendarDayView.h>
#include <CalendarMonthView.h>
#include <LabelEdit.h>
#include <ImgButton.h>
#include <Kitlib2/OwnMessage.h>
#include <MainWndMessages.h>
#include <MovieCtrl.h>
#include <VxContFile.h>
#include <VxDocument.h>
#include <VxResourceIds.h>
#include <RecordGate.h>
#include <IconView.h>
#include <otherwindows.h>
#include <picture.h>
#include <program.h>
#include <tempfolder.h>
#include <viewframe.h>

#include <shlwapi.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "iconview_host.h"
#include "uikit.h"

namespace {

// Remembers the commands the document hands its views.
class CHintRecorder : public CView {
 public:
  std::vector<std::pair<UINT, std::string>> commands;

 protected:
  void OnDraw(CDC*) override {}
  void OnUpdate(CView*, LPARAM, CObject* pHint) override {
    if (CSendCommandObject* p = DYNAMIC_DOWNCAST(CSendCommandObject, pHint))
      commands.push_back({p->GetID(), p->GetParamText() ? p->GetParamText() : ""});
  }
};

class CStatusRecorder : public CWnd {
 public:
  std::vector<LPARAM> counts;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_STATUS_FILE_COUNT) counts.push_back(lParam);
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

struct Dated {
  const char* name;
  int year, month, day;
  const char* fixture = "plain.jpg";
};

// Two fixtures the host writes itself: a clip's content file, edited after recording or not.
bool IsClipFixture(const char* fixture) {
  return !lstrcmpA(fixture, "edited.cont") || !lstrcmpA(fixture, "unedited.cont");
}
void WriteClip(const std::string& path, const char* fixture) {
  vxcont::ContentInfo info;
  info.title = "clip";
  info.edited = !lstrcmpA(fixture, "edited.cont");
  vxcont::WriteContentFile(path.c_str(), info);
}

template <class View>
struct CalendarHost {
  CVxDocument* pDoc = nullptr;
  testsupport::CViewFrame* pFrame = nullptr;
  View* view = nullptr;
  CHintRecorder recorder;
  CStatusRecorder main;
  CWnd* oldMain = nullptr;
  CThumbnailPage* page = nullptr;

  explicit CalendarHost(const std::vector<Dated>& files, BROWSE_VIEW_MODE mode = BROWSE_VIEW_MONTH) {
    main.CreateEx(0, "STATIC", "main", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0);
    oldMain = AfxGetThread()->m_pMainWnd;
    AfxGetThread()->m_pMainWnd = &main;
    pDoc = DYNAMIC_DOWNCAST(CVxDocument, RUNTIME_CLASS(CVxDocument)->CreateObject());
    pDoc->OnNewDocument();
    pDoc->GetBrowser()->SetViewMode(mode);
    std::string folder = testsupport::NewTempFolder("calendar-month");
    for (const Dated& f : files) {
      std::string path = folder + "\\" + f.name;
      if (IsClipFixture(f.fixture))
        WriteClip(path, f.fixture);
      else
        ::CopyFileA(testsupport::Fixture(f.fixture).c_str(), path.c_str(), FALSE);
      // A file without a recording date in its head is dated by its last change.
      SYSTEMTIME st = {(WORD)f.year, (WORD)f.month, 0, (WORD)f.day, 12, 0, 0, 0};
      FILETIME local, utc;
      ::SystemTimeToFileTime(&st, &local);
      ::LocalFileTimeToFileTime(&local, &utc);
      HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
      ::SetFileTime(h, NULL, NULL, &utc);
      ::CloseHandle(h);
    }
    page = new CThumbnailPage(VXPAGE_CALENDAR, 1);
    page->Add(folder.c_str(), FALSE, nullptr, 0);
    page->Sort("td", true);
    pDoc->GetBrowser()->GetPageList().AddPage(page);
    pFrame = testsupport::CreateViewFrame(pDoc, View::GetThisClass(), "calendar", WS_POPUP | WS_VISIBLE,
                                          CRect(0, 0, 1000, 720));
    if (!pFrame) return;
    view = static_cast<View*>(pFrame->GetView());
    view->OnInitialUpdate();
    pDoc->AddView(&recorder);
    uikit::PumpPending();
  }
  ~CalendarHost() {
    CThumbnailPage::DecodeStop();
    if (pDoc) {
      pDoc->RemoveView(&recorder);
      pDoc->GetBrowser()->SetViewMode(BROWSE_VIEW_LARGEICON);
    }
    if (pFrame) pFrame->DestroyWindow();
    AfxGetThread()->m_pMainWnd = oldMain;
    main.DestroyWindow();
    uikit::PumpPending();
  }
  void Hint(LPARAM hint, UINT id, LPCSTR text = nullptr) {
    CSendCommandObject object(id, const_cast<LPSTR>(text));
    pDoc->UpdateAllViews(nullptr, hint, &object);
    uikit::PumpPending();
  }
  void Button(UINT id) {
    view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)view->GetButton(id)->GetSafeHwnd());
    uikit::PumpPending();
  }
  void Key(UINT vk) { view->SendMessage(WM_KEYDOWN, vk, 0); }
  CPoint CellCentre(int i);
  bool Enabled(UINT id) { return view->GetButton(id)->IsWindowEnabled() != FALSE; }
  std::string SelectedNames() {
    std::string s;
    for (int i = 0; i < page->GetCount(); i++)
      if (page->GetAt(i)->IsSelect()) s += (s.empty() ? "" : ",") + std::string(page->GetAt(i)->GetFileName());
    return s;
  }
};

typedef CalendarHost<CCalendarMonthView> MonthHost;
template <>
CPoint MonthHost::CellCentre(int i) {
  RECT rc;
  view->GetItemRect(i, &rc);
  return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

// 2005/03/01 is a Tuesday (cells 2..32), 2007/11/01 a Thursday (cells 4..33).
const std::vector<Dated> kFiles = {
    {"a.jpg", 2005, 3, 5}, {"b.jpg", 2005, 3, 20}, {"c.jpg", 2005, 3, 20}, {"d.jpg", 2007, 11, 11}};

// Captions readable on their faces: light letters on the blue day button, dark ones on the
// amber face of the month view shown.
TEST(CalendarMonthView, CaptionsAreReadableOnTheirFaces) {
  MonthHost h(kFiles);
  ASSERT_NE(h.view, nullptr);
  h.view->UpdateWindow();
  testsupport::Picture day(h.view->GetButton(IDC_CAL_DAY_BUTTON)->GetSafeHwnd(), testsupport::Picture::kClient);
  RECT dayFace = {0, 0, day.Width(), day.Height()};
  EXPECT_GT(day.CountNear(dayFace, RGB(255, 255, 255), 30), 20);
  testsupport::Picture month(h.view->GetButton(IDC_CAL_MONTH_INDICATOR)->GetSafeHwnd(), testsupport::Picture::kClient);
  RECT monthFace = {0, 0, month.Width(), month.Height()};
  EXPECT_EQ(month.CountNear(monthFace, RGB(255, 255, 255), 30), 0);
  EXPECT_GT(month.CountDark(monthFace, 250), 5);
}

TEST(CalendarMonthView, ShowsTheLatestMonthAndStepsOverEmptyMonths) {
  MonthHost h(kFiles);
  ASSERT_NE(h.view, nullptr);
  ASSERT_EQ(h.page->GetCount(), 4);
  h.Hint(VXHINT_CALENDAR, VXCMD_CALENDAR_FOLDER);
  EXPECT_EQ(h.view->GetShownMonth(), (calmonth::Month{2007, 11}));
  EXPECT_TRUE(h.view->IsShowingThumbnails());
  EXPECT_EQ(h.view->GetSelected(), 4 + 11 - 1);
  EXPECT_EQ(h.SelectedNames(), "d.jpg");
  EXPECT_EQ(h.view->GetCells()[4].day, 1);
  EXPECT_FALSE(h.Enabled(IDC_CAL_NEXT_MONTH));
  EXPECT_TRUE(h.Enabled(IDC_CAL_PREV_MONTH));
  EXPECT_TRUE(h.Enabled(IDC_CAL_DAY_BUTTON));
  EXPECT_FALSE(h.Enabled(IDC_CAL_MONTH_INDICATOR));
  ASSERT_FALSE(h.main.counts.empty());
  EXPECT_EQ(h.main.counts.back(), 1);

  // Back over the empty months straight to 2005/03, its last day with recordings selected.
  h.Button(IDC_CAL_PREV_MONTH);
  EXPECT_EQ(h.view->GetShownMonth(), (calmonth::Month{2005, 3}));
  EXPECT_EQ(h.view->GetSelected(), 2 + 20 - 1);
  EXPECT_EQ(h.main.counts.back(), 3);
  EXPECT_FALSE(h.Enabled(IDC_CAL_PREV_MONTH));  // the earliest month
  EXPECT_TRUE(h.Enabled(IDC_CAL_NEXT_MONTH));
  std::vector<int> withData;
  for (int i = 0; i < calmonth::kCells; i++)
    if (h.view->GetCells()[i].hasData) withData.push_back(i);
  EXPECT_EQ(withData, (std::vector<int>{6, 21}));

  // Keys step to the next cell with recordings; nothing past the ends.
  struct {
    UINT vk;
    int selected;
  } keys[] = {{VK_LEFT, 6}, {VK_LEFT, 6}, {VK_DOWN, 6}, {VK_END, 21}, {VK_UP, 21}, {VK_HOME, 6}, {VK_RIGHT, 21}};
  for (auto& k : keys) {
    h.Key(k.vk);
    EXPECT_EQ(h.view->GetSelected(), k.selected) << k.vk;
  }
  EXPECT_EQ(h.SelectedNames(), "c.jpg");  // the day's last recording stands for it

  // A click in a gap or on an empty day changes nothing; on a day with recordings it selects.
  CPoint gap = h.CellCentre(6);
  RECT rc6;
  h.view->GetItemRect(6, &rc6);
  gap.x = rc6.right + 2;
  for (CPoint pt : {gap, h.CellCentre(7), h.CellCentre(6)})
    h.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(h.view->GetSelected(), 6);
  EXPECT_EQ(h.SelectedNames(), "a.jpg");

  // The tip counts the day's files.
  NMTTDISPINFOA info = {};
  info.hdr.hwndFrom = h.view->m_hWnd;
  info.hdr.idFrom = 21;
  info.hdr.code = TTN_NEEDTEXTA;
  h.view->SendMessage(WM_NOTIFY, 0, (LPARAM)&info);
  ASSERT_NE(info.lpszText, nullptr);
  EXPECT_NE(std::string(info.lpszText).find('2'), std::string::npos) << info.lpszText;
  TOOLINFOA ti = {sizeof(ti)};
  EXPECT_EQ(h.view->OnToolHitTest(h.CellCentre(21), &ti), 21);
  EXPECT_EQ(h.view->OnToolHitTest(h.CellCentre(7), &ti), -1);

  uikit::Picture picture(h.pFrame->m_hWnd);
  EXPECT_FALSE(picture.Save("calendar-month").empty());

  // Forward again: 2007/11, the last month.
  h.Button(IDC_CAL_NEXT_MONTH);
  EXPECT_EQ(h.view->GetShownMonth(), (calmonth::Month{2007, 11}));
}

TEST(CalendarMonthView, ADoubleClickOpensTheDayAndModeHintsShowTheirDateOnce) {
  MonthHost h(kFiles);
  ASSERT_NE(h.view, nullptr);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_LARGE_ICONS);  // the last mode seen is process-wide
  EXPECT_EQ(h.view->GetShownMonth().year, 0);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_MONTH, "2005/03/05");
  EXPECT_EQ(h.view->GetShownMonth(), (calmonth::Month{2005, 3}));
  EXPECT_EQ(h.view->GetSelected(), 6);
  EXPECT_TRUE(h.view->IsShowingThumbnails());

  CPoint pt = h.CellCentre(21);
  h.recorder.commands.clear();
  h.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  h.view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  h.view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  ASSERT_EQ(h.recorder.commands.size(), 1u);
  EXPECT_EQ(h.recorder.commands[0].first, (UINT)ID_VIEWMODE_DAY);
  EXPECT_EQ(h.recorder.commands[0].second, "2005/03/20");
  // On an empty day a double click opens nothing.
  pt = h.CellCentre(8);
  h.view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(h.recorder.commands.size(), 1u);

  // The same mode again does not show the month anew.
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_MONTH, "2005/03/05");
  EXPECT_EQ(h.view->GetSelected(), 6);
  h.Button(IDC_CAL_NEXT_MONTH);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_MONTH, "2005/03/05");
  EXPECT_EQ(h.view->GetShownMonth(), (calmonth::Month{2007, 11}));
  // A text with day 00 shows its month; the 1st has no recordings, so the last day that has.
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_SMALL_ICONS);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_MONTH, "2005/03/00");
  EXPECT_EQ(h.view->GetShownMonth(), (calmonth::Month{2005, 3}));
  EXPECT_EQ(h.view->GetSelected(), 21);
  // A text that is no date shows the latest month, its last day with recordings.
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_SMALL_ICONS);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_MONTH, "garbage");
  EXPECT_EQ(h.view->GetShownMonth(), (calmonth::Month{2007, 11}));
  EXPECT_EQ(h.view->GetSelected(), 14);
  ASSERT_FALSE(h.main.counts.empty());
  EXPECT_EQ(h.main.counts.back(), 1);  // the files of the month shown, not of the one asked for
  // A text for a month without recordings falls back the same way.
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_SMALL_ICONS);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_MONTH, "2006/06/01");
  EXPECT_EQ(h.view->GetShownMonth(), (calmonth::Month{2007, 11}));
  EXPECT_EQ(h.view->GetSelected(), 14);
}

TEST(CalendarMonthView, UndatedFilesStandInThePseudoMonth) {
  MonthHost h({{"old.jpg", 1965, 6, 1}, {"new.jpg", 2006, 2, 14}});
  ASSERT_NE(h.view, nullptr);
  h.Hint(VXHINT_CALENDAR, VXCMD_CALENDAR_FOLDER);
  EXPECT_EQ(h.view->GetShownMonth(), (calmonth::Month{2038, 1}));
  EXPECT_TRUE(h.view->GetCells()[calmonth::kUndatedCell].hasData);
  EXPECT_EQ(h.view->GetSelected(), (int)calmonth::kUndatedCell);
  EXPECT_EQ(h.SelectedNames(), "old.jpg");
  for (const auto& c : h.view->GetCells()) EXPECT_EQ(c.day, 0);
  uikit::Picture picture(h.pFrame->m_hWnd);
  EXPECT_FALSE(picture.Save("calendar-month-undated").empty());
  h.Button(IDC_CAL_PREV_MONTH);
  EXPECT_EQ(h.view->GetShownMonth(), (calmonth::Month{2006, 2}));
  EXPECT_EQ(h.view->GetSelected(), 3 + 14 - 1);  // 2006/02/01 is a Wednesday
}

// ---- The day calendar ----

typedef CalendarHost<CCalendarDayView> DayHost;
template <>
CPoint DayHost::CellCentre(int i) {
  const RECT& rc = view->GetViewInfo().at(i).rcCell;
  return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

std::string Names(const std::vector<CThumbnail*>& list) {
  std::string s;
  for (CThumbnail* p : list) s += (s.empty() ? "" : ",") + std::string(p->GetFileName());
  return s;
}

void Press(CWnd* w, CPoint pt, UINT flags = 0) {
  w->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | flags, MAKELPARAM(pt.x, pt.y));
  w->SendMessage(WM_LBUTTONUP, flags, MAKELPARAM(pt.x, pt.y));
}

// The captions of the calendar's buttons are light on their blue faces, and the day's date
// stands clear of the back and forward buttons.
TEST(CalendarDayView, LightCaptionsAndADateClearOfTheButtons) {
  DayHost h(kFiles, BROWSE_VIEW_DAY);
  ASSERT_NE(h.view, nullptr);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_DAY, "2005/03/20");
  h.view->UpdateWindow();
  testsupport::Picture caption(h.view->GetButton(IDC_CAL_MONTH_BUTTON)->GetSafeHwnd(), testsupport::Picture::kClient);
  RECT face = {0, 0, caption.Width(), caption.Height()};
  EXPECT_GT(caption.CountNear(face, RGB(255, 255, 255), 30), 20);

  testsupport::Picture day(h.view->GetSafeHwnd(), testsupport::Picture::kClient);
  CRect back, forward;
  h.view->GetButton(IDC_CAL_BACK)->GetWindowRect(&back);
  h.view->GetButton(IDC_CAL_FORWARD)->GetWindowRect(&forward);
  h.view->ScreenToClient(&back);
  h.view->ScreenToClient(&forward);
  const COLORREF background = RGB(121, 147, 165);
  // The date is there, between the buttons, and a margin on each side is background.
  RECT between = {back.right, back.top, forward.left, back.bottom};
  EXPECT_GT(between.right - between.left - 20, 0);
  EXPECT_GT(day.CountNear(between, RGB(255, 255, 255), 30), 50);
  RECT beforeForward = {forward.left - 12, forward.top, forward.left, forward.bottom};
  RECT afterBack = {back.right, back.top, back.right + 12, back.bottom};
  EXPECT_EQ(day.Count(beforeForward, background), 12 * forward.Height());
  EXPECT_EQ(day.Count(afterBack, background), 12 * back.Height());
}

TEST(CalendarDayView, ShowsADayAndStepsToTheNeighbouringRecordingDays) {
  DayHost h(kFiles, BROWSE_VIEW_DAY);
  ASSERT_NE(h.view, nullptr);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_DAY, "2005/03/20");
  EXPECT_EQ(h.view->GetCurrentDay(), (calday::Day{2005, 3, 20}));
  EXPECT_EQ(Names(h.view->GetDayList()), "b.jpg,c.jpg");
  h.view->UpdateWindow();
  ASSERT_EQ(h.view->GetViewInfo().size(), 2u);
  EXPECT_TRUE(h.Enabled(IDC_CAL_BACK));
  EXPECT_TRUE(h.Enabled(IDC_CAL_FORWARD));
  EXPECT_FALSE(h.Enabled(IDC_CAL_DAY_INDICATOR));
  ASSERT_FALSE(h.main.counts.empty());
  EXPECT_EQ(h.main.counts.back(), 2);

  // The view hands its day's items to the browser's question; a null list is refused.
  CList<CThumbnail*, CThumbnail*> list;
  list.AddTail(h.page->GetAt(0));
  list.AddTail(h.page->GetAt(0));
  list.AddTail(h.page->GetAt(0));
  EXPECT_EQ(h.view->SendMessage(WM_CALENDAR_GET_THUMBNAILS, (WPARAM)&list), (LRESULT)E_INVALIDARG);  // not marked
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(CMTLSendOwnMessage(h.view->m_hWnd, WM_CALENDAR_GET_THUMBNAILS, (WPARAM)&list, 0), 0);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(h.view->SendMessage(WM_CALENDAR_GET_THUMBNAILS, 0), (LRESULT)E_INVALIDARG);

  struct {
    UINT button;
    calday::Day day;
    const char* names;
    bool back, forward;
  } steps[] = {
      {IDC_CAL_BACK, {2005, 3, 5}, "a.jpg", false, true},
      {IDC_CAL_BACK, {2005, 3, 5}, "a.jpg", false, true},  // no day before it
      {IDC_CAL_FORWARD, {2005, 3, 20}, "b.jpg,c.jpg", true, true},
      {IDC_CAL_FORWARD, {2007, 11, 11}, "d.jpg", true, false},
  };
  for (auto& s : steps) {
    h.Button(s.button);
    EXPECT_EQ(h.view->GetCurrentDay(), s.day);
    EXPECT_EQ(Names(h.view->GetDayList()), s.names);
    EXPECT_EQ(h.Enabled(IDC_CAL_BACK), s.back);
    EXPECT_EQ(h.Enabled(IDC_CAL_FORWARD), s.forward);
  }

  // The month button asks for the month of the day shown.
  h.recorder.commands.clear();
  h.Button(IDC_CAL_MONTH_BUTTON);
  ASSERT_EQ(h.recorder.commands.size(), 1u);
  EXPECT_EQ(h.recorder.commands[0].first, (UINT)ID_VIEWMODE_MONTH);
  EXPECT_EQ(h.recorder.commands[0].second, "2007/11/11");

  // Day 00 is the 1st; a day without recordings hands over to the month calendar, undated.
  h.recorder.commands.clear();
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_DAY, "2005/03/00");
  EXPECT_FALSE(h.view->GetCurrentDay().Valid());
  // The month's command goes out while the day's hint is still being handed round.
  std::vector<std::pair<UINT, std::string>> expected = {{ID_VIEWMODE_MONTH, ""}, {ID_VIEWMODE_DAY, "2005/03/00"}};
  EXPECT_EQ(h.recorder.commands, expected);

  // Without a zoom window its messages answer 1; the zoom command on an empty day opens none.
  UINT zoomMessage = ::RegisterWindowMessageA("VX3D_ZOOMMODE_WND");
  EXPECT_EQ(h.view->SendMessage(zoomMessage, 17, 0), 1);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_ZOOM);
  EXPECT_FALSE(h.view->HasZoomWindow());
}

// Answers the first message box of this process with OK and keeps its text.
struct OkTheBox {
  std::string text;
  std::atomic<bool> stop{false};
  std::thread thread;
  OkTheBox() {
    thread = std::thread([this] {
      while (!stop) {
        HWND box = testsupport::VisibleWindowOf(::GetCurrentProcessId(), "#32770");
        if (box) {
          ::EnumChildWindows(
              box,
              [](HWND w, LPARAM l) -> BOOL {
                char t[512] = "";
                ::GetWindowTextA(w, t, sizeof(t));
                *reinterpret_cast<std::string*>(l) += t;
                return TRUE;
              },
              (LPARAM)&text);
          ::PostMessageA(box, WM_COMMAND, IDOK, 0);
          return;
        }
        ::Sleep(20);
      }
    });
  }
  ~OkTheBox() {
    stop = true;
    thread.join();
  }
};

// A double click on a thumbnail opens the full-screen zoom window over the day's
// pictures; the window's closing notice takes it away again.
TEST(CalendarDayView, ADoubleClickOpensTheZoomWindow) {
  DayHost h(kFiles, BROWSE_VIEW_DAY);
  ASSERT_NE(h.view, nullptr);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_DAY, "2005/03/20");
  h.view->UpdateWindow();
  ASSERT_EQ(h.view->GetViewInfo().size(), 2u);
  std::string said;
  {
    OkTheBox box;  // a refusal would be answered here, and seen
    CPoint pt = h.CellCentre(1);
    h.view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    said = box.text;
  }
  EXPECT_EQ(said, "");
  EXPECT_TRUE(h.view->HasZoomWindow());
  h.view->SendMessage(::RegisterWindowMessageA("VX3D_ZOOMMODE_WND"), 15, 0);
  EXPECT_FALSE(h.view->HasZoomWindow());
}

// A movie's zoom window from the day plays it with the movie player the document holds.
TEST(CalendarDayView, TheZoomWindowPlaysWithTheDocumentsPlayer) {
  DayHost h({{"m.avi", 2005, 3, 20, "movie.avi"}}, BROWSE_VIEW_DAY);
  ASSERT_NE(h.view, nullptr);
  CMovieCtrl movie;
  h.pDoc->GetBrowser()->SetMoviePlayer(&movie);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_DAY, "2005/03/20");
  h.view->UpdateWindow();
  ASSERT_EQ(h.view->GetViewInfo().size(), 1u);
  {
    OkTheBox box;
    CPoint pt = h.CellCentre(0);
    h.view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(box.text, "");
  }
  ASSERT_TRUE(h.view->HasZoomWindow());
  EXPECT_TRUE(movie.IsOpen());
  EXPECT_NE(movie.GetTarget(), nullptr);
  h.view->SendMessage(::RegisterWindowMessageA("VX3D_ZOOMMODE_WND"), 15, 0);
  EXPECT_FALSE(h.view->HasZoomWindow());
  EXPECT_FALSE(movie.IsOpen());
  h.pDoc->GetBrowser()->SetMoviePlayer(nullptr);
}

namespace {

// Whether the picture shows the resource bitmap with its top-left corner at (x, y).
bool ShowsBitmap(const uikit::Picture& picture, UINT id, int x, int y) {
  HBITMAP bmp = (HBITMAP)::LoadImageA(::GetModuleHandleA("VxResource.dll"), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                                      LR_CREATEDIBSECTION);
  if (!bmp) return false;
  BITMAP bm = {};
  ::GetObjectA(bmp, sizeof bm, &bm);
  BITMAPINFOHEADER bih = {sizeof bih, bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB};
  std::vector<DWORD> bits(bm.bmWidth * bm.bmHeight);
  HDC dc = ::GetDC(nullptr);
  ::GetDIBits(dc, bmp, 0, bm.bmHeight, bits.data(), (BITMAPINFO*)&bih, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(bmp);
  for (int row = 0; row < bm.bmHeight; row++)
    for (int col = 0; col < bm.bmWidth; col++) {
      const DWORD b = bits[row * bm.bmWidth + col];
      if (picture.At(x + col, y + row) != RGB((b >> 16) & 0xFF, (b >> 8) & 0xFF, b & 0xFF)) return false;
    }
  return true;
}

int BitmapWidth(UINT id) {
  HBITMAP bmp =
      (HBITMAP)::LoadImageA(::GetModuleHandleA("VxResource.dll"), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0);
  BITMAP bm = {};
  ::GetObjectA(bmp, sizeof bm, &bm);
  ::DeleteObject(bmp);
  return bm.bmWidth;
}

}  // namespace

// The first badge of each cell, at its bottom-right corner: a clip by whether the property
// library knows it as edited, a picture with an Exif title the text badge, a plain one none.
TEST(CalendarDayView, BadgesOfClipsAndTitledPictures) {
  DayHost h({{"a.cont", 2005, 3, 20, "edited.cont"},
             {"b.cont", 2005, 3, 20, "unedited.cont"},
             {"c.jpg", 2005, 3, 20, "exif_comment.jpg"},
             {"d.jpg", 2005, 3, 20, "plain.jpg"}},
            BROWSE_VIEW_DAY);
  ASSERT_NE(h.view, nullptr);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_DAY, "2005/03/20");
  h.view->UpdateWindow();
  ASSERT_EQ(h.view->GetViewInfo().size(), 4u);
  uikit::Picture picture(h.view->m_hWnd, uikit::Picture::kClient);
  struct {
    const char* name;
    UINT badge;  // 0: none
  } cases[] = {
      {"a.cont", IDB_BADGE_AVCHD_EDITED}, {"b.cont", IDB_BADGE_AVCHD}, {"c.jpg", IDB_BADGE_TEXT}, {"d.jpg", 0}};
  for (const auto& c : cases) {
    const CCalendarDayView::ViewInfo* cell = nullptr;
    for (const auto& info : h.view->GetViewInfo())
      if (info.pThumbnail && !lstrcmpA(info.pThumbnail->GetFileName(), c.name)) cell = &info;
    ASSERT_TRUE(cell) << c.name;
    const int y = cell->rcCell.bottom - 26;
    for (UINT id : {IDB_BADGE_AVCHD_EDITED, IDB_BADGE_AVCHD, IDB_BADGE_TEXT})
      EXPECT_EQ(ShowsBitmap(picture, id, cell->rcCell.right - 26 - BitmapWidth(id) - 3, y), id == c.badge)
          << c.name << " " << id;
  }
}

TEST(CalendarDayView, ClicksKeysBandAndTheNameBox) {
  DayHost h({{"a.jpg", 2005, 3, 20}, {"b.jpg", 2005, 3, 20}, {"c.jpg", 2005, 3, 20}}, BROWSE_VIEW_DAY);
  ASSERT_NE(h.view, nullptr);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_DAY, "2005/03/20");
  h.view->UpdateWindow();
  ASSERT_EQ(h.view->GetViewInfo().size(), 3u);
  Press(h.view, h.CellCentre(0));
  EXPECT_EQ(h.SelectedNames(), "a.jpg");
  h.Key(VK_RIGHT);
  EXPECT_EQ(h.SelectedNames(), "b.jpg");
  Press(h.view, h.CellCentre(0), MK_CONTROL);
  EXPECT_EQ(h.SelectedNames(), "a.jpg,b.jpg");
  Press(h.view, h.CellCentre(2), MK_SHIFT);  // from the anchor (a) to c
  EXPECT_EQ(h.SelectedNames(), "a.jpg,b.jpg,c.jpg");
  h.Key(VK_HOME);
  EXPECT_EQ(h.SelectedNames(), "a.jpg");
  h.Key(VK_END);
  EXPECT_EQ(h.SelectedNames(), "c.jpg");

  // A press on a selected item waits for the release: the selection of all three stays
  // until then, and the release selects the one pressed.
  h.Hint(VXHINT_COMMAND, ID_EDIT_SELECT_ALL_FILES);
  EXPECT_EQ(h.SelectedNames(), "a.jpg,b.jpg,c.jpg");
  CPoint pt = h.CellCentre(1);
  h.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(h.SelectedNames(), "a.jpg,b.jpg,c.jpg");
  h.view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(h.SelectedNames(), "b.jpg");

  // A rubber band from the empty space below the cells over the first two selects them; a
  // band that never moved unselects everything.
  CRect area = h.view->GetThumbnailAreaRect();
  CPoint start(area.left + 5, area.top + 230);
  CPoint end = h.CellCentre(1);
  h.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
  h.view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(end.x, end.y));
  h.view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(end.x, end.y));
  EXPECT_EQ(h.SelectedNames(), "a.jpg,b.jpg");
  Press(h.view, start);
  EXPECT_EQ(h.SelectedNames(), "");

  // A second click on the label of the one selected item opens the name box on release,
  // with the name without its extension; the label is not drawn meanwhile.
  Press(h.view, h.CellCentre(0));
  CRect label;
  ASSERT_TRUE(h.view->GetLabelRect(h.view->GetViewInfo()[0], &label));
  Press(h.view, label.CenterPoint());
  ASSERT_NE(h.view->GetLabelEdit(), nullptr);
  ASSERT_TRUE(::IsWindow(h.view->GetLabelEdit()->GetSafeHwnd()));
  CString text;
  h.view->GetLabelEdit()->GetWindowText(text);
  EXPECT_EQ(std::string(text), "a");
  uikit::Picture picture(h.pFrame->m_hWnd);
  EXPECT_FALSE(picture.Save("calendar-day").empty());
  // The tip of a thumbnail lists its properties, its name first.
  TOOLINFOA ti = {sizeof(ti)};
  INT_PTR tool = h.view->OnToolHitTest(h.CellCentre(1), &ti);
  ASSERT_EQ(tool, 2);
  NMTTDISPINFOA info = {};
  info.hdr.hwndFrom = NULL;
  info.hdr.idFrom = (UINT_PTR)tool;
  info.hdr.code = TTN_NEEDTEXTA;
  h.view->SendMessage(WM_NOTIFY, 0, (LPARAM)&info);
  ASSERT_NE(info.lpszText, nullptr);
  std::string tip = info.lpszText;
  EXPECT_NE(tip.find("b.jpg"), std::string::npos) << tip;
  EXPECT_NE(tip.find('\n'), std::string::npos) << tip;
  // Cut: the clipboard holds the selection's files and the cut ones show faded.
  h.Hint(VXHINT_COMMAND, ID_EDIT_CUT);
  CStringList paths;
  DWORD effect = 0;
  EXPECT_EQ(h.pDoc->GetBrowser()->GetClipboardObject()->ReadPaths(paths, &effect), 1);
  EXPECT_EQ(effect, (DWORD)DROPEFFECT_MOVE);
  EXPECT_TRUE(h.view->GetDayList()[0]->IsCut());
  EXPECT_FALSE(h.view->GetDayList()[1]->IsCut());
  h.Hint(VXHINT_COMMAND, ID_EDIT_COPY);
  EXPECT_FALSE(h.view->GetDayList()[0]->IsCut());
  // Ending the edit without a text renames nothing.
  h.view->SendMessage(WM_LABEL_EDIT_END, 0, 0);
  EXPECT_EQ(Names(h.view->GetDayList()), "a.jpg,b.jpg,c.jpg");
}

// A window beside the calendar that takes a drag of files.
class CFileDrop : public COleDropTarget {
 public:
  std::vector<std::string> files;
  DROPEFFECT OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) override { return DROPEFFECT_COPY; }
  DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) override { return DROPEFFECT_COPY; }
  BOOL OnDrop(CWnd*, COleDataObject* p, DROPEFFECT, CPoint) override {
    if (HGLOBAL h = p->GetGlobalData(CF_HDROP)) {
      char sz[MAX_PATH];
      for (UINT i = 0, n = ::DragQueryFileA((HDROP)h, 0xFFFFFFFF, NULL, 0); i < n; ++i) {
        ::DragQueryFileA((HDROP)h, i, sz, MAX_PATH);
        files.push_back(::PathFindFileNameA(sz));
      }
      ::GlobalFree(h);
    }
    return TRUE;
  }
};

// A drag from a selected thumbnail carries the whole selection, in selection order.
TEST(CalendarDayView, ADragCarriesTheSelection) {
  DayHost h({{"a.jpg", 2005, 3, 20}, {"b.jpg", 2005, 3, 20}, {"c.jpg", 2005, 3, 20}}, BROWSE_VIEW_DAY);
  ASSERT_NE(h.view, nullptr);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_DAY, "2005/03/20");
  h.view->UpdateWindow();
  ASSERT_EQ(h.view->GetViewInfo().size(), 3u);
  CWnd host;
  LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
  ASSERT_TRUE(host.CreateEx(WS_EX_TOPMOST, cls, "drop here", WS_POPUP | WS_VISIBLE, 1050, 300, 150, 150, nullptr, nullptr));
  host.UpdateWindow();
  CFileDrop target;
  ASSERT_TRUE(target.Register(&host));
  Press(h.view, h.CellCentre(2));
  Press(h.view, h.CellCentre(0), MK_CONTROL);
  ::SetCursorPos(1100, 350);
  CPoint pt = h.CellCentre(2), away = pt + CPoint(10, 10);
  h.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  h.view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(away.x, away.y));
  h.view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(away.x, away.y));
  EXPECT_EQ(target.files, (std::vector<std::string>{"c.jpg", "a.jpg"}));
  EXPECT_EQ(h.SelectedNames(), "a.jpg,c.jpg");  // the drag kept the selection
  target.Revoke();
  host.DestroyWindow();
}

// More thumbnails than fit: a scroll bar over the rows of the day; thumb tracking does not
// scroll until the thumb is let go; End and Home scroll to the item they select.
// Renames through the name box as the user does: the box opens on the item, the text is
// typed, the box ends. The text of the message box shown meanwhile (answered with OK), or
// "" when none was.
std::string RenameByBox(DayHost& h, CThumbnail* p, const char* text) {
  if (!h.view->RenameFile(p)) return "<no name box>";
  return MessageBoxOf([&] { CMTLSendOwnMessage(h.view->m_hWnd, WM_LABEL_EDIT_END, (WPARAM)text, 0); });
}

bool Exists(const std::string& p) { return ::GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The day's name box renames through the browser, whose own icon view is hidden meanwhile:
// a good name renames the file, keeping its extension, on disk and in the photo database;
// a name leading out of the folder or a device name is refused with the rename message and
// changes nothing; a clip's content file keeps its name and takes the text as its title.
TEST(CalendarDayView, TheNameBoxRenamesThroughTheBrowser) {
  DayHost h({{"a.jpg", 2005, 3, 20}, {"b.jpg", 2005, 3, 20}, {"clip.cont", 2005, 3, 20, "edited.cont"}},
            BROWSE_VIEW_DAY);
  ASSERT_NE(h.view, nullptr);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_DAY, "2005/03/20");
  h.view->UpdateWindow();
  testsupport::CViewFrame* pIcons =
      testsupport::CreateViewFrame(h.pDoc, RUNTIME_CLASS(CIconView), "icons", WS_POPUP, CRect(0, 0, 400, 300));
  ASSERT_NE(pIcons, nullptr);
  pIcons->GetView()->OnInitialUpdate();
  auto item = [&](const char* name) -> CThumbnail* {
    for (CThumbnail* p : h.view->GetDayList())
      if (lstrcmpiA(p->GetFileName(), name) == 0) return p;
    return nullptr;
  };
  CThumbnail* a = item("a.jpg");
  CThumbnail* clip = item("clip.cont");
  ASSERT_TRUE(a && clip);
  std::string folder = (LPCSTR)a->GetFolderPath();
  ASSERT_EQ(S_OK, VxDBWEnrollFile((folder + "a.jpg").c_str(), 0));

  const std::string refused = (LPCSTR)CResourceLoader().LoadStringA(IDS_BROWSER_RENAME_FAILED);
  // The folder above is everyone's temporary folder: a file there of that name is not ours.
  ::DeleteFileA((folder + "..\\x.jpg").c_str());
  for (const char* bad : {"..\\x", "CON"}) {
    EXPECT_EQ(RenameByBox(h, a, bad), refused) << bad;
    EXPECT_TRUE(Exists(folder + "a.jpg")) << bad;
    EXPECT_STREQ(a->GetFileName(), "a.jpg") << bad;
  }
  EXPECT_FALSE(Exists(folder + "x.jpg"));
  EXPECT_FALSE(Exists(folder + "..\\x.jpg"));

  EXPECT_EQ(RenameByBox(h, a, "renamed"), "");
  EXPECT_FALSE(Exists(folder + "a.jpg"));
  EXPECT_TRUE(Exists(folder + "renamed.jpg"));
  EXPECT_STREQ(a->GetFileName(), "renamed.jpg");
  EXPECT_EQ(S_OK, VxDBWIsEnrolled((folder + "renamed.jpg").c_str()));
  EXPECT_NE(S_OK, VxDBWIsEnrolled((folder + "a.jpg").c_str()));

  EXPECT_EQ(RenameByBox(h, clip, "holiday"), "");
  EXPECT_TRUE(Exists(folder + "clip.cont"));
  vxcont::ContentInfo info;
  ASSERT_TRUE(vxcont::ReadContentFile((folder + "clip.cont").c_str(), &info));
  EXPECT_EQ(info.title, "holiday");
  pIcons->DestroyWindow();
  uikit::PumpPending();
}

TEST(CalendarDayView, ScrollsOverTheRowsOfALongDay) {
  std::vector<Dated> files;
  static const char* names[] = {"f00.jpg", "f01.jpg", "f02.jpg", "f03.jpg", "f04.jpg", "f05.jpg", "f06.jpg",
                                "f07.jpg", "f08.jpg", "f09.jpg", "f10.jpg", "f11.jpg", "f12.jpg", "f13.jpg"};
  for (const char* n : names) files.push_back({n, 2005, 3, 20});
  DayHost h(files, BROWSE_VIEW_DAY);
  ASSERT_NE(h.view, nullptr);
  h.Hint(VXHINT_COMMAND, ID_VIEWMODE_DAY, "2005/03/20");
  calday::Grid g = h.view->GetRowColumn();
  ASSERT_GT(g.columns, 0);
  int rows = calday::VirtualRows(14, g.columns);
  ASSERT_LT(g.FullRows() * g.columns, 14) << "the frame shows every thumbnail";
  EXPECT_TRUE(h.view->GetStyle() & WS_VSCROLL);
  int minPos = -1, maxPos = -1;
  h.view->GetScrollRange(SB_VERT, &minPos, &maxPos);
  EXPECT_EQ(maxPos, rows);
  int last = std::max(0, rows - g.FullRows());
  h.view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 1), 0);
  EXPECT_EQ(h.view->GetFirstRow(), 0);
  h.view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), 0);
  EXPECT_EQ(h.view->GetFirstRow(), std::min(1, last));
  h.Key(VK_END);
  EXPECT_EQ(h.SelectedNames(), "f13.jpg");
  EXPECT_EQ(h.view->GetFirstRow(), last);
  h.view->UpdateWindow();
  // The last cells drawn are the day's last thumbnails.
  ASSERT_FALSE(h.view->GetViewInfo().empty());
  EXPECT_EQ(h.view->GetViewInfo().back().pThumbnail, h.view->GetDayList().back());
  h.Key(VK_HOME);
  EXPECT_EQ(h.SelectedNames(), "f00.jpg");
  EXPECT_EQ(h.view->GetFirstRow(), 0);
  uikit::Picture picture(h.pFrame->m_hWnd);
  EXPECT_FALSE(picture.Save("calendar-day-scroll").empty());
}

}  // namespace
