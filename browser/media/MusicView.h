// CMusicView: the browser's view of a music folder. The audio files of the folder's first
// page are listed in a CMusicListWnd with four columns (title, time, format, size), sorted
// by a clicked column, played one at a time through the background audio player with the
// playing row marked, kept in step with the document's selection, and dragged out as a
// path. Column widths and the sort live in the profile's "ListInfo" section.
//
// Sources by concern:
//   MusicView.cpp      set-up, document updates, messages, rows
//   MusicViewPlay.cpp  playing, sorting, reload and dragging
#pragma once
#include <fw/fw.h>

#include "MusicListRules.h"
#include "VxGUITransApi.h"

class CAudioPlayer;
class CBrowserDocument;
class CSkinCtrlWnd;
class CMusicListWnd;
class CThumbnail;

class VXGUITRANS_API CMusicView : public CView {
  DECLARE_DYNCREATE(CMusicView)
 public:
  enum { kListId = 1, kTemplateId = 3, kEndTimer = 1, kEndTimerMs = 500 };
  CMusicView();
  ~CMusicView() override;

  // Row callback of the list: the row's texts, playing mark and colours. Always 1.
  static int CALLBACK OnListCallback(int row, int first, int last, CSkinCtrlWnd* pRow, void* pView);
  void Sort(int column, int order, BOOL bRedraw);
  // The item of the first page at row, null without a music page or past its end.
  CThumbnail* GetThumbnail(int row);
  // The first row of that path (without regard to case) in the music mode; -1 otherwise.
  int GetIndex(LPCSTR pszPath);
  HRESULT PlayMusic(int row);
  HRESULT StopMusic();
  HRESULT OnPlayMusic(int row);
  HRESULT OnStopMusic(int row);

  CMusicListWnd* GetList() const { return m_pList; }
  CAudioPlayer& Player() { return *m_pPlayer; }
  BOOL IsPlaying() const { return m_bPlaying; }
  BOOL IsDragArmed() const { return m_bDragArmed; }

  void OnInitialUpdate() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void OnDraw(CDC* pDC) override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  CBrowserDocument* GetBrowserDocument() const;
  BOOL IsMusicMode() const;
  int RowCount() const;
  void SortFromProfile(BOOL bRedraw);
  void ClearListSelection();

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnDestroy();
  afx_msg LRESULT OnKeepBeforeExit(WPARAM, LPARAM);
  void KeepColumnWidths();
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg LRESULT OnSort(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListItemChange(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListItemLButtonDown(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListItemDClick(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnListLButtonUp(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStartDrag(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPlayBtn(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStopBtn(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReload(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPreFolderChange(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CMusicListWnd* m_pList;
  CAudioPlayer* m_pPlayer;  // owned
  BOOL m_bPlaying;
  COleDropSource m_dropSource;
  BOOL m_bDragArmed;
  CFont m_rowFont, m_headerFont;
};

// The block a drag of the music list carries: the path with its NUL in 261 zeroed bytes
// (GMEM_MOVEABLE); null for a path that does not fit.
VXGUITRANS_API HGLOBAL MusicDragBlock(LPCSTR pszPath);
