// A plug-in of the control tests: it works on the host's tree control, image list, menu
// and data object, through the framework's shared classes.
#include "plugin_api.h"

static int s_records[2] = {10, 20};  // item data the plug-in owns

extern "C" __declspec(dllexport) HRESULT FillTree(CTreeCtrl* pTree, CImageList* pImages, HTREEITEM hParent) {
  if (!pTree || !pImages || !hParent) return E_INVALIDARG;
  // Exactly two images, the second one replaced by the plug-in's icon.
  pImages->SetImageCount(2);
  HICON hIcon = ::LoadIconA(nullptr, (LPCSTR)IDI_INFORMATION);
  if (pImages->Replace(1, hIcon) != 1) return E_FAIL;
  // One of the host's own operations, by its place in the host's class.
  static_cast<CHostTree*>(pTree)->EnableStateClick(1);
  TVINSERTSTRUCTA tvis = {};
  tvis.hParent = hParent;
  tvis.hInsertAfter = TVI_LAST;
  tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
  tvis.item.pszText = (LPSTR) "メモリーカード";
  tvis.item.iImage = tvis.item.iSelectedImage = 1;
  tvis.item.lParam = (LPARAM)&s_records[0];
  tvis.item.cChildren = 1;
  HTREEITEM hCard = pTree->InsertItem(&tvis);
  HTREEITEM hFolder = pTree->InsertItem(TVIF_TEXT | TVIF_PARAM, "DCIM", 0, 0, 0, 0, (LPARAM)&s_records[1], hCard, TVI_LAST);
  if (!hCard || !hFolder) return E_FAIL;
  pTree->Expand(hCard, TVE_EXPAND);
  pTree->SetItemState(hFolder, TVIS_SELECTED, TVIS_SELECTED);
  pTree->SelectItem(hFolder);
  return static_cast<CHostTree*>(pTree)->GetSelectedCount() == 1 ? S_OK : E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT FillMenu(CTreeCtrl* pTree, CMenu* pMenu) {
  if (!pTree || !pMenu) return E_INVALIDARG;
  CMenu popup;
  if (!popup.CreatePopupMenu()) return E_FAIL;
  popup.AppendMenu(MF_STRING, PLUGIN_FIRST_COMMAND, "新しいフォルダ");
  popup.AppendMenu(MF_STRING | MF_GRAYED, PLUGIN_FIRST_COMMAND + 1, "名前の変更");
  popup.AppendMenu(MF_STRING, PLUGIN_FIRST_COMMAND + 2, "削除");
  // The host's menu owns the popup from here on.
  pMenu->AppendMenu(MF_POPUP, (UINT_PTR)popup.Detach(), "フォルダ");
  return S_OK;
}

extern "C" __declspec(dllexport) HRESULT ReadDrop(COleDataObject* pData, char* pszPath, int cch, int* pbFolders) {
  if (!pData || !pszPath || cch <= 0) return E_INVALIDARG;
  *pbFolders = pData->IsDataAvailable((CLIPFORMAT)::RegisterClipboardFormatA("CFSTR_BROWSER_FOLDERPATH"));
  if (!pData->IsDataAvailable(CF_HDROP)) return E_FAIL;
  HGLOBAL h = pData->GetGlobalData(CF_HDROP);
  if (!h) return E_FAIL;
  UINT n = ::DragQueryFileA((HDROP)h, 0, pszPath, (UINT)cch);
  ::GlobalFree(h);
  return n ? S_OK : E_FAIL;
}
