// The decisions of leaving the grid for the zoom window, without windows.
#pragma once
#include <fw/fw.h>

#include <vector>

// The message that refuses zooming an item (0: it may be zoomed); bMovieBackEnd says whether
// the movie back end is usable, which matters only for a movie the window can't show alone.
UINT ZoomRefusal(BOOL bHasItem, DWORD dwKind, BOOL bMovieBackEnd);

// Whether the zoom window needs the movie back end for a movie of these kind bits.
BOOL ZoomMovieNeedsBackEnd(DWORD dwKind);

// The zoom window's groups over the items in display order: consecutive items of one page
// form a group; an item that cannot be zoomed joins none but does not split its page's
// run. Each group lists item indexes; no group is empty.
std::vector<std::vector<size_t>> ZoomGroups(const std::vector<const void*>& pages, const std::vector<bool>& zoomable);
