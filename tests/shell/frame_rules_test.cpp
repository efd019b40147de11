// Decisions of the main frame without windows: placement clamping and tracking limits,
// the slide-show strip, the splitter folds, the status bar's texts and sizes, menu access
// keys and the progress dialog's bar.
#include <gtest/gtest.h>

#include <climits>

#include <Kitlib2/Kitlib2.h>
#include <shlobj.h>

#include "FramePlacement.h"
#include "MainApp.h"
#include "MainFrame.h"
#include "MenuAccessKeys.h"
#include "ProgressMessageDlg.h"
#include "SplitterFold.h"
#include "StatusTexts.h"
#include "shelltest.h"

namespace {

// ---- Placement ---------------------------------------------------------------------------

TEST(FramePlacement, StoredPlacementsAreClampedToTheWorkArea) {
  const CRect kWork(0, 0, 1280, 994);
  struct {
    const char* name;
    CRect stored;  // left, top, right, bottom relative to the work area
    CRect work;
    CRect expected;
  } kCases[] = {
      {"too small grows to 1024 x 768", CRect(0, 0, 100, 100), kWork, CRect(0, 0, 1024, 768)},
      {"short work area", CRect(0, 0, 100, 100), CRect(0, 0, 1280, 700), CRect(0, 0, 1024, 700)},
      {"negative edges", CRect(-50, -20, 1100, 800), kWork, CRect(0, 0, 1100, 800)},
      {"below the work area", CRect(10, 1200, 1100, 2000), kWork, CRect(10, 194, 1100, 994)},
      {"right of the work area", CRect(1500, 10, 2600, 800), kWork, CRect(180, 10, 1280, 800)},
      {"work area not at the origin", CRect(0, 0, 1024, 768), CRect(100, 30, 1380, 1024), CRect(100, 30, 1124, 798)},
      {"taller than the work area", CRect(0, 2000, 1024, 3500), kWork, CRect(0, 0, 1024, 994)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    CRect rc = ClampFramePlacement(c.stored, c.work);
    EXPECT_EQ(rc, c.expected) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
  }
}

TEST(FramePlacement, ShowStateAndTrackingLimits) {
  EXPECT_EQ(FrameShowCommand(1), SW_SHOWNORMAL);
  EXPECT_EQ(FrameShowCommand(2), SW_SHOWNORMAL);
  EXPECT_EQ(FrameShowCommand(3), SW_SHOWMAXIMIZED);
  EXPECT_EQ(FrameShowCommand(0), SW_SHOWMAXIMIZED);

  POINT ptMin, ptMax;
  FrameTrackingLimits(CRect(0, 0, 1280, 994), FALSE, 1000, &ptMin, &ptMax);
  EXPECT_EQ(ptMin.x, 1024);
  EXPECT_EQ(ptMin.y, 768);
  EXPECT_EQ(ptMax.x, 1280);
  EXPECT_EQ(ptMax.y, 994);
  // The slide-show strip leaves room below; a small screen keeps 550 at least.
  FrameTrackingLimits(CRect(0, 0, 1280, 994), TRUE, 1000, &ptMin, &ptMax);
  EXPECT_EQ(ptMin.y, 768);
  FrameTrackingLimits(CRect(0, 0, 1024, 740), TRUE, 1000, &ptMin, &ptMax);
  EXPECT_EQ(ptMin.y, 534);
  FrameTrackingLimits(CRect(0, 0, 1024, 730), TRUE, 1000, &ptMin, &ptMax);
  EXPECT_EQ(ptMin.y, 550);
  FrameTrackingLimits(CRect(0, 0, 1024, 900), TRUE, 650, &ptMin, &ptMax);
  EXPECT_EQ(ptMin.y, 900 - 206 + 49);
}

TEST(FramePlacement, SlideStripFitsBelowTheMainWindow) {
  CRect rcWork(0, 0, 1280, 994), rcMain, rcStrip;
  PlaceSlideStrip(CRect(100, 50, 1124, 600), rcWork, FALSE, &rcMain, &rcStrip);
  EXPECT_EQ(rcMain, CRect(100, 50, 1124, 600));
  EXPECT_EQ(rcStrip, CRect(100, 600, 1124, 806));
  // Not enough room below: the main window moves up, then gets shorter.
  PlaceSlideStrip(CRect(0, 100, 1024, 900), rcWork, FALSE, &rcMain, &rcStrip);
  EXPECT_EQ(rcMain, CRect(0, 0, 1024, 788));
  EXPECT_EQ(rcStrip, CRect(0, 788, 1024, 994));
  // Maximised: the strip sits at the work area's bottom.
  PlaceSlideStrip(CRect(0, 0, 1280, 994), rcWork, TRUE, &rcMain, &rcStrip);
  EXPECT_EQ(rcStrip, CRect(0, 788, 1280, 994));
  EXPECT_EQ(ShowCommandForMainState(TRUE, FALSE, FALSE), SW_SHOWMINIMIZED);
  EXPECT_EQ(ShowCommandForMainState(FALSE, TRUE, FALSE), SW_SHOWMAXIMIZED);
  EXPECT_EQ(ShowCommandForMainState(FALSE, FALSE, TRUE), SW_SHOWNORMAL);
  EXPECT_EQ(ShowCommandForMainState(FALSE, FALSE, FALSE), SW_SHOWDEFAULT);
}

TEST(EditorSettings, PicturesFolderIsTheSystemsSharedOne) {
  shelltest::ProfileRoot root;
  WriteEditorSettings("C:\\Program Files\\Norvane\\Marlo5");
  char szPictures[MAX_PATH] = "";
  ASSERT_EQ(::SHGetFolderPathA(NULL, CSIDL_COMMON_PICTURES, NULL, SHGFP_TYPE_CURRENT, szPictures), S_OK);
  EXPECT_STREQ(CMGetProfileString("VxEdit\\DataDir", "PhotoDir", ""), (std::string(szPictures) + "\\").c_str());
  EXPECT_STREQ(CMGetProfileString("VxEdit\\DataDir", "TexDir", ""), "C:\\Program Files\\Norvane\\Marlo5\\texture\\");
}

// ---- Folds -------------------------------------------------------------------------------

TEST(SplitterFold, LeftButtonFoldsAndUnfoldsLeavingTheBrowsersRoom) {
  struct {
    const char* name;
    int nSavedWidth, nCol1;
    int nExpected;
  } kUnfold[] = {
      {"room enough", 300, 900, 300},
      {"browser 700 wide, saved 300", 300, 700, 202},
      {"browser narrower than 498", 300, 400, 0},  // never a negative width
  };
  for (const auto& c : kUnfold) {
    SCOPED_TRACE(c.name);
    CSplitterWnd::CRowColInfo col0 = {30, 0, 0};  // folded
    CSplitterWnd::CRowColInfo col1 = {0, 0, c.nCol1};
    FoldMemory mem = {c.nSavedWidth, 30};
    EXPECT_TRUE(ToggleLeftColumn(col0, col1, mem));
    EXPECT_EQ(col0.nIdealSize, c.nExpected);
    EXPECT_EQ(col0.nMinSize, 30);
  }
  CSplitterWnd::CRowColInfo col0 = {30, 225, 225}, col1 = {0, 0, 900};
  FoldMemory mem = {0, 0};
  EXPECT_FALSE(ToggleLeftColumn(col0, col1, mem));
  EXPECT_EQ(col0.nIdealSize, 0);
  EXPECT_EQ(mem.nSavedWidth, 225);
  EXPECT_EQ(mem.nSavedMin, 30);
}

TEST(SplitterFold, RightButtonGivesTheColumnNoRoomAndBringsItBack) {
  CSplitterWnd::CRowColInfo col1 = {0, 84, 84};
  FoldMemory mem = {84, 10};
  EXPECT_FALSE(ToggleRightColumn(col1, mem));
  EXPECT_EQ(col1.nIdealSize, 0);
  EXPECT_EQ(col1.nMinSize, INT_MAX);
  EXPECT_TRUE(ToggleRightColumn(col1, mem));
  EXPECT_EQ(col1.nIdealSize, 84);
  EXPECT_EQ(col1.nMinSize, 0);
}

TEST(SplitterFold, NarrowBrowserColumnTakesRoomFromTheFolderColumn) {
  EXPECT_EQ(KeepBrowserColumn(225, 450), 225 - 48);
  EXPECT_EQ(KeepBrowserColumn(225, 500), -1);
  EXPECT_EQ(KeepBrowserColumn(20, 100), 0);
  EXPECT_EQ(FitFolderColumn(600, 450, 500, 568), 482);
  EXPECT_EQ(FitFolderColumn(300, 450, 500, 568), -1);  // the folder column is the narrower one
  EXPECT_EQ(FitFolderColumn(300, 600, 500, 568), -1);
  EXPECT_EQ(FitFolderColumn(300, 200, 484, 568), 0);
}

// ---- Status bar --------------------------------------------------------------------------

TEST(StatusTexts, ProgressValuesWidthsAndCaptions) {
  EXPECT_EQ(ClampProgress(150), 100);
  EXPECT_EQ(ClampProgress(-5), -1);
  EXPECT_EQ(ClampProgress(42), 42);
  EXPECT_EQ(StatusPaneWidth(60, 16), 110);
  EXPECT_EQ(StatusPaneWidth(120, 16), 146);
  EXPECT_STREQ(ProgressCaption("フォルダを読み込んでいます  ", 0), "フォルダを読み込んでいます");
  EXPECT_STREQ(ProgressCaption("フォルダを読み込んでいます", 37), "フォルダを読み込んでいます [ 37 ]");
  EXPECT_EQ(ProgressFillWidth(200, 50), 100);
  EXPECT_EQ(ProgressFillWidth(200, 150), 200);
  EXPECT_EQ(ProgressFillWidth(200, -1), 0);
}

TEST(ProgressMessage, BarFillWithoutATotalAndPastTheEnd) {
  EXPECT_EQ(CProgressMessageDlg::FillWidth(300, 0, 5), 0);  // no total: nothing to divide by
  EXPECT_EQ(CProgressMessageDlg::FillWidth(300, 10, 5), 150);
  EXPECT_EQ(CProgressMessageDlg::FillWidth(300, 10, 25), 300);
  EXPECT_EQ(CProgressMessageDlg::FillWidth(300, 3, 1), 100);
  EXPECT_EQ(CProgressMessageDlg::FillWidth(-4, 3, 1), 0);
}

// ---- Access keys -------------------------------------------------------------------------

std::vector<CString> Keyed(std::vector<CString> texts, int nKind) {
  AssignAccessKeys(texts, nKind);
  return texts;
}

TEST(MenuAccessKeys, LettersFromTheTextThenSuffixesByKind) {
  std::vector<CString> t = Keyed({"&Open", "Options", "Print...", "ohne", ""}, ACCESSKEYS_LETTERS);
  EXPECT_STREQ(t[0], "&Open");
  EXPECT_STREQ(t[1], "O&ptions");  // O is taken
  EXPECT_STREQ(t[2], "P&rint...");
  EXPECT_STREQ(t[3], "o&hne");
  EXPECT_STREQ(t[4], "");

  // Texts without a usable character get "(&X)" before a trailing "...".
  std::vector<CString> j = Keyed({"画像編集...", "回転", "日付"}, ACCESSKEYS_LETTERS);
  EXPECT_STREQ(j[0], "画像編集(&A)...");
  EXPECT_STREQ(j[1], "回転(&B)");
  EXPECT_STREQ(j[2], "日付(&C)");
  EXPECT_STREQ(Keyed({"回転"}, ACCESSKEYS_DIGITS)[0], "回転(&0)");
  EXPECT_STREQ(Keyed({"回転"}, ACCESSKEYS_DIGITS_LETTERS)[0], "回転(&0)");
  EXPECT_STREQ(Keyed({"回転"}, ACCESSKEYS_LETTERS_DIGITS)[0], "回転(&A)");
  EXPECT_STREQ(Keyed({"回転"}, 7)[0], "回転(&!)");
}

TEST(MenuAccessKeys, CharactersOutsideTheKeyTableNeverCount) {
  // "&{" and "&~" name keys past the table: they are not recorded (and no bit past the
  // 64-bit set is touched); "&&" is an ampersand.
  std::vector<CString> t = Keyed({"&{curly}", "A&&B", "&~x", "abc"}, ACCESSKEYS_LETTERS);
  EXPECT_STREQ(t[0], "&{curly}");
  EXPECT_STREQ(t[1], "&A&&B");
  EXPECT_STREQ(t[2], "&~x");
  EXPECT_STREQ(t[3], "a&bc");
  // Digits 0 to 8 used up: the symbols follow.
  std::vector<CString> d = Keyed({"&0", "&1", "&2", "&3", "&4", "&5", "&6", "&7", "&8", "回転"}, ACCESSKEYS_DIGITS);
  EXPECT_STREQ(d[9], "回転(&!)");
}

TEST(MenuAccessKeys, LongTextsComeBackWholeWithTheirKey) {
  // 70 characters: the key comes from the first 64, the text keeps all of them.
  CString strLong = CString(
      "漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字"
      "漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字"
      "漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字"
      "漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字ok");
  std::vector<CString> t = Keyed({strLong, strLong + "..."}, ACCESSKEYS_LETTERS);
  EXPECT_STREQ(t[0], strLong + "(&A)");
  EXPECT_STREQ(t[1], strLong + "(&B)...");
  // A letter past the first 64 characters is not taken; one within them is, in place.
  std::vector<CString> u = Keyed({strLong.Left(40) + "Q" + strLong.Mid(40)}, ACCESSKEYS_LETTERS);
  EXPECT_STREQ(u[0], strLong.Left(40) + "&Q" + strLong.Mid(40));
}

// ---- The refresh key's discard ---------------------------------------------------------------

TEST(RefreshKey, OnlyF5KeyDownsAreDiscarded) {
  struct {
    UINT message;
    WPARAM wParam;
    BOOL discarded;
  } kCases[] = {
      {WM_KEYDOWN, VK_F5, TRUE}, {WM_CHAR, 't', FALSE},         {WM_KEYUP, VK_F5, FALSE},
      {WM_KEYDOWN, 'T', FALSE},  {WM_SYSKEYDOWN, VK_F5, FALSE}, {WM_DEADCHAR, VK_F5, FALSE},
  };
  for (const auto& c : kCases) {
    MSG msg = {};
    msg.message = c.message;
    msg.wParam = c.wParam;
    EXPECT_EQ(IsF5KeyDown(msg), c.discarded) << c.message << " " << c.wParam;
  }
}

}  // namespace
