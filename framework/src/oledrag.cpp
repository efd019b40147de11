// OLE drag and drop (COleDropSource, COleDropTarget) and COleMessageFilter.
#include <fw/ole.h>

IMPLEMENT_DYNAMIC(COleDropSource, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)
IMPLEMENT_DYNAMIC(COleMessageFilter, CCmdTarget)

DROPEFFECT AFXAPI AfxFilterDropEffect(DROPEFFECT dropWanted, DROPEFFECT dropAllowed) {
  const DROPEFFECT kEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  DROPEFFECT scroll = dropWanted & DROPEFFECT_SCROLL;
  DROPEFFECT effect = dropWanted & dropAllowed & kEffects;
  if (effect == 0 && (dropWanted & DROPEFFECT_MOVE) && (dropAllowed & DROPEFFECT_COPY)) effect = DROPEFFECT_COPY;
  if (effect & DROPEFFECT_COPY) {
    effect = DROPEFFECT_COPY;
  } else if (effect & DROPEFFECT_MOVE) {
    effect = DROPEFFECT_MOVE;
  }
  return effect | scroll;
}

// Every IUnknown of these classes: the object lives as long as its owner, not as OLE counts.
#define FW_STATIC_UNKNOWN(Outer, Inner, Interface)                        \
  STDMETHODIMP Outer::Inner::QueryInterface(REFIID riid, void** ppv) {    \
    if (riid == IID_IUnknown || riid == IID_##Interface) {                \
      *ppv = static_cast<Interface*>(this);                               \
      return S_OK;                                                        \
    }                                                                     \
    *ppv = NULL;                                                          \
    return E_NOINTERFACE;                                                 \
  }                                                                       \
  STDMETHODIMP_(ULONG) Outer::Inner::AddRef() { return 2; }               \
  STDMETHODIMP_(ULONG) Outer::Inner::Release() { return 1; }

// ===== COleDropSource =====

COleDropSource::COleDropSource() : m_bDragStarted(FALSE), m_dwButtonCancel(MK_RBUTTON), m_dwButtonDrop(MK_LBUTTON) {
  m_xDropSource.m_pThis = this;
}

COleDropSource::~COleDropSource() {}

void COleDropSource::PrepareButtons() {
  BOOL bLeft = ::GetKeyState(VK_LBUTTON) < 0;
  BOOL bRight = ::GetKeyState(VK_RBUTTON) < 0;
  if (bRight && !bLeft) {
    m_dwButtonDrop = MK_RBUTTON;
    m_dwButtonCancel = MK_LBUTTON;
  } else {
    m_dwButtonDrop = MK_LBUTTON;
    m_dwButtonCancel = MK_RBUTTON;
  }
}

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
  if (bEscapePressed || (dwKeyState & m_dwButtonCancel)) return DRAGDROP_S_CANCEL;
  if (!(dwKeyState & m_dwButtonDrop)) return DRAGDROP_S_DROP;
  return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

