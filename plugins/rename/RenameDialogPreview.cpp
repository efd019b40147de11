// The preview of the new names and the rename run under its progress window.
#include <Kitlib2/Profile.h>
#include <Kitlib2/Utility.h>
#include <KitlibEx/KitlibEx.h>
#include <VxGUIDB.h>
#include <VxGUIDB/Utility.h>
#include <VxResourceIds.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include <unordered_set>

#include "RenameDialog.h"
#include "RenameEngine.h"
#include "RenameProgressDialog.h"

using namespace renamerules;

namespace {

CString LoadText(UINT nID) { return CResourceLoader(AfxGetResourceHandle()).LoadStringA(nID); }

// The engine's questions, progress and follow-ups, over the dialog.
class DialogHost : public renameengine::Host {
 public:
  DialogHost(CWnd* pDialog, CRenameProgressDialog* pProgress) : m_pDialog(pDialog), m_pProgress(pProgress) {}

  void Pump() override { CMTLProcessWinMessages(m_pDialog->GetSafeHwnd()); }

  ReadOnlyAnswer AskReadOnly(const std::string& oldName, const std::string& newName, bool many) override {
    CString text;
    text.Format(LoadText(IDS_RENAME_READ_ONLY), (LPCSTR)Shorten(oldName), (LPCSTR)Shorten(newName));
    // No owner: the rename dialog is disabled for the run.
    UINT type = MB_ICONQUESTION | MB_DEFBUTTON2 | (many ? MB_CMTLX_YESALLNOALL2 : MB_YESNO);
    switch (CMTLxMessageBox(NULL, text, LoadText(IDS_RENAME_CAPTION), type)) {
      case IDYES:
        return ReadOnlyAnswer::Yes;
      case IDCMTLX_YESTOALL:
        return ReadOnlyAnswer::YesToAll;
      case IDCMTLX_NOTOALL:
        return ReadOnlyAnswer::NoToAll;
      default:
        return ReadOnlyAnswer::No;
    }
  }

  void Step() override {
    if (m_pProgress->GetSafeHwnd()) m_pProgress->Step();
  }

  // The database and the check marks follow every move (paths they do not hold are no
  // error): a renamed marked file stays marked under its new name.
  void Moved(const std::string& from, const std::string& to) override {
    CThumbnail::MoveFileFromDatabase(from.c_str(), to.c_str());
  }

  int ContNameSetting() override { return CMGetProfileInt("Tool1\\Rename", "ContName", 0); }

  std::string ClipFactsPath() override {
    char exe[MAX_PATH * 2] = {};
    DWORD n = ::GetModuleFileNameA(NULL, exe, sizeof exe);
    if (n == 0 || n >= sizeof exe) return std::string();
    return textkit::FolderPartOf(exe) + "Core\\ScoreHall\\ClipFacts.dll";
  }

  std::string SkipText() override { return (LPCSTR)LoadText(IDS_RENAME_SKIP); }

