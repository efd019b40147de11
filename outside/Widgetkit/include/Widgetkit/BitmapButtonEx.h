// Image buttons: owner-drawn buttons with four faces (normal, selected, focus/hover,
// disabled) from bitmap resources, a hover state, a tooltip and a highlight option.
#pragma once
#include <fw/fw.h>

#include <Widgetkit/WidgetkitApi.h>

// The face of an image button: selected when pressed and there is a selected image,
// disabled likewise, hot (the focus image) while hovered or checked, else normal; a
// missing image falls back to the normal one.
enum WidgetkitFace { WKFACE_NORMAL = 0, WKFACE_SELECTED = 1, WKFACE_HOT = 2, WKFACE_DISABLED = 3 };
WIDGETKIT_API WidgetkitFace WidgetkitChooseFace(UINT nItemState, BOOL bHover, BOOL bChecked, BOOL bHasSelected,
                                                BOOL bHasHot, BOOL bHasDisabled);

class WIDGETKIT_API CBitmapButtonEx : public CBitmapButton {
  DECLARE_DYNAMIC(CBitmapButtonEx)
 public:
  CBitmapButtonEx();
  ~CBitmapButtonEx() override;

  // The tooltip: a string of the resource chain, or a text; bActivate shows it at once.
  BOOL SetToolTipText(UINT nIDText, BOOL bActivate = TRUE);
  BOOL SetToolTipText(LPCSTR lpszText, BOOL bActivate = TRUE);
  void ActivateToolTip(BOOL bActivate);
  // Takes the tip down if it shows; it shows again on the next visit.
  void PopToolTip();

  BOOL IsHover() const { return m_bHover; }
  // Hover as the mouse would set it (enter TRUE, leave FALSE); repaints on a change.
  void SetHover(BOOL bHover);
  // The highlight option: derived buttons draw their text in the highlight colour.
  void SetHighlight(BOOL bHighlight) { m_bHighlight = bHighlight; }
  BOOL IsHighlight() const { return m_bHighlight; }

  // The bitmap for a drawing state (null when there is none at all).
  CBitmap* GetFaceBitmap(UINT nItemState);
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg LRESULT OnMouseLeave(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

  BOOL m_bHover;
  BOOL m_bTracking;
  BOOL m_bHighlight;
  CToolTipCtrl m_toolTip;
};

// The image button whose normal face can be replaced at run time (a title bar that
// changes with its state) and that can act as a check box.
class WIDGETKIT_API CBitmapButtonEx2 : public CBitmapButtonEx {
  DECLARE_DYNAMIC(CBitmapButtonEx2)
 public:
  CBitmapButtonEx2();
  // Replaces the normal face by a bitmap resource; FALSE (face kept) when it won't load.
  BOOL ReplaceNormalBitmap(UINT nIDBitmap);
  void SetCheckStyle(BOOL bCheckStyle) { m_bCheckStyle = bCheckStyle; }
  BOOL IsCheckStyle() const { return m_bCheckStyle; }
  void SetChecked(BOOL bChecked);
  BOOL IsChecked() const { return m_bChecked; }

 protected:
  BOOL m_bCheckStyle;
  BOOL m_bChecked;
};

// The toolbar's plain image button.
class WIDGETKIT_API CBitmapButtonEx21 : public CBitmapButtonEx {
  DECLARE_DYNAMIC(CBitmapButtonEx21)
 public:
  CBitmapButtonEx21() {}
};

// The toolbar's image button that knows its owner and command: files dropped on it
// (WM_DROPFILES, when accepted) are handed to the owner as that message before the
// command is sent, so the owner's next command takes them; an extra colour for the
// owner's drawing.
class WIDGETKIT_API CBitmapButtonEX3 : public CBitmapButtonEx {
  DECLARE_DYNAMIC(CBitmapButtonEX3)
 public:
  CBitmapButtonEX3();
  void SetOwnerCommand(CWnd* pOwner, UINT nCommand);
  CWnd* GetCommandOwner() const { return m_pCommandOwner; }
  UINT GetOwnerCommand() const { return m_nCommand; }
  void SetAcceptFiles(BOOL bAccept);
  void SetExtraColor(COLORREF clr) { m_clrExtra = clr; }
  COLORREF GetExtraColor() const { return m_clrExtra; }

 protected:
  afx_msg void OnDropFiles(HDROP hDrop);
  DECLARE_MESSAGE_MAP()

  CWnd* m_pCommandOwner;
  UINT m_nCommand;
  COLORREF m_clrExtra;
};
