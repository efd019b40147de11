// The file clipboard: the file-drop layout, write and read with copy and cut, clearing,
// and the viewer chain.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <memory>

#include "doc_fixtures.h"

namespace {

// A plain window that hands its clipboard-chain messages to a clipboard object.
class ChainWindow {
 public:
  explicit ChainWindow(CExploreClipboardObject* pClip) : m_pClip(pClip) {
    static ATOM atom = [] {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "VxDocClipTest";
      return RegisterClassA(&wc);
    }();
    (void)atom;
    m_hWnd = CreateWindowA("VxDocClipTest", "clip", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), this);
  }
  ~ChainWindow() { DestroyWindow(m_hWnd); }
  HWND m_hWnd;
  int m_nDraws = 0;      // WM_DRAWCLIPBOARD seen
  int m_nAccepted = 0;   // ... that the object accepted
  int m_nChanges = 0;    // WM_CHANGECBCHAIN seen

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_NCCREATE)
      SetWindowLongPtrA(h, GWLP_USERDATA, (LONG_PTR)reinterpret_cast<CREATESTRUCTA*>(l)->lpCreateParams);
    ChainWindow* self = reinterpret_cast<ChainWindow*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    if (self && self->m_pClip) {
      if (msg == WM_DRAWCLIPBOARD) {
        ++self->m_nDraws;
        if (self->m_pClip->OnDrawClipboard(w, l)) ++self->m_nAccepted;
        return 0;
      }
      if (msg == WM_CHANGECBCHAIN) {
        ++self->m_nChanges;
        self->m_pClip->OnChangeCbChain(w, l);
        return 0;
      }
    }
    return DefWindowProcA(h, msg, w, l);
  }
  CExploreClipboardObject* m_pClip;
};

std::unique_ptr<CStringList> MakeList(std::initializer_list<const char*> items) {
  std::unique_ptr<CStringList> l(new CStringList);
  for (const char* s : items) l->AddTail(s);
  return l;
}
#define List(...) (*MakeList(__VA_ARGS__))

std::vector<std::string> Strings(const CStringList& l) {
  std::vector<std::string> v;
  for (POSITION pos = l.GetHeadPosition(); pos;) v.push_back((LPCSTR)l.GetNext(pos));
  return v;
}

}  // namespace

TEST(DropFiles, TheLayoutGoesBothWays) {
  auto pPaths = MakeList({"C:\\a.jpg", "C:\\写真\\ポ.jpg", "D:\\c"});
  CStringList& paths = *pPaths;
  HGLOBAL h = VxBuildDropFiles(paths, POINT{7, 9});
  ASSERT_NE(h, nullptr);
  const DROPFILES* df = static_cast<const DROPFILES*>(GlobalLock(h));
  EXPECT_EQ(df->pFiles, 20u);
  EXPECT_EQ(df->pt.x, 7);
  EXPECT_EQ(df->pt.y, 9);
  EXPECT_FALSE(df->fWide);
  GlobalUnlock(h);
  CStringList back;
  EXPECT_EQ(VxReadDropFiles(h, back), 3);
  EXPECT_EQ(Strings(back), Strings(paths));
  GlobalFree(h);

  // A wide list reads the same; blocks that end inside a name, or point outside
  // themselves, do not read.
  const WCHAR wide[] = L"C:\\w.jpg\0E:\\x\0";
  HGLOBAL hw = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 20 + sizeof(wide));
  DROPFILES* dw = static_cast<DROPFILES*>(GlobalLock(hw));
  dw->pFiles = 20;
  dw->fWide = TRUE;
  memcpy(reinterpret_cast<BYTE*>(dw) + 20, wide, sizeof(wide));
  GlobalUnlock(hw);
  CStringList w;
  EXPECT_EQ(VxReadDropFiles(hw, w), 2);
  EXPECT_EQ(Strings(w), (std::vector<std::string>{"C:\\w.jpg", "E:\\x"}));
  GlobalFree(hw);

  enum Fault { kNoEnd, kPastTheEnd, kInsideTheHeader };
  for (Fault f : {kNoEnd, kPastTheEnd, kInsideTheHeader}) {
    HGLOBAL hb = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 64);
    SIZE_T size = GlobalSize(hb);
    BYTE* p = static_cast<BYTE*>(GlobalLock(hb));
    DROPFILES* df = reinterpret_cast<DROPFILES*>(p);
    df->pFiles = f == kPastTheEnd ? (DWORD)size + 10 : f == kInsideTheHeader ? 4 : 20;
    if (f == kNoEnd) memset(p + 20, 'a', size - 20);
    GlobalUnlock(hb);
    CStringList l;
    EXPECT_EQ(VxReadDropFiles(hb, l), -1) << f;
    GlobalFree(hb);
  }
  CStringList l;
  EXPECT_EQ(VxReadDropFiles(nullptr, l), -1);
}

