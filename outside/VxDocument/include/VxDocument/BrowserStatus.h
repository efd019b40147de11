// CBrowserStatus: the browsing state of the browser document — view mode
// (CBrowserStatus::CViewMode), folder type (CBrowserStatus::CFolderType), view status
// (CBrowserStatus::CViewStatus), sort and filter, and where the shown folder came from.
//
// CBrowserStatus is each of the three parts, so both status.IsCalendarMode() and
// status.CViewMode::IsCalendarMode() work.
#pragma once

#include <VxDocument/VxDocDefs.h>

class CCopyDataDispatcher;
class CVxDocument;

// ---- View mode ----------------------------------------------------------------------
class VXDOC_API CBrowserViewMode {
 public:
  CBrowserViewMode();

  BROWSE_VIEW_MODE GetMode() const { return m_mode; }
  // Any value; the last thumbnail-side mode (small or large icons, details) is kept too.
  void SetMode(BROWSE_VIEW_MODE mode);
  // The last small-icon, large-icon or details mode set (large icons at first): the mode
  // to go back to from the focus, zoom, calendar, music and slide-show modes.
  BROWSE_VIEW_MODE GetLastThumbnailMode() const { return m_lastThumb; }

  // The large icons' size index: 0..4 (cells of 30, 80, 160, 223, 303 pixels).
  int GetThumbMode() const { return m_nThumbMode; }
  // FALSE (nothing changed) for an index outside 0..4.
  BOOL SetThumbMode(int nIndex);
  // The thumbnail cell (and decode) size of the mode: calendars 160; large icons by the
  // size index (160 for an index outside 0..4); every other mode 80.
  int GetThumbnailSize() const;
  static int ThumbnailSizeOf(BROWSE_VIEW_MODE mode, int nThumbMode);

  BOOL IsSmallIconMode() const { return m_mode == BROWSE_VIEW_SMALLICON; }
  BOOL IsLargeIconMode() const { return m_mode == BROWSE_VIEW_LARGEICON; }
  BOOL IsFileInfoMode() const { return m_mode == BROWSE_VIEW_FILEINFO; }
  BOOL IsCameraInfoMode() const { return m_mode == BROWSE_VIEW_CAMERAINFO; }
  BOOL IsFocusMode() const { return m_mode == BROWSE_VIEW_FOCUS; }
  BOOL IsZoomMode() const { return m_mode == BROWSE_VIEW_ZOOM; }
  BOOL IsAudioInfoMode() const { return m_mode == BROWSE_VIEW_AUDIOINFO; }
  BOOL IsAudioListMode() const { return m_mode == BROWSE_VIEW_AUDIOLIST; }
  BOOL IsAudioMode() const { return IsAudioInfoMode() || IsAudioListMode(); }
  BOOL IsMonthCalendarMode() const { return m_mode == BROWSE_VIEW_MONTH; }
  BOOL IsDayCalendarMode() const { return m_mode == BROWSE_VIEW_DAY; }
  BOOL IsCalendarMode() const { return IsMonthCalendarMode() || IsDayCalendarMode(); }
  BOOL IsMusicMode() const { return m_mode == BROWSE_VIEW_MUSIC; }
  BOOL IsSlideShowMode() const { return m_mode == BROWSE_VIEW_SLIDESHOW; }
  // A details list (file, camera, audio information, audio list).
  BOOL IsDetailMode() const { return IsDetailFlag(m_mode); }
  // Small or large icons or a details list.
  BOOL IsThumbnailSideMode() const { return IsThumbnailSideFlag(m_mode); }

  // View code (1..14) -> browse flag; 0 for any other code.
  static BROWSE_VIEW_MODE ToBrowseID(UINT nViewCode);
  // Browse flag -> view code (focus 5, slide show 13); 0 for a value that is no one flag.
  static UINT ToCgViewID(UINT nBrowseFlag);
  static BOOL IsDetailFlag(UINT nBrowseFlag);
  static BOOL IsThumbnailSideFlag(UINT nBrowseFlag);

 private:
  BROWSE_VIEW_MODE m_mode;
  BROWSE_VIEW_MODE m_lastThumb;
  int m_nThumbMode;
};

