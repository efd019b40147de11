// PrOpenProperty: the modal property dialog (template built in memory).
#include <windows.h>

#include <commctrl.h>

#include "VxProperty.h"
#include "dlgkit/memdialog.h"
#include "propset.h"
#include <textkit/text.h>
#include <textkit/path.h>

#include "format.h"

using namespace vxprop;

namespace {

constexpr WORD kListId = 1001;

struct DialogData {
  const FileFacts* facts;
};

void FillList(HWND list, const FileFacts& facts) {
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  RECT rc;
  GetClientRect(list, &rc);
  int nameWidth = (rc.right - rc.left) * 2 / 5;
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.pszText = const_cast<char*>("項目");
  col.cx = nameWidth;
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
  col.pszText = const_cast<char*>("値");
  col.cx = (rc.right - rc.left) - nameWidth - GetSystemMetrics(SM_CXVSCROLL);
  SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&col));
  int row = 0;
  for (const auto& line : DialogLines(facts)) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(line.first.c_str());
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(line.second.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    ++row;
  }
}

INT_PTR CALLBACK PropertyDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* data = reinterpret_cast<DialogData*>(lp);
      std::string title = "プロパティ - " + textkit::FileNameOf(data->facts->path);
      SetWindowTextA(dlg, title.c_str());
      FillList(GetDlgItem(dlg, kListId), *data->facts);
      dlgkit::CenterOverOwner(dlg);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

VXPROP_API int WINAPI PrOpenProperty(LPCSTR pszPath, HWND hwndOwner, DWORD, int a, int b, int c, int) {
  std::string path = pszPath ? pszPath : "";
  if (path.empty() && a != -1) path = ResolveScene(a, b, c);
  FileFacts facts;
  if (path.empty() || !GatherFacts(path.c_str(), &facts)) return PR_DLG_NOTSHOWN;

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  dlgkit::DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 280, 232, "プロパティ");
  t.Add(WC_LISTVIEWA, WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_NOSORTHEADER | LVS_SINGLESEL, 7, 7,
        266, 198, kListId, "");
  t.Add(dlgkit::kButton, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 216, 211, 57, 14, IDOK, "閉じる");
  DialogData data{&facts};
  INT_PTR r = t.Run(hwndOwner, PropertyDialogProc, reinterpret_cast<LPARAM>(&data));
  return r == -1 ? -1 : IDOK;
}
