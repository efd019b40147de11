// ClipFacts: the content-information object of a ".cont" file (see VxContFile.h for the
// format). Made through the library's DllCreateInstance with the class and interface ids
// below; the editing interface is asked of it with QueryInterface.
//
// Open reads the file; a file that is not a content file fails and nothing is ever
// written through that object. Changes stay in the object until Save (or Commit), which
// rewrites the file in one replacing move. A content file begun anew (Finish, then
// SetOutputPath) is written by Commit as a new file through the verified write, never onto
// another file.
//
// The clip's files are its stream entries (the stream files in playing order) and its
// records (the companions: thumbnail, still information), each with its size and time.
#pragma once
#include <objbase.h>

#include <ClipFactsRecords.h>

// {B4D17E28-5C93-4A0E-8F6B-71C2D9E0A354}
DEFINE_GUID(CLSID_ClipFacts, 0xB4D17E28, 0x5C93, 0x4A0E, 0x8F, 0x6B, 0x71, 0xC2, 0xD9, 0xE0, 0xA3, 0x54);
// The writer of new content files (the upload's companions): made empty, filled, saved
// to a path and finished, ready for the next file.
// {C91E4F07-36B2-4E5D-A8F0-5D3C72B9E640}
DEFINE_GUID(CLSID_ClipFactsWriter, 0xC91E4F07, 0x36B2, 0x4E5D, 0xA8, 0xF0, 0x5D, 0x3C, 0x72, 0xB9, 0xE6, 0x40);
// {1F8C6A53-E207-4D9B-B3A1-94E5C2076F1D}
DEFINE_GUID(IID_IClipFacts, 0x1F8C6A53, 0xE207, 0x4D9B, 0xB3, 0xA1, 0x94, 0xE5, 0xC2, 0x07, 0x6F, 0x1D);
// {7D05B9E6-4A2C-4F81-9C3E-0B6D8A1F27C5}
DEFINE_GUID(IID_IClipFactsEdit, 0x7D05B9E6, 0x4A2C, 0x4F81, 0x9C, 0x3E, 0x0B, 0x6D, 0x8A, 0x1F, 0x27, 0xC5);

// The information record of an open content file (texts in UTF-16).
struct CLIPFACTSINFO {
  DWORD cbSize;             // sizeof(CLIPFACTSINFO)
  WCHAR szTitle[256];
  WCHAR szMaker[64];
  WCHAR szModel[64];
  BOOL bHasRecordTime;
  SYSTEMTIME stRecordTime;  // local time
  double dDurationSeconds;  // 0 unknown
  int nMemberCount;
};

// A scene opened for playing (OpenScene): the stream file to play.
struct CLIPFACTSSCENE {
  DWORD cbSize;  // sizeof(CLIPFACTSSCENE)
  WCHAR szStream[MAX_PATH];
};

// The scene player reaches OpenScene and GetSceneRecord by their slots (4 and 11).
struct IClipFacts : public IUnknown {
  // S_OK; HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when missing;
  // HRESULT_FROM_WIN32(ERROR_INVALID_DATA) when it is not a content file.
  virtual HRESULT STDMETHODCALLTYPE Open(LPCWSTR pszPath) = 0;  // 3
  // A scene to play: a content file (its first ".mts"/".m2ts" member that exists, in its
  // folder) or a stream file itself. HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when there is
  // no such stream.
  virtual HRESULT STDMETHODCALLTYPE OpenScene(LPCWSTR pszPath) = 0;  // 4
  // E_UNEXPECTED before a successful Open; E_POINTER for null or a wrong cbSize.
  virtual HRESULT STDMETHODCALLTYPE GetInfo(CLIPFACTSINFO* pInfo) = 0;  // 5
  // Member nIndex's file name into the buffer; E_INVALIDARG out of range.
  virtual HRESULT STDMETHODCALLTYPE GetMember(int nIndex, LPWSTR pszName, int cch) = 0;  // 6
  // The stream entries and the companion records; E_INVALIDARG for an index out of range.
  virtual HRESULT STDMETHODCALLTYPE GetStreamCount(int* pnCount) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE GetStream(int nIndex, CLIPFACTS_ENTRY* pEntry) = 0;  // 8
  virtual HRESULT STDMETHODCALLTYPE GetRecordCount(int* pnCount) = 0;  // 9
  virtual HRESULT STDMETHODCALLTYPE GetRecord(int nIndex, CLIPFACTS_ENTRY* pEntry) = 0;  // 10
  // The open scene's record; null before a successful OpenScene.
  virtual const CLIPFACTSSCENE* STDMETHODCALLTYPE GetSceneRecord() = 0;  // 11
};

