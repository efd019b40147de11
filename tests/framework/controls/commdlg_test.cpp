// Common dialogs: the framework's filter format, a colour dialog with an added button
// routed through its message map, file dialogs driven by a timer, printer set-up without
// a printer.
#include <gtest/gtest.h>

#include <cderr.h>

#include "ctltest.h"

using namespace ctltest;

namespace {

std::string Raw(const CString& s) { return std::string((LPCSTR)s, s.GetLength()); }

// The folder colour dialog's way: a button added right of Cancel that ends the dialog as
// OK and says "default colour".
class CAddedButtonColorDialog : public CColorDialog {
 public:
  CAddedButtonColorDialog() : CColorDialog(0, 0, nullptr) {}
  BOOL m_bDefault = FALSE;
  int m_nPress = 2501;  // what the timer presses
  CButton* m_pButton = nullptr;
  CFont* m_pFont = nullptr;

  BOOL OnInitDialog() override {
    CColorDialog::OnInitDialog();
    CRect rcOK, rcCancel;
    GetDlgItem(IDOK)->GetWindowRect(&rcOK);
    GetDlgItem(IDCANCEL)->GetWindowRect(&rcCancel);
    ScreenToClient(&rcOK);
    ScreenToClient(&rcCancel);
    CRect rc(rcCancel.left + (rcCancel.right - rcOK.right), rcCancel.top,
             rcCancel.right + (rcCancel.right - rcOK.right), rcCancel.bottom);
    m_pButton = new CButton;
    m_pButton->Create("既定", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CENTER | BS_VCENTER, rc, this, 2501);
    m_pFont = new CFont;
    m_pFont->CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, PROOF_QUALITY, 32, "MS UI Gothic");
    m_pButton->SetFont(m_pFont, TRUE);
    Log("init");
    SetTimer(5, 20, nullptr);
    return TRUE;
  }

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent) {
    KillTimer(nIDEvent);
    Log("timer");
    if (m_nPress == 2501)
      m_pButton->SendMessage(BM_CLICK);
    else
      GetDlgItem(m_nPress)->SendMessage(BM_CLICK);
  }
  afx_msg void OnDefaultColor() {
    Log("button");
    m_bDefault = TRUE;
    EndDialog(IDOK);
  }
  afx_msg void OnDestroy() {
    CColorDialog::OnDestroy();
    Log("destroy");
    m_pButton->DestroyWindow();
    delete m_pButton;
    m_pButton = nullptr;
    delete m_pFont;
    m_pFont = nullptr;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CAddedButtonColorDialog, CColorDialog)
  ON_WM_DESTROY()
  ON_WM_TIMER()
  ON_COMMAND(2501, &CAddedButtonColorDialog::OnDefaultColor)
END_MESSAGE_MAP()

}  // namespace

TEST(FileDialog, FilterFormatBecomesTheSystemsList) {
  struct {
    const char* in;
    std::string out;
  } cases[] = {
      {"Text|*.txt|All|*.*||", std::string("Text\0*.txt\0All\0*.*\0", 19)},
      {"画像|*.jpg;*.png||", std::string("画像\0*.jpg;*.png\0", 17)},
      {"Text|*.txt", std::string("Text\0*.txt\0", 11)},         // no closing "||"
      {"ポ|*.po||", std::string("ポ\0*.po\0", 8)},              // 'ポ' ends with the byte of '|'
      {"", std::string()},
      {nullptr, std::string()},
  };
  for (const auto& c : cases) EXPECT_EQ(c.out, Raw(AfxFilterToSystem(c.in))) << (c.in ? c.in : "(null)");
}

TEST(FileDialog, OpenReturnsTheChosenPath) {
  TempFile file("fwctl_open_テスト.jpg", "x");
  CFileDialog dlg(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, "画像|*.jpg||");
  TimedAction chooser([&]() {
    HWND hDlg = FindThreadDialog();
    if (!hDlg) return false;
    // The name box of the system's dialog (a combo box, or an edit in older layouts).
    HWND hName = ::GetDlgItem(hDlg, cmb13);
    if (!hName) hName = ::GetDlgItem(hDlg, edt1);
    if (!hName) return false;
    ::SetWindowTextA(hName, file.Path());
    ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
    return true;
  });
  ASSERT_EQ(IDOK, dlg.DoModal());
  EXPECT_STREQ(file.Path(), dlg.GetPathName());
  EXPECT_STREQ("fwctl_open_テスト.jpg", dlg.GetFileName());
  EXPECT_STREQ("jpg", dlg.GetFileExt());
  EXPECT_STREQ("fwctl_open_テスト", dlg.GetFileTitle());
}

TEST(FileDialog, SaveStartsInTheGivenFolderWithTheGivenName) {
  char dir[MAX_PATH] = "";
  ::GetTempPathA(sizeof(dir), dir);
  CString folder(dir);
  if (folder.Right(1) == "\\") folder = folder.Left(folder.GetLength() - 1);
  CFileDialog dlg(FALSE, "txt", "保存先.txt", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "テキスト|*.txt||");
  dlg.m_ofn.lpstrInitialDir = folder;
  TimedAction accept([&]() {
    HWND hDlg = FindThreadDialog();
    if (!hDlg) return false;
    ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
    return true;
  });
  ASSERT_EQ(IDOK, dlg.DoModal());
  EXPECT_STREQ(folder + "\\保存先.txt", dlg.GetPathName());
  EXPECT_STREQ(folder, dlg.GetFolderPath());
}

