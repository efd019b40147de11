// CVxDocument: the one browser document, and the browser commands turned into hints.
#include <VxDocument/CommandObject.h>
#include <VxDocument/Document.h>

IMPLEMENT_DYNCREATE(CVxDocument, CDocument)

BEGIN_MESSAGE_MAP(CVxDocument, CDocument)
  // Browser commands: sent on to every view
  ON_COMMAND_RANGE(ID_ROTATE_RIGHT, ID_ROTATE_LEFT, &CVxDocument::OnBrowserCommand)
  ON_COMMAND_RANGE(ID_FILE_DELETE, ID_FILE_PROPERTIES, &CVxDocument::OnBrowserCommand)         // and rename
  ON_COMMAND_RANGE(ID_EDIT_SELECT_ALL_FILES, ID_FAVORITE_ADD, &CVxDocument::OnBrowserCommand)  // selection, marks
  ON_COMMAND_RANGE(ID_VIEW_MAP, ID_VIEW_REFRESH, &CVxDocument::OnBrowserCommand)               // and sub-folders
  ON_COMMAND_RANGE(ID_SIMILAR_SEARCH, ID_SIMILAR_LIST, &CVxDocument::OnBrowserCommand)         // and registration
  ON_COMMAND_RANGE(ID_EDIT_COPY, ID_EDIT_CUT, &CVxDocument::OnBrowserCommand)
  ON_COMMAND_RANGE(ID_EDIT_PASTE, ID_EDIT_PASTE, &CVxDocument::OnBrowserCommand)
  ON_COMMAND_RANGE(ID_VIEWMODE_FIRST, ID_VIEWMODE_LAST, &CVxDocument::OnBrowserCommand)
  ON_COMMAND_RANGE(ID_SORT_FIRST, ID_SORT_LAST, &CVxDocument::OnBrowserCommand)
  ON_COMMAND_RANGE(ID_SORT_TYPE_ASC, ID_SORT_TYPE_DESC, &CVxDocument::OnBrowserCommand)
  ON_COMMAND_RANGE(ID_FILTER_FIRST, ID_FILTER_LAST, &CVxDocument::OnBrowserCommand)
  // The current choices
  ON_UPDATE_COMMAND_UI_RANGE(ID_VIEWMODE_FIRST, ID_VIEWMODE_LAST, &CVxDocument::OnUpdateViewMode)
  ON_UPDATE_COMMAND_UI_RANGE(ID_SORT_FIRST, ID_SORT_LAST, &CVxDocument::OnUpdateSort)
  ON_UPDATE_COMMAND_UI_RANGE(ID_SORT_TYPE_ASC, ID_SORT_TYPE_DESC, &CVxDocument::OnUpdateSort)
  ON_UPDATE_COMMAND_UI_RANGE(ID_FILTER_FIRST, ID_FILTER_LAST, &CVxDocument::OnUpdateFilter)
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
  if (nID == ID_SORT_TYPE_ASC) nID = ID_SORT_TYPE_ASC_IN_RANGE;
  if (nID == ID_SORT_TYPE_DESC) nID = ID_SORT_TYPE_DESC_IN_RANGE;
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
