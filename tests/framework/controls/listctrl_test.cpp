// List view: icon mode with overlay and state images, item positions, texts and data,
// the selection, callback texts (LVN_GETDISPINFO), virtual lists, columns and the header.
#include <gtest/gtest.h>

#include "ctltest.h"

using namespace ctltest;

namespace {

// A list that answers its own callback texts and logs reflected notifications.
class CCallbackList : public CListCtrl {
 public:
  int m_nItemChanged = 0;

 protected:
  afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
    NMLVDISPINFOA* p = (NMLVDISPINFOA*)pNMHDR;
    if (p->item.mask & LVIF_TEXT) {
      m_text.Format("項目%d-%d", p->item.iItem, p->item.iSubItem);
      lstrcpynA(p->item.pszText, m_text, p->item.cchTextMax);
    }
    if (p->item.mask & LVIF_IMAGE) p->item.iImage = p->item.iItem % 3;
    *pResult = 0;
  }
  afx_msg void OnItemChanged(NMHDR*, LRESULT* pResult) {
    m_nItemChanged++;
    *pResult = 0;
  }
  CString m_text;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCallbackList, CListCtrl)
  ON_NOTIFY_REFLECT(LVN_GETDISPINFOA, &CCallbackList::OnGetDispInfo)
  ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, &CCallbackList::OnItemChanged)
END_MESSAGE_MAP()

int CALLBACK ByDataDescending(LPARAM a, LPARAM b, LPARAM) { return (int)(b - a); }

}  // namespace

class ListCtrlTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Make(600, 400));
    ResourceScope scope;
    ASSERT_TRUE(images.Create(IDB_ICONS, 16, 4, RGB(255, 0, 255)));
    images.SetOverlayImage(0, 1);  // overlay 1: unchecked
    images.SetOverlayImage(1, 2);  // overlay 2: checked
    ASSERT_TRUE(states.Create(IDB_ICONS, 16, 4, RGB(255, 0, 255)));
  }
  CHostWnd host;
  CImageList images, states;
};

