// OLE data transfer: the drop-effect rule, a data source read through a data object
// (cached, delayed, into the caller's block, as a stream), the clipboard round trip, a
// drop target driven through its IDropTarget and a real in-process drag and drop.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "ctltest.h"

using namespace ctltest;

namespace {

CLIPFORMAT PrivateFormat() { return (CLIPFORMAT)::RegisterClipboardFormatA("CFSTR__Vx_FilePath"); }
CLIPFORMAT FolderFormat() { return (CLIPFORMAT)::RegisterClipboardFormatA("CFSTR_BROWSER_FOLDERPATH"); }

HGLOBAL MakeBlock(const void* data, size_t cb) {
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, cb);
  memcpy(::GlobalLock(h), data, cb);
  ::GlobalUnlock(h);
  return h;
}

std::string BlockText(HGLOBAL h) {
  if (!h) return "(none)";
  const char* p = (const char*)::GlobalLock(h);
  std::string s(p);
  ::GlobalUnlock(h);
  return s;
}

// A file drop list of the given paths.
HGLOBAL MakeDropFiles(const std::vector<std::string>& paths) {
  std::string list;
  for (const auto& p : paths) list += p + '\0';
  list += '\0';
  std::string block(sizeof(DROPFILES), '\0');
  ((DROPFILES*)&block[0])->pFiles = sizeof(DROPFILES);
  block += list;
  return MakeBlock(block.data(), block.size());
}

std::vector<std::string> DroppedPaths(HGLOBAL h) {
  std::vector<std::string> paths;
  UINT n = ::DragQueryFileA((HDROP)h, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < n; ++i) {
    char path[MAX_PATH] = "";
    ::DragQueryFileA((HDROP)h, i, path, sizeof(path));
    paths.push_back(path);
  }
  return paths;
}

// The browser's data source: folder paths rendered on request (NUL-separated, a final
// NUL); into the caller's block when one is given.
class CFolderSource : public COleDataSource {
 public:
  static int s_nAlive;
  std::string m_folders = std::string("C:\\写真\0C:\\動画\0", 16);
  BOOL m_bRefuse = FALSE;
  CFolderSource() { s_nAlive++; }
  ~CFolderSource() override { s_nAlive--; }
  BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) override {
    if (lpFormatEtc->cfFormat != FolderFormat() || m_bRefuse) return FALSE;
    std::string data = m_folders + '\0';
    if (*phGlobal) {
      if (::GlobalSize(*phGlobal) < data.size()) return FALSE;
      memcpy(::GlobalLock(*phGlobal), data.data(), data.size());
      ::GlobalUnlock(*phGlobal);
      Log("rendered-into");
      return TRUE;
    }
    *phGlobal = MakeBlock(data.data(), data.size());
    Log("rendered");
    return TRUE;
  }
};
int CFolderSource::s_nAlive = 0;

// The browser's drop target: copy with Ctrl, else move, over the accepted formats; the
// drop reads the private block and the dropped files.
class CTestDropTarget : public COleDropTarget {
 public:
  BOOL m_bDropEnabled = TRUE;
  DROPEFFECT m_effect = DROPEFFECT_MOVE;
  DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pData, DWORD dwKeyState, CPoint point) override {
    Log("enter:" + std::to_string(point.x) + "," + std::to_string(point.y));
    if (!pData->IsDataAvailable(PrivateFormat()) && !pData->IsDataAvailable(FolderFormat()))
      m_effect = DROPEFFECT_NONE;
    else
      m_effect = (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    return m_effect;
  }
  DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) override { return m_effect; }
  void OnDragLeave(CWnd* pWnd) override {
    Log("leave");
    COleDropTarget::OnDragLeave(pWnd);
  }
  BOOL OnDrop(CWnd* pWnd, COleDataObject* pData, DROPEFFECT dropEffect, CPoint point) override {
    if (!m_bDropEnabled) {
      Log("refused");
      return FALSE;
    }
    HGLOBAL hPrivate = pData->GetGlobalData(PrivateFormat());
    HGLOBAL hFiles = pData->GetGlobalData(CF_HDROP);
    std::string files;
    if (hFiles)
      for (const auto& p : DroppedPaths(hFiles)) files += "[" + p + "]";
    Log("drop:" + std::to_string(dropEffect) + ":" + BlockText(hPrivate) + ":" + files);
    if (hPrivate) ::GlobalFree(hPrivate);
    if (hFiles) ::GlobalFree(hFiles);
    return TRUE;
  }
};

