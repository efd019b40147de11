#include "SlideCollectDlg.h"

#include <MainWndMessages.h>
#include <SlideShowController.h>
#include <VxResourceIds.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include <Kitlib2/CMDIB.h>

#include <algorithm>

#include "ui/ProgressDialogs.h"

namespace {

// Sent by the fill's worker: add the pictures [wParam, lParam) of the fill's list; -1
// when the list became full.
const UINT WM_SLIDE_COLLECT_ADD = WM_APP + 1076;
// Pictures handed over at a time: each hand-over waits for the dialog's thread.
const size_t kFillBatch = 256;
const int kListMargin = 12;

// Pictures that arrive from another image list until its drop is over; one for all
// dialogs, as only one list takes a drop at a time.
std::vector<SlidePicture> g_pendingDrop;

bool FileExists(const std::string& path) {
  DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

struct FillRun {
  HWND hDlg;
  size_t count;
  size_t next;     // pictures the job has passed on
  size_t flushed;  // pictures handed to the dialog
};

// On the progress bar's worker: the list is the dialog's, so its thread adds the items.
int FillOne(LPCSTR, void* context) {
  FillRun* run = static_cast<FillRun*>(context);
  if (run->next >= run->count) return -1;
  ++run->next;
  if (run->next - run->flushed < kFillBatch && run->next < run->count) return 0;
  size_t first = run->flushed;
  run->flushed = run->next;
  return (int)::SendMessageA(run->hDlg, WM_SLIDE_COLLECT_ADD, first, run->next);
}

SIZE PictureSize(const std::string& path) {
  BITMAPINFOHEADER header = {};
  if (CCMDIB::GetInfo(path.c_str(), &header) < 0) return SIZE{0, 0};
  return SIZE{header.biWidth, header.biHeight < 0 ? -header.biHeight : header.biHeight};
}

}  // namespace

BEGIN_MESSAGE_MAP(CSlideCollectDlg, CResourceDialog)
  ON_BN_CLICKED(IDC_SLIDE_COLLECT_CLOSE, &CSlideCollectDlg::OnCloseButton)
  ON_BN_CLICKED(IDC_SLIDE_COLLECT_START, &CSlideCollectDlg::OnStart)
  ON_BN_CLICKED(IDC_SLIDE_COLLECT_SAVE, &CSlideCollectDlg::OnSaveButton)
  ON_BN_CLICKED(IDC_SLIDE_COLLECT_REMOVE, &CSlideCollectDlg::OnRemove)
  ON_BN_CLICKED(IDC_SLIDE_COLLECT_SETTINGS, &CSlideCollectDlg::OnSettings)
  ON_COMMAND(IDC_SLIDE_COLLECT_LIST, &CSlideCollectDlg::OnSettings)
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_MESSAGE(WM_SLIDE_COLLECT_FILL, &CSlideCollectDlg::OnFill)
  ON_MESSAGE(WM_SLIDE_COLLECT_ADD, &CSlideCollectDlg::OnFillAdd)
END_MESSAGE_MAP()

CSlideCollectDlg::CSlideCollectDlg(CWnd* pParent)
    : CResourceDialog(IDD_SLIDE_COLLECT, pParent),
      m_bCreated(0),
      m_bSaved(0),
      m_pOwner(NULL),
      m_nCloseReason(kCloseUnsaved),
      m_cfPrivate(CFileDropTarget::PrivateFormat()),
      m_pScenario(NULL),
      m_nDropRefs(0),
      m_dropTarget(&m_nDropRefs, this),
      m_nBusy(0) {}

CSlideCollectDlg::~CSlideCollectDlg() {
  if (m_hWnd) DestroyWindow();
}

int CSlideCollectDlg::Create(CWnd* pOwner, CSlideShowScenario* pScenario, BOOL bShow) {
  if (m_bCreated) return 1;
  m_pScenario = pScenario;
  m_pOwner = pOwner;
  m_bCreated = 1;
  if (!CDialog::Create(IDD_SLIDE_COLLECT, pOwner)) {
    m_bCreated = 0;
    return 0;
  }
  if (m_toolTip.Create(this)) {
    CRect rc;
    if (CWnd* pLabel = GetDlgItem(IDC_SLIDE_COLLECT_AUDIO)) {
      pLabel->GetWindowRect(&rc);
      ScreenToClient(&rc);
      rc.left = 10;
    }
    m_toolTip.AddTool(this, LPSTR_TEXTCALLBACKA, &rc, IDC_SLIDE_COLLECT_TIP);
    m_toolTip.Activate(TRUE);
  }
  CenterWindow();
  if (bShow) ShowWindow(SW_SHOW);
  return 1;
}

BOOL CSlideCollectDlg::OnInitDialog() {
  CResourceDialog::OnInitDialog();
  m_nCloseReason = kCloseUnsaved;
  ::RegisterDragDrop(m_hWnd, &m_dropTarget);

  CRect client, head, save;
  GetClientRect(&client);
  if (CWnd* p = GetDlgItem(IDC_SLIDE_COLLECT_HEAD)) {
    p->GetWindowRect(&head);
    ScreenToClient(&head);
  }
  if (CWnd* p = GetDlgItem(IDC_SLIDE_COLLECT_SAVE)) {
    p->GetWindowRect(&save);
    ScreenToClient(&save);
  }
  CRect rc(kListMargin, head.bottom + 2, client.Width() - kListMargin, save.top - 5);
  m_list.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, rc, this, IDC_SLIDE_COLLECT_LIST);
  m_list.Init(1, 1);

