// CThumbToolTip: the tooltips of a thumbnail view. When the mouse rests on a thumbnail the
// tip shows lines of property name and value from the property catalogue. The view hands
// it its tool hit test and its tooltip-text notices; a derived class answers which item
// lies under a point and which thumbnail an id names.
#pragma once
#include <fw/fw.h>

class CThumbnail;

class CThumbToolTip {
 public:
  // The property kinds of the tip's lines, in order (the thumbnails' six by default).
  explicit CThumbToolTip(CWnd* pView, const int* pKinds = NULL, int nKinds = 0);
  virtual ~CThumbToolTip();
  CThumbToolTip(const CThumbToolTip&) = delete;
  CThumbToolTip& operator=(const CThumbToolTip&) = delete;

  // The unique id of the item under a client point; -1 when none.
  virtual DWORD HitTest(CPoint pt) = 0;
  virtual CThumbnail* GetThumbnail(DWORD dwID) = 0;

  // Fills the tool record for the item under the point (the tool id is the item's id, so
  // the tip changes from item to item); -1 when there is none.
  INT_PTR OnToolHitTest(CPoint pt, TOOLINFOA* pTI);
  // Answers TTN_NEEDTEXTA and TTN_NEEDTEXTW for the item under ptScreen: 0 with text, 1
  // when no item lies there (handled, no text).
  LRESULT OnToolTipText(NMHDR* pNMHDR, CPoint ptScreen);
  HRESULT BuildText(CThumbnail* pItem, CString& text) const;
  // The system's version code (IconViewRules' VersionCode; tests hand in another).
  void SetVersionCode(int nCode) { m_nVersion = nCode; }

 private:
  char* m_pszA;
  WCHAR* m_pszW;
  CWnd* m_pView;
  const int* m_pKinds;
  int m_nKinds;
  int m_nVersion;
};