// ---- Folder type --------------------------------------------------------------------
// What the folder decision needs to know about a folder change.
struct VXFOLDERSOURCE {
  int nSourceNumber;        // the text's source number
  LPCSTR pszSourceName;     // its source name (a tree title, or "Explorer")
  int nFolderType;          // its folder-type number
  LPCSTR pszFirstPath;      // its first path ("" for none)
  UINT nDriveType;          // the first path's drive type (GetDriveType; 0 unknown)
};

// The settings the decision reads: the plug-in trees' registry sections and what the
// folder pane wrote about the current tree (VxFolder\FolderInfo). -1 / "" when missing.
struct VXFOLDERPROFILE {
  char szExplorer[128];     // ImportPlugin\Explorer  Display
  int nExplorerID;          //                        ID
  char szMemoryCard[128];   // ImportPlugin\MemoryCard
  int nMemoryCardID;
  char szCategory[128];     // ImportPlugin\Category
  int nCategoryID;
  char szSearch[128];       // ImportPlugin\Search
  int nSearchID;
  char szMusic[128];        // ImportPlugin\Music
  int nMusicID;
  char szFavorite[128];     // ImportPlugin\Favorite
  int nFavoriteID;
  int nMemoryCardNumber;    // VxFolder\FolderInfo MemoryCard: the card tree's folder number
  int nClassify;            // VxFolder\FolderInfo Classify: the classification kind
  int nSearchResult;        // VxFolder\FolderInfo SearchResult: the search kind
};

class VXDOC_API CBrowserFolderType {
 public:
  // The classification kind of a classification folder.
  class VXDOC_API CClassifyType {
   public:
    CClassifyType() : m_nKind(-1) {}
    int GetKind() const { return m_nKind; }
    void SetKind(int nKind) { m_nKind = nKind; }
    // The classification kind the folder pane last wrote (VxFolder\FolderInfo Classify;
    // -1 when none).
    static int GetRegistryValue();

   private:
    int m_nKind;
  };

  CBrowserFolderType();

  FOLDER_TYPE GetCode() const { return m_code; }
  void SetCode(FOLDER_TYPE code) { m_code = code; }
  UINT GetFlag() const { return FlagOf(m_code); }
  static UINT FlagOf(UINT nCode) { return nCode & ~0xFFu; }
  // The folder-type number of the folder change (1 physical, 2 virtual, 3 AVCHD).
  int GetFolderTypeNumber() const { return m_nFolderType; }
  void SetFolderTypeNumber(int n) { m_nFolderType = n; }
  CClassifyType& GetClassifyType() { return m_classify; }
  const CClassifyType& GetClassifyType() const { return m_classify; }

  BOOL IsExplorerFolder() const { return m_code == FOLDER_TYPE_EXPLORER; }
  BOOL IsClassifyFolder() const { return m_code == FOLDER_TYPE_CLASSIFY; }
  BOOL IsFavoriteFolder() const { return m_code == FOLDER_TYPE_FAVORITE; }
  BOOL IsSDCardFolder() const { return (m_code & 0xFF00) == FOLDER_TYPE_SDCARD; }
  BOOL IsSDAudioFolder() const { return m_code == FOLDER_TYPE_SDCARD_AUDIO; }
  BOOL IsSDVoiceFolder() const { return m_code == FOLDER_TYPE_SDCARD_VOICE; }
  BOOL IsSDAudioVoiceFolder() const { return IsSDAudioFolder() || IsSDVoiceFolder(); }
  BOOL IsPrintOrderFolder() const { return m_code == FOLDER_TYPE_SDCARD_PRINTORDER; }
  BOOL IsDiscFolder() const { return m_code == FOLDER_TYPE_SDCARD_DISC; }
  BOOL IsFindResultFolder() const { return (m_code & 0xFF00) == FOLDER_TYPE_FINDRESULT; }
  BOOL IsFindResult_MarkFolder() const { return m_code == FOLDER_TYPE_FINDRESULT_MARK; }
  BOOL IsFindResult_SimilarImageFolder() const { return m_code == FOLDER_TYPE_FINDRESULT_SIMILAR; }
  BOOL IsMusicFolder() const { return m_code == FOLDER_TYPE_MUSIC; }
  BOOL IsCardMovieFolder() const { return m_code == FOLDER_TYPE_SDCARD_AVCHD; }
  // Folders whose files the browser must not copy, cut or drag (2055, 2071, and a card's
  // movie scenes, which leave their tree only through the disc-movie core).
  BOOL IsFileOperationRefused() const { return IsPrintOrderFolder() || IsDiscFolder() || IsCardMovieFolder(); }

