#include "ctl_fixture.h"

#include <VxDatabase.h>
#include <VxResourceIds.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "MainWndMessages.h"
#include "files.h"
#include "profileroot.h"
#include "program.h"
#include "viewframe.h"
#include "pump.h"
#include "tempfolder.h"
#include "testmain.h"

namespace {

std::string g_scratch;
std::unique_ptr<testsupport::ScopedProfileRoot> g_root;
std::vector<SeenMessage> g_seen;

// The program's own profile root, photo database and thumbnail library session.
class PrivateStores : public testing::Environment {
 public:
  void SetUp() override {
    g_root.reset(new testsupport::ScopedProfileRoot("brctl"));
    g_scratch = testsupport::NewTempFolder("glimora-brctl");
    std::string db = g_scratch + "\\db";
    CreateDirectoryA(db.c_str(), nullptr);
    VxDBSetFolder(db.c_str());
    ASSERT_EQ(S_OK, VxGUIDBInitialize());
  }
  void TearDown() override {
    VxGUIDBFinalize();
    VxDBClose(-1);
    g_root.reset();
    if (!g_scratch.empty()) testsupport::RemoveTree(g_scratch);
  }
};
testing::Environment* const kStores = testing::AddGlobalTestEnvironment(new PrivateStores);

LRESULT CALLBACK ManagerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COPYDATA || (m >= 1300 && m <= 1999) || m == 0x0362) {
    SeenMessage s{m, w, l, 0, std::string(), 0};
    if (m == WM_COPYDATA) {
      const COPYDATASTRUCT* p = reinterpret_cast<const COPYDATASTRUCT*>(l);
      s.copyCode = p->dwData;
      s.copyBytes = p->cbData;
      if (p->lpData) s.copyText.assign(static_cast<const char*>(p->lpData), p->cbData);
    }
    g_seen.push_back(s);
    return m == WM_COPYDATA ? 1 : 0;
  }
  return DefWindowProcA(h, m, w, l);
}

}  // namespace

// The manager window's class, registered once the framework has started.
static testmain::StartUp managerClass([] {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ManagerProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "BrctlManager";
  return RegisterClassA(&wc) != 0;
});

namespace ctltest {
std::string Fixture(const char* name) { return testsupport::Fixture(name); }
std::string Scratch(const char* sub) {
  std::string d = g_scratch + "\\" + sub;
  testsupport::RemoveTree(d);
  testsupport::MakeFolders(d);
  return d;
}
bool Copy(const char* fixture, const std::string& to) {
  return CopyFileA(Fixture(fixture).c_str(), to.c_str(), FALSE) != FALSE;
}
void Pump() { testsupport::PumpPending(); }
std::string Res(UINT id) {
  CString s;
  CResourceLoader().LoadStringA(id, s);
  return (LPCSTR)s;
}

FullDisk::FullDisk(const char* sub) {
  const char kDisk[] = "C:\\glimora-full";
  ULARGE_INTEGER avail, total, free;
  if (!GetDiskFreeSpaceExA(kDisk, &avail, &total, &free) || total.QuadPart > (8u << 20)) {
    ADD_FAILURE() << kDisk << " is not a small mounted disk (smalldisks.sh mounts it as root)";
    return;
  }
  folder_ = std::string(kDisk) + "\\" + sub + std::to_string(GetCurrentProcessId());
  testsupport::RemoveTree(folder_);
  testsupport::MakeFolders(folder_);
}
FullDisk::~FullDisk() {
  if (!folder_.empty()) testsupport::RemoveTree(folder_);
}
bool FullDisk::Fill() {
  if (folder_.empty()) return false;
  std::string block(64 * 1024, 'x');
  HANDLE h = CreateFileA((folder_ + "\\filling").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (h == INVALID_HANDLE_VALUE) return false;
  // Large blocks first, then single bytes for what is left.
  DWORD n = 0;
  while (WriteFile(h, block.data(), (DWORD)block.size(), &n, NULL) && n == block.size()) {
  }
  while (WriteFile(h, "x", 1, &n, NULL) && n == 1) {
  }
  CloseHandle(h);
  ULARGE_INTEGER avail, total, free;
  return GetDiskFreeSpaceExA(folder_.c_str(), &avail, &total, &free) && avail.QuadPart == 0;
}
}  // namespace ctltest

// ---- The test view ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CTestItemView, CView)
HWND CTestItemView::s_hManager = nullptr;

CTestItemView::CTestItemView()
    : m_pTrans(new CVxGUITrans()), m_bReady(FALSE), m_focus(VXID_NONE), m_cell(0, 0), m_bShown(TRUE),
      m_bDrawing(TRUE), m_bPictures(TRUE), m_nDeleteAll(0) {}
CTestItemView::~CTestItemView() { delete m_pTrans; }

void CTestItemView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  m_pTrans->SetManager(s_hManager);
  LRESULT r = 0;
  m_pTrans->OnTransfer(this, WM_INITDIALOG, 0, 0, &r);
  m_bReady = TRUE;
}

