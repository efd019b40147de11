// The scan: the card's files listed by the planner's own walk, shown as checked
// thumbnails while the dialog stays usable.
#include <Kitlib2/Profile.h>
#include <Kitlib2/Utility.h>
#include <RecordGateEx.h>
#include <VxResourceIds.h>
#include <process.h>
#include <shellapi.h>

#include <cstdio>

#include "CardDialogs.h"
#include "CardImportDlg.h"
#include "CardRules.h"
#include "ImportDialogRules.h"

using namespace cardtree;

namespace {

const UINT_PTR kListingTimer = 1, kClearTimer = 2;

// The file's shell icon on the list's background, 80 x 60.
HBITMAP IconPicture(const std::string& path) {
  SHFILEINFOA info = {};
  if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON) || !info.hIcon) return NULL;
  HDC screen = GetDC(NULL);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, CThumbListCtrl::kPictureWidth, CThumbListCtrl::kPictureHeight);
  ReleaseDC(NULL, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT rc = {0, 0, CThumbListCtrl::kPictureWidth, CThumbListCtrl::kPictureHeight};
  HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
  DrawIconEx(dc, (rc.right - 32) / 2, (rc.bottom - 32) / 2, info.hIcon, 32, 32, 0, NULL, DI_NORMAL);
  SelectObject(dc, old);
  DeleteDC(dc);
  DestroyIcon(info.hIcon);
  return bitmap;
}

}  // namespace

LRESULT CCardImportDlg::OnScanTimers(WPARAM wParam, LPARAM lParam) {
  if (lParam)
    SetTimer(wParam, 100, NULL);
  else
    KillTimer(wParam);
  return 0;
}

bool CCardImportDlg::ScanDone() const {
  return ListingDone() && (!m_hScanThread || WaitForSingleObject(m_hScanThread, 0) == WAIT_OBJECT_0);
}

bool CCardImportDlg::ListingDone() const {
  return !m_hListingDone || WaitForSingleObject(m_hListingDone, 0) == WAIT_OBJECT_0;
}

void CCardImportDlg::StartScan() {
  if (m_hListingDone) CloseHandle(m_hListingDone);
  m_hListingDone = CreateEventA(NULL, TRUE, FALSE, NULL);
  m_nStop = 0;
  m_hScanThread = reinterpret_cast<HANDLE>(_beginthreadex(NULL, 0, &CCardImportDlg::ScanCardThread, this, 0, NULL));
  if (!m_hScanThread) SetEvent(m_hListingDone);
}

void CCardImportDlg::StopScan() {
  if (!m_hScanThread) return;
  // The scan works on the controls by sent messages: keep answering them meanwhile, but
  // no posted ones (a close of the main window would unload this library under us).
  m_nStop = 1;
  FwWaitAnsweringSent(m_hScanThread);
  CloseHandle(m_hScanThread);
  m_hScanThread = NULL;
  m_nStop = 0;
}

unsigned __stdcall CCardImportDlg::ScanCardThread(void* dialog) {
  static_cast<CCardImportDlg*>(dialog)->Scan();
  return 0;
}

ImportSettings CCardImportDlg::PlanSettings() const {
  ImportSettings s = LocaleImportSettings();
  s.backupMode = m_nBackupMode;
  s.fileNameMode = m_nFileNameMode;
  s.copyMode = m_nCopyMode;
  s.folderName = std::string(m_strFolderName);
  s.treeType = static_cast<unsigned>(CMGetProfileInt(kSettings, "TreeType", 0));
  s.dcfObject = CMGetProfileInt(kSettings, "DCFObject", 0);
  s.copySupport = CMGetProfileInt(kSettings, "CopySupport", 0);
  ClampImportSettings(&s);
  return s;
}

