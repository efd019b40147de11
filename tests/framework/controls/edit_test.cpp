// Edit, combo box, list box, static and scroll bar: texts (Japanese included), limits,
// selections, notifications reflected to the control, owner-drawn combo items.
#include <gtest/gtest.h>

#include "ctltest.h"

using namespace ctltest;

namespace {

// An edit that hears its own EN_CHANGE (reflected by the parent), as the label editors do.
class CReflectingEdit : public CEdit {
 public:
  int m_nChanges = 0;

 protected:
  afx_msg void OnChange() { m_nChanges++; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CReflectingEdit, CEdit)
  ON_CONTROL_REFLECT(EN_CHANGE, &CReflectingEdit::OnChange)
END_MESSAGE_MAP()

// A parent that logs the notifications that reach it.
class CNotifyHost : public CHostWnd {
 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    Log("parent:" + std::to_string(HIWORD(wParam)));
    return CHostWnd::OnCommand(wParam, lParam);
  }
};

// An owner-drawn combo box (the skinned combo's way): fixed item height, drawn items.
class COwnerCombo : public CComboBox {
 public:
  std::vector<int> m_drawn;
  int m_nMeasured = 0;
  int m_nSelChanges = 0;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override {
    m_nMeasured++;
    lpMIS->itemHeight = 14;
  }
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override {
    m_drawn.push_back((int)lpDIS->itemID);
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    pDC->FillSolidRect(&lpDIS->rcItem, RGB(3, 37, 56));
  }

 protected:
  afx_msg void OnSelChange() { m_nSelChanges++; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(COwnerCombo, CComboBox)
  ON_CONTROL_REFLECT(CBN_SELCHANGE, &COwnerCombo::OnSelChange)
END_MESSAGE_MAP()

}  // namespace

TEST(Edit, LimitSelectionAndReflectedChanges) {
  CHostWnd host;
  ASSERT_TRUE(host.Make(300, 100));
  CReflectingEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(5, 5, 250, 30), &host, 20));
  edit.LimitText(32);
  EXPECT_EQ(32u, edit.GetLimitText());
  // The change notice goes to the edit's own map.
  edit.SetWindowText("name");
  EXPECT_EQ(1, edit.m_nChanges);
  edit.SetSel(0, -1);
  int nStart = -1, nEnd = -1;
  edit.GetSel(nStart, nEnd);
  EXPECT_EQ(0, nStart);
  EXPECT_EQ(4, nEnd);
  EXPECT_EQ(MAKELONG(0, 4), (LONG)edit.GetSel());
  edit.SetSel(2, 2);
  edit.ReplaceSel("の");
  CString text;
  edit.GetWindowText(text);
  EXPECT_STREQ("naのme", text);
  EXPECT_EQ(2, edit.m_nChanges);
  char line[16] = "";
  EXPECT_EQ(6, edit.GetLine(0, line, sizeof(line)));
  EXPECT_EQ(0, memcmp(line, "naのme", 6));
  edit.SetModify(FALSE);
  EXPECT_FALSE(edit.GetModify());
}

TEST(ComboBox, StringsSelectionAndDropDown) {
  CHostWnd host;
  ASSERT_TRUE(host.Make(300, 300));
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(5, 5, 200, 205), &host, 30));
  EXPECT_EQ(0, combo.AddString("撮影日"));
  EXPECT_EQ(1, combo.AddString("ファイル名"));
  EXPECT_EQ(0, combo.InsertString(0, "サイズ"));
  EXPECT_EQ(3, combo.GetCount());
  EXPECT_EQ(2, combo.FindStringExact(-1, "ファイル名"));
  EXPECT_EQ(CB_ERR, combo.FindStringExact(-1, "ファイル"));
  EXPECT_EQ(2, combo.FindString(-1, "ファイル"));
  EXPECT_EQ(1, combo.SelectString(-1, "撮影"));
  EXPECT_EQ(1, combo.GetCurSel());
  CString text;
  combo.GetLBText(2, text);
  EXPECT_STREQ("ファイル名", text);
  combo.GetLBText(7, text);
  EXPECT_TRUE(text.IsEmpty());
  combo.SetItemData(1, (DWORD_PTR)0x123456789ULL);
  EXPECT_EQ((DWORD_PTR)0x123456789ULL, combo.GetItemData(1));
  EXPECT_EQ(2, combo.DeleteString(0));
  EXPECT_EQ(0, combo.GetCurSel());

  EXPECT_FALSE(combo.GetDroppedState());
  combo.ShowDropDown(TRUE);
  EXPECT_TRUE(combo.GetDroppedState());
  combo.ShowDropDown(FALSE);
  EXPECT_FALSE(combo.GetDroppedState());
  combo.SetDropHeight(200);
  CRect rcDrop;
  combo.GetDroppedControlRect(&rcDrop);
  EXPECT_GE(rcDrop.Height(), 200);
  combo.ResetContent();
  EXPECT_EQ(0, combo.GetCount());
}

