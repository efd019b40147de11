// GuessPlace.dll: the two exports the toolbar's place command binds and their window,
// which lists the proposals and writes the chosen ones.
#include <windows.h>

#include <Kitlib2/Kitlib2.h>
#include <VxResourceIds.h>
#include <dlgkit/memdialog.h>
#include <imaging/com.h>
#include <shlobj.h>
#include <textkit/path.h>
#include <picturetool/Tool.h>

#include <cstdio>

#include "GuessPlace/GuessPlace.h"

namespace {

const char kSection[] = "Tool1\\GuessPlace";

struct GuessState {
  std::vector<std::string> targets;  // the dropped files, or one folder
  std::vector<guessplace::Proposal> proposals;
  int written = 0;
};

std::string Format(UINT id, const char* a, const char* b = "", int n = 0) {
  char buf[1024];
  snprintf(buf, sizeof buf, picturetool::Text(id).c_str(), a, b, n);
  return buf;
}

void Fill(HWND dlg, GuessState* st) {
  HCURSOR old = SetCursor(LoadCursor(NULL, IDC_WAIT));
  st->proposals = guessplace::Propose(st->targets);
  HWND list = GetDlgItem(dlg, guessplace::kListId);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const guessplace::Proposal& p : st->proposals) {
    std::string name = textkit::FileNameOf(p.path);
    std::string text = p.found ? Format(IDS_GUESS_PROPOSAL, name.c_str(), textkit::FileNameOf(p.from).c_str(),
                                        int((p.gapSeconds + 59) / 60))
                               : Format(IDS_GUESS_NO_PROPOSAL, name.c_str());
    int row = int(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    SendMessageA(list, LB_SETSEL, p.found, row);
  }
  if (st->proposals.empty())
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(picturetool::Text(IDS_GUESS_NONE).c_str()));
  bool any = false;
  for (const guessplace::Proposal& p : st->proposals) any = any || p.found;
  EnableWindow(GetDlgItem(dlg, guessplace::kWriteId), any);
  SetCursor(old);
}

void Write(HWND dlg, GuessState* st) {
  HWND list = GetDlgItem(dlg, guessplace::kListId);
  std::vector<int> chosen;
  for (size_t i = 0; i < st->proposals.size(); ++i)
    if (SendMessageA(list, LB_GETSEL, i, 0) > 0) chosen.push_back(int(i));
  if (chosen.empty()) return;
  guessplace::WriteResult r = guessplace::WriteProposals(st->proposals, chosen);
  if (r.written && !st->written) picturetool::WriteFirstPath(r.first);
  st->written += r.written;
  char buf[512];
  snprintf(buf, sizeof buf, picturetool::Text(IDS_GUESS_WRITTEN).c_str(), r.written);
  std::string text = buf;
  if (r.failed) {
    snprintf(buf, sizeof buf, picturetool::Text(IDS_GUESS_NOT_WRITTEN).c_str(), r.failed);
    text += "\n";
    text += buf;
  }
  MessageBoxA(dlg, text.c_str(), picturetool::Text(IDS_TB_TOOL_GUESS_PLACE).c_str(),
              r.failed ? MB_ICONEXCLAMATION : MB_ICONINFORMATION);
  Fill(dlg, st);
}

INT_PTR CALLBACK GuessProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* st = dlgkit::DialogState<GuessState>(dlg, msg, lp);
  switch (msg) {
    case WM_INITDIALOG: {
      std::string folder = st->targets.empty() ? std::string() : st->targets.front();
      DWORD a = GetFileAttributesA(folder.c_str());
      if (st->targets.size() > 1 || (a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY)))
        folder = textkit::FolderOf(folder);
      SetDlgItemTextA(dlg, guessplace::kFolderId, folder.c_str());
      dlgkit::CenterOverOwner(dlg);
      Fill(dlg, st);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case guessplace::kReadId: {
          char folder[MAX_PATH] = "";
          GetDlgItemTextA(dlg, guessplace::kFolderId, folder, sizeof folder);
          st->targets.assign(1, folder);
          CMWriteProfileString(kSection, "Folder", folder);
          Fill(dlg, st);
          break;
        }
        case guessplace::kWriteId: Write(dlg, st); break;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); break;
      }
      return TRUE;
  }
  return FALSE;
}

long RunWindow(CWnd* pPane, const std::vector<std::string>& targets) {
  using picturetool::Text;
  imaging::ComScope com;
  GuessState st;
  st.targets = targets;
  const DWORD child = WS_CHILD | WS_VISIBLE;
  dlgkit::DialogTemplate t(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 330, 230,
                           Text(IDS_TB_TOOL_GUESS_PLACE).c_str());
  t.Add(dlgkit::kStatic, child, 8, 8, 314, 20, 0xFFFF, Text(IDS_GUESS_NOTE).c_str());
  t.Add(dlgkit::kStatic, child, 8, 34, 40, 10, 0xFFFF, Text(IDS_GUESS_FOLDER).c_str());
  t.Add(dlgkit::kEdit, child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 48, 32, 214, 13, guessplace::kFolderId, "");
  t.Add(dlgkit::kButton, child | WS_TABSTOP, 268, 31, 54, 14, guessplace::kReadId, Text(IDS_GUESS_READ).c_str());
  t.Add(dlgkit::kListBox,
        child | WS_BORDER | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT, 8, 52, 314,
        150, guessplace::kListId, "");
  t.Add(dlgkit::kButton, child | WS_TABSTOP | BS_DEFPUSHBUTTON, 212, 208, 54, 14, guessplace::kWriteId,
        Text(IDS_GUESS_WRITE).c_str());
  t.Add(dlgkit::kButton, child | WS_TABSTOP, 268, 208, 54, 14, IDCANCEL, Text(IDS_GUESS_CLOSE).c_str());
  HWND owner = picturetool::OwnerWindow(pPane ? pPane->GetSafeHwnd() : NULL);
  t.Run(owner ? GetAncestor(owner, GA_ROOT) : NULL, GuessProc, reinterpret_cast<LPARAM>(&st));
  return 0;
}

// The folder the window opens on without files: the last one read, else My Pictures.
std::string StartFolder() {
  std::string folder = (LPCSTR)CMGetProfileString(kSection, "Folder", "");
  DWORD a = GetFileAttributesA(folder.c_str());
  if (!folder.empty() && a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) return folder;
  char pictures[MAX_PATH] = "";
  if (SUCCEEDED(SHGetFolderPathA(NULL, CSIDL_MYPICTURES, NULL, 0, pictures))) return pictures;
  return std::string();
}

}  // namespace

// Opens the window on the last folder read (the list, when one is given, on its files).
// 0 when the window ran.
extern "C" __declspec(dllexport) long WINAPI OpenWindow(int nMode, CWnd* pPane, CGFileInfoList* pList) {
  std::vector<std::string> targets = picturetool::Paths(pList);
  if (targets.empty()) targets.push_back(StartFolder());
  return RunWindow(pPane, targets);
}

// Opens the window on the dropped files (folders among them stand for their pictures).
extern "C" __declspec(dllexport) long WINAPI OpenDropWindow(int nArgument, CWnd* pPane, CGFileInfoList* pList) {
  return RunWindow(pPane, picturetool::Paths(pList));
}
