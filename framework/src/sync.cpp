// Synchronisation objects and locks.
#include <fw/sync.h>

#include "threadstate.h"

namespace {

HANDLE Checked(HANDLE h) {
  if (!h) AfxThrowResourceException();
  return h;
}

}  // namespace

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CCriticalSection, CSyncObject)
IMPLEMENT_DYNAMIC(CEvent, CSyncObject)
IMPLEMENT_DYNAMIC(CMutex, CSyncObject)
IMPLEMENT_DYNAMIC(CSemaphore, CSyncObject)

CSyncObject::CSyncObject(LPCSTR) : m_hObject(nullptr) {}

CSyncObject::~CSyncObject() {
  if (m_hObject) ::CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD dwTimeout) {
  DWORD r = ::WaitForSingleObject(m_hObject, dwTimeout);
  return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

BOOL CSyncObject::Unlock(LONG, LPLONG) { return TRUE; }

CCriticalSection::CCriticalSection() : CSyncObject(nullptr) { ::InitializeCriticalSection(&m_sect); }

CCriticalSection::~CCriticalSection() { ::DeleteCriticalSection(&m_sect); }

BOOL CCriticalSection::Lock(DWORD dwTimeout) {
  if (dwTimeout == INFINITE) return Lock();
  // A critical section has no timed wait: try, then poll with short sleeps.
  DWORD start = ::GetTickCount();
  for (;;) {
    if (::TryEnterCriticalSection(&m_sect)) return TRUE;
    if (::GetTickCount() - start >= dwTimeout) return FALSE;
    ::Sleep(1);
  }
}

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(lpszName) {
  m_hObject = Checked(::CreateEventA(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName));
}

CMutex::CMutex(BOOL bInitiallyOwn, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute) : CSyncObject(lpszName) {
  m_hObject = Checked(::CreateMutexA(lpsaAttribute, bInitiallyOwn, lpszName));
}

CSemaphore::CSemaphore(LONG lInitialCount, LONG lMaxCount, LPCSTR pstrName, LPSECURITY_ATTRIBUTES lpsaAttributes)
    : CSyncObject(pstrName) {
  m_hObject = Checked(::CreateSemaphoreA(lpsaAttributes, lInitialCount, lMaxCount, pstrName));
}

// ---- CSingleLock ------------------------------------------------------------------------

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock) : m_pObject(pObject), m_bAcquired(FALSE) {
  if (bInitialLock) Lock();
}

BOOL CSingleLock::Lock(DWORD dwTimeOut) {
  if (!m_pObject) return FALSE;
  if (!m_bAcquired) m_bAcquired = m_pObject->Lock(dwTimeOut);
  return m_bAcquired;
}

BOOL CSingleLock::Unlock() {
  if (m_pObject && m_bAcquired) m_bAcquired = !m_pObject->Unlock();
  return !m_bAcquired;
}

BOOL CSingleLock::Unlock(LONG lCount, LPLONG lPrevCount) {
  if (m_pObject && m_bAcquired) m_bAcquired = !m_pObject->Unlock(lCount, lPrevCount);
  return !m_bAcquired;
}

// ---- CMultiLock -------------------------------------------------------------------------

CMultiLock::CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock)
    : m_ppObjectArray(nullptr), m_pHandleArray(nullptr), m_bLockedArray(nullptr), m_dwCount(0) {
  if (!ppObjects || dwCount == 0 || dwCount > MAXIMUM_WAIT_OBJECTS) AfxThrowInvalidArgException();
  m_dwCount = dwCount;
  m_ppObjectArray = new CSyncObject*[dwCount];
  m_pHandleArray = new HANDLE[dwCount];
  m_bLockedArray = new BOOL[dwCount];
  for (DWORD i = 0; i < dwCount; ++i) {
    m_ppObjectArray[i] = ppObjects[i];
    m_pHandleArray[i] = ppObjects[i] ? ppObjects[i]->m_hObject : nullptr;
    m_bLockedArray[i] = FALSE;
  }
  if (bInitialLock) Lock();
}

