#include "ProfileWatch.h"

CProfileWatch::CProfileWatch() : m_hKey(NULL), m_hEvent(NULL), m_hWait(NULL), m_hWnd(NULL), m_nMessage(0), m_wParam(0) {}

CProfileWatch::~CProfileWatch() { Stop(); }

BOOL CProfileWatch::Start(HWND hWnd, LPCSTR pszKey, UINT message, WPARAM wParam) {
  Stop();
  m_hWnd = hWnd;
  m_nMessage = message;
  m_wParam = wParam;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, pszKey, 0, NULL, 0, KEY_NOTIFY | KEY_QUERY_VALUE, NULL, &m_hKey, NULL) !=
      ERROR_SUCCESS) {
    m_hKey = NULL;
    return FALSE;
  }
  m_hEvent = ::CreateEventA(NULL, FALSE, FALSE, NULL);
  if (!m_hEvent || !Arm() ||
      !::RegisterWaitForSingleObject(&m_hWait, m_hEvent, &CProfileWatch::OnSignal, this, INFINITE, WT_EXECUTEDEFAULT)) {
    m_hWait = NULL;
    Stop();
    return FALSE;
  }
  return TRUE;
}

BOOL CProfileWatch::Arm() {
  return m_hKey && ::RegNotifyChangeKeyValue(m_hKey, FALSE, REG_NOTIFY_CHANGE_LAST_SET, m_hEvent, TRUE) == ERROR_SUCCESS;
}

void CProfileWatch::Stop() {
  // Waits for a running callback: none posts after this.
  if (m_hWait) ::UnregisterWaitEx(m_hWait, INVALID_HANDLE_VALUE);
  m_hWait = NULL;
  if (m_hKey) ::RegCloseKey(m_hKey);  // ends the pending notice
  m_hKey = NULL;
  if (m_hEvent) ::CloseHandle(m_hEvent);
  m_hEvent = NULL;
}

VOID CALLBACK CProfileWatch::OnSignal(PVOID pContext, BOOLEAN) {
  CProfileWatch* pWatch = static_cast<CProfileWatch*>(pContext);
  ::PostMessageA(pWatch->m_hWnd, pWatch->m_nMessage, pWatch->m_wParam, 0);
}
