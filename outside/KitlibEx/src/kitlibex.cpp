// Exported card, print-order, kind, favourite and search-setting services.
#include <KitlibEx/KitlibEx.h>

#include <imaging/encode.h>

#include <cstdio>
#include <cstring>

#include "card_core.h"
#include "dpof_core.h"
#include "kinds_core.h"
#include <textkit/textkit.h>
#include "profile_core.h"

using namespace kitlibex;

namespace {

std::string Str(LPCSTR s) { return s ? s : ""; }
CString ToCString(const std::string& s) { return CString(s.data(), static_cast<int>(s.size())); }

std::string ProgramSection(const char* section) {
  return kitlib::JoinKeyPath(kitlib::ProgramRootPath(), section);
}

const char kFavoriteSection[] = "FavoPIN\\FolderName";
const char kSearchSection[] = "dotSeek\\SearchProfile";

}  // namespace

// ---- Memory cards ------------------------------------------------------------------

int CMTLxGetCardDrives(LPSTR lpszDrives) {
  std::string letters = CardDriveLetters();
  if (lpszDrives) lstrcpynA(lpszDrives, letters.c_str(), 255);
  return static_cast<int>(letters.size() / 2);
}

int CMTLxIsCardFolder(LPCSTR lpszPath) { return CardFolderAnswer(Str(lpszPath)); }

int CMTLxIsSDVideoFolder(LPCSTR lpszPath) { return SdVideoFolderAnswer(Str(lpszPath)); }

int CMTLxIsSecuritySDCardDrive(int nDrive) { return IsSdBusDrive(nDrive); }

// ---- Print orders ------------------------------------------------------------------

int CMTLxGetDPOFFileList(LPCSTR lpszDrive, LPCSTR lpszJob, CStringList& list) {
  if (!lpszDrive || !lpszJob || !*lpszJob) return 0;
  std::string mrk;
  if (!ReadWholeFile(DpofFilePath(lpszDrive, lpszJob), &mrk)) return 0;
  std::vector<std::string> images = DpofImages(mrk, lpszDrive);
  for (const std::string& p : images) list.AddTail(ToCString(p));
  return static_cast<int>(images.size());
}

int CMTLxDeleteDPOFFileJob(LPCSTR lpszDrive, LPCSTR lpszJob, LPCSTR lpszPath) {
  if (!lpszDrive || !lpszJob || !lpszPath || !*lpszPath) return 0;
  std::string file = DpofFilePath(lpszDrive, lpszJob);
  std::string mrk;
  if (!ReadWholeFile(file, &mrk)) return 0;
  int removed = DpofRemoveImage(mrk, lpszDrive, lpszPath);
  if (removed == 0) return 0;
  HRESULT hr = imaging::WriteFileReplacing(file.c_str(), mrk.data(), mrk.size());
  return SUCCEEDED(hr) ? removed : static_cast<int>(hr);
}

// ---- Support tests -----------------------------------------------------------------

int CMTLxIsSupport(LPCSTR lpszPath, DWORD* pdwInfo, DWORD dwFilter) {
  std::string path = Str(lpszPath);
  DWORD attr = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
  return IsSupported(path, dwFilter, attr, true, pdwInfo) ? 1 : 0;
}

int CMTLxIsSupport0(LPCSTR lpszPath, DWORD* pdwInfo, DWORD dwFilter) {
  return IsSupported(Str(lpszPath), dwFilter, INVALID_FILE_ATTRIBUTES, false, pdwInfo) ? 1 : 0;
}

int IsMoveSupport(LPCSTR lpszPath, DWORD* pdwInfo) {
  std::string path = Str(lpszPath);
  DWORD attr = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
  DWORD info = 0;
  bool exists = IsSupported(path, 0, attr, true, &info);
  if (pdwInfo) *pdwInfo = info;
  return exists && IsMovableKind(KindOfPath(path)) ? 1 : 0;
}

DWORD CMTLxGetFileKind(LPCSTR lpszPath) { return KindOfPath(Str(lpszPath)); }

CString CMTLxGetSupportString(DWORD dwFilter) { return ToCString(SupportText(dwFilter)); }

// ---- Favourites --------------------------------------------------------------------

HRESULT CMTLxAddFavorite(LPCSTR lpszFolder) {
  std::string folder = Str(lpszFolder);
  textkit::TrimTrailingSeparators(folder);
  if (folder.empty() || (folder.size() == 2 && folder[1] == ':')) return E_INVALIDARG;
  DWORD attr = GetFileAttributesA(folder.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY))
    return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);

  std::string key = ProgramSection(kFavoriteSection);
  int count = 0;
  if (!kitlib::RegReadInt(HKEY_CURRENT_USER, key, "NumOfFolder", &count) || count < 0) count = 0;
  std::string wanted = textkit::FoldCase(folder);
  for (int i = 1; i <= count; ++i) {
    char name[16];
    snprintf(name, sizeof(name), "%04d", i);
    std::string have;
    if (!kitlib::RegReadString(HKEY_CURRENT_USER, key, name, &have)) continue;
    textkit::TrimTrailingSeparators(have);
    if (textkit::FoldCase(have) == wanted) return CMTLX_E_FAVORITE_EXISTS;
  }
  if (count >= CMTLX_FAVORITE_MAX) return CMTLX_E_FAVORITE_FULL;
  char name[16];
  snprintf(name, sizeof(name), "%04d", count + 1);
  if (!kitlib::RegWriteString(HKEY_CURRENT_USER, key, name, folder) ||
      !kitlib::RegWriteInt(HKEY_CURRENT_USER, key, "NumOfFolder", count + 1, false))
    return E_FAIL;
  return S_OK;
}

// ---- Search settings ---------------------------------------------------------------

int CMTLxGetSearchProfile(int* pnType, CString* pstrName, CString* pstrQuery, int* pnValue) {
  std::string key = ProgramSection(kSearchSection);
  int type = 0, value = 0;
  std::string name, query;
  kitlib::RegReadInt(HKEY_CURRENT_USER, key, "Type", &type);
  kitlib::RegReadInt(HKEY_CURRENT_USER, key, "Value", &value);
  kitlib::RegReadString(HKEY_CURRENT_USER, key, "Name", &name);
  kitlib::RegReadString(HKEY_CURRENT_USER, key, "Query", &query);
  if (pnType) *pnType = type;
  if (pnValue) *pnValue = value;
  if (pstrName) *pstrName = ToCString(name);
  if (pstrQuery) *pstrQuery = ToCString(query);
  return type;
}

BOOL CMTLxWriteSearchProfile(int nType, LPCSTR lpszName, LPCSTR lpszQuery, int nValue) {
  std::string key = ProgramSection(kSearchSection);
  bool ok = kitlib::RegWriteInt(HKEY_CURRENT_USER, key, "Type", nType, false);
  ok = kitlib::RegWriteString(HKEY_CURRENT_USER, key, "Name", Str(lpszName)) && ok;
  ok = kitlib::RegWriteString(HKEY_CURRENT_USER, key, "Query", Str(lpszQuery)) && ok;
  ok = kitlib::RegWriteInt(HKEY_CURRENT_USER, key, "Value", nValue, false) && ok;
  return ok;
}

// ---- Map component -----------------------------------------------------------------

int CMTLxIsUsedOrbisMap() {
  std::string dll = kitlib::ExeDirectory() + "\\MapBase.dll";
  DWORD attr = GetFileAttributesA(dll.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}