  if (m_pScenario) {
    m_pScenario->GetPictures(&m_pictures);
    int quality = 1, kind = 0, interval = 0, repeat = 0;
    m_pScenario->GetProfileQuality(&quality);
    m_pScenario->GetShowInfo(&kind, &interval, &repeat, NULL);
    if ((quality != 0 || kind != 0) && !m_pictures.empty()) {
      std::vector<SlideTempImage> prepared;
      ++m_nBusy;
      m_pScenario->PrepareImages(m_hWnd, &m_pictures, &prepared);
      --m_nBusy;
      std::vector<std::string> failed;
      DropFailed(&prepared, &failed);
      m_pScenario->SetTempImages(&prepared);
      for (size_t i = m_pictures.size(); i-- > 0;)
        for (const std::string& f : failed)
          if (textkit::EqualNoCase(m_pictures[i].path, f)) {
            m_pictures.erase(m_pictures.begin() + i);
            break;
          }
    }
  }
  PostMessage(WM_SLIDE_COLLECT_FILL);
  return TRUE;
}

LRESULT CSlideCollectDlg::OnFill(WPARAM, LPARAM) {
  if (!m_pScenario) return 0;
  ShowModelAudio();
  if (!m_pictures.empty()) {
    CStringList paths;
    for (const SlidePicture& p : m_pictures) paths.AddTail(p.path.c_str());
    FillRun run = {m_hWnd, m_pictures.size(), 0, 0};
    CFileBatchJob job(IDS_SLIDE_COLLECT_FILLING, this);
    job.SetCallback(&paths, FillOne, &run);
    ++m_nBusy;
    job.Run();
    --m_nBusy;
    // Cancelled between two hand-overs: what the job passed on still joins.
    if (run.flushed < run.next) OnFillAdd(run.flushed, run.next);
  }
  UpdateButtons();
  return 0;
}

LRESULT CSlideCollectDlg::OnFillAdd(WPARAM wParam, LPARAM lParam) {
  size_t end = std::min((size_t)lParam, m_pictures.size());
  for (size_t i = (size_t)wParam; i < end; ++i) {
    if (m_list.GetItemCount() >= CImageListCtrl::kMaxItems) {
      AfxMessageBox(IDS_SLIDE_TOO_MANY, MB_OK | MB_ICONEXCLAMATION);
      return -1;
    }
    const SlidePicture& p = m_pictures[i];
    if (m_list.AddItem(p.path.c_str(), SIZE{p.width, p.height}) < 0) return -1;
  }
  return 0;
}

void CSlideCollectDlg::UpdateButtons() {
  if (!m_hWnd) return;
  BOOL bAny = m_list.GetItemCount() > 0;
  if (CWnd* p = GetDlgItem(IDC_SLIDE_COLLECT_REMOVE)) p->EnableWindow(m_list.GetSelectedCount() > 0);
  if (CWnd* p = GetDlgItem(IDC_SLIDE_COLLECT_SAVE)) p->EnableWindow(bAny);
  if (CWnd* p = GetDlgItem(IDC_SLIDE_COLLECT_START)) p->EnableWindow(bAny);
}

void CSlideCollectDlg::ShowAudio(const std::string& path) {
  m_strAudioPath = path;
  if (m_hWnd) SetDlgItemText(IDC_SLIDE_COLLECT_AUDIO, path.c_str());
}

