// VxGUIDB utilities: a worker-thread base, resource and registry helpers, file identity.
#pragma once

#include <VxGUIDB/VxGUIDBDefs.h>

class CVxGUITrans;  // the browser controller (browser library)

// ---- CVxThread: a worker thread with a virtual body ----------------------------------
// Derive, implement Run, BeginThread. Run should look at IsAbort now and then and return
// when it is set. The object must outlive its thread: EndThread (or the destructor)
// waits for it, pumping sent messages meanwhile so that a worker that sends to the
// waiting thread's windows still finishes.
class VXGUIDB_API CVxThread {
 public:
  explicit CVxThread(CVxGUITrans* pOwner);
  virtual ~CVxThread();
  CVxThread(const CVxThread&) = delete;
  CVxThread& operator=(const CVxThread&) = delete;

  // Starts Run on a new thread at the given priority (THREAD_PRIORITY_*). FALSE when it is
  // running already or the thread can't be made.
  BOOL BeginThread(int nPriority = THREAD_PRIORITY_NORMAL);
  // Sets the abort flag and waits (dwTimeout ms, INFINITE for ever) for Run to return.
  // TRUE when the thread has ended.
  BOOL EndThread(DWORD dwTimeout = INFINITE);
  void Abort();           // sets the abort flag only
  BOOL IsAbort() const;   // the abort flag
  BOOL IsActive() const;  // Run has not returned yet
  BOOL SetPriority(int nPriority);
  DWORD GetExitCode() const;  // Run's result once it returned
  CVxGUITrans* GetOwner() const { return m_pOwner; }

 protected:
  virtual DWORD Run() = 0;

 private:
  static DWORD WINAPI ThreadEntry(LPVOID pParam);
  CVxGUITrans* m_pOwner;
  HANDLE m_hThread;
  DWORD m_dwThreadId;
  volatile LONG m_lAbort;
  volatile LONG m_lActive;
  DWORD m_dwExitCode;
};

// ---- Resources of the resource library (VxResource.dll) ------------------------------
// The resource library of the process: VxResource.dll from the program folder, loaded at
// the first use and kept; null when it is missing.
VXGUIDB_API HINSTANCE VxGetResourceLibrary();
// Names the resource library (a program that loaded it from elsewhere; tests).
VXGUIDB_API void VxSetResourceLibrary(HINSTANCE hModule);

// Strings of the resource library (or, when a module is given, of that module).
class VXGUIDB_API CResourceLoader {
 public:
  explicit CResourceLoader(HINSTANCE hModule = NULL);
  // The string; FALSE (and an empty string) when no module has it.
  BOOL LoadStringA(UINT nID, CString& str) const;
  CString LoadStringA(UINT nID) const;
  // The string of nID used as a printf format with the arguments.
  template <class... A>
  BOOL LoadFormatString(CString& str, UINT nID, const A&... args) const {
    CString fmt;
    if (!LoadStringA(nID, fmt)) { str.Empty(); return FALSE; }
    str.Format(fmt, args...);
    return TRUE;
  }
  template <class... A>
  CString Format(UINT nID, const A&... args) const {
    CString s;
    LoadFormatString(s, nID, args...);
    return s;
  }
  HINSTANCE GetModule() const;

 private:
  HINSTANCE m_hModule;
};

// Makes the resource library the framework's current resource module for a scope and
// puts the previous one back at its end. Nests.
class VXGUIDB_API CResourceChanger {
 public:
  CResourceChanger();
  explicit CResourceChanger(HINSTANCE hModule);
  ~CResourceChanger();
  CResourceChanger(const CResourceChanger&) = delete;
  CResourceChanger& operator=(const CResourceChanger&) = delete;
  BOOL IsChanged() const { return m_bChanged; }

 private:
  HINSTANCE m_hPrevious;
  BOOL m_bChanged;
};

// Bitmaps of the resource library by index: filled once (Load/Add), drawn many times.
// Deleting the container deletes the bitmaps.
class VXGUIDB_API CBitmapResourceContainer {
 public:
  CBitmapResourceContainer();
  ~CBitmapResourceContainer();
  CBitmapResourceContainer(const CBitmapResourceContainer&) = delete;
  CBitmapResourceContainer& operator=(const CBitmapResourceContainer&) = delete;

  // Loads bitmap nResourceID (resource library, else the current resource module) as
  // entry nIndex, replacing one that was there. FALSE when it can't be loaded.
  BOOL Add(int nIndex, UINT nResourceID);
  // Entries 0 .. nCount-1 from the table; the number that loaded.
  int Load(const UINT* pResourceIDs, int nCount);
  void Clear();
  BOOL IsEmpty() const;
  int GetCount() const;  // highest index + 1
  HBITMAP GetBitmap(int nIndex) const;
  int GetWidth(int nIndex) const;
  int GetHeight(int nIndex) const;
  SIZE GetSize(int nIndex) const;
  // Draws entry nIndex with its top-left corner at (x, y), at its own size / stretched.
  BOOL Draw(HDC hdc, int nIndex, int x, int y) const;
  BOOL StretchDraw(HDC hdc, int nIndex, const RECT& rc) const;
  // With one colour transparent.
  BOOL DrawTransparent(HDC hdc, int nIndex, int x, int y, COLORREF crTransparent) const;