struct IClipFactsEdit : public IUnknown {
  // At most 255 characters; E_INVALIDARG for longer or null titles.
  virtual HRESULT STDMETHODCALLTYPE SetTitle(LPCWSTR pszTitle) = 0;
  // Every member whose base name (before its first dot) equals pszOldBase, without regard
  // to case, takes pszNewBase instead; the number changed in *pnChanged. E_INVALIDARG when
  // a new name would not be a plain file name.
  virtual HRESULT STDMETHODCALLTYPE RenameEntries(LPCWSTR pszOldBase, LPCWSTR pszNewBase, int* pnChanged) = 0;
  // Writes the file; E_UNEXPECTED when nothing was opened.
  virtual HRESULT STDMETHODCALLTYPE Save() = 0;

  // The upload's operations, in the order it calls them. Paths are full paths.
  // Writes what was set to a new file (replacing one of that name).
  virtual HRESULT STDMETHODCALLTYPE SaveAs(LPCWSTR pszPath) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetOption(DWORD dwOption) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetClipInfo(const CLIPFACTS_CLIPINFO* pInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetBaseFolder(LPCWSTR pszFolder) = 0;
  // The count the items are added up to: E_INVALIDARG for a negative one or above 1000.
  virtual HRESULT STDMETHODCALLTYPE SetItemCount(int nCount) = 0;
  // E_FAIL past the count set, E_INVALIDARG for a path that is not full.
  virtual HRESULT STDMETHODCALLTYPE AddItem(const CLIPFACTS_ITEM* pItem) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetThumbnailCount(int nCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetThumbnail(int nIndex, const CLIPFACTS_THUMBNAIL* pThumb) = 0;
  // Forgets everything set: the object is ready for the next file.
  virtual HRESULT STDMETHODCALLTYPE Finish() = 0;

  // The card import's companion-file writer and the drop's repair.
  // Where Commit writes; Open sets the file opened. At most 259 characters, a full path.
  virtual HRESULT STDMETHODCALLTYPE SetOutputPath(LPCWSTR pszPath) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputPath(LPWSTR pszPath, int cch) = 0;
  // Counts first (0 to 1000; shrinking drops the last ones, growing adds empty entries),
  // then the entries by index. A name must be a plain file name (E_INVALIDARG).
  virtual HRESULT STDMETHODCALLTYPE SetStreamCount(int nCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetStream(int nIndex, const CLIPFACTS_ENTRY* pEntry) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetRecordCount(int nCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetRecord(int nIndex, const CLIPFACTS_ENTRY* pEntry) = 0;
  // E_INVALIDARG for more than 1024 bytes.
  virtual HRESULT STDMETHODCALLTYPE SetPrivateData(const CLIPFACTS_PRIVATE* pData) = 0;
  // Writes the content file: E_UNEXPECTED without an output path; an entry left empty
  // fails with E_UNEXPECTED; HRESULT_FROM_WIN32(ERROR_FILE_EXISTS) when a new file's
  // name is taken.
  virtual HRESULT STDMETHODCALLTYPE Commit() = 0;
};

#ifdef CLIPFACTS_BUILD
#define CLIPFACTS_API __declspec(dllexport)
#else
#define CLIPFACTS_API __declspec(dllimport)
#endif
extern "C" CLIPFACTS_API HRESULT WINAPI DllCreateInstance(REFCLSID rclsid, REFIID riid, void** ppv);
typedef HRESULT(WINAPI* PFNCLIPFACTSCREATE)(REFCLSID, REFIID, void**);

// Where the library is installed, relative to the program's folder.
#define CLIPFACTS_RELATIVE_PATH "Core\\ScoreHall\\ClipFacts.dll"
// The library beside the running program; null when it is not there.
inline HMODULE LoadClipFactsBesideProgram() {
  char path[MAX_PATH * 2] = {};
  DWORD n = ::GetModuleFileNameA(NULL, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return NULL;
  char* slash = NULL;
  for (char* p = path; *p; p = ::CharNextA(p))
    if (*p == '\\') slash = p;
  if (!slash) return NULL;
  lstrcpyA(slash + 1, CLIPFACTS_RELATIVE_PATH);
  return ::LoadLibraryA(path);
}
