#include <VxBDCore.h>

#include <algorithm>
#include <string.h>

static const char* const kTrees[] = {"PRIVATE\\AVCHD\\BDMV", "AVCHD\\BDMV"};

std::string VxBDCardSceneStream(DWORD dwGroup, DWORD dwClip) {
  const DWORD drive = dwGroup & 0xFF, tree = (dwGroup >> 8) & 0xFF;
  if (drive >= 26 || tree > 1 || dwClip > 99999) return std::string();
  char sz[MAX_PATH];
  wsprintfA(sz, "%c:\\%s\\STREAM\\%05lu.MTS", (char)('A' + drive), kTrees[tree], (unsigned long)dwClip);
  return sz;
}

static bool SameDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}
static bool DayBefore(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  if (a.wYear != b.wYear) return a.wYear < b.wYear;
  if (a.wMonth != b.wMonth) return a.wMonth < b.wMonth;
  return a.wDay < b.wDay;
}

BOOL VxBDListScenes(LPCSTR pszBase, int nTree, int nDay, std::vector<VxBDScene>* pScenes) {
  if (!pszBase || !*pszBase || !pScenes || nTree < 0 || nTree > 1 || nDay < 0) return FALSE;
  pScenes->clear();
  std::string tree = pszBase;
  if (tree.back() != '\\') tree += '\\';
  tree += kTrees[nTree];
  std::string stream = tree + "\\STREAM\\";
  if (tree.size() + 12 >= MAX_PATH) return FALSE;
  DWORD attr = ::GetFileAttributesA(stream.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY)) return FALSE;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((stream + "*.MTS").c_str(), &fd);
  std::vector<VxBDScene> all;
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      VxBDScene s;
      s.path = stream + fd.cFileName;
      if (s.path.size() >= MAX_PATH) continue;
      FILETIME local;
      ::FileTimeToLocalFileTime(&fd.ftLastWriteTime, &local);
      ::FileTimeToSystemTime(&local, &s.recorded);
      s.bytes = ((ULONGLONG)fd.nFileSizeHigh << 32) | fd.nFileSizeLow;
      all.push_back(s);
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  std::sort(all.begin(), all.end(), [](const VxBDScene& a, const VxBDScene& b) { return _stricmp(a.path.c_str(), b.path.c_str()) < 0; });
  if (nDay == 0) {
    *pScenes = all;
    return TRUE;
  }
  std::vector<SYSTEMTIME> days;
  for (const VxBDScene& s : all)
    if (std::none_of(days.begin(), days.end(), [&](const SYSTEMTIME& d) { return SameDay(d, s.recorded); }))
      days.push_back(s.recorded);
  std::sort(days.begin(), days.end(), DayBefore);
  if (nDay > (int)days.size()) return FALSE;
  const SYSTEMTIME& day = days[nDay - 1];
  for (const VxBDScene& s : all)
    if (SameDay(s.recorded, day)) pScenes->push_back(s);
  return TRUE;
}