CMultiLock::~CMultiLock() {
  Unlock();
  delete[] m_ppObjectArray;
  delete[] m_pHandleArray;
  delete[] m_bLockedArray;
}

DWORD CMultiLock::Lock(DWORD dwTimeOut, BOOL bWaitForAll, DWORD dwWakeMask) {
  DWORD r = dwWakeMask ? ::MsgWaitForMultipleObjects(m_dwCount, m_pHandleArray, bWaitForAll, dwTimeOut, dwWakeMask)
                       : ::WaitForMultipleObjects(m_dwCount, m_pHandleArray, bWaitForAll, dwTimeOut);
  DWORD signalled = r >= WAIT_ABANDONED_0 && r < WAIT_ABANDONED_0 + m_dwCount ? r - WAIT_ABANDONED_0
                    : r < WAIT_OBJECT_0 + m_dwCount                             ? r - WAIT_OBJECT_0
                                                                                : m_dwCount;
  if (signalled < m_dwCount) {
    if (bWaitForAll) {
      for (DWORD i = 0; i < m_dwCount; ++i) m_bLockedArray[i] = TRUE;
    } else {
      m_bLockedArray[signalled] = TRUE;
    }
  }
  return r;
}

BOOL CMultiLock::Unlock() {
  for (DWORD i = 0; i < m_dwCount; ++i) {
    if (m_bLockedArray[i]) m_bLockedArray[i] = !m_ppObjectArray[i]->Unlock();
  }
  return TRUE;
}

BOOL CMultiLock::Unlock(LONG lCount, LPLONG lPrevCount) {
  BOOL ok = TRUE;
  for (DWORD i = 0; i < m_dwCount; ++i) {
    if (m_bLockedArray[i]) {
      m_bLockedArray[i] = !m_ppObjectArray[i]->Unlock(lCount, lPrevCount);
      ok = ok && !m_bLockedArray[i];
    }
  }
  return ok;
}

BOOL CMultiLock::IsLocked(DWORD dwItem) const { return dwItem < m_dwCount && m_bLockedArray[dwItem]; }

DWORD FwWaitAnsweringSent(HANDLE hObject, DWORD dwMilliseconds) {
  const DWORD start = ::GetTickCount();
  const DWORD count = hObject ? 1 : 0;
  for (;;) {
    DWORD left = INFINITE;
    if (dwMilliseconds != INFINITE) {
      DWORD elapsed = ::GetTickCount() - start;
      left = elapsed >= dwMilliseconds ? 0 : dwMilliseconds - elapsed;
    }
    DWORD r = ::MsgWaitForMultipleObjects(count, hObject ? &hObject : NULL, FALSE, left, QS_SENDMESSAGE);
    if (r != WAIT_OBJECT_0 + count) return r;
    MSG msg;
    ::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (left == 0) return WAIT_TIMEOUT;
  }
}

namespace {

// Whether hWnd is own, one of its child windows or a window it owns (at any depth).
BOOL BelongsTo(HWND hWnd, HWND hWndOwn) {
  for (HWND h = hWnd; h; h = (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : ::GetWindow(h, GW_OWNER))
    if (h == hWndOwn) return TRUE;
  return FALSE;
}

}  // namespace

BOOL CCloseHolder::Hold(const MSG& msg) {
  const BOOL close = msg.message == WM_CLOSE || (msg.message == WM_SYSCOMMAND && (msg.wParam & 0xFFF0) == SC_CLOSE);
  if (msg.message != WM_QUIT && !(close && msg.hwnd && !BelongsTo(msg.hwnd, m_hWndOwn))) return FALSE;
  m_held.push_back(msg);
  return TRUE;
}

void CCloseHolder::Pump() {
  AfxCloseHolderScope scope(this);  // a modal loop that a handler runs meanwhile holds too
  MSG msg;
  while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    if (Hold(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

CCloseHolder::~CCloseHolder() {
  for (const MSG& msg : m_held) {
    if (msg.message == WM_QUIT)
      ::PostQuitMessage(static_cast<int>(msg.wParam));
    else
      ::PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
  }
}
