#include "AVCHDPlayCtrl.h"

#include <ClipFacts.h>
#include <Kitlib2/Profile.h>
#include <Kitlib2/Utility.h>
#include <ScenePlayer.h>

#include "MovieCtrlRules.h"
#include "PreviewQualityRules.h"
#include "QuickTimeState.h"

namespace {
// The quality entries: the user's decode mode for all five when chosen, else the preview
// quality table (Core\PowerProbe.ini under the program folder, or its defaults).
void QualityEntries(SCENEQUALITY aEntries[5]) {
  HKEY hKey = NULL;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, CMGetKeyPosition() + "\\Settings\\Device\\AVCHD", 0, KEY_READ, &hKey) ==
      ERROR_SUCCESS) {
    DWORD dwSelect = 0, cb = sizeof(dwSelect);
    BYTE mode[20] = {};
    DWORD cbMode = sizeof(mode);
    const bool bUser = ::RegQueryValueExA(hKey, "DecModeUserSelect", NULL, NULL, (LPBYTE)&dwSelect, &cb) == ERROR_SUCCESS &&
                       dwSelect == 1 && ::RegQueryValueExA(hKey, "DecodeMode", NULL, NULL, mode, &cbMode) == ERROR_SUCCESS &&
                       cbMode >= sizeof(DWORD);
    ::RegCloseKey(hKey);
    if (bUser) {
      DWORD dw = 0;
      memcpy(&dw, mode, sizeof(dw));
      for (int i = 0; i < 5; ++i) aEntries[i] = {0, dw};
      return;
    }
  }
  CString ini = CMTLGetExeDir();
  if (ini.Right(1) == "\\") ini = ini.Left(ini.GetLength() - 1);
  ini += "\\Core\\PowerProbe.ini";
  WCHAR wini[MAX_PATH] = {};
  ::MultiByteToWideChar(CP_ACP, 0, ini, -1, wini, MAX_PATH);
  VXQUALITYPAIR pairs[CPreviewQualityTable::kEntries] = {};
  UINT n = 0;
  CPreviewQualityTable::Read(wini, CPreviewQualityTable::kEntries, pairs, &n);
  for (int i = 0; i < 5; ++i) aEntries[i] = {pairs[i].nBitRate, pairs[i].nValue};
}
}  // namespace

CAVCHDPlayCtrl::CAVCHDPlayCtrl(LPCSTR pszPlayerLibrary)
    : m_strLibrary(pszPlayerLibrary ? CString(pszPlayerLibrary) : QuickTimeProgramFolder() + "\\ScorePlayWrapper.dll"),
      m_llDuration(0),
      m_nDisplaySize(0),
      m_hLibrary(NULL),
      m_pPlayer(NULL),
      m_pOwner(NULL),
      m_bUseRect(TRUE) {
  ::SetRectEmpty(&m_rcVideo);
}
CAVCHDPlayCtrl::~CAVCHDPlayCtrl() { Close(); }

void CAVCHDPlayCtrl::Trace(const char* pszStep, bool bFalse) {
  CString line;
  line.Format("------------------------------------->>>CAVCHDPlayCtrl(%s)--%s\n", bFalse ? "S_FALSE" : "FAILED",
              pszStep);
  ::OutputDebugStringA(line);
}

HRESULT CAVCHDPlayCtrl::Initialize() {
  if (m_pPlayer) {
    m_pPlayer->Close();
    m_pPlayer->Release();
    m_pPlayer = NULL;
  }
  if (m_hLibrary) ::FreeLibrary(m_hLibrary);
  m_llDuration = 0;
  // By full path: a library of that name elsewhere on the search path is not ours.
  m_hLibrary = ::LoadLibraryA(m_strLibrary);
  if (!m_hLibrary) {
    Trace("Initialize-1");
    return E_FAIL;
  }
  SceneCreateFn pfn = (SceneCreateFn)::GetProcAddress(m_hLibrary, "DllCreateInstance");
  if (!pfn) {
    Trace("Initialize-2");
    return E_FAIL;
  }
  return pfn(CLSID_ScenePlayer, IID_IScenePlayer, (void**)&m_pPlayer);
}

HRESULT CAVCHDPlayCtrl::SetOwner(CWnd* pOwner, RECT rc, BOOL bUseRect) {
  m_pOwner = pOwner;
  m_rcVideo = rc;
  m_bUseRect = bUseRect;
  return 0;
}

HRESULT CAVCHDPlayCtrl::GiveRect(const RECT& rc) { return m_pPlayer->SetRect(m_bUseRect == 1 ? &rc : NULL); }

