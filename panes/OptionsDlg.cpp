#include "OptionsDlg.h"

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <cardwatch/AutoRunRule.h>
#include <commctrl.h>
#include <objbase.h>

#include "ExportPluginApi.h"
#include "GuiFont.h"
#include "MainFrame.h"
#include "MainWndMessages.h"
#include "OptionsRules.h"

BEGIN_MESSAGE_MAP(COptionsDlg, CResourceDialog)
  ON_WM_DESTROY()
  ON_NOTIFY(TCN_SELCHANGE, IDC_OPTIONS_TABS, &COptionsDlg::OnTabChange)
END_MESSAGE_MAP()

COptionsDlg::COptionsDlg(CWnd* pParent)
    : CResourceDialog(IDD_OPTIONS, pParent), m_bComInitialised(FALSE) {}

COptionsDlg::~COptionsDlg() {}

CWnd* COptionsDlg::GetTabPage(int nTab) const {
  options::TabPage page = options::PageOfTab(nTab, GetPanelCount());
  switch (page.kind) {
    case options::PAGE_AUTORUN: return const_cast<CAutoRunSettingDlg*>(&m_autoRunPage);
    case options::PAGE_SLIDESHOW: return const_cast<CSlideShowSettingsPage*>(&m_slideShowPage);
    case options::PAGE_ROTATION: return const_cast<CRotationSettingsPage*>(&m_rotationPage);
    case options::PAGE_LAUNCHER: return const_cast<CLauncherSettingDlg*>(&m_launcherPage);
    case options::PAGE_MUSIC: return const_cast<CMusicFolderDlg*>(&m_musicPage);
    case options::PAGE_PANEL: return GetPanel(page.panel);
  }
  return NULL;
}

BOOL COptionsDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  m_bComInitialised = SUCCEEDED(::CoInitialize(NULL));
  VxApplyGuiFontRule(this);
  m_autoRunPage.Create(IDD_AUTORUN_SETTING, this);
  m_slideShowPage.Create(this);
  m_rotationPage.Create(this);
  m_launcherPage.Create(IDD_OPTIONS_LAUNCHER, this);
  m_musicPage.Create(IDD_MUSIC_FOLDER, this);

  CWnd* pTabs = GetDlgItem(IDC_OPTIONS_TABS);
  RECT rcPage = {0, 0, 0, 0};
  if (pTabs) {
    static const UINT kTabs[] = {IDS_OPTIONS_TAB_AUTORUN, IDS_OPTIONS_TAB_SLIDESHOW, IDS_BROWSER_ROTATE_CAPTION,
                                 IDS_OPTIONS_TAB_LAUNCHER};
    for (int i = 0; i < 4; ++i) {
      CString s;
      s.LoadString(kTabs[i]);
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<LPSTR>((LPCSTR)s);
      pTabs->SendMessage(TCM_INSERTITEMA, i, (LPARAM)&item);
    }
    CString s;
    s.LoadString(IDS_OPTIONS_TAB_MUSIC);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPSTR>((LPCSTR)s);
    pTabs->SendMessage(TCM_INSERTITEMA, 4, (LPARAM)&item);
    CRect rcTabs, rcFirst;
    pTabs->GetWindowRect(&rcTabs);
    ScreenToClient(&rcTabs);
    pTabs->SendMessage(TCM_GETITEMRECT, 0, (LPARAM)&rcFirst);
    rcPage = options::PageRect(rcTabs, rcFirst);
  }
  for (CWnd* p : {(CWnd*)&m_autoRunPage, (CWnd*)&m_slideShowPage, (CWnd*)&m_rotationPage, (CWnd*)&m_launcherPage,
                  (CWnd*)&m_musicPage})
    if (p->GetSafeHwnd())
      p->SetWindowPos(NULL, rcPage.left, rcPage.top, rcPage.right - rcPage.left, rcPage.bottom - rcPage.top,
                      SWP_NOZORDER | SWP_NOACTIVATE);
  LoadPanels(rcPage);
  int nTab = 0;
  CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
  if (pFrame && pFrame->TakeOptionsSlideShowRequest()) nTab = 1;
  if (pTabs) pTabs->SendMessage(TCM_SETCURSEL, nTab, 0);
  ShowTab(nTab);
  return TRUE;
}

