#include "LibraryCursor.h"

#include <VxGUIDB.h>

HCURSOR LibraryCursor(UINT nId, LPCSTR pszStandIn) {
  CResourceChanger change;
  HCURSOR h = (HCURSOR)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nId), IMAGE_CURSOR, 0, 0,
                                    LR_DEFAULTSIZE | LR_SHARED);
  return h ? h : ::LoadCursor(NULL, pszStandIn);
}
