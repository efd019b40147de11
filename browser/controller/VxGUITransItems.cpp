// CVxGUITrans: the icon view's list-view notices — label edits, item changes, double clicks.
#include <initguid.h>

#include <ClipFacts.h>
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <VxResourceIds.h>

#include "SimilarImages.h"
#include "TransInternal.h"

#define VXCTRL_ICONVIEW 0xBE10
#define VXCTRL_REPORT 0xF0F0

// The content-information library, loaded for each use: its reader object, or null.
namespace {
struct ClipFactsUse {
  HMODULE h = NULL;
  IClipFacts* pFacts = NULL;
  ClipFactsUse() {
    CString dll = TransProgramFolder() + "\\Core\\ScoreHall\\ClipFacts.dll";
    h = ::LoadLibraryA(dll);
    if (!h) return;
    PFNCLIPFACTSCREATE pfn = reinterpret_cast<PFNCLIPFACTSCREATE>(::GetProcAddress(h, "DllCreateInstance"));
    if (pfn && FAILED(pfn(CLSID_ClipFacts, IID_IClipFacts, reinterpret_cast<void**>(&pFacts)))) pFacts = NULL;
  }
  ~ClipFactsUse() {
    if (pFacts) pFacts->Release();
    if (h) ::FreeLibrary(h);
  }
  BOOL Open(LPCSTR pszPath) {
    WCHAR wpath[MAX_PATH];
    return pFacts && ::MultiByteToWideChar(CP_ACP, 0, pszPath, -1, wpath, MAX_PATH) && SUCCEEDED(pFacts->Open(wpath));
  }
};
}  // namespace

BOOL RenameContentTitle(LPCSTR pszPath, LPCSTR pszTitle) {
  ClipFactsUse use;
  WCHAR wtitle[256];
  if (!::MultiByteToWideChar(CP_ACP, 0, pszTitle, -1, wtitle, 256) || !use.Open(pszPath)) return FALSE;
  BOOL ok = FALSE;
  IClipFactsEdit* pEdit = NULL;
  if (SUCCEEDED(use.pFacts->QueryInterface(IID_IClipFactsEdit, reinterpret_cast<void**>(&pEdit))) && pEdit) {
    ok = SUCCEEDED(pEdit->SetTitle(wtitle)) && SUCCEEDED(pEdit->Save());
    pEdit->Release();
  }
  return ok;
}

int ReadContentTitle(LPCSTR pszPath, CString* pTitle) {
  ClipFactsUse use;
  if (!use.h) return -1;
  CLIPFACTSINFO info = {};
  info.cbSize = sizeof(info);
  if (!use.Open(pszPath) || FAILED(use.pFacts->GetInfo(&info)) || !info.szTitle[0]) return 0;
  char title[512] = "";
  ::WideCharToMultiByte(CP_ACP, 0, info.szTitle, -1, title, sizeof(title), NULL, NULL);
  *pTitle = title;
  return 1;
}

// The item a list notice is about: the details list is a virtual list whose notices carry
// only the row; the icon view's carry the item.
CThumbnail* CVxGUITrans::ItemOfNotice(const NMHDR* pHdr, int nRow, LPARAM lParam) const {
  if (pHdr->idFrom == VXCTRL_REPORT) return m_pReportCtrl ? m_pReportCtrl->GetRowThumbnail(nRow) : NULL;
  return reinterpret_cast<CThumbnail*>(lParam);
}

// The item a double click opens: the icon view names the item under the cursor; the
// details list's rows stand for the last selected item when the click hit a row's icon,
// label or check box.
CThumbnail* CVxGUITrans::DoubleClickedItem(const NMHDR* pHdr) const {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return NULL;
  if (pHdr->idFrom == VXCTRL_REPORT) {
    if (!IsReportVisible()) return NULL;
    LVHITTESTINFO hit = {};
    hit.pt = reinterpret_cast<const NMITEMACTIVATE*>(pHdr)->ptAction;
    m_pReportCtrl->SendMessage(LVM_HITTEST, 0, (LPARAM)&hit);
    return hit.iItem >= 0 && (hit.flags & LVHT_ONITEM) ? pDoc->GetLastSelectedItem() : NULL;
  }
  CThumbnail* p = reinterpret_cast<CThumbnail*>(reinterpret_cast<const NMLISTVIEW*>(pHdr)->lParam);
  return CThumbnail::CheckThumbnailPointer(p) ? p : NULL;
}