void COptionsDlg::LoadPanels(const RECT& rcPage) {
  CString strFolder = m_strPanelFolder.IsEmpty() ? CMTLGetExeDir() : m_strPanelFolder;
  WIN32_FIND_DATAA fd;
  HANDLE hFind = ::FindFirstFileA(strFolder + "\\*.pse", &fd);
  if (hFind == INVALID_HANDLE_VALUE) return;
  CWnd* pTabs = GetDlgItem(IDC_OPTIONS_TABS);
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    // The panel array holds 99: further libraries are not loaded at all.
    if ((int)m_panels.size() >= options::kMaxPanels) break;
    HMODULE hModule = ::LoadLibraryExA(strFolder + "\\" + fd.cFileName, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!hModule) continue;
    PFN_PANEL_CREATEPANEL pfnCreate = (PFN_PANEL_CREATEPANEL)::GetProcAddress(hModule, "CreatePanel");
    CWnd* pPanel = NULL;
    if (pfnCreate) {
      try {
        pPanel = pfnCreate(this);
      } catch (...) {
        pPanel = NULL;
      }
    }
    if (!pPanel || !pPanel->GetSafeHwnd()) {
      ::FreeLibrary(hModule);
      continue;
    }
    pPanel->SetWindowPos(NULL, rcPage.left, rcPage.top, rcPage.right - rcPage.left, rcPage.bottom - rcPage.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
    char szTitle[OPTIONPANEL_TITLE_MAX] = {0};
    PFN_PANEL_GETTITLE pfnTitle = (PFN_PANEL_GETTITLE)::GetProcAddress(hModule, "GetTitle");
    long lTitle = -1;
    if (pfnTitle) {
      try {
        lTitle = pfnTitle(szTitle);
      } catch (...) {
        lTitle = -1;
      }
    }
    szTitle[OPTIONPANEL_TITLE_MAX - 1] = 0;
    if (lTitle != 0) szTitle[0] = 0;
    szTitle[259] = 0;  // a tab text is at most 259 bytes
    int nTab = options::kFirstPanelTab + (int)m_panels.size();
    m_panels.push_back(pPanel);
    m_libraries.push_back(hModule);
    if (pTabs) {
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = szTitle;
      pTabs->SendMessage(TCM_INSERTITEMA, nTab, (LPARAM)&item);
    }
  } while (::FindNextFileA(hFind, &fd));
  ::FindClose(hFind);
}

void COptionsDlg::ShowTab(int nTab) {
  CWnd* pShown = GetTabPage(nTab);
  for (CWnd* p : {(CWnd*)&m_autoRunPage, (CWnd*)&m_slideShowPage, (CWnd*)&m_rotationPage, (CWnd*)&m_launcherPage,
                  (CWnd*)&m_musicPage})
    if (p != pShown && p->GetSafeHwnd()) p->ShowWindow(SW_HIDE);
  for (CWnd* p : m_panels)
    if (p != pShown && p->GetSafeHwnd()) p->ShowWindow(SW_HIDE);
  if (pShown && pShown->GetSafeHwnd()) pShown->ShowWindow(SW_SHOW);
}

void COptionsDlg::OnTabChange(NMHDR*, LRESULT* pResult) {
  CWnd* pTabs = GetDlgItem(IDC_OPTIONS_TABS);
  if (pTabs) {
    pTabs->SetFocus();
    ShowTab((int)pTabs->SendMessage(TCM_GETCURSEL));
  }
  *pResult = 0;
}

void COptionsDlg::StorePages() {
  m_rotationPage.Store();
  m_slideShowPage.Store();
  cardwatch::WriteAutoRunMode(m_autoRunPage.m_nAutoRun);  // the launcher's setting
  CMWriteProfileInt("VxClassify", "FirstClassify", m_autoRunPage.m_nFirstClassify);
  CMWriteProfileString("TuneTree\\FolderInfo", "OpenFolder", m_musicPage.m_strFolder);
}

void COptionsDlg::SendToPanels(WPARAM wCommand) {
  for (CWnd* p : m_panels)
    if (p->GetSafeHwnd()) p->SendMessage(WM_COMMAND, wCommand, (LPARAM)GetSafeHwnd());
}

void COptionsDlg::OnOK() {
  // The panel is asked first: a refusal keeps every setting as it was stored.
  if (!m_panels.empty() && m_panels[0]->GetSafeHwnd() && m_panels[0]->SendMessage(WM_OPTION_PANEL_INVALID, 0, 0)) {
    CWnd* pTabs = GetDlgItem(IDC_OPTIONS_TABS);
    if (pTabs) pTabs->SendMessage(TCM_SETCURSEL, options::kFirstPanelTab, 0);
    ShowTab(options::kFirstPanelTab);
    return;
  }
  StorePages();
  SendToPanels(IDOK);
  CWnd* pMain = AfxGetMainWnd();
  if (pMain && pMain->GetSafeHwnd() && pMain != this) pMain->SendMessage(WM_SETTINGS_CHANGED, 0, 0);
  CResourceDialog::OnOK();
}

void COptionsDlg::OnCancel() {
  SendToPanels(IDCANCEL);
  CResourceDialog::OnCancel();
}

void COptionsDlg::OnDestroy() {
  // The panels' windows go before their libraries.
  for (CWnd* p : m_panels)
    if (p->GetSafeHwnd()) p->DestroyWindow();
  CResourceDialog::OnDestroy();
  for (HMODULE h : m_libraries) ::FreeLibrary(h);
  m_libraries.clear();
  m_panels.clear();
  if (m_bComInitialised) ::CoUninitialize();
  m_bComInitialised = FALSE;
}
