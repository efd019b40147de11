// The settings dialogs' decisions.
#include "SettingsRules.h"

#include <RecordGate.h>
#include <VxResourceIds.h>

namespace settings {

UINT AutoRunRadioOf(int value) {
  return value == 0 ? IDC_AUTORUN_START : value == 1 ? IDC_AUTORUN_VIEWER : IDC_AUTORUN_NONE;
}
int AutoRunValueOf(UINT radio) { return radio == IDC_AUTORUN_START ? 0 : radio == IDC_AUTORUN_VIEWER ? 1 : 2; }
UINT FirstClassifyRadioOf(int value) { return value == 1 ? IDC_FIRST_CLASSIFY_ON : IDC_FIRST_CLASSIFY_OFF; }

CString TrimFolder(const CString& folder) {
  CString s = folder;
  s.TrimRight(" \t");
  return s;
}

FolderFacts FolderFactsOf(const CString& folder) {
  FolderFacts facts = {DRIVE_UNKNOWN, false};
  if (folder.GetLength() >= 2 && folder[1] == ':') {
    char root[4] = {folder[0], ':', '\\', 0};
    facts.driveType = ::GetDriveTypeA(root);
  } else if (folder.Left(2) == "\\\\") {
    facts.driveType = DRIVE_REMOTE;
  }
  DWORD attr = ::GetFileAttributesA(folder);
  facts.exists = attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
  return facts;
}

bool IsSameOrBelow(const CString& path, const CString& folder) {
  CString p = path, f = folder;
  p.MakeUpper();
  f.MakeUpper();
  p.TrimRight('\\');
  f.TrimRight('\\');
  if (f.IsEmpty() || p.GetLength() < f.GetLength() || p.Left(f.GetLength()) != f) return false;
  return p.GetLength() == f.GetLength() || p[f.GetLength()] == '\\';
}

UINT CheckClassifyFolder(const CString& folder, const FolderFacts& facts, const CString& windowsFolder,
                         const CString& programFilesFolder) {
  if (facts.driveType != DRIVE_FIXED) return IDS_CLASSIFY_NOT_FIXED_DISK;
  if (!facts.exists) return IDS_FOLDER_NOT_FOUND;
  if (IsSameOrBelow(folder, windowsFolder) || IsSameOrBelow(folder, programFilesFolder))
    return IDS_CLASSIFY_SYSTEM_FOLDER;
  return 0;
}

CString ChooseMusicFolder(const CString& stored, const CString& music, const CString& program,
                          bool (*exists)(const CString&)) {
  if (!stored.IsEmpty() && exists(stored)) return stored;
  if (!music.IsEmpty() && exists(music)) return music;
  return program;
}

bool IsDriveRoot(const CString& folder) {
  CString f = folder;
  f.TrimRight('\\');
  return f.GetLength() == 2 && f[1] == ':';
}

DatabaseCalls PhotoDatabase() { return DatabaseCalls{VxDBWRegisterFile, VxDBWUpdateFile}; }

HRESULT ReregisterFile(LPCSTR path, const METADATA* const* lists, int count, const DatabaseCalls& db) {
  int first = 0;
  while (first < count && !lists[first]) ++first;
  HRESULT hr = db.registerFile(path, first < count ? lists[first] : nullptr);
  if (FAILED(hr)) return hr;
  for (int i = first + 1; i < count; i++)
    if (lists[i]) db.update(path, lists[i]);
  return hr;
}

}  // namespace settings
