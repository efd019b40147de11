#include "FolderPropertiesPage.h"

#include <VxResourceIds.h>
#include <textkit/path.h>

#include <cstdio>

#include "DiskTreeModule.h"

namespace {
const UINT_PTR kCountTimer = 1;
const DWORD kDriveRootPauseMs = 4000;
}  // namespace

BEGIN_MESSAGE_MAP(CPropertyFolderPage, CPropertyPage)
  ON_WM_TIMER()
END_MESSAGE_MAP()

CPropertyFolderPage::CPropertyFolderPage() : CPropertyPage(IDD_DISKTREE_PROPERTIES) {
  m_psp.dwFlags &= ~PSP_HASHELP;
}

CPropertyFolderPage::~CPropertyFolderPage() {
  if (m_icon) DestroyIcon(m_icon);
}

void CPropertyFolderPage::SetFolder(const std::string& path, LPCITEMIDLIST absolute) {
  m_path = path;
  m_absolute = absolute;
}

BOOL CPropertyFolderPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  char buffer[MAX_PATH * 2] = {};
  std::string path = m_absolute && SHGetPathFromIDListA(m_absolute, buffer) ? buffer : m_path;
  path = disktree::PropertiesPath(path);
  m_path = path;
  SHFILEINFOA info = {};
  if (m_absolute && SHGetFileInfoA(reinterpret_cast<LPCSTR>(m_absolute), 0, &info, sizeof info,
                                   SHGFI_PIDL | SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ATTRIBUTES |
                                       SHGFI_SYSICONINDEX)) {
    m_icon = info.hIcon;
    m_strName = info.szDisplayName;
    m_strType = info.szTypeName;
    SendDlgItemMessage(IDC_DISKTREE_PROP_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_icon), 0);
  }
  m_strLocation = disktree::LocationOf(path).c_str();
  const std::string created = disktree::CreatedText(path);
  m_strCreated = created.empty() ? disktree::ResourceString(IDS_DISKTREE_NO_CREATION_TIME).c_str() : created.c_str();
  const DWORD attr = GetFileAttributesA(path.size() == 2 ? (path + "\\").c_str() : path.c_str());
  if (attr != INVALID_FILE_ATTRIBUTES) {
    m_bReadOnly = (attr & FILE_ATTRIBUTE_READONLY) != 0;
    m_bHidden = (attr & FILE_ATTRIBUTE_HIDDEN) != 0;
    m_bSystem = (attr & FILE_ATTRIBUTE_SYSTEM) != 0;
    m_bArchive = (attr & FILE_ATTRIBUTE_ARCHIVE) != 0;
  }
  // The sheet opens over the program, not where the system puts a new window.
  if (CWnd* sheet = GetParent()) sheet->CenterWindow(m_centreOver ? CWnd::FromHandle(m_centreOver) : nullptr);
  m_count = disktree::FolderCount();
  SetTimer(kCountTimer, 50, nullptr);
  UpdateData(FALSE);
  return TRUE;
}

void CPropertyFolderPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_DISKTREE_PROP_CREATED, m_strCreated);
  DDV_MaxChars(pDX, m_strCreated, 255);
  DDX_Text(pDX, IDC_DISKTREE_PROP_CONTENTS, m_strContents);
  DDV_MaxChars(pDX, m_strContents, 255);
  DDX_Text(pDX, IDC_DISKTREE_PROP_NAME, m_strName);
  DDV_MaxChars(pDX, m_strName, 255);
  DDX_Text(pDX, IDC_DISKTREE_PROP_LOCATION, m_strLocation);
  DDV_MaxChars(pDX, m_strLocation, 255);
  DDX_Text(pDX, IDC_DISKTREE_PROP_SIZE, m_strSize);
  DDV_MaxChars(pDX, m_strSize, 255);
  DDX_Text(pDX, IDC_DISKTREE_PROP_TYPE, m_strType);
  DDV_MaxChars(pDX, m_strType, 255);
  DDX_Check(pDX, IDC_DISKTREE_PROP_ARCHIVE, m_bArchive);
  DDX_Check(pDX, IDC_DISKTREE_PROP_HIDDEN, m_bHidden);
  DDX_Check(pDX, IDC_DISKTREE_PROP_READONLY, m_bReadOnly);
  DDX_Check(pDX, IDC_DISKTREE_PROP_SYSTEM, m_bSystem);
  DDX_Text(pDX, IDC_DISKTREE_PROP_ON_DISK, m_strOnDisk);
  DDV_MaxChars(pDX, m_strOnDisk, 255);
}

bool CPropertyFolderPage::Pump() {
  MSG msg;
  while (!m_bStop && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit to the loop that owns it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      InterlockedExchange(&m_bStop, 1);
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return !m_bStop;
}

void CPropertyFolderPage::UpdateTexts() {
  m_strContents = disktree::ContentsText(m_count.files, m_count.folders).c_str();
  m_strSize = disktree::SizeText(m_count.size).c_str();
  m_strOnDisk = disktree::SizeText(m_count.onDisk).c_str();
}

void CPropertyFolderPage::Count() {
  const bool finished = disktree::CountFolder(
      m_path, &m_count, [this] { return Pump(); },
      [this] {
        UpdateTexts();
        if (--m_refresh <= 0) {
          m_refresh = 10;
          if (!m_bStop && m_hWnd) UpdateData(FALSE);
        }
        Pump();
      });
  m_bCounted = finished && !m_bStop;
}

void CPropertyFolderPage::OnTimer(UINT_PTR id) {
  if (id != kCountTimer) {
    Default();
    return;
  }
  KillTimer(kCountTimer);
  if (m_path.empty()) return;
  Count();
  if (m_bStop) return;
  if (m_path.size() <= 3 && m_path.size() >= 2 && m_path[1] == ':') {
    // A drive's used space stands for its size on disk; the pause keeps the window served.
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kDriveRootPauseMs && Pump())
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    if (m_bStop) return;
    ULARGE_INTEGER freeToCaller = {}, total = {}, totalFree = {};
    const std::string root = m_path.substr(0, 2) + "\\";
    if (GetDiskFreeSpaceExA(root.c_str(), &freeToCaller, &total, &totalFree)) {
      m_count.onDisk = static_cast<LONGLONG>(total.QuadPart - totalFree.QuadPart);
      m_strOnDisk = disktree::SizeText(m_count.onDisk).c_str();
    }
  }
  if (m_hWnd) UpdateData(FALSE);
}

void CPropertyFolderPage::OnOK() {
  InterlockedExchange(&m_bStop, 1);
  CPropertyPage::OnOK();
}

void CPropertyFolderPage::OnCancel() {
  InterlockedExchange(&m_bStop, 1);
  CPropertyPage::OnCancel();
}

namespace disktree {

HRESULT ShowFolderProperties(const std::string& path, LPCITEMIDLIST absolute, HWND over) {
  SHFILEINFOA info = {};
  if (absolute) SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolute), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME);
  char title[1024] = {};
  snprintf(title, sizeof title, ResourceString(IDS_DISKTREE_PROPERTIES_TITLE).c_str(), info.szDisplayName);
  CPropertySheet sheet(title, CWnd::FromHandle(over));
  sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
  sheet.m_psh.dwFlags &= ~PSH_HASHELP;
  CPropertyFolderPage page;
  page.SetFolder(path, absolute);
  page.m_centreOver = over;
  sheet.AddPage(&page);
  sheet.DoModal();
  return S_OK;
}

}  // namespace disktree