// A drop source that lets the drag run a few rounds before it drops.
class CCountingDropSource : public COleDropSource {
 public:
  int m_nAsked = 0;
  int m_nFeedback = 0;
  SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) override {
    if (bEscapePressed) return DRAGDROP_S_CANCEL;
    return ++m_nAsked < 3 ? S_OK : DRAGDROP_S_DROP;
  }
  SCODE GiveFeedback(DROPEFFECT dropEffect) override {
    m_nFeedback++;
    return COleDropSource::GiveFeedback(dropEffect);
  }
};

void FillSource(COleDataSource& source) {
  source.CacheGlobalData(CF_HDROP, MakeDropFiles({"C:\\写真\\a.jpg", "C:\\写真\\b.jpg", "C:\\写真\\c.mp4"}));
  const char privateText[] = "C:\\写真\\a.jpg|";
  source.CacheGlobalData(PrivateFormat(), MakeBlock(privateText, sizeof(privateText)));
  FORMATETC both;
  AfxFillFormatEtc(&both, FolderFormat(), TYMED_HGLOBAL | TYMED_ISTREAM);
  source.DelayRenderData(FolderFormat(), &both);
}

}  // namespace

TEST(OleDrop, EffectFollowsWhatTheSourceAllows) {
  const DROPEFFECT C = DROPEFFECT_COPY, M = DROPEFFECT_MOVE, L = DROPEFFECT_LINK, S = DROPEFFECT_SCROLL;
  struct {
    DROPEFFECT wanted, allowed, expected;
  } cases[] = {
      {C, C | M, C},      {M, C | M, M},       {M, C, C},  // a move the source forbids becomes a copy
      {C, M, 0},          {L, C | M | L, L},   {L, C, 0},
      {C | M, C | M, C},  {M | S, M, M | S},   {0, C | M, 0},
      {S, C, S},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, AfxFilterDropEffect(c.wanted, c.allowed)) << c.wanted << " " << c.allowed;
}

