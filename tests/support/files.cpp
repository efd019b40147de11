#include "files.h"

#include <algorithm>

#include <textkit/path.h>
#include <textkit/text.h>
#include <windows.h>
#include <shlobj.h>

#include <string.h>

#include <algorithm>

namespace testsupport {

void MakeFolders(const std::string& folder) {
  for (size_t i = 3; i < folder.size(); ++i) {
    if (textkit::IsLeadByte(static_cast<BYTE>(folder[i])))
      ++i;
    else if (folder[i] == '\\')
      CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
  }
  CreateDirectoryA(folder.c_str(), nullptr);
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
  size_t lastSep = textkit::LastSeparator(path);
  if (lastSep != std::string::npos) MakeFolders(path.substr(0, lastSep));
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == data.size();
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
  while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadWholeFile(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  std::string text;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got) text.append(buf, got);
  CloseHandle(h);
  return text;
}

bool SetLocalWriteTime(const std::string& path, int year, int month, int day, int hour) {
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  SYSTEMTIME st = {(WORD)year, (WORD)month, 0, (WORD)day, (WORD)hour, 0, 0, 0};
  FILETIME local, utc;
  bool ok = SystemTimeToFileTime(&st, &local) && LocalFileTimeToFileTime(&local, &utc) &&
            SetFileTime(h, nullptr, nullptr, &utc);
  CloseHandle(h);
  return ok;
}

HGLOBAL MakeDropFiles(const std::vector<std::string>& paths) {
  size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& p : paths) size += p.size() + 1;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  DROPFILES* df = (DROPFILES*)::GlobalLock(h);
  df->pFiles = sizeof(DROPFILES);
  char* at = (char*)(df + 1);
  for (const std::string& p : paths) {
    memcpy(at, p.c_str(), p.size());
    at += p.size() + 1;
  }
  ::GlobalUnlock(h);
  return h;
}

}  // namespace testsupport
