// CThumbnail: one file (or folder, shortcut, card track) as the browser shows it.
//
// Threads. An item is made, changed and destroyed on the thread that owns its page (the
// user-interface thread). The decoder thread (CThumbnailPage::DecodeStart) writes the
// decoded picture; read it only between ThreadLock and ThreadUnlock, and copy or draw
// what you need before unlocking. GetStringData/SetStringData may be called from any
// thread. Destroying an item waits for a decoder callback that runs on it to return.
#pragma once

#include <VxGUIDB/VxGUIDBDefs.h>

class CThumbnailPage;
struct ThumbImpl;

// What GetExifData reports about a picture (JPEG, TIFF, RAW). Texts are in the ANSI code
// page except szTitle.
struct VXEXIFDATA {
  char szMaker[64];
  char szModel[64];
  int nOrientation;           // 1..8, 0 when none
  BOOL bHasDate;
  SYSTEMTIME stDateTimeOriginal;  // local time as the camera wrote it
  int nWidth;                 // stored picture size (before the orientation)
  int nHeight;
  double dExposureTime;       // seconds, 0 when absent
  double dFNumber;
  double dFocalLength;        // millimetres
  int nIso;
  int nFlash;                 // the Flash tag, -1 when absent
  BOOL bHasGps;
  double dLatitude;           // signed degrees (south and west negative)
  double dLongitude;
  BOOL bHasThumbnail;         // an embedded thumbnail is present
  char szTitle[256];          // UTF-8: the picture's title (ImageDescription, else
                              // UserComment); empty when it has none
};

// Music information of a sound file or card track (GetMusicInfo). The fields keep this
// order; texts are "" when unknown.
class VXGUIDB_API CAudioTrackInfo {
 public:
  CAudioTrackInfo();
  DWORD m_dwKind;          // VXFILE_SOUND or VXFILE_CARDTRACK
  CString m_strTitle;      // the title tag, else the file's base name
  CString m_strFormat;     // "MP3 128kbps", "WAV 44.1kHz 16bit", ...
  CString m_strTime;       // playing time "m:ss" (or "h:mm:ss")
  CString m_strTimeSort;   // playing time as "%010u" milliseconds, for sorting
  CString m_strArtist;
  CString m_strAlbum;
  CString m_strGenre;
  CString m_strYear;
  CString m_strTrack;      // track number text ("3", "3/12")
  CString m_strBitRate;    // "128 kbps"
  CString m_strSampleRate; // "44100 Hz"
  CString m_strLock;       // card tracks: "ロック" when the track is protected, else ""
  DWORD m_dwDurationMs;    // 0 when unknown

  LPCSTR GetTitle() const { return m_strTitle; }
  LPCSTR GetFormatText() const { return m_strFormat; }
  LPCSTR GetTimeText() const { return m_strTime; }
  LPCSTR GetTimeSortText() const { return m_strTimeSort; }
  LPCSTR GetArtist() const { return m_strArtist; }
  LPCSTR GetAlbum() const { return m_strAlbum; }
  LPCSTR GetGenre() const { return m_strGenre; }
  LPCSTR GetYear() const { return m_strYear; }
  LPCSTR GetTrack() const { return m_strTrack; }
  LPCSTR GetBitRate() const { return m_strBitRate; }
  LPCSTR GetSampleRate() const { return m_strSampleRate; }
  LPCSTR GetLock() const { return m_strLock; }
};

// The audio-track record of a card track (GetAudioTrackRecord).
struct VXAUDIOTRACK {
  DWORD dwSize;    // sizeof(VXAUDIOTRACK)
  DWORD dwTrack;   // low byte: track number (1..); high 16 bits: sub-track number
  DWORD dwArea;    // 1 audio area, 0 voice area
  DWORD dwFlags;   // bit 0: the track is protected (locked)
};

// Callback of DecodeThumbnail: answer nonzero to go on, 0 to stop.
typedef int(CALLBACK* VXDECODEABORTPROC)(void* pContext);

class VXGUIDB_API CThumbnail {
 public:
  CThumbnail();
  explicit CThumbnail(LPCSTR pszPath);
  // A copy of another item's file, kind, dates and flags (not its picture, not its
  // page); it gets ids of its own.
  CThumbnail(const CThumbnail& src);
  virtual ~CThumbnail();
  CThumbnail& operator=(const CThumbnail&) = delete;

