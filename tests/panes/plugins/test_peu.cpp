// A test export plug-in, built in variants by compile definitions (see ../CMakeLists.txt).
#include <Kitlib2/Kitlib2.h>

#include <cstdio>

#include "ExportPluginApi.h"
#include "MainWndMessages.h"

#ifndef PEU_TYPES
#define PEU_TYPES 1
#endif
#ifndef PEU_ORDER
#define PEU_ORDER 0
#endif
#ifndef PEU_FAIL_TYPE
#define PEU_FAIL_TYPE -1
#endif
#ifndef PEU_OPEN_RESULT
#define PEU_OPEN_RESULT 0
#endif
#ifndef PEU_FILE_MODE
#define PEU_FILE_MODE 0
#endif
#ifndef PEU_FILTER
#define PEU_FILTER 0
#endif
#ifndef PEU_NAME
#define PEU_NAME "Test"
#endif

#define EXPORT extern "C" __declspec(dllexport)

namespace {
HBITMAP g_bitmaps[4];
int g_openCalls = 0;
int g_lastScope = -99;
int g_lastFiles = -1;
int g_lastType = -1;
ICGBrowser* g_browser = (ICGBrowser*)1;
HWND g_pane = NULL;

HBITMAP Solid(COLORREF c) {
  HDC screen = ::GetDC(NULL);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bm = ::CreateCompatibleBitmap(screen, 66, 70);
  HGDIOBJ old = ::SelectObject(dc, bm);
  RECT rc = {0, 0, 66, 70};
  HBRUSH br = ::CreateSolidBrush(c);
  ::FillRect(dc, &rc, br);
  ::DeleteObject(br);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(NULL, screen);
  return bm;
}
}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH)
    for (HBITMAP& b : g_bitmaps)
      if (b) ::DeleteObject(b);
  return TRUE;
}

EXPORT long GetNumOfType(int* pnCount) {
  *pnCount = PEU_TYPES;
  return 0;
}

#ifndef PEU_NO_GETINFO
EXPORT long GetInfo(int nType, CExportPluginInfo* pInfo) {
#ifdef PEU_THROW_INFO
  throw 7;
#endif
  if (nType == PEU_FAIL_TYPE) return E_FAIL;
#ifdef PEU_LONG_TEXTS
  memset(pInfo->szName, 'N', sizeof(pInfo->szName));
  memset(pInfo->szDescription, 'D', sizeof(pInfo->szDescription));
#else
  sprintf(pInfo->szName, "%s %d", PEU_NAME, nType);
  sprintf(pInfo->szDescription, "%s description %d", PEU_NAME, nType);
#endif
  if (!g_bitmaps[0]) {
    g_bitmaps[0] = Solid(RGB(40, 90, 200));
    g_bitmaps[1] = Solid(RGB(40, 200, 90));
    g_bitmaps[2] = Solid(RGB(200, 40, 40));
    g_bitmaps[3] = Solid(RGB(128, 128, 128));
  }
#ifndef PEU_NO_BITMAPS
  pInfo->hbmNormal = g_bitmaps[0];
  pInfo->hbmHover = g_bitmaps[1];
  pInfo->hbmPressed = g_bitmaps[2];
  pInfo->hbmDisabled = g_bitmaps[3];
#endif
  pInfo->nOrder = PEU_ORDER + nType;
  return 0;
}
#endif

EXPORT long GetFileMode(int, int* pnMode) {
  *pnMode = PEU_FILE_MODE;
  return 0;
}

EXPORT int GetFilterType(int) { return PEU_FILTER; }

EXPORT long SetPrintMode(int, CPrintDialog*) { return 0; }

EXPORT long SetCGBrowser(int, ICGBrowser* pBrowser) {
  g_browser = pBrowser;
  return 0;
}

EXPORT long OpenWindow(int nType, HWND hPane, HWND, CGFileInfoList* pFiles, int nScope) {
  ++g_openCalls;
  g_lastType = nType;
  g_lastScope = nScope;
  g_lastFiles = pFiles ? (int)pFiles->GetCount() : -1;
  g_pane = hPane;
  CMWriteProfileInt("VxExport", "MailModal", 1);
#ifdef PEU_UPDATE_FILE
  CMWriteProfileString("VxExport\\SaveFile", "UpdateFile", PEU_UPDATE_FILE);
#endif
#ifdef PEU_THROW_OPEN
  throw 3;
#endif
#ifdef PEU_POST_DONE
  // The plug-in's window "closes" at once: the pane gets its busy-end message.
  ::PostMessageA(hPane, WM_EXPORT_BUSY, 0, 0);
#endif
  return PEU_OPEN_RESULT;
}

// For the tests: what the last OpenWindow received.
EXPORT void TestState(int* pnCalls, int* pnType, int* pnScope, int* pnFiles, ICGBrowser** ppBrowser) {
  *pnCalls = g_openCalls;
  *pnType = g_lastType;
  *pnScope = g_lastScope;
  *pnFiles = g_lastFiles;
  *ppBrowser = g_browser;
}