TEST_F(ListCtrlTest, IconModeWithOverlaysStatesAndPositions) {
  CListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SHAREIMAGELISTS, CRect(0, 0, 580, 380), &host, 70));
  EXPECT_EQ(nullptr, list.SetImageList(&images, LVSIL_NORMAL));
  list.SetImageList(&images, LVSIL_SMALL);
  list.SetImageList(&states, LVSIL_STATE);
  EXPECT_EQ(&images, list.GetImageList(LVSIL_NORMAL));
  list.SetIconSpacing(126, 95);
  CSize spacing = list.GetItemSpacing();
  EXPECT_EQ(126, spacing.cx);
  EXPECT_EQ(95, spacing.cy);
  EXPECT_TRUE(list.SetBkColor(RGB(195, 211, 215)));
  EXPECT_EQ(RGB(195, 211, 215), list.GetBkColor());
  list.SetTextBkColor(RGB(195, 211, 215));
  list.SetTextColor(RGB(96, 96, 96));
  EXPECT_EQ(RGB(96, 96, 96), list.GetTextColor());

  for (int i = 0; i < 5; ++i) {
    CString caption;
    caption.Format("写真%d", i);
    EXPECT_EQ(i, list.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE, i, caption, INDEXTOOVERLAYMASK(1),
                                 LVIS_OVERLAYMASK, i % 3, (LPARAM)(0x80000000u | i)));
  }
  EXPECT_EQ(5, list.GetItemCount());
  // Overlays live in state bits 0x0F00.
  struct {
    int item;
    UINT state, mask, expected;
  } cases[] = {
      {0, INDEXTOOVERLAYMASK(2), LVIS_OVERLAYMASK, 0x0200},
      {1, INDEXTOOVERLAYMASK(1), LVIS_OVERLAYMASK, 0x0100},
      {2, INDEXTOOVERLAYMASK(3), LVIS_OVERLAYMASK, 0x0300},
      {3, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK, 0x2000},
      {4, LVIS_CUT, LVIS_CUT, LVIS_CUT},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(list.SetItemState(c.item, c.state, c.mask));
    EXPECT_EQ(c.expected, list.GetItemState(c.item, c.mask)) << "item " << c.item;
  }
  // Setting the overlay leaves the other state bits alone.
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  list.SetItemState(0, INDEXTOOVERLAYMASK(1), LVIS_OVERLAYMASK);
  EXPECT_EQ((UINT)(LVIS_SELECTED | 0x0100), list.GetItemState(0, LVIS_SELECTED | LVIS_OVERLAYMASK));
  EXPECT_TRUE(list.GetCheck(3));
  EXPECT_FALSE(list.GetCheck(4));  // no state image at all
  list.SetCheck(3, FALSE);
  EXPECT_EQ(0x1000u, list.GetItemState(3, LVIS_STATEIMAGEMASK));
  EXPECT_FALSE(list.GetCheck(3));

  // Positions by 32-bit coordinates, as the thumbnail list lays out its grid.
  for (int i = 0; i < 5; ++i) list.SetItemPosition32(i, CPoint((i % 3) * 126 + 18, (i / 3) * 95));
  for (int i = 0; i < 5; ++i) {
    CPoint pt;
    ASSERT_TRUE(list.GetItemPosition(i, &pt));
    EXPECT_EQ((i % 3) * 126 + 18, pt.x) << i;
    EXPECT_EQ((i / 3) * 95, pt.y) << i;
  }
  CRect rcIcon;
  ASSERT_TRUE(list.GetItemRect(4, &rcIcon, LVIR_ICON));
  UINT flags = 0;
  EXPECT_EQ(4, list.HitTest(rcIcon.CenterPoint(), &flags));
  EXPECT_TRUE(flags & LVHT_ONITEMICON);
  EXPECT_EQ(-1, list.HitTest(CPoint(570, 370), &flags));
  EXPECT_EQ((DWORD_PTR)0x80000002u, list.GetItemData(2));
  EXPECT_EQ(0, list.GetTopIndex());
  EXPECT_TRUE(list.EnsureVisible(4, FALSE));
  EXPECT_TRUE(list.RedrawItems(0, 4));
  list.UpdateWindow();
}

