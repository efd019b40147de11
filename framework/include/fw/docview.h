// Documents, document templates and views.
//
// Command routing: a frame offers a command to its active view, the view to its
// document, the document to its template; then the frame itself and the application
// (see CFrameWnd::OnCmdMsg).
#pragma once
#include <fw/wnd.h>
#include <fw/coll.h>

class CDocument;
class CDocTemplate;
class CView;
class CFrameWnd;
class CListCtrl;
class CTreeCtrl;
struct CPrintInfo;

// What a frame needs to build its client: the document, the view class to make, and
// where it comes from.
struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
  CView* m_pLastView = nullptr;
  CFrameWnd* m_pCurrentFrame = nullptr;
};

class FW_API CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)
 public:
  CDocument();
  ~CDocument() override;

  const CString& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(LPCSTR lpszTitle);  // and the titles of the frames showing it
  const CString& GetPathName() const { return m_strPathName; }
  virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  // Views, in the order they were added.
  virtual POSITION GetFirstViewPosition() const;
  virtual CView* GetNextView(POSITION& rPosition) const;
  void AddView(CView* pView);
  void RemoveView(CView* pView);
  // Calls OnUpdate(pSender, lHint, pHint) of every view but pSender, in order.
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = NULL);
  virtual void OnChangedViewList();  // the last view gone: the document closes
  void UpdateFrameCounts();

  virtual void DeleteContents();
  virtual BOOL OnNewDocument();
  virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
  virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
  // Destroys every frame showing the document, then the document (when auto-deleting).
  virtual void OnCloseDocument();
  virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
  virtual BOOL SaveModified();
  virtual void PreCloseFrame(CFrameWnd* pFrame);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  BOOL m_bAutoDelete;  // deleted when its last view goes
  BOOL m_bEmbedded;
  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate;
  CPtrList m_viewList;
  BOOL m_bModified;

  DECLARE_MESSAGE_MAP()
};

class FW_API CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)
 protected:
  CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);

 public:
  ~CDocTemplate() override;

  enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
  // Sub-strings of the template's string resource ("title\ndoc\nnew\n...").
  virtual BOOL GetDocString(CString& rString, enum DocStringIndex index) const;
  virtual void LoadTemplate();

  virtual POSITION GetFirstDocPosition() const = 0;
  virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
  virtual void AddDocument(CDocument* pDoc);
  virtual void RemoveDocument(CDocument* pDoc);
  virtual CDocument* CreateNewDocument();
  // A frame from m_pFrameClass loaded with the template's resources; its client gets a
  // view of m_pViewClass unless the frame builds its own in OnCreateClient.
  virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
  virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL bEndSession);
  virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
  virtual void SetDefaultTitle(CDocument* pDocument) = 0;

  UINT m_nIDResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;
  CString m_strDocStrings;
};

class FW_API CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)
 public:
  CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                     CRuntimeClass* pViewClass);
  ~CSingleDocTemplate() override;

  POSITION GetFirstDocPosition() const override;
  CDocument* GetNextDoc(POSITION& rPos) const override;
  void AddDocument(CDocument* pDoc) override;
  void RemoveDocument(CDocument* pDoc) override;
  // NULL: a new, empty document. The first call makes the document and the frame (which
  // becomes the thread's main window); later calls reuse both.
  CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
  void SetDefaultTitle(CDocument* pDocument) override;

  CDocument* m_pOnlyDoc;
};

class FW_API CView : public CWnd {
  DECLARE_DYNAMIC(CView)
 protected:
  CView();

 public:
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  virtual BOOL IsSelected(const CObject* pDocItem) const;
  // Scrolling hooks (CScrollView does them).
  virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
  virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);

  virtual void OnInitialUpdate();  // default: OnUpdate(NULL, 0, NULL)
  virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL);

 protected:
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
  virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);  // default: repaint
  virtual void OnDraw(CDC* pDC) = 0;
  void PostNcDestroy() override;  // views delete themselves

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

  CDocument* m_pDocument;

  friend class CDocument;
  friend class CFrameWnd;
  friend class CSplitterWnd;
  DECLARE_MESSAGE_MAP()
};

// A view that is a common control of class lpszClass.
class FW_API CCtrlView : public CView {
  DECLARE_DYNCREATE(CCtrlView)
 public:
  CCtrlView(LPCSTR lpszClass = NULL, DWORD dwStyle = 0);
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  void OnDraw(CDC* pDC) override;
  afx_msg void OnPaint();
  CString m_strClass;
  DWORD m_dwDefaultStyle;
  DECLARE_MESSAGE_MAP()
};

class FW_API CListView : public CCtrlView {
  DECLARE_DYNCREATE(CListView)
 public:
  CListView();
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  CListCtrl& GetListCtrl() const { return *(CListCtrl*)this; }
};

class FW_API CTreeView : public CCtrlView {
  DECLARE_DYNCREATE(CTreeView)
 public:
  CTreeView();
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  CTreeCtrl& GetTreeCtrl() const { return *(CTreeCtrl*)this; }
};

#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)
