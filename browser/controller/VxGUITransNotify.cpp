// CVxGUITrans: notices to the main program, marks, movie load and unload, and the calls
// that wait for the view-mode switch.
#include <Kitlib2/CopyData.h>
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>

#include "MovieCtrl.h"
#include "TransInternal.h"

// The toolbar buttons the browser switches.
static const WPARAM kToolbarMask = 0x3F1F;

static BOOL IsOrderOrDiscFolder(CBrowserDocument* pDoc) {
  if (!pDoc) return FALSE;
  UINT code = pDoc->GetFolderType().GetCode();
  return code == FOLDER_TYPE_SDCARD_PRINTORDER || code == FOLDER_TYPE_SDCARD_DISC;
}

void CVxGUITrans::ToolbarEnable(BOOL bEnable) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  BOOL b = (IsAudioMode() || IsOrderOrDiscFolder(pDoc)) ? FALSE : bEnable;
  if (!m_pPanes) return;
  WPARAM mask = kToolbarMask;
  if (b && IsOrderOrDiscFolder(pDoc)) mask &= ~(WPARAM)0x2DF;
  m_pPanes->Send(3, WM_TOOLBAR_BUTTON_STATES, mask, b ? -1 : 0);
}

void CVxGUITrans::ExportEnable() {
  if (IsAudioMode() || IsOrderOrDiscFolder(GetBrowserDocument())) {
    delete m_pExportLock;
    m_pExportLock = new CExportPaneLock(this);
  } else {
    delete m_pExportLock;
    m_pExportLock = NULL;
  }
}

CExportPaneLock::CExportPaneLock(CVxGUITrans* pOwner) : m_pOwner(pOwner) {
  if (HWND h = pOwner->GetSafeHwnd()) ::PostMessageA(h, TransMsgs().uOutProjectTask, 3, 2);
}
CExportPaneLock::~CExportPaneLock() {
  HWND h = m_pOwner->GetSafeHwnd();
  if (h && !m_pOwner->IsSlideShowPresent()) ::PostMessageA(h, TransMsgs().uOutProjectTask, 3, 0x10002);
}

long CVxGUITrans::BroadcastChangeFolder(CString strFolder) {
  CString text = TransChangeFolderText(0, "Explorer", 1, strFolder);
  DWORD cb = TransCopyDataBufferSize(text.GetLength());
  char* buf = static_cast<char*>(calloc(cb, 1));
  if (!buf) return ERROR_OUTOFMEMORY;
  memcpy(buf, (LPCSTR)text, text.GetLength());
  DWORD cbSend = TransCopyDataSendSize(text.GetLength());
  HWND hSelf = GetSafeHwnd();
  HWND hMain = m_pPanes ? m_pPanes->GetPane(9) : m_hManager;
  if (hMain) CMTLSendCopyData(hMain, hSelf, CDID_CHANGE_FOLDER, buf, cbSend, CMTL_COPYDATA_TIMEOUT);
  if (hSelf) CMTLSendCopyData(hSelf, hSelf, CDID_CHANGE_FOLDER, buf, cbSend, CMTL_COPYDATA_TIMEOUT);
  free(buf);
  return 0;
}

void CVxGUITrans::MarkSelectToggle() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return;
  ++m_nSelectEcho;
  const CThumbnailList& sel = pDoc->GetSelectList();
  CThumbnail* pFirst = NULL;
  for (POSITION pos = sel.GetHeadPosition(); pos && !pFirst;) {
    CThumbnail* p = sel.GetNext(pos);
    if (p && !p->IsFolder() && p->IsCheckable()) pFirst = p;
  }
  if (pFirst) {
    pDoc->SetMarkSelectedAll(pFirst->GetMarkStatus() ? 0 : 1);
    RepaintShownNow();
  }
  if (m_nSelectEcho > 0) --m_nSelectEcho;
}

void CVxGUITrans::MarkAllUnCheck() {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return;
  ++m_nSelectEcho;
  pDoc->ClearMark();
  RepaintShownNow();
  if (m_nSelectEcho > 0) --m_nSelectEcho;
}

BOOL CVxGUITrans::PreTranslateMessage(MSG* pMsg) {
  if (!pMsg || !m_pMovieCtrl || !m_pMovieCtrl->IsFullScreen()) return FALSE;
  return pMsg->message == WM_LBUTTONUP || pMsg->message == WM_RBUTTONDOWN || pMsg->message == WM_RBUTTONDBLCLK;
}

BOOL CVxGUITrans::MovieCtrl_Load() {
  if (!m_pMovieCtrl) return FALSE;
  if (ICGBrowser* p = GetCGBrowser()) p->ReloadMovie();
  return TRUE;
}

BOOL CVxGUITrans::MovieCtrl_Unload() {
  if (!m_pMovieCtrl) return FALSE;
  BOOL bFull = m_pMovieCtrl->IsFullScreen();
  if (bFull) {
    m_pMovieCtrl->ToggleFullScreen(FALSE);
    SendToAllViews(VXHINT_VIEWMODE, NULL);
  }
  if (m_pMovieCtrl->IsOpen()) m_pMovieCtrl->Close();
  return bFull;
}
