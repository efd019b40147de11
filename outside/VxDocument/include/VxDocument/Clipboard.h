// CExploreClipboardObject: file lists on the system clipboard, and one window that watches
// the clipboard through the viewer chain while the list it wrote is there.
//
// What Write puts on the clipboard:
//   CF_HDROP                 a DROPFILES record of 20 bytes {list offset 20, the point,
//                            non-client 0, wide 0}, each path in the ANSI code page with
//                            its NUL, then one more NUL
//   "Preferred DropEffect"   one DWORD: 1 copy (DROPEFFECT_COPY), 2 move (DROPEFFECT_MOVE, a cut)
//   "Shell IDList Array"     the paths as the desktop folder parses them (when all parse),
//                            so that the shell pastes them too
//
// The watcher: after a successful Write the caller makes its window the viewer
// (SetViewer). The window passes WM_DRAWCLIPBOARD and WM_CHANGECBCHAIN to OnDrawClipboard
// and OnChangeCbChain, which keep the chain going; OnDrawClipboard answers TRUE once the
// clipboard holds something else than what Write put there (the list was replaced or
// emptied): the owner then drops its cut marks and calls ResetViewer.
#pragma once

#include <VxDocument/VxDocDefs.h>

class VXDOC_API CExploreClipboardObject {
 public:
  CExploreClipboardObject();
  ~CExploreClipboardObject();  // leaves the viewer chain
  CExploreClipboardObject(const CExploreClipboardObject&) = delete;
  CExploreClipboardObject& operator=(const CExploreClipboardObject&) = delete;

  // Puts the paths on the clipboard, owned by hWnd, with the drop effect (1 copy, 2 move)
  // and, in the file-drop record, the point. 0 on success; E_INVALIDARG for no window,
  // an empty list or effect 0; E_OUTOFMEMORY; HRESULT_FROM_WIN32 of the clipboard's
  // failure (when it can't be opened it stays as it was).
  HRESULT Write(HWND hWnd, UINT nEffect, const CStringList& paths);
  HRESULT Write(HWND hWnd, UINT nEffect, POINT pt, const CStringList& paths);
  HRESULT Write(CWnd* pWnd, UINT nEffect, const CStringList& paths) { return Write(pWnd->GetSafeHwnd(), nEffect, paths); }
  HRESULT Write(CWnd* pWnd, UINT nEffect, POINT pt, const CStringList& paths) {
    return Write(pWnd->GetSafeHwnd(), nEffect, pt, paths);
  }

  // Whether the clipboard holds a file list.
  BOOL CanRead() const;
  // A copy of the clipboard's file-drop block (GMEM_MOVEABLE; the caller frees it) and
  // the drop effect (DROPEFFECT_COPY when the clipboard names none); null when the
  // clipboard holds no file list or can't be opened.
  HGLOBAL Read(HWND hWnd, DWORD* pdwEffect) const;
  HGLOBAL Read(CWnd* pWnd, DWORD* pdwEffect) const { return Read(pWnd ? pWnd->GetSafeHwnd() : NULL, pdwEffect); }
  // The paths of the clipboard's file list; the number (0 when none).
  int ReadPaths(CStringList& paths, DWORD* pdwEffect = NULL) const;

  // Empties the clipboard. TRUE when it could be opened.
  static BOOL Clear();

  // Makes hWnd the watcher (it joins the viewer chain); a window that watches already
  // stays where it is. FALSE for no window.
  BOOL SetViewer(HWND hWnd);
  BOOL SetViewer(CWnd* pWnd) { return SetViewer(pWnd ? pWnd->GetSafeHwnd() : NULL); }
  // Takes the watcher out of the chain.
  void ResetViewer();
  HWND GetViewer() const { return m_hViewer; }
  BOOL IsViewer(HWND hWnd) const { return hWnd && hWnd == m_hViewer; }

  // WM_DRAWCLIPBOARD of the watcher: passes it on to the next viewer; TRUE when the
  // clipboard no longer holds what Write put there.
  BOOL OnDrawClipboard(WPARAM wParam, LPARAM lParam);
  // WM_CHANGECBCHAIN of the watcher (wParam the window leaving, lParam the one after it).
  void OnChangeCbChain(WPARAM wParam, LPARAM lParam);

 private:
  HWND m_hViewer;
  HWND m_hNext;
  DWORD m_dwWrittenSequence;  // the clipboard's sequence number of what is watched
  LONG m_nWriting;            // inside Write: notices are ours
  BOOL m_bJoining;            // inside SetViewer: the first notice is the chain's greeting
};

// The file-drop layout, as plain functions.
// A new GMEM_MOVEABLE block: DROPFILES {20, pt, 0, 0}, the paths, two NULs. Null when
// out of memory.
VXDOC_API HGLOBAL VxBuildDropFiles(const CStringList& paths, POINT pt);
// The paths of a file-drop block (ANSI or wide) appended to the list; the number
// appended, -1 when the block is not a well-formed file-drop block.
VXDOC_API int VxReadDropFiles(HGLOBAL hDrop, CStringList& paths);

// Passes a viewer-chain notice (WM_DRAWCLIPBOARD, WM_CHANGECBCHAIN) on to the next viewer,
// as a rule another program's window: waiting a bounded time, so that a viewer whose
// program hangs does not hang this one's window with it.
VXDOC_API void VxPassClipboardNotice(HWND hNext, UINT message, WPARAM wParam, LPARAM lParam);