void CTestItemView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) { m_pTrans->OnUpdate(pSender, lHint, pHint); }

LRESULT CTestItemView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  static const UINT picturesDecoded = ::RegisterWindowMessageA("VX3D_PICTURES_DECODED");
  if (message == picturesDecoded) ++m_nPictureBatches;
  if (m_bReady && message != WM_PAINT && message != WM_INITDIALOG) {
    LRESULT r = 0;
    HWND h = m_hWnd;
    if (m_pTrans->OnTransfer(this, message, wParam, lParam, &r)) return r;
    if (!::IsWindow(h)) return 0;
  }
  return CView::WindowProc(message, wParam, lParam);
}

BOOL CTestItemView::PreTranslateMessage(MSG* pMsg) {
  return m_pTrans->PreTranslateMessage(pMsg) || CView::PreTranslateMessage(pMsg);
}

HRESULT CTestItemView::AddItem(CThumbnail* p) {
  if (!p) return E_POINTER;
  p->SetUniqueID(CThumbnail::IssueUniqueID(), VXID_SLOT_VIEW);
  m_items.push_back(p);
  if (m_onAdd) m_onAdd(p);
  return S_OK;
}
void CTestItemView::RemoveItem(CThumbnail* p) {
  m_items.erase(std::remove(m_items.begin(), m_items.end(), p), m_items.end());
  if (p) {
    DWORD id = p->GetUniqueID(VXID_SLOT_VIEW);
    m_selection.erase(std::remove(m_selection.begin(), m_selection.end(), id), m_selection.end());
  }
}
void CTestItemView::DeleteAllItems() {
  ++m_nDeleteAll;
  m_items.clear();
  m_selection.clear();
  m_focus = VXID_NONE;
}
CThumbnail* CTestItemView::GetThumbnail(DWORD id) const {
  for (CThumbnail* p : m_items)
    if (p->GetUniqueID(VXID_SLOT_VIEW) == id) return p;
  return nullptr;
}
void CTestItemView::CollectThumbnail(CList<CThumbnail*, CThumbnail*>& list, int nFlags) {
  for (CThumbnail* p : m_items) {
    if (nFlags != -1 && (nFlags & 2) && !p->IsSelect()) continue;
    if (nFlags != -1 && (nFlags & 4) && !p->IsCut()) continue;
    list.AddTail(p);
  }
}
void CTestItemView::SortItems(PFNVXITEMCOMPARE pfn, LPARAM lData) {
  std::stable_sort(m_items.begin(), m_items.end(), [&](CThumbnail* a, CThumbnail* b) { return pfn(a, b, lData) < 0; });
}
HRESULT CTestItemView::SelectItem(DWORD id, BOOL bSelect) {
  if (!GetThumbnail(id)) return E_INVALIDARG;
  Select(id, bSelect, TRUE);
  if (bSelect) m_focus = id;
  return S_OK;
}
void CTestItemView::Select(DWORD id, BOOL bSelect, BOOL) {
  CThumbnail* p = GetThumbnail(id);
  if (!p) return;
  CVxDocument* pDoc = DYNAMIC_DOWNCAST(CVxDocument, GetDocument());
  bool has = std::find(m_selection.begin(), m_selection.end(), id) != m_selection.end();
  if (bSelect && !has) {
    m_selection.push_back(id);
    if (pDoc) pDoc->GetBrowser()->SelectItem(p, this);
  } else if (!bSelect && has) {
    m_selection.erase(std::remove(m_selection.begin(), m_selection.end(), id), m_selection.end());
    if (pDoc) pDoc->GetBrowser()->UnSelectItem(p, this);
  }
}
void CTestItemView::UnSelectAll(BOOL) {
  m_selection.clear();
  CVxDocument* pDoc = DYNAMIC_DOWNCAST(CVxDocument, GetDocument());
  if (pDoc && pDoc->GetBrowser()->GetSelectCount()) pDoc->GetBrowser()->SelectAll(FALSE, this);
}
void CTestItemView::SetCut(DWORD id, BOOL bCut) {
  if (CThumbnail* p = GetThumbnail(id)) p->Cut(bCut != FALSE);
}
std::vector<std::string> CTestItemView::Names() const {
  std::vector<std::string> v;
  for (CThumbnail* p : m_items) v.push_back((LPCSTR)p->GetFileName());
  return v;
}

