#include "SoundCheckProcess.h"

#include <MovBridge.h>

#include "MovBridgeApi.h"
#include "QuickTimeEnv.h"

CSoundCheckProcess::CSoundCheckProcess(HWND hBrowser)
    : m_nState(-1), m_bSkip(FALSE), m_bReady(FALSE), m_hBrowser(hBrowser) {}
CSoundCheckProcess::~CSoundCheckProcess() {}

BOOL CSoundCheckProcess::Check() {
  m_bReady = InitLibrary();
  FinalizeLibrary();
  return m_bReady;
}

BOOL CSoundCheckProcess::SetAvailable(WPARAM, LPARAM lParam) {
  if (lParam != 0) m_bReady = TRUE;
  return m_bReady;
}

BOOL CSoundCheckProcess::InitLibrary() {
  if (AccessQuickTimeState(kQtStateTest, NULL, NULL) == ERROR_SUCCESS) {
    m_nState = 0;
    m_bSkip = TRUE;
    return TRUE;
  }
  HMODULE h = ::LoadLibraryA(CMovBridgeApi::LibraryPath());
  if (!h) return FALSE;
  QtInitializeFn pfnInit = (QtInitializeFn)::GetProcAddress(h, "QtInitialize");
  const BOOL bInit = pfnInit ? pfnInit() : FALSE;
  if (!bInit) {
    AccessQuickTimeState(kQtStateDelete, NULL, NULL);
    ::FreeLibrary(h);
    return FALSE;
  }
  m_nState = 0;
  QtGetQuickTimeVersionFn pfnVersion = (QtGetQuickTimeVersionFn)::GetProcAddress(h, "QtGetQuickTimeVersion");
  QtIsBmpExporterFn pfnExporter = (QtIsBmpExporterFn)::GetProcAddress(h, "QtIsBmpExporter");
  DWORD dwVersion = pfnVersion ? pfnVersion() : 0, dwExporter = pfnExporter ? pfnExporter() : 0;
  AccessQuickTimeState(kQtStateWrite, &dwVersion, &dwExporter);
  ::FreeLibrary(h);
  return bInit;
}

BOOL CSoundCheckProcess::FinalizeLibrary() {
  if (!m_bReady || m_nState == -1) return FALSE;
  if (m_bSkip) {
    m_nState = -1;
    return TRUE;
  }
  HMODULE h = ::LoadLibraryA(CMovBridgeApi::LibraryPath());
  if (!h) return FALSE;
  QtFinalizeFn pfn = (QtFinalizeFn)::GetProcAddress(h, "QtFinalize");
  const BOOL b = pfn ? pfn() : FALSE;
  if (b) {
    m_nState = -1;
    AccessQuickTimeState(kQtStateDelete, NULL, NULL);
  }
  ::FreeLibrary(h);
  return b;
}
