// The records and exports of the plug-ins the main program hosts beside the folder trees:
// export plug-ins (".peu"), conversion plug-ins (".ppc") and option panels (".pse").
// Every export is bound by name at every call; the records are laid out for x64 and the
// asserts below keep the layout fixed for the plug-ins built against it.
#pragma once
#include <fw/fw.h>

#include <cstddef>

#include "ICGBrowser.h"

// ---- Export plug-ins (".peu") -----------------------------------------------------

#define EXPORTPLUGIN_TEXT_MAX 260

// Filled by GetInfo. The bitmaps stay the plug-in's: tiles draw them and never delete them.
struct CExportPluginInfo {
  char szName[EXPORTPLUGIN_TEXT_MAX];         // tile label, menu text, profile key name
  char szDescription[EXPORTPLUGIN_TEXT_MAX];  // tooltip
  DWORD dwReserved1;
  HBITMAP hbmNormal;
  HBITMAP hbmPressed;
  HBITMAP hbmHover;
  HBITMAP hbmDisabled;
  int nOrder;  // tiles ascend by it
  DWORD dwReserved2;
};
static_assert(offsetof(CExportPluginInfo, szDescription) == 260, "export info layout");
static_assert(offsetof(CExportPluginInfo, dwReserved1) == 520, "export info layout");
static_assert(offsetof(CExportPluginInfo, hbmNormal) == 528, "export info layout");
static_assert(offsetof(CExportPluginInfo, hbmPressed) == 536, "export info layout");
static_assert(offsetof(CExportPluginInfo, hbmHover) == 544, "export info layout");
static_assert(offsetof(CExportPluginInfo, hbmDisabled) == 552, "export info layout");
static_assert(offsetof(CExportPluginInfo, nOrder) == 560, "export info layout");
static_assert(sizeof(CExportPluginInfo) == 568, "export info layout");

typedef long(__cdecl* PFN_EXPORT_GETNUMOFTYPE)(int* pnCount);
typedef long(__cdecl* PFN_EXPORT_GETINFO)(int nType, CExportPluginInfo* pInfo);
typedef long(__cdecl* PFN_EXPORT_GETFILEMODE)(int nType, int* pnMode);
typedef int(__cdecl* PFN_EXPORT_GETFILTERTYPE)(int nType);
typedef long(__cdecl* PFN_EXPORT_SETPRINTMODE)(int nType, CPrintDialog* pSettings);
typedef long(__cdecl* PFN_EXPORT_SETCGBROWSER)(int nType, ICGBrowser* pBrowser);
typedef long(__cdecl* PFN_EXPORT_OPENWINDOW)(int nType, HWND hPane, HWND hMain, CGFileInfoList* pFiles, int nScope);

// ---- Conversion plug-ins (".ppc") -------------------------------------------------

// The plug-in's own record behind the information block; it owns it.
struct CPpcWindowRecord {
  DWORD dwReserved;
  int nResult;   // 1: the two texts are valid
  void* pParam;  // the caller's file list, stored before every OpenWindow
  CString strResult1;
  CString strResult2;
};
static_assert(offsetof(CPpcWindowRecord, nResult) == 4, "ppc window record layout");
static_assert(offsetof(CPpcWindowRecord, pParam) == 8, "ppc window record layout");
static_assert(offsetof(CPpcWindowRecord, strResult1) == 16, "ppc window record layout");
static_assert(offsetof(CPpcWindowRecord, strResult2) == 24, "ppc window record layout");

// The block GetInfo fills; the host creates it with the initial values below.
struct CPpcInfoBlock {
  DWORD dwHead;      // 0x20000000
  DWORD dwReserved;  // 0
  int nPriority;     // entries ascend by it
  CString strName;   // menu text
  int nKind;         // the support-check filter of the plug-in's files
  CPpcWindowRecord* pWindow;
  CPpcInfoBlock() : dwHead(0x20000000), dwReserved(0), nPriority(0), nKind(0), pWindow(NULL) {}
};
static_assert(offsetof(CPpcInfoBlock, nPriority) == 8, "ppc info layout");
static_assert(offsetof(CPpcInfoBlock, strName) == 16, "ppc info layout");
static_assert(offsetof(CPpcInfoBlock, nKind) == 24, "ppc info layout");
static_assert(offsetof(CPpcInfoBlock, pWindow) == 32, "ppc info layout");
static_assert(sizeof(CPpcInfoBlock) == 40, "ppc info layout");

typedef long(__cdecl* PFN_PPC_GETINFO)(CPpcInfoBlock* pBlock);
typedef long(__cdecl* PFN_PPC_OPENWINDOW)(void* pParam, CPpcWindowRecord* pWindow);

// ---- Option panels (".pse") -------------------------------------------------------

class COptionsDlg;
#define OPTIONPANEL_TITLE_MAX 1024
typedef CWnd*(__cdecl* PFN_PANEL_CREATEPANEL)(COptionsDlg* pParent);
typedef long(__cdecl* PFN_PANEL_GETTITLE)(char* pszBuffer);
