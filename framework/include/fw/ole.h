// OLE data transfer: data objects (COleDataObject reads one, COleDataSource offers one),
// drag and drop (COleDropSource, COleDropTarget) and the clipboard; COleMessageFilter.
//
// OLE must be initialised on the thread (AfxOleInit on the user-interface thread).
//
// Lifetime: COleDataSource and the drop classes are reference counted for OLE. A data
// source given to SetClipboard belongs to the clipboard from then on (make it with new;
// it deletes itself when the clipboard lets it go, at the latest at FlushClipboard). A
// data source used only for DoDragDrop may live on the stack. Drop sources and drop
// targets are never deleted by OLE: they are members of the window classes that use them.
#pragma once
#include <fw/wnd.h>
#include <ole2.h>

typedef DWORD DROPEFFECT;

class COleDropSource;

// The effect a drop target's wish gives under the effects the source allows: the wished
// ones that are allowed (one of them: copy before move before link); a move the source
// doesn't allow becomes a copy when copying is allowed. DROPEFFECT_SCROLL passes through.
FW_API DROPEFFECT AFXAPI AfxFilterDropEffect(DROPEFFECT dropWanted, DROPEFFECT dropAllowed);

// A FORMATETC for a clipboard format: content aspect, all of the given media.
FW_API void AFXAPI AfxFillFormatEtc(LPFORMATETC lpFormatEtc, CLIPFORMAT cfFormat, DWORD tymed);

// Reads data from an IDataObject: the clipboard's, or the one OLE hands a drop target.
// Plug-ins receive a pointer to the host's object.
class FW_API COleDataObject {
 public:
  COleDataObject();
  ~COleDataObject();

  // With bAutoRelease the object releases lpDataObject when it lets it go.
  void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
  LPDATAOBJECT Detach();
  void Release();
  // The clipboard's current contents (OleGetClipboard); FALSE when it can't be read.
  BOOL AttachClipboard();
  // The attached interface, with a reference of its own when bAddRef.
  LPDATAOBJECT GetIDataObject(BOOL bAddRef);

  // Formats on offer, one by one.
  void BeginEnumFormats();
  BOOL GetNextFormat(LPFORMATETC lpFormatEtc);

  BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);
  // The medium belongs to the caller (ReleaseStgMedium).
  BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = NULL);
  // A global block the caller owns and frees (a copy when the source keeps its own), or
  // NULL; data offered as a stream is read into a block.
  HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);

  LPDATAOBJECT m_lpDataObject;
  LPENUMFORMATETC m_lpEnumerator;
  BOOL m_bAutoRelease;
  BOOL m_bClipboard;  // attached by AttachClipboard

 private:
  COleDataObject(const COleDataObject&) = delete;
  void operator=(const COleDataObject&) = delete;
};

// Offers data through a real IDataObject: cached (the source owns the data) or rendered
// on request by OnRenderGlobalData / OnRenderData (delayed rendering).
class FW_API COleDataSource : public CCmdTarget {
  DECLARE_DYNAMIC(COleDataSource)
 public:
  COleDataSource();
  ~COleDataSource() override;

