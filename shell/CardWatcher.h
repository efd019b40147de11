// The memory-card watcher of the outside-program manager: a thread of the lowest priority
// that looks at the drives every few seconds and asks the main window to refresh the
// folder trees and the browser when a card with camera media came or went.
#pragma once
#include <fw/fw.h>

#include <cardwatch/CardScan.h>

enum { CARDWATCH_DRIVES = 32 };

// Whether a drive holds what the card tree shows: with TreeType bit 4 a DCIM folder by
// itself, else the camera media of a card as the launcher judges them (a camera's picture
// folder in DCIM, AVCHD, and by the TreeType bits IM, SD-Video, SD-Audio, SD-Voice and the
// audio player's folders).
BOOL WatchHasCardMedia(DWORD dwTreeType, char chDrive, cardwatch::CCardMediaProbes& probes);

// What one pass saw.
struct CardWatchPass {
  DWORD dwCome;  // drives whose card came (bit n: drive number n, 0 = A)
  DWORD dwGone;  // drives whose card went
  CardWatchPass() : dwCome(0), dwGone(0) {}
};

// The per-drive card flags and one pass over drive numbers 2 to 31. reportGone is called
// for a drive that disappeared or lost its medium (the main window hears of it at once);
// a null function reports nothing. A pass ends early when *pbRun drops to 0.
class CCardWatchRules {
 public:
  CCardWatchRules();
  CardWatchPass Pass(cardwatch::CCardScanEnv& env, cardwatch::CCardMediaProbes& probes, DWORD dwTreeType,
                     void (*reportGone)(int nDrive, void* pContext), void* pContext, const volatile LONG* pbRun);
  BOOL IsFlagged(int nDrive) const { return nDrive >= 0 && nDrive < CARDWATCH_DRIVES && m_bFlags[nDrive]; }

 private:
  BOOL m_bFlags[CARDWATCH_DRIVES];
};

class CCardWatcher {
 public:
  CCardWatcher();
  ~CCardWatcher();

  // Starts the thread (once); the thread sends and posts to hMainWnd. pfnShowsCardFolder
  // answers whether the browser shows a memory-card folder (asked from the thread).
  BOOL Start(HWND hMainWnd, DWORD dwIntervalMs, BOOL (*pfnShowsCardFolder)(void*), void* pContext);
  // Clears the run flag and waits for the thread to end: nothing it uses may go before.
  void Stop();
  // The page tool runs: the watcher only sleeps meanwhile.
  void Suspend() { ::InterlockedExchange(&m_bSuspended, 1); }
  void Resume() { ::InterlockedExchange(&m_bSuspended, 0); }
  BOOL IsRunning() const { return m_bRunning != 0; }
  BOOL IsStarted() const { return m_hThread != NULL; }
  // Passes made so far (tests wait for them).
  LONG GetPassCount() const { return m_nPasses; }

 private:
  static DWORD WINAPI ThreadProc(LPVOID pParam);
  void Run();
  // Sleeps dwMs or until Stop; FALSE when the run flag dropped meanwhile.
  BOOL Nap(DWORD dwMs);

  HWND m_hMainWnd;
  DWORD m_dwInterval;
  volatile LONG m_bRun;
  volatile LONG m_bRunning;
  volatile LONG m_bSuspended;
  volatile LONG m_nPasses;
  BOOL (*m_pfnShowsCardFolder)(void*);
  void* m_pContext;
  HANDLE m_hThread;
  HANDLE m_hStop;  // set by Stop: the nap ends at once, not at its next slice
};
