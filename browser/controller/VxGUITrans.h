// CVxGUITrans: the controller behind the thumbnail browser. Not a window: the icon view
// creates it in its constructor, hands it every window message (OnTransfer) and every
// document hint (OnUpdate), and deletes it in its destructor. It is the main program's
// ICGBrowser (GetCGBrowser), and it turns folder-change texts and commands into the
// document's thumbnail pages, which the icon view draws.
//
// The class is split over files by concern:
//   VxGUITrans.cpp        life cycle, ICGBrowser, mode queries
//   VxGUITransMsg.cpp     OnTransfer, WM_COPYDATA intake and its queue, replies, errors
//   VxGUITransFolder.cpp  the folder model: physical, virtual, AVCHD folders, sub-folders
//   VxGUITransCmd.cpp     document hints and their command table
//   VxGUITransSort.cpp    sort, filter and view state
//   VxGUITransReload.cpp  group reload and view reset
//   VxGUITransNotify.cpp  notices to the main program, marks, movie load and unload
//   VxGUITransDelete.cpp  file deletion: the recycle bin, classification entries, checks
//   VxGUITransRename.cpp  renaming a thumbnail's file
//   VxGUITransRotate.cpp  turning the selected pictures under a progress dialog
//   VxGUITransEntry.cpp   the property dialog
//   VxGUITransZoom.cpp    the zoom window and the slide show
//   VxGUITransMarks.cpp   the marked files' copy and move, favourites
//   VxGUITransClipboard.cpp  cut, copy and paste
//   VxGUITransDrag.cpp    dragging the selection out, the rename command
//   VxGUITransMode.cpp    view modes: icons, details list, focus mode, and their switch
//   TransShared.cpp       busy scope, message pump, missing-file notice, context menu,
//                         raw developer, card-area names
//   TransRules.cpp        the decisions without windows (see TransRules.h)
#pragma once
#include <fw/fw.h>

#include <vector>

#include "ICGBrowser.h"
#include "VxGUITransApi.h"

class CVxDocument;
class CBrowserDocument;
class CThumbnail;
class CThumbnailPage;
class CThumbnailGroupInfo;
class CCopyDataDispatcher;
class CMovieCtrl;
class CZoomWndController;
class CSlideShowController;
class CSoundCheckProcess;
class IVxItemView;
class IThumbnailPage_AddFolderCallback;

// The busy guard of the delayed commands: how many replays run (interlocked) and whether a
// re-post is wanted.
struct VXBUSYGUARD {
  volatile LONG lCount;
  BOOL bRepost;
};

// The relay record of an application message.
struct VXRELAYRECORD {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Remembers the item to re-select after a folder change in the focus mode.
struct VXSELECTKEEPER {
  CView* pView;
  CVxDocument* pDoc;
  CString strPage;
  CString strFile;
};

class CVxPaneMessenger;
class CReportCtrl;
class CDynamicSplitterWnd;
class CExportPaneLock;

// The chooser of a marked-files destination: writes the folder into pszFolder; 1 when one
// was chosen, 2 when cancelled, 0 when none could be asked.
typedef int (*PFNTRANSCHOOSEFOLDER)(HWND hOwner, LPCSTR pszTitle, LPSTR pszFolder, int cchFolder);
class CExploreClipboardObject;
class CDropTarget;
class CDropSource;

// The drive query of a paste: the drive's type, and the space free to the user (FALSE when
// it can't be read).
typedef BOOL (*PFNTRANSDISKQUERY)(LPCSTR pszRoot, UINT* pnType, ULONGLONG* pullFree);
class CProgressReporter;
class CDecodedBatch;

class VXGUITRANS_API CVxGUITrans : public ICGBrowser {
 public:
  CVxGUITrans();
  ~CVxGUITrans() override;
  CVxGUITrans(const CVxGUITrans&) = delete;
  CVxGUITrans& operator=(const CVxGUITrans&) = delete;

