// The group headers of the icon view: one bar per thumbnail page, with the group's name.
#pragma once
#include <fw/fw.h>
#include <VxGUIDB.h>

#include "VxGUITransApi.h"

class CBrowserDocument;

struct VXGUITRANS_API CIconGroupHeader {
  CThumbnailPage* m_pGroup = NULL;
  CString m_strLabel;
  CRect m_rect;
  void Clear() {
    m_pGroup = NULL;
    m_strLabel.Empty();
    m_rect.SetRectEmpty();
  }
};

class VXGUITRANS_API CIconGroupHeaders {
 public:
  CIconGroupHeaders();
  ~CIconGroupHeaders();

  // The label a page's header shows: its group text without a trailing backslash, else
  // its name; the "no group" key reads as its display text.
  static CString LabelOf(const CThumbnailPage* pPage);
  // One header per page of the document, in order, with empty rectangles.
  void Rebuild(const CBrowserDocument* pDoc);
  void Append(const CIconGroupHeaders& other);
  void Clear();
  int GetCount() const { return int(m_headers.size()); }
  CIconGroupHeader& GetAt(int i) { return m_headers[size_t(i)]; }
  const CIconGroupHeader& GetAt(int i) const { return m_headers[size_t(i)]; }
  void Add(CThumbnailPage* pPage, const CString& label, const CRect& rc);
  // The group whose header is under pt (document coordinates); null when none.
  CThumbnailPage* HitTest(CPoint pt) const;
  // Draws the bars and labels in document coordinates; clientWidth spans the bars.
  void Draw(CDC* pDC, const CRect& client, int scrollY) const;

 private:
  std::vector<CIconGroupHeader> m_headers;
};
