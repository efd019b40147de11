// The decisions of leaving the grid for the zoom window (see ZoomRules.h).
#include "ZoomRules.h"

#include <VxGUIDB/VxGUIDBDefs.h>
#include <VxResourceIds.h>

BOOL ZoomMovieNeedsBackEnd(DWORD dwKind) {
  if (dwKind & VXKIND_SUB_8) return TRUE;
  return (dwKind & (VXKIND_SUB_10 | VXKIND_SUB_20)) == (VXKIND_SUB_10 | VXKIND_SUB_20);
}

UINT ZoomRefusal(BOOL bHasItem, DWORD dwKind, BOOL bMovieBackEnd) {
  if (!bHasItem) return IDS_BROWSER_ZOOM_NO_ITEM;
  if (!(dwKind & (VXKIND_STILL | VXKIND_MOVIE))) return IDS_BROWSER_ZOOM_FAILED;
  if ((dwKind & VXKIND_MOVIE) && ZoomMovieNeedsBackEnd(dwKind) && !bMovieBackEnd)
    return IDS_MOVIE_NEEDS_PLAYER;
  return 0;
}

std::vector<std::vector<size_t>> ZoomGroups(const std::vector<const void*>& pages, const std::vector<bool>& zoomable) {
  std::vector<std::vector<size_t>> groups;
  std::vector<size_t> current;
  const void* key = nullptr;
  for (size_t i = 0; i < pages.size(); ++i) {
    if (i == 0 || pages[i] != key) {
      if (!current.empty()) groups.push_back(current);
      current.clear();
      key = pages[i];
    }
    if (i < zoomable.size() && zoomable[i]) current.push_back(i);
  }
  if (!current.empty()) groups.push_back(current);
  return groups;
}