void CSlideCollectDlg::ShowModelAudio() {
  if (!m_pScenario) return;
  std::vector<std::string> audio;
  m_pScenario->GetAudio(&audio);
  for (const std::string& a : audio) ShowAudio(a);
}

void CSlideCollectDlg::CopyListToModel() {
  if (!m_pScenario) return;
  std::vector<SlidePicture> pictures;
  for (int i = 0; i < m_list.GetItemCount(); ++i) {
    SIZE size = m_list.GetItemSize(i);
    pictures.push_back(SlidePicture{(LPCSTR)m_list.GetItemText(i), (int)size.cx, (int)size.cy});
  }
  m_pScenario->SetPictures(&pictures);
}

void CSlideCollectDlg::DropFailed(std::vector<SlideTempImage>* pPrepared, std::vector<std::string>* pFailed) {
  for (size_t i = pPrepared->size(); i-- > 0;) {
    const SlideTempImage& e = (*pPrepared)[i];
    if (!e.temp.empty()) continue;
    m_list.DeleteItem(m_list.FindItem(e.source.c_str()));
    if (pFailed) pFailed->insert(pFailed->begin(), e.source);
    pPrepared->erase(pPrepared->begin() + i);
  }
}

int CSlideCollectDlg::PrepareAndAdd(const std::vector<SlidePicture>& pictures) {
  if (!m_pScenario) return 0;
  std::vector<SlideTempImage> prepared;
  ++m_nBusy;
  int result = m_pScenario->PrepareImages(m_hWnd, &pictures, &prepared);
  --m_nBusy;
  DropFailed(&prepared, NULL);
  std::vector<SlideTempImage> temps;
  m_pScenario->GetTempImages(&temps);
  temps.insert(temps.end(), prepared.begin(), prepared.end());
  m_pScenario->SetTempImages(&temps);
  UpdateButtons();
  return result ? 1 : 0;
}

void CSlideCollectDlg::DeleteTempImageOf(const std::string& source) {
  if (!m_pScenario) return;
  std::vector<SlideTempImage> temps;
  m_pScenario->GetTempImages(&temps);
  for (size_t i = 0; i < temps.size(); ++i) {
    if (!textkit::EqualNoCase(temps[i].source, source)) continue;
    // Only an image of the show's own temporary folder is deleted.
    DeleteSlidePreparedFiles({temps[i].temp}, FALSE);
    temps.erase(temps.begin() + i);
    m_pScenario->SetTempImages(&temps);
    return;
  }
}

void CSlideCollectDlg::OnRemove() {
  for (int i = m_list.GetItemCount(); i-- > 0;) {
    if (!m_list.IsSelected(i)) continue;
    DeleteTempImageOf((LPCSTR)m_list.GetItemText(i));
    m_list.DeleteItem(i);
  }
  UpdateButtons();
}

void CSlideCollectDlg::OnStart() {
  CWaitCursor wait;
  MSG msg;
  while (::PeekMessageA(&msg, NULL, WM_MOUSEFIRST, WM_MBUTTONDBLCLK, PM_REMOVE)) {
  }
  while (::PeekMessageA(&msg, NULL, ID_SLIDE_START, ID_SLIDE_START, PM_REMOVE)) {
  }
  CopyListToModel();
  if (m_pOwner && m_pOwner->GetSafeHwnd()) m_pOwner->PostMessage(WM_COMMAND, ID_SLIDE_START, (LPARAM)m_hWnd);
}

void CSlideCollectDlg::OnSettings() {
  if (m_pOwner && m_pOwner->GetSafeHwnd()) m_pOwner->SendMessage(WM_COMMAND, ID_SLIDE_SETTINGS, (LPARAM)m_hWnd);
  if (!m_pScenario) return;
  std::vector<std::string> audio;
  m_pScenario->GetAudio(&audio);
  if (audio.empty()) ShowAudio(std::string());
  ShowModelAudio();
  UpdateButtons();
}

void CSlideCollectDlg::OnSaveButton() {
  if (Save()) m_nCloseReason = kCloseSaved;
}

void CSlideCollectDlg::OnCloseButton() {
  if (!AskSave()) return;
  m_nCloseReason = kCloseUnsaved;
  Close();
}

void CSlideCollectDlg::OnOK() {}
void CSlideCollectDlg::OnCancel() { OnCloseButton(); }

