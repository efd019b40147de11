#include "CardWatcher.h"

#include <Kitlib2/Kitlib2.h>
#include <cardwatch/CardMedia.h>

#include "MainWndMessages.h"

namespace {

enum : DWORD {
  TREE_DCIM_FOLDER = 0x10,          // bit 4: a DCIM folder counts by itself
  TREE_REMOVABLE_ONLY = 0x80000000, // top bit: only removable drives are watched
};

const int kFirstDrive = 2;           // C:
const int kLastLetterDrive = 'Z' - 'A';

CString DrivePattern(char chDrive, LPCSTR lpszRest) {
  CString strPattern;
  strPattern.Format("%c:\\%s", chDrive, lpszRest);
  return strPattern;
}

}  // namespace

BOOL WatchHasCardMedia(DWORD dwTreeType, char chDrive, cardwatch::CCardMediaProbes& probes) {
  if ((dwTreeType & TREE_DCIM_FOLDER) && probes.PathPatternExists(DrivePattern(chDrive, "DCIM\\*.*"))) return TRUE;
  // Otherwise what the launcher counts on a card, whatever the drive's kind.
  return cardwatch::HasCardMedia(dwTreeType, chDrive, DRIVE_REMOVABLE, probes);
}

// ---- The rules of one pass ----------------------------------------------------------------

CCardWatchRules::CCardWatchRules() {
  for (int i = 0; i < CARDWATCH_DRIVES; ++i) m_bFlags[i] = FALSE;
}

CardWatchPass CCardWatchRules::Pass(cardwatch::CCardScanEnv& env, cardwatch::CCardMediaProbes& probes,
                                    DWORD dwTreeType, void (*reportGone)(int, void*), void* pContext,
                                    const volatile LONG* pbRun) {
  CardWatchPass pass;
  DWORD dwDrives = env.GetLogicalDrives();
  char chWindows = (char)toupper((unsigned char)env.GetWindowsDriveLetter());
  BOOL bMusicProgram = env.IsMusicCardProgramRunning();
  for (int n = kFirstDrive; n < CARDWATCH_DRIVES; ++n) {
    if (pbRun && !*pbRun) break;
    BOOL& bFlag = m_bFlags[n];
    // Drive numbers past Z: name no drive.
    if (n > kLastLetterDrive) {
      bFlag = FALSE;
      continue;
    }
    char chDrive = (char)('A' + n);
    BOOL bPresent = (dwDrives & (1u << n)) != 0;
    UINT nType = bPresent ? env.GetDriveType(chDrive) : DRIVE_NO_ROOT_DIR;
    if (bPresent && (dwTreeType & TREE_REMOVABLE_ONLY) && nType != DRIVE_REMOVABLE) {
      bFlag = FALSE;
      continue;
    }
    if (bPresent && chDrive == chWindows) {
      bFlag = FALSE;
      continue;
    }
    if (!bPresent || env.IsRootNotReady(chDrive)) {
      if (bFlag && !bMusicProgram) {
        if (reportGone) reportGone(n, pContext);
        pass.dwGone |= 1u << n;
        bFlag = FALSE;
      }
      continue;
    }
    BOOL bMedia = env.IsSecuritySDCardDrive(n + 1) || WatchHasCardMedia(dwTreeType, chDrive, probes);
    if (bMedia) {
      if (!bFlag) pass.dwCome |= 1u << n;
      bFlag = TRUE;
    } else if (bFlag) {
      bFlag = FALSE;
      pass.dwGone |= 1u << n;
    }
  }
  return pass;
}

// ---- The thread ---------------------------------------------------------------------------

namespace {

CRITICAL_SECTION* CallbackLock() {
  static CRITICAL_SECTION cs;
  static BOOL bInit = (::InitializeCriticalSection(&cs), TRUE);
  (void)bInit;
  return &cs;
}

void ReportDriveGone(int nDrive, void* pContext) {
  HWND hMainWnd = static_cast<HWND>(pContext);
  DWORD_PTR dwResult = 0;
  ::SendMessageTimeoutA(hMainWnd, WM_CARD_CHANGED, (WPARAM)nDrive, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 5000,
                        &dwResult);
}

}  // namespace

CCardWatcher::CCardWatcher()
    : m_hMainWnd(NULL),
      m_dwInterval(5000),
      m_bRun(0),
      m_bRunning(0),
      m_bSuspended(0),
      m_nPasses(0),
      m_pfnShowsCardFolder(NULL),
      m_pContext(NULL),
      m_hThread(NULL),
      m_hStop(NULL) {}

CCardWatcher::~CCardWatcher() { Stop(); }