TEST(FileDialog, CancelIsNotAFailure) {
  CFileDialog dlg(TRUE);
  TimedAction cancel([&]() {
    HWND hDlg = FindThreadDialog();
    if (!hDlg) return false;
    ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_EQ(0u, ::CommDlgExtendedError());
}

TEST(ColorDialog, AddedButtonRunsThroughTheMessageMapAndEndsAsOk) {
  CAddedButtonColorDialog dlg;
  dlg.m_cc.Flags |= CC_RGBINIT;
  g_log.clear();
  EXPECT_EQ(IDOK, dlg.DoModal());
  EXPECT_TRUE(dlg.m_bDefault);
  EXPECT_EQ("init|timer|button|destroy", Joined());
  EXPECT_EQ(nullptr, dlg.m_pButton);
  EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(ColorDialog, SystemOkAndCancel) {
  struct {
    int press;
    INT_PTR result;
  } cases[] = {{IDOK, IDOK}, {IDCANCEL, IDCANCEL}};
  for (const auto& c : cases) {
    CAddedButtonColorDialog dlg;
    dlg.m_cc.rgbResult = RGB(10, 20, 30);
    dlg.m_cc.Flags |= CC_RGBINIT | CC_FULLOPEN;
    dlg.m_nPress = c.press;
    g_log.clear();
    EXPECT_EQ(c.result, dlg.DoModal());
    EXPECT_FALSE(dlg.m_bDefault);
    EXPECT_EQ("init|timer|destroy", Joined());
    if (c.result == IDOK) {
      EXPECT_EQ(RGB(10, 20, 30), dlg.GetColor());
    }
  }
}

TEST(PrintDialog, NoPrinterMeansNoDefaults) {
  CPrintDialog setup(TRUE);
  EXPECT_TRUE(setup.m_pd.Flags & PD_PRINTSETUP);
  EXPECT_FALSE(setup.GetDefaults());
  EXPECT_EQ((DWORD)PDERR_NODEFAULTPRN, ::CommDlgExtendedError());
  EXPECT_EQ(nullptr, setup.m_pd.hDevMode);
  EXPECT_EQ(nullptr, setup.m_pd.hDevNames);
  EXPECT_TRUE(setup.GetDeviceName().IsEmpty());
  EXPECT_EQ(nullptr, setup.GetDevMode());
  EXPECT_EQ(nullptr, setup.CreatePrinterDC());
  EXPECT_EQ(1, setup.GetCopies());
  // The set-up dialog without a printer fails with the extended error, and any message
  // the system shows about it is closed.
  TimedAction closer([&]() {
    HWND hDlg = FindThreadDialog();
    if (hDlg) ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
    return false;
  });
  EXPECT_EQ(IDCANCEL, setup.DoModal());
  EXPECT_NE(0u, ::CommDlgExtendedError());
}

TEST(PrintDialog, DeviceNamesAndModeFromTheRecord) {
  // A record as a saved set-up would fill it.
  const char names[] = "winspool\0ラベルプリンタ\0LPT1:";
  HGLOBAL hNames = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVNAMES) + sizeof(names));
  LPDEVNAMES p = (LPDEVNAMES)::GlobalLock(hNames);
  p->wDriverOffset = sizeof(DEVNAMES);
  p->wDeviceOffset = (WORD)(sizeof(DEVNAMES) + 9);
  p->wOutputOffset = (WORD)(sizeof(DEVNAMES) + 9 + strlen("ラベルプリンタ") + 1);
  p->wDefault = 0;
  memcpy(p + 1, names, sizeof(names));
  ::GlobalUnlock(hNames);
  HGLOBAL hMode = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
  LPDEVMODEA pMode = (LPDEVMODEA)::GlobalLock(hMode);
  pMode->dmSize = sizeof(DEVMODEA);
  pMode->dmFields = DM_ORIENTATION | DM_COPIES;
  pMode->dmOrientation = DMORIENT_LANDSCAPE;
  pMode->dmCopies = 3;
  ::GlobalUnlock(hMode);

  CPrintDialog setup(TRUE);
  setup.m_pd.hDevNames = hNames;
  setup.m_pd.hDevMode = hMode;
  EXPECT_STREQ("winspool", setup.GetDriverName());
  EXPECT_STREQ("ラベルプリンタ", setup.GetDeviceName());
  EXPECT_STREQ("LPT1:", setup.GetPortName());
  LPDEVMODEA pGot = setup.GetDevMode();
  ASSERT_NE(nullptr, pGot);
  EXPECT_EQ(DMORIENT_LANDSCAPE, pGot->dmOrientation);
  ::GlobalUnlock(hMode);
  EXPECT_EQ(3, setup.GetCopies());
  ::GlobalFree(hNames);
  ::GlobalFree(hMode);
}
