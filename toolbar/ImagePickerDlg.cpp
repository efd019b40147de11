#include "ImagePickerDlg.h"

#include <Kitlib2/CMDIB.h>
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <RecordGateEx.h>
#include <cardwatch/BackupFolder.h>

#include <string>
#include <vector>

#include "ImagePickerRules.h"

const RECT CImagePickerDlg::kPreviewArea = {30, 210, 470, 420};
const POINT CImagePickerDlg::kPreviewOrigin = {110, 210};

namespace {

const COLORREF kPreviewBackground = RGB(195, 211, 215);

struct Place {
  int id, x, y, cx, cy;
};
const Place kLayout[] = {
    {IDC_PICKER_OK, 306, 516, 84, 23},         {IDC_PICKER_CANCEL, 402, 516, 84, 23},
    {IDC_PICKER_SOURCE_LABEL, 28, 19, 400, 15}, {IDC_PICKER_SOURCE, 28, 42, 310, 20},
    {IDC_PICKER_LIST_LABEL, 28, 73, 400, 15},   {IDC_PICKER_LIST, 28, 93, 445, 95},
    {IDC_PICKER_NAME_LABEL, 28, 441, 400, 15},  {IDC_PICKER_NAME, 28, 462, 310, 20},
};

std::string ComboText(CComboBox* p) {
  CString s;
  if (p) p->GetWindowText(s);
  return (LPCSTR)s;
}

std::vector<std::string> ToVector(const CStringList& list) {
  std::vector<std::string> v;
  for (POSITION pos = list.GetHeadPosition(); pos;) v.push_back((LPCSTR)list.GetNext(pos));
  return v;
}

}  // namespace

BEGIN_MESSAGE_MAP(CImagePickerDlg, CResourceDialog)
  ON_WM_PAINT()
  ON_BN_CLICKED(IDC_PICKER_OK, &CImagePickerDlg::OnPick)
  ON_BN_CLICKED(IDC_PICKER_CANCEL, &CImagePickerDlg::OnCancelButton)
  ON_CBN_SELCHANGE(IDC_PICKER_SOURCE, &CImagePickerDlg::OnSourceChange)
  ON_NOTIFY(LVN_ITEMCHANGED, IDC_PICKER_LIST, &CImagePickerDlg::OnItemChanged)
  ON_MESSAGE(WM_THUMB_CHECKED, &CImagePickerDlg::OnCheckChanged)
END_MESSAGE_MAP()

CImagePickerDlg::CImagePickerDlg(CWnd* pParent)
    : CResourceDialog(IDD_IMAGE_PICKER, pParent), m_list(1), m_hPreview(NULL), m_pDb(NULL), m_bHasFiles(FALSE) {}

CImagePickerDlg::~CImagePickerDlg() {
  if (m_hPreview) ::DeleteObject(m_hPreview);
  if (m_pDb) m_pDb->Release();
}

void CImagePickerDlg::LayOut() {
  CRect rc;
  GetWindowRect(&rc);
  const int cx = 501 + 2 * ::GetSystemMetrics(SM_CXDLGFRAME);
  const int cy = 554 + ::GetSystemMetrics(SM_CYCAPTION) + 2 * ::GetSystemMetrics(SM_CYDLGFRAME);
  SetWindowPos(NULL, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Place& p : kLayout)
    if (CWnd* pItem = GetDlgItem(p.id)) pItem->MoveWindow(p.x, p.y, p.cx, p.cy);
}

BOOL CImagePickerDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  LayOut();
  m_pDb = GetDBFileObject();
  if (!m_pDb) return TRUE;
  // The picked-picture record holds the name in the bytes before the path.
  Names()->LimitText((int)imagepicker::kNameBytes);
  HFONT hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
  Names()->SendMessage(WM_SETFONT, (WPARAM)hFont);
  m_list.SubclassDlgItem(IDC_PICKER_LIST, this);
  m_list.SendMessage(WM_SETFONT, (WPARAM)hFont);
  m_list.InitControl();
  m_list.SetCheckNotify(m_hWnd, WM_THUMB_CHECKED);
  m_list.SetOpenNotify(m_hWnd, WM_THUMB_OPEN);

  Sources()->ResetContent();
  Names()->ResetContent();
  CStringList names;
  int count = 0;
  m_pDb->GetNames(&names, &count, VXDB_KIND_PICKED);
  const std::string unsorted = (LPCSTR)LoadResourceText(IDS_PICKER_UNSORTED);
  for (const std::string& s : imagepicker::SourceEntries(ToVector(names), unsorted,
                                                         (LPCSTR)LoadResourceText(IDS_PICKER_CHOOSE_FOLDER)))
    Sources()->AddString(s.c_str());
  Sources()->SetCurSel(0);
  RefreshList();
  for (const std::string& s :
       imagepicker::NameEntries(ToVector(names), unsorted, (LPCSTR)LoadResourceText(IDS_PICKER_UNFILE)))
    Names()->AddString(s.c_str());
  Names()->SetCurSel(0);
  return TRUE;
}