BOOL CCardWatcher::Start(HWND hMainWnd, DWORD dwIntervalMs, BOOL (*pfnShowsCardFolder)(void*), void* pContext) {
  if (m_hThread) return FALSE;
  m_hMainWnd = hMainWnd;
  m_dwInterval = dwIntervalMs;
  m_pfnShowsCardFolder = pfnShowsCardFolder;
  m_pContext = pContext;
  m_nPasses = 0;
  ::InterlockedExchange(&m_bRun, 1);
  m_hStop = ::CreateEventA(NULL, TRUE, FALSE, NULL);
  m_hThread = ::CreateThread(NULL, 0, &CCardWatcher::ThreadProc, this, CREATE_SUSPENDED, NULL);
  if (!m_hThread) {
    if (m_hStop) ::CloseHandle(m_hStop);
    m_hStop = NULL;
    return FALSE;
  }
  ::SetThreadPriority(m_hThread, THREAD_PRIORITY_LOWEST);
  ::ResumeThread(m_hThread);
  return TRUE;
}

void CCardWatcher::Stop() {
  ::InterlockedExchange(&m_bRun, 0);
  if (m_hStop) ::SetEvent(m_hStop);
  ::EnterCriticalSection(CallbackLock());
  m_pfnShowsCardFolder = NULL;
  ::LeaveCriticalSection(CallbackLock());
  if (!m_hThread) return;
  // The thread may be sending to this thread's window: take those messages while waiting.
  FwWaitAnsweringSent(m_hThread);
  ::CloseHandle(m_hThread);
  m_hThread = NULL;
  if (m_hStop) ::CloseHandle(m_hStop);
  m_hStop = NULL;
}

DWORD WINAPI CCardWatcher::ThreadProc(LPVOID pParam) {
  static_cast<CCardWatcher*>(pParam)->Run();
  return 0;
}

BOOL CCardWatcher::Nap(DWORD dwMs) {
  if (m_hStop)
    ::WaitForSingleObject(m_hStop, dwMs);
  else
    for (DWORD dwSlept = 0; dwSlept < dwMs && m_bRun; dwSlept += 50) ::Sleep(50);
  return m_bRun != 0;
}

void CCardWatcher::Run() {
  CMTLSetLocale();
  ::InterlockedExchange(&m_bRunning, 1);
  DWORD dwTreeType = (DWORD)CMGetProfileInt("CardTree\\Settings", "TreeType", 0);
  cardwatch::CSystemCardScanEnv env;
  cardwatch::CSystemMediaProbes probes;
  CCardWatchRules rules;
  int nMusicDrive = -1;  // the drive seen first while the music-card program ran
  BOOL bFirstPass = TRUE;
  while (m_bRun) {
    if (m_bSuspended || CMGetProfileInt("", "EnableCardChangeThread", 1) == 0) {
      Nap(50);
      continue;
    }
    UINT nOldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    CardWatchPass pass = rules.Pass(env, probes, dwTreeType, &ReportDriveGone, m_hMainWnd, &m_bRun);
    ::SetErrorMode(nOldMode);
    ::InterlockedIncrement(&m_nPasses);

    // The music-card program's flag lasts one pass over its drive.
    if (CMGetProfileInt("common", "SDMelodeckExecution", 0) == 1) {
      for (int n = kFirstDrive; n <= kLastLetterDrive; ++n) {
        if (!rules.IsFlagged(n)) continue;
        if (nMusicDrive < 0) {
          nMusicDrive = n;
        } else if (n == nMusicDrive) {
          CMWriteProfileInt("common", "SDMelodeckExecution", 0);
          nMusicDrive = -1;
        }
        break;
      }
    }

    if (!bFirstPass && (pass.dwCome || pass.dwGone)) {
      BOOL bCardFolder = FALSE;
      ::EnterCriticalSection(CallbackLock());
      if (m_pfnShowsCardFolder) bCardFolder = m_pfnShowsCardFolder(m_pContext);
      ::LeaveCriticalSection(CallbackLock());
      BOOL bTell = (pass.dwCome && !bCardFolder) ||
                   (pass.dwGone && !(bCardFolder && CMGetProfileInt("CardTree", "Show", 0) > 0));
      if (bTell && m_bRun) {
        ::PostMessageA(m_hMainWnd, WM_REFRESH_FOLDERS, (WPARAM)m_hMainWnd, 0);
        ::PostMessageA(m_hMainWnd, WM_BROWSER_RELOAD, (WPARAM)m_hMainWnd, 1);
      }
    }
    bFirstPass = FALSE;
    Nap(m_dwInterval);
  }
  ::InterlockedExchange(&m_bRunning, 0);
}
