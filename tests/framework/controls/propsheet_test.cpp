// Property sheets: pages from templates of the resource library, their initialisation,
// timers, data exchange, OK and Cancel, the header's and pages' flags.
#include <gtest/gtest.h>

#include "ctltest.h"

using namespace ctltest;

namespace {

// The first page: an edit and a check box exchanged with members; a timer set at
// initialisation types a name and ends the sheet as the test asks.
class CNamePage : public CPropertyPage {
 public:
  CNamePage() : CPropertyPage(IDD_PAGE_ONE, IDS_PAGE_ONE) {}
  CString m_strName = "初期値";
  int m_nCheck = 1;
  int m_nEndWith = IDOK;

  BOOL OnInitDialog() override {
    CPropertyPage::OnInitDialog();
    CString text;
    GetDlgItemText(IDC_PAGE_EDIT, text);
    Log("init:" + std::string(text));
    SetTimer(7, 20, nullptr);
    return TRUE;
  }
  BOOL OnSetActive() override {
    Log("active");
    return CPropertyPage::OnSetActive();
  }
  BOOL OnKillActive() override {
    Log("kill");
    return CPropertyPage::OnKillActive();
  }
  void OnOK() override { Log("ok:" + std::string(m_strName)); }
  void OnCancel() override { Log("cancel"); }

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_PAGE_EDIT, m_strName);
    DDX_Check(pDX, IDC_PAGE_CHECK, m_nCheck);
  }
  afx_msg void OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != 7) return;
    KillTimer(7);
    Log("timer");
    SetDlgItemText(IDC_PAGE_EDIT, "新しい名前");
    CheckDlgButton(IDC_PAGE_CHECK, BST_UNCHECKED);
    GetSheet()->EndDialog(m_nEndWith);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CNamePage, CPropertyPage)
  ON_WM_TIMER()
END_MESSAGE_MAP()

class CSecondPage : public CPropertyPage {
 public:
  CSecondPage() : CPropertyPage(IDD_PAGE_TWO, IDS_PAGE_TWO) {}
  BOOL OnInitDialog() override {
    Log("second:init");
    return CPropertyPage::OnInitDialog();
  }
  void OnOK() override { Log("second:ok"); }
};

}  // namespace

TEST(PropSheet, OkTakesThePagesData) {
  ResourceScope scope;
  CNamePage one;
  CSecondPage two;
  CPropertySheet sheet(IDS_SHEET);
  sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
  one.m_psp.dwFlags &= ~PSP_HASHELP;
  sheet.AddPage(&one);
  sheet.AddPage(&two);
  EXPECT_EQ(2, sheet.GetPageCount());
  EXPECT_EQ(&two, sheet.GetPage(1));
  EXPECT_EQ(1, sheet.GetPageIndex(&two));
  g_log.clear();
  EXPECT_EQ(IDOK, sheet.DoModal());
  // Only the page that was shown was made; leaving it on OK saved its controls.
  EXPECT_EQ("init:初期値|active|timer|kill|ok:新しい名前", Joined());
  EXPECT_STREQ("新しい名前", one.m_strName);
  EXPECT_EQ(0, one.m_nCheck);
  EXPECT_EQ(nullptr, sheet.m_hWnd);
  EXPECT_EQ(nullptr, one.m_hWnd);
}

TEST(PropSheet, CancelKeepsTheData) {
  ResourceScope scope;
  CNamePage one;
  one.m_nEndWith = IDCANCEL;
  CPropertySheet sheet("シート");
  sheet.AddPage(&one);
  g_log.clear();
  EXPECT_EQ(IDCANCEL, sheet.DoModal());
  EXPECT_EQ("init:初期値|active|timer|cancel", Joined());
  EXPECT_STREQ("初期値", one.m_strName);
  EXPECT_EQ(1, one.m_nCheck);
}

TEST(PropSheet, StartPageTabsAndApplyButton) {
  ResourceScope scope;
  CNamePage one;
  CSecondPage two;
  CPropertySheet sheet(IDS_SHEET, nullptr, 1);
  sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
  sheet.AddPage(&one);
  sheet.AddPage(&two);
  std::string tabs;
  bool bApplyShown = true;
  int nActive = -1;
  TimedAction look([&]() {
    if (!sheet.m_hWnd || !two.m_hWnd) return false;
    CTabCtrl* pTabs = sheet.GetTabControl();
    for (int i = 0; pTabs && i < pTabs->GetItemCount(); ++i) {
      char text[32] = "";
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof(text);
      pTabs->GetItem(i, &item);
      tabs += std::string(i ? "|" : "") + text;
    }
    HWND hApply = ::GetDlgItem(sheet.m_hWnd, 0x3021);
    bApplyShown = hApply && ::IsWindowVisible(hApply);
    nActive = sheet.GetActiveIndex();
    sheet.EndDialog(IDCANCEL);
    return true;
  });
  g_log.clear();
  EXPECT_EQ(IDCANCEL, sheet.DoModal());
  // The captions come from the pages' caption strings, the second page was shown first.
  EXPECT_EQ("一般|詳細", tabs);
  EXPECT_EQ(1, nActive);
  EXPECT_FALSE(bApplyShown);
  EXPECT_EQ("second:init", Joined());
}
