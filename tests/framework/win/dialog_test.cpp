// Dialogs from templates of a resource-only library: modal runs ended from OnInitDialog,
// a timer or the keyboard; data exchange and validation; modeless dialogs; message boxes.
#include <gtest/gtest.h>

#include "testwin.h"

namespace {

// Closes the next message box this thread shows (from a thread timer) and keeps its texts.
struct BoxCloser {
  static std::string s_caption;
  static std::string s_text;
  static int s_nAnswer;
  UINT_PTR m_id;

  explicit BoxCloser(int nAnswer = IDOK) {
    s_caption.clear();
    s_text.clear();
    s_nAnswer = nAnswer;
    m_id = ::SetTimer(nullptr, 0, 30, &BoxCloser::OnTimer);
  }
  ~BoxCloser() { ::KillTimer(nullptr, m_id); }

  static BOOL CALLBACK FindBox(HWND hWnd, LPARAM) {
    char cls[16] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (lstrcmpA(cls, "#32770") != 0 || !::IsWindowVisible(hWnd) || !::GetDlgItem(hWnd, 0xFFFF)) return TRUE;
    char buf[256] = "";
    ::GetWindowTextA(hWnd, buf, sizeof(buf));
    s_caption = buf;
    ::GetDlgItemTextA(hWnd, 0xFFFF, buf, sizeof(buf));
    s_text = buf;
    ::PostMessageA(hWnd, WM_COMMAND, (WPARAM)s_nAnswer, 0);
    return FALSE;
  }
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), &BoxCloser::FindBox, 0);
  }
};
std::string BoxCloser::s_caption;
std::string BoxCloser::s_text;
int BoxCloser::s_nAnswer = IDOK;

class CEndsInInitDialog : public CDialog {
 public:
  CEndsInInitDialog() : CDialog(IDD_MODAL) {}
  int m_nShown = 0;
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    EndDialog(5);
    return TRUE;
  }

 protected:
  afx_msg void OnShowWindow(BOOL bShow, UINT) {
    if (bShow) m_nShown++;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CEndsInInitDialog, CDialog)
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

TEST(Dialog, EndDialogFromOnInitDialogEndsBeforeTheDialogShows) {
  fwtest::ResourceScope res;
  CEndsInInitDialog dlg;
  EXPECT_EQ(dlg.DoModal(), 5);
  EXPECT_EQ(dlg.m_nShown, 0);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
}

class CCountingDialog : public CDialog {
 public:
  explicit CCountingDialog(UINT nID) : CDialog(nID) {}
  int m_nInit = 0;
  BOOL OnInitDialog() override {
    m_nInit++;
    return CDialog::OnInitDialog();
  }
};

TEST(Dialog, MissingTemplateGivesMinusOneAndNoWindow) {
  fwtest::ResourceScope res;
  CCountingDialog dlg(9999);
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_EQ(dlg.m_nInit, 0);
}

// Ends itself from a timer set in OnInitDialog; disables its owner meanwhile.
class CTimedDialog : public CDialog {
 public:
  explicit CTimedDialog(CWnd* pParent) : CDialog(IDD_MODAL, pParent) {}
  BOOL m_bOwnerDisabled = FALSE;
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetTimer(1, 20, nullptr);
    return TRUE;
  }

 protected:
  afx_msg void OnTimer(UINT_PTR) {
    KillTimer(1);
    m_bOwnerDisabled = !m_pParentWnd->IsWindowEnabled();
    // Close it with the keyboard: Esc reaches the dialog through the pump's pre-translation.
    CWnd* pEdit = GetDlgItem(IDC_EDIT_TEXT);
    pEdit->PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTimedDialog, CDialog)
  ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(Dialog, ModalLoopRunsDialogKeysAndEnablesTheOwnerAgain) {
  fwtest::ResourceScope res;
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                             nullptr));
  CTimedDialog dlg(&owner);
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_TRUE(dlg.m_bOwnerDisabled);
  EXPECT_TRUE(owner.IsWindowEnabled());
  owner.DestroyWindow();
}

TEST(Dialog, TemplatesAreFoundAlongTheExtensionChain) {
  // The resource library is not the resource handle, only a registered extension library.
  CDynLinkLibrary* pLib = new CDynLinkLibrary(fwtest::ResourceDll(), fwtest::ResourceDll());
  CEndsInInitDialog dlg;
  EXPECT_EQ(dlg.DoModal(), 5);
  delete pLib;
  CEndsInInitDialog dlg2;
  EXPECT_EQ(dlg2.DoModal(), -1);
}

