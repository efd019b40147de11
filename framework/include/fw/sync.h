// Synchronisation objects and the scoped locks that hold them. Creating a kernel object
// that the system refuses throws CResourceException.
#pragma once
#include <fw/except.h>

#include <vector>

class FW_API CSyncObject : public CObject {
  DECLARE_DYNAMIC(CSyncObject)
 public:
  explicit CSyncObject(LPCSTR pstrName);
  ~CSyncObject() override;

  operator HANDLE() const { return m_hObject; }

  // TRUE when the object was acquired within dwTimeout milliseconds.
  virtual BOOL Lock(DWORD dwTimeout = INFINITE);
  virtual BOOL Unlock() = 0;
  virtual BOOL Unlock(LONG lCount, LPLONG lpPrevCount = NULL);

  HANDLE m_hObject;
};

// Re-entrant on its owner thread: every Lock needs its Unlock.
class FW_API CCriticalSection : public CSyncObject {
  DECLARE_DYNAMIC(CCriticalSection)
 public:
  CCriticalSection();
  ~CCriticalSection() override;

  operator CRITICAL_SECTION*() { return &m_sect; }
  BOOL Lock() { ::EnterCriticalSection(&m_sect); return TRUE; }
  BOOL Lock(DWORD dwTimeout) override;  // polls when a timeout is given
  BOOL Unlock() override { ::LeaveCriticalSection(&m_sect); return TRUE; }

  CRITICAL_SECTION m_sect;
};

class FW_API CEvent : public CSyncObject {
  DECLARE_DYNAMIC(CEvent)
 public:
  explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCSTR lpszName = NULL,
                  LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);

  BOOL SetEvent() { return ::SetEvent(m_hObject); }
  BOOL PulseEvent() { return ::PulseEvent(m_hObject); }
  BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
  BOOL Unlock() override { return TRUE; }
};

class FW_API CMutex : public CSyncObject {
  DECLARE_DYNAMIC(CMutex)
 public:
  explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCSTR lpszName = NULL, LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);
  BOOL Unlock() override { return ::ReleaseMutex(m_hObject); }
};

class FW_API CSemaphore : public CSyncObject {
  DECLARE_DYNAMIC(CSemaphore)
 public:
  explicit CSemaphore(LONG lInitialCount = 1, LONG lMaxCount = 1, LPCSTR pstrName = NULL,
                      LPSECURITY_ATTRIBUTES lpsaAttributes = NULL);
  BOOL Unlock() override { return Unlock(1, NULL); }
  BOOL Unlock(LONG lCount, LPLONG lprevCount = NULL) override { return ::ReleaseSemaphore(m_hObject, lCount, lprevCount); }
};

// Holds one object for a scope; the destructor unlocks it when still held.
class FW_API CSingleLock {
 public:
  explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
  ~CSingleLock() { Unlock(); }

  BOOL Lock(DWORD dwTimeOut = INFINITE);
  BOOL Unlock();
  BOOL Unlock(LONG lCount, LPLONG lPrevCount = NULL);
  BOOL IsLocked() const { return m_bAcquired; }

 protected:
  CSyncObject* m_pObject;
  BOOL m_bAcquired;

  CSingleLock(const CSingleLock&) = delete;
  void operator=(const CSingleLock&) = delete;
};

// Waits on several kernel objects (not critical sections) at once.
class FW_API CMultiLock {
 public:
  CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock = FALSE);
  ~CMultiLock();

  // The WaitForMultipleObjects result (WAIT_OBJECT_0 + i, WAIT_TIMEOUT, ...).
  DWORD Lock(DWORD dwTimeOut = INFINITE, BOOL bWaitForAll = TRUE, DWORD dwWakeMask = 0);
  BOOL Unlock();
  BOOL Unlock(LONG lCount, LPLONG lPrevCount = NULL);
  BOOL IsLocked(DWORD dwItem) const;

 protected:
  CSyncObject** m_ppObjectArray;
  HANDLE* m_pHandleArray;
  BOOL* m_bLockedArray;
  DWORD m_dwCount;

  CMultiLock(const CMultiLock&) = delete;
  void operator=(const CMultiLock&) = delete;
};

// Waits for hObject (NULL: only the time) while answering the messages other threads send
// this thread; posted messages stay queued, so nothing can close a window or end the
// program under the caller. WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
FW_API DWORD FwWaitAnsweringSent(HANDLE hObject, DWORD dwMilliseconds = INFINITE);

// Holds back, while it lives, what would close a window or end the program under a loop
// running inside window `own`: a posted WM_CLOSE or SC_CLOSE of any window but own, its
// children and the windows it owns, and WM_QUIT. When the holder goes they are posted
// again, in their order. Everything for own's windows passes at once.
class FW_API CCloseHolder {
 public:
  explicit CCloseHolder(HWND hWndOwn) : m_hWndOwn(hWndOwn) {}
  ~CCloseHolder();
  CCloseHolder(const CCloseHolder&) = delete;
  CCloseHolder& operator=(const CCloseHolder&) = delete;

  // TRUE when msg (taken from the queue) is one to hold: it is kept to be posted again.
  BOOL Hold(const MSG& msg);
  // Dispatches the thread's waiting messages but the held ones; a modal loop a handler
  // runs meanwhile holds as well.
  void Pump();
  size_t Held() const { return m_held.size(); }

 private:
  HWND m_hWndOwn;
  std::vector<MSG> m_held;
};
