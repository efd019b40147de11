#include "ThumbToolTip.h"

#include <fw/threadtip.h>

#include <VxGUIDB.h>

#include <algorithm>
#include <vector>

#include "IconViewRules.h"
#include "PropertyCatalog.h"
#include "ReportRules.h"

static const int kThumbnailTipKinds[] = {0, 5, 3, 6, 4, 25};

namespace {
const char kTipPrevProc[] = "VxThumbTipPrevProc";

// Windows XP's tooltip control acts on its timer 3 in a way that takes the tip down under
// the cursor: that timer goes to the default procedure, everything else to the control's.
LRESULT CALLBACK XpTipProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC prev = reinterpret_cast<WNDPROC>(reinterpret_cast<LONG_PTR>(::GetPropA(hWnd, kTipPrevProc)));
  if (message == WM_TIMER && wParam == 3) return ::DefWindowProcA(hWnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) ::RemovePropA(hWnd, kTipPrevProc);
  return prev ? ::CallWindowProcA(prev, hWnd, message, wParam, lParam)
              : ::DefWindowProcA(hWnd, message, wParam, lParam);
}

// Once for each tooltip control: a control made anew after the old one went gets it too.
void ReplaceXpTipProc(HWND hTip) {
  if (!hTip || ::GetPropA(hTip, kTipPrevProc)) return;
  LONG_PTR prev = ::GetWindowLongPtrA(hTip, GWLP_WNDPROC);
  if (!prev || prev == reinterpret_cast<LONG_PTR>(&XpTipProc)) return;
  if (!::SetPropA(hTip, kTipPrevProc, reinterpret_cast<HANDLE>(prev))) return;
  ::SetWindowLongPtrA(hTip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&XpTipProc));
}
}  // namespace

CThumbToolTip::CThumbToolTip(CWnd* pView, const int* pKinds, int nKinds)
    : m_pszA(NULL),
      m_pszW(NULL),
      m_pView(pView),
      m_pKinds(pKinds ? pKinds : kThumbnailTipKinds),
      m_nKinds(pKinds ? nKinds : (int)(sizeof(kThumbnailTipKinds) / sizeof(int))),
      m_nVersion(iconview::VersionCode()) {
  if (m_pView) m_pView->EnableToolTips(TRUE);
}

CThumbToolTip::~CThumbToolTip() {
  delete[] m_pszA;
  delete[] m_pszW;
}

INT_PTR CThumbToolTip::OnToolHitTest(CPoint pt, TOOLINFOA* pTI) {
  if (m_nVersion == 7) ReplaceXpTipProc(AfxGetThreadToolTip());
  DWORD id = HitTest(pt);
  if (id == VXID_NONE || !m_pView) return -1;
  if (pTI) {
    pTI->hwnd = m_pView->GetSafeHwnd();
    pTI->uId = (UINT_PTR)id;
    m_pView->GetClientRect(&pTI->rect);
    pTI->lpszText = LPSTR_TEXTCALLBACKA;
  }
  return (INT_PTR)id;
}

LRESULT CThumbToolTip::OnToolTipText(NMHDR* pNMHDR, CPoint ptScreen) {
  BOOL bWide = pNMHDR->code == TTN_NEEDTEXTW;
  UINT flags =
      bWide ? reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->uFlags : reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->uFlags;
  if (!m_pView || ((flags & TTF_IDISHWND) && (HWND)pNMHDR->idFrom == m_pView->GetSafeHwnd())) return 0;
  if (pNMHDR->hwndFrom) {
    ::SendMessageA(pNMHDR->hwndFrom, TTM_SETMAXTIPWIDTH, 0, 511);
    RECT margin = {4, 4, 4, 4};
    ::SendMessageA(pNMHDR->hwndFrom, TTM_SETMARGIN, 0, (LPARAM)&margin);
  }
  CPoint pt = ptScreen;
  m_pView->ScreenToClient(&pt);
  DWORD id = HitTest(pt);
  CThumbnail* pItem = id != VXID_NONE ? GetThumbnail(id) : NULL;
  if (!pItem) return 1;
  delete[] m_pszA;
  delete[] m_pszW;
  m_pszA = NULL;
  m_pszW = NULL;
  CString text;
  BuildText(pItem, text);
  if (bWide) {
    NMTTDISPINFOW* p = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
    p->szText[0] = 0;
    p->lpszText = NULL;
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
    m_pszW = new WCHAR[(size_t)std::max(n, 1)];
    m_pszW[0] = 0;
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, m_pszW, n);
    p->lpszText = m_pszW;
  } else {
    NMTTDISPINFOA* p = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
    p->szText[0] = 0;
    p->lpszText = NULL;
    m_pszA = new char[(size_t)text.GetLength() + 1];
    memcpy(m_pszA, (LPCSTR)text, (size_t)text.GetLength() + 1);
    p->lpszText = m_pszA;
  }
  return 0;
}

HRESULT CThumbToolTip::BuildText(CThumbnail* pItem, CString& text) const {
  text.Empty();
  if (!pItem) return E_FAIL;
  int a = -1, b = -1, c = -1;
  BOOL bScene = pItem->GetAVCHDInfo(&a, &b, &c);
  CPrProperty context;
  if (bScene)
    context.OpenAvchd(a, b, c);
  else
    context.Open(pItem->GetFilePath());
  std::vector<CString> names, values;
  for (int i = 0; i < m_nKinds; ++i) {
    int kind = m_pKinds[i];
    CPropertyItem* pProp = CreatePropertyItem(kind);
    if (!pProp) break;
    CString name, value;
    pProp->GetName(name);
    pProp->GetValue(pItem, value, &context);
    delete pProp;
    names.push_back(name);
    values.push_back(ReportTipValue(kind, value, bScene, pItem->HasKind(0x1040)));
  }
  if (!names.empty()) text = ReportTipText(names.data(), values.data(), (int)names.size());
  return text.IsEmpty() ? E_FAIL : S_OK;
}
