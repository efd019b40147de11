// CVxGUITrans: life cycle, ICGBrowser and the mode queries.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>

#include "BrowserBaseView.h"
#include "DragDrop.h"
#include "MovieCtrl.h"
#include "SlideShowController.h"
#include "SoundCheckProcess.h"
#include "TransInternal.h"
#include "ZoomWndController.h"

CVxGUITrans* g_pTransController = NULL;
int g_nTransPrevSource = -1;

// Taken when the library loads: that thread is the user-interface thread.
static const DWORD s_dwMainThread = ::GetCurrentThreadId();
DWORD TransMainThreadId() { return s_dwMainThread; }

const VXTRANSMSGS& TransMsgs() {
  static const VXTRANSMSGS ids = {
      ::RegisterWindowMessageA("VX3D_ERROR_DISPLAY"),    ::RegisterWindowMessageA("VX3D_DELAY_COPYDATA"),
      ::RegisterWindowMessageA("VX3D_OUTPROJECT_TASK"),  ::RegisterWindowMessageA("VX3D_QUICKTIME_NOTIFY"),
      ::RegisterWindowMessageA("VX3D_DRAGDROP_KEY"),     ::RegisterWindowMessageA("VX3D_ZOOMMODE_WND"),
      ::RegisterWindowMessageA("VX3D_SLIDESHOW_WND"),    ::RegisterWindowMessageA("VX3D_PICTURES_DECODED"),
  };
  return ids;
}
// Registered when the library loads, as the main program does.
static const VXTRANSMSGS& s_msgsAtLoad = TransMsgs();

static void SetFolderChangingFlag(int nValue) { CMWriteProfileInt(VXDOC_SECTION, "ChangeFolder", nValue); }

CVxGUITrans::CVxGUITrans()
    : m_pView(NULL),
      m_hManager(NULL),
      m_pRelay(NULL),
      m_pReportCtrl(NULL),
      m_bEditLabel(FALSE),
      m_pBusy(NULL),
      m_nUpdateLock(0),
      m_pZoom(NULL),
      m_pDropTarget(NULL),
      m_pDropSource(NULL),
      m_nQueueCount(0),
      m_pPanes(NULL),
      m_pAudioScope(NULL),
      m_pSoundCheck(NULL),
      m_pSlideShowFlag(NULL),
      m_pMovieCtrl(NULL),
      m_pSelectKeeper(NULL),
      m_folderList(10),
      m_nSavedViewMode(0),
      m_pSlideShow(NULL),
      m_hClipFacts(NULL),
      m_lReloadBusy(0),
      m_nSelectEcho(0),
      m_pExportLock(NULL),
      m_bErrorBoxOpen(FALSE),
      m_bDPOFFavourite(FALSE),
      m_dwDPOFDrives(0),
      m_pDecoded(NULL) {
  m_pRelay = new VXRELAYRECORD();
  m_pDecoded = new CDecodedBatch();
  m_pBusy = new VXBUSYGUARD();
  m_pBusy->lCount = 0;
  m_pBusy->bRepost = FALSE;
  m_pSlideShowFlag = new int(0);
  // The drop target registers the browser's formats; it stays unregistered.
  m_pDropTarget = new CDropTarget();
  m_pDropSource = new CDropSource();
  SetFolderChangingFlag(0);
  g_pTransController = this;
  CString dll = TransProgramFolder() + "\\Core\\ScoreHall\\ClipFacts.dll";
  m_hClipFacts = ::LoadLibraryA(dll);
}

CVxGUITrans::~CVxGUITrans() {
  if (m_hClipFacts) ::FreeLibrary(m_hClipFacts);
  delete m_pMovieCtrl;
  delete m_pRelay;
  delete m_pDropTarget;
  delete m_pDropSource;
  delete m_pZoom;
  delete m_pSlideShowFlag;
  delete m_pBusy;
  delete m_pSlideShow;
  delete m_pSelectKeeper;
  delete m_pReportCtrl;
  delete m_pSoundCheck;
  delete m_pExportLock;
  delete m_pAudioScope;
  delete m_pPanes;
  delete m_pDecoded;
  FreeQueuedCommands();
  if (g_pTransController == this) g_pTransController = NULL;
}

void CVxGUITrans::FinishMoviePlayers() {
  delete m_pMovieCtrl;
  m_pMovieCtrl = NULL;
  delete m_pSoundCheck;
  m_pSoundCheck = NULL;
}