class CDataDialog : public CDialog {
 public:
  CDataDialog() : CDialog(IDD_DATA) {}
  int m_nInt = -12;
  UINT m_nUInt = 4000000000u;
  CString m_strText = "表示テキスト";
  int m_nCheck = 1;
  int m_nRadio = 2;
  int m_nCombo = 1;
  int m_nMin = -100, m_nMax = 100;
  std::function<void(CDataDialog*)> m_test;
  BOOL OnInitDialog() override {
    CComboBoxFill();
    CDialog::OnInitDialog();
    m_test(this);
    EndDialog(IDOK);
    return TRUE;
  }
  void CComboBoxFill() {
    for (const char* s : {"小", "中", "大"}) SendDlgItemMessage(IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)s);
  }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_EDIT_INT, m_nInt);
    DDV_MinMaxInt(pDX, m_nInt, m_nMin, m_nMax);
    DDX_Text(pDX, IDC_EDIT_UINT, m_nUInt);
    DDX_Text(pDX, IDC_EDIT_TEXT, m_strText);
    DDV_MaxChars(pDX, m_strText, 12);
    DDX_Check(pDX, IDC_CHECK, m_nCheck);
    DDX_Radio(pDX, IDC_RADIO1, m_nRadio);
    DDX_CBIndex(pDX, IDC_COMBO, m_nCombo);
  }
};

TEST(DataExchange, MembersToControlsAndBack) {
  fwtest::ResourceScope res;
  CDataDialog dlg;
  dlg.m_test = [](CDataDialog* p) {
    CString s;
    p->GetDlgItemText(IDC_EDIT_INT, s);
    EXPECT_STREQ(s, "-12");
    p->GetDlgItemText(IDC_EDIT_UINT, s);
    EXPECT_STREQ(s, "4000000000");
    p->GetDlgItemText(IDC_EDIT_TEXT, s);
    EXPECT_STREQ(s, "表示テキスト");
    EXPECT_EQ(p->IsDlgButtonChecked(IDC_CHECK), 1u);
    EXPECT_EQ(p->GetCheckedRadioButton(IDC_RADIO1, IDC_RADIO3), IDC_RADIO3);
    EXPECT_EQ(p->SendDlgItemMessage(IDC_COMBO, CB_GETCURSEL), 1);
    EXPECT_EQ(p->SendDlgItemMessage(IDC_EDIT_TEXT, EM_GETLIMITTEXT), 12);  // from DDV_MaxChars

    p->SetDlgItemText(IDC_EDIT_INT, " 42 ");
    p->SetDlgItemText(IDC_EDIT_UINT, "7");
    p->SetDlgItemText(IDC_EDIT_TEXT, "新しい");
    p->CheckDlgButton(IDC_CHECK, 0);
    p->CheckRadioButton(IDC_RADIO1, IDC_RADIO3, IDC_RADIO1);
    p->SendDlgItemMessage(IDC_COMBO, CB_SETCURSEL, 2);
    EXPECT_TRUE(p->UpdateData(TRUE));
    EXPECT_EQ(p->m_nInt, 42);
    EXPECT_EQ(p->m_nUInt, 7u);
    EXPECT_STREQ(p->m_strText, "新しい");
    EXPECT_EQ(p->m_nCheck, 0);
    EXPECT_EQ(p->m_nRadio, 0);
    EXPECT_EQ(p->m_nCombo, 2);
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(DataExchange, InvalidInputIsReportedAndTheControlFocused) {
  fwtest::ResourceScope res;
  struct {
    const char* intText;
    const char* uintText;
    const char* expectedBox;
  } cases[] = {
      {"abc", "1", "整数を入力してください。"},
      {"12x", "1", "整数を入力してください。"},
      {"", "1", "整数を入力してください。"},
      {"101", "1", "-100 から 100 までの整数を入力してください。"},
      {"5", "-1", "正の整数を入力してください。"},
      {"5", "4294967296", "正の整数を入力してください。"},
  };
  for (auto& c : cases) {
    CDataDialog dlg;
    std::string box;
    HWND hFocus = nullptr, hFailed = nullptr;
    dlg.m_test = [&](CDataDialog* p) {
      p->SetDlgItemText(IDC_EDIT_INT, c.intText);
      p->SetDlgItemText(IDC_EDIT_UINT, c.uintText);
      BoxCloser closer;
      EXPECT_FALSE(p->UpdateData(TRUE));
      box = BoxCloser::s_text;
      hFocus = ::GetFocus();
      hFailed = ::GetDlgItem(p->m_hWnd, strcmp(c.uintText, "1") ? IDC_EDIT_UINT : IDC_EDIT_INT);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(box, c.expectedBox) << c.intText << " " << c.uintText;
    EXPECT_EQ(hFocus, hFailed);
  }
}

// Dispatches what waits in the queue, a quit logged as such; the log since the last look.
std::string HandOutWaiting() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT)
      fwtest::Log("quit " + std::to_string(msg.wParam));
    else
      ::DispatchMessageA(&msg);
  }
  return fwtest::Joined();
}

