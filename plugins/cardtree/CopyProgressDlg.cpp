#include "CopyProgressDlg.h"

#include <Kitlib2/Utility.h>
#include <KitlibEx/KitlibEx.h>
#include <VxResourceIds.h>

#include <cstdio>

#include "CardDialogs.h"
#include "CardRules.h"
#include "ImportDialogRules.h"

using namespace cardtree;

namespace {

const UINT kFileStarted = WM_APP + 0x61;
const UINT_PTR kStartTimer = 1;
const UINT_PTR kBackupTimer = 2100;
// Where the backup clip stands, centred, on the dialog's background.
const CRect kClipBox(125, 20, 125 + 199, 20 + 39);

std::string LastFolderName(const std::string& path) { return FileNameOf(FolderOf(path)); }

HWND OwnerOf(CWnd* wnd) { return wnd ? wnd->GetSafeHwnd() : NULL; }

// The failure that ended a run, told with the file and the system's reason; a full disk
// has its own message.
void ReportRunFailure(CWnd* wnd, const CopyOutcome& out, const CCopyRun& run) {
  if (!run.TooLongTarget().empty()) {
    CardMessageBox(OwnerOf(wnd), (run.TooLongTarget() + "\n\n" + ResourceString(IDS_COPY_PATH_TOO_LONG)).c_str(),
                   CMTLGetAppName(), MB_OK | MB_ICONERROR);
    return;
  }
  if (!out.error || out.stopped) return;
  std::string text;
  if (out.error == ERROR_DISK_FULL || out.error == ERROR_HANDLE_DISK_FULL) {
    text = out.failedSource + "\n\n" + ResourceString(IDS_BROWSER_DISK_FULL);
  } else {
    char buffer[1200];
    snprintf(buffer, sizeof buffer, ResourceString(IDS_IMPORT_COPY_FAILED).c_str(), out.failedSource.c_str(),
             SystemErrorText(out.error).c_str());
    text = buffer;
  }
  CardMessageBox(OwnerOf(wnd), text.c_str(), CMTLGetAppName(), MB_OK | MB_ICONERROR);
}

void OpenAnimation(CAnimateCtrl& animation, UINT id) {
  if (!animation.GetSafeHwnd()) return;
  HINSTANCE res = ResourceModule() ? ResourceModule() : GetModuleHandleA("VxResource.dll");
  // A library without the clip leaves the window out of sight.
  if (res && FindResourceA(res, MAKEINTRESOURCEA(id), "AVI") &&
      animation.SendMessage(ACM_OPENA, reinterpret_cast<WPARAM>(res), reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(id))))
    animation.Play(0, static_cast<UINT>(-1), static_cast<UINT>(-1));
  else
    animation.ShowWindow(SW_HIDE);
}

}  // namespace

namespace cardtree {

void CCopyRun::Start(HWND notify, UINT message) {
  Join();
  m_running = 1;
  m_thread = std::thread([this, notify, message] {
    auto progress = [this, notify, message](size_t i, size_t total, const std::string& source) {
      if (m_stopAfter || m_stopNow) return false;
      const std::string& target = m_plan->targets[i];
      if (target.size() >= MAX_PATH) {
        m_tooLong = target;
        return false;
      }
      {
        std::lock_guard<std::mutex> hold(m_lock);
        m_source = source;
        m_target = target;
        m_index = i;
        m_total = total;
      }
      ::PostMessageA(notify, message, static_cast<WPARAM>(i), static_cast<LPARAM>(total));
      return true;
    };
    m_error = RunCopyPlan(m_plan, m_out, progress, &m_stopNow);
    if (!m_tooLong.empty()) m_out->stopped = false;  // a failure, not the user's stop
    m_running = 0;
    ::PostMessageA(notify, message, static_cast<WPARAM>(-1), 0);
  });
}

void CCopyRun::Join() {
  if (m_thread.joinable()) m_thread.join();
}

void CCopyRun::Current(std::string* source, std::string* target, size_t* index, size_t* total) {
  std::lock_guard<std::mutex> hold(m_lock);
  *source = m_source;
  *target = m_target;
  *index = m_index;
  *total = m_total;
}

std::string FormatFileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA a;
  uint64_t size = 0;
  if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a))
    size = (static_cast<uint64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
  int unit = 0;
  const std::string number = SizeNumberText(size, &unit);
  return ResourceFormat(IDS_IMPORT_SIZE_BYTES + unit, number);
}

std::string FileSizeLine(const std::string& path) { return FileNameOf(path) + " " + FormatFileSize(path); }

