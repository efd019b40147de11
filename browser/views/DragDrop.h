// Dragging thumbnails out of the browser: the data source that renders the dragged files
// in the three formats other windows read, the drag source that shows the drag image, and
// the drop target the controller keeps (revoked unless a window registers it).
#pragma once
#include <fw/fw.h>

#include <string>
#include <vector>

#include "VxGUITransApi.h"

class CThumbnail;

// The registered formats of a browser drag.
struct VXDRAGFORMATS {
  CLIPFORMAT cfFolderPath, cfIDList, cfFileContents, cfPrivate;
};
VXGUITRANS_API const VXDRAGFORMATS& DragFormats();

// Renders the dragged files on request: "CFSTR_BROWSER_FOLDERPATH", CF_HDROP and
// "Shell IDList Array".
class VXGUITRANS_API CBrowserDataSource : public COleDataSource {
 public:
  CBrowserDataSource(const std::vector<std::string>& files, const std::vector<std::string>& folders);
  // Offers the three formats for delayed rendering.
  void OfferFormats();

  BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) override;
  void OnFinalRelease() override {}  // lives on its caller's stack

  // Each renderer answers only its own format (E_INVALIDARG for any other).
  HRESULT RenderFolderPath(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal);
  HRESULT RenderHDrop(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal);
  HRESULT RenderIDList(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal);

  const std::vector<std::string>& Files() const { return m_files; }

 private:
  std::vector<std::string> m_files, m_folders;
};

// The drag source with the drag image made from the dragged thumbnail.
class VXGUITRANS_API CDropSource : public COleDropSource {
 public:
  enum { kIdle = 0, kArmed = 1, kShown = 2, kEnding = 3 };
  CDropSource();
  ~CDropSource() override;

  // Only when armed: builds the image from the item at the size and shows it at the start
  // point (screen). S_OK, E_FAIL when the item has no picture, 0 (S_OK) without work
  // when not armed.
  HRESULT CreateDragImage(CThumbnail* pItem, void* pDragData, SIZE size, POINT hotSpot, POINT start);
  void EndDragImage();
  SCODE GiveFeedback(DROPEFFECT dropEffect) override;

  // The rectangles (screen) where a drop does nothing: the source's own windows.
  CArray<RECT, const RECT&> m_noDrop;
  CImageList m_image;
  int m_nState;
  CPoint m_ptLast;
  HWND m_hSource;
  CPoint m_hotSpot;
  CSize m_imageSize;
  void* m_pDragData;
  // Whether the drag image was shown by the last feedback (tests read it).
  BOOL m_bImageShown;
};

// The browser's drop target: accepts the four browser formats; drops only when enabled,
// and then hands the private format's data to the window under the drop.
class VXGUITRANS_API CDropTarget : public COleDropTarget {
 public:
  CDropTarget();
  DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
  void OnDragLeave(CWnd* pWnd) override { COleDropTarget::OnDragLeave(pWnd); }

  CLIPFORMAT m_formats[4];
  DROPEFFECT m_enterEffect;
  BOOL m_bDropEnabled;
  // A drag from this browser is running (the drag start marks it).
  BOOL m_bFromBrowser;
};