  // ---- ICGBrowser -----------------------------------------------------------------------
  long GetFileData(CGFileInfoList* pList, long lFlags) override;
  long QuerySelectCount(QUERYSELECT_TYPE type, unsigned int* pnCount) override;
  long QueryMarkCount(QUERYMARK_TYPE type, unsigned int* pnCount) override;
  void PauseMovie() override;
  int UnloadMovie() override;
  void ReloadMovie() override;
  long SetSlideShow(SLD_TYPE type, std::vector<tagSLD_V_TYPE>* pSlides, std::vector<tagSLD_A_TYPE>* pSounds,
                    SLD_QUALITY quality, int nOption1, int nOption2) override;
  long GetSlideShow(SLD_TYPE* pType, std::vector<tagSLD_V_TYPE>* pSlides, std::vector<tagSLD_A_TYPE>* pSounds,
                    SLD_QUALITY* pQuality, int* pnOption1, int* pnOption2) override;
  void Reload() override;
  virtual long GetFileData(CList<CThumbnail*, CThumbnail*>* pList, long lFlags);

  // ---- Host view and state --------------------------------------------------------------
  void SetWindow(CWnd* pView);
  CWnd* GetWindow() const;
  HWND GetSafeHwnd() const;
  CVxDocument* GetDocument() const;
  CBrowserDocument* GetBrowserDocument() const;
  IVxItemView* GetItemView() const;
  void SetManager(HWND hManager);
  void SetMainWnd(HWND hMain) { SetManager(hMain); }
  HWND GetManager() const { return m_hManager; }
  void BeginUpdate();
  void EndUpdate();
  BOOL IsLockUpdate() const { return m_nUpdateLock > 0; }
  BOOL IsEditLabel() const { return m_bEditLabel; }
  BOOL HasQTCtrl() const { return m_pSoundCheck != NULL; }
  int IsContinueChangeFolder() const;
  BOOL Initialize();

  // Mode queries (the document's view mode).
  BOOL IsFocusMode() const;
  BOOL IsSmallIconMode() const;
  BOOL IsLargeIconMode() const;
  BOOL IsCalendarMode() const;
  BOOL IsFileInfoMode() const;
  BOOL IsCameraInfoMode() const;
  BOOL IsAudioInfoMode() const;
  BOOL IsAudioListMode() const;
  BOOL IsAudioMode() const;
  BOOL IsInfoMode() const;
  BOOL IsZoomMode() const;
  BOOL IsSameViewMode(UINT nViewCode) const;
  UINT GetViewModeFlag() const;

