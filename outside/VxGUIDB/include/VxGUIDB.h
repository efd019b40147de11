// VxGUIDB.dll: the thumbnail library — file items and the pages that group them, a
// decoder on its own thread, a worker-thread base, resource and registry utilities.
//
//   VxGUIDB/VxGUIDBDefs.h   export macro, the kind word and the other numbers
//   VxGUIDB/Thumbnail.h     CThumbnail (with CAudioTrackInfo, VXEXIFDATA)
//   VxGUIDB/ThumbnailPage.h CThumbnailPage, CThumbnailGroupInfo, the decoder
//   VxGUIDB/Utility.h       CVxThread, CResourceLoader, CResourceChanger,
//                           CBitmapResourceContainer, CDllLoader, CRegManager,
//                           CMarloRegManager, CFileTime, IsValidPath
#pragma once

#include <VxGUIDB/VxGUIDBDefs.h>
#include <VxGUIDB/Thumbnail.h>
#include <VxGUIDB/ThumbnailPage.h>
#include <VxGUIDB/Utility.h>

// A session of the library's database work (photo database and check marks): counted,
// so sessions nest. The file operations of CThumbnail open what they need themselves;
// a session keeps the stores open across many of them. S_OK or the store's failure.
extern "C" VXGUIDB_API HRESULT WINAPI VxGUIDBInitialize(void);
// Ends one session.
extern "C" VXGUIDB_API HRESULT WINAPI VxGUIDBFinalize(void);
