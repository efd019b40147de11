#include "SingleInstance.h"

#include <Kitlib2/Kitlib2.h>
#include <cardwatch/Programs.h>

namespace {

HANDLE SystemCreateMutex(LPCSTR lpszName, BOOL bOwned, DWORD* pdwError) {
  HANDLE h = ::CreateMutexA(NULL, bOwned, lpszName);
  *pdwError = ::GetLastError();
  return h;
}

// TRUE when the creation met a mutex that already existed (or one of another session
// that this account may not open).
BOOL MetExisting(HANDLE h, DWORD dwError) {
  return dwError == ERROR_ALREADY_EXISTS || (!h && dwError == ERROR_ACCESS_DENIED);
}

}  // namespace

const InstanceMutexProbes& SystemInstanceMutexProbes() {
  static InstanceMutexProbes probes = {FALSE, &SystemCreateMutex};
  probes.bWin98 = CMTLIsWin98(-1, -1, -1);
  return probes;
}

InstanceResult TakeInstanceMutexes(const InstanceMutexProbes& probes, LPCSTR lpszName, HANDLE* phFirst,
                                   HANDLE* phInstance, HANDLE* phSecond) {
  *phFirst = *phInstance = *phSecond = NULL;
  DWORD dwError = 0;
  HANDLE h = probes.CreateMutexFn(cardwatch::InstanceMutexName(lpszName, probes.bWin98), FALSE, &dwError);
  BOOL bTaken = probes.bWin98 ? (h && dwError != ERROR_ALREADY_EXISTS) : !MetExisting(h, dwError);
  if (bTaken) {
    *phFirst = h;
    HANDLE hClip = probes.CreateMutexFn(cardwatch::InstanceMutexName(CLIP_EDITOR_MUTEX, FALSE), TRUE, &dwError);
    *phInstance = hClip;
    return MetExisting(hClip, dwError) ? INSTANCE_CLIP_EDITOR : INSTANCE_TAKEN;
  }
  if (h) ::CloseHandle(h);
  HANDLE hSecond =
      probes.CreateMutexFn(cardwatch::InstanceMutexName(MAIN_MUTEX_SECOND, probes.bWin98), FALSE, &dwError);
  BOOL bExisted = probes.bWin98 ? !(hSecond && dwError != ERROR_ALREADY_EXISTS) : MetExisting(hSecond, dwError);
  *phSecond = hSecond;
  return bExisted ? INSTANCE_OTHER_QUIET : INSTANCE_OTHER_NOTIFY;
}

void BringMainWindowForward(HWND hWnd) {
  if (!hWnd) return;
  if (::IsIconic(hWnd)) ::ShowWindow(hWnd, SW_RESTORE);
  ::SetForegroundWindow(::GetLastActivePopup(hWnd));
}
