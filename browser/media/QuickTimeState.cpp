// The bridge's state values in the registry.
#include "QuickTimeState.h"

#include <Kitlib2/Profile.h>
#include <textkit/path.h>

namespace {

const char kSubKey[] = "PictLibs";
const char kInitialized[] = "QT_Initialized";
const char kBmpExporter[] = "QT_BmpExporter";
const char kEnabledVersion[] = "QT_Enabled_Ver";

std::string ProgramTitle() {
  char path[MAX_PATH] = "";
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  return textkit::TitleOf(path);
}

LONG OpenStateKey(HKEY* phKey) {
  // The program root of the profile, as kitenv.ini places it.
  CString position = CMGetKeyPosition();
  HKEY hEnv = nullptr;
  LONG r = ::RegCreateKeyExA(HKEY_CURRENT_USER, position, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hEnv, nullptr);
  if (r != ERROR_SUCCESS) return r;
  r = ::RegCreateKeyExA(hEnv, kSubKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, phKey, nullptr);
  ::RegCloseKey(hEnv);
  return r;
}

LONG ReadDword(HKEY h, const std::string& name, DWORD* out) {
  DWORD type = 0, value = 0, cb = sizeof(value);
  LONG r = ::RegQueryValueExA(h, name.c_str(), nullptr, &type, (BYTE*)&value, &cb);
  *out = r == ERROR_SUCCESS && type == REG_DWORD ? value : 0;
  return r;
}

LONG WriteDword(HKEY h, const std::string& name, DWORD value) {
  return ::RegSetValueExA(h, name.c_str(), 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
}

}  // namespace

CString QuickTimeProgramFolder() {
  char path[MAX_PATH] = "";
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  return textkit::FolderOf(path).c_str();
}

LONG AccessQuickTimeState(int op, DWORD* a, DWORD* b) {
  if (op < kQtStateWrite || op > kQtStateRead) return ERROR_INVALID_ACCESS;
  HKEY h = nullptr;
  LONG r = OpenStateKey(&h);
  if (r != ERROR_SUCCESS) return r;
  std::string program = ProgramTitle();
  std::string initialized = QuickTimeValueName(kInitialized, program);
  std::string exporter = QuickTimeValueName(kBmpExporter, program);
  switch (op) {
    case kQtStateWrite:
      r = WriteDword(h, initialized, a ? *a : 0);
      if (b) WriteDword(h, exporter, *b ? 1 : 0);
      break;
    case kQtStateDelete:
      r = ::RegDeleteValueA(h, initialized.c_str());
      ::RegDeleteValueA(h, exporter.c_str());
      break;
    case kQtStateTest: r = ::RegQueryValueExA(h, initialized.c_str(), nullptr, nullptr, nullptr, nullptr); break;
    case kQtStateRead: {
      DWORD value = 0;
      if (a) r = ReadDword(h, initialized, a);
      if (b) {
        r = ReadDword(h, exporter, &value);
        *b = (LONG)value > 0 ? 1 : 0;
      }
      break;
    }
  }
  ::RegCloseKey(h);
  return r;
}

BOOL HasMovDecodeFile() {
  CString folder = QuickTimeProgramFolder();
  if (folder.IsEmpty()) return FALSE;
  WIN32_FIND_DATAA fd;
  HANDLE hFind = ::FindFirstFileA(folder + "\\MovDecode.vcp", &fd);
  if (hFind == INVALID_HANDLE_VALUE) return FALSE;
  ::FindClose(hFind);
  return TRUE;
}

DWORD GetRequiredQuickTimeVersion() {
  HKEY h = nullptr;
  if (OpenStateKey(&h) != ERROR_SUCCESS) return 0;
  DWORD value = 0;
  ReadDword(h, kEnabledVersion, &value);
  ::RegCloseKey(h);
  return value;
}

BOOL IsQuickTimeVersionUsable() {
  DWORD version = 0;
  if (AccessQuickTimeState(kQtStateRead, &version, nullptr) != ERROR_SUCCESS) return FALSE;
  return version >= GetRequiredQuickTimeVersion();
}