 private:
  struct Entry;
  Entry* m_pEntries;
  int m_nCount;
};

// A module found by file name: the program folder first, then this library's folder,
// then the system's search. A module that is loaded already is shared; otherwise it is
// loaded for its resources only (no code of it runs) unless bCode is set.
class VXGUIDB_API CDllLoader {
 public:
  CDllLoader();
  explicit CDllLoader(LPCSTR pszFileName, BOOL bCode = FALSE);
  ~CDllLoader();
  CDllLoader(const CDllLoader&) = delete;
  CDllLoader& operator=(const CDllLoader&) = delete;

  BOOL Load(LPCSTR pszFileName, BOOL bCode = FALSE);
  void Free();
  BOOL IsLoaded() const { return m_hModule != NULL; }
  HMODULE GetHandle() const { return m_hModule; }
  // An export (null for a module loaded for its resources, or when missing).
  FARPROC GetProcAddress(LPCSTR pszName) const;
  // String nID of the module; when the module has none, the resource library's. Copies
  // at most nSize-1 characters; the length, 0 when neither has it.
  int LoadStringA(UINT nID, LPSTR pszBuf, int nSize) const;
  BOOL LoadStringA(UINT nID, CString& str) const;

 private:
  HMODULE m_hModule;
  BOOL m_bOwned;
  BOOL m_bData;
};

// ---- Registry ------------------------------------------------------------------------
// One registry key, opened (or created, with write access) at construction.
class VXGUIDB_API CRegManager {
 public:
  CRegManager();
  CRegManager(HKEY hRoot, LPCSTR pszSubKey, REGSAM access = KEY_READ | KEY_WRITE);
  virtual ~CRegManager();
  CRegManager(const CRegManager&) = delete;
  CRegManager& operator=(const CRegManager&) = delete;

  BOOL Open(HKEY hRoot, LPCSTR pszSubKey, REGSAM access = KEY_READ | KEY_WRITE);
  void Close();
  BOOL IsOpen() const { return m_hKey != NULL; }
  HKEY GetKey() const { return m_hKey; }

  // Reads: FALSE (value untouched) when missing or of another type.
  BOOL Read(LPCSTR pszName, DWORD& dwValue) const;
  BOOL Read(LPCSTR pszName, CString& strValue) const;
  BOOL Read(LPCSTR pszName, void* pData, DWORD* pcbData) const;
  int GetInt(LPCSTR pszName, int nDefault) const;
  CString GetString(LPCSTR pszName, LPCSTR pszDefault = "") const;
  // Writes: FALSE without write access or when the key is not open.
  BOOL Write(LPCSTR pszName, DWORD dwValue);
  BOOL Write(LPCSTR pszName, LPCSTR pszValue);
  BOOL Write(LPCSTR pszName, const void* pData, DWORD cbData);
  BOOL SetInt(LPCSTR pszName, int nValue) { return Write(pszName, (DWORD)nValue); }
  BOOL SetString(LPCSTR pszName, LPCSTR pszValue) { return Write(pszName, pszValue); }
  BOOL DeleteValue(LPCSTR pszName);

 private:
  HKEY m_hKey;
};

// A section of the program's settings: HKEY_CURRENT_USER\<program root>\<section>, the
// root being the profile's (Software\Norvane\Marlo5 unless moved).
class VXGUIDB_API CMarloRegManager : public CRegManager {
 public:
  explicit CMarloRegManager(LPCSTR pszSection, REGSAM access = KEY_READ | KEY_WRITE);
  // The program root's key path below HKEY_CURRENT_USER.
  static CString GetRootPath();
};

// ---- Files -----------------------------------------------------------------------------
// Whether a file or folder exists (a trailing backslash allowed; no wildcards). With a
// find-data record it receives the entry (a drive root gives its attributes only).
VXGUIDB_API BOOL IsValidPath(LPCSTR pszPath, WIN32_FIND_DATAA* pFindData = NULL);

class CThumbnail;

// The identity of a file on disk: path, size and times. Two identities are equal when
// the same path (without regard to case) has the same size and times.
class VXGUIDB_API CFileTime {
 public:
  CFileTime();
  // Reads the identity; S_OK, E_INVALIDARG, or HRESULT_FROM_WIN32 of the failure (the
  // identity is then empty).
  HRESULT Extract(LPCSTR pszPath);
  HRESULT Extract(const CThumbnail* pThumbnail);
  void Clear();
  BOOL IsEmpty() const;
  bool operator==(const CFileTime& other) const;
  bool operator!=(const CFileTime& other) const { return !(*this == other); }
  LPCSTR GetPath() const { return m_strPath; }
  const FILETIME& GetLastWriteTime() const { return m_ftWrite; }
  const FILETIME& GetCreationTime() const { return m_ftCreate; }
  ULONGLONG GetSize() const { return m_qwSize; }
  DWORD GetAttributes() const { return m_dwAttributes; }

 private:
  CString m_strPath;
  FILETIME m_ftCreate;
  FILETIME m_ftWrite;
  ULONGLONG m_qwSize;
  DWORD m_dwAttributes;
};
