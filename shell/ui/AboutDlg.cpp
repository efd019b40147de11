// The About box.
#include "AboutDlg.h"

#include <GuiFont.h>
#include <Kitlib2/Profile.h>
#include <Kitlib2/Utility.h>
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>

namespace about {

CString VersionText(const CString& version, int tvSystem) {
  CString text = "Ver." + version;
  if (tvSystem == 0) text += "(NTSC)";
  if (tvSystem == 1) text += "(PAL)";
  return text;
}

CString ProductVersion(const CString& stored, const CString& fileVersion) {
  if (!stored.IsEmpty()) return stored;
  return fileVersion.IsEmpty() ? CString("0.00") : fileVersion;
}

CString WithoutSeconds(const CString& text) {
  int colon = text.ReverseFind(':');
  if (colon < 0) return text;
  return text.Left(colon) + text.Mid(std::min(text.GetLength(), colon + 3));
}

CString SizeText(ULONGLONG bytes) {
  CString s;
  s.Format("%4dKB", (int)(bytes / 1024));
  return s;
}

const std::vector<CString>& ModulePatterns() {
  static const std::vector<CString> patterns = {"*.exe", "*.ocx", "*.dll", "*.pdp", "*.vcp", "*.ax",
                                                "*.hep", "*.pcp", "*.psy", "*.peu", "*.psp"};
  return patterns;
}

namespace {
CString DateTimeText(const FILETIME& ft) {
  FILETIME local;
  SYSTEMTIME st;
  ::FileTimeToLocalFileTime(&ft, &local);
  ::FileTimeToSystemTime(&local, &st);
  char date[64] = {}, time[64] = {};
  ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof(date));
  ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, sizeof(time));
  return WithoutSeconds(CString(date) + " " + time);
}
}  // namespace

std::vector<ModuleRow> ListModules(const CString& folder) {
  std::vector<ModuleRow> rows;
  for (const CString& pattern : ModulePatterns()) {
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA(folder + "\\" + pattern, &fd);
    if (h == INVALID_HANDLE_VALUE) continue;
    do {
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      // "*.exe" also finds "x.exe1" through short names; only the exact extension counts.
      CString name = fd.cFileName;
      CString ext = pattern.Mid(1);
      if (name.GetLength() < ext.GetLength() || name.Right(ext.GetLength()).CompareNoCase(ext) != 0) continue;
      ModuleRow row;
      row.name = name;
      row.version = CMTLInspectFile(folder + "\\" + name);
      row.modified = DateTimeText(fd.ftLastWriteTime);
      row.size = SizeText(((ULONGLONG)fd.nFileSizeHigh << 32) | fd.nFileSizeLow);
      rows.push_back(row);
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  return rows;
}

}  // namespace about

CAboutDlg::CAboutDlg(CWnd* pParent) : CResourceDialog(IDD_ABOUT, pParent) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
  CResourceDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_ABOUT_VERSION, m_strVersion);
  DDX_Text(pDX, IDC_ABOUT_COPYRIGHT, m_strCopyright);
  DDX_Text(pDX, IDC_ABOUT_VERSION_INFO, m_strVersionInfo);
  DDX_Text(pDX, IDC_ABOUT_NOTICES, m_strNotices);
}

BOOL CAboutDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  if (CWnd* pMain = AfxGetMainWnd()) {
    if (pMain->GetSafeHwnd() && pMain->IsWindowVisible()) CenterWindow(pMain);
  }
  VxApplyGuiFontRule(this);
  CListCtrl* pList = static_cast<CListCtrl*>(GetDlgItem(IDC_ABOUT_MODULES));
  pList->SendMessage(WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), TRUE);

  CString folder = CMTLGetExeDir();

  CString notices = CMGetProfileString("Common", "ModuleCopyrights", "ModuleCopyrights.txt");
  CFile file;
  if (!folder.IsEmpty() && file.Open(folder + "\\" + notices, CFile::modeRead | CFile::shareDenyWrite)) {
    ULONGLONG length = std::min<ULONGLONG>(file.GetLength(), 1 << 20);
    std::vector<char> text((size_t)length + 1);
    UINT read = file.Read(text.data(), (UINT)length);
    text[read] = '\0';
    m_strNotices = text.data();
    file.Close();
  }

  CResourceLoader strings;
  const struct {
    UINT id;
    int width;
  } columns[] = {{IDS_ABOUT_COL_FILE, 112}, {IDS_ABOUT_COL_VERSION, 100}, {IDS_COL_MODIFIED, 110}, {IDS_COL_SIZE, 100}};
  for (int i = 0; i < 4; i++) pList->InsertColumn(i, strings.LoadStringA(columns[i].id), LVCFMT_LEFT, columns[i].width);

  if (!folder.IsEmpty()) {
    char szProgram[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, szProgram, sizeof(szProgram));
    CString strVersion =
        about::ProductVersion(CMGetProfileString("ProductInfo", "ProductVersion", ""), CMTLInspectFile(szProgram));
    m_strVersion = about::VersionText(strVersion, CMGetProfileInt("Settings", "TVSystem", -1));
    if (CWnd* pVersion = GetDlgItem(IDC_ABOUT_VERSION)) {
      CRect rc;
      pVersion->GetWindowRect(&rc);
      ScreenToClient(&rc);
      rc.InflateRect(15, 0);
      pVersion->MoveWindow(rc);
    }
    m_strCopyright = CMGetProfileString("ProductInfo", "Copyright", "Copyright (C) Norvane Corporation");
    m_strVersionInfo = CMGetProfileString("ProductInfo", "VersionInfo", "Marlo");
    int row = 0;
    for (const about::ModuleRow& m : about::ListModules(folder)) {
      pList->InsertItem(row, m.name);
      pList->SetItemText(row, 1, m.version);
      pList->SetItemText(row, 2, m.modified);
      pList->SetItemText(row, 3, m.size);
      row++;
    }
  }
  UpdateData(FALSE);
  return TRUE;
}
