// A second module (fw_winpeer.dll): views of its own run-time classes that it places
// into a splitter and a document the test program made.
#pragma once
#include <fw/fw.h>

#ifdef FW_WINPEER_BUILD
#define PEER_API __declspec(dllexport)
#else
#define PEER_API __declspec(dllimport)
#endif

class PEER_API CPeerView : public CView {
  DECLARE_DYNCREATE(CPeerView)
 public:
  CPeerView();
  ~CPeerView() override;
  LPARAM m_lLastHint;
  int m_nUpdates;
  static int s_nAlive;

 protected:
  void OnDraw(CDC* pDC) override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
};

// A list view of the peer's own, on the framework's list view.
class PEER_API CPeerListView : public CListView {
  DECLARE_DYNCREATE(CPeerListView)
};

// Creates a CPeerView at (row, col) of a splitter the caller made, as a view of pDoc.
extern "C" PEER_API BOOL PeerAddView(CSplitterWnd* pSplitter, int row, int col, CDocument* pDoc);
// Calls virtual members of the caller's objects: the document's SetTitle, the splitter's RecalcLayout.
extern "C" PEER_API void PeerRetitle(CDocument* pDoc, const char* pszTitle, CSplitterWnd* pSplitter);