BOOL CVxGUITrans::Initialize() {
  if (!m_pSelectKeeper) {
    m_pSelectKeeper = new (std::nothrow) VXSELECTKEEPER();
    if (!m_pSelectKeeper) return FALSE;
  }
  m_pSelectKeeper->pView = m_pView;
  m_pSelectKeeper->pDoc = GetDocument();
  m_pSelectKeeper->strPage.Empty();
  m_pSelectKeeper->strFile.Empty();

  if (GetBrowserDocument()) SetFilterType(GetFilterType());
  SetFolderChangingFlag(0);
  FreeQueuedCommands();

  if (m_pView && m_pView->GetSafeHwnd()) m_pView->DragAcceptFiles(FALSE);
  if (m_pDropTarget) m_pDropTarget->Revoke();

  delete m_pPanes;
  m_pPanes = new (std::nothrow) CVxPaneMessenger(m_pView, m_pView ? m_pView->GetParentFrame() : NULL, this);
  if (!m_pPanes) return FALSE;

  // The browser's child windows exist: lParam 0 names the browser-area entry.
  CWnd* pMain = AfxGetMainWnd();
  HWND hMain = pMain ? pMain->GetSafeHwnd() : m_hManager;
  if (hMain) ::PostMessageA(hMain, WM_CHILD_WINDOW_CREATED, (WPARAM)GetSafeHwnd(), 0);
  SetExecuteState(TRUE);

  if (IVxItemView* pItems = GetItemView()) {
    CBrowserDocument* pDoc = GetBrowserDocument();
    int cell = pDoc ? TransThumbnailCell(IsCalendarMode(), IsLargeIconMode(), pDoc->GetBrowserStatus().GetThumbMode())
                    : 80;
    pItems->SetThumbnailSize(CSize(cell, cell));
  }

  if (!m_pMovieCtrl) m_pMovieCtrl = new (std::nothrow) CMovieCtrl();
  if (CBrowserDocument* pDoc = GetBrowserDocument()) pDoc->SetMoviePlayer(m_pMovieCtrl);
  if (!m_pSoundCheck) {
    m_pSoundCheck = new (std::nothrow) CSoundCheckProcess(GetSafeHwnd());
    if (m_pSoundCheck) m_pSoundCheck->Check();
  }
  // The details list: made once, hidden over the icon view until a details mode shows it.
  // Report mode has no details list.
  if (!m_pReportCtrl && m_pView && m_pView->GetSafeHwnd() && !IsEnableReportMode()) {
    m_pReportCtrl = new CReportCtrl();
    if (m_pReportCtrl && !m_pReportCtrl->CreateList(m_pView, 0, this)) {
      delete m_pReportCtrl;
      m_pReportCtrl = NULL;
    }
    // A details mode kept from the last run shows the list from the start.
    CBrowserDocument* pDoc = GetBrowserDocument();
    UINT mode = pDoc ? (UINT)pDoc->GetViewMode() : 0;
    if (m_pReportCtrl && CBrowserStatus::CViewMode::IsDetailFlag(mode)) {
      m_pReportCtrl->SetMode((int)CBrowserStatus::CViewMode::ToCgViewID(mode));
      m_pReportCtrl->ShowWindow(SW_SHOW);
    }
  }
  m_nSavedViewMode = 2;
  return TRUE;
}

// ---- Host view ----------------------------------------------------------------------------

void CVxGUITrans::SetWindow(CWnd* pView) {
  CView* p = DYNAMIC_DOWNCAST(CView, pView);
  if (p && p->GetSafeHwnd()) m_pView = p;
}
CWnd* CVxGUITrans::GetWindow() const { return m_pView; }
HWND CVxGUITrans::GetSafeHwnd() const { return m_pView ? m_pView->GetSafeHwnd() : NULL; }
CVxDocument* CVxGUITrans::GetDocument() const {
  return m_pView ? DYNAMIC_DOWNCAST(CVxDocument, m_pView->GetDocument()) : NULL;
}
CBrowserDocument* CVxGUITrans::GetBrowserDocument() const {
  CVxDocument* pDoc = GetDocument();
  return pDoc ? pDoc->GetBrowser() : NULL;
}
IVxItemView* CVxGUITrans::GetItemView() const { return m_pView ? dynamic_cast<IVxItemView*>(m_pView) : NULL; }
void CVxGUITrans::SetManager(HWND hManager) { m_hManager = hManager; }
void CVxGUITrans::BeginUpdate() { ++m_nUpdateLock; }
void CVxGUITrans::EndUpdate() {
  if (m_nUpdateLock > 0) --m_nUpdateLock;
}