// ---- The host ------------------------------------------------------------------------------

BrowserHost::BrowserHost() {
  g_seen.clear();
  hManager = CreateWindowA("BrctlManager", "manager", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           ::GetModuleHandleA(nullptr), nullptr);
  CTestItemView::s_hManager = hManager;
  pDoc = new CVxDocument();
  pDoc->OnNewDocument();
  testsupport::CViewFrame* f =
      testsupport::CreateViewFrame(pDoc, RUNTIME_CLASS(CTestItemView), "browser", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300));
  if (!f) return;
  pFrame = f;
  pView = static_cast<CTestItemView*>(f->GetView());
  f->InitialUpdateFrame(pDoc, FALSE);
  pView->SendMessage(WM_INITIALUPDATE);
  ctltest::Pump();
}

BrowserHost::~BrowserHost() {
  if (pFrame) pFrame->DestroyWindow();
  ctltest::Pump();
  if (hManager) DestroyWindow(hManager);
  g_seen.clear();
}

LRESULT BrowserHost::SendCopy(ULONG_PTR code, const std::string& text, bool withNul) {
  COPYDATASTRUCT cds = {code, (DWORD)(text.size() + (withNul ? 1 : 0)), (void*)text.c_str()};
  return SendMessageA(view(), WM_COPYDATA, (WPARAM)hManager, (LPARAM)&cds);
}

void BrowserHost::RunQueue() {
  testsupport::WaitUntil([&] { return trans()->GetQueuedCommandCount() == 0; }, 10000);
  ctltest::Pump();
}

void BrowserHost::ShowFolder(const std::string& folder) {
  EXPECT_EQ(1, SendCopy(CDID_CHANGE_FOLDER, "0|Explorer|1|" + folder + "\\||"));
  RunQueue();
}

std::vector<SeenMessage> BrowserHost::Seen(UINT message) const {
  std::vector<SeenMessage> v;
  for (const SeenMessage& s : g_seen)
    if (s.message == message) v.push_back(s);
  return v;
}
void BrowserHost::Forget() { g_seen.clear(); }

// ---- Answering dialog boxes ------------------------------------------------------------------

std::string ctltest::BoxText(HWND box) {
  std::string t;
  EnumChildWindows(
      box,
      [](HWND w, LPARAM l) -> BOOL {
        char cls[16] = "", buf[512] = "";
        GetClassNameA(w, cls, sizeof(cls));
        GetWindowTextA(w, buf, sizeof(buf));
        if (!lstrcmpiA(cls, "Static") && *buf) *reinterpret_cast<std::string*>(l) += buf;
        return TRUE;
      },
      (LPARAM)&t);
  return t;
}

BoxAnswers::BoxAnswers(std::vector<int> ids) : ids_(std::move(ids)) { thread_ = std::thread([this] { Run(); }); }
BoxAnswers::~BoxAnswers() {
  stop_ = true;
  thread_.join();
}
std::vector<std::string> BoxAnswers::Seen() {
  std::lock_guard<std::mutex> l(m_);
  return seen_;
}
void BoxAnswers::Run() {
  std::set<HWND> done;
  while (!stop_) {
    struct Find {
      std::set<HWND>* done;
      HWND box;
    } f = {&done, nullptr};
    EnumWindows(
        [](HWND w, LPARAM l) -> BOOL {
          Find* f = reinterpret_cast<Find*>(l);
          char cls[16] = "";
          GetClassNameA(w, cls, sizeof(cls));
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          // The rotation's progress dialog is no question: the tests cancel it themselves.
          if (pid == GetCurrentProcessId() && !lstrcmpA(cls, "#32770") && IsWindowVisible(w) && !f->done->count(w) &&
              !GetDlgItem(w, IDC_ROTATION_PROGRESS)) {
            f->box = w;
            return FALSE;
          }
          return TRUE;
        },
        (LPARAM)&f);
    // The shell's own questions draw their text themselves: a visible box is enough.
    if (f.box) {
      Sleep(50);
      done.insert(f.box);
      char caption[256] = "";
      GetWindowTextA(f.box, caption, sizeof(caption));
      int id = IDCANCEL;
      {
        std::lock_guard<std::mutex> l(m_);
        // The browser's own question is told by its delete button.
        const char* own = GetDlgItem(f.box, IDC_DELETE_YES) ? "[own]" : "";
        seen_.push_back(own + std::string(caption) + "|" + ctltest::BoxText(f.box));
        if (next_ < ids_.size()) id = ids_[next_++];
      }
      HWND button = GetDlgItem(f.box, id);
      PostMessageA(f.box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
    }
    Sleep(20);
  }
}
