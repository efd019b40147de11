// Cursors of the resource library for the media windows (the zoom and slide-show panels,
// the music list's header). They are shared (the system keeps them for the library's life,
// destroying one does nothing), as are the system cursors that stand in where the library
// lacks one.
#pragma once
#include <fw/fw.h>

// The cursor nId of the resource library at its default size, else the system's pszStandIn.
HCURSOR LibraryCursor(UINT nId, LPCSTR pszStandIn);