  // ---- File ---------------------------------------------------------------------------
  // Points the item at a file or folder and reads its kind, size and times. S_OK;
  // E_INVALIDARG for a null, empty or over-long path; HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
  // when it does not exist (the item then stays empty).
  HRESULT SetPath(LPCSTR pszPath);
  // The file was renamed in its folder (a bare name): the item follows. S_OK or E_INVALIDARG.
  HRESULT SetFileName(LPCSTR pszName);
  // Copies into buf (nSize bytes with the terminator); FALSE when it does not fit or the
  // item has no path.
  BOOL GetFilePath(LPSTR pszBuf, UINT nSize) const;
  CString GetFilePath() const;
  BOOL GetFileName(LPSTR pszBuf, UINT nSize) const;  // "name.ext"
  CString GetFileName() const;
  // The extension with its dot (".jpg"), "." for folders, "" for none.
  BOOL GetFileExt(LPSTR pszBuf, UINT nSize) const;
  CString GetFileExt() const;
  BOOL GetDisplayName(LPSTR pszBuf, UINT nSize) const;  // what the views label it with
  CString GetDisplayName() const;
  CString GetFolderPath() const;  // the folder holding it, with a trailing backslash
  // Whether the file (or folder) still exists; re-checked on every call.
  BOOL IsValidPath();
  // The same for items that aren't disc-movie items; disc items answer FALSE here.
  BOOL IsValidPathWithoutBDCore();
  BOOL IsFile() const;    // a file (not a folder, not a card track)
  BOOL IsFolder() const;  // a sub-folder entry (type text ".")
  // A directory entry that a folder scan lists as a file.
  static BOOL IsFile(const WIN32_FIND_DATAA& fd);
  // The target of a shortcut (or the item's own path). S_OK, or a failure code.
  HRESULT GetLinkedFilePath(LPSTR pszBuf, UINT nSize, BOOL* pbFolder = NULL) const;
  // Same file (path compared without regard to case).
  bool operator==(const CThumbnail& other) const;
  bool operator==(LPCSTR pszPath) const;
  bool operator!=(const CThumbnail& other) const { return !(*this == other); }

  // ---- Kind ---------------------------------------------------------------------------
  UINT GetKindFlags() const;  // the kind word (VxGUIDBDefs.h)
  BOOL HasKind(UINT mask) const { return (GetKindFlags() & mask) == mask; }
  int GetFileKind() const;    // VXFILE_*
  BOOL IsCheckable() const;   // can carry a mark (not a folder, not a card track)
  UINT GetListFlags() const;  // VXLIST_*
  BOOL IsListed() const;      // not a hidden member of a content group
  // Can be shown enlarged (pictures other than RAW, playable movies).
  BOOL IsZoomPicture() const;

  // ---- Sizes and times ----------------------------------------------------------------
  DWORD GetFileSize(DWORD* pdwHigh = NULL) const;
  ULONGLONG GetFileSize64() const;
  BOOL GetLastWriteTime(FILETIME* pft) const;  // UTC
  // The recording date: the Exif date of a picture, else the file's write time, in local
  // time. Dates before 1971 or from 2038 on mean "undated" to the calendar views.
  BOOL GetRecDate(SYSTEMTIME* pst);
  ULONGLONG GetRecTime();  // the same as a 64-bit local file time
  // Reads the recording date again from the file.
  HRESULT UpdateRecTime();
  // While a folder's heads are read one after the other, their files' closes wait (under
  // Wine each close is a round trip to the server): between BeginHeadPass and EndHeadPass
  // UpdateRecTime on the calling thread leaves its file open, and EndHeadPass has another
  // thread close them. Files stay open at most until EndHeadPass, shared for reading,
  // writing and deletion.
  static void BeginHeadPass();
  static void EndHeadPass();
  // A folder seen before: the items whose date, size, Exif data and embedded thumbnail the
  // photo database kept from an earlier showing, for the file as it is now (same size and
  // last-write time), take them from there without opening their files; their pictures come
  // from the kept thumbnails. pbUsed (optional, nCount entries) tells which did; answers how
  // many. What the date pass reads of the others is kept for next time once the decoder has
  // made their pictures (by the decoder's threads when idle; WriteShownFacts writes what
  // waits at once).
  static int UseKeptFacts(CThumbnail* const* ppItems, int nCount, BOOL* pbUsed);
  static void WriteShownFacts();
  // Files the library opened for items' facts or pictures since the process started.
  static LONG GetFileReadCount();

