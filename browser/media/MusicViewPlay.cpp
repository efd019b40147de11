// The music view: playing, sorting, reload and dragging.
#include <Kitlib2/Profile.h>
#include <VxDocument/BrowserDocument.h>
#include <VxGUIDB/Thumbnail.h>
#include <VxGUIDB/ThumbnailPage.h>

#include "AudioPlayer.h"
#include "AudioPlayerRules.h"
#include "MainWndMessages.h"
#include "MusicListRow.h"
#include "MusicListWnd.h"
#include "MusicView.h"

using namespace musicview;

// ----- Playing -----

HRESULT CMusicView::PlayMusic(int row) {
  if (m_pList && (row < 0 || row >= RowCount())) return E_FAIL;
  CThumbnail* pItem = GetThumbnail(row);
  if (!pItem) return 0;
  CString path = pItem->GetFilePath();
  StopMusic();
  HRESULT hr = m_pPlayer->Open(path, AudioOpenMode(path));
  if (SUCCEEDED(hr) && SUCCEEDED(m_pPlayer->Play())) {
    SetTimer(kEndTimer, kEndTimerMs, nullptr);
    OnPlayMusic(row);
  }
  return hr;
}

HRESULT CMusicView::StopMusic() {
  if (!m_bPlaying) return 1;
  if (FAILED(m_pPlayer->Stop())) return 0;
  if (GetSafeHwnd()) KillTimer(kEndTimer);
  OnStopMusic(GetIndex(m_pPlayer->GetPath()));
  return 0;
}

namespace {
// The visible row window of a row, null when it is scrolled away.
CMusicListRow* RowWindow(CMusicListWnd* pList, int row) {
  int first, last;
  pList->GetVisibleRange(&first, &last);
  return row >= first && row <= last ? dynamic_cast<CMusicListRow*>(pList->GetRowWnd(row - first)) : nullptr;
}
}  // namespace

HRESULT CMusicView::OnPlayMusic(int row) {
  if (m_pList && (row < 0 || row >= RowCount())) return E_FAIL;
  m_bPlaying = TRUE;
  if (m_pList)
    if (CMusicListRow* p = RowWindow(m_pList, row)) p->SetPlaying(TRUE);
  return 0;
}

HRESULT CMusicView::OnStopMusic(int row) {
  m_bPlaying = FALSE;
  if (m_pList && (row < 0 || row >= RowCount())) return E_FAIL;
  if (m_pList)
    if (CMusicListRow* p = RowWindow(m_pList, row)) p->SetPlaying(FALSE);
  return 0;
}

// ----- Sorting -----

void CMusicView::Sort(int column, int order, BOOL bRedraw) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  CMusicListHeader* pHeader = m_pList ? m_pList->GetHeader() : nullptr;
  if (!pHeader || !pDoc || column < 0 || column >= pHeader->GetColumnCount()) return;
  CString remembered;
  if (pDoc->GetSelectCount() > 0)
    if (CThumbnail* p = pDoc->GetSelectList().GetHead()) remembered = p->GetFilePath();
  for (int i = 0; i < pHeader->GetColumnCount(); i++) pHeader->SetColumnSortDir(i, 0);
  pHeader->SetColumnSortDir(column, order);
  int id = pHeader->GetColumnId(column);
  // Every item of the page: on entering the mode the list has no rows yet.
  CThumbnailPage* pFirst = pDoc->GetPageList().GetPageAt(0);
  for (int i = 0, n = pFirst ? pFirst->GetCount() : 0; i < n; i++) {
    CThumbnail* p = GetThumbnail(i);
    const CAudioTrackInfo* info = p ? p->GetMusicInfo(0) : nullptr;
    if (!info || id == kSizeColumnId) continue;
    LPCSTR source = id == 1 ? info->GetTitle() : id == 2 ? info->GetTimeSortText() : info->GetFormatText();
    if (source && *source) p->SetOriginalSortSource(source);
  }
  if (pDoc->GetFileCount() > 0)
    if (CThumbnailPage* pPage = pDoc->GetPageList().GetPageAt(0)) pPage->Sort(SortKey(id), order == 1);
  CMWriteProfileInt(kSection, "sort", order);
  CMWriteProfileInt(kSection, "sortindex", column);
  if (!remembered.IsEmpty()) {
    m_pList->ClearSelection(TRUE, TRUE, FALSE);
    pDoc->SelectAll(0, this);
    int row = GetIndex(remembered);
    if (row >= 0) {
      m_pList->SetSelection({row});
      if (CThumbnail* p = GetThumbnail(row)) pDoc->SelectItem(p, this);
    }
  }
  if (bRedraw) m_pList->RecalcLayout();
}

void CMusicView::SortFromProfile(BOOL bRedraw) {
  Sort(CMGetProfileInt(kSection, "sortindex", 0), CMGetProfileInt(kSection, "sort", 0), bRedraw);
}

// ----- Reload -----

LRESULT CMusicView::OnReload(WPARAM, LPARAM) {
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!IsMusicMode() || !m_pList || !pDoc) return 0;
  StopMusic();
  if (CWnd* pMain = AfxGetMainWnd()) pMain->PostMessage(WM_REFRESH_FOLDERS, (WPARAM)m_hWnd, 0);
  SortFromProfile(FALSE);
  m_pList->SetItemCount(pDoc->GetFileCount(), FALSE);
  ClearListSelection();
  m_pList->Relayout(0, TRUE);
  return 0;
}

// ----- Dragging -----

HGLOBAL MusicDragBlock(LPCSTR pszPath) {
  size_t length = pszPath ? strlen(pszPath) : 0;
  if (!pszPath || length > MAX_PATH) return nullptr;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, MAX_PATH + 1);
  if (!h) return nullptr;
  if (char* p = static_cast<char*>(::GlobalLock(h))) {
    memcpy(p, pszPath, length);
    ::GlobalUnlock(h);
  }
  return h;
}

LRESULT CMusicView::OnStartDrag(WPARAM, LPARAM) {
  if (!m_bDragArmed) return 0;
  m_bDragArmed = FALSE;
  CBrowserDocument* pDoc = GetBrowserDocument();
  if (!pDoc) return E_FAIL;
  if (pDoc->GetSelectCount() == 0) return 0;
  CThumbnail* pItem = pDoc->GetSelectList().GetHead();
  HGLOBAL h = pItem ? MusicDragBlock(pItem->GetFilePath()) : nullptr;
  if (!h) return 0;
  COleDataSource source;
  source.CacheGlobalData((CLIPFORMAT)::RegisterClipboardFormatA("CFSTR__Vx_FilePath"), h);
  source.DoDragDrop(DROPEFFECT_COPY, nullptr, &m_dropSource);
  return 0;
}
