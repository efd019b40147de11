// The similar-image commands (through the search library VxPixWrapper) and handing a
// memory card's audio or voice track to the outside music-card program.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class CThumbnail;
class CVxGUITrans;
typedef CList<CThumbnail*, CThumbnail*> CThumbnailList;

// Registers the selected pictures in the search index and reports each outcome by
// message; the library's result, or E_INVALIDARG when no item had a readable path.
VXGUITRANS_API HRESULT RegisterSimilarImages(const CThumbnailList& selection, CVxGUITrans* pTrans);
// Searches the pictures like the one selected; after a search that ran, the main window
// refreshes its folder trees (where the results show). 1 unless exactly one item is
// selected; E_INVALIDARG when it is not a picture.
VXGUITRANS_API HRESULT SearchSimilarImages(const CThumbnailList& selection, HWND hMain, HWND hBrowser);
// The library's list of registered pictures, over the main window.
VXGUITRANS_API int OpenSimilarImageList(HWND hMain);

// Plays a card track in the music-card program: 0 once handed over (also when the
// program did not start; the user is told), E_INVALIDARG without a track record or
// folder, E_PENDING when the program is missing or the card is not a protected card,
// E_ABORT for an unusable track record.
VXGUITRANS_API HRESULT PlayTrackWithMelodeck(CThumbnail* pItem, CVxGUITrans* pTrans);
// The music-card program's path as the registry names it (empty when it does not); read
// again only while empty.
VXGUITRANS_API CString GetMelodeckExePath();