int CVxGUITrans::IsContinueChangeFolder() const {
  if (!m_pBusy) return 1;
  return (m_pBusy->lCount > 1 || m_pBusy->bRepost) ? 0 : 1;
}

// ---- Mode queries -----------------------------------------------------------------------------

#define VXMODE(expr)                                  \
  CBrowserDocument* pDoc = GetBrowserDocument();      \
  if (!pDoc) return FALSE;                            \
  const CBrowserStatus& st = pDoc->GetBrowserStatus(); \
  return st.expr;

BOOL CVxGUITrans::IsFocusMode() const { VXMODE(IsFocusMode()) }
BOOL CVxGUITrans::IsSmallIconMode() const { VXMODE(IsSmallIconMode()) }
BOOL CVxGUITrans::IsLargeIconMode() const { VXMODE(IsLargeIconMode()) }
BOOL CVxGUITrans::IsCalendarMode() const { VXMODE(IsCalendarMode()) }
BOOL CVxGUITrans::IsFileInfoMode() const { VXMODE(IsFileInfoMode()) }
BOOL CVxGUITrans::IsCameraInfoMode() const { VXMODE(IsCameraInfoMode()) }
BOOL CVxGUITrans::IsAudioInfoMode() const { VXMODE(IsAudioInfoMode()) }
BOOL CVxGUITrans::IsAudioListMode() const { VXMODE(IsAudioListMode()) }
BOOL CVxGUITrans::IsAudioMode() const { return IsAudioInfoMode() || IsAudioListMode(); }
BOOL CVxGUITrans::IsInfoMode() const { return IsFileInfoMode() || IsCameraInfoMode() || IsAudioMode(); }
BOOL CVxGUITrans::IsSameViewMode(UINT nViewCode) const {
  CBrowserDocument* pDoc = GetBrowserDocument();
  return pDoc && CBrowserStatus::CViewMode::ToCgViewID(pDoc->GetViewMode()) == nViewCode;
}
UINT CVxGUITrans::GetViewModeFlag() const {
  CBrowserDocument* pDoc = GetBrowserDocument();
  return pDoc ? (UINT)pDoc->GetViewMode() : 0;
}

BOOL CVxGUITrans::IsCardAudioVoiceFolder() const {
  CBrowserDocument* pDoc = GetBrowserDocument();
  return pDoc && pDoc->GetFolderType().IsSDAudioVoiceFolder();
}

// ---- ICGBrowser ---------------------------------------------------------------------------------

BOOL CVxGUITrans::IsItemShown(CThumbnail* p) const {
  // Sub-folders and card tracks stand for no file of their own.
  return p && !p->IsFolder() && !p->HasKind(VXKIND_CARDTRACK);
}

void CVxGUITrans::CollectShown(CList<CThumbnail*, CThumbnail*>& list) const {
  if (IsCalendarMode()) {
    if (CBrowserBaseView* pBase = dynamic_cast<CBrowserBaseView*>(CWnd::FromHandlePermanent(GetBaseViewWindow())))
      pBase->GetCalendarThumbnails(&list);
    return;
  }
  if (IVxItemView* pItems = GetItemView()) pItems->CollectThumbnail(list, -1);
}

void CVxGUITrans::CollectAll(CList<CThumbnail*, CThumbnail*>& list) const {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return;
  // A classification folder lists what it shows.
  if (pDoc->GetFolderTypeFlag() == FOLDER_TYPE_CLASSIFY || IsCalendarMode()) {
    CollectShown(list);
    return;
  }
  UINT mask = GetFilterType();
  ForEachPageItem(pDoc, false, [&](CThumbnail* p) {
    if (IsShownUnder(p, mask)) list.AddTail(p);
    return true;
  });
}

long CVxGUITrans::GetFileData(CGFileInfoList* pList, long lFlags) {
  if (!pList) return E_INVALIDARG;
  pList->RemoveAll();
  CWaitCursor wait;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return S_OK;
  VXLISTBRANCH branch = TransListBranch(lFlags, TRUE);
  if (branch == VXLIST_MARKED) {
    CStringList paths;
    CThumbnail::GetAllCheckedImage(paths);
    CPathSort::Sort(paths, GetSortType());
    for (POSITION pos = paths.GetHeadPosition(); pos;) {
      CGFILEINFO info;
      info.path = paths.GetNext(pos);
      pList->AddTail(info);
    }
    return S_OK;
  }
  CList<CThumbnail*, CThumbnail*> items;
  if (branch == VXLIST_SELECTED) {
    const CThumbnailList& sel = pDoc->GetSelectList();
    for (POSITION pos = sel.GetHeadPosition(); pos;) items.AddTail(sel.GetNext(pos));
  } else if (branch == VXLIST_ALL) {
    CollectAll(items);
  } else {
    CollectShown(items);
  }
  for (POSITION pos = items.GetHeadPosition(); pos;) {
    CThumbnail* p = items.GetNext(pos);
    if (!IsItemShown(p)) continue;
    CGFILEINFO info;
    info.path = p->GetFilePath();
    p->GetOriginalImageSize(&info.width, &info.height);
    pList->AddTail(info);
  }
  return S_OK;
}