std::string FolderLine(const std::string& source, const std::string& target) {
  return "' " + LastFolderName(source) + "' " + ResourceString(IDS_COPY_BETWEEN) + " ' " + LastFolderName(target) +
         "' ";
}

int GetCaptureDateText(LPCSTR path, std::string* dateText, std::string* timeText, int exifOnly) {
  if (!path || !*path) return 0;
  std::string p(path);
  std::string tail = p.size() >= 4 ? UpperPath(p.substr(p.size() - 4)) : "";
  const bool raw = tail == ".RAW" || tail == ".DNG";
  CaptureDate d;
  if (!ReadCaptureDate(p, &d)) return 0;
  if (!raw && exifOnly && !d.hasExif) return 0;
  if (dateText) *dateText = d.date;
  if (timeText) *timeText = d.time;
  return 1;
}

}  // namespace cardtree

// ---- copy dialog ---------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CCopyProgressDlg, CDialog)
  ON_WM_TIMER()
  ON_BN_CLICKED(IDC_COPY_STOP, &CCopyProgressDlg::OnStop)
  ON_BN_CLICKED(IDC_COPY_CANCEL, &CCopyProgressDlg::OnCancelButton)
  ON_MESSAGE(kFileStarted, &CCopyProgressDlg::OnFileStarted)
END_MESSAGE_MAP()

CCopyProgressDlg::CCopyProgressDlg(CWnd* pParent, CopyPlan* plan)
    : CDialog(IDD_COPY_PROGRESS, pParent),
      m_nOperation(2),
      m_pPlan(plan),
      m_run(plan, &m_outcome),
      m_bCancelled(false),
      m_bStarted(false) {
  // Closing the program under the copy would unload this plug-in under its worker.
  m_bHoldOtherCloses = TRUE;
}

INT_PTR CCopyProgressDlg::DoModal() {
  if (!m_pPlan || m_pPlan->sources.empty()) return kCopyAll;
  return CDialog::DoModal();
}

BOOL CCopyProgressDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetGuiFontUnlessAsian(this);
  m_bar.SubclassDlgItem(IDC_COPY_BAR, this);
  m_animation.SubclassDlgItem(IDC_COPY_ANIMATION, this);
  SetDlgItemText(IDC_COPY_FILE, "");
  SetDlgItemText(IDC_COPY_FOLDERS, "");
  GotoDlgCtrl(GetDlgItem(IDC_COPY_STOP));
  if (!SetTimer(kStartTimer, 5, NULL)) EndDialog(-1);
  return FALSE;
}

void CCopyProgressDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kStartTimer) return;
  KillTimer(kStartTimer);
  if (m_bStarted) return;
  m_bStarted = true;
  ShowWindow(SW_SHOW);
  if (m_nOperation != 2) {
    EndDialog(kCopyCancelled);
    return;
  }
  SetWindowText(ResourceString(IDS_COPY_TITLE).c_str());
  OpenAnimation(m_animation, IDA_IMPORT_COPY);
  m_bar.SetRange32(0, static_cast<int>(m_pPlan->sources.size()));
  m_bar.SetPos(0);
  m_bar.SetStep(1);
  m_run.Start(GetSafeHwnd(), kFileStarted);
}

LRESULT CCopyProgressDlg::OnFileStarted(WPARAM wParam, LPARAM) {
  if (wParam == static_cast<WPARAM>(-1)) {
    Finish();
    return 0;
  }
  std::string source, target;
  size_t index = 0, total = 0;
  m_run.Current(&source, &target, &index, &total);
  if (source.empty()) return 0;
  SetDlgItemText(IDC_COPY_FILE, FileSizeLine(source).c_str());
  SetDlgItemText(IDC_COPY_FOLDERS, FolderLine(source, target).c_str());
  m_bar.SetPos(static_cast<int>(index) + 1);
  const std::string count = ResourceFormat(IDS_COPY_CURRENT, static_cast<long long>(index) + 1) + " / " +
                            ResourceFormat(IDS_COPY_TOTAL, static_cast<long long>(total));
  SetDlgItemText(IDC_COPY_COUNT, count.c_str());
  return 0;
}

void CCopyProgressDlg::Finish() {
  m_run.Join();
  if (m_animation.GetSafeHwnd()) m_animation.Stop();
  ReportRunFailure(this, m_outcome, m_run);
  const bool abandoned = m_outcome.stopped && !m_outcome.failedSource.empty();
  EndDialog(CopyResultOf(m_run.Error(), m_bCancelled, abandoned));
}

void CCopyProgressDlg::OnStop() { m_run.StopAfterFile(); }

