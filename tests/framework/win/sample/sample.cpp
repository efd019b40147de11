// A document/view program on the framework: a frame with a static splitter holding a form
// view from the resource library, a coloured view and a second module's view, and a status
// bar. It gets WinMain from GlimFW.dll.
#include <fw/fw.h>

#include "../peer.h"
#include "sample_res.h"

class CSampleDoc : public CDocument {
  DECLARE_DYNCREATE(CSampleDoc)
};
IMPLEMENT_DYNCREATE(CSampleDoc, CDocument)

// The template's view; the frame builds its own client, so it is never made.
class CSampleView : public CView {
  DECLARE_DYNCREATE(CSampleView)
 protected:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CSampleView, CView)

class CRedView : public CView {
  DECLARE_DYNCREATE(CRedView)
 protected:
  void OnDraw(CDC* pDC) override {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(200, 0, 0));
  }
};
IMPLEMENT_DYNCREATE(CRedView, CView)

class CSampleForm : public CFormView {
  DECLARE_DYNCREATE(CSampleForm)
 public:
  CSampleForm() : CFormView(IDD_SAMPLE_FORM) {}
  CString m_strName = "C:\\写真";
  int m_nCheck = 1;
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_SAMPLE_NAME, m_strName);
    DDX_Check(pDX, IDC_SAMPLE_CHECK, m_nCheck);
  }
};
IMPLEMENT_DYNCREATE(CSampleForm, CFormView)

class CSampleFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CSampleFrame)
 public:
  CSplitterWnd m_wndSplitter;
  CSplitterWnd m_wndRight;
  CStatusBar m_wndStatusBar;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.x = 40;
    cs.y = 30;
    cs.cx = 720;
    cs.cy = 480;
    return TRUE;
  }
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
    if (!m_wndSplitter.CreateStatic(this, 1, 2)) return FALSE;
    if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CSampleForm), CSize(100, 100), pContext)) return FALSE;
    // The form's column is as wide as its template.
    CSize sizeForm = static_cast<CFormView*>(m_wndSplitter.GetPane(0, 0))->GetTotalSize();
    m_wndSplitter.SetColumnInfo(0, sizeForm.cx, 30);
    if (!m_wndRight.CreateStatic(&m_wndSplitter, 2, 1, WS_CHILD | WS_VISIBLE, m_wndSplitter.IdFromRowCol(0, 1)))
      return FALSE;
    if (!m_wndRight.CreateView(0, 0, RUNTIME_CLASS(CRedView), CSize(100, 200), pContext)) return FALSE;
    return PeerAddView(&m_wndRight, 1, 0, pContext->m_pCurrentDoc);
  }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_COUNT};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 2)) return -1;
    m_wndStatusBar.SetPaneText(1, "ファイル数 3");
    return 0;
  }
  afx_msg void OnHello() { AfxMessageBox("こんにちは"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CSampleFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CSampleFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND(ID_SAMPLE_HELLO, &CSampleFrame::OnHello)
END_MESSAGE_MAP()

class CSampleApp : public CWinApp {
 public:
  HINSTANCE m_hResource = nullptr;

  BOOL InitInstance() override {
    m_hResource = AfxLoadLibrary("fw_sample_res.dll");
    if (!m_hResource) {
      AfxMessageBox("There is no fw_sample_res.dll.", MB_ICONHAND);
      return FALSE;
    }
    AfxSetResourceHandle(m_hResource);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CSampleDoc), RUNTIME_CLASS(CSampleFrame),
                                          RUNTIME_CLASS(CSampleView)));
    OnFileNew();
    if (!m_pMainWnd) return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
  }
  int ExitInstance() override {
    if (m_hResource) AfxFreeLibrary(m_hResource);
    return CWinApp::ExitInstance();
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSampleApp, CWinApp)
  ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
END_MESSAGE_MAP()

CSampleApp theApp;