CString CImagePickerDlg::GetBackupFolder() {
  return cardwatch::BackupFolder((LPCSTR)LoadResourceText(IDS_IMPORT_PICTURES_FOLDER)).c_str();
}

BOOL CImagePickerDlg::BrowseFolder(CString* pFolder, LPCSTR lpszStart) {
  char sz[MAX_PATH] = "";
  CString strTitle = LoadResourceText(IDS_PICKER_CHOOSE_FOLDER);
  CMTLXBROWSEINFO info = {m_hWnd, lpszStart, sz, strTitle, 0};
  if (CMTLxBrowseForFolder(&info) != 1) return FALSE;
  *pFolder = sz;
  return TRUE;
}

int CImagePickerDlg::Ask(const CString& strText) {
  return ::MessageBoxA(m_hWnd, strText, CMTLGetAppName(), MB_YESNO | MB_ICONQUESTION);
}

void CImagePickerDlg::RefreshList() {
  if (!m_pDb) return;
  CString strSource;
  Sources()->GetWindowText(strSource);
  m_list.ClearItems();
  CStringList paths;
  int count = 0;
  const int last = Sources()->GetCount() - 1;
  if (Sources()->GetCurSel() == last) {
    CString strFolder;
    if (BrowseFolder(&strFolder, GetBackupFolder())) {
      WIN32_FIND_DATAA fd;
      CString strBase = strFolder;
      if (strBase.Right(1) != "\\") strBase += "\\";
      HANDLE h = ::FindFirstFileA(strBase + "*.*", &fd);
      if (h != INVALID_HANDLE_VALUE) {
        do {
          if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
          const CString strPath = strBase + fd.cFileName;
          if (imagepicker::Listed((LPCSTR)strPath, CCMDIB::IsSupported(strPath) != FALSE)) paths.AddTail(strPath);
        } while (::FindNextFileA(h, &fd));
        ::FindClose(h);
      }
    } else {
      Sources()->SetCurSel(0);
      Sources()->GetWindowText(strSource);
      m_pDb->GetFiles(strSource, 1, &paths, &count);
    }
  } else {
    m_pDb->GetFiles(strSource, 1, &paths, &count);
  }
  std::vector<CString> existing;
  for (POSITION pos = paths.GetHeadPosition(); pos;) {
    const CString& p = paths.GetNext(pos);
    if (::GetFileAttributesA(p) != INVALID_FILE_ATTRIBUTES) existing.push_back(p);
  }
  m_bHasFiles = !existing.empty();
  if (m_bHasFiles) {
    m_list.ResetItems((int)existing.size());
    m_list.EnsureVisible(0, FALSE);
    for (size_t n = 0; n < existing.size(); ++n) AddFileThumbnail((int)n, existing[n]);
    m_list.SetAllChecks(FALSE);
    GetDlgItem(IDC_PICKER_OK)->EnableWindow(FALSE);
    if (m_list.GetItemCount() > 0) m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  } else {
    SetPreview(NULL);
    GetDlgItem(IDC_PICKER_OK)->EnableWindow(FALSE);
  }
  Invalidate();
  UpdateWindow();
}

void CImagePickerDlg::AddFileThumbnail(int n, LPCSTR lpszPath) {
  HBITMAP hBitmap = NULL;
  if (FAILED(LoadThumbnailBitmap(lpszPath, kThumbWidth, kThumbHeight, &hBitmap))) return;
  m_list.SetThumbnail(n, hBitmap, 0, 0, CMTLGetFileName(lpszPath));
  m_list.SetItemText(n, 1, lpszPath);
  m_list.SetCheck(n, TRUE);
  ::DeleteObject(hBitmap);
}

HRESULT CImagePickerDlg::LoadThumbnailBitmap(LPCSTR lpszPath, int cx, int cy, HBITMAP* phBitmap) {
  if (!lpszPath || !phBitmap) return E_FAIL;
  *phBitmap = NULL;
  CCMDIB image;
  if (VxDBWxGetThumbnailEx(lpszPath, VXDBWX_THUMB_MAKE, SIZE{cx, cy}, &image, NULL, NULL, NULL, NULL) < 0 &&
      image.GetIconFromFile(lpszPath, 32, 32) < 0)
    return E_FAIL;
  if (image.GetBitCount() != 24 && image.GetBitCount() != 16 && image.RecolorFilter(24, NULL) < 0) return E_FAIL;
  if ((image.GetWidth() != cx || image.GetHeight() != cy) &&
      image.ResizeFilter(SIZE{cx, cy}, NULL, CMDIB_RESIZE_WHITE | CMDIB_RESIZE_FIT) < 0)
    return E_FAIL;
  CClientDC dc(this);
  *phBitmap = image.CreateBitmap(dc.GetSafeHdc());
  return *phBitmap ? S_OK : E_FAIL;
}