void CCopyProgressDlg::OnCancelButton() {
  m_bCancelled = true;
  m_run.Abandon();
}

void CCopyProgressDlg::OnCancel() {
  // Esc: the dialog ends only when its run has.
  if (!m_run.Running() && !m_bStarted) {
    EndDialog(kCopyCancelled);
    return;
  }
  OnCancelButton();
}

// ---- registration window ---------------------------------------------------------------

BEGIN_MESSAGE_MAP(CRegisterProgressDlg, CDialog)
  ON_BN_CLICKED(IDC_REGISTER_CANCEL, &CRegisterProgressDlg::OnCancelButton)
  ON_WM_CLOSE()
END_MESSAGE_MAP()

CRegisterProgressDlg::CRegisterProgressDlg(CWnd* pOwner, int nTotal)
    : CDialog(IDD_REGISTER_PROGRESS, pOwner), m_pOwner(pOwner), m_nTotal(nTotal), m_nCurrent(-1) {}

BOOL CRegisterProgressDlg::Create(CWnd* pParent) { return CDialog::Create(IDD_REGISTER_PROGRESS, pParent); }

BOOL CRegisterProgressDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetGuiFontUnlessAsian(this);
  m_bar.SubclassDlgItem(IDC_COPY_BAR, this);
  m_animation.SubclassDlgItem(IDC_REGISTER_ANIMATION, this);
  m_bar.SetRange32(0, m_nTotal > 0 ? m_nTotal : 1);
  SetDlgItemText(IDC_REGISTER_FILE, "");
  SetDlgItemText(IDC_REGISTER_FOLDERS, "");
  SetDlgItemText(IDC_REGISTER_NOTE, "");
  GotoDlgCtrl(GetDlgItem(IDC_REGISTER_CANCEL));
  return FALSE;
}

void CRegisterProgressDlg::Start() {
  if (m_pOwner && m_pOwner->GetSafeHwnd()) m_pOwner->EnableWindow(FALSE);
  OpenAnimation(m_animation, IDA_IMPORT_COPY);
  ShowWindow(SW_SHOW);
}

void CRegisterProgressDlg::AddEntry(LPCSTR fileText, LPCSTR sourceFolder, LPCSTR destinationFolder, int index) {
  m_entries.push_back({fileText ? fileText : "", sourceFolder ? sourceFolder : "",
                       destinationFolder ? destinationFolder : ""});
  ShowEntry(index);
}

void CRegisterProgressDlg::ShowEntry(int index) {
  if (index < 0 || index >= static_cast<int>(m_entries.size())) return;
  const Entry& e = m_entries[index];
  SetDlgItemText(IDC_REGISTER_FILE, e.file.c_str());
  const std::string folders =
      "' " + e.source + "' " + ResourceString(IDS_COPY_BETWEEN) + " ' " + e.destination + "' ";
  SetDlgItemText(IDC_REGISTER_FOLDERS, folders.c_str());
  SetDlgItemText(IDC_REGISTER_NOTE, "");
  m_nCurrent = index;
}

void CRegisterProgressDlg::SetPos(int position) {
  m_bar.SetPos(position);
  if (m_animation.GetSafeHwnd()) m_animation.RedrawWindow();
  RedrawWindow();
}

void CRegisterProgressDlg::DisableCancel() {
  if (CWnd* cancel = GetDlgItem(IDC_REGISTER_CANCEL)) cancel->EnableWindow(FALSE);
}

void CRegisterProgressDlg::Finish() {
  if (m_animation.GetSafeHwnd()) {
    m_animation.Stop();
    m_animation.Close();
  }
  if (CWnd* cancel = GetDlgItem(IDC_REGISTER_CANCEL)) cancel->EnableWindow(TRUE);
  m_entries.clear();
  if (m_pOwner && m_pOwner->GetSafeHwnd()) m_pOwner->EnableWindow(TRUE);
  ShowWindow(SW_HIDE);
}

void CRegisterProgressDlg::AskToStop() {
  if (m_animation.GetSafeHwnd()) {
    m_animation.Stop();
    m_animation.Close();
  }
  if (m_pOwner && m_pOwner->GetSafeHwnd())
    m_pOwner->PostMessage(WM_IMPORT_DISC_CANCEL);
  else
    PostThreadMessageA(GetCurrentThreadId(), WM_IMPORT_DISC_CANCEL, 0, 0);
}

void CRegisterProgressDlg::OnCancelButton() { AskToStop(); }
void CRegisterProgressDlg::OnClose() { AskToStop(); }
void CRegisterProgressDlg::OnCancel() { AskToStop(); }