  // The folder-type code of a folder change (a plain decision; see BrowserStatus.cpp).
  static FOLDER_TYPE Decide(const VXFOLDERSOURCE& source, const VXFOLDERPROFILE& profile);
  // Reads the settings the decision needs from the program's profile.
  static void ReadProfile(VXFOLDERPROFILE* pProfile);

 private:
  FOLDER_TYPE m_code;
  int m_nFolderType;
  CClassifyType m_classify;
};

// ---- View status --------------------------------------------------------------------
class VXDOC_API CBrowserViewStatus {
 public:
  CBrowserViewStatus() : m_status(0) {}
  UINT GetStatus() const { return m_status; }
  void AddStatus(UINT bits) { m_status |= bits; }
  void RemoveStatus(UINT bits) { m_status &= ~bits; }
  BOOL IsChgFolder() const { return (m_status & BROWSE_ST_CHGFOLDER) != 0; }
  BOOL IsReloading() const { return (m_status & BROWSE_ST_RELOAD) != 0; }
  BOOL IsDragging() const { return (m_status & BROWSE_ST_DRAGGING) != 0; }
  BOOL IsSlideShow() const { return (m_status & BROWSE_ST_SLIDESHOW) != 0; }

 private:
  UINT m_status;
};

// ---- The whole state ----------------------------------------------------------------
class VXDOC_API CBrowserStatus : public CBrowserViewMode, public CBrowserFolderType, public CBrowserViewStatus {
 public:
  typedef CBrowserViewMode CViewMode;
  typedef CBrowserFolderType CFolderType;
  typedef CBrowserViewStatus CViewStatus;

  CBrowserStatus();
  ~CBrowserStatus();
  CBrowserStatus(const CBrowserStatus&) = delete;
  CBrowserStatus& operator=(const CBrowserStatus&) = delete;

  // Sort id (10..30, see VxSortKeyString) and filter: the filter is kept as its type
  // mask; the filter id is the one whose mask it is (0 0x210, 1 0x220, 2 0x240, 3 0x200,
  // 4 0x1000, 6 everything), -1 for any other mask.
  UINT GetSortID() const { return m_nSortID; }
  void SetSortID(UINT nSortID) { m_nSortID = nSortID; }
  UINT GetThumbnailFilterID() const { return m_nFilterMask; }
  void SetThumbnailFilterID(UINT nMask) { m_nFilterMask = nMask; }
  int GetFilterID() const { return FilterIDOfMask(m_nFilterMask); }
  static int FilterIDOfMask(UINT nMask);
  // The mask of a filter id; FALSE for ids without one (5, and above 6).
  static BOOL MaskOfFilterID(int nFilterID, UINT* pnMask);

  // Takes a folder-change text into the state: source, folder type (with the profile's
  // plug-in sections) and the paths. S_OK, or the dispatcher's failure (E_POINTER without
  // one): a refused text changes nothing.
  HRESULT InterpretDispatcher(CCopyDataDispatcher* pDispatcher, CVxDocument* pDoc, CView* pView);

  // What the last folder change said.
  int GetSourceNumber() const { return m_nSourceNumber; }
  const CString& GetSourceName() const { return m_strSourceName; }
  const CStringList& GetFolderPaths() const { return m_paths; }
  // The first path of the last folder change ("" for none).
  CString GetFolderPath() const;

 private:
  UINT m_nSortID;
  UINT m_nFilterMask;
  int m_nSourceNumber;
  CString m_strSourceName;
  CStringList m_paths;
};