TEST(OleData, CachedAndDelayedFormatsThroughADataObject) {
  CFolderSource source;
  FillSource(source);
  COleDataObject data;
  data.Attach(source.GetIDataObject(TRUE));
  EXPECT_TRUE(data.IsDataAvailable(CF_HDROP));
  EXPECT_TRUE(data.IsDataAvailable(PrivateFormat()));
  EXPECT_TRUE(data.IsDataAvailable(FolderFormat()));
  EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));

  // The formats on offer, in the order they were given.
  std::vector<CLIPFORMAT> formats;
  FORMATETC fmt;
  data.BeginEnumFormats();
  while (data.GetNextFormat(&fmt)) formats.push_back(fmt.cfFormat);
  EXPECT_EQ((std::vector<CLIPFORMAT>{CF_HDROP, PrivateFormat(), FolderFormat()}), formats);

  // Each read is a copy the reader owns.
  HGLOBAL h1 = data.GetGlobalData(CF_HDROP);
  HGLOBAL h2 = data.GetGlobalData(CF_HDROP);
  ASSERT_TRUE(h1 && h2);
  EXPECT_NE(h1, h2);
  EXPECT_EQ((std::vector<std::string>{"C:\\写真\\a.jpg", "C:\\写真\\b.jpg", "C:\\写真\\c.mp4"}), DroppedPaths(h1));
  EXPECT_EQ(20u, *(DWORD*)::GlobalLock(h1));
  ::GlobalUnlock(h1);
  ::GlobalFree(h1);
  ::GlobalFree(h2);

  // Delayed: rendered on each request.
  g_log.clear();
  HGLOBAL hFolders = data.GetGlobalData(FolderFormat());
  ASSERT_NE(nullptr, hFolders);
  EXPECT_EQ(0, memcmp(::GlobalLock(hFolders), "C:\\写真\0C:\\動画\0\0", 17));
  ::GlobalUnlock(hFolders);
  ::GlobalFree(hFolders);
  EXPECT_EQ("rendered", Joined());

  // Into the caller's block (GetDataHere); a block too small is refused.
  LPDATAOBJECT pData = data.GetIDataObject(FALSE);
  FORMATETC here;
  AfxFillFormatEtc(&here, FolderFormat(), TYMED_HGLOBAL);
  STGMEDIUM medium = {};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 64);
  EXPECT_EQ(S_OK, pData->GetDataHere(&here, &medium));
  EXPECT_EQ("rendered-into", Joined());
  EXPECT_EQ("C:\\写真", BlockText(medium.hGlobal));
  ::GlobalFree(medium.hGlobal);
  medium.hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, 4);
  EXPECT_NE(S_OK, pData->GetDataHere(&here, &medium));
  ::GlobalFree(medium.hGlobal);

  // As a stream for a reader that wants one.
  FORMATETC stream;
  AfxFillFormatEtc(&stream, FolderFormat(), TYMED_ISTREAM);
  STGMEDIUM sm = {};
  ASSERT_TRUE(data.GetData(FolderFormat(), &sm, &stream));
  EXPECT_EQ((DWORD)TYMED_ISTREAM, sm.tymed);
  char buffer[32] = "";
  ULONG cbRead = 0;
  LARGE_INTEGER zero = {};
  sm.pstm->Seek(zero, STREAM_SEEK_SET, nullptr);
  sm.pstm->Read(buffer, sizeof(buffer), &cbRead);
  EXPECT_EQ(17u, cbRead);
  ::ReleaseStgMedium(&sm);

  // A renderer that refuses gives nothing; asking for a medium not on offer neither.
  source.m_bRefuse = TRUE;
  EXPECT_EQ(nullptr, data.GetGlobalData(FolderFormat()));
  FORMATETC other;
  AfxFillFormatEtc(&other, CF_HDROP, TYMED_ISTREAM);
  EXPECT_EQ(DV_E_TYMED, pData->QueryGetData(&other));
  AfxFillFormatEtc(&other, CF_TEXT, TYMED_HGLOBAL);
  EXPECT_EQ(DV_E_FORMATETC, pData->QueryGetData(&other));
  data.Release();
  EXPECT_EQ(nullptr, data.m_lpDataObject);
}

TEST(OleData, ClipboardRoundTripAndFlush) {
  CFolderSource* pSource = new CFolderSource;
  FillSource(*pSource);
  const char text[] = "写真の一覧";
  pSource->CacheGlobalData(CF_TEXT, MakeBlock(text, sizeof(text)));
  ASSERT_TRUE(pSource->SetClipboard());
  // The clipboard owns the source now.
  EXPECT_EQ(pSource, COleDataSource::GetClipboardOwner());
  {
    COleDataObject clip;
    ASSERT_TRUE(clip.AttachClipboard());
    EXPECT_TRUE(clip.m_bClipboard);
    EXPECT_TRUE(clip.IsDataAvailable(CF_HDROP));
    EXPECT_TRUE(clip.IsDataAvailable(PrivateFormat()));
    EXPECT_FALSE(clip.IsDataAvailable(CF_BITMAP));
    HGLOBAL hFiles = clip.GetGlobalData(CF_HDROP);
    ASSERT_NE(nullptr, hFiles);
    EXPECT_EQ(3u, DroppedPaths(hFiles).size());
    ::GlobalFree(hFiles);
    HGLOBAL hFolders = clip.GetGlobalData(FolderFormat());
    EXPECT_EQ("C:\\写真", BlockText(hFolders));
    ::GlobalFree(hFolders);
  }
  // Flushing renders everything and lets the source go; the data stays.
  g_log.clear();
  COleDataSource::FlushClipboard();
  EXPECT_EQ(0, CFolderSource::s_nAlive);
  EXPECT_EQ(nullptr, COleDataSource::GetClipboardOwner());
  COleDataObject after;
  ASSERT_TRUE(after.AttachClipboard());
  HGLOBAL hFolders = after.GetGlobalData(FolderFormat());
  EXPECT_EQ("C:\\写真", BlockText(hFolders));
  ::GlobalFree(hFolders);
  after.Release();
  // Plain clipboard readers see it too.
  ASSERT_TRUE(::OpenClipboard(nullptr));
  HANDLE hText = ::GetClipboardData(CF_TEXT);
  EXPECT_EQ(text, BlockText(hText));
  ::CloseClipboard();
  ::OpenClipboard(nullptr);
  ::EmptyClipboard();
  ::CloseClipboard();
}