 private:
  // A name cut to 600 pixels with a path ellipsis, in the dialog's font.
  CString Shorten(const std::string& name) {
    std::vector<char> buffer(name.begin(), name.end());
    buffer.resize(name.size() + 8, '\0');
    CClientDC dc(m_pDialog);
    CFont* pOld = dc.SelectObject(m_pDialog->GetFont());
    CRect rc(0, 0, 600, 100);
    ::DrawTextA(dc.GetSafeHdc(), buffer.data(), -1, &rc, DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    dc.SelectObject(pOld);
    return CString(buffer.data());
  }

  CWnd* m_pDialog;
  CRenameProgressDialog* m_pProgress;
};

}  // namespace

BOOL CRenameDialog::UpdatePreview() {
  if (!m_pFiles) return FALSE;
  CRenameWaitDlg wait;
  if (m_nFiles > kPreviewProgressAbove && wait.CreateModeless(this)) {
    wait.SetText(LoadText(IDS_PLEASE_WAIT));
    wait.SetRange(m_nFiles);
    wait.CenterWindow(this);
    wait.ShowWindow(SW_SHOWNA);
  }
  std::unordered_set<std::string> listed;
  for (POSITION pos = m_pFiles->GetHeadPosition(); pos;) listed.insert(textkit::FoldCase((LPCSTR)m_pFiles->GetNext(pos).path));

  BOOL ownName = IsDlgButtonChecked(IDC_RENAME_OWN_NAME) == BST_CHECKED;
  CString typed;
  m_wndBaseName.GetWindowText(typed);
  bool foreignTold = false;
  int row = 0;
  for (POSITION pos = m_pFiles->GetHeadPosition(); pos; ++row) {
    std::string path = (LPCSTR)m_pFiles->GetNext(pos).path;
    PathParts parts = SplitPath(path);
    std::string base = ownName ? parts.title : std::string((LPCSTR)typed);
    std::string newName = NewName(base, m_pattern, row);
    std::string newFileName = newName + parts.extension;
    WIN32_FIND_DATAA found;
    HANDLE h = ::FindFirstFileA((parts.folder + newFileName).c_str(), &found);
    std::string foundName;
    if (h != INVALID_HANDLE_VALUE) {
      foundName = found.cFileName;
      ::FindClose(h);
    }
    bool isListed = h != INVALID_HANDLE_VALUE && listed.count(textkit::FoldCase(parts.folder + foundName)) > 0;
    switch (ClassifyPreview(newFileName, h != INVALID_HANDLE_VALUE ? &foundName : nullptr, isListed)) {
      case PreviewRow::NewName:
        m_wndPreview.SetItemText(row, 1, newName.c_str());
        break;
      case PreviewRow::Clash:
        if (wait.GetSafeHwnd()) wait.ShowWindow(SW_HIDE);
        Message(IDS_RENAME_NAME_CLASH, MB_ICONEXCLAMATION);
        GetDlgItem(IDOK)->EnableWindow(TRUE);
        return FALSE;
      case PreviewRow::Foreign:
        if (!foreignTold) Message(IDS_RENAME_NAME_TAKEN, MB_ICONEXCLAMATION);
        foreignTold = true;
        break;
    }
    if (wait.GetSafeHwnd()) wait.Step(1);
  }
  if (wait.GetSafeHwnd()) wait.ShowWindow(SW_HIDE);
  GetDlgItem(IDOK)->EnableWindow(TRUE);
  return TRUE;
}

void CRenameDialog::OnOK() {
  if (!m_pFiles) return;
  // Nothing is renamed to names the user has not seen: forbidden characters go (told
  // once), a preview still to come is made now, and the next OK renames.
  if (CleanBaseName() || !GetDlgItem(IDOK)->IsWindowEnabled()) {
    PreviewNow();
    return;
  }
  std::vector<renameengine::Item> items;
  int row = 0;
  for (POSITION pos = m_pFiles->GetHeadPosition(); pos && row < m_nFiles; ++row) {
    renameengine::Item item;
    item.oldPath = (LPCSTR)m_pFiles->GetNext(pos).path;
    item.newName = (LPCSTR)m_wndPreview.GetItemText(row, 1);
    // A row the preview never named keeps its file as it is.
    if (item.newName.empty()) item.newName = SplitPath(item.oldPath).title;
    items.push_back(item);
  }

  CRenameProgressDialog progress;
  if (progress.Create(this)) {
    progress.SetTitle(IDS_RENAME_CAPTION);
    progress.SetText(LoadText(IDS_RENAME_RUNNING));
    progress.SetRange((int)items.size());
    progress.ShowWindow(SW_SHOW);
  }
  EnableWindow(FALSE);
  HRESULT hrCom = ::CoInitialize(NULL);
  DialogHost host(this, &progress);
  renameengine::Result result = renameengine::Run(items, host);
  if (SUCCEEDED(hrCom)) ::CoUninitialize();
  SaveSettings();
  if (progress.GetSafeHwnd()) {
    progress.ShowWindow(SW_HIDE);
    progress.DestroyWindow();
  }
  EnableWindow(TRUE);

  if (result.failures > 0) {
    CString text = LoadText(result.successes > 0 ? IDS_RENAME_SOME_FAILED : IDS_RENAME_ALL_FAILED);
    if (!result.leftTemporary.empty()) {
      text += "\n\n";
      text += LoadText(IDS_RENAME_LEFT_TEMPORARY);
      for (const std::string& path : result.leftTemporary) {
        text += "\n";
        text += path.c_str();
      }
    }
    ::MessageBoxA(m_hWnd, text, LoadText(IDS_RENAME_CAPTION), MB_OK | MB_ICONEXCLAMATION);
  }
  EndDialog(IDOK);
}