void CSlideCollectDlg::OnClose() {
  if (!m_bCreated) return;
  AskSave();
  Close();
}

void CSlideCollectDlg::OnDestroy() {
  if (m_bCreated) {
    AskSave();
    Close();
  }
  ::RevokeDragDrop(m_hWnd);
  CResourceDialog::OnDestroy();
}

// Nothing of its own to draw. BeginPaint validates this window alone: ValidateRect would
// take the children's update regions with it, and the buttons would never paint.
void CSlideCollectDlg::OnPaint() { CPaintDC dc(this); }

void CSlideCollectDlg::Close() {
  if (!m_bCreated) return;
  m_bCreated = 0;
  // The window goes when the owner deletes the dialog; until then it is out of sight.
  if (m_hWnd) ShowWindow(SW_HIDE);
  m_list.DeleteAllItems();
  if (m_pScenario) {
    // Only the show's own images, directly inside its temporary folder, then the folder
    // when nothing else is left in it.
    std::vector<SlideTempImage> temps;
    m_pScenario->GetTempImages(&temps);
    if (!temps.empty()) {
      std::vector<std::string> paths;
      for (const SlideTempImage& t : temps) paths.push_back(t.temp);
      DeleteSlidePreparedFiles(paths, TRUE);
    }
    m_pScenario->SetTempImages(NULL);
  }
  if (m_pOwner && m_pOwner->GetSafeHwnd()) m_pOwner->PostMessage(WM_TOOLBAR_SLIDE_COLLECT, 0, m_nCloseReason);
}

void CSlideCollectDlg::RefreshAudio() {
  if (!m_pScenario) return;
  if (m_strAudioPath.empty() || FileExists(m_strAudioPath)) {
    ShowModelAudio();
    return;
  }
  ShowAudio(std::string());
  std::vector<std::string> none(1);
  m_pScenario->SetAudio(&none);
}

