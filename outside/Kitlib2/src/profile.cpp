// Exported profile functions over the registry layout of profile_core.
#include <Kitlib2/Profile.h>

#include "profile_core.h"

using namespace kitlib;

namespace {

CString ToCString(const std::string& s) { return CString(s.data(), static_cast<int>(s.size())); }

std::string SectionPath(LPCSTR section, int root) { return JoinKeyPath(RootPath(root), section); }

}  // namespace

int CMGetProfileInt(LPCSTR lpszSection, LPCSTR lpszKey, int nDefault, int nRoot) {
  int v = 0;
  return RegReadInt(HKEY_CURRENT_USER, SectionPath(lpszSection, nRoot), lpszKey, &v) ? v : nDefault;
}

CString CMGetProfileString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault, int nRoot) {
  std::string v;
  if (RegReadString(HKEY_CURRENT_USER, SectionPath(lpszSection, nRoot), lpszKey, &v)) return ToCString(v);
  return CString(lpszDefault ? lpszDefault : "");
}

CString CMGetProfileStringEx(LPCSTR lpszRoot, LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault, int nHive) {
  std::string root = lpszRoot ? lpszRoot : "";
  std::string v;
  HKEY hive = nHive == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  if (RegReadString(hive, JoinKeyPath(root, lpszSection), lpszKey, &v)) return ToCString(v);
  return CString(lpszDefault ? lpszDefault : "");
}

BOOL CMWriteProfileInt(LPCSTR lpszSection, LPCSTR lpszKey, int nValue, int bFlush, int nRoot) {
  return RegWriteInt(HKEY_CURRENT_USER, SectionPath(lpszSection, nRoot), lpszKey, nValue, bFlush != 0);
}

BOOL CMWriteProfileString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszValue, int nRoot) {
  std::string key = SectionPath(lpszSection, nRoot);
  if (!lpszValue) {
    RegRemoveValue(HKEY_CURRENT_USER, key, lpszKey);
    return TRUE;
  }
  return RegWriteString(HKEY_CURRENT_USER, key, lpszKey, lpszValue);
}

BOOL CMRemoveProfileKey(LPCSTR lpszSection, LPCSTR lpszKey, int nRoot) {
  return RegRemoveValue(HKEY_CURRENT_USER, SectionPath(lpszSection, nRoot), lpszKey);
}

CString CMGetKeyPosition() { return ToCString(ProgramRootPath()); }

BOOL CMCopyProfileHklmToHkcu() {
  std::string root = ProgramRootPath();
  return RegCopyKeyTree(HKEY_LOCAL_MACHINE, root, HKEY_CURRENT_USER, root);
}
