// The environment checks of the main program's start-up, in their order, and what each
// refusal shows. The questions they ask of the machine are plain functions that tests
// replace (StartupProbes); the decisions (FindEnvironmentRefusal, FindAccountRefusal) ask
// nothing else.
#pragma once
#include <fw/fw.h>
#include <VxDatabase.h>

// The image editor's window-class mutex: present while the editor runs.
#define EDITOR_MUTEX_NAME "__^VxEdit^_%MainFrm%_@Class@__"

struct StartupProbes {
  // TRUE when a mutex of that name exists.
  BOOL (*IsMutexPresent)(LPCSTR lpszName);
  // The data-access components' version text; FALSE when the key or both values are missing.
  BOOL (*ReadDataAccessVersion)(CString& strVersion);
  // The three free-resource figures in percent.
  void (*GetFreeResources)(int* pnSystem, int* pnGdi, int* pnUser);
  int (*GetLocalYear)();
  // Kilobytes free on the drive of the folder.
  DWORD (*GetFreeDiskKB)(LPCSTR lpszFolder);
  // The display's width, height and bits per pixel.
  void (*GetDisplayMode)(int* pnWidth, int* pnHeight, int* pnBits);
  // 0 when the account may run the program; E_FAIL for a Guests account or when the
  // token cannot be read (then the failing call's name and its error).
  HRESULT (*CheckAccountGroups)(CString* pstrFailedCall, DWORD* pdwError);
};

// The probes that ask this machine.
const StartupProbes& SystemStartupProbes();

// Which check refused, in check order.
enum StartupCheck {
  STARTUP_PASSED = 0,
  STARTUP_EDITOR_RUNNING,
  STARTUP_DATA_ACCESS,
  STARTUP_FREE_RESOURCES,
  STARTUP_CLOCK_YEAR,
  STARTUP_DISK_SPACE,
  STARTUP_DISPLAY,
  STARTUP_ACCOUNT,
};

// A refusal: the message to show (string nMessage, followed directly by string nMessage2
// when not 0, formatted with nArgument when it holds a format), its box style, and for
// the account check the call that failed and its error (shown first with string 51110).
struct StartupRefusal {
  StartupCheck check;
  UINT nMessage;
  UINT nMessage2;
  int nArgument;
  UINT nBoxType;
  CString strFailedCall;
  DWORD dwError;
  StartupRefusal() : check(STARTUP_PASSED), nMessage(0), nMessage2(0), nArgument(0), nBoxType(MB_OK), dwError(0) {}
};

// Thresholds of the checks.
enum {
  STARTUP_MIN_FREE_RESOURCES = 30,     // percent, each figure
  STARTUP_MIN_WIDTH = 1024,
  STARTUP_MIN_HEIGHT = 768,
  STARTUP_MIN_BITS = 16,
};

// Runs the checks that come before the editor settings and the first-start step, then
// the account check, in the program's order; the first refusal wins. The account check
// comes last: the editor settings and the first start run between (the caller's steps).
StartupCheck FindEnvironmentRefusal(const StartupProbes& probes, LPCSTR lpszProgramFolder, StartupRefusal* pOut);
StartupCheck FindAccountRefusal(const StartupProbes& probes, StartupRefusal* pOut);

// Shows the refusal's message boxes (resource strings).
void ShowStartupRefusal(const StartupRefusal& refusal);

// The display rule: at least 1024 x 768 with 16 bits per pixel.
BOOL IsDisplayModeSufficient(int nWidth, int nHeight, int nBits);

// What the user is told about the photo database after opening it (hrOpen: the open's
// result): FALSE when there is nothing to tell, else the text (naming the file and where a
// damaged one was kept) and its box style.
BOOL FindDatabaseNotice(HRESULT hrOpen, const VXDBHEALTH& health, CString* pText, UINT* pnBoxType);
// The same for a damage met while the program runs: FALSE unless the photo database met
// one since the user was last told (dwTold: the damage count then).
BOOL FindLaterDatabaseNotice(DWORD dwTold, const VXDBHEALTH& health, CString* pText, UINT* pnBoxType);
