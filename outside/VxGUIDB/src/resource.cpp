// Resource utilities: the resource library, strings, bitmaps, modules found by name.
#include "internal.h"

using namespace vxg;

namespace {
HINSTANCE g_resource = NULL;
bool g_resourceSet = false;
}  // namespace

HINSTANCE VxGetResourceLibrary() {
  if (g_resourceSet) return g_resource;
  HINSTANCE h = GetModuleHandleA("VxResource.dll");
  if (!h) h = LoadLibraryA((ProgramFolder() + "VxResource.dll").c_str());
  if (!h) h = LoadLibraryA((LibraryFolder() + "VxResource.dll").c_str());
  if (h) {
    g_resource = h;
    g_resourceSet = true;
  }
  return h;
}

void VxSetResourceLibrary(HINSTANCE hModule) {
  g_resource = hModule;
  g_resourceSet = hModule != NULL;
}

// ---- CResourceLoader -------------------------------------------------------------------------
CResourceLoader::CResourceLoader(HINSTANCE hModule) : m_hModule(hModule) {}

HINSTANCE CResourceLoader::GetModule() const { return m_hModule ? m_hModule : VxGetResourceLibrary(); }

BOOL CResourceLoader::LoadStringA(UINT nID, CString& str) const {
  // Then the framework's current module and its chain of extension libraries.
  return str.LoadString(GetModule(), nID) || str.LoadString(nID);
}

CString CResourceLoader::LoadStringA(UINT nID) const {
  CString s;
  LoadStringA(nID, s);
  return s;
}

// ---- CResourceChanger ------------------------------------------------------------------------
CResourceChanger::CResourceChanger() : CResourceChanger(VxGetResourceLibrary()) {}

CResourceChanger::CResourceChanger(HINSTANCE hModule) : m_hPrevious(NULL), m_bChanged(FALSE) {
  if (!hModule) return;
  m_hPrevious = AfxGetResourceHandle();
  if (m_hPrevious == hModule) return;
  AfxSetResourceHandle(hModule);
  m_bChanged = TRUE;
}

CResourceChanger::~CResourceChanger() {
  if (m_bChanged) AfxSetResourceHandle(m_hPrevious);
}

// ---- CBitmapResourceContainer ----------------------------------------------------------------
struct CBitmapResourceContainer::Entry {
  HBITMAP bitmap;
  int cx, cy;
};

CBitmapResourceContainer::CBitmapResourceContainer() : m_pEntries(nullptr), m_nCount(0) {}
CBitmapResourceContainer::~CBitmapResourceContainer() { Clear(); }

