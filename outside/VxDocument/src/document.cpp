// CVxDocument: the one browser document, and the browser commands turned into hints.
#include <VxDocument/CommandObject.h>
#include <VxDocument/Document.h>

IMPLEMENT_DYNCREATE(CVxDocument, CDocument)

BEGIN_MESSAGE_MAP(CVxDocument, CDocument)
  // Browser commands: sent on to every view
  ON_COMMAND_RANGE(29100, 29101, &CVxDocument::OnBrowserCommand)  // rotate right, left
  ON_COMMAND_RANGE(29505, 29507, &CVxDocument::OnBrowserCommand)  // delete, rename, properties
  ON_COMMAND_RANGE(29511, 29518, &CVxDocument::OnBrowserCommand)  // selection, marks, favourite
  ON_COMMAND_RANGE(29534, 29536, &CVxDocument::OnBrowserCommand)  // map, sub-folders, reload
  ON_COMMAND_RANGE(29725, 29727, &CVxDocument::OnBrowserCommand)  // similar images
  ON_COMMAND_RANGE(ID_EDIT_COPY, ID_EDIT_CUT, &CVxDocument::OnBrowserCommand)
  ON_COMMAND_RANGE(ID_EDIT_PASTE, ID_EDIT_PASTE, &CVxDocument::OnBrowserCommand)
  ON_COMMAND_RANGE(VXCMD_VIEWMODE_FIRST, VXCMD_VIEWMODE_LAST, &CVxDocument::OnBrowserCommand)
  ON_COMMAND_RANGE(VXCMD_SORT_FIRST, VXCMD_SORT_LAST, &CVxDocument::OnBrowserCommand)
  ON_COMMAND_RANGE(VXCMD_SORT_TYPE_ASC, VXCMD_SORT_TYPE_DESC, &CVxDocument::OnBrowserCommand)
  ON_COMMAND_RANGE(VXCMD_FILTER_FIRST, VXCMD_FILTER_LAST, &CVxDocument::OnBrowserCommand)
  // The current choices
  ON_UPDATE_COMMAND_UI_RANGE(VXCMD_VIEWMODE_FIRST, VXCMD_VIEWMODE_LAST, &CVxDocument::OnUpdateViewMode)
  ON_UPDATE_COMMAND_UI_RANGE(VXCMD_SORT_FIRST, VXCMD_SORT_LAST, &CVxDocument::OnUpdateSort)
  ON_UPDATE_COMMAND_UI_RANGE(VXCMD_SORT_TYPE_ASC, VXCMD_SORT_TYPE_DESC, &CVxDocument::OnUpdateSort)
  ON_UPDATE_COMMAND_UI_RANGE(VXCMD_FILTER_FIRST, VXCMD_FILTER_LAST, &CVxDocument::OnUpdateFilter)
END_MESSAGE_MAP()

CVxDocument::CVxDocument() : m_pBrowser(new CBrowserDocument(this)) {}

CVxDocument::~CVxDocument() {
  m_pBrowser->SaveSettings();
  delete m_pBrowser;
}

void CVxDocument::DeleteContents() {
  m_pBrowser->DeleteAllPages();
  CDocument::DeleteContents();
}

BOOL CVxDocument::IsBrowserCommand(UINT nID) {
  const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetThisMessageMap(), WM_COMMAND, CN_COMMAND, nID);
  return pEntry != nullptr;
}

void CVxDocument::OnBrowserCommand(UINT nID) {
  // The browser sorts only by ids of its range: the type sorts travel as two of them.
  if (nID == VXCMD_SORT_TYPE_ASC) nID = VXCMD_SORT_TYPE_ASC_HINT;
  if (nID == VXCMD_SORT_TYPE_DESC) nID = VXCMD_SORT_TYPE_DESC_HINT;
  CSendCommandObject command(nID);
  UpdateAllViews(nullptr, VXHINT_COMMAND, &command);
}

void CVxDocument::OnUpdateViewMode(CCmdUI* pCmdUI) {
  pCmdUI->Enable(TRUE);
  UINT code = CBrowserViewMode::ToCgViewID(m_pBrowser->GetViewMode());
  pCmdUI->SetRadio(code != 0 && (UINT)CSendCommandObject::ValueOfID(pCmdUI->m_nID) == code);
}

void CVxDocument::OnUpdateSort(CCmdUI* pCmdUI) {
  pCmdUI->Enable(TRUE);
  pCmdUI->SetRadio((UINT)CSendCommandObject::ValueOfID(pCmdUI->m_nID) == m_pBrowser->GetSortType());
}

void CVxDocument::OnUpdateFilter(CCmdUI* pCmdUI) {
  pCmdUI->Enable(TRUE);
  pCmdUI->SetRadio(CSendCommandObject::ValueOfID(pCmdUI->m_nID) == m_pBrowser->GetBrowserStatus().GetFilterID());
}