void CCardImportDlg::Scan() {
  HWND self = GetSafeHwnd();
  EnableImportControls(0, 0);
  const int position = static_cast<int>(::SendDlgItemMessageA(self, IDC_IMPORT_DRIVE, CB_GETCURSEL, 0, 0));
  m_nDrivePosition = position;
  if (position >= 0 && position < static_cast<int>(m_drives.size())) m_strCardRoot = DriveRoot(m_drives[position]);
  m_nListed = 0;
  m_nShown = 0;
  m_bFilesListed = 0;
  m_bDiscItems = 0;
  m_nFirstDiscIndex = 0;
  m_listed.clear();
  m_list.ClearItems();

  DWORD a = GetFileAttributesA((m_strCardRoot + "DCIM").c_str());
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) {
    m_nFirstDiscIndex = CountCardFiles();
    m_bFilesListed = 1;
  }
  CountDiscTitles();
  m_nListed = static_cast<int>(m_listed.size()) + m_nDiscImportable;
  m_list.ResetItems(m_nListed);
  m_list.EnsureVisible(0, FALSE);
  SetEvent(m_hListingDone);

  if (!m_nStop) {
    ::SendMessageA(self, WM_IMPORT_SCAN_TIMERS, kListingTimer, 1);
    if (m_bFilesListed && !m_listed.empty()) FillCardThumbnails();
    if (!m_nStop && m_bDiscItems) AddDiscItems();
    if (!m_nStop && m_nUnsupported) {
      CardMessageBox(self, ResourceFormat(IDS_IMPORT_UNSUPPORTED_ITEMS, m_nUnsupported).c_str(), CMTLGetAppName(),
                     MB_OK | MB_ICONWARNING);
    }
    if (!m_nStop && m_nListed == 0) {
      ::SendDlgItemMessageA(self, IDC_IMPORT_DRIVE, CB_SETCURSEL, position, 0);
      CardMessageBox(self, ResourceFormat(IDS_IMPORT_NO_FILES, 0).c_str(), CMTLGetAppName(), MB_OK | MB_ICONWARNING);
    }
  }
  ::SendMessageA(self, WM_IMPORT_SCAN_TIMERS, kListingTimer, 0);
  m_bStatusCleared = 0;
  ::SendMessageA(self, WM_IMPORT_SCAN_TIMERS, kClearTimer, 1);
  while (!m_bStatusCleared && !m_nStop) Sleep(100);
  ::SendMessageA(self, WM_IMPORT_SCAN_TIMERS, kClearTimer, 0);
  EnableImportControls(1, 0);
}

int CCardImportDlg::CountCardFiles() {
  ImportSettings s = PlanSettings();
  // Listed as the copy would take them with every file checked and no folders made.
  s.copyMode = 1;
  s.backupMode = 0;
  s.dryRun = 1;
  m_listed = ListCardSources(m_strCardRoot, s);
  return static_cast<int>(m_listed.size());
}

int CCardImportDlg::FillCardThumbnails() {
  if (m_listed.empty()) return E_FAIL;
  for (size_t i = 0; i < m_listed.size() && !m_nStop; ++i) {
    const std::string& path = m_listed[i];
    const std::string name = FileNameOf(path);
    BITMAPINFOHEADER* dib = nullptr;
    DWORD cb = 0;
    int set = 0;
    if (VxDBWxGetThumbnailDib(path.c_str(), VXDBWX_THUMB_MAKE, CThumbListCtrl::kPictureWidth,
                              CThumbListCtrl::kPictureHeight, &dib, &cb) == S_OK &&
        dib) {
      set = m_list.SetThumbnailFromDib(static_cast<int>(i), dib, 0, 0, name.c_str(), cb);
      VxDBWxFreeThumbnailData(dib);
    }
    if (!set) {
      HBITMAP icon = IconPicture(path);
      if (icon) {
        set = m_list.SetThumbnail(static_cast<int>(i), icon, 0, 0, name.c_str());
        DeleteObject(icon);
      }
    }
    // Without a picture the rest stay as they are: listed, checked, imported.
    if (!set) return -1;
    m_list.SetItemText(static_cast<int>(i), 1, path.c_str());
    m_list.SetCheck(static_cast<int>(i), TRUE);
    ++m_nShown;
  }
  return 0;
}

std::vector<std::string> CCardImportDlg::CheckedPaths() {
  std::vector<std::string> out;
  const int n = m_list.GetItemCount();
  for (int i = 0; i < n; ++i) {
    if ((m_list.GetItemState(i, LVIS_OVERLAYMASK) & LVIS_OVERLAYMASK) == INDEXTOOVERLAYMASK(1)) continue;
    std::string path = std::string(m_list.GetItemText(i, 1));
    if (path.empty() && i < static_cast<int>(m_listed.size())) path = m_listed[i];
    if (!path.empty()) out.push_back(path);
  }
  return out;
}