BOOL COleDropSource::OnBeginDrag(CWnd* pWnd) {
  m_bDragStarted = FALSE;
  if (m_rectStartDrag.IsRectEmpty()) return TRUE;
  int vkDrop = m_dwButtonDrop == MK_RBUTTON ? VK_RBUTTON : VK_LBUTTON;
  UINT nDelay = (UINT)::GetProfileIntA("windows", "DragDelay", DD_DEFDRAGDELAY);
  DWORD dwStart = ::GetTickCount();
  HWND hWndCapture = pWnd->GetSafeHwnd();
  if (hWndCapture) ::SetCapture(hWndCapture);
  BOOL bStart = FALSE;
  for (;;) {
    if (::GetAsyncKeyState(vkDrop) >= 0 || ::GetAsyncKeyState(VK_ESCAPE) < 0) break;
    POINT pt;
    ::GetCursorPos(&pt);
    if (!m_rectStartDrag.PtInRect(pt) || ::GetTickCount() - dwStart >= nDelay) {
      bStart = TRUE;
      break;
    }
    // Keep painting and sent messages going; input stays queued for the drag loop.
    ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
      if (msg.message == WM_QUIT) {
        ::PostQuitMessage((int)msg.wParam);
        break;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  if (hWndCapture && ::GetCapture() == hWndCapture) ::ReleaseCapture();
  m_bDragStarted = bStart;
  return bStart;
}

FW_STATIC_UNKNOWN(COleDropSource, XDropSource, IDropSource)

STDMETHODIMP COleDropSource::XDropSource::QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) {
  return m_pThis->QueryContinueDrag(fEscapePressed, grfKeyState);
}

STDMETHODIMP COleDropSource::XDropSource::GiveFeedback(DWORD dwEffect) { return m_pThis->GiveFeedback(dwEffect); }

// ===== COleDropTarget =====

COleDropTarget::COleDropTarget() : m_hWnd(NULL), m_dropEffectLast(DROPEFFECT_NONE) { m_xDropTarget.m_pThis = this; }

COleDropTarget::~COleDropTarget() { Revoke(); }

BOOL COleDropTarget::Register(CWnd* pWnd) {
  HWND hWnd = pWnd->GetSafeHwnd();
  if (hWnd == NULL || m_hWnd != NULL) return FALSE;
  if (FAILED(::RegisterDragDrop(hWnd, &m_xDropTarget))) return FALSE;
  m_hWnd = hWnd;
  return TRUE;
}

void COleDropTarget::Revoke() {
  if (m_hWnd == NULL) return;
  ::RevokeDragDrop(m_hWnd);
  m_hWnd = NULL;
  m_dataObject.Release();
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) { return (DROPEFFECT)-1; }
void COleDropTarget::OnDragLeave(CWnd*) {}
DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }

CPoint COleDropTarget::ClientPoint(POINTL pt) const {
  CPoint point(pt.x, pt.y);
  ::ScreenToClient(m_hWnd, &point);
  return point;
}

DROPEFFECT COleDropTarget::Track(BOOL bEnter, DWORD dwKeyState, POINTL pt, DWORD dwAllowed) {
  CWnd* pWnd = CWnd::FromHandle(m_hWnd);
  CPoint point = ClientPoint(pt);
  DROPEFFECT effect = OnDragScroll(pWnd, dwKeyState, point);
  if (!(effect & DROPEFFECT_SCROLL)) {
    effect = bEnter ? OnDragEnter(pWnd, &m_dataObject, dwKeyState, point)
                    : OnDragOver(pWnd, &m_dataObject, dwKeyState, point);
  }
  m_dropEffectLast = AfxFilterDropEffect(effect, dwAllowed);
  return m_dropEffectLast;
}

BOOL COleDropTarget::TakeData(LPDATAOBJECT pDataObj, DWORD* pdwEffect) {
  if (m_hWnd == NULL) {
    *pdwEffect = DROPEFFECT_NONE;
    return FALSE;
  }
  if (pDataObj) pDataObj->AddRef();
  m_dataObject.Attach(pDataObj, TRUE);
  return TRUE;
}

FW_STATIC_UNKNOWN(COleDropTarget, XDropTarget, IDropTarget)

