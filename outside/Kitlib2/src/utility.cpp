// Exported small services: names, paths, texts, system and disk queries.
#include <Kitlib2/Utility.h>

#include <imaging/decode.h>

#include <clocale>
#include <mbctype.h>

#include <textkit/textkit.h>
#include "profile_core.h"
#include "system_core.h"

using namespace kitlib;

namespace {

const char kAppName[] = "Glimora";
const char kAppVersion[] = "5.0";

CString ToCString(const std::string& s) { return CString(s.data(), static_cast<int>(s.size())); }
std::string Str(LPCSTR s) { return s ? s : ""; }

volatile LONG g_codecUsers = 0;

}  // namespace

CString CMTLGetAppName() { return CString(kAppName); }

CString CMTLGetAppVersionName(int nWithVersion) {
  CString name(kAppName);
  if (nWithVersion) {
    name += " ";
    name += kAppVersion;
  }
  return name;
}

CString CMTLGetExeDir() { return ToCString(ExeDirectory()); }

CString CMTLGetDirectory(LPCSTR lpszPath) { return ToCString(textkit::FolderOf(Str(lpszPath))); }

CString CMTLGetFileName(LPCSTR lpszPath) { return ToCString(textkit::FileNameOf(Str(lpszPath))); }

CString CMTLLoadString(HINSTANCE hModule, UINT nID) { return ToCString(LoadResourceString(hModule, nID)); }

CString CMTLMbcsToMbcs(LPCSTR lpszText) { return ToCString(textkit::FoldCase(Str(lpszText))); }

BOOL CMTLIsWin98(int nMajor, int nMinor, int nBuild) {
  return VersionMatches(GetSystemVersion(), false, nMajor, nMinor, nBuild);
}

BOOL CMTLIsWin2000(int nMajor, int nMinor, int nBuild) {
  return VersionMatches(GetSystemVersion(), true, nMajor, nMinor, nBuild);
}

BOOL CMTLAllowSetForegroundWindow(DWORD dwProcessId) { return AllowSetForegroundWindow(dwProcessId); }

int CMTLGetFreeResource(int* pnSystem, int* pnGdi, int* pnUser) {
  FreeResources r = GetFreeResources();
  if (pnSystem) *pnSystem = r.system;
  if (pnGdi) *pnGdi = r.gdi;
  if (pnUser) *pnUser = r.user;
  return std::min(r.system, std::min(r.gdi, r.user));
}

void CMTLSetLocale() {
  SetThreadLocale(GetUserDefaultLCID());
  setlocale(LC_ALL, "");
  _setmbcp(_MB_CP_ANSI);
}

int CMTLProcessWinMessages(HWND hWnd1, HWND hWnd2) { return PumpWindowMessages(hWnd1, hWnd2, 200); }

ULONGLONG CMTLGetDiskSpaceEx(LPCSTR lpszPath) { return FreeDiskBytes(Str(lpszPath)); }

DWORD CMTLGetDiskSpace(LPCSTR lpszPath) {
  ULONGLONG kb = FreeDiskBytes(Str(lpszPath)) / 1024;
  return kb > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(kb);
}

BOOL CMTLIsInstalledAcrobatReader(LPCSTR lpszPath) { return HasOpenAssociation(Str(lpszPath)); }

CString CMTLInspectFile(LPCSTR lpszPath) { return ToCString(FileVersionText(Str(lpszPath))); }

DWORD CMTLGetMaxDecodeSize() {
  MEMORYSTATUSEX ms = {};
  ms.dwLength = sizeof(ms);
  if (!GlobalMemoryStatusEx(&ms)) return 0;
  return MaxDecodePixels(ms.ullAvailPhys);
}

BOOL CMTLCheckSupportBMP(LPCSTR lpszPath) {
  imaging::ImageFormat f = imaging::DetectFileFormat(lpszPath);
  return f != imaging::ImageFormat::Unknown && f != imaging::ImageFormat::Ico;
}

int CMTLInitializeVideoCodecPlugin() {
  InterlockedIncrement(&g_codecUsers);
  return CountCodecPlugins(ExeDirectory());
}

void CMTLTerminateVideoCodecPlugin() {
  if (InterlockedDecrement(&g_codecUsers) < 0) InterlockedExchange(&g_codecUsers, 0);
}