BOOL CVxGUITrans::OnNotifyMsg(WPARAM, LPARAM lParam, LRESULT* pResult) {
  *pResult = 1;
  const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
  if (!pHdr || (pHdr->idFrom != VXCTRL_ICONVIEW && pHdr->idFrom != VXCTRL_REPORT)) return FALSE;
  // The details list answers its own texts and drawing (reflected back to it).
  if (pHdr->idFrom == VXCTRL_REPORT && (pHdr->code == LVN_GETDISPINFOA || pHdr->code == LVN_GETDISPINFOW ||
                                        pHdr->code == NM_CUSTOMDRAW || pHdr->code == LVN_ODCACHEHINT))
    return FALSE;
  CBrowserDocument* pDoc = GetBrowserDocument();
  IVxItemView* pItems = GetItemView();
  switch (pHdr->code) {
    case LVN_BEGINDRAG:
      OnHandleDrag(reinterpret_cast<NMLISTVIEW*>(const_cast<NMHDR*>(pHdr)));
      return TRUE;
    case LVN_BEGINLABELEDITA: {
      m_bEditLabel = TRUE;
      const NMLVDISPINFOA* p = reinterpret_cast<const NMLVDISPINFOA*>(pHdr);
      CThumbnail* pItem = ItemOfNotice(pHdr, p->item.iItem, p->item.lParam);
      if (!CThumbnail::CheckThumbnailPointer(pItem)) return TRUE;
      int answer = CheckThumbnailFile(m_pView, pItem);
      if (answer == 1) {
        ::PostMessageA(GetSafeHwnd(), WM_BROWSER_RELOAD, 0, 0);
        CThumbnailPage* pPage = pItem->GetPage();
        if (pItem->IsFolder() && !(pPage && pPage->IsVirtualFolder()) && m_hManager)
          ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
        *pResult = 1;
      } else if (answer == 2) {
        *pResult = 1;
      } else {
        *pResult = 0;
      }
      return TRUE;
    }
    case LVN_ENDLABELEDITA: {
      m_bEditLabel = FALSE;
      const NMLVDISPINFOA* p = reinterpret_cast<const NMLVDISPINFOA*>(pHdr);
      CThumbnail* pItem = ItemOfNotice(pHdr, p->item.iItem, p->item.lParam);
      if (!p->item.pszText || !CThumbnail::CheckThumbnailPointer(pItem)) return TRUE;
      CString path = pItem->GetFilePath();
      if (pItem->GetFileExt().CompareNoCase(".cont") == 0) {
        if (RenameContentTitle(path, p->item.pszText)) {
          pItem->ClearImage(TRUE);
          if (pItems) pItems->RedrawItem(pItem->GetUniqueID(VXID_SLOT_VIEW));
          Sort(GetSortType(), TRUE);
          if (m_hManager) ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
        }
      } else if (RenameThumbnail(pItem, p->item.pszText) && m_pReportCtrl && m_pReportCtrl->GetSafeHwnd()) {
        ::InvalidateRect(m_pReportCtrl->GetSafeHwnd(), NULL, FALSE);
      }
      return TRUE;
    }
    case LVN_ITEMCHANGED:
    case LVN_ITEMCHANGING: {
      const NMLISTVIEW* p = reinterpret_cast<const NMLISTVIEW*>(pHdr);
      if (!pDoc) return TRUE;
      if (pHdr->idFrom == VXCTRL_REPORT) {
        if (pHdr->code == LVN_ITEMCHANGED && m_nSelectEcho == 0)
          OnReportSelection(p->iItem, p->iItem, p->uNewState, p->uOldState);
        return TRUE;
      }
      if (p->iItem == -1) {
        if (!(p->uNewState & LVIS_SELECTED) && (p->uOldState & LVIS_SELECTED) && pItems) pItems->UnSelectAll(TRUE);
        return TRUE;
      }
      if (m_nUpdateLock != 0 || p->uNewState == p->uOldState) return TRUE;
      CThumbnail* pItem = reinterpret_cast<CThumbnail*>(p->lParam);
      if (!CThumbnail::CheckThumbnailPointer(pItem)) return TRUE;
      UINT newCheck = p->uNewState & LVIS_STATEIMAGEMASK, oldCheck = p->uOldState & LVIS_STATEIMAGEMASK;
      if (newCheck != oldCheck && !pItem->IsFolder() && !pItem->HasKind(VXKIND_CARDTRACK))
        pDoc->SetMark(pItem, newCheck == INDEXTOSTATEIMAGEMASK(2));
      if ((p->uNewState ^ p->uOldState) & LVIS_SELECTED) {
        if (p->uNewState & LVIS_SELECTED)
          pDoc->SelectItem(pItem, m_pView);
        else
          pDoc->UnSelectItem(pItem, m_pView);
      }
      return TRUE;
    }
    case LVN_ODSTATECHANGED: {
      const NMLVODSTATECHANGE* p = reinterpret_cast<const NMLVODSTATECHANGE*>(pHdr);
      if (pHdr->idFrom == VXCTRL_REPORT && m_nSelectEcho == 0)
        OnReportSelection(p->iFrom, p->iTo, p->uNewState, p->uOldState);
      return TRUE;
    }
    case NM_DBLCLK: {
      if (!pDoc || pDoc->GetSelectCount() == 0 || !pItems) return TRUE;
      CThumbnail* pItem = DoubleClickedItem(pHdr);
      if (!pItem) return TRUE;
      int answer = CheckThumbnailFile(m_pView, pItem);
      CThumbnailPage* pFirst = pDoc->GetPageList().GetPageAt(0);
      BOOL bVirtual = pFirst && pFirst->IsVirtualFolder();
      if (answer == 1) {
        if (!bVirtual) ::PostMessageA(GetSafeHwnd(), WM_BROWSER_RELOAD, 0, 0);
        if ((pItem->IsFolder() || bVirtual) && m_hManager)
          ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
        return TRUE;
      }
      if (answer == 2) return TRUE;
      if (IsFocusMode()) {
        GotoSubFolder(pItem);
        return TRUE;
      }
      if (!pItem->HasKind(VXKIND_STILL) && !pItem->HasKind(VXKIND_MOVIE)) {
        if (pItem->HasKind(VXKIND_CARDTRACK)) PlayTrackWithMelodeck(pItem, this);
        long r = GotoSubFolder(pItem);
        if (r != ERROR_INVALID_PARAMETER) return TRUE;
        char link[520];
        BOOL bFolder = FALSE;
        if ((pItem->IsFolder() || pItem->GetKindFlags() == VXTYPE_FOLDER_SHORTCUT) &&
            SUCCEEDED(pItem->GetLinkedFilePath(link, sizeof(link), &bFolder)) && bFolder) {
          BroadcastChangeFolder(link);
          return TRUE;
        }
        CString path = pItem->GetFilePath();
        HINSTANCE h = ::ShellExecuteA(GetSafeHwnd(), "open", path, NULL, NULL, SW_SHOWNORMAL);
        if ((INT_PTR)h <= 32) GuardedMessageBoxId(GetSafeHwnd(), IDS_BROWSER_OPEN_FAILED, MB_ICONERROR);
        return TRUE;
      }
      if ((::GetKeyState(VK_SHIFT) | ::GetKeyState(VK_CONTROL)) & 0x8000) return TRUE;
      if (pItem->HasKind(VXTYPE_RAW) && pItem->GetDecodeImageType() == VXIMAGE_RAW) {
        if (LaunchRawDeveloper(GetSafeHwnd(), pItem->GetFilePath())) return TRUE;
      }
      Thread_Stop();
      if (pItem->HasKind(VXKIND_MOVIE)) CMWriteProfileInt(VXDOC_SECTION, "VideoStart", 1);
      OnModeChange(CGVIEW_FOCUS);
      return TRUE;
    }
  }
  return TRUE;
}

// The details list is a virtual list: its notices carry rows, which stand for the icon
// view's items in display order. Row -1 means every row.
void CVxGUITrans::OnReportSelection(int nFrom, int nTo, UINT uNew, UINT uOld) {
  IVxItemView* pItems = GetItemView();
  if (!pItems || !m_pReportCtrl || !((uNew ^ uOld) & LVIS_SELECTED)) return;
  BOOL bSelect = (uNew & LVIS_SELECTED) != 0;
  if (nFrom == -1) {
    if (!bSelect) pItems->UnSelectAll(TRUE);
    return;
  }
  for (int row = nFrom; row <= nTo; ++row) {
    DWORD id = m_pReportCtrl->GetItemID(row);
    if (id != VXID_NONE) pItems->Select(id, bSelect, FALSE);
  }
}
