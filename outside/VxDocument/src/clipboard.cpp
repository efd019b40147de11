// The file clipboard: file-drop blocks, writing and reading the clipboard, and the
// clipboard-viewer chain.
#include <VxDocument/Clipboard.h>

#include <shlobj.h>
#include <shlwapi.h>
#include <textkit/text.h>

#include <cstring>
#include <string>
#include <vector>

// ---- File-drop blocks -------------------------------------------------------------------

HGLOBAL VxBuildDropFiles(const CStringList& paths, POINT pt) {
  SIZE_T size = sizeof(DROPFILES) + 1;
  for (POSITION pos = paths.GetHeadPosition(); pos;) size += paths.GetNext(pos).GetLength() + 1;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, size);
  if (!h) return nullptr;
  BYTE* p = static_cast<BYTE*>(::GlobalLock(h));
  if (!p) {
    ::GlobalFree(h);
    return nullptr;
  }
  DROPFILES* df = reinterpret_cast<DROPFILES*>(p);
  df->pFiles = sizeof(DROPFILES);
  df->pt = pt;
  df->fNC = FALSE;
  df->fWide = FALSE;
  char* out = reinterpret_cast<char*>(p + sizeof(DROPFILES));
  for (POSITION pos = paths.GetHeadPosition(); pos;) {
    const CString& s = paths.GetNext(pos);
    std::memcpy(out, (LPCSTR)s, s.GetLength() + 1);
    out += s.GetLength() + 1;
  }
  *out = 0;
  ::GlobalUnlock(h);
  return h;
}

namespace {

// Reads NUL-separated strings of T from [p, end) up to the empty one; false when the
// list does not end inside the block.
template <class T, class Add>
bool ReadList(const T* p, const T* end, Add add) {
  while (p < end) {
    const T* s = p;
    while (p < end && *p) ++p;
    if (p >= end) return false;
    if (p == s) return true;  // the empty string ends the list
    add(s, p - s);
    ++p;
  }
  return false;
}

}  // namespace

int VxReadDropFiles(HGLOBAL hDrop, CStringList& paths) {
  if (!hDrop) return -1;
  SIZE_T size = ::GlobalSize(hDrop);
  if (size < sizeof(DROPFILES)) return -1;
  const BYTE* p = static_cast<const BYTE*>(::GlobalLock(hDrop));
  if (!p) return -1;
  const DROPFILES* df = reinterpret_cast<const DROPFILES*>(p);
  int n = -1;
  if (df->pFiles >= sizeof(DROPFILES) && df->pFiles < size) {
    CStringList found;
    bool ok;
    if (df->fWide) {
      const WCHAR* first = reinterpret_cast<const WCHAR*>(p + df->pFiles);
      ok = ReadList(first, first + (size - df->pFiles) / sizeof(WCHAR), [&](const WCHAR* s, ptrdiff_t len) {
        found.AddTail(textkit::WideToAnsi(std::wstring(s, size_t(len))).c_str());
      });
    } else {
      const char* first = reinterpret_cast<const char*>(p + df->pFiles);
      ok = ReadList(first, first + (size - df->pFiles), [&](const char* s, ptrdiff_t len) {
        found.AddTail(std::string(s, len).c_str());
      });
    }
    if (ok) {
      n = (int)found.GetCount();
      paths.AddTail(&found);
    }
  }
  ::GlobalUnlock(hDrop);
  return n;
}

// ---- The clipboard ------------------------------------------------------------------------