// ---- backup dialog ---------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CCardBackupProgressDlg, CDialog)
  ON_WM_TIMER()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_NCHITTEST()
  ON_WM_CTLCOLOR()
  ON_WM_DESTROY()
  ON_BN_CLICKED(IDC_COPY_CANCEL, &CCardBackupProgressDlg::OnCancelButton)
  ON_MESSAGE(kFileStarted, &CCardBackupProgressDlg::OnFileStarted)
END_MESSAGE_MAP()

CCardBackupProgressDlg::CCardBackupProgressDlg(CWnd* pParent, CopyPlan* plan, LPCSTR cardDrives)
    : CDialog(IDD_BACKUP_PROGRESS, pParent),
      m_nRunMode(2),
      m_pPlan(plan),
      m_run(plan, &m_outcome),
      m_strDrives(cardDrives ? cardDrives : ""),
      m_pCancel(nullptr),
      m_nState(1),
      m_nTotal(0),
      m_nDone(0) {
  m_bHoldOtherCloses = TRUE;
}

BOOL CCardBackupProgressDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // The panel's layout is in pixels, as its picture is.
  SetWindowPos(NULL, 0, 0, 450, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CenterWindow();
  m_pCancel = new CCardHoverButton;
  m_pCancel->Create(ResourceString(IDS_BACKUP_CANCEL).c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW,
                    CRect(164, 150, 295, 185), this, IDC_COPY_CANCEL);
  m_pCancel->LoadSizedBitmaps(132, 36, IDB_BACKUP_BUTTON, IDB_BACKUP_BUTTON_PRESSED, IDB_BACKUP_BUTTON_FOCUS,
                              IDB_BACKUP_BUTTON_DISABLED);
  m_pCancel->SetCaptionStyle(3, 0.2, 0);
  m_pCancel->SetFocusImages(IDB_BACKUP_BUTTON, IDB_BACKUP_BUTTON_HOVER);
  m_pCancel->SetFocus();
  m_animation.SubclassDlgItem(IDC_BACKUP_ANIMATION, this);
  m_animation.MoveWindow(&kClipBox);
  for (size_t i = 0; i + 1 < m_strDrives.size() + 1 && i < m_strDrives.size(); i += 2) {
    CStringList list;
    CMTLxGetDPOFFileList(m_strDrives.substr(i, 2).c_str(), "AUTPLAY3", list);
    for (POSITION p = list.GetHeadPosition(); p;) m_playList.push_back(UpperPath(std::string(list.GetNext(p))));
  }
  if (!SetTimer(kBackupTimer, 500, NULL)) EndDialog(-1);
  return FALSE;
}

void CCardBackupProgressDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kBackupTimer) return;
  KillTimer(kBackupTimer);
  if (m_nRunMode != 2) {
    EndDialog(static_cast<int>(kBackupTimer));
    return;
  }
  SetWindowText(ResourceString(IDS_COPY_TITLE).c_str());
  OpenAnimation(m_animation, IDA_CARD_BACKUP);
  // The control took the clip's size when it opened: centred in its box, the clip's
  // first frame starts at the control's corner, where the brush below starts too.
  if (m_animation.GetSafeHwnd()) {
    CRect clip;
    m_animation.GetWindowRect(&clip);
    m_animation.MoveWindow(kClipBox.left + (kClipBox.Width() - clip.Width()) / 2,
                           kClipBox.top + (kClipBox.Height() - clip.Height()) / 2, clip.Width(), clip.Height());
  }
  m_nTotal = static_cast<int>(m_pPlan->sources.size());
  if (m_nTotal == 0) {
    EndDialog(m_nState);
    return;
  }
  Invalidate();
  m_run.Start(GetSafeHwnd(), kFileStarted);
}

LRESULT CCardBackupProgressDlg::OnFileStarted(WPARAM wParam, LPARAM) {
  if (wParam == static_cast<WPARAM>(-1)) {
    m_run.Join();
    if (m_animation.GetSafeHwnd()) m_animation.Close();
    if (m_run.Error() && !m_outcome.stopped) {
      m_nState = 3;
      ReportRunFailure(this, m_outcome, m_run);
    }
    EndDialog(m_nState);
    return 0;
  }
  std::string source, target;
  size_t index = 0, total = 0;
  m_run.Current(&source, &target, &index, &total);
  if (m_nState == 1) {
    m_strFile = FileSizeLine(source);
    m_strFolders = FolderLine(source, target);
  }
  m_nDone = static_cast<int>(index) + 1;
  Invalidate(FALSE);
  UpdateWindow();
  return 0;
}