TEST(OleDrop, TargetMethodsAsOleCallsThem) {
  CHostWnd host;
  ASSERT_TRUE(host.Make(200, 150));
  CTestDropTarget target;
  ASSERT_TRUE(target.Register(&host));
  EXPECT_FALSE(target.Register(&host));  // once per target
  CFolderSource source;
  FillSource(source);
  IDataObject* pData = source.GetIDataObject(FALSE);
  IDropTarget* pTarget = &target.m_xDropTarget;
  CRect rcHost;
  host.GetWindowRect(&rcHost);
  POINTL pt = {rcHost.left + 30, rcHost.top + 40};

  struct {
    DWORD keys;
    DWORD allowed;
    DROPEFFECT expected;
    BOOL enabled;
    const char* log;
  } cases[] = {
      // Ctrl: copy; the drop reads the private block and the files.
      {MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY, TRUE,
       "enter:30,40|drop:1:C:\\写真\\a.jpg|:[C:\\写真\\a.jpg][C:\\写真\\b.jpg][C:\\写真\\c.mp4]"},
      // No Ctrl: move, or copy when the source allows only copying.
      {MK_LBUTTON, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE, TRUE,
       "enter:30,40|drop:2:C:\\写真\\a.jpg|:[C:\\写真\\a.jpg][C:\\写真\\b.jpg][C:\\写真\\c.mp4]"},
      {MK_LBUTTON, DROPEFFECT_COPY, DROPEFFECT_COPY, TRUE,
       "enter:30,40|drop:1:C:\\写真\\a.jpg|:[C:\\写真\\a.jpg][C:\\写真\\b.jpg][C:\\写真\\c.mp4]"},
      // Nothing the target may do: no drop, the drag just leaves.
      {MK_LBUTTON, DROPEFFECT_LINK, DROPEFFECT_NONE, TRUE, "enter:30,40|leave"},
      // The target refuses the drop itself.
      {MK_LBUTTON, DROPEFFECT_MOVE, DROPEFFECT_NONE, FALSE, "enter:30,40|refused"},
  };
  for (const auto& c : cases) {
    target.m_bDropEnabled = c.enabled;
    g_log.clear();
    DWORD effect = c.allowed;
    ASSERT_EQ(S_OK, pTarget->DragEnter(pData, c.keys, pt, &effect));
    DWORD over = c.allowed;
    pTarget->DragOver(c.keys, pt, &over);
    EXPECT_EQ(effect, over);
    DWORD dropped = c.allowed;
    ASSERT_EQ(S_OK, pTarget->Drop(pData, c.keys & ~MK_LBUTTON, pt, &dropped));
    EXPECT_EQ(c.expected, dropped);
    EXPECT_EQ(c.log, Joined());
  }
  // Data without an accepted format: nothing, and leaving is reported.
  COleDataSource other;
  const char text[] = "x";
  other.CacheGlobalData(CF_TEXT, MakeBlock(text, 2));
  DWORD effect = DROPEFFECT_COPY;
  pTarget->DragEnter(other.GetIDataObject(FALSE), MK_LBUTTON, pt, &effect);
  EXPECT_EQ(DROPEFFECT_NONE, effect);
  pTarget->DragLeave();
  EXPECT_EQ("enter:30,40|leave", Joined());
  target.Revoke();
  EXPECT_EQ(nullptr, target.m_hWnd);
  EXPECT_TRUE(target.Register(&host));
}

