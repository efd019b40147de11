#include "FolderOps.h"

#include <Kitlib2/Profile.h>
#include <RecordGate.h>
#include <VxContFile.h>
#include <VxGUIDB/Thumbnail.h>
#include <dropop/FolderNameList.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include "DiskTreeRules.h"

namespace disktree {

NewFolderOutcome MakeNewFolder(const std::string& parent, const std::string& base) {
  NewFolderOutcome out;
  const std::string folder = textkit::WithTrailingSeparator(textkit::WithoutTrailingSeparator(parent));
  for (int n = 1; n <= kMaxNewFolderNumber; ++n) {
    const std::string path = folder + NewFolderName(base, n);
    if (IsVetoedPath(path)) {
      out.error = ERROR_FILENAME_EXCED_RANGE;
      return out;
    }
    if (CreateDirectoryA(path.c_str(), nullptr)) {
      out.result = S_OK;
      out.path = path;
      out.error = 0;
      return out;
    }
    out.error = GetLastError();
    if (out.error != ERROR_ALREADY_EXISTS) return out;
  }
  return out;  // every name taken
}

bool HasForeignContent(const std::string& path) {
  DWORD attr = GetFileAttributesA(path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES) return false;
  if (!(attr & FILE_ATTRIBUTE_DIRECTORY)) {
    if (!textkit::EqualNoCase(textkit::ExtensionOf(path), ".cont")) return false;
    vxcont::ContentInfo info;
    if (!vxcont::ReadContentFile(path.c_str(), &info)) return false;
    return !CThumbnail::IsCompSupportMaker(info.maker.c_str(), info.model.c_str());
  }
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((textkit::WithTrailingSeparator(path) + "*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool foreign = false;
  do {
    if (!strcmp(fd.cFileName, ".") || !strcmp(fd.cFileName, "..")) continue;
    const std::string child = textkit::Join(path, fd.cFileName);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;  // never leave the folder through a link
    foreign = HasForeignContent(child);
  } while (!foreign && FindNextFileA(h, &fd));
  FindClose(h);
  return foreign;
}

int FirstForeignFolder(const std::vector<std::string>& folders) {
  for (size_t i = 0; i < folders.size(); ++i)
    if (HasForeignContent(folders[i])) return static_cast<int>(i);
  return -1;
}

LONG ReadFolderColour(const std::string& path) {
  if (path.empty()) return -1;
  return CMGetProfileInt(kColourSection, path.c_str(), -1);
}

void StoreFolderColour(const std::string& path, COLORREF colour, bool remove) {
  if (path.empty()) return;
  if (remove)
    CMRemoveProfileKey(kColourSection, path.c_str());
  else
    CMWriteProfileInt(kColourSection, path.c_str(), static_cast<int>(colour));
}

namespace {

HKEY OpenColourKey(REGSAM access) {
  const std::string key = std::string(CMGetKeyPosition()) + "\\" + kColourSection;
  HKEY h = nullptr;
  return RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, access, &h) == ERROR_SUCCESS ? h : nullptr;
}

std::vector<std::string> ValueNames(HKEY h) {
  std::vector<std::string> names;
  for (DWORD i = 0;; ++i) {
    char name[2048];
    DWORD len = sizeof name;
    if (RegEnumValueA(h, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, len);
  }
  return names;
}

}  // namespace

std::vector<std::string> ColouredFolders() {
  HKEY h = OpenColourKey(KEY_READ);
  if (!h) return {};
  std::vector<std::string> names = ValueNames(h);
  RegCloseKey(h);
  return names;
}

void MoveFolderColours(const std::string& oldPath, const std::string& newPath) {
  HKEY h = OpenColourKey(KEY_READ | KEY_WRITE);
  if (!h) return;
  // Names first: the key changes under the enumeration.
  const std::vector<std::string> names = ValueNames(h);
  for (const std::string& name : names) {
    std::optional<std::string> moved = MovedColourKey(name, oldPath, newPath);
    if (!moved || *moved == name) continue;
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
      continue;
    if (RegSetValueExA(h, moved->c_str(), 0, type, reinterpret_cast<BYTE*>(&value), size) == ERROR_SUCCESS)
      RegDeleteValueA(h, name.c_str());
  }
  RegCloseKey(h);
}

void ResetChangedFolders(const std::string& path) {
  dropop::ClearFolderNameList();
  dropop::AppendFolderNameList(path.c_str());
}

HRESULT MoveFolderEntries(const std::string& oldPath, const std::string& newPath) {
  return CThumbnail::MoveFileFromDatabase(oldPath.c_str(), newPath.c_str());
}

HRESULT ForgetFolderEntries(const std::string& path) {
  // The trailing separator names a folder that is no longer on the disk.
  return CThumbnail::DeleteFileFromDatabase(textkit::WithTrailingSeparator(path).c_str());
}

}  // namespace disktree