  // The source owns hGlobal (or the medium) from now on. A later entry for the same
  // format and medium replaces the earlier one.
  void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = NULL);
  void CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = NULL);
  // Offers the format (as a global block unless lpFormatEtc says otherwise) and renders it
  // when asked.
  void DelayRenderData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);
  void Empty();

  // Puts this source on the clipboard, which owns it from then on (see the top).
  BOOL SetClipboard();
  // Renders every format of the clipboard's source of ours as a global block into the
  // clipboard and lets the source go, so the data outlives the source (and the module
  // that made it).
  static void PASCAL FlushClipboard();
  // The data source of ours that is on the clipboard, or null.
  static COleDataSource* PASCAL GetClipboardOwner();

  // Runs a drag from this source; the effect the drop target chose, DROPEFFECT_NONE when
  // cancelled. With lpRectStartDrag (screen coordinates) the drag starts only once the
  // mouse leaves the rectangle or the drag delay passes with the button held.
  DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                        LPCRECT lpRectStartDrag = NULL, COleDropSource* pDropSource = NULL);

  // Delayed rendering. *phGlobal is the caller's block (to fill, growing it if need be)
  // or NULL (return a new one). TRUE: rendered.
  virtual BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal);
  // Any medium; the default renders global blocks (and streams over them) through
  // OnRenderGlobalData. A medium with tymed set is the caller's to fill.
  virtual BOOL OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium);
  // Data a drop target sets on the source ("Performed DropEffect" and the like); the
  // default keeps global blocks in the cache.
  virtual BOOL OnSetData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium, BOOL bRelease);

  LPDATAOBJECT GetIDataObject(BOOL bAddRef);
  DWORD InternalAddRef();
  DWORD InternalRelease();  // at 0: OnFinalRelease
  virtual void OnFinalRelease();  // deletes the object

 protected:
  struct CacheEntry;
  struct Cache;
  Cache* m_pCache;
  LONG m_dwRef;

  struct FW_API XDataObject : public IDataObject {
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetData)(LPFORMATETC pformatetcIn, LPSTGMEDIUM pmedium) override;
    STDMETHOD(GetDataHere)(LPFORMATETC pformatetc, LPSTGMEDIUM pmedium) override;
    STDMETHOD(QueryGetData)(LPFORMATETC pformatetc) override;
    STDMETHOD(GetCanonicalFormatEtc)(LPFORMATETC pformatectIn, LPFORMATETC pformatetcOut) override;
    STDMETHOD(SetData)(LPFORMATETC pformatetc, LPSTGMEDIUM pmedium, BOOL fRelease) override;
    STDMETHOD(EnumFormatEtc)(DWORD dwDirection, LPENUMFORMATETC* ppenumFormatEtc) override;
    STDMETHOD(DAdvise)(LPFORMATETC pformatetc, DWORD advf, LPADVISESINK pAdvSink, DWORD* pdwConnection) override;
    STDMETHOD(DUnadvise)(DWORD dwConnection) override;
    STDMETHOD(EnumDAdvise)(LPENUMSTATDATA* ppenumAdvise) override;
    COleDataSource* m_pThis;
  } m_xDataObject;

  // The entry that answers a request (S_OK), or why none does (DV_E_FORMATETC, DV_E_TYMED...).
  HRESULT FindEntry(LPFORMATETC lpFormatEtc, CacheEntry** ppEntry);
  HRESULT GetDataInto(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium, BOOL bHere);
  CacheEntry* AddEntry(LPFORMATETC lpFormatEtc);
};

// The drag side of a drag: when it continues, drops or stops, and the cursor shown.
class FW_API COleDropSource : public CCmdTarget {
  DECLARE_DYNAMIC(COleDropSource)
 public:
  COleDropSource();
  ~COleDropSource() override;

  // DRAGDROP_S_CANCEL on Escape or the other mouse button, DRAGDROP_S_DROP once the
  // dragging button is up, else S_OK.
  virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
  // DRAGDROP_S_USEDEFAULTCURSORS: the system's cursors; S_OK when the source set one.
  virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
  // Waits for the drag to start (see COleDataSource::DoDragDrop); FALSE: it didn't.
  virtual BOOL OnBeginDrag(CWnd* pWnd);

  BOOL m_bDragStarted;
  DWORD m_dwButtonCancel;  // MK_* of the button that cancels
  DWORD m_dwButtonDrop;    // MK_* of the button whose release drops
  CRect m_rectStartDrag;   // screen coordinates

  struct FW_API XDropSource : public IDropSource {
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryContinueDrag)(BOOL fEscapePressed, DWORD grfKeyState) override;
    STDMETHOD(GiveFeedback)(DWORD dwEffect) override;
    COleDropSource* m_pThis;
  } m_xDropSource;

  // Sets the buttons from those held now (left by default).
  void PrepareButtons();
};

// A window's drop target: a real IDropTarget registered for the window with
// RegisterDragDrop. Points are the window's client coordinates.
class FW_API COleDropTarget : public CCmdTarget {
  DECLARE_DYNAMIC(COleDropTarget)
 public:
  COleDropTarget();
  ~COleDropTarget() override;  // revokes

