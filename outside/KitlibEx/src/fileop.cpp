// CMTLxFileOperation: copies and moves whose targets are decided here, carried out by the
// shell without questions, and reported back as a list of written paths.
#include <KitlibEx/KitlibEx.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <textkit/text.h>

#include "fileop_core.h"

using namespace kitlibex;

namespace {

char* MallocCopy(const std::string& s) {
  char* p = static_cast<char*>(malloc(s.size()));
  if (p) memcpy(p, s.data(), s.size());
  return p;
}

int ShellError(int code, BOOL aborted) {
  if (aborted) return E_ABORT;
  return code == 0 ? 0 : static_cast<int>(HRESULT_FROM_WIN32(static_cast<DWORD>(code)));
}

// Paths in the long form of the wide functions: what the shell wrote below a target may
// be longer than MAX_PATH, where the ANSI functions see nothing.
std::wstring LongPath(const std::string& path) {
  std::wstring w = textkit::AnsiToWide(path);
  for (wchar_t& c : w) c = c == L'/' ? L'\\' : c;
  if (w.size() >= 3 && w[1] == L':' && w[2] == L'\\') return L"\\\\?\\" + w;
  if (w.size() >= 2 && w[0] == L'\\' && w[1] == L'\\' && w.compare(0, 4, L"\\\\?\\") != 0)
    return L"\\\\?\\UNC\\" + w.substr(2);
  return w;
}

bool Exists(const std::string& path) { return GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Bytes and files of a file or a whole folder; false when it is not there.
bool Measure(const std::wstring& path, ULONGLONG* bytes, ULONGLONG* files) {
  WIN32_FILE_ATTRIBUTE_DATA a;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a)) return false;
  if (!(a.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    *bytes += (static_cast<ULONGLONG>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
    *files += 1;
    return true;
  }
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return true;
  do {
    if (!wcscmp(fd.cFileName, L".") || !wcscmp(fd.cFileName, L"..")) continue;
    Measure(path + L"\\" + fd.cFileName, bytes, files);
  } while (FindNextFileW(find, &fd));
  FindClose(find);
  return true;
}

struct Size {
  bool there = false;
  ULONGLONG bytes = 0, files = 0;
  bool operator==(const Size& o) const { return there == o.there && bytes == o.bytes && files == o.files; }
};

Size SizeOf(const std::string& path) {
  Size s;
  s.there = Measure(LongPath(path), &s.bytes, &s.files);
  return s;
}

// Removes what the shell left at a target: a file, or a folder and all below it.
void RemoveTree(const std::wstring& path) {
  DWORD attr = GetFileAttributesW(path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(path.c_str(), attr & ~FILE_ATTRIBUTE_READONLY);
  if (!(attr & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (wcscmp(fd.cFileName, L".") && wcscmp(fd.cFileName, L"..")) RemoveTree(path + L"\\" + fd.cFileName);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}

void RemovePartial(const std::string& path) { RemoveTree(LongPath(path)); }

// Whether one planned copy or move really happened, judged on disk: the shell's answer is
// not enough (Wine's reports success for a target it could not write: a write-protected
// folder, a full drive, a name of MAX_PATH bytes or more). A failed target is removed
// when the source is still whole, so that nothing cut short stays under the real name
// and a move leaves no duplicate; with the source gone, whatever arrived is kept.
bool Verify(UINT func, const PlannedMove& m, const Size& before) {
  Size target = SizeOf(m.target);
  bool sourceGone = !Exists(m.source);
  bool done = target == before && (func != FO_MOVE || sourceGone);
  if (!done && !sourceGone && SizeOf(m.source) == before) RemovePartial(m.target);
  return done;
}

int Run(LPSHFILEOPSTRUCTA op) {
  if (!op || !op->pFrom) return E_INVALIDARG;
  op->hNameMappings = nullptr;
  op->fAnyOperationsAborted = FALSE;
  if (op->wFunc != FO_COPY && op->wFunc != FO_MOVE) {
    // Deleting and renaming ask what the caller's flags ask; the shell's own mapping
    // handle is never handed out (the callers free what they get with free()).
    SHFILEOPSTRUCTA s = *op;
    s.fFlags = static_cast<FILEOP_FLAGS>(s.fFlags & ~FOF_WANTMAPPINGHANDLE);
    int r = SHFileOperationA(&s);
    op->fAnyOperationsAborted = s.fAnyOperationsAborted;
    if (r != 0 || s.fAnyOperationsAborted) return ShellError(r, s.fAnyOperationsAborted);
    // What the shell says it did, checked: deleted sources are gone, a renamed one is at
    // its new name (wildcards and the recycle bin's choices are the shell's own).
    std::vector<std::string> from = SplitMultiString(op->pFrom);
    bool done = true;
    if (op->wFunc == FO_DELETE) {
      for (const std::string& f : from)
        if (f.find_first_of("*?") == std::string::npos) done = done && !Exists(f);
    } else if (op->wFunc == FO_RENAME && op->pTo && from.size() == 1) {
      done = Exists(op->pTo) && (!Exists(from[0]) || lstrcmpiA(from[0].c_str(), op->pTo) == 0);
    }
    return done ? 0 : CMTLX_E_NOT_DONE;
  }
  if (!op->pTo) return E_INVALIDARG;

  const bool multiDest = (op->fFlags & FOF_MULTIDESTFILES) != 0;
  std::vector<std::string> sources = SplitMultiString(op->pFrom);
  // One target folder often comes with a single NUL: nothing past it is read.
  std::vector<std::string> targets = multiDest ? SplitMultiString(op->pTo) : std::vector<std::string>{op->pTo};
  std::vector<PlannedMove> plan;
  PlanError e = PlanCopyMove(op->wFunc, sources, targets, multiDest, DiskAttributes, &plan);
  if (e == PlanError::NoSource) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  if (e != PlanError::None) return E_INVALIDARG;

  std::vector<std::string> from, to;
  std::vector<Size> sizes(plan.size());
  for (size_t i = 0; i < plan.size(); ++i) {
    const PlannedMove& m = plan[i];
    if (m.noOp) continue;
    sizes[i] = SizeOf(m.source);
    from.push_back(m.source);
    to.push_back(m.target);
  }
  std::vector<bool> verified(plan.size(), true);
  int result = 0;
  // A target the program could not name again (MAX_PATH bytes or more) is not written.
  for (size_t i = 0, k = 0; i < plan.size(); ++i) {
    if (plan[i].noOp) continue;
    if (plan[i].target.size() >= MAX_PATH) {
      verified[i] = false;
      result = static_cast<int>(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
      from.erase(from.begin() + static_cast<long>(k));
      to.erase(to.begin() + static_cast<long>(k));
      continue;
    }
    ++k;
  }
  if (!from.empty()) {
    std::string fromList = JoinMultiString(from), toList = JoinMultiString(to);
    SHFILEOPSTRUCTA s = *op;
    s.pFrom = fromList.c_str();
    s.pTo = toList.c_str();
    s.fFlags = ShellFlagsForPlan(op->fFlags);
    s.hNameMappings = nullptr;
    int r = SHFileOperationA(&s);
    op->fAnyOperationsAborted = s.fAnyOperationsAborted;
    bool all = true;
    for (size_t i = 0; i < plan.size(); ++i) {
      if (plan[i].noOp || !verified[i]) continue;
      verified[i] = Verify(op->wFunc, plan[i], sizes[i]);
      all = all && verified[i];
    }
    if (r != 0 || s.fAnyOperationsAborted)
      result = ShellError(r, s.fAnyOperationsAborted);
    else if (!all)
      result = CMTLX_E_NOT_DONE;
  }

  // The mapping lists what was verified, also after a failure: the callers follow it.
  if (op->fFlags & FOF_WANTMAPPINGHANDLE) {
    std::vector<std::string> handled, written;
    for (size_t i = 0; i < plan.size(); ++i) {
      if (!verified[i]) continue;
      handled.push_back(plan[i].source);
      written.push_back(plan[i].target);
    }
    auto* map = static_cast<CMTLX_NAMEMAPPING*>(malloc(sizeof(CMTLX_NAMEMAPPING)));
    if (map) {
      map->pszSources = MallocCopy(JoinMultiString(handled));
      map->pszWritten = MallocCopy(JoinMultiString(written));
      map->nCount = static_cast<INT_PTR>(written.size());
      if (!map->pszSources || !map->pszWritten) {
        CMTLxFreeNameMapping(map);
        map = nullptr;
      }
    }
    op->hNameMappings = map;
  }
  return result;
}

}  // namespace

int CMTLxFileOperation(LPSHFILEOPSTRUCTA lpFileOp) { return Run(lpFileOp); }

int CMTLxFileMarkOperation(LPSHFILEOPSTRUCTA lpFileOp) { return Run(lpFileOp); }

void CMTLxFreeNameMapping(void* hNameMappings) {
  auto* map = static_cast<CMTLX_NAMEMAPPING*>(hNameMappings);
  if (!map) return;
  free(map->pszSources);
  free(map->pszWritten);
  free(map);
}
