// The progress window, the batch runner and the scenario chooser: the bar's arithmetic,
// runs that stop, and a save that names a new file.
#include <gtest/gtest.h>

#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>
#include <ui/ProgressDialogs.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "uikit.h"

namespace {

TEST(ProgressArithmetic, BarPositionAndPercent) {
  struct {
    int steps, range, position;
  } bars[] = {{0, 0, 0}, {3, 0, 0}, {1, 5, 1}, {5, 5, 5}, {7, 5, 5}, {-2, 5, 0}, {2, -1, 0}};
  for (auto& b : bars) EXPECT_EQ(ProgressBarPosition(b.steps, b.range), b.position) << b.steps << "/" << b.range;
  struct {
    int i, count, percent;
  } percents[] = {{1, 0, 0}, {0, 0, 0}, {1, 3, 33}, {3, 3, 100}, {4, 3, 100}, {1, 1, 100}, {50000000, 100000000, 50}};
  for (auto& p : percents) EXPECT_EQ(ProgressPercent(p.i, p.count), p.percent) << p.i << "/" << p.count;
}

TEST(ProgressDialog, EmptyRangeShowsAnEmptyBar) {
  CWnd host;
  host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr);
  CProgressDlg dlg;
  ASSERT_TRUE(dlg.Create(&host));
  dlg.ShowWindow(SW_SHOW);
  dlg.SetCaption(IDS_CLASSIFY_SCAN_CAPTION);
  dlg.SetText("IMG_0001.JPG");
  HWND hBar = ::GetDlgItem(dlg.m_hWnd, IDC_PROGRESS_BAR);
  dlg.SetRange(0);
  dlg.StepIt();
  dlg.StepIt();
  EXPECT_EQ(dlg.GetSteps(), 2);
  EXPECT_EQ(::SendMessageA(hBar, PBM_GETPOS, 0, 0), 0);
  // The fill of an empty range: none of the bar's highlight colour.
  CRect bar;
  ::GetWindowRect(hBar, &bar);
  CRect window;
  dlg.GetWindowRect(&window);
  bar.OffsetRect(-window.left, -window.top);
  bar.DeflateRect(2, 2);
  std::vector<COLORREF> emptyRow;
  {
    uikit::Picture pic(dlg.m_hWnd);
    for (int x = bar.left; x < bar.right; x++) emptyRow.push_back(pic.At(x, bar.CenterPoint().y));
  }
  // An empty bar is one colour from end to end.
  EXPECT_EQ(std::count(emptyRow.begin(), emptyRow.end(), emptyRow[0]), (long)emptyRow.size());
  dlg.SetRange(4);
  dlg.StepIt();  // 3 of 4
  EXPECT_EQ(::SendMessageA(hBar, PBM_GETPOS, 0, 0), 3);
  uikit::Picture pic(dlg.m_hWnd);
  pic.Save("progress");
  int filled = 0;  // columns that changed from the empty bar
  for (int x = bar.left; x < bar.right; x++) filled += pic.At(x, bar.CenterPoint().y) != emptyRow[(size_t)(x - bar.left)];
  EXPECT_NEAR(filled, bar.Width() * 3 / 4, 3);  // the fill width follows the position
  // The caption came from the resource library.
  CString caption;
  dlg.GetWindowText(caption);
  EXPECT_EQ(caption, CResourceLoader().LoadStringA(IDS_CLASSIFY_SCAN_CAPTION));
  dlg.DestroyWindow();
  host.DestroyWindow();
}