  // ---- Browser state ------------------------------------------------------------------
  // Ids: slot 0 the details list's row, slot 1 (or any other slot) the icon view's id.
  // A new item gets a fresh view id from the process-wide counter and no row (VXID_NONE).
  DWORD GetUniqueID(int nSlot) const;
  void SetUniqueID(DWORD dwID, int nSlot);
  // The next id of the process-wide counter: 0, 1, 2 ...; after 0xFFFFFFFE comes 0
  // again, so VXID_NONE is never issued.
  static DWORD IssueUniqueID();
  BOOL IsSelect() const;
  void SetSelect(BOOL bSelect);
  void Cut(bool bCut);
  BOOL IsCut() const;
  // The check mark (kept by the mark store, across runs). nRefresh 0 answers the state
  // the item holds (read from the store at the first call), 1 asks the store again.
  int GetMarkStatus(int nRefresh = 0);
  // Reads the marks of those items that have not read theirs, in one look at the store
  // (what GetMarkStatus(0) reads item by item).
  static void ReadMarkStatus(CThumbnail* const* ppItems, int nCount);
  HRESULT SetMarkStatus(int nState);
  CThumbnailPage* GetPage() const;  // the page that holds the item, or null

  // ---- Decoding -----------------------------------------------------------------------
  // The box the next DecodeThumbnail fits the picture into (160 x 160 until set).
  void SetDecodeSize(int cx, int cy);
  void SetDecodeSize(SIZE size) { SetDecodeSize(size.cx, size.cy); }
  SIZE GetDecodeSize() const;
  // Decodes now, on the calling thread, at the decode size. pfnGoOn is asked before the
  // work (answer 0 to stop: E_ABORT). S_OK also when a kind icon stands in for the picture.
  HRESULT DecodeThumbnail(VXDECODEABORTPROC pfnGoOn = NULL, void* pContext = NULL);
  BOOL IsDecoded() const;
  int GetDecodeImageType() const;  // VXIMAGE_*
  // The picture fitted into cx x cy and centred on the background colour, as a packed
  // 24-bit DIB (header, then bits; bottom-up); null when nothing is decoded yet. Call
  // between ThreadLock and ThreadUnlock; the block stays valid until ThreadUnlock.
  BITMAPINFOHEADER* GetThumbnail(int cx, int cy);
  // Prepares the picture of size cx x cy fitted into a box of cxMax x cyMax: 0 when
  // GetThumbnail(cx, cy) will give it, E_PENDING when nothing is decoded yet.
  HRESULT ScaleImage(int cxMax, int cyMax, int cx, int cy);
  // Drops the decoded picture so that it is decoded again; bAll also drops what was read
  // from the file (Exif, sizes, music information).
  void ClearImage(BOOL bAll = FALSE);
  void ClearImageInfo();
  void ThreadLock() const;
  void ThreadUnlock() const;
  // The colour around pictures that don't fill the asked size (white unless set).
  static void SetThumbnailBackColor(COLORREF color);

  // ---- What the file holds ------------------------------------------------------------
  // The full picture's size as shown (orientation applied); movies: the frame size once
  // a frame was decoded. FALSE (0 x 0) when unknown.
  BOOL GetOriginalImageSize(int* pcx, int* pcy);
  BOOL GetPropertySize(int* pcx, int* pcy) { return GetOriginalImageSize(pcx, pcy); }
  int GetBpp();  // bits per pixel of the stored picture, 0 when unknown
  // The picture's Exif data, read once; null for files without Exif. Valid until the
  // item changes file or ClearImage(TRUE)/ClearImageInfo.
  const VXEXIFDATA* GetExifData();
  // 1 fine, 2 normal, 3 economy (JPEG pictures, by bytes per pixel); 4 full HD, 5 HD,
  // 6 standard, 7 low (movies, by frame height); 0 unknown.
  int GetQualityFlag();
  // The keywords the photo database holds for the file ("|"-separated) / the picture's
  // comment. FALSE when there is none.
  BOOL GetKeywords(LPSTR pszBuf, UINT nSize);
  BOOL GetComment(LPSTR pszBuf, UINT nSize);
  // Music information of a sound file or card track; null for other items.
  const CAudioTrackInfo* GetMusicInfo(int nReserved = 0);
  // The card track record; null for other items.
  const VXAUDIOTRACK* GetAudioTrackRecord() const;

  // ---- Cached texts (the details list's columns) --------------------------------------
  void SetStringData(UINT nID, LPCSTR pszText);
  BOOL GetStringData(UINT nID, CString& str) const;
  void ClearStringData();

  // ---- Sorting ------------------------------------------------------------------------
  // The text the sort key "o" uses.
  void SetOriginalSortSource(LPCSTR pszText);
  CString GetOriginalSortSource() const;
  // The sort string that CThumbnailPage::CreateSortString built ("" before).
  LPCSTR GetSortString() const;

