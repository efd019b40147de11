// CRegManager and CMarloRegManager: registry keys of the program's settings.
#include "internal.h"

#include <Kitlib2/Profile.h>

using namespace vxg;

CRegManager::CRegManager() : m_hKey(NULL) {}

CRegManager::CRegManager(HKEY hRoot, LPCSTR pszSubKey, REGSAM access) : m_hKey(NULL) { Open(hRoot, pszSubKey, access); }

CRegManager::~CRegManager() { Close(); }

BOOL CRegManager::Open(HKEY hRoot, LPCSTR pszSubKey, REGSAM access) {
  Close();
  if (!hRoot || !pszSubKey) return FALSE;
  LONG rc;
  if (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY))
    rc = RegCreateKeyExA(hRoot, pszSubKey, 0, NULL, REG_OPTION_NON_VOLATILE, access, NULL, &m_hKey, NULL);
  else
    rc = RegOpenKeyExA(hRoot, pszSubKey, 0, access, &m_hKey);
  if (rc != ERROR_SUCCESS) m_hKey = NULL;
  return m_hKey != NULL;
}

void CRegManager::Close() {
  if (m_hKey) RegCloseKey(m_hKey);
  m_hKey = NULL;
}

BOOL CRegManager::Read(LPCSTR pszName, DWORD& dwValue) const {
  if (!m_hKey) return FALSE;
  DWORD type = 0, v = 0, cb = sizeof(v);
  if (RegQueryValueExA(m_hKey, pszName, NULL, &type, reinterpret_cast<BYTE*>(&v), &cb) != ERROR_SUCCESS) return FALSE;
  if (type != REG_DWORD || cb != sizeof(v)) return FALSE;
  dwValue = v;
  return TRUE;
}

BOOL CRegManager::Read(LPCSTR pszName, CString& strValue) const {
  if (!m_hKey) return FALSE;
  DWORD type = 0, cb = 0;
  if (RegQueryValueExA(m_hKey, pszName, NULL, &type, NULL, &cb) != ERROR_SUCCESS) return FALSE;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return FALSE;
  std::string buf(cb + 1, '\0');
  if (RegQueryValueExA(m_hKey, pszName, NULL, &type, reinterpret_cast<BYTE*>(&buf[0]), &cb) != ERROR_SUCCESS)
    return FALSE;
  strValue = buf.c_str();
  return TRUE;
}

BOOL CRegManager::Read(LPCSTR pszName, void* pData, DWORD* pcbData) const {
  if (!m_hKey || !pcbData) return FALSE;
  return RegQueryValueExA(m_hKey, pszName, NULL, NULL, static_cast<BYTE*>(pData), pcbData) == ERROR_SUCCESS;
}

int CRegManager::GetInt(LPCSTR pszName, int nDefault) const {
  DWORD v;
  return Read(pszName, v) ? int(v) : nDefault;
}

CString CRegManager::GetString(LPCSTR pszName, LPCSTR pszDefault) const {
  CString s;
  return Read(pszName, s) ? s : CString(pszDefault ? pszDefault : "");
}

BOOL CRegManager::Write(LPCSTR pszName, DWORD dwValue) {
  return m_hKey && RegSetValueExA(m_hKey, pszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                                  sizeof(dwValue)) == ERROR_SUCCESS;
}

BOOL CRegManager::Write(LPCSTR pszName, LPCSTR pszValue) {
  if (!m_hKey || !pszValue) return FALSE;
  return RegSetValueExA(m_hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszValue),
                        DWORD(strlen(pszValue) + 1)) == ERROR_SUCCESS;
}

BOOL CRegManager::Write(LPCSTR pszName, const void* pData, DWORD cbData) {
  return m_hKey && RegSetValueExA(m_hKey, pszName, 0, REG_BINARY, static_cast<const BYTE*>(pData), cbData) == ERROR_SUCCESS;
}

BOOL CRegManager::DeleteValue(LPCSTR pszName) { return m_hKey && RegDeleteValueA(m_hKey, pszName) == ERROR_SUCCESS; }

CMarloRegManager::CMarloRegManager(LPCSTR pszSection, REGSAM access) {
  CString key = GetRootPath();
  if (pszSection && *pszSection) {
    key += "\\";
    key += pszSection;
  }
  Open(HKEY_CURRENT_USER, key, access);
}

CString CMarloRegManager::GetRootPath() { return CMGetKeyPosition(); }