void CCardBackupProgressDlg::OnCancelButton() {
  // The file being copied finishes; the run ends before the next one.
  m_strFolders = ResourceString(IDS_BACKUP_CANCELLING);
  m_nState = 2;
  m_run.StopAfterFile();
  Invalidate(FALSE);
}

void CCardBackupProgressDlg::OnCancel() { OnCancelButton(); }

BOOL CCardBackupProgressDlg::OnEraseBkgnd(CDC*) { return TRUE; }

// The clip's keyed colour (its first pixel, white) shows this brush: the dialog's
// background picture under the control, so the clip stands on the gradient.
HBRUSH CCardBackupProgressDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (!pWnd || pWnd->GetSafeHwnd() != m_animation.GetSafeHwnd()) return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
  if (!m_clipBack) {
    CRect at;
    m_animation.GetWindowRect(&at);
    ScreenToClient(&at);
    HINSTANCE res = ResourceModule() ? ResourceModule() : GetModuleHandleA("VxResource.dll");
    HBITMAP back = res ? static_cast<HBITMAP>(
                             LoadImageA(res, MAKEINTRESOURCEA(IDB_BACKUP_BACKGROUND), IMAGE_BITMAP, 0, 0, 0))
                       : NULL;
    HDC screen = ::GetDC(NULL);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HBITMAP piece = CreateCompatibleBitmap(screen, at.Width(), at.Height());
    HGDIOBJ oldTo = SelectObject(to, piece);
    if (back) {
      HGDIOBJ oldFrom = SelectObject(from, back);
      BitBlt(to, 0, 0, at.Width(), at.Height(), from, at.left, at.top, SRCCOPY);
      SelectObject(from, oldFrom);
      DeleteObject(back);
    } else {
      RECT all = {0, 0, at.Width(), at.Height()};
      FillRect(to, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ::ReleaseDC(NULL, screen);
    m_clipBack = CreatePatternBrush(piece);
    DeleteObject(piece);
  }
  return m_clipBack;
}

void CCardBackupProgressDlg::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  HDC hdc = dc.GetSafeHdc();
  HINSTANCE res = ResourceModule() ? ResourceModule() : GetModuleHandleA("VxResource.dll");
  HBITMAP back = res ? static_cast<HBITMAP>(LoadImageA(res, MAKEINTRESOURCEA(IDB_BACKUP_BACKGROUND), IMAGE_BITMAP, 0, 0, 0))
                     : NULL;
  if (back) {
    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(mem, back);
    BitBlt(hdc, 0, 0, client.Width(), client.Height(), mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(back);
  } else {
    FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  if (m_nTotal == 0) return;
  LOGFONTA lf = {};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  if (lf.lfCharSet != 0 && lf.lfCharSet != SHIFTJIS_CHARSET) {
    lstrcpyA(lf.lfFaceName, "Arial");
    lf.lfCharSet = 0;
  }
  lf.lfHeight = 12;
  lf.lfWeight = 600;
  HFONT font = CreateFontIndirectA(&lf);
  HGDIOBJ oldFont = SelectObject(hdc, font);
  SetBkMode(hdc, TRANSPARENT);
  RECT file = {30, 70, 420, 85}, folders = {30, 85, 420, 100}, count = {30, 100, 420, 113};
  DrawTextA(hdc, m_strFile.c_str(), -1, &file, DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
  DrawTextA(hdc, m_strFolders.c_str(), -1, &folders, DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
  const std::string counted =
      ResourceFormat(IDS_COPY_CURRENT, m_nDone) + " / " + ResourceFormat(IDS_COPY_TOTAL, m_nTotal);
  DrawTextA(hdc, counted.c_str(), -1, &count, DT_SINGLELINE | DT_CENTER | DT_NOPREFIX);
  SelectObject(hdc, oldFont);
  DeleteObject(font);
  const COLORREF colour = RGB(29, 95, 121);
  HBRUSH brush = CreateSolidBrush(colour);
  RECT bar = {30, 116, 30 + static_cast<LONG>(static_cast<long long>(m_nDone) * (419 - 30) / m_nTotal), 137};
  FillRect(hdc, &bar, brush);
  DeleteObject(brush);
}

LRESULT CCardBackupProgressDlg::OnNcHitTest(CPoint) { return HTCAPTION; }

void CCardBackupProgressDlg::OnDestroy() {
  m_run.Abandon();
  m_run.Join();
  CDialog::OnDestroy();
  if (m_clipBack) DeleteObject(m_clipBack);
  m_clipBack = NULL;
  if (m_pCancel) {
    m_pCancel->DestroyWindow();
    delete m_pCancel;
    m_pCancel = nullptr;
  }
}
