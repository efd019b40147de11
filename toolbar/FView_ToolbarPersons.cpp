// The toolbar pane's person list: its entry editor, the face classification and the
// image picker.
#include "FView_Toolbar.h"

#include <Kitlib2/Kitlib2.h>
#include <MainWndMessages.h>
#include <VxResourceIds.h>

#include "EntryEditDlg.h"
#include "FView_Folder.h"
#include "FaceClassifyRunner.h"
#include "ImagePickerDlg.h"
#include "MainFrame.h"
#include "ToolItemListWnd.h"
#include "ui/ChoiceDialogs.h"
#include "ui/ResourceDialog.h"

void CFView_Toolbar::OnEntryEditorButton() {
  CToolButtonInfo* pInfo = FindToolButton(ID_TB_PERSON, TRUE);
  if (!pInfo || !pInfo->pList) return;
  // While the editor is open its items wait for it.
  const int nState = IsEntryEditorActive() ? TOOLLIST_ITEM_DISABLED : TOOLLIST_ITEM_NORMAL;
  for (int nItem : {ID_TB_PERSON_EDITOR, ID_TB_PERSON_CLASSIFY, ID_TB_PERSON_PICKER})
    pInfo->pList->SetItemState(nItem, nState);
  ShowButtonList(ID_TB_PERSON);
}

void CFView_Toolbar::OnOpenEntryEditor() {
  CloseSlideCollectDlg();
  // One that closed itself and whose notice has not come yet goes now.
  if (m_pEntryEditor && !m_pEntryEditor->IsShown()) CloseEntryEditorDlg(0);
  if (m_pEntryEditor) {
    m_pEntryEditor->ShowWindow(SW_SHOW);
    return;
  }
  m_pEntryEditor = new CEntryEditDlg(NULL);
  if (m_pEntryEditor->Open(this) != 1) {
    delete m_pEntryEditor;
    m_pEntryEditor = NULL;
  }
}

BOOL CFView_Toolbar::IsEntryEditorActive() const {
  return m_pEntryEditor && m_pEntryEditor->GetSafeHwnd() && m_pEntryEditor->IsWindowEnabled();
}

BOOL CFView_Toolbar::CloseEntryEditor() {
  CloseEntryEditorDlg(0x10000);
  return m_pEntryEditor == NULL;
}

int CFView_Toolbar::CloseEntryEditorDlg(int nMode) {
  if (!m_pEntryEditor) return 0;
  if (nMode == 0x10000) {
    CString strCaption = LoadResourceText(IDS_TB_PERSON_EDITOR), strText;
    strText.Format(IDS_TB_CLOSE_EDITOR_ASK, (LPCSTR)strCaption);
    strText += LoadResourceText(IDS_TB_CLOSE_EDITOR_NOTE);
    if (::MessageBoxA(GetSafeHwnd(), strText, strCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO)
      return IDNO;
  }
  CEntryEditDlg* pEditor = m_pEntryEditor;
  m_pEntryEditor = NULL;
  delete pEditor;  // closes it first
  return 0;
}

LRESULT CFView_Toolbar::OnCloseEditor(WPARAM wParam, LPARAM) {
  // The notice of an editor that closed itself arrives late: an editor opened again
  // since then stays.
  if (wParam == 0 && m_pEntryEditor && m_pEntryEditor->IsShown()) return 0;
  return CloseEntryEditorDlg((int)wParam);
}

int CFView_Toolbar::ChooseFileTarget(int* pnChoice) {
  CTargetChoiceDlg dlg(AfxGetMainWnd());
  dlg.SetMode(*pnChoice == 10 ? 3 : 0, 0);
  INT_PTR nResult = dlg.DoModal();
  if (nResult != IDOK) return (int)nResult;
  *pnChoice = dlg.GetChoice();
  return 1;
}

void CFView_Toolbar::OnFaceClassifyView() {
  CloseSlideCollectDlg();
  if (RefusedByViewMode(IDS_CLASSIFY_NOT_IN_MONTH_VIEW, IDS_CLASSIFY_NOT_IN_MUSIC_VIEW, MB_ICONEXCLAMATION)) return;
  int nChoice = 10;
  if (ChooseFileTarget(&nChoice) != 1) return;
  if (m_pFaceClassify) {
    CGFileInfoList files(10);  // the browser fills it: without a list nothing is classified
    m_pFaceClassify->Init(toolbarrules::ClassifyFlags(nChoice), &files);
    m_pFaceClassify->Run();
    m_pFaceClassify->Finish();
  }
  CWnd* pMain = AfxGetMainWnd();
  if (!pMain) return;
  // The folder pane opens on the persons' group; without a tree that knows it, the
  // browser is told the classification's own way.
  const std::string display = (LPCSTR)CMGetProfileString("ImportPlugin\\Category", "Display", "");
  auto send = [&](const std::string& text) {
    std::string block = toolbarrules::FolderChangeBlock(text);
    COPYDATASTRUCT cds = {CDID_CHANGE_FOLDER, (DWORD)block.size(), (PVOID)block.data()};
    pMain->SendMessage(WM_COPYDATA, (WPARAM)m_hWnd, (LPARAM)&cds);
  };
  send("|" + display + "|1|");
  CMainFrame* pFrame = GetMainFrame();
  CFView_Folder* pFolder = pFrame ? pFrame->GetFolderPane() : NULL;
  if (!pFolder || !pFolder->OpenTreeItemByName(LoadResourceText(IDS_TREE_PERSON_GROUP))) send("1|" + display);
  pMain->SendMessage(WM_REFRESH_FOLDERS, (WPARAM)pMain->m_hWnd, 1);
}

void CFView_Toolbar::OnImagePicker() {
  CloseSlideCollectDlg();
  if (m_pImagePicker) {
    m_pImagePicker->ShowWindow(SW_SHOW);
    return;
  }
  m_pImagePicker = new CImagePickerDlg(this);
  INT_PTR nResult = m_pImagePicker->DoModal();
  delete m_pImagePicker;
  m_pImagePicker = NULL;
  if (nResult == IDOK)
    if (CWnd* pMain = AfxGetMainWnd()) pMain->SendMessage(WM_REFRESH_FOLDERS, (WPARAM)m_hWnd, 1);
}

LRESULT CFView_Toolbar::OnCloseImagePicker(WPARAM wParam, LPARAM) {
  if (m_pImagePicker && m_pImagePicker->GetSafeHwnd()) m_pImagePicker->EndDialog((int)wParam);
  return 0;
}
