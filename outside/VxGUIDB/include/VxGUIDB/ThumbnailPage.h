// CThumbnailPage: one group of items (a folder on disk, a virtual folder, the calendar
// page), and the decoder that makes their pictures on its own thread.
//
// Decoder threading rules:
//  - DecodeStart runs the decoder on threads of the library; the callback is called
//    there, once per item whose picture was just made, one call at a time, with the item
//    alive (an item being destroyed waits for a callback on it to return).
//  - Callbacks must not wait for the user-interface thread (post, don't send): that
//    thread may be waiting in DecodeStop or in an item's destructor. The library keeps
//    pumping sent messages while it waits, so a SendMessage from a callback does not
//    dead-lock, but it is slow.
//  - DecodeStop returns at once when no callback runs, else as soon as the running one
//    returns; no callback of that run is called afterwards. A decode that is in the
//    middle of a file finishes in the background and stores its picture.
//  - DecodeStop from inside a callback stops the run without waiting.
//  - The threads are kept from one DecodeStart to the next; they end once no run, no page
//    and no hold (HoldDecodeThreads) is left (the last page's destructor, DecodeStop or the
//    release then waits up to 5 s for them).
//  - The decode list and the window (start position, count) are kept across
//    DecodeStop/DecodeStart; items destroyed meanwhile simply drop out.
//  - Order: the items of the window [start position, start position + count) of the
//    decode list first, in list order; then the rest of the list from the window's end
//    on, then from its start, while the pixels kept leave room (SetPixelBudget). The
//    window may move at any time (every paint).
#pragma once

#include <VxGUIDB/VxGUIDBDefs.h>
#include <VxGUIDB/Thumbnail.h>

#include <list>
#include <vector>

struct PageImpl;

// The per-file question of a folder scan: answer 0 to go on; any other answer stops the
// scan, which then answers it too.
class IThumbnailPage_AddFolderCallback {
 public:
  virtual long OnAddThumbnail(CThumbnail* pThumbnail) = 0;

 protected:
  ~IThumbnailPage_AddFolderCallback() {}
};

// A page's group key: a group number and a key text (a folder path with a trailing
// backslash, an AVCHD page name, or nothing for virtual folders).
class VXGUIDB_API CThumbnailGroupInfo {
 public:
  CThumbnailGroupInfo() : m_nGroup(0) {}
  CThumbnailGroupInfo(int nGroup, LPCSTR pszText) : m_nGroup(nGroup), m_strText(pszText ? pszText : "") {}

  void Set(int nGroup, LPCSTR pszText);
  void Clear();
  int GetGroup() const { return m_nGroup; }
  const CString& GetText() const { return m_strText; }
  // A key was set (group number above 0).
  BOOL IsValid() const { return m_nGroup > 0; }
  // The key text names a folder that exists.
  BOOL IsFolder() const;
  // Same number and same text (compared without regard to case).
  bool operator==(const CThumbnailGroupInfo& other) const;
  bool operator!=(const CThumbnailGroupInfo& other) const { return !(*this == other); }

 private:
  int m_nGroup;
  CString m_strText;
};

typedef void (*VXDECODECALLBACK)(CThumbnail* pThumbnail, void* pContext);

class VXGUIDB_API CThumbnailPage {
 public:
  // nType: VXPAGE_* (any number); nNumber: the page's number in its list.
  CThumbnailPage(int nType, int nNumber);
  virtual ~CThumbnailPage();
  CThumbnailPage(const CThumbnailPage&) = delete;
  CThumbnailPage& operator=(const CThumbnailPage&) = delete;

  int GetType() const;
  int GetNumber() const;
  // Pages delete their items, except the calendar page (VXPAGE_CALENDAR), whose items
  // belong to whoever added them.
  BOOL OwnsItems() const;

  // ---- Filling ------------------------------------------------------------------------
  // Scans a folder (with or without a trailing backslash): every file that isn't hidden
  // or a system file becomes an item, and with bSubFolders every such sub-folder too.
  // The callback (may be null) is asked after each item was added. 0 on success; the
  // callback's answer when it stopped the scan; ERROR_CANCELLED (1223) after Stop;
  // HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) for a missing folder. dwFlags: reserved, 0.
  long Add(LPCSTR pszFolder, BOOL bSubFolders, IThumbnailPage_AddFolderCallback* pCallback, DWORD dwFlags);
  // The same scan in two steps, so that a caller may list on a thread of its own and add
  // on its own thread: ListFolder touches no page (any thread); AddListed makes the
  // items of what it listed, as Add does (its answers too).
  static long ListFolder(LPCSTR pszFolder, BOOL bSubFolders, std::vector<WIN32_FIND_DATAA>* pEntries);
  long AddListed(LPCSTR pszFolder, const std::vector<WIN32_FIND_DATAA>& entries,
                 IThumbnailPage_AddFolderCallback* pCallback);
  // Adds one file. nFlags bit 0: the file is a member of a virtual folder (the page then
  // counts as one). 0 on success (the new item in *ppAdded when asked for);
  // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when it does not exist.
  long Add(LPCSTR pszFile, int nFlags, CThumbnail** ppAdded = NULL);
  // Adds an item made elsewhere; the page owns it unless it is a calendar page. E_POINTER
  // for null, E_INVALIDARG for an item that belongs to a page already.
  long Add(CThumbnail* pThumbnail);
  // A memory card's audio or voice area: a folder ("…\SD_Audio", "…\SD_Voice") whose
  // sound files become tracks 1, 2 … in name order, or one file that becomes the page's
  // next track.
  long Add_SDAudio(LPCSTR pszPath, IThumbnailPage_AddFolderCallback* pCallback = NULL,
                   CThumbnail** ppAdded = NULL);
  // An AVCHD scene image of the disc-movie core: the file (or every file of the folder)
  // becomes an AVCHD scene item carrying the three indexes.
  long AddAVCHD(LPCSTR pszPath, BOOL bSubFolders, IThumbnailPage_AddFolderCallback* pCallback, DWORD dwFlags,
                int nFirst, int nSecond, int nImage);
  // Asks a running scan of this page to stop at its next file (any thread), and takes
  // the page's items out of the decode list.
  long Stop();

