// CMTLxFileOperation: copies and moves whose targets are decided here, carried out by the
// shell without questions, and reported back as a list of written paths.
#include <KitlibEx/KitlibEx.h>

#include <cstdlib>
#include <cstring>

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
    return ShellError(r, s.fAnyOperationsAborted);
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
  for (const PlannedMove& m : plan) {
    if (m.noOp) continue;
    from.push_back(m.source);
    to.push_back(m.target);
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
    if (r != 0 || s.fAnyOperationsAborted) return ShellError(r, s.fAnyOperationsAborted);
  }

  if (op->fFlags & FOF_WANTMAPPINGHANDLE) {
    std::vector<std::string> handled, written;
    for (const PlannedMove& m : plan) {
      if (GetFileAttributesA(m.target.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
      handled.push_back(m.source);
      written.push_back(m.target);
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
  return 0;
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
