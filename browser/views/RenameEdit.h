// CRenameEdit: the in-place edit box over an item's label in which the user renames its
// file. It opens with the name without its extension, refuses characters no file name
// holds as they are typed, grows with its text, and hands the new name (the extension
// added back) to the view as LVN_ENDLABELEDITA on Enter or when it loses the focus;
// Escape ends the edit without a name.
#pragma once
#include <fw/fw.h>

#include "VxGUITransApi.h"

class CThumbnailItem;
class CVxGUIIconView;

class VXGUITRANS_API CRenameEdit : public CEdit {
 public:
  CRenameEdit();
  ~CRenameEdit() override;

  // Opens the box over the item's label. FALSE when the item has no thumbnail, the window
  // can't be made, or the path leaves no room for a name.
  BOOL Begin(CThumbnailItem* pItem, CVxGUIIconView* pView);
  // The unique id of the item under edit; -1 while no rename is open.
  DWORD GetTargetID() const { return m_dwTarget; }

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnNcDestroy();
  DECLARE_MESSAGE_MAP()

  void Resize();
  void Close();
  // Sends the end of the edit once: the new name, or none when cancelled.
  void Commit();

  DWORD m_dwTarget;
  BOOL m_bCancelled;
  BYTE m_prevByte;
  CRect m_rcLabel;   // document coordinates
  CPoint m_scroll;   // the view's scroll position at the start
  CFont m_font;
  CVxGUIIconView* m_pView;
  CString m_strExt;
  CRect m_rcLast;    // the box's last place in the view's client coordinates
  BOOL m_bClosing;
  BOOL m_bLeadPending;  // a lead byte waits for its second byte
  BOOL m_bEnded;        // the end of this edit was sent
};
