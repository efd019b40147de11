// VxDocument.dll: the document library — the main program's document, the browsing
// state that frame, panes, browser and views share, the command objects, the WM_COPYDATA
// text parser, the file clipboard and path sorting.
//
//   VxDocument/VxDocDefs.h        export macro, browse flags, view codes, view status,
//                                 folder types, hints
//   VxDocument/CommandObject.h    CSendCommandObject
//   VxDocument/CopyData.h         CCopyDataDispatcher
//   VxDocument/BrowserStatus.h    CBrowserStatus (CViewMode, CFolderType, CViewStatus)
//   VxDocument/BrowserDocument.h  CBrowserDocument, CThumbnailPageList
//   VxDocument/Clipboard.h        CExploreClipboardObject
//   VxDocument/Document.h         CVxDocument
//   VxDocument/PathSort.h         CPathSort, VxSortKeyString, IsEnableReportMode
#pragma once

#include <VxDocument/VxDocDefs.h>
#include <VxDocument/CommandObject.h>
#include <VxDocument/CopyData.h>
#include <VxDocument/BrowserStatus.h>
#include <VxDocument/BrowserDocument.h>
#include <VxDocument/Clipboard.h>
#include <VxDocument/Document.h>
#include <VxDocument/PathSort.h>