// Logs the closes it is handed instead of closing.
class CCloseLogWnd : public CWnd {
 public:
  explicit CCloseLogWnd(const char* name) : m_name(name) {}
  // A hidden top-level window.
  BOOL Create(DWORD style) {
    return CreateEx(0, AfxRegisterWndClass(0), m_name.c_str(), style, 0, 0, 300, 200, nullptr, nullptr);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CLOSE || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)) {
      fwtest::Log(m_name + (message == WM_CLOSE ? " close" : " sysclose"));
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::string m_name;
};

// At its first idle pass the dialog posts a close of its owner, a system close of another
// top-level window and a quit; at the next it notes what the others saw and posts its own
// close, which ends it before a third.
class CClosingAroundDialog : public CDialog {
 public:
  CClosingAroundDialog(CWnd* pOwner, CWnd* pOther, BOOL bHold) : CDialog(IDD_MODAL, pOwner), m_pOther(pOther) {
    m_bHoldOtherCloses = bHold;
  }
  CWnd* m_pOther;
  int m_nStep = 0;
  std::string m_strSeen = "not reached";

 protected:
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
    if (m_nStep == 0) {
      m_pParentWnd->PostMessage(WM_CLOSE);
      m_pOther->PostMessage(WM_SYSCOMMAND, SC_CLOSE);
      ::PostQuitMessage(7);
    } else if (m_nStep == 1) {
      m_strSeen = fwtest::Joined();
      PostMessage(WM_CLOSE);
    } else {
      EndDialog(99);  // its own close was held: end here rather than hang
    }
    m_nStep++;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CClosingAroundDialog, CDialog)
  ON_MESSAGE(WM_KICKIDLE, &CClosingAroundDialog::OnKickIdle)
END_MESSAGE_MAP()

// A dialog told to hold other windows' closes (its work must not lose the program under
// it) keeps the owner's and another window's close and the quit until it ends, then they
// come in their order; its own close still ends it. Any other dialog hands them on at once
// and ends at the quit, which it posts again.
TEST(Dialog, HoldingDialogKeepsOtherWindowsClosesAndTheQuitUntilItEnds) {
  fwtest::ResourceScope res;
  const struct {
    BOOL hold;
    INT_PTR result;
    const char* seenWhileRunning;  // what the others were handed before the dialog closed itself
    const char* seenWhenEnded;     // ... by the end of DoModal
    const char* seenAfter;         // ... once the queue is pumped
  } cases[] = {
      {TRUE, IDCANCEL, "", "", "owner close|other sysclose|quit 7"},
      {FALSE, -1, "not reached", "owner close|other sysclose", "quit 7"},
  };
  for (const auto& c : cases) {
    CCloseLogWnd owner("owner"), other("other");
    ASSERT_TRUE(owner.Create(WS_OVERLAPPED));
    ASSERT_TRUE(other.Create(WS_OVERLAPPED));
    fwtest::Joined();
    CClosingAroundDialog dlg(&owner, &other, c.hold);
    EXPECT_EQ(dlg.DoModal(), c.result) << c.hold;
    EXPECT_EQ(dlg.m_strSeen, c.seenWhileRunning) << c.hold;
    EXPECT_EQ(fwtest::Joined(), c.seenWhenEnded) << c.hold;
    EXPECT_EQ(HandOutWaiting(), c.seenAfter) << c.hold;
    EXPECT_TRUE(owner.IsWindowEnabled());
    other.DestroyWindow();
    owner.DestroyWindow();
  }
}

// At its first idle pass a holding dialog runs a plain one (as a message box of it would
// be), which posts a close of the holding one, a system close of another window and a quit.
class CHoldingAroundDialog : public CDialog {
 public:
  CHoldingAroundDialog(CWnd* pOwner, CWnd* pOther) : CDialog(IDD_MODAL, pOwner), m_inner(this, pOther, FALSE) {
    m_bHoldOtherCloses = TRUE;
  }
  CClosingAroundDialog m_inner;
  INT_PTR m_nInnerResult = 0;
  int m_nStep = 0;