// A window that keeps the progress reports it gets.
class CReportWindow : public CWnd {
 public:
  std::vector<std::pair<std::string, LPARAM>> m_reports;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CMTL_PROGRESS) {
      char text[1024] = "";
      CMTLTakeProgressText(m_hWnd, wParam, text, sizeof(text));
      m_reports.push_back({text, lParam});
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

struct Calls {
  std::vector<std::string> paths;
  std::vector<int> results;  // what the callback answers, call by call (0 past the end)
};
int Callback(LPCSTR path, void* context) {
  Calls* calls = static_cast<Calls*>(context);
  size_t n = calls->paths.size();
  calls->paths.push_back(path);
  return n < calls->results.size() ? calls->results[n] : 0;
}

TEST(FileBatchJob, RunsStopsAndReports) {
  CReportWindow window;
  window.CreateEx(0, AfxRegisterWndClass(0), "reports", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
  CStringList files;
  files.AddTail("C:\\photos\\a.jpg");
  files.AddTail("C:\\photos\\b.jpg");
  files.AddTail("C:\\photos\\c.jpg");
  CString format = CResourceLoader().LoadStringA(IDS_FILE_PROGRESS_FORMAT);
  auto text = [&](const char* name, int i) {
    CString s;
    s.Format(format, name, i, 3);
    return std::string(s);
  };
  struct {
    std::vector<int> results;
    int called;
    std::vector<std::pair<std::string, LPARAM>> reports;
  } cases[] = {
      {{}, 3, {{text("a.jpg", 1), 33}, {text("b.jpg", 2), 66}, {text("c.jpg", 3), 100}}},
      {{-1}, 1, {}},            // the first file refused: the run ends, nothing reported
      {{0, -5}, 2, {{text("a.jpg", 1), 33}}},
  };
  for (auto& c : cases) {
    Calls calls;
    calls.results = c.results;
    CFileBatchJob job(IDS_CLASSIFY_SCAN_CAPTION, &window);
    job.SetCallback(&files, Callback, &calls);
    job.m_hWnd = window.m_hWnd;  // the progress window while the bar runs
    window.m_reports.clear();
    EXPECT_EQ(CFileBatchJob::Work(&job), 0);
    uikit::PumpPending();
    EXPECT_EQ((int)calls.paths.size(), c.called);
    EXPECT_EQ(window.m_reports, c.reports);
  }
  // A long list is reported once per percent, the last file always.
  CStringList many;
  for (int i = 0; i < 250; ++i) many.AddTail("C:\\photos\\m.jpg");
  Calls all;
  CFileBatchJob long_(IDS_CLASSIFY_SCAN_CAPTION, &window);
  long_.SetCallback(&many, Callback, &all);
  long_.m_hWnd = window.m_hWnd;
  window.m_reports.clear();
  CFileBatchJob::Work(&long_);
  uikit::PumpPending();
  EXPECT_EQ(all.paths.size(), 250u);
  ASSERT_EQ(window.m_reports.size(), 101u);  // 0 to 100
  EXPECT_EQ(window.m_reports[0].second, 0);
  EXPECT_EQ(window.m_reports.back().second, 100);
  // Cancelled before the first file: nothing runs.
  Calls calls;
  CFileBatchJob cancelled(IDS_CLASSIFY_SCAN_CAPTION, nullptr);
  cancelled.SetCallback(&files, Callback, &calls);
  cancelled.m_bCancel = 1;
  CFileBatchJob::Work(&cancelled);
  EXPECT_TRUE(calls.paths.empty());
  // No list: 2 at once. An empty list: the bar runs no step.
  CFileBatchJob none(IDS_CLASSIFY_SCAN_CAPTION, nullptr);
  EXPECT_EQ(none.Run(), 2);
  CStringList empty;
  CFileBatchJob emptyJob(IDS_CLASSIFY_SCAN_CAPTION, nullptr);
  emptyJob.SetCallback(&empty, Callback, &calls);
  EXPECT_EQ(emptyJob.Run(), 0);
  EXPECT_EQ(emptyJob.m_nDone, 0);
  window.DestroyWindow();
}

TEST(ScenarioFile, NamesFoldersAndFlags) {
  std::vector<CString> present = {"D:\\s\\vxSlideShow_1.snr", "D:\\s\\vxSlideShow_2.snr"};
  auto exists = [&](const CString& p) {
    for (auto& q : present)
      if (q == p) return true;
    return false;
  };
  EXPECT_EQ(NextScenarioFileName("D:\\s", exists), CString("vxSlideShow_3.snr"));
  present.clear();
  EXPECT_EQ(NextScenarioFileName("D:\\s", exists), CString("vxSlideShow_1.snr"));
  EXPECT_EQ(SlideShowScenarioFolder().Right(28), CString("\\Norvane\\Glimora\\vxSlideShow"));
  EXPECT_TRUE(ScenarioDialogFlags(TRUE) & OFN_FILEMUSTEXIST);
  EXPECT_FALSE(ScenarioDialogFlags(FALSE) & OFN_FILEMUSTEXIST);  // a save names a new file
  EXPECT_TRUE(ScenarioDialogFlags(FALSE) & OFN_OVERWRITEPROMPT);
}

// The save dialog proposes the next free name and takes it, though no such file exists.
TEST(ScenarioFile, SaveDialogTakesANewFile) {
  CString folder = SlideShowScenarioFolder();
  ::SHCreateDirectoryExA(nullptr, folder, nullptr);
  for (int n = 1; n <= 2; n++) {
    CString path;
    path.Format("%s\\vxSlideShow_%d.snr", (LPCSTR)folder, n);
    CFile f(path, CFile::modeCreate | CFile::modeWrite);
  }
  CString proposed;
  uikit::DialogDriver driver([&](HWND h) {
    char name[MAX_PATH] = {};
    ::GetDlgItemTextA(h, 0x480 /* edt1 */, name, MAX_PATH);
    if (!name[0]) ::GetDlgItemTextA(h, 0x47c /* cmb13 */, name, MAX_PATH);
    proposed = name;
    uikit::Picture(h).Save("scenario_save");
    ::PostMessageA(h, WM_COMMAND, IDOK, 0);
  });
  CString chosen = ChooseSlideShowScenarioFile(FALSE);
  EXPECT_EQ(proposed, CString("vxSlideShow_3.snr"));
  EXPECT_EQ(chosen.CompareNoCase(folder + "\\vxSlideShow_3.snr"), 0) << (LPCSTR)chosen;
  for (int n = 1; n <= 2; n++) {
    CString path;
    path.Format("%s\\vxSlideShow_%d.snr", (LPCSTR)folder, n);
    ::DeleteFileA(path);
  }
}

}  // namespace
