// CVxGUITrans: the document hints, routed by the command table of TransRules.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <VxResourceIds.h>

#include "DynamicSplitterWnd.h"
#include "SimilarImages.h"
#include "TransInternal.h"

namespace {
int (*s_pfnMapInUse)() = CMTLxIsUsedOrbisMap;
}  // namespace

void CVxGUITrans::SetMapQuery(int (*pfn)()) { s_pfnMapInUse = pfn ? pfn : CMTLxIsUsedOrbisMap; }

void CVxGUITrans::OnUpdate(CView*, LPARAM, CObject* pHint) {
  CSendCommandObject* pCmd = DYNAMIC_DOWNCAST(CSendCommandObject, pHint);
  if (!pCmd) return;
  const VXCMDROUTE* route = TransFindCommand(pCmd->GetID());
  if (!route) return;
  if (route->bNotInCalendar && IsCalendarMode()) return;
  CBrowserDocument* pDoc = GetBrowserDocument();
  LRESULT r = 0;
  UINT_PTR value = pCmd->GetValue();
  switch (route->action) {
    case VXCA_ROTATE_RIGHT:
    case VXCA_ROTATE_LEFT:
      // The slide collection closes first.
      if (m_hManager) ::SendMessageA(m_hManager, WM_CLOSE_SLIDE_COLLECT, (WPARAM)GetSafeHwnd(), 0);
      SelItemRotation(route->action == VXCA_ROTATE_RIGHT ? 9000 : -9000);
      break;
    case VXCA_DELETE:
      // While a label edit runs, the key belongs to the edit box unless the browser has focus.
      if (m_bEditLabel && ::GetFocus() != GetSafeHwnd()) break;
      m_bEditLabel = FALSE;
      DeleteSelectFiles();
      break;
    case VXCA_RENAME: RenameSelectFile(); break;
    case VXCA_COPY: CopySelectFilesToClipBoard(); break;
    case VXCA_CUT: CutSelectFiles(); break;
    case VXCA_PASTE: PasteFileFromClipBoard(); break;
    case VXCA_PROPERTIES: ShowPropertyDialog(pDoc ? pDoc->GetLastSelectedItem() : NULL); break;
    case VXCA_SELECT_ALL: SelectAllThumbnail(); break;
    case VXCA_UNSELECT_ALL: UnSelectAllThumbnail(); break;
    case VXCA_REVERSE_SELECT: ReverseSelectThumbnail(); break;
    case VXCA_MARK_CLEAR: MarkAllUnCheck(); break;
    case VXCA_MARK_TOGGLE: MarkSelectToggle(); break;
    case VXCA_MARK_OP2: MarkFilesOperation(FO_COPY); break;
    case VXCA_MARK_OP1: MarkFilesOperation(FO_MOVE); break;
    case VXCA_FAVORITE_ADD: AddFavoriteFromSelectedFolder(); break;
    case VXCA_MAP: {
      int enlarged = -1;
      CDynamicSplitterWnd* pSplitter = GetViewSplitter();
      if (CDynamicSplitterWnd* pNested = pSplitter ? pSplitter->GetSubDivision(1) : NULL) {
        int nMin = 0;
        pNested->GetRowInfo(0, enlarged, nMin);
      }
      switch (TransMapStep(pDoc && pDoc->GetLastSelectedItem(), s_pfnMapInUse(), IsFocusMode(), enlarged)) {
        case VXMAP_NO_SELECTION: GuardedMessageBoxId(GetSafeHwnd(), IDS_BROWSER_NO_SELECTION, MB_ICONERROR); break;
        case VXMAP_NOTHING: break;
        case VXMAP_KEPT_MODE:
          OnModeChange(CBrowserStatus::CViewMode::ToCgViewID(pDoc->GetBrowserStatus().GetLastThumbnailMode()));
          break;
        case VXMAP_SHOW: OnBrowserChangeModeMsg(0, CGVIEW_FOCUSINFO, &r); break;
      }
      break;
    }
    case VXCA_SUBFOLDERS:
      if (!pDoc) break;
      pDoc->SubFolderVisible(!pDoc->IsSubFolderVisible());
      if (pDoc->GetPageList().GetCount() > 0 && pDoc->GetPageList().GetHead()->IsVirtualFolder()) {
        if (m_hManager) ::PostMessageA(m_hManager, WM_REFRESH_FOLDERS, (WPARAM)GetSafeHwnd(), 0);
        break;
      }
      ReloadAllGroups();
      break;
    case VXCA_RELOAD:
      if (!pDoc || m_pBusy->lCount != 0) break;
      if (pDoc->GetFolderType().IsSDCardFolder() || pDoc->GetFolderTypeFlag() == FOLDER_TYPE_CLASSIFY) break;
      ReloadAllGroups();
      break;
    case VXCA_VIEWMODE: OnBrowserChangeModeMsg(0, (LPARAM)value, &r); break;
    case VXCA_SORT: OnBrowserSortMsg(0, (LPARAM)value, &r); break;
    case VXCA_FILTER: OnBrowserMaskMsg(0, (LPARAM)value, &r); break;
    case VXCA_SIMILAR_SEARCH:
      if (pDoc) SearchSimilarImages(pDoc->GetSelectList(), m_hManager, GetSafeHwnd());
      break;
    case VXCA_SIMILAR_REGISTER:
      if (pDoc) RegisterSimilarImages(pDoc->GetSelectList(), this);
      break;
    case VXCA_SIMILAR_LIST: OpenSimilarImageList(m_hManager); break;
    default: break;
  }
}