HRESULT CAVCHDPlayCtrl::SetContFileName(const char* pszPath) {
  if (!m_pPlayer) {
    Trace("SetContFileName-1");
    return E_POINTER;
  }
  if (!pszPath) {
    Trace("SetContFileName-2");
    return E_INVALIDARG;
  }
  // The content object and its library are let go on every path.
  HMODULE hFacts = ::LoadLibraryA(QuickTimeProgramFolder() + "\\Core\\ScoreHall\\ClipFacts.dll");
  IClipFacts* pFacts = NULL;
  const char* pszFailed = NULL;
  HRESULT hr = E_FAIL;
  if (!hFacts) {
    pszFailed = "SetContFileName-3";
  } else if (PFNCLIPFACTSCREATE pfn = (PFNCLIPFACTSCREATE)::GetProcAddress(hFacts, "DllCreateInstance")) {
    if (FAILED(pfn(CLSID_ClipFacts, IID_IClipFacts, (void**)&pFacts)) || !pFacts) pszFailed = "SetContFileName-5";
  } else {
    pszFailed = "SetContFileName-4";
  }
  if (!pszFailed) {
    WCHAR wpath[MAX_PATH + 1] = {};
    const int n = ::MultiByteToWideChar(CP_ACP, 0, pszPath, -1, NULL, 0);
    if (n <= 0 || n > MAX_PATH + 1 || !::MultiByteToWideChar(CP_ACP, 0, pszPath, -1, wpath, MAX_PATH + 1) ||
        FAILED(pFacts->OpenScene(wpath)))
      pszFailed = "SetContFileName-6";
    else if (!pFacts->GetSceneRecord())
      pszFailed = "SetContFileName-7";
  }
  if (!pszFailed) {
    if (const HWND hOwner = GetOwnerWnd()) {
      if (SUCCEEDED(m_pPlayer->SetOwner(hOwner))) {
        ::ShowWindow(hOwner, SW_SHOW);
        if (FAILED(GiveRect(m_rcVideo))) Trace("SetContFileName-8");
      }
    }
    SCENEQUALITY entries[5];
    QualityEntries(entries);
    const DWORD param[2] = {1, DWORD(CMGetProfileInt("Settings\\Player", "Renderer", 0) == 1 ? kSceneRendererHalftone
                                                                                             : kSceneRendererColorOnColor)};
    if (FAILED(m_pPlayer->SetContent(pFacts, 5, entries))) {
      pszFailed = "SetContFileName-9";
    } else {
      if (FAILED(m_pPlayer->SetParam(param))) Trace("SetPlayParam-※※");
      if (FAILED(m_pPlayer->GetDuration(&m_llDuration))) {
        pszFailed = "SetContFileName-10";
      } else if (CMGetProfileInt("Settings\\Device\\GMRPLAY", "Continue", 0) == 0) {
        hr = m_pPlayer->SetRange(0, 0x7FFFFFFFFFFFFFFFLL);
        if (FAILED(hr)) pszFailed = "SetContFileName-11";
      } else {
        hr = m_pPlayer->SetRange(0, m_llDuration);
        if (FAILED(hr)) pszFailed = "SetContFileName-12";
      }
    }
  }
  if (pFacts) pFacts->Release();
  if (hFacts) ::FreeLibrary(hFacts);
  if (pszFailed) {
    Trace(pszFailed);
    return E_FAIL;
  }
  return hr;
}

HRESULT CAVCHDPlayCtrl::Play() {
  if (!m_pPlayer) {
    Trace("Play-1");
    return E_FAIL;
  }
  return m_pPlayer->Play();
}
HRESULT CAVCHDPlayCtrl::Pause() {
  if (!m_pPlayer) {
    Trace("Pause-1");
    return E_FAIL;
  }
  return m_pPlayer->Pause();
}
HRESULT CAVCHDPlayCtrl::Stop() {
  if (!m_pPlayer) {
    Trace("Stop-1");
    return E_FAIL;
  }
  return m_pPlayer->Stop();
}

HRESULT CAVCHDPlayCtrl::Close() {
  if (m_pPlayer) {
    m_pPlayer->Close();
    m_pPlayer->Release();
    m_pPlayer = NULL;
  }
  m_pOwner = NULL;
  if (m_hLibrary) ::FreeLibrary(m_hLibrary);
  m_hLibrary = NULL;
  return 0;
}

int CAVCHDPlayCtrl::GetPlayState() {
  if (!m_pPlayer) {
    Trace("GetPlayState-1");
    return kWrapNoState;
  }
  int nState = 0, nSecond = 0;
  if (FAILED(m_pPlayer->GetState(&nState, &nSecond))) {
    Trace("GetPlayState-2");
    return kWrapNoState;
  }
  return AvchdPlayState(nState);
}

double CAVCHDPlayCtrl::GetCurrentPosition() {
  if (!m_pPlayer) {
    Trace("GetCurrentPosition-1");
    return -2147467259.0;
  }
  LONGLONG t = 0;
  m_pPlayer->GetPosition(&t);
  return t > 0 ? double(t) * 0.0000001 : 0.0;
}

HRESULT CAVCHDPlayCtrl::SetCurrentPosition(double dSeconds) {
  if (!m_pPlayer) {
    Trace("SetCurrentPosition-1");
    return E_FAIL;
  }
  LONGLONG llNow = 0;
  m_pPlayer->GetPosition(&llNow);
  const LONGLONG llTarget = AvchdSeekTarget(dSeconds, m_llDuration);
  if (AvchdSeekIsNoMove(llNow, llTarget)) {
    Trace("SetCurrentPosition-2", true);
    return S_FALSE;
  }
  return m_pPlayer->Seek(llTarget);
}

HRESULT CAVCHDPlayCtrl::SetWindowPos(int l, int t, int r, int b, BOOL bUseRect) {
  ::SetRect(&m_rcVideo, l, t, r, b);
  m_bUseRect = bUseRect;
  if (!m_pPlayer) {
    Trace("SetWindowPos-1");
    return E_FAIL;
  }
  GiveRect(m_rcVideo);
  m_pPlayer->Repaint();
  return 0;
}

HRESULT CAVCHDPlayCtrl::SetDisplaySize(int nMode) {
  if (!m_pPlayer || !GetOwnerWnd()) {
    Trace("SetDisplaySize-1");
    return E_FAIL;
  }
  m_nDisplaySize = nMode;
  RECT rc = m_rcVideo;
  if (nMode == 3) ::GetWindowRect(GetOwnerWnd(), &rc);
  GiveRect(rc);
  m_pPlayer->Repaint();
  return 0;
}

void CAVCHDPlayCtrl::Repaint() {
  if (m_pPlayer) m_pPlayer->Repaint();
}