TEST_F(ListCtrlTest, SelectionTextsAndData) {
  CCallbackList list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS | LVS_SHAREIMAGELISTS,
                          CRect(0, 0, 580, 380), &host, 71));
  EXPECT_EQ(0, list.InsertColumn(0, "main", LVCFMT_LEFT, 200));
  EXPECT_EQ(1, list.InsertColumn(1, "fullpath", LVCFMT_LEFT, 0));
  CHeaderCtrl* pHeader = list.GetHeaderCtrl();
  ASSERT_NE(nullptr, pHeader);
  EXPECT_EQ(2, pHeader->GetItemCount());
  EXPECT_EQ(200, list.GetColumnWidth(0));
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(list.GetExtendedStyle() & LVS_EX_FULLROWSELECT);

  // A long Japanese text and a path in the hidden column.
  CString longText;
  for (int i = 0; i < 150; ++i) longText += "長";
  EXPECT_EQ(0, list.InsertItem(0, longText));
  EXPECT_EQ(1, list.InsertItem(1, LPSTR_TEXTCALLBACKA));
  EXPECT_EQ(2, list.InsertItem(2, "三"));
  EXPECT_TRUE(list.SetItemText(0, 1, "C:\\写真\\IMG_0001.JPG"));
  EXPECT_STREQ(longText, list.GetItemText(0, 0));
  EXPECT_STREQ("C:\\写真\\IMG_0001.JPG", list.GetItemText(0, 1));
  EXPECT_STREQ("項目1-0", list.GetItemText(1, 0));  // answered by LVN_GETDISPINFO
  EXPECT_TRUE(list.GetItemText(9, 0).IsEmpty());
  char buffer[64] = "";
  EXPECT_GT(list.GetItemText(0, 1, buffer, sizeof(buffer)), 0);
  EXPECT_STREQ("C:\\写真\\IMG_0001.JPG", buffer);

  // Pointers fit the item data whole.
  int anchor = 0;
  EXPECT_TRUE(list.SetItemData(2, (DWORD_PTR)&anchor));
  EXPECT_EQ((DWORD_PTR)&anchor, list.GetItemData(2));

  list.m_nItemChanged = 0;
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_GT(list.m_nItemChanged, 0);
  EXPECT_EQ(2u, list.GetSelectedCount());
  EXPECT_EQ(0, list.GetNextItem(-1, LVNI_SELECTED));
  EXPECT_EQ(2, list.GetNextItem(0, LVNI_SELECTED));
  EXPECT_EQ(-1, list.GetNextItem(2, LVNI_SELECTED));
  EXPECT_EQ(2, list.GetNextItem(-1, LVNI_FOCUSED));
  std::vector<int> walked;
  for (POSITION pos = list.GetFirstSelectedItemPosition(); pos;) walked.push_back(list.GetNextSelectedItem(pos));
  EXPECT_EQ((std::vector<int>{0, 2}), walked);
  list.SetItemState(-1, 0, LVIS_SELECTED);
  EXPECT_EQ(0u, list.GetSelectedCount());
  EXPECT_EQ(nullptr, list.GetFirstSelectedItemPosition());

  CRect rcSub;
  EXPECT_TRUE(list.GetSubItemRect(0, 0, LVIR_LABEL, rcSub));
  LVHITTESTINFO hit = {};
  hit.pt = rcSub.CenterPoint();
  EXPECT_EQ(0, list.SubItemHitTest(&hit));
  EXPECT_EQ(0, hit.iSubItem);

  // Sorting by item data: 2 (pointer) above the zeros.
  list.SortItems(&ByDataDescending, 0);
  EXPECT_STREQ("三", list.GetItemText(0, 0));

  // Label editing: the editor is a CEdit the caller may use.
  list.SetFocus();
  CEdit* pEdit = list.EditLabel(0);
  ASSERT_NE(nullptr, pEdit);
  EXPECT_EQ(pEdit->m_hWnd, list.GetEditControl()->m_hWnd);
  pEdit->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  PumpPending();

  EXPECT_TRUE(list.DeleteItem(0));
  EXPECT_EQ(2, list.GetItemCount());
  EXPECT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(0, list.GetItemCount());
}

TEST_F(ListCtrlTest, VirtualListTakesItsCountWithoutRepaintingAll) {
  CCallbackList list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, CRect(0, 0, 580, 380), &host, 72));
  list.InsertColumn(0, "name", LVCFMT_LEFT, 200);
  list.InsertColumn(1, "size", LVCFMT_RIGHT, 80);
  EXPECT_TRUE(list.SetItemCountEx(1000, LVSICF_NOINVALIDATEALL));
  EXPECT_EQ(1000, list.GetItemCount());
  EXPECT_STREQ("項目999-1", list.GetItemText(999, 1));
  EXPECT_TRUE(list.SetItemCountEx(10));
  EXPECT_EQ(10, list.GetItemCount());
  EXPECT_GT(list.GetCountPerPage(), 0);
  EXPECT_TRUE(list.EnsureVisible(9, FALSE));
  list.SetRedraw(FALSE);
  list.SetItemCountEx(20);
  list.SetRedraw(TRUE);
  EXPECT_EQ(20, list.GetItemCount());
}

TEST_F(ListCtrlTest, ArrangeAndDragImage) {
  CListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SHAREIMAGELISTS, CRect(0, 0, 580, 380), &host, 73));
  list.SetImageList(&images, LVSIL_NORMAL);
  for (int i = 0; i < 3; ++i) list.InsertItem(i, "項目", i);
  list.SetItemPosition32(0, CPoint(300, 200));
  EXPECT_TRUE(list.Arrange(LVA_ALIGNTOP));
  CPoint pt;
  list.GetItemPosition(0, &pt);
  EXPECT_LT(pt.y, 200);
  CPoint ptDrag;
  CImageList* pDrag = list.CreateDragImage(1, &ptDrag);
  ASSERT_NE(nullptr, pDrag);
  EXPECT_GE(pDrag->GetImageCount(), 1);
  delete pDrag;
}