  // FALSE when the window has a drop target already or OLE isn't initialised.
  BOOL Register(CWnd* pWnd);
  virtual void Revoke();

  // The default implementations accept nothing.
  virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
  // Runs before OnDrop; (DROPEFFECT)-1 (the default) leaves the drop to OnDrop.
  virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                              DROPEFFECT dropList, CPoint point);
  virtual void OnDragLeave(CWnd* pWnd);
  // Asked before OnDragEnter and OnDragOver: a result with DROPEFFECT_SCROLL means the
  // window scrolled and stands for the effect.
  virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

  HWND m_hWnd;                  // the registered window
  COleDataObject m_dataObject;  // the data of the drag in progress
  DROPEFFECT m_dropEffectLast;  // the effect last answered

  struct FW_API XDropTarget : public IDropTarget {
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(DragEnter)(LPDATAOBJECT pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
    STDMETHOD(DragOver)(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
    STDMETHOD(DragLeave)() override;
    STDMETHOD(Drop)(LPDATAOBJECT pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
    COleDropTarget* m_pThis;
  } m_xDropTarget;

 protected:
  CPoint ClientPoint(POINTL pt) const;
  // OnDragScroll, then (unless it scrolled) OnDragEnter or OnDragOver; remembered.
  DROPEFFECT Track(BOOL bEnter, DWORD dwKeyState, POINTL pt, DWORD dwAllowed);
  // The start of DragEnter and Drop: the data stays with the target until the drag leaves
  // or drops; FALSE (no effect) when the target is not registered.
  BOOL TakeData(LPDATAOBJECT pDataObj, DWORD* pdwEffect);
};

// Answers OLE's questions about calls to busy or hung servers. The framework shows no
// busy or not-responding dialog: rejected calls are retried for m_nRetryTimeout ms and
// then cancelled; the Enable... flags are kept for callers that ask.
class FW_API COleMessageFilter : public CCmdTarget {
  DECLARE_DYNAMIC(COleMessageFilter)
 public:
  COleMessageFilter();
  ~COleMessageFilter() override;

  BOOL Register();  // CoRegisterMessageFilter on this thread
  void Revoke();

  void EnableBusyDialog(BOOL bEnableBusy = TRUE) { m_bEnableBusy = bEnableBusy; }
  void EnableNotRespondingDialog(BOOL bEnableNotResponding = TRUE) { m_bEnableNotResponding = bEnableNotResponding; }
  // While busy, incoming calls are answered with the busy reply (SERVERCALL_RETRYLATER).
  void BeginBusyState() { ++m_nBusyCount; }
  void EndBusyState() {
    if (m_nBusyCount > 0) --m_nBusyCount;
  }
  void SetBusyReply(SERVERCALL nBusyReply) { m_nBusyReply = nBusyReply; }
  void SetRetryReply(DWORD nRetryReply = 0) { m_nRetryReply = nRetryReply; }

  BOOL m_bEnableBusy;
  BOOL m_bEnableNotResponding;
  BOOL m_bRegistered;
  int m_nBusyCount;
  SERVERCALL m_nBusyReply;
  DWORD m_nRetryReply;    // ms before a rejected call is retried
  DWORD m_nRetryTimeout;  // ms after which it is cancelled

  struct FW_API XMessageFilter : public IMessageFilter {
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD_(DWORD, HandleInComingCall)(DWORD dwCallType, HTASK htaskCaller, DWORD dwTickCount,
                                          LPINTERFACEINFO lpInterfaceInfo) override;
    STDMETHOD_(DWORD, RetryRejectedCall)(HTASK htaskCallee, DWORD dwTickCount, DWORD dwRejectType) override;
    STDMETHOD_(DWORD, MessagePending)(HTASK htaskCallee, DWORD dwTickCount, DWORD dwPendingType) override;
    COleMessageFilter* m_pThis;
  } m_xMessageFilter;
};

// The application's message filter (made on first use, not registered).
FW_API COleMessageFilter* AFXAPI AfxOleGetMessageFilter();
