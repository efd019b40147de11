#include "SoundCheckProcess.h"

#include "MovBridgeApi.h"
#include "QuickTimeState.h"

namespace {
typedef long(__stdcall* QtFn)();
}

CSoundCheckProcess::CSoundCheckProcess(HWND hBrowser)
    : m_nState(-1), m_bSkip(FALSE), m_bReady(FALSE), m_hBrowser(hBrowser) {}
CSoundCheckProcess::~CSoundCheckProcess() {}

CString CSoundCheckProcess::BridgePath() { return CMovBridgeApi::LibraryPath(); }

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
  if (AccessQuickTimeState(kQtStateTest, nullptr, nullptr) == ERROR_SUCCESS) {
    m_nState = 0;
    m_bSkip = TRUE;
    return TRUE;
  }
  // By full path: a library of that name elsewhere on the search path is not ours.
  HMODULE h = ::LoadLibraryA(BridgePath());
  if (!h) return FALSE;
  QtFn init = (QtFn)::GetProcAddress(h, "QtInitialize");
  long result = init ? init() : 0;
  if (!result) {
    AccessQuickTimeState(kQtStateDelete, nullptr, nullptr);
    ::FreeLibrary(h);
    return FALSE;
  }
  m_nState = 0;
  QtFn version = (QtFn)::GetProcAddress(h, "QtGetQuickTimeVersion");
  QtFn exporter = (QtFn)::GetProcAddress(h, "QtIsBmpExporter");
  DWORD v = version ? (DWORD)version() : 0, e = exporter ? (DWORD)exporter() : 0;
  AccessQuickTimeState(kQtStateWrite, &v, &e);
  ::FreeLibrary(h);
  return result != 0;
}

BOOL CSoundCheckProcess::FinalizeLibrary() {
  if (!m_bReady || m_nState == -1) return FALSE;
  if (m_bSkip) {
    m_nState = -1;
    return TRUE;
  }
  HMODULE h = ::LoadLibraryA(BridgePath());
  if (!h) return FALSE;
  QtFn finalize = (QtFn)::GetProcAddress(h, "QtFinalize");
  long result = finalize ? finalize() : 0;
  if (result) {
    m_nState = -1;
    AccessQuickTimeState(kQtStateDelete, nullptr, nullptr);
  }
  ::FreeLibrary(h);
  return result != 0;
}
