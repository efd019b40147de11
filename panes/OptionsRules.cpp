#include "OptionsRules.h"

#include <cstdlib>
#include <shlwapi.h>

#include <cstring>

namespace options {

int ClampInterval(int v) {
  if (v <= 0) return 1;
  if (v >= 100) return 99;
  return v;
}

int IntervalFromText(const char* text) {
  if (!text) return 1;
  long v = 0;
  for (const char* p = text; *p && v < 1000; ++p)
    if (*p >= '0' && *p <= '9') v = v * 10 + (*p - '0');
  return ClampInterval((int)v);
}

int StepInterval(int v, int delta) {
  if (delta > 0 && v < 99) return v + 1;
  if (delta < 0 && v > 1) return v - 1;
  return v;
}

bool IsMusicFile(const char* path) {
  if (!path) return false;
  // The system's walk knows double-byte names (a trail byte may be "\\").
  const char* dot = ::PathFindExtensionA(path);
  for (const char* ext : {".wav", ".mp3", ".m4a", ".wma"})
    if (_stricmp(dot, ext) == 0) return true;
  return false;
}

void SplitMusicPath(const std::string& path, std::string* folder, std::string* name) {
  size_t at = (size_t)(::PathFindFileNameA(path.c_str()) - path.c_str());
  *name = path.substr(at);
  *folder = path.substr(0, at);
  if (!folder->empty() && folder->back() == '\\' && folder->size() > 3) folder->pop_back();
}

TabPage PageOfTab(int tab, int panels) {
  if (tab >= kFirstPanelTab && tab < kFirstPanelTab + panels) return {PAGE_PANEL, tab - kFirstPanelTab};
  if (tab == MusicTab(panels)) return {PAGE_MUSIC, 0};
  if (tab >= 0 && tab < kFirstPanelTab) return {(PageKind)tab, 0};
  return {PAGE_AUTORUN, 0};
}

RECT PageRect(const RECT& tabs, const RECT& firstTab) {
  RECT rc = {tabs.left + firstTab.left + 2, tabs.top + firstTab.bottom + 4, tabs.right - 4, tabs.bottom - 3};
  return rc;
}

}  // namespace options
