#include "filedrop.h"

#include <shlobj.h>
#include <string.h>

namespace testsupport {

HGLOBAL MakeFileDrop(const std::vector<std::string>& paths) {
  size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& p : paths) size += p.size() + 1;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!h) return NULL;
  DROPFILES* df = (DROPFILES*)::GlobalLock(h);
  df->pFiles = sizeof(DROPFILES);
  char* p = (char*)(df + 1);
  for (const std::string& s : paths) {
    memcpy(p, s.c_str(), s.size() + 1);
    p += s.size() + 1;
  }
  ::GlobalUnlock(h);
  return h;
}

}  // namespace testsupport