TEST(ComboBox, OwnerDrawnItemsAndReflectedSelection) {
  CNotifyHost host;
  ASSERT_TRUE(host.Make(300, 300));
  COwnerCombo combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                           CRect(5, 5, 200, 205), &host, 31));
  // The measure request came through the parent while the combo was made.
  EXPECT_GT(combo.m_nMeasured, 0);
  EXPECT_EQ(14, combo.GetItemHeight(0));
  combo.AddString("一");
  combo.AddString("二");
  combo.SetItemHeight(-1, 14);
  combo.SetCurSel(1);
  combo.m_drawn.clear();
  combo.RedrawWindow();
  // The selection field shows item 1.
  ASSERT_FALSE(combo.m_drawn.empty());
  EXPECT_EQ(1, combo.m_drawn.back());
  // A selection change notice the parent gets is the combo's own.
  g_log.clear();
  host.SendMessage(WM_COMMAND, MAKEWPARAM(31, CBN_SELCHANGE), (LPARAM)combo.m_hWnd);
  EXPECT_EQ(1, combo.m_nSelChanges);
  EXPECT_EQ("parent:1", Joined());  // the parent's OnCommand ran; its map got nothing
}

TEST(ListBox, StringsAndSelection) {
  CHostWnd host;
  ASSERT_TRUE(host.Make(200, 200));
  CListBox list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_EXTENDEDSEL, CRect(5, 5, 150, 150), &host, 40));
  list.AddString("赤");
  list.AddString("緑");
  list.AddString("青");
  EXPECT_EQ(3, list.GetCount());
  list.SetSel(0);
  list.SetSel(2);
  EXPECT_EQ(2, list.GetSelCount());
  int sel[4] = {};
  EXPECT_EQ(2, list.GetSelItems(4, sel));
  EXPECT_EQ(0, sel[0]);
  EXPECT_EQ(2, sel[1]);
  CString text;
  list.GetText(1, text);
  EXPECT_STREQ("緑", text);
  CRect rc;
  list.GetItemRect(1, &rc);
  BOOL bOutside = TRUE;
  EXPECT_EQ(1u, list.ItemFromPoint(rc.CenterPoint(), bOutside));
  EXPECT_FALSE(bOutside);
}

TEST(StaticAndScrollBar, IconFramesAndScrollLimits) {
  CHostWnd host;
  ASSERT_TRUE(host.Make(200, 200));
  CStatic frame;
  ASSERT_TRUE(frame.Create("", WS_CHILD | WS_VISIBLE | SS_ETCHEDFRAME, CRect(5, 5, 100, 50), &host));
  EXPECT_EQ((DWORD)SS_ETCHEDFRAME, frame.GetStyle() & SS_TYPEMASK);
  CStatic icon;
  ASSERT_TRUE(icon.Create("", WS_CHILD | WS_VISIBLE | SS_ICON, CRect(5, 60, 40, 100), &host, 50));
  HICON hIcon = ::LoadIcon(nullptr, IDI_INFORMATION);
  icon.SetIcon(hIcon);
  EXPECT_EQ(hIcon, icon.GetIcon());

  CScrollBar bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(5, 120, 180, 140), &host, 60));
  SCROLLINFO si = {};
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = 99;
  si.nPage = 10;
  si.nPos = 95;  // beyond the limit: the bar keeps it at 90
  bar.SetScrollInfo(&si);
  EXPECT_EQ(90, bar.GetScrollLimit());
  EXPECT_EQ(90, bar.GetScrollPos());
  bar.SetScrollPos(20);
  EXPECT_EQ(20, bar.GetScrollPos());
}