namespace {

UINT DropEffectFormat() {
  static UINT cf = ::RegisterClipboardFormatA(CFSTR_PREFERREDDROPEFFECT);
  return cf;
}

UINT IdListFormat() {
  static UINT cf = ::RegisterClipboardFormatA(CFSTR_SHELLIDLIST);
  return cf;
}

// Another program may hold the clipboard for a moment.
BOOL OpenClipboardPatiently(HWND hWnd) {
  for (int i = 0; i < 25; ++i) {
    if (::OpenClipboard(hWnd)) return TRUE;
    ::Sleep(8);
  }
  return FALSE;
}

// The paths as the desktop folder's item-id lists, in the shell's array (CIDA); null
// when any path does not parse.
HGLOBAL BuildIdList(const CStringList& paths) {
  IShellFolder* pDesktop = nullptr;
  if (FAILED(::SHGetDesktopFolder(&pDesktop)) || !pDesktop) return nullptr;
  std::vector<LPITEMIDLIST> items;
  bool ok = true;
  for (POSITION pos = paths.GetHeadPosition(); pos && ok;) {
    const CString& s = paths.GetNext(pos);
    std::wstring wide = textkit::AnsiToWide((LPCSTR)s);
    LPITEMIDLIST pidl = nullptr;
    ok = SUCCEEDED(pDesktop->ParseDisplayName(nullptr, nullptr, &wide[0], nullptr, &pidl, nullptr)) && pidl;
    if (ok) items.push_back(pidl);
  }
  pDesktop->Release();
  HGLOBAL h = nullptr;
  if (ok) {
    // Header: the count and one offset per list (the parent first); then the desktop's
    // empty list and each item's list.
    SIZE_T header = sizeof(UINT) * (items.size() + 2);
    SIZE_T size = header + sizeof(USHORT);
    for (LPITEMIDLIST pidl : items) size += ::ILGetSize(pidl);
    h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, size);
    BYTE* p = h ? static_cast<BYTE*>(::GlobalLock(h)) : nullptr;
    if (p) {
      UINT* offsets = reinterpret_cast<UINT*>(p);
      offsets[0] = (UINT)items.size();
      SIZE_T at = header;
      offsets[1] = (UINT)at;  // the desktop: an empty list
      at += sizeof(USHORT);
      for (size_t i = 0; i < items.size(); ++i) {
        offsets[i + 2] = (UINT)at;
        UINT cb = ::ILGetSize(items[i]);
        std::memcpy(p + at, items[i], cb);
        at += cb;
      }
      ::GlobalUnlock(h);
    } else if (h) {
      ::GlobalFree(h);
      h = nullptr;
    }
  }
  for (LPITEMIDLIST pidl : items) ::ILFree(pidl);
  return h;
}

HGLOBAL CopyBlock(HANDLE hSource) {
  SIZE_T size = hSource ? ::GlobalSize(hSource) : 0;
  const void* src = size ? ::GlobalLock(hSource) : nullptr;
  if (!src) return nullptr;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, size);
  void* dst = h ? ::GlobalLock(h) : nullptr;
  if (dst) {
    std::memcpy(dst, src, size);
    ::GlobalUnlock(h);
  } else if (h) {
    ::GlobalFree(h);
    h = nullptr;
  }
  ::GlobalUnlock(hSource);
  return h;
}

}  // namespace

CExploreClipboardObject::CExploreClipboardObject()
    : m_hViewer(nullptr), m_hNext(nullptr), m_dwWrittenSequence(0), m_nWriting(0), m_bJoining(FALSE) {}

CExploreClipboardObject::~CExploreClipboardObject() { ResetViewer(); }

HRESULT CExploreClipboardObject::Write(HWND hWnd, UINT nEffect, const CStringList& paths) {
  return Write(hWnd, nEffect, POINT{0, 0}, paths);
}

HRESULT CExploreClipboardObject::Write(HWND hWnd, UINT nEffect, POINT pt, const CStringList& paths) {
  // The clipboard keeps data only for an owner window.
  if (!hWnd || !::IsWindow(hWnd) || paths.IsEmpty() || nEffect == 0) return E_INVALIDARG;
  HGLOBAL hDrop = VxBuildDropFiles(paths, pt);
  HGLOBAL hEffect = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, sizeof(DWORD));
  HGLOBAL hIdList = nullptr;
  // Blocks the clipboard did not take stay ours.
  auto freeBlocks = [&] {
    for (HGLOBAL h : {hDrop, hEffect, hIdList})
      if (h) ::GlobalFree(h);
  };
  if (!hDrop || !hEffect) {
    freeBlocks();
    return E_OUTOFMEMORY;
  }
  *static_cast<DWORD*>(::GlobalLock(hEffect)) = nEffect;
  ::GlobalUnlock(hEffect);
  hIdList = BuildIdList(paths);

  ::InterlockedIncrement(&m_nWriting);
  HRESULT hr = S_OK;
  if (!OpenClipboardPatiently(hWnd)) {
    hr = HRESULT_FROM_WIN32(::GetLastError() ? ::GetLastError() : ERROR_ACCESS_DENIED);
    freeBlocks();
  } else {
    ::EmptyClipboard();
    if (!::SetClipboardData(CF_HDROP, hDrop)) {
      hr = HRESULT_FROM_WIN32(::GetLastError() ? ::GetLastError() : ERROR_INVALID_HANDLE);
      freeBlocks();
    } else {
      if (!::SetClipboardData(DropEffectFormat(), hEffect)) ::GlobalFree(hEffect);
      if (hIdList && !::SetClipboardData(IdListFormat(), hIdList)) ::GlobalFree(hIdList);
    }
    ::CloseClipboard();
    m_dwWrittenSequence = ::GetClipboardSequenceNumber();
  }
  ::InterlockedDecrement(&m_nWriting);
  return hr;
}

