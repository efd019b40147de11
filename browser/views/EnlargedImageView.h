// CEnlargedImageView: the browser view that shows the one selected file enlarged: a still
// picture turned upright and fitted, or a movie played by the movie controller inside the
// view with a play button, a full-view button and a position slider along its bottom.
// The main frame creates it by run-time class over the focus-information view.
//
// The three movie controls are the skinned image buttons and the movie control bar
// (MakeMovieControls is the one place that makes them).
#pragma once
#include <fw/fw.h>

#include <Kitlib2/CMDIB.h>

#include "VxGUITransApi.h"

class CThumbnail;
class CMovieCtrl;
class CImgButton;
class CMovieCtrlBar;
class CVxDocument;
class CFileTime;

// The text shown instead of a picture, and the string that filled it.
class CEnlargedMessage {
 public:
  CEnlargedMessage() : m_nID(0) {}
  void Clear() { m_strText.Empty(), m_nID = 0; }
  BOOL HasText() const { return !m_strText.IsEmpty(); }
  void SetMessage(UINT nID);
  void SetFormattedMessage(UINT nID, double dValue);
  void AppendMessage(UINT nID);
  void Draw(CDC* pDC);
  const CString& GetText() const { return m_strText; }

 private:
  CString m_strText;
  UINT m_nID;
};

class VXGUITRANS_API CEnlargedImageView : public CScrollView {
  DECLARE_DYNCREATE(CEnlargedImageView)
 public:
  CEnlargedImageView();
  ~CEnlargedImageView() override;

  CVxDocument* GetDocument() const;
  void OnInitialUpdate() override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

  HRESULT LoadPicture(CThumbnail* pItem);
  HRESULT LoadMovie(CThumbnail* pItem);
  void ResetFocusView();
  BOOL CreateStillImageBuffer();
  // The box a picture is loaded into: the monitor's size, or the view's when larger.
  SIZE LoadBox();
  BOOL GoOnToNextEntry();
  void GetVideoRect(RECT* pRect);
  void GetPlayBtnRect(RECT* pRect);
  void GetFullBtnRect(RECT* pRect);
  void GetSliderRect(RECT* pRect);
  void GetDrawRect(int nWidth, int nHeight, CRect& rect);
  UINT GetNewWndID();
  void UpdatePlayPosFromSlider();
  void UpdatePlayPosFromMovie();
  void MovieCtrl_FullScreenMode(int nOn);

  // What is shown (for the frame's and tests' questions).
  BOOL HasPicture() const { return !m_picture.IsEmpty(); }
  BOOL IsMovieLoaded() const { return m_bMovieLoaded; }
  SIZE GetPictureSize() const { return m_picture.GetDimensions(); }
  SIZE GetBufferSize() const { return m_buffer.GetDimensions(); }
  const CString& GetMessageText() const { return m_message.GetText(); }
  const CString& GetCaption() const { return m_strCaption; }

 protected:
  void OnDraw(CDC* pDC) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void MakeMovieControls();
  void PlaceMovieControls();
  void FitSliderChannel();
  HWND GetMainWindow() const;
  void DropRetry();

  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  CCMDIB m_picture;
  CCMDIB m_buffer;
  // The picture's file and the box it was loaded into (its monitor's size).
  CString m_strPicturePath;
  SIZE m_szLoadBox;
  CImgButton* m_pPlayBtn;
  CImgButton* m_pFullBtn;
  CMovieCtrlBar* m_pSlider;
  UINT m_nPlayID, m_nFullID, m_nSliderID;
  BOOL m_bDragging;
  int m_nLastSought;
  BOOL m_bMovieLoaded;
  CMovieCtrl* m_pMovie;
  CEnlargedMessage m_message;
  RECT m_rcWindow;
  BOOL m_bSeeking;
  CFileTime* m_pShown;
  CString m_strCaption;
  HFONT m_hCaptionFont;
  BOOL m_bRepeat;
  BOOL m_bRetryPending;
};