int CSlideCollectDlg::AskSave() {
  if (m_bSaved || m_list.GetItemCount() == 0) return 1;
  if (AfxMessageBox(IDS_SLIDE_ASK_SAVE, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return 1;
  return Save();
}

CString CSlideCollectDlg::ChooseTarget() { return ChooseSlideShowScenarioFile(FALSE); }

int CSlideCollectDlg::Save() {
  CString target = ChooseTarget();
  if (target.IsEmpty() || !m_pScenario) return 0;
  CopyListToModel();
  std::vector<SlidePicture> keptPictures, pictures;
  std::vector<std::string> keptAudio, audio, missing;
  m_pScenario->GetPictures(&keptPictures);
  m_pScenario->GetAudio(&keptAudio);
  for (const SlidePicture& p : keptPictures) {
    if (FileExists(p.path))
      pictures.push_back(p);
    else
      missing.push_back(p.path);
  }
  if (!m_strAudioPath.empty()) {
    if (FileExists(m_strAudioPath))
      audio.push_back(m_strAudioPath);
    else
      missing.push_back(m_strAudioPath);
  }
  if (!pictures.empty()) {
    if (!missing.empty()) {
      std::string text = slideshow::MissingFilesText((LPCSTR)LoadResourceText(IDS_SLIDE_MISSING_FILES), missing);
      AfxMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
    }
    // A file that was there before is not ours to delete when the save fails: the
    // scenario is written beside it and moved into place, so it is either whole or as it was.
    bool existed = FileExists((LPCSTR)target);
    m_pScenario->SetPictures(&pictures);
    m_pScenario->SetAudio(&audio);
    int saved = m_pScenario->SaveFile(target);
    m_pScenario->SetPictures(&keptPictures);
    m_pScenario->SetAudio(&keptAudio);
    if (saved) {
      m_bSaved = 1;
      return 1;
    }
    if (!existed) ::DeleteFileA(target);
  }
  AfxMessageBox(IDS_SLIDE_SAVE_FAILED, MB_OK | MB_ICONEXCLAMATION);
  return 0;
}

int CSlideCollectDlg::AddDroppedFile(LPCSTR lpszPath, BOOL bPrivate) {
  if (!lpszPath || lstrlenA(lpszPath) < 3) return 0;
  std::string path = lpszPath;
  slideshow::DropKind kind = slideshow::DroppedFileKind(path);
  int result = 0;
  char root[4] = {path[0], ':', '\\', 0};
  if (::GetDriveTypeA(root) == DRIVE_FIXED) {
    if (kind == slideshow::kDropAudio) {
      if (bPrivate) {
        ShowAudio(path);
        if (m_pScenario) {
          int nKind = 0, nInterval = 0, nRepeat = 0, nAudioKind = 0;
          m_pScenario->GetShowInfo(&nKind, &nInterval, &nRepeat, &nAudioKind);
          std::vector<std::string> one(1, path);
          m_pScenario->SetAudio(&one);
          m_pScenario->SetShowInfo(nKind, nInterval, nRepeat, 2);
        }
        result = 1;
      }
    } else if (kind == slideshow::kDropPicture && FileExists(path)) {
      // A folder named like a picture, or a file gone since the drag began, is refused.
      if (m_list.GetItemCount() > CImageListCtrl::kMaxItems - 1) {
        if (!bPrivate) AfxMessageBox(IDS_SLIDE_TOO_MANY, MB_OK | MB_ICONEXCLAMATION);
        return 0;
      }
      // The size now, so that the picture can be prepared like the others.
      result = m_list.AddItem(path.c_str(), PictureSize(path)) >= 0 ? 1 : 0;
    }
    UpdateButtons();
  }
  if (bPrivate || result) return result;
  if (kind == slideshow::kDropAudio) {
    AfxMessageBox(IDS_SLIDE_AUDIO_REFUSED, MB_OK);
  } else {
    CString text;
    text.Format(LoadResourceText(IDS_SLIDE_FILE_REFUSED), path.c_str());
    AfxMessageBox(text, MB_OK);
  }
  return 0;
}

DWORD CSlideCollectDlg::OnFileDrop(IDataObject* pData) {
  STGMEDIUM medium;
  if (filedrop::GetGlobal(pData, CF_HDROP, &medium)) {
    std::vector<std::string> files = filedrop::DroppedFiles(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    std::vector<SlidePicture> added;
    for (const std::string& f : files) {
      if (!AddDroppedFile(f.c_str(), FALSE)) break;
      if (slideshow::DroppedFileKind(f) == slideshow::kDropAudio) continue;
      int last = m_list.GetItemCount() - 1;
      SIZE size = m_list.GetItemSize(last);
      added.push_back(SlidePicture{(LPCSTR)m_list.GetItemText(last), (int)size.cx, (int)size.cy});
    }
    if (!added.empty()) PrepareAndAdd(added);
    return DROPEFFECT_COPY;
  }
  if (filedrop::GetGlobal(pData, m_cfPrivate, &medium)) {
    std::string path = filedrop::DroppedPath(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    if (!path.empty()) AddDroppedFile(path.c_str(), TRUE);
    return DROPEFFECT_COPY;
  }
  return DROPEFFECT_NONE;
}

BOOL CSlideCollectDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  NMHDR* pHdr = reinterpret_cast<NMHDR*>(lParam);
  if (pHdr && pHdr->code == TTN_GETDISPINFOA && pHdr->idFrom == IDC_SLIDE_COLLECT_TIP) {
    reinterpret_cast<NMTTDISPINFOA*>(pHdr)->lpszText = const_cast<LPSTR>(m_strAudioPath.c_str());
    return TRUE;
  }
  if (pHdr && m_list.m_hWnd && pHdr->hwndFrom == m_list.m_hWnd) {
    switch ((int)pHdr->code) {
      case (int)NM_CLICK:
      case IMLN_SELCHANGED: UpdateButtons(); return TRUE;
      case IMLN_DROPBEGIN: g_pendingDrop.clear(); return TRUE;
      case IMLN_ITEMDROPPED: {
        int item = reinterpret_cast<NMIMAGELIST*>(pHdr)->iItem;
        SIZE size = m_list.GetItemSize(item);
        g_pendingDrop.push_back(SlidePicture{(LPCSTR)m_list.GetItemText(item), (int)size.cx, (int)size.cy});
        return TRUE;
      }
      case IMLN_DROPEND: {
        std::vector<SlidePicture> pending;
        pending.swap(g_pendingDrop);
        PrepareAndAdd(pending);
        return TRUE;
      }
      case IMLN_ITEMSMOVED: return TRUE;
    }
  }
  return CResourceDialog::OnNotify(wParam, lParam, pResult);
}

BOOL CSlideCollectDlg::PreTranslateMessage(MSG* pMsg) {
  if (m_toolTip.GetSafeHwnd()) m_toolTip.RelayEvent(pMsg);
  return CResourceDialog::PreTranslateMessage(pMsg);
}
