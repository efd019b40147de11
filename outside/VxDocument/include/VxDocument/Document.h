// CVxDocument: the document of the main program's single-document template. It holds
// the one CBrowserDocument and turns the browser's menu and toolbar commands into
// CSendCommandObject hints for its views.
//
// Commands: the frame offers commands to the active view and then to its document; the
// document takes every browser command (rotation, delete, rename, properties, selection,
// marks, map, sub-folders, reload, similar images, copy, cut, paste, view modes, sorts,
// filters) and sends it to all views as UpdateAllViews(NULL, VXHINT_COMMAND,
// &CSendCommandObject(id)). The type sorts 29710/29711 go out as 29568/29569. The view
// mode, sort and filter items show the current choice as a radio mark.
#pragma once

#include <VxDocument/BrowserDocument.h>

class VXDOC_API CVxDocument : public CDocument {
  DECLARE_DYNCREATE(CVxDocument)
 public:
  CVxDocument();
  ~CVxDocument() override;

  CBrowserDocument* GetBrowser() { return m_pBrowser; }
  const CBrowserDocument* GetBrowser() const { return m_pBrowser; }

  // The model goes; the settings stay (the document writes them when it ends).
  void DeleteContents() override;

  // The browser commands the document passes on (the ids of its command handlers).
  static BOOL IsBrowserCommand(UINT nID);

 protected:
  afx_msg void OnBrowserCommand(UINT nID);
  afx_msg void OnUpdateViewMode(CCmdUI* pCmdUI);
  afx_msg void OnUpdateSort(CCmdUI* pCmdUI);
  afx_msg void OnUpdateFilter(CCmdUI* pCmdUI);

 private:
  CBrowserDocument* m_pBrowser;
  DECLARE_MESSAGE_MAP()
};
