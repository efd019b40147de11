// The plug-in title button: what a click does, the title's colours, the faces it draws
// and the messages the folder pane gets.
#include <gtest/gtest.h>

#include <ImageCheckButton.h>
#include <VxResourceIds.h>

#include <string>
#include <vector>

#include "TreePluginManager.h"
#include "uikit.h"
#include <files.h>
#include <tempfolder.h>

namespace {

TEST(TitleButtonRules, ClickPlan) {
  struct {
    bool active, inIcon, created, dbl;
    bool makeActive, makeCurrent, notify;
  } cases[] = {
      {false, false, false, false, true, true, true},
      {false, false, true, false, true, true, true},
      {false, true, false, false, true, true, true},   // the icon column opens a tree never made
      {false, true, true, false, true, false, true},   // but not one that exists
      {true, false, false, false, false, false, false},
      {false, false, false, true, false, false, false},  // a double click only relays out and focuses
  };
  for (auto& c : cases) {
    titlebutton::ClickPlan p = titlebutton::PlanClick(c.active, c.inIcon, c.created, c.dbl);
    EXPECT_EQ(p.makeActive, c.makeActive);
    EXPECT_EQ(p.makeCurrent, c.makeCurrent);
    EXPECT_EQ(p.notifyPane, c.notify);
  }
  EXPECT_EQ(titlebutton::TitleColor(true, true, true, true), RGB(195, 241, 248));
  EXPECT_EQ(titlebutton::TitleColor(false, true, false, true), RGB(0, 0, 0));
  EXPECT_EQ(titlebutton::TitleColor(false, false, true, false), RGB(0, 0, 0));
  EXPECT_EQ(titlebutton::TitleColor(false, false, false, true), RGB(31, 96, 122));
  EXPECT_EQ(titlebutton::TitleColor(false, false, false, false), RGB(255, 255, 255));
  EXPECT_EQ(WidgetkitChooseFace(ODS_SELECTED, TRUE, FALSE, TRUE, TRUE, TRUE), WKFACE_SELECTED);
  EXPECT_EQ(WidgetkitChooseFace(ODS_SELECTED, TRUE, FALSE, FALSE, TRUE, TRUE), WKFACE_HOT);
  EXPECT_EQ(WidgetkitChooseFace(ODS_DISABLED, TRUE, FALSE, TRUE, TRUE, TRUE), WKFACE_DISABLED);
  EXPECT_EQ(WidgetkitChooseFace(0, FALSE, TRUE, TRUE, TRUE, TRUE), WKFACE_HOT);  // a checked check box
  EXPECT_EQ(WidgetkitChooseFace(0, FALSE, FALSE, TRUE, TRUE, TRUE), WKFACE_NORMAL);
}

// The folder pane as the buttons see it: it keeps the messages they send.
class CPaneStandIn : public CWnd {
 public:
  std::vector<UINT> m_messages;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PARENTNOTIFY || message == WM_TREE_FOCUS_CHANGED || message == WM_SIZE)
      m_messages.push_back(message);
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

TEST(TitleButton, FacesMessagesAndScreenshot) {
  CPaneStandIn pane;
  pane.CreateEx(0, AfxRegisterWndClass(0, 0, (HBRUSH)::GetStockObject(WHITE_BRUSH)), "folder pane",
                WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 80, 80, 175, 4 * 19 + 4, nullptr, nullptr);
  CTreePluginManager manager;
  CImageCheckButton buttons[4];
  const char* titles[4] = {"フォルダ", "メモリーカード", "お気に入り", "音楽"};
  for (int i = 0; i < 4; i++) {
    ASSERT_TRUE(buttons[i].Create(titles[i], WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 2 + 19 * i, 175, 19 + 19 * i),
                                  &pane, 1000 + i));
    buttons[i].SetFont(CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT)));
    ASSERT_TRUE(buttons[i].LoadBitmaps(IDB_TITLE_INACTIVE, IDB_TITLE_INACTIVE_PRESSED, IDB_TITLE_INACTIVE_FOCUS,
                                       IDB_TITLE_INACTIVE_DISABLED));
    buttons[i].SetPluginEntry(&manager, nullptr, i);
  }
  EXPECT_TRUE(buttons[0].SetStateBitmap(IDB_TITLE_ACTIVE_PRESSED, TRUE));  // the current tree
  EXPECT_TRUE(buttons[0].IsSelectedFace());
  EXPECT_FALSE(buttons[3].SetStateBitmap(65000, FALSE));  // no such bitmap: the face stays
  // The tooltip: a text or a string of the resource library, set once and updated.
  EXPECT_TRUE(buttons[0].SetToolTipText("フォルダツリー"));
  EXPECT_TRUE(buttons[0].SetToolTipText(IDS_SUBVIEW_VIEW));
  EXPECT_FALSE(buttons[1].SetToolTipText(65001u));  // no such string
  buttons[1].SetHover(TRUE);
  buttons[2].EnableWindow(FALSE);
  uikit::Picture pic(pane.m_hWnd);
  pic.Save("title_buttons");
  // Black title on the current tree, white on a normal bar, the pale disabled colour.
  auto row = [](int i) { return CRect(30, 2 + 19 * i, 120, 19 + 19 * i); };
  EXPECT_GT(pic.CountDark(row(0), 360), 10);  // dark text on the light face of the current tree
  EXPECT_GT(pic.CountNear(row(3), RGB(255, 255, 255), 30), 10);
  EXPECT_GT(pic.CountNear(row(2), RGB(195, 241, 248), 30), 10);
  EXPECT_EQ(pic.CountNear(row(3), RGB(0, 0, 0), 40), 0);
  // Each face is its own picture: the hovered bar differs from the normal one, and the
  // left end is the face's own (not stretched) all the way down.
  EXPECT_NE(pic.At(150, 2 + 19 + 8), pic.At(150, 2 + 57 + 8));
  EXPECT_EQ(pic.At(10, 2 + 57 + 8), pic.At(150, 2 + 57 + 8));

  // A click: the pane hears which entry was chosen and lays out again.
  pane.m_messages.clear();
  buttons[3].SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
  buttons[3].SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(100, 10));
  uikit::PumpPending();
  std::vector<UINT> expected = {WM_TREE_FOCUS_CHANGED, WM_PARENTNOTIFY, WM_SIZE};
  EXPECT_EQ(pane.m_messages, expected);
  // A double click only lays out.
  pane.m_messages.clear();
  pane.SendMessage(WM_COMMAND, MAKEWPARAM(1003, BN_DOUBLECLICKED), (LPARAM)buttons[3].m_hWnd);
  EXPECT_EQ(pane.m_messages, std::vector<UINT>{WM_SIZE});
  pane.DestroyWindow();
}

