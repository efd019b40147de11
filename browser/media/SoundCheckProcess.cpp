#include "SoundCheckProcess.h"

CSoundCheckProcess::CSoundCheckProcess(HWND hBrowser)
    : m_hBrowser(hBrowser), m_hProcess(NULL), m_dwProcessId(0), m_bReady(FALSE) {}
CSoundCheckProcess::~CSoundCheckProcess() {
  if (m_hProcess) ::CloseHandle(m_hProcess);
}

// There is no outside sound program to ask.
BOOL CSoundCheckProcess::Check() { return m_bReady; }

BOOL CSoundCheckProcess::SetAvailable(WPARAM wParam, LPARAM lParam) {
  if (wParam == (WPARAM)0xFFFFFFFF) m_bReady = lParam != 0;
  return m_bReady;
}

LRESULT CSoundCheckProcess::OnResult(WPARAM wParam, LPARAM lParam) {
  if (!m_hProcess || (DWORD)wParam != m_dwProcessId) return 1;
  ::CloseHandle(m_hProcess);
  m_hProcess = NULL;
  m_bReady = lParam != 0;
  return m_bReady;
}
