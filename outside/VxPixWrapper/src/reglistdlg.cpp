// PSWOpenRegListDlg: the registered pictures by folder (template built in memory).
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "VxPixWrapper.h"
#include "dlgkit/memdialog.h"
#include "similar.h"

namespace {

constexpr WORD kListId = 1001;
constexpr WORD kRemoveId = 1002;
constexpr WORD kCountId = 1003;

struct DialogState {
  std::vector<psw::FolderCount> folders;
};

void Refill(HWND dlg, DialogState* st) {
  HWND list = GetDlgItem(dlg, kListId);
  st->folders = psw::GroupByFolder(psw::RegisteredPictures());
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  int total = 0, row = 0;
  for (const psw::FolderCount& f : st->folders) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(f.folder.c_str());
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    std::string n = std::to_string(f.count);
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(n.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    total += f.count;
    ++row;
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  std::string summary = std::to_string(st->folders.size()) + " フォルダ、" + std::to_string(total) + " 枚が登録されています。";
  SetDlgItemTextA(dlg, kCountId, summary.c_str());
  EnableWindow(GetDlgItem(dlg, kRemoveId), FALSE);
}

void Init(HWND dlg, DialogState* st) {
  HWND list = GetDlgItem(dlg, kListId);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  RECT rc;
  GetClientRect(list, &rc);
  int countWidth = 64;
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  col.pszText = const_cast<char*>("フォルダ");
  col.cx = (rc.right - rc.left) - countWidth - GetSystemMetrics(SM_CXVSCROLL);
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
  col.fmt = LVCFMT_RIGHT;
  col.pszText = const_cast<char*>("枚数");
  col.cx = countWidth;
  SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&col));
  Refill(dlg, st);
}

void RemoveSelected(HWND dlg, DialogState* st) {
  HWND list = GetDlgItem(dlg, kListId);
  for (int i = -1; (i = ListView_GetNextItem(list, i, LVNI_SELECTED)) >= 0;)
    if (i < static_cast<int>(st->folders.size())) psw::UnregisterFolder(st->folders[static_cast<size_t>(i)].folder);
  Refill(dlg, st);
}

INT_PTR CALLBACK RegListProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* st = dlgkit::DialogState<DialogState>(dlg, msg, lp);
  switch (msg) {
    case WM_INITDIALOG:
      Init(dlg, st);
      dlgkit::CenterOverOwner(dlg);
      return TRUE;
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lp);
      if (st && nm->idFrom == kListId && nm->code == LVN_ITEMCHANGED)
        EnableWindow(GetDlgItem(dlg, kRemoveId), ListView_GetSelectedCount(nm->hwndFrom) > 0);
      break;
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kRemoveId:
          if (st) RemoveSelected(dlg, st);
          return TRUE;
        case IDOK:
        case IDCANCEL:
          EndDialog(dlg, IDOK);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

PSW_API int WINAPI PSWOpenRegListDlg(HWND hwndOwner) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  dlgkit::DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 320, 220,
                           "類似画像検索の登録フォルダ");
  t.Add(dlgkit::kStatic, WS_VISIBLE | SS_LEFT, 7, 7, 306, 10, kCountId, "");
  t.Add(WC_LISTVIEWA, WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, 7, 20,
        306, 172, kListId, "");
  t.Add(dlgkit::kButton, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED, 7, 199, 90, 14, kRemoveId,
        "検索から外す");
  t.Add(dlgkit::kButton, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 256, 199, 57, 14, IDOK, "閉じる");
  DialogState state;
  INT_PTR r = t.Run(hwndOwner, RegListProc, reinterpret_cast<LPARAM>(&state));
  return r == -1 ? -1 : IDOK;
}