TEST(Clipboard, CopyAndCutComeBackWithTheirEffect) {
  CExploreClipboardObject clip;
  ChainWindow owner(nullptr);
  struct {
    UINT effect;
    std::initializer_list<const char*> items;
  } cases[] = {{DROPEFFECT_COPY, {"C:\\a.jpg", "C:\\b.jpg"}}, {DROPEFFECT_MOVE, {"D:\\移動\\c.mp4"}}};
  for (auto& c : cases) {
    auto pPaths = MakeList(c.items);
    CStringList& paths = *pPaths;
    ASSERT_EQ(clip.Write(owner.m_hWnd, c.effect, paths), S_OK);
    EXPECT_TRUE(clip.CanRead());
    DWORD effect = 0;
    HGLOBAL h = clip.Read(owner.m_hWnd, &effect);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(effect, c.effect);
    CStringList back;
    EXPECT_EQ(VxReadDropFiles(h, back), (int)paths.GetCount());
    EXPECT_EQ(Strings(back), Strings(paths));
    GlobalFree(h);
  }
  // The day view writes with a point.
  ASSERT_EQ(clip.Write(owner.m_hWnd, DROPEFFECT_COPY, POINT{3, 4}, List({"C:\\p.jpg"})), S_OK);
  HGLOBAL h = clip.Read(HWND(nullptr), nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(static_cast<DROPFILES*>(GlobalLock(h))->pt.x, 3);
  GlobalUnlock(h);
  GlobalFree(h);

  EXPECT_TRUE(CExploreClipboardObject::Clear());
  EXPECT_FALSE(clip.CanRead());
  DWORD effect = 0;
  EXPECT_EQ(clip.Read(owner.m_hWnd, &effect), nullptr);
  CStringList none;
  EXPECT_EQ(clip.ReadPaths(none), 0);
  // Nothing to write, no effect, no owner: refused, the clipboard untouched.
  EXPECT_EQ(clip.Write(owner.m_hWnd, DROPEFFECT_COPY, CStringList()), E_INVALIDARG);
  EXPECT_EQ(clip.Write(owner.m_hWnd, 0, List({"C:\\a"})), E_INVALIDARG);
  EXPECT_EQ(clip.Write(HWND(nullptr), DROPEFFECT_COPY, List({"C:\\a"})), E_INVALIDARG);
  EXPECT_FALSE(clip.CanRead());
}

TEST(Clipboard, TheViewerHearsOfOtherContentOnly) {
  CExploreClipboardObject clip, other;
  ChainWindow viewer(&clip), before(&other), writer(nullptr);
  // Another viewer is in the chain first: ours must pass the notices on to it.
  ASSERT_TRUE(other.SetViewer(before.m_hWnd));
  ASSERT_EQ(clip.Write(viewer.m_hWnd, DROPEFFECT_MOVE, List({"C:\\cut.jpg"})), S_OK);
  ASSERT_TRUE(clip.SetViewer(viewer.m_hWnd));
  EXPECT_TRUE(clip.IsViewer(viewer.m_hWnd));
  EXPECT_TRUE(clip.SetViewer(viewer.m_hWnd));  // joins once
  doctest::PumpPending();
  EXPECT_EQ(viewer.m_nAccepted, 0);  // joining, and our own list, are no news

  // Our own next write is no news either.
  int draws = viewer.m_nDraws, passed = before.m_nDraws;
  ASSERT_EQ(clip.Write(viewer.m_hWnd, DROPEFFECT_COPY, List({"C:\\copy.jpg"})), S_OK);
  doctest::PumpPending();
  EXPECT_GT(viewer.m_nDraws, draws);
  EXPECT_GT(before.m_nDraws, passed);
  EXPECT_EQ(viewer.m_nAccepted, 0);

  // Another program's list is.
  CExploreClipboardObject foreign;
  ASSERT_EQ(foreign.Write(writer.m_hWnd, DROPEFFECT_COPY, List({"C:\\other.jpg"})), S_OK);
  doctest::PumpPending();
  EXPECT_EQ(viewer.m_nAccepted, 1);

  // The window before ours leaves: the chain is mended around it.
  int changes = viewer.m_nChanges;
  other.ResetViewer();
  doctest::PumpPending();
  EXPECT_GT(viewer.m_nChanges, changes);
  draws = before.m_nDraws;
  CExploreClipboardObject::Clear();
  doctest::PumpPending();
  EXPECT_EQ(before.m_nDraws, draws);  // no longer in the chain
  EXPECT_EQ(viewer.m_nAccepted, 2);

  clip.ResetViewer();
  EXPECT_EQ(clip.GetViewer(), nullptr);
  draws = viewer.m_nDraws;
  ASSERT_EQ(foreign.Write(writer.m_hWnd, DROPEFFECT_COPY, List({"C:\\late.jpg"})), S_OK);
  doctest::PumpPending();
  EXPECT_EQ(viewer.m_nDraws, draws);
  CExploreClipboardObject::Clear();
}