long CVxGUITrans::GetFileData(CList<CThumbnail*, CThumbnail*>* pList, long lFlags) {
  if (!pList) return E_INVALIDARG;
  pList->RemoveAll();
  CList<CThumbnail*, CThumbnail*> items;
  if (lFlags == 1)
    CollectAll(items);
  else
    CollectShown(items);
  for (POSITION pos = items.GetHeadPosition(); pos;) {
    CThumbnail* p = items.GetNext(pos);
    if (IsItemShown(p)) pList->AddTail(p);
  }
  return S_OK;
}

long CVxGUITrans::QuerySelectCount(QUERYSELECT_TYPE type, unsigned int* pnCount) {
  if (!pnCount) return E_INVALIDARG;
  *pnCount = 0;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (pDoc && !IsAudioMode() && (type == QUERYSELECT_0 || type == QUERYSELECT_1))
    *pnCount = (unsigned)pDoc->GetSelectCount();
  return S_OK;
}

long CVxGUITrans::QueryMarkCount(QUERYMARK_TYPE type, unsigned int* pnCount) {
  if (!pnCount) return E_INVALIDARG;
  *pnCount = 0;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return S_OK;
  if (IsCardAudioVoiceFolder() && !IsEnableReportMode()) return S_OK;
  if (type == QUERYMARK_0 || type == QUERYMARK_1 || type == QUERYMARK_2) *pnCount = (unsigned)pDoc->GetMarkCount();
  return S_OK;
}

void CVxGUITrans::PauseMovie() {
  if (IsFocusMode() && m_pMovieCtrl && m_pMovieCtrl->IsOpen() && m_pMovieCtrl->IsPlaying()) m_pMovieCtrl->Pause();
}

int CVxGUITrans::UnloadMovie() {
  if (!IsFocusMode() || !m_pMovieCtrl || !m_pMovieCtrl->IsOpen()) return 0;
  m_pMovieCtrl->Close();
  return 1;
}

void CVxGUITrans::ReloadMovie() {
  if (!IsFocusMode() || !m_pMovieCtrl || m_pMovieCtrl->IsOpen()) return;
  if (CVxDocument* pDoc = GetDocument()) pDoc->UpdateAllViews(m_pView, VXHINT_SELECTION, NULL);
}

long CVxGUITrans::SetSlideShow(SLD_TYPE type, std::vector<tagSLD_V_TYPE>* pSlides,
                               std::vector<tagSLD_A_TYPE>* pSounds, SLD_QUALITY quality, int nOption1,
                               int nOption2) {
  if (!pSlides || pSlides->empty()) return E_POINTER;
  if (!m_pSlideShow) {
    m_pSlideShow = new (std::nothrow) CSlideShowController();
    if (!m_pSlideShow) return E_OUTOFMEMORY;
  }
  return m_pSlideShow->SetParams(m_pView, quality, type, pSlides, pSounds, nOption1, nOption2);
}

long CVxGUITrans::GetSlideShow(SLD_TYPE* pType, std::vector<tagSLD_V_TYPE>* pSlides,
                               std::vector<tagSLD_A_TYPE>* pSounds, SLD_QUALITY* pQuality, int* pnOption1,
                               int* pnOption2) {
  if (!m_pSlideShow) return E_FAIL;
  return m_pSlideShow->GetParams(NULL, pQuality, pType, pSlides, pSounds, pnOption1, pnOption2);
}

void CVxGUITrans::Reload() { ReloadAllGroups(); }

HWND CVxGUITrans::GetBaseViewWindow() const {
  // The base view is the parent of the main frame's inner splitter, which holds this view.
  if (!m_pView || !m_pView->GetSafeHwnd()) return NULL;
  HWND hSplitter = ::GetParent(m_pView->GetSafeHwnd());
  return hSplitter ? ::GetParent(hSplitter) : NULL;
}