TEST(OleDrop, RealDragAndDropInOneProcess) {
  CHostWnd host;
  ASSERT_TRUE(host.Make(200, 150));
  CTestDropTarget target;
  ASSERT_TRUE(target.Register(&host));
  CRect rc;
  host.GetWindowRect(&rc);
  ::SetCursorPos(rc.left + 50, rc.top + 60);
  CFolderSource source;
  FillSource(source);
  CCountingDropSource dropSource;
  g_log.clear();
  DROPEFFECT effect = source.DoDragDrop(DROPEFFECT_COPY, nullptr, &dropSource);
  EXPECT_EQ(DROPEFFECT_COPY, effect);  // the target's move became the copy the source allows
  EXPECT_EQ(3, dropSource.m_nAsked);
  EXPECT_GT(dropSource.m_nFeedback, 0);
  EXPECT_EQ("enter:50,60|drop:1:C:\\写真\\a.jpg|:[C:\\写真\\a.jpg][C:\\写真\\b.jpg][C:\\写真\\c.mp4]", Joined());
}

TEST(OleDrop, DragFromAStartRectangleNeedsTheButtonHeld) {
  CHostWnd host;
  ASSERT_TRUE(host.Make(200, 150));
  CTestDropTarget target;
  ASSERT_TRUE(target.Register(&host));
  CRect rc;
  host.GetWindowRect(&rc);
  ::SetCursorPos(rc.left + 50, rc.top + 60);
  CFolderSource source;
  FillSource(source);
  COleDropSource dropSource;
  // No mouse button is down: the click ended inside the start rectangle, nothing is dragged.
  CRect rcStart(rc.left + 45, rc.top + 55, rc.left + 55, rc.top + 65);
  g_log.clear();
  EXPECT_EQ(DROPEFFECT_NONE, source.DoDragDrop(DROPEFFECT_COPY, &rcStart, &dropSource));
  EXPECT_FALSE(dropSource.m_bDragStarted);
  EXPECT_EQ("", Joined());
}

TEST(OleMessageFilter, RegistersAndKeepsItsSwitches) {
  COleMessageFilter* pFilter = AfxOleGetMessageFilter();
  ASSERT_NE(nullptr, pFilter);
  EXPECT_EQ(pFilter, AfxOleGetMessageFilter());
  pFilter->EnableBusyDialog(FALSE);
  pFilter->EnableNotRespondingDialog(FALSE);
  EXPECT_FALSE(pFilter->m_bEnableBusy);
  EXPECT_FALSE(pFilter->m_bEnableNotResponding);
  EXPECT_TRUE(pFilter->Register());
  IMessageFilter* pIF = &pFilter->m_xMessageFilter;
  EXPECT_EQ((DWORD)SERVERCALL_ISHANDLED, pIF->HandleInComingCall(CALLTYPE_TOPLEVEL, nullptr, 0, nullptr));
  pFilter->BeginBusyState();
  EXPECT_EQ((DWORD)SERVERCALL_RETRYLATER, pIF->HandleInComingCall(CALLTYPE_TOPLEVEL, nullptr, 0, nullptr));
  pFilter->EndBusyState();
  EXPECT_EQ(100u, pIF->RetryRejectedCall(nullptr, 50, SERVERCALL_RETRYLATER));
  EXPECT_EQ((DWORD)-1, pIF->RetryRejectedCall(nullptr, 20000, SERVERCALL_RETRYLATER));
  EXPECT_EQ((DWORD)-1, pIF->RetryRejectedCall(nullptr, 50, SERVERCALL_REJECTED));
  pFilter->Revoke();
  EXPECT_FALSE(pFilter->m_bRegistered);
}