BOOL CExploreClipboardObject::CanRead() const { return ::IsClipboardFormatAvailable(CF_HDROP); }

HGLOBAL CExploreClipboardObject::Read(HWND hWnd, DWORD* pdwEffect) const {
  if (pdwEffect) *pdwEffect = DROPEFFECT_COPY;
  if (!::IsClipboardFormatAvailable(CF_HDROP) || !OpenClipboardPatiently(hWnd)) return nullptr;
  HGLOBAL hCopy = CopyBlock(::GetClipboardData(CF_HDROP));
  HANDLE hEffect = ::GetClipboardData(DropEffectFormat());
  if (pdwEffect && hEffect && ::GlobalSize(hEffect) >= sizeof(DWORD)) {
    if (const DWORD* p = static_cast<const DWORD*>(::GlobalLock(hEffect))) {
      if (*p) *pdwEffect = *p;
      ::GlobalUnlock(hEffect);
    }
  }
  ::CloseClipboard();
  // Hand out only what reads as a file list.
  CStringList check;
  if (hCopy && VxReadDropFiles(hCopy, check) < 0) {
    ::GlobalFree(hCopy);
    hCopy = nullptr;
  }
  return hCopy;
}

int CExploreClipboardObject::ReadPaths(CStringList& paths, DWORD* pdwEffect) const {
  HGLOBAL h = Read(HWND(nullptr), pdwEffect);
  if (!h) return 0;
  int n = VxReadDropFiles(h, paths);
  ::GlobalFree(h);
  return n > 0 ? n : 0;
}

BOOL CExploreClipboardObject::Clear() {
  if (!OpenClipboardPatiently(nullptr)) return FALSE;
  ::EmptyClipboard();
  ::CloseClipboard();
  return TRUE;
}

// ---- The viewer chain ----------------------------------------------------------------------

BOOL CExploreClipboardObject::SetViewer(HWND hWnd) {
  if (!hWnd || !::IsWindow(hWnd)) return FALSE;
  if (hWnd == m_hViewer) return TRUE;
  ResetViewer();
  m_dwWrittenSequence = ::GetClipboardSequenceNumber();  // watch what is there now
  m_hViewer = hWnd;
  m_bJoining = TRUE;  // joining greets the window with a WM_DRAWCLIPBOARD of its own
  m_hNext = ::SetClipboardViewer(hWnd);
  m_bJoining = FALSE;
  return TRUE;
}

void CExploreClipboardObject::ResetViewer() {
  if (!m_hViewer) return;
  ::ChangeClipboardChain(m_hViewer, m_hNext);
  m_hViewer = nullptr;
  m_hNext = nullptr;
}

void VxPassClipboardNotice(HWND hNext, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (hNext) ::SendMessageTimeoutA(hNext, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
}

BOOL CExploreClipboardObject::OnDrawClipboard(WPARAM wParam, LPARAM lParam) {
  if (!m_bJoining) VxPassClipboardNotice(m_hNext, WM_DRAWCLIPBOARD, wParam, lParam);
  if (!m_hViewer || m_bJoining || m_nWriting > 0) return FALSE;
  return ::GetClipboardSequenceNumber() != m_dwWrittenSequence;
}

void CExploreClipboardObject::OnChangeCbChain(WPARAM wParam, LPARAM lParam) {
  HWND hRemoved = reinterpret_cast<HWND>(wParam);
  HWND hAfter = reinterpret_cast<HWND>(lParam);
  if (hRemoved == m_hNext)
    m_hNext = hAfter;
  else
    VxPassClipboardNotice(m_hNext, WM_CHANGECBCHAIN, wParam, lParam);
}
