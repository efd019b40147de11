// WM_COPYDATA within the platform's limits (CopyData.h).
#include <Kitlib2/CopyData.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// The record a large block's message carries instead of the block.
struct Handover {
  char magic[8];
  DWORD cbData;
  char szMapping[64];
};
const char kMagic[8] = {'G', 'L', 'M', 'C', 'D', 'M', 'A', 'P'};

bool IsHandover(const COPYDATASTRUCT* pcds) {
  return pcds->cbData == sizeof(Handover) && pcds->lpData && memcmp(pcds->lpData, kMagic, sizeof kMagic) == 0;
}

// Opened blocks that came by shared memory: their views, to unmap on close.
struct OpenView {
  const void* pView;
  HANDLE hMapping;
};
std::mutex& ViewLock() {
  static std::mutex m;
  return m;
}
std::vector<OpenView>& Views() {
  static std::vector<OpenView> views;
  return views;
}

BOOL SendBlock(HWND hTo, HWND hFrom, const COPYDATASTRUCT& cds, UINT nTimeoutMs, LRESULT* pResult) {
  DWORD_PTR result = 0;
  LRESULT sent =
      ::SendMessageTimeoutA(hTo, WM_COPYDATA, reinterpret_cast<WPARAM>(hFrom), reinterpret_cast<LPARAM>(&cds),
                            SMTO_ABORTIFHUNG | SMTO_NORMAL, nTimeoutMs, &result);
  if (pResult) *pResult = static_cast<LRESULT>(result);
  return sent != 0;
}

}  // namespace

BOOL CMTLSendCopyData(HWND hTo, HWND hFrom, ULONG_PTR dwData, const void* pData, DWORD cbData, UINT nTimeoutMs,
                      LRESULT* pResult) {
  if (pResult) *pResult = 0;
  if (!::IsWindow(hTo) || cbData > CMTL_COPYDATA_MAX_BLOCK || (cbData && !pData)) return FALSE;
  COPYDATASTRUCT cds;
  cds.dwData = dwData;
  if (cbData < CMTL_COPYDATA_MAX_INLINE) {
    cds.cbData = cbData;
    cds.lpData = const_cast<void*>(pData);
    return SendBlock(hTo, hFrom, cds, nTimeoutMs, pResult);
  }
  static LONG s_nSerial = 0;
  Handover h;
  memcpy(h.magic, kMagic, sizeof kMagic);
  h.cbData = cbData;
  snprintf(h.szMapping, sizeof h.szMapping, "Local\\GlimoraCopyData.%lu.%ld", ::GetCurrentProcessId(),
           ::InterlockedIncrement(&s_nSerial));
  HANDLE hMapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, cbData, h.szMapping);
  if (!hMapping) return FALSE;
  BOOL bSent = FALSE;
  if (void* pView = ::MapViewOfFile(hMapping, FILE_MAP_WRITE, 0, 0, cbData)) {
    memcpy(pView, pData, cbData);
    ::UnmapViewOfFile(pView);
    cds.cbData = sizeof h;
    cds.lpData = &h;
    bSent = SendBlock(hTo, hFrom, cds, nTimeoutMs, pResult);
  }
  // The receiver has taken what it wanted by the time the send returns.
  ::CloseHandle(hMapping);
  return bSent;
}

BOOL CMTLSendCopyDataText(HWND hTo, HWND hFrom, ULONG_PTR dwData, LPCSTR lpszText, UINT nTimeoutMs, LRESULT* pResult) {
  if (!lpszText) lpszText = "";
  return CMTLSendCopyData(hTo, hFrom, dwData, lpszText, static_cast<DWORD>(strlen(lpszText) + 1), nTimeoutMs, pResult);
}

BOOL CMTLForwardCopyData(HWND hTo, HWND hFrom, const COPYDATASTRUCT* pcds, UINT nTimeoutMs, LRESULT* pResult) {
  if (!pcds) return FALSE;
  // A handover record still names memory that lives while the first send lasts.
  if (IsHandover(pcds)) {
    COPYDATASTRUCT same = *pcds;
    return SendBlock(hTo, hFrom, same, nTimeoutMs, pResult);
  }
  return CMTLSendCopyData(hTo, hFrom, pcds->dwData, pcds->lpData, pcds->cbData, nTimeoutMs, pResult);
}

LRESULT CMTLOpenCopyData(const COPYDATASTRUCT* pIn, COPYDATASTRUCT* pOut) {
  pOut->dwData = pIn ? pIn->dwData : 0;
  pOut->cbData = 0;
  pOut->lpData = NULL;
  if (!pIn) return CMTL_COPYDATA_REFUSED_GONE;
  if (!IsHandover(pIn)) {
    if (pIn->cbData >= CMTL_COPYDATA_MAX_INLINE) return CMTL_COPYDATA_REFUSED_SIZE;
    pOut->cbData = pIn->cbData;
    pOut->lpData = pIn->lpData;
    return 0;
  }
  Handover h;
  memcpy(&h, pIn->lpData, sizeof h);
  h.szMapping[sizeof h.szMapping - 1] = '\0';
  if (h.cbData > CMTL_COPYDATA_MAX_BLOCK) return CMTL_COPYDATA_REFUSED_SIZE;
  HANDLE hMapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, h.szMapping);
  if (!hMapping) return CMTL_COPYDATA_REFUSED_GONE;
  void* pView = ::MapViewOfFile(hMapping, FILE_MAP_READ, 0, 0, 0);
  MEMORY_BASIC_INFORMATION mbi;
  // The record's size is the sender's word: the view must hold that much.
  if (!pView || !::VirtualQuery(pView, &mbi, sizeof mbi) || mbi.RegionSize < h.cbData) {
    if (pView) ::UnmapViewOfFile(pView);
    ::CloseHandle(hMapping);
    return CMTL_COPYDATA_REFUSED_GONE;
  }
  std::lock_guard<std::mutex> lock(ViewLock());
  Views().push_back(OpenView{pView, hMapping});
  pOut->cbData = h.cbData;
  pOut->lpData = pView;
  return 0;
}

void CMTLCloseCopyData(COPYDATASTRUCT* pOpened) {
  if (!pOpened || !pOpened->lpData) return;
  std::lock_guard<std::mutex> lock(ViewLock());
  for (auto it = Views().begin(); it != Views().end(); ++it) {
    if (it->pView != pOpened->lpData) continue;
    ::UnmapViewOfFile(it->pView);
    ::CloseHandle(it->hMapping);
    Views().erase(it);
    break;
  }
  pOpened->lpData = NULL;
  pOpened->cbData = 0;
}