BOOL CBitmapResourceContainer::Add(int nIndex, UINT nResourceID) {
  if (nIndex < 0 || nIndex > 4095) return FALSE;
  HBITMAP bmp = NULL;
  for (HINSTANCE h : {VxGetResourceLibrary(), AfxGetResourceHandle()}) {
    if (h && !bmp) bmp = (HBITMAP)LoadImageA(h, MAKEINTRESOURCEA(nResourceID), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  }
  if (!bmp) return FALSE;
  if (nIndex >= m_nCount) {
    Entry* grown = new Entry[nIndex + 1];
    for (int i = 0; i <= nIndex; ++i) grown[i] = i < m_nCount ? m_pEntries[i] : Entry{NULL, 0, 0};
    delete[] m_pEntries;
    m_pEntries = grown;
    m_nCount = nIndex + 1;
  }
  Entry& e = m_pEntries[nIndex];
  if (e.bitmap) DeleteObject(e.bitmap);
  BITMAP bm;
  GetObjectA(bmp, sizeof(bm), &bm);
  e = Entry{bmp, bm.bmWidth, bm.bmHeight};
  return TRUE;
}

int CBitmapResourceContainer::Load(const UINT* ids, int nCount) {
  int loaded = 0;
  for (int i = 0; ids && i < nCount; ++i)
    if (Add(i, ids[i])) ++loaded;
  return loaded;
}

void CBitmapResourceContainer::Clear() {
  for (int i = 0; i < m_nCount; ++i)
    if (m_pEntries[i].bitmap) DeleteObject(m_pEntries[i].bitmap);
  delete[] m_pEntries;
  m_pEntries = nullptr;
  m_nCount = 0;
}

BOOL CBitmapResourceContainer::IsEmpty() const {
  for (int i = 0; i < m_nCount; ++i)
    if (m_pEntries[i].bitmap) return FALSE;
  return TRUE;
}

int CBitmapResourceContainer::GetCount() const { return m_nCount; }
HBITMAP CBitmapResourceContainer::GetBitmap(int i) const { return i >= 0 && i < m_nCount ? m_pEntries[i].bitmap : NULL; }
int CBitmapResourceContainer::GetWidth(int i) const { return i >= 0 && i < m_nCount ? m_pEntries[i].cx : 0; }
int CBitmapResourceContainer::GetHeight(int i) const { return i >= 0 && i < m_nCount ? m_pEntries[i].cy : 0; }
SIZE CBitmapResourceContainer::GetSize(int i) const { return SIZE{GetWidth(i), GetHeight(i)}; }

BOOL CBitmapResourceContainer::Draw(HDC hdc, int i, int x, int y) const {
  RECT rc = {x, y, x + GetWidth(i), y + GetHeight(i)};
  return StretchDraw(hdc, i, rc);
}

BOOL CBitmapResourceContainer::StretchDraw(HDC hdc, int i, const RECT& rc) const {
  HBITMAP bmp = GetBitmap(i);
  if (!hdc || !bmp) return FALSE;
  HDC mem = CreateCompatibleDC(hdc);
  if (!mem) return FALSE;
  HGDIOBJ old = SelectObject(mem, bmp);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  BOOL ok = (w == GetWidth(i) && h == GetHeight(i)) ? BitBlt(hdc, rc.left, rc.top, w, h, mem, 0, 0, SRCCOPY)
                                                     : StretchBlt(hdc, rc.left, rc.top, w, h, mem, 0, 0, GetWidth(i),
                                                                  GetHeight(i), SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  return ok;
}

BOOL CBitmapResourceContainer::DrawTransparent(HDC hdc, int i, int x, int y, COLORREF crTransparent) const {
  HBITMAP bmp = GetBitmap(i);
  if (!hdc || !bmp) return FALSE;
  HDC mem = CreateCompatibleDC(hdc);
  if (!mem) return FALSE;
  HGDIOBJ old = SelectObject(mem, bmp);
  BOOL ok = TransparentBlt(hdc, x, y, GetWidth(i), GetHeight(i), mem, 0, 0, GetWidth(i), GetHeight(i), crTransparent);
  SelectObject(mem, old);
  DeleteDC(mem);
  return ok;
}

// ---- CDllLoader ------------------------------------------------------------------------------
CDllLoader::CDllLoader() : m_hModule(NULL), m_bOwned(FALSE), m_bData(FALSE) {}

CDllLoader::CDllLoader(LPCSTR pszFileName, BOOL bCode) : CDllLoader() { Load(pszFileName, bCode); }

CDllLoader::~CDllLoader() { Free(); }

BOOL CDllLoader::Load(LPCSTR pszFileName, BOOL bCode) {
  Free();
  if (!pszFileName || !*pszFileName) return FALSE;
  std::string name(pszFileName);
  std::vector<std::string> candidates;
  if (textkit::LastSeparator(name) != std::string::npos) {  // a path, not a bare name
    candidates.push_back(name);
  } else {
    candidates.push_back(ProgramFolder() + name);
    candidates.push_back(LibraryFolder() + name);
  }
  // A module that is in the process already is shared, whatever asked for it.
  for (const std::string& c : candidates) {
    HMODULE h = GetModuleHandleA(c.c_str());
    if (h) {
      if (bCode) {
        m_hModule = LoadLibraryA(c.c_str());
        m_bOwned = m_hModule != NULL;
      } else {
        m_hModule = h;
      }
      return m_hModule != NULL;
    }
  }
  if (candidates.size() == 2) {
    HMODULE h = GetModuleHandleA(name.c_str());
    if (h) {
      m_hModule = bCode ? LoadLibraryA(name.c_str()) : h;
      m_bOwned = bCode && m_hModule;
      return m_hModule != NULL;
    }
  }
  for (const std::string& c : candidates) {
    if (!PathExists(c)) continue;
    m_hModule = bCode ? LoadLibraryA(c.c_str()) : LoadLibraryExA(c.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (m_hModule) {
      m_bOwned = TRUE;
      m_bData = !bCode;
      return TRUE;
    }
  }
  if (bCode) {  // the system's search, as a last resort
    m_hModule = LoadLibraryA(name.c_str());
    m_bOwned = m_hModule != NULL;
  }
  return m_hModule != NULL;
}

void CDllLoader::Free() {
  if (m_hModule && m_bOwned) FreeLibrary(m_hModule);
  m_hModule = NULL;
  m_bOwned = FALSE;
  m_bData = FALSE;
}

FARPROC CDllLoader::GetProcAddress(LPCSTR pszName) const {
  if (!m_hModule || m_bData || !pszName) return NULL;
  return ::GetProcAddress(m_hModule, pszName);
}

int CDllLoader::LoadStringA(UINT nID, LPSTR pszBuf, int nSize) const {
  if (!pszBuf || nSize <= 0) return 0;
  pszBuf[0] = '\0';
  CString s;
  if (!LoadStringA(nID, s)) return 0;
  int n = textkit::WholeCharPrefix(s, nSize - 1);  // never cuts a double-byte character in two
  memcpy(pszBuf, (LPCSTR)s, size_t(n));
  pszBuf[n] = '\0';
  return n;
}

BOOL CDllLoader::LoadStringA(UINT nID, CString& str) const {
  return str.LoadString(m_hModule, nID) || str.LoadString(VxGetResourceLibrary(), nID);
}
