// A second module (vxdoc_peer.dll): a view of its own class that records the command
// objects it gets, to show that hints cross module borders.
#pragma once
#include <VxDocument.h>

#ifdef VXDOC_PEER_BUILD
#define VXPEER_API __declspec(dllexport)
#else
#define VXPEER_API __declspec(dllimport)
#endif

// Makes the peer's view in the frame as pane nID, a view of pDoc.
extern "C" VXPEER_API CView* PeerCreateView(CFrameWnd* pFrame, CDocument* pDoc, UINT nID);
// What the peer's views saw: hints with a command object (as this module tests the
// class), in order.
extern "C" VXPEER_API int PeerSeenCount();
extern "C" VXPEER_API BOOL PeerSeen(int nIndex, LPARAM* pHint, UINT* pID, UINT_PTR* pValue);
extern "C" VXPEER_API void PeerClear();