void CImagePickerDlg::SetPreview(LPCSTR lpszPath) {
  if (m_hPreview) ::DeleteObject(m_hPreview);
  m_hPreview = NULL;
  if (lpszPath && *lpszPath) LoadThumbnailBitmap(lpszPath, kPreviewWidth, kPreviewHeight, &m_hPreview);
}

void CImagePickerDlg::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult) {
  const NMLISTVIEW* p = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
  if ((p->uChanged & LVIF_STATE) && (p->uNewState & LVIS_SELECTED)) {
    SetPreview(m_list.GetItemText(p->iItem, 1));
    InvalidateRect(&kPreviewArea, TRUE);
  }
  *pResult = 0;
}

BOOL CImagePickerDlg::IsTicked(int nItem) {
  return (m_list.GetItemState(nItem, LVIS_OVERLAYMASK) & LVIS_OVERLAYMASK) != INDEXTOOVERLAYMASK(1);
}

LRESULT CImagePickerDlg::OnCheckChanged(WPARAM, LPARAM lParam) {
  BOOL bAny = lParam == 1;
  for (int i = 0; !bAny && i < m_list.GetItemCount(); ++i) bAny = IsTicked(i);
  GetDlgItem(IDC_PICKER_OK)->EnableWindow(bAny);
  return 0;
}

void CImagePickerDlg::OnPaint() {
  CPaintDC dc(this);
  CBrush brush(kPreviewBackground);
  dc.FillRect(&kPreviewArea, &brush);
  if (!m_bHasFiles || !m_hPreview) return;
  CDC mem;
  mem.CreateCompatibleDC(&dc);
  HGDIOBJ old = ::SelectObject(mem.GetSafeHdc(), m_hPreview);
  dc.BitBlt(kPreviewOrigin.x, kPreviewOrigin.y, kPreviewWidth, kPreviewHeight, &mem, 0, 0, SRCCOPY);
  ::SelectObject(mem.GetSafeHdc(), old);
}

void CImagePickerDlg::OnSourceChange() { RefreshList(); }

void CImagePickerDlg::OnCancelButton() { EndDialog(IDCANCEL); }

void CImagePickerDlg::OnPick() {
  std::vector<CString> ticked;
  for (int i = 0; i < m_list.GetItemCount(); ++i)
    if (IsTicked(i)) ticked.push_back(m_list.GetItemText(i, 1));
  const std::string source = ComboText(Sources()), name = ComboText(Names());
  if (name.empty()) return;
  // The field holds no more; a longer name set from elsewhere would not fit the record.
  if (name.size() > imagepicker::kNameBytes) return;
  const std::string unfile = (LPCSTR)LoadResourceText(IDS_PICKER_UNFILE);
  const std::string chooseFolder = (LPCSTR)LoadResourceText(IDS_PICKER_CHOOSE_FOLDER);
  CString strQuestion;
  switch (imagepicker::QuestionFor(name, unfile, ticked.size())) {
    case imagepicker::kAskCount: strQuestion.Format(IDS_BROWSER_CLASSIFY_DELETE_N, (int)ticked.size()); break;
    case imagepicker::kAskPath: strQuestion.Format(IDS_PICKER_UNFILE_ONE, (LPCSTR)ticked[0]); break;
    case imagepicker::kAskNothing: break;
  }
  if (!strQuestion.IsEmpty() && Ask(strQuestion) != IDYES) return;
  if (m_pDb) {
    for (const CString& path : ticked) {
      switch (imagepicker::FilingFor(source, name, chooseFolder, unfile)) {
        case imagepicker::kRegister: {
          VXDBRECORD rec;
          if (imagepicker::PickedRecord(name, (LPCSTR)path, &rec)) m_pDb->AddRecord(rec, VXDB_KIND_PICKED, NULL);
          break;
        }
        case imagepicker::kRefile: m_pDb->Refile(source.c_str(), name.c_str(), path); break;
        case imagepicker::kLeave: m_pDb->Refile(source.c_str(), "", path); break;
        case imagepicker::kSkip: break;
      }
    }
    m_pDb->Commit();
  }
  EndDialog(IDOK);
}