  // ---- Window messages ------------------------------------------------------------------
  BOOL OnTransfer(CWnd* pView, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL SendCopyData(UINT nCode, const char* pszText);
  void PostErrorMessage(UINT nCode, LONG lStyle);

  BOOL OnInitDialog(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnDestroy(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnClose(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnEraseBkGnd(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnSize(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnCopyData(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnDelayCopyData(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnExportWndMessage(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnBrowserSortMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnBrowserMaskMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnBrowserReloadMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnBrowserChangeModeMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnBrowserActionMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnBrowserQuerySelectCount(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnBrowserThumbChgMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnBrowserMusicStopMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnNextThumbnail(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnRenewal(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnVxMsgNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnNotifyMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnZoomWndMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnZoomWndMsgOnDestroy(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnSlideShowWndMsg(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnQuickTimeNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnOutProjectTask(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnPicturesDecoded(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnNotifySlidshowExist(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnPropertySDMeloDeckFileInfo(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnErrorDisp(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnDropThumbnail(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnDrawClipboard(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnChangeCbChain(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnVScroll(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnMouseWheel(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnLButtonDown(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnLButtonDblClk(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL OnRButtonUp(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

  // The queued commands, each (text, length).
  BOOL OnChangeFolder(const char* pszText, DWORD dwLength);
  BOOL OnAddFiles(const char* pszText, DWORD dwLength);
  BOOL OnUpdateFiles(const char* pszText, DWORD dwLength);
  BOOL OnRotationFiles(const char* pszText, DWORD dwLength);
  // Commands waiting in the queue.
  int GetQueuedCommandCount() const { return m_nQueueCount; }
  // A folder change waits in the queue: a running scan gives way to it.
  BOOL HasWaitingFolderChange() const;

  // ---- Document hints -------------------------------------------------------------------
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);

  // ---- Folder model ---------------------------------------------------------------------
  void ResetFolder();
  BOOL OnChangeFolder_Create(CCopyDataDispatcher* pCommand, BOOL bSort);
  BOOL OnChangeFolder_CreateFolders(CCopyDataDispatcher* pCommand, BOOL bSort);
  // A folder listed once: its count for the progress and its items for the view.
  struct FolderListing {
    CString path;
    bool listed = false;  // false: the folder is read its own way when added
    long result = 0;
    std::vector<WIN32_FIND_DATAA> entries;
  };
  BOOL CreatePhysicalFolder(CCopyDataDispatcher* pCommand);
  BOOL CreatePhysicalFolder_List(CCopyDataDispatcher* pCommand, std::vector<FolderListing>* pListings, int* pnCount);
  BOOL CreatePhysicalFolder_AddFolders(CCopyDataDispatcher* pCommand, const std::vector<FolderListing>& listings);
  long ListFolderAnswering(LPCSTR pszPath, std::vector<WIN32_FIND_DATAA>* pEntries);
  int ListForAdding(FolderListing* pListing);  // lists pListing->path; answers its count of files
  BOOL AddFolder(LPCSTR pszPath, int nGroup, LPCSTR pszName, BOOL bCheckCancel,
                 IThumbnailPage_AddFolderCallback* pCallback, const FolderListing* pListed = NULL);
  BOOL CreateVirtualFolder(CCopyDataDispatcher* pCommand, BOOL bPump);
  BOOL CreateVirtualFolder_AddFolder(CCopyDataDispatcher* pCommand, const CStringList& names);
  BOOL CreateVirtualFolder_AddFiles(CCopyDataDispatcher* pCommand, const CStringList& names, BOOL bPump);
  BOOL CreateAVCHDImageFolder(CCopyDataDispatcher* pCommand);
  BOOL AddFolderAVCHD(LPCSTR pszPath, int nGroup, LPCSTR pszName, BOOL bCheckCancel,
                      IThumbnailPage_AddFolderCallback* pCallback, int nFirst, int nSecond, int nImage);
  long GotoSubFolder(CThumbnail* pItem);
  long GotoSubFolder(CThumbnailPage* pPage, CThumbnail* pItem);
  long GotoFolder(const CThumbnailGroupInfo& key, LPCSTR pszName, LPCSTR pszPath, long* pOut);
  BOOL AddFile(LPCSTR pszPath, int nGroup, LPCSTR pszName);
  BOOL UpdateFile(LPCSTR pszPath, UINT nKindBits);
  // Takes the paths out of the model; with bDatabase their records go too.
  BOOL DeleteItems(CStringList& list, BOOL bDatabase = TRUE);
  BOOL CreateSelectFileList(int nMode, CStringList& list, UINT nKindBits, int* pnCount);
  void SelectAllThumbnail();
  void UnSelectAllThumbnail();
  void UnCutAll();
  int CalcFileCount(CString strFolder, CProgressReporter* pCounter);
  static long FileFindCallBack(CThumbnail* pItem, CVxGUITrans* pOwner);
  void DecodeThread_Start(BOOL bWithList);
  void DecodeThread_AddtionalList();
  void DecodeThread_ShownList();
  void Thread_Stop();
  void Thread_Suspend();
  void Thread_Resume();
  // The folder paths the physical folder view shows.
  const CStringList& GetFolderList() const { return m_folderList; }

  // ---- Sort, filter and view state ------------------------------------------------------
  LPCSTR GetSortChar(UINT nSortID, bool& bAscending);
  // Sort's work, with the decoder left as it is; FALSE when there is nothing to sort by.
  BOOL SortShownItems(UINT nSortID);
  void Sort(UINT nSortID, BOOL bFlag);
  // Reads every item's date, then sorts; TRUE when the decoder, which made pictures from the
  // heads meanwhile, goes on with the sorted items (else it is stopped or needs a restart).
  BOOL SortOnFolderChanging(UINT nSortID, BOOL bFlag);
  int OnFilter(UINT nFilterID, BOOL bFlag);
  void SetSortType(UINT nSortID);
  UINT GetSortType() const;
  void SetFilterType(UINT nMask);
  UINT GetFilterType() const;
  void SetViewModeFlag(UINT nBrowseFlag, BOOL bFlag);
  void SetExecuteState(BOOL bCreated);
  void ReverseSelectThumbnail();

  // ---- Group reload and view reset ------------------------------------------------------
  // bRefreshTrees: the folder trees are asked to refresh too (not after the browser moved by
  // itself and said so: a tree that did not follow would send its own folder back).
  void ReloadAllGroups(BOOL bRefreshTrees = TRUE);
  int ResetView();

  // ---- Notices to the main program and marks --------------------------------------------
  void ToolbarEnable(BOOL bEnable);
  void ExportEnable();
  long BroadcastChangeFolder(CString strFolder);
  void MarkSelectToggle();
  void MarkAllUnCheck();
  BOOL PreTranslateMessage(MSG* pMsg);
  BOOL MovieCtrl_Load();
  BOOL MovieCtrl_Unload();

  // ---- File deletion --------------------------------------------------------------------
  // The command: 0 after a deletion (also when nothing went), 995 cancelled or refused.
  long DeleteSelectFiles();
  // Chooses the road and deletes; the list comes back with the deleted paths. 1: nothing
  // to delete or a refused folder kind; 995 cancelled or refused by a check.
  long DeleteSelectFiles(CStringList& list, int nStillOnly);
  long DeleteSelectFiles_FavoriteFolderWarningBox();
  long DeleteSelectFiles_Classification(CStringList& list);
  int DeleteSelectFiles_Classification_WarningBox(int nKind);
  // The card's movie scenes through the disc-movie core: scene by scene, a whole group at
  // once, or, for the last group of a card without pictures, all its movies.
  long DeleteSelectFiles_BDCore(CStringList& list, int nStillOnly);
  // Whether the card's last movies may go scene by scene (1; its pictures stay beside them);
  // 0 with *phMedium = the handle that clears its movies (or -1).
  static int CheckDCIMFolder(long nCount, LPCSTR pszDrive, int* phMedium);
  static int GetDCIMFoldetCount(LPCSTR pszDrive);
  static long CheckDeletePathList(CStringList& list);
  int IsExistNotSupportContFile(LPCSTR pszPath);
  int GetGettingMakerCode(LPCSTR pszPath, CString* pMaker, CString* pModel);
  static int IsCompSupportMaker(LPCSTR pszMaker, LPCSTR pszModel);
  // The selection's paths with the companions of its ".cont" files; TRUE when any were
  // added.
  BOOL CreateDeleteFileList(CStringList& list, UINT nKindBits);
  void UnmarkDeleted(const CStringList& deleted);

  // ---- Rotation -------------------------------------------------------------------------
  // Turns the selected pictures by nAngle hundredths of a degree (9000 or -9000); 1 when
  // nothing was turned or all went well, 0 when writes failed.
  int SelItemRotation(int nAngle);

  // ---- Rename ---------------------------------------------------------------------------
  // Renames the item's file to the bare name (in the same folder); 1 on success.
  int RenameThumbnail(CThumbnail* pItem, LPCSTR pszNewName);
  // The property reader's dialog for the item (null: the one selected item).
  HRESULT ShowPropertyDialog(CThumbnail* pItem);

  // ---- Marked files and favourites -------------------------------------------------------
  // Copies (FO_COPY) or moves (FO_MOVE) every marked file, with its content file's members,
  // into a folder the user picks; 0 when every marked file was left out, else 1.
  int MarkFilesOperation(UINT nMode);
  // Runs the operation over the list into the folder and appends the written paths to the
  // list: 1 when files were written, 39 when the fixed destination drive is full, else 0.
  int FilesOperation(UINT nMode, CString strFolder, CStringList& list, int nMarked);
  // Adds the selected folders to the favourites; how many were added.
  int AddFavoriteFromSelectedFolder();
  // Whether the selection holds a picture that can be turned.
  int IsEnableRotate();
  // Tests choose the destination folder (null: the folder browser): 1 chosen, 2 cancelled.
  static void SetFolderChooser(PFNTRANSCHOOSEFOLDER pfn);

  // ---- Zoom window and slide show -------------------------------------------------------
  // Opens the zoom window on the item; FALSE (and the reason shown) when it can't.
  BOOL GotoZoomMode(CThumbnail* pItem);
  // Starts the slide show last set; FALSE when there is none or it did not start.
  BOOL GotoSlideShowMode();
  // The item a zoom request starts on: the last selected, else the first picture shown.
  CThumbnail* ZoomStartItem() const;
  // ---- Cut, copy and paste -------------------------------------------------------------
  // Copy and cut answer 1 when nothing is to be done, 0 when the clipboard refused the list.
  int CopySelectFilesToClipBoard();
  long CutSelectFiles();
  int CutSelectFilesToClipBoard();
  // 1 when the files were pasted (or there were none), 0 otherwise.
  int PasteFileFromClipBoard();
  CThumbnailPage* PasteFileFromClipBoard_GetPasteFolder();
  // Copies or moves the block's files into the page's folder; the written paths come back.
  int PasteFiles(DWORD dwEffect, HGLOBAL hDrop, CThumbnailPage* pPage, CStringList& pasted);
  void PasteFileFromClipBoard_MoveToCopy(CExploreClipboardObject* pClip, const CStringList& pasted);
  void PasteFileFromClipBoard_CreateThumbnails(CThumbnailPage* pPage, const CStringList& pasted);
  int PasteFileFromClipBoard_ResetView();
  void ClearClipBoard(BOOL bClipboard, BOOL bCutMarks);
  // Tests hand in the drive's answer (null: the real one).
  static void SetDiskQuery(PFNTRANSDISKQUERY pfn);
  // Tests say whether the map component is in use (null: the program folder's answer).
  static void SetMapQuery(int (*pfn)());

  // ---- Rename command and drag start ----------------------------------------------------
  BOOL RenameSelectFile();
  void OnHandleDrag(NMLISTVIEW* pNotify);
  void OnHandleDrag_ObtainSelectList(CStringList* pFiles, CStringList* pFolders);
  // The files and folders a drag of these items carries (a content file with its members).
  static void DragListsOf(const CList<CThumbnail*, CThumbnail*>& items, CStringList* pFiles, CStringList* pFolders);
  void OnHandleDrag_HotSpot(POINT& hotSpot, CThumbnail* pItem, const POINT& cursor);
  void SetDragRect();
  CDropTarget* GetDropTarget() const { return m_pDropTarget; }
  CDropSource* GetDropSource() const { return m_pDropSource; }


  // ---- View modes (VxGUITransMode.cpp) ----------------------------------------------------
  void OnModeChange(UINT nViewCode);
  BOOL OnModeChange_ValidFileCheck(UINT nViewCode);
  BOOL OnModeChange_SameModeCheck(UINT nViewCode);
  BOOL OnModeChange_Modify(UINT nViewCode);
  void OnModeChange_EnsureVisible();
  void GotoSmallIconMode();
  void GotoLargeIconMode();
  void GotoDetailMode();
  void GotoFocusMode(float fRatio);
  void GotoFocusMode_SelectItem();
  void FocusMode_RefreshSelectItem();
  void HideFocusWnd();
  void SetFocusSpliterHeight(float fRatio);
  // The details list (null until Initialize made it).
  CReportCtrl* GetReportCtrl() const { return m_pReportCtrl; }
  BOOL IsReportVisible() const;
  // Repaints the host view, and the details list while it is shown, before returning.
  void RepaintShownNow();
  void OnReportSelection(int nFrom, int nTo, UINT uNew, UINT uOld);
  CThumbnail* ItemOfNotice(const NMHDR* pHdr, int nRow, LPARAM lParam) const;
  CThumbnail* DoubleClickedItem(const NMHDR* pHdr) const;

  // ---- Owned helpers (read by the views and tests) ---------------------------------------
  CMovieCtrl* GetMovieCtrl() const { return m_pMovieCtrl; }
  // The movie players' libraries finalized and their state in the profile removed, as
  // their deletion does: for an end that deletes nothing.
  void FinishMoviePlayers();
  CSlideShowController* GetSlideShowController() const { return m_pSlideShow; }
  CZoomWndController* GetZoomController() const { return m_pZoom; }
  HMODULE GetClipFactsModule() const { return m_hClipFacts; }
  // The main program said a slide show exists (message 1928 with 1).
  // Favourites of a page come from the print-order file too: on a removable drive, when
  // wanted (both read when decoding starts, so that the decoder's calls ask no drive).
  BOOL IsDPOFFavouriteWanted(CThumbnailPage* pPage) const;
  // From the decoder's thread: the item's picture is ready; one redraw is posted per batch.
  void PictureDecoded(DWORD dwID);
  BOOL IsSlideShowPresent() const { return m_pSlideShowFlag && *m_pSlideShowFlag == 1; }

 private:
  friend class CBusyScope;
  friend class CProgressReporter;
  BOOL QueueCopyData(const COPYDATASTRUCT* pcds);
  HGLOBAL TakeQueuedCommand();
  void FreeQueuedCommands();
  BOOL RunCommand(UINT nCode, const char* pszText, DWORD dwLength);
  void SendToAllViews(LPARAM lHint, CObject* pHint);
  void EndZoomRequest();
  void RecountFiles();
  BOOL IsCardAudioVoiceFolder() const;
  CThumbnailPage* FindPageByKey(const CThumbnailGroupInfo& key) const;
  CThumbnailPage* FindPageByName(LPCSTR pszName) const;
  BOOL IsItemShown(CThumbnail* pItem) const;
  void AppendFileRecords(CString& out, const CStringList* pPaths, CList<CThumbnail*, CThumbnail*>* pItems,
                         int nDigitOverride) const;
  void CollectShown(CList<CThumbnail*, CThumbnail*>& list) const;
  void CollectAll(CList<CThumbnail*, CThumbnail*>& list) const;
  HWND GetBaseViewWindow() const;
  CDynamicSplitterWnd* GetViewSplitter() const;
  void ShowIconSide(int nCell);
  BOOL IsClipboardRefused() const;
  int WriteSelectionToClipBoard(UINT nEffect);

  // 1. host view  2. manager window  3. relay record  4. details list
  CView* m_pView;
  HWND m_hManager;
  VXRELAYRECORD* m_pRelay;
  CReportCtrl* m_pReportCtrl;
  // 5. label edit  6. busy guard  7. update lock  8. zoom controller
  BOOL m_bEditLabel;
  VXBUSYGUARD* m_pBusy;
  int m_nUpdateLock;
  CZoomWndController* m_pZoom;
  // 9./10. drop target (kept revoked) and drag source
  CDropTarget* m_pDropTarget;
  CDropSource* m_pDropSource;
  // 11. delayed-command queue
  CList<HGLOBAL, HGLOBAL> m_queue;
  int m_nQueueCount;
  // 12. pane messenger  13. audio-mode scope  14. sound check
  CVxPaneMessenger* m_pPanes;
  CExportPaneLock* m_pAudioScope;
  CSoundCheckProcess* m_pSoundCheck;
  // 15. slide-show flag  16. movie controller  17. selection keeper
  int* m_pSlideShowFlag;
  CMovieCtrl* m_pMovieCtrl;
  VXSELECTKEEPER* m_pSelectKeeper;
  // 18. folder list  19. saved view mode  20. slide-show controller  21. ClipFacts
  CStringList m_folderList;
  UINT m_nSavedViewMode;
  CSlideShowController* m_pSlideShow;
  HMODULE m_hClipFacts;

  // Not among the ones above, but kept with them.
  volatile LONG m_lReloadBusy;   // group reload running
  UINT m_nSelectEcho;            // selection-echo counter
  CExportPaneLock* m_pExportLock;
  BOOL m_bErrorBoxOpen;
  BOOL m_bDPOFFavourite;
  DWORD m_dwDPOFDrives;  // bit n: drive 'A' + n is removable
  CDecodedBatch* m_pDecoded;  // pictures finished since the last redraw
};