  // ---- Favourites ---------------------------------------------------------------------
  // nKind 0: read the favourite mark from the photo database; 1: from the print-order
  // file of the item's drive (MISC\AUTPRINT.MRK).
  HRESULT MyFavoriteExtract(int nKind = 0);
  // Reads the database's favourite mark again.
  HRESULT MyFavoriteRenewal();
  BOOL IsMyFavoriteFromDB() const;
  BOOL IsMyFavoriteFromDPOFFile() const;
  // Changes the favourite mark; the database follows at UpdateFavoriteDataBase.
  void SetMyFavorite(BOOL bFavorite);

  // ---- Folder previews ----------------------------------------------------------------
  // Which files a folder entry's preview may show: all bits of the mask but still/movie,
  // and one of its still/movie bits (VXFOLDERIMAGE_DEFAULT: any picture or movie).
  void SetFolderImageType(UINT nMask);
  UINT GetFolderImageType() const;

  // ---- AVCHD scenes and disc items ----------------------------------------------------
  void SetAVCHDInfo(int nFirst, int nSecond, int nImage);
  BOOL GetAVCHDInfo(int* pnFirst, int* pnSecond, int* pnImage) const;  // FALSE: none
  // The disc-movie reference (four words; a nonzero first word: a disc item).
  void SetDiscRef(const DWORD adw[4]);
  void GetDiscRef(DWORD adw[4]) const;
  BOOL IsDiscContent() const;
  // The four values the property reader's dialog takes for the item: the AVCHD flag and
  // its three indexes.
  void GetPropertyParams(DWORD adw[4]) const;
  // High-definition badge: whether the scene was edited, and the file name a view noted.
  int GetHDEditFlag() const;
  void SetHDEditFlag(int nFlag);
  void SetHDFileName(LPCSTR pszName);
  CString GetHDFileName() const;

  // ---- Changes on disk ----------------------------------------------------------------
  // Turns a picture by nAngle hundredths of a degree clockwise (±9000, 18000, …). How:
  // HKCU "Tool1\TurnPicture" value "Exif" 0 (default) rewrites a JPEG's or TIFF's Exif
  // orientation (lossless), nonzero turns the pixels and saves them again; value
  // "SaveMode" 0 (default) replaces the file, nonzero writes "<name>_r<ext>" beside it and
  // reports that path in pszNewPath (else pszNewPath is emptied). Results: 0 done; 19
  // write-protected medium; 39 disk full; 29 any other write failure; 50 a kind that
  // can't be turned; 87 a bad angle.
  int Rotation(int nAngle, LPSTR pszNewPath, UINT nNewPathSize = 521);
  // The same with the two settings given by the caller instead of read from the user's
  // values (which are then neither read nor written).
  int Rotation(int nAngle, DWORD dwSaveMode, DWORD dwExif, LPSTR pszNewPath, UINT nNewPathSize = 521);

  // ---- Process-wide ---------------------------------------------------------------------
  // Whether p still names a live item.
  static BOOL CheckThumbnailPointer(const CThumbnail* p);
  // Every marked file of the mark store, in marking order; the count.
  static int GetAllCheckedImage(CStringList& paths);
  // The photo database (and marks, favourites) follow a file copied, moved or deleted on
  // disk. S_OK, or the database's failure code.
  static HRESULT CopyFileFromDatabase(LPCSTR pszSource, LPCSTR pszTarget);
  static HRESULT MoveFileFromDatabase(LPCSTR pszSource, LPCSTR pszTarget);
  static HRESULT DeleteFileFromDatabase(LPCSTR pszPath);
  // Writes every favourite change made with SetMyFavorite to the photo database.
  static HRESULT UpdateFavoriteDataBase();
  // Removes a file's classification entry (nKind VXDB_CLASS_*; pszValue the group value,
  // or the page name when null or empty).
  static HRESULT DeleteDBInfo(LPCSTR pszPath, int nKind, LPCSTR pszPageName, LPCSTR pszValue);
  // Whether the maker and model codes of a content file belong to a supported device
  // (gmr.ini "SupportMaker" and Core\MediaHwInfo.ini in the program folder).
  static BOOL IsCompSupportMaker(LPCSTR pszMaker, LPCSTR pszModel);
  // Card audio tracks are drawn at the list's small image size while this is 1.
  static void SetSDAudioImageSizeFlag(int nFlag);
  static int GetSDAudioImageSizeFlag();

 private:
  friend class CThumbnailPage;
  friend struct VxgAccess;
  ThumbImpl* m_p;
};