// A 16 x 16 picture of one colour, as a plug-in's icon file.
void WriteIcon(const std::string& path, COLORREF color) {
  const int kSide = 16, kRow = kSide * 3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = kSide;
  info.biHeight = kSide;
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + kRow * kSide;
  std::string pixels;
  for (int i = 0; i < kSide * kSide; i++)
    pixels += {(char)GetBValue(color), (char)GetGValue(color), (char)GetRValue(color)};
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
  bytes += pixels;
  testsupport::WriteWholeFile(path, bytes);
}

TEST(TitleButton, DrawsThePluginsIconInItsColumn) {
  std::string folder = testsupport::NewTempFolder("glimora-titleicon");
  std::string icon = folder + "\\tree.bmp";
  WriteIcon(icon, RGB(255, 0, 0));
  CPaneStandIn pane;
  pane.CreateEx(0, AfxRegisterWndClass(0, 0, (HBRUSH)::GetStockObject(WHITE_BRUSH)), "folder pane",
                WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 80, 200, 175, 2 * 19 + 4, nullptr, nullptr);
  CTreePluginManager manager;
  CTreePluginEntry withIcon, without;
  withIcon.m_strImage = icon.c_str();
  CTreePluginEntry* entries[2] = {&withIcon, &without};
  CImageCheckButton buttons[2];
  for (int i = 0; i < 2; i++) {
    ASSERT_TRUE(buttons[i].Create("ツリー", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                                  CRect(0, 2 + 19 * i, 175, 19 + 19 * i), &pane, 1000 + i));
    ASSERT_TRUE(buttons[i].LoadBitmaps(IDB_TITLE_INACTIVE, IDB_TITLE_INACTIVE_PRESSED, IDB_TITLE_INACTIVE_FOCUS,
                                       IDB_TITLE_INACTIVE_DISABLED));
    buttons[i].SetPluginEntry(&manager, entries[i], i);
  }
  uikit::PumpPending();
  uikit::Picture pic(pane.m_hWnd);
  pic.Save("title_button_icon");
  auto column = [](int i) { return CRect(0, 2 + 19 * i, titlebutton::kIconColumn, 19 + 19 * i); };
  EXPECT_GT(pic.CountNear(column(0), RGB(255, 0, 0), 10), 100);  // the icon, fitted into the column
  EXPECT_EQ(pic.CountNear(column(1), RGB(255, 0, 0), 10), 0);    // no icon, no red
  EXPECT_EQ(pic.CountNear(CRect(titlebutton::kTextLeft, 2, 175, 19), RGB(255, 0, 0), 10), 0);  // the title's room
  pane.DestroyWindow();
  testsupport::RemoveTree(folder);
}

}  // namespace