 protected:
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
    if (m_nStep++ == 0)
      m_nInnerResult = m_inner.DoModal();
    else
      EndDialog(99);  // the close the inner dialog posted did not reach it
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CHoldingAroundDialog, CDialog)
  ON_MESSAGE(WM_KICKIDLE, &CHoldingAroundDialog::OnKickIdle)
END_MESSAGE_MAP()

// A dialog run inside a holding one holds as well: it ends by its own close, not the quit;
// the holding dialog gets its close after the inner one ended, the others after both.
TEST(Dialog, DialogInsideAHoldingOneHoldsToo) {
  fwtest::ResourceScope res;
  CCloseLogWnd owner("owner"), other("other");
  ASSERT_TRUE(owner.Create(WS_OVERLAPPED));
  ASSERT_TRUE(other.Create(WS_OVERLAPPED));
  fwtest::Joined();
  CHoldingAroundDialog dlg(&owner, &other);
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_nInnerResult, IDCANCEL);
  EXPECT_EQ(dlg.m_inner.m_strSeen, "");
  EXPECT_EQ(fwtest::Joined(), "");
  EXPECT_EQ(HandOutWaiting(), "other sysclose|quit 7");
  other.DestroyWindow();
  owner.DestroyWindow();
}

// Runs a dialog from its handler of WM_APP, as a handler an import's wait dispatches would.
class CRunsDialogWnd : public CCloseLogWnd {
 public:
  using CCloseLogWnd::CCloseLogWnd;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_APP) return CCloseLogWnd::WindowProc(message, wParam, lParam);
    m_nResult = m_pDialog->DoModal();
    return 0;
  }
  CDialog* m_pDialog = nullptr;
  INT_PTR m_nResult = 0;
};

// A plain dialog run from a message the holder's pump dispatches holds as well: the close
// of the holder's window comes once the dialog has ended, the others once the holder goes.
TEST(Dialog, DialogRunUnderAHoldersPumpHoldsToo) {
  fwtest::ResourceScope res;
  CRunsDialogWnd own("own");
  CCloseLogWnd other("other");
  ASSERT_TRUE(own.Create(WS_POPUP));
  ASSERT_TRUE(other.Create(WS_OVERLAPPED));
  CClosingAroundDialog inner(&own, &other, FALSE);
  own.m_pDialog = &inner;
  fwtest::Joined();
  {
    CCloseHolder holder(own.m_hWnd);
    own.PostMessage(WM_APP);
    holder.Pump();
    EXPECT_EQ(own.m_nResult, IDCANCEL);
    EXPECT_EQ(inner.m_strSeen, "");
    EXPECT_EQ(fwtest::Joined(), "own close");
  }
  EXPECT_EQ(HandOutWaiting(), "other sysclose|quit 7");
  other.DestroyWindow();
  own.DestroyWindow();
}

TEST(Dialog, ModelessDialogLivesUntilDestroyed) {
  fwtest::ResourceScope res;
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "", WS_OVERLAPPED, 0, 0, 300, 200, nullptr, nullptr));
  CCountingDialog dlg(IDD_MODAL);
  ASSERT_TRUE(dlg.Create(IDD_MODAL, &owner));
  EXPECT_EQ(dlg.m_nInit, 1);
  EXPECT_EQ(::GetWindow(dlg.m_hWnd, GW_OWNER), owner.m_hWnd);
  EXPECT_TRUE(owner.IsWindowEnabled());  // modeless: the owner stays usable
  dlg.SetDefID(IDCANCEL);
  EXPECT_EQ(LOWORD(dlg.GetDefID()), IDCANCEL);
  dlg.DestroyWindow();
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  owner.DestroyWindow();
}

TEST(MessageBox, CaptionIsTheApplicationsNameAndNoWindowIsNeeded) {
  LPCSTR pszOld = theApp.m_pszAppName;
  theApp.m_pszAppName = _strdup("テストアプリ");
  {
    BoxCloser closer(IDNO);
    EXPECT_EQ(AfxMessageBox("消しますか?", MB_YESNO), IDNO);
  }
  EXPECT_EQ(BoxCloser::s_caption, "テストアプリ");
  EXPECT_EQ(BoxCloser::s_text, "消しますか?");
  {
    fwtest::ResourceScope res;
    BoxCloser closer;
    EXPECT_EQ(AfxMessageBox(ID_CMD_VIEW), IDOK);
  }
  EXPECT_EQ(BoxCloser::s_text, "ビューのコマンド");
  free(const_cast<LPSTR>(theApp.m_pszAppName));
  theApp.m_pszAppName = pszOld;
}

}  // namespace