STDMETHODIMP COleDropTarget::XDropTarget::DragEnter(LPDATAOBJECT pDataObj, DWORD grfKeyState, POINTL pt,
                                                     DWORD* pdwEffect) {
  if (!pdwEffect) return E_INVALIDARG;
  if (m_pThis->TakeData(pDataObj, pdwEffect)) *pdwEffect = m_pThis->Track(TRUE, grfKeyState, pt, *pdwEffect);
  return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) {
  COleDropTarget* pThis = m_pThis;
  if (!pdwEffect) return E_INVALIDARG;
  if (pThis->m_hWnd == NULL || pThis->m_dataObject.m_lpDataObject == NULL) {
    *pdwEffect = DROPEFFECT_NONE;
    return S_OK;
  }
  *pdwEffect = pThis->Track(FALSE, grfKeyState, pt, *pdwEffect);
  return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragLeave() {
  COleDropTarget* pThis = m_pThis;
  if (pThis->m_hWnd) pThis->OnDragLeave(CWnd::FromHandle(pThis->m_hWnd));
  pThis->m_dataObject.Release();
  return S_OK;
}

// The drop asks OnDragOver once more for the effect, then OnDropEx, then OnDrop; a drop
// nobody wants ends as a drag that left.
STDMETHODIMP COleDropTarget::XDropTarget::Drop(LPDATAOBJECT pDataObj, DWORD grfKeyState, POINTL pt,
                                                DWORD* pdwEffect) {
  COleDropTarget* pThis = m_pThis;
  if (!pdwEffect) return E_INVALIDARG;
  if (!pThis->TakeData(pDataObj, pdwEffect)) return S_OK;
  CWnd* pWnd = CWnd::FromHandle(pThis->m_hWnd);
  CPoint point = pThis->ClientPoint(pt);
  DROPEFFECT dropList = *pdwEffect;
  DROPEFFECT effect = AfxFilterDropEffect(pThis->OnDragOver(pWnd, &pThis->m_dataObject, grfKeyState, point), dropList);
  effect &= ~DROPEFFECT_SCROLL;
  DROPEFFECT result = pThis->OnDropEx(pWnd, &pThis->m_dataObject, effect, dropList, point);
  if (result == (DROPEFFECT)-1) {
    if (effect != DROPEFFECT_NONE && pThis->OnDrop(pWnd, &pThis->m_dataObject, effect, point)) {
      result = effect;
    } else {
      if (effect == DROPEFFECT_NONE) pThis->OnDragLeave(pWnd);
      result = DROPEFFECT_NONE;
    }
  }
  pThis->m_dataObject.Release();
  *pdwEffect = result;
  return S_OK;
}

// ===== COleMessageFilter =====

COleMessageFilter::COleMessageFilter()
    : m_bEnableBusy(TRUE),
      m_bEnableNotResponding(TRUE),
      m_bRegistered(FALSE),
      m_nBusyCount(0),
      m_nBusyReply(SERVERCALL_RETRYLATER),
      m_nRetryReply(100),
      m_nRetryTimeout(10000) {
  m_xMessageFilter.m_pThis = this;
}

COleMessageFilter::~COleMessageFilter() { Revoke(); }

BOOL COleMessageFilter::Register() {
  if (m_bRegistered) return TRUE;
  IMessageFilter* pOld = NULL;
  if (FAILED(::CoRegisterMessageFilter(&m_xMessageFilter, &pOld))) return FALSE;
  if (pOld) pOld->Release();
  m_bRegistered = TRUE;
  return TRUE;
}

void COleMessageFilter::Revoke() {
  if (!m_bRegistered) return;
  IMessageFilter* pOld = NULL;
  ::CoRegisterMessageFilter(NULL, &pOld);
  if (pOld) pOld->Release();
  m_bRegistered = FALSE;
}

FW_STATIC_UNKNOWN(COleMessageFilter, XMessageFilter, IMessageFilter)

STDMETHODIMP_(DWORD) COleMessageFilter::XMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  return m_pThis->m_nBusyCount > 0 ? (DWORD)m_pThis->m_nBusyReply : (DWORD)SERVERCALL_ISHANDLED;
}

STDMETHODIMP_(DWORD) COleMessageFilter::XMessageFilter::RetryRejectedCall(HTASK, DWORD dwTickCount,
                                                                           DWORD dwRejectType) {
  if (dwRejectType == SERVERCALL_REJECTED) return (DWORD)-1;
  return dwTickCount < m_pThis->m_nRetryTimeout ? m_pThis->m_nRetryReply : (DWORD)-1;
}

STDMETHODIMP_(DWORD) COleMessageFilter::XMessageFilter::MessagePending(HTASK, DWORD, DWORD) {
  return PENDINGMSG_WAITDEFPROCESS;
}

COleMessageFilter* AFXAPI AfxOleGetMessageFilter() {
  static COleMessageFilter* s_pFilter = new COleMessageFilter;  // lives as long as the process
  return s_pFilter;
}
