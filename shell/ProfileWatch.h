// Tells a window when values under a registry key are written: the window need not poll
// for a flag another part of the program sets. Each notice is one posted message; after
// handling it the window calls Arm again to hear of the next write.
#pragma once

#include <windows.h>

class CProfileWatch {
 public:
  CProfileWatch();
  ~CProfileWatch();
  CProfileWatch(const CProfileWatch&) = delete;
  CProfileWatch& operator=(const CProfileWatch&) = delete;

  // Watches HKEY_CURRENT_USER\pszKey (made when missing); a write posts message (wParam,
  // 0) to hWnd. FALSE when the key can't be watched: the caller's polling then stands alone.
  BOOL Start(HWND hWnd, LPCSTR pszKey, UINT message, WPARAM wParam);
  // Asks for a notice of the next write (Start arms the first). Arm before reading the
  // values so that no write between the two goes unheard.
  BOOL Arm();
  void Stop();
  BOOL IsWatching() const { return m_hWait != NULL; }

 private:
  static VOID CALLBACK OnSignal(PVOID pContext, BOOLEAN bTimedOut);

  HKEY m_hKey;
  HANDLE m_hEvent;
  HANDLE m_hWait;
  HWND m_hWnd;
  UINT m_nMessage;
  WPARAM m_wParam;
};