  // ---- Removing -----------------------------------------------------------------------
  // Takes the item out (and deletes it when the page owns it). 0, or E_INVALIDARG when it
  // is not on this page.
  long Remove(CThumbnail* pThumbnail);
  long Remove(LPCSTR pszPath);
  void RemoveAll();
  // Removes every item whose file is gone; the number removed.
  int RemoveAllInvalidThumbnail();

  // ---- Reading ------------------------------------------------------------------------
  int GetCount() const;
  CThumbnail* GetAt(int nIndex) const;  // null out of range
  int IndexOf(const CThumbnail* pThumbnail) const;
  // The item of that path (compared without regard to case) whose kind has all bits of
  // nKindMask; null when none.
  CThumbnail* Find(LPCSTR pszPath, UINT nKindMask = 0) const;
  // Files whose kind has all bits of nMask (folder entries don't count).
  int Size(UINT nMask = 0) const;
  CString GetName() const;
  void SetName(LPCSTR pszName);
  const CThumbnailGroupInfo& GetGroupInfo() const;
  void SetGroupInfo(const CThumbnailGroupInfo& info);
  // Listed files rather than a folder: a page keyed without text, or one that got a file
  // with Add(file, 1).
  BOOL IsVirtualFolder() const;
  // A card track with a usable track record whose file is there.
  static BOOL IsValid_AudioInfo(const CThumbnail* pThumbnail);

  // ---- Sorting ------------------------------------------------------------------------
  // Gives every item a sort string for the key letters, compared with lstrcmp (then
  // reversed for a descending sort). Letters: t recording time, d modified time, z size,
  // e extension, f name, a camera model, b picture size (pixels), c marked and
  // favourite first, m card track number, o the original sort source. Folder entries
  // come first in either direction.
  void CreateSortString(LPCSTR pszKeys, bool bAscending);
  // Orders the page's items by those strings (stable). 0, or E_INVALIDARG without keys.
  long Sort(LPCSTR pszKeys, bool bAscending);

  // ---- Decoder ------------------------------------------------------------------------
  // Starts (or restarts) decoding the decode list into pictures of the given size.
  static HRESULT DecodeStart(CSize size, VXDECODECALLBACK pfnCallback, void* pContext);
  static HRESULT DecodeStop();
  // Keeps the threads while held (counted) although no run and no page is left, as through
  // a change of folder, where the old pages go before the new ones come: ending them there
  // and starting them again costs the change a wait and the threads' start-up. The last
  // release with no run and no page ends them as DecodeStop would.
  static void HoldDecodeThreads(BOOL bHold);
  static BOOL IsDecoding();
  // Threads of the next DecodeStart: nThreads, or 0 for one less than the processors
  // (1 to 4). With more than one, pictures are made side by side, so callbacks (still
  // one at a time) need not come in list order.
  static void SetDecodeThreadCount(int nThreads);
  static int GetDecodeThreadCount();
  static void SetDecodeCount(int nCount);
  static void SetDecodeStartPos(int nPos);
  // Appends one item to the decode list.
  static void SetDecodeTumbnail(CThumbnail* pThumbnail);
  // Replaces the decode list.
  static void SetDecodeTumbnailList(CThumbnail* const* ppItems, int nCount);
  static void SetDecodeTumbnailList(const std::list<CThumbnail*>& items);
  static void SetDecodeTumbnailList(const std::vector<CThumbnail*>& items);
  static void SetDecodeTumbnailList(const CList<CThumbnail*, CThumbnail*>& items) {
    std::vector<CThumbnail*> v;
    v.reserve(items.GetCount());
    for (POSITION pos = items.GetHeadPosition(); pos;) v.push_back(items.GetNext(pos));
    SetDecodeTumbnailList(v);
  }
  static void ClearDecodeThumbnailList();
  static int GetDecodeListSize();
  // The pixels the items keep (decoded pictures and those composed for the views) stay
  // under this many bytes (192 MB unless set; 0 sets that again): the items farthest from
  // the decode window give theirs up first and are decoded again when the window returns.
  static void SetPixelBudget(ULONGLONG bytes);
  static ULONGLONG GetPixelBytes();

 private:
  friend struct VxgAccess;
  PageImpl* m_p;
};
