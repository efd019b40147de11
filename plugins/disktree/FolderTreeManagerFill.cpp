#include <VxResourceIds.h>
#include <textkit/text.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>

#include "DiskTreeModule.h"
#include "DiskTreeRules.h"
#include "FolderOps.h"
#include "FolderTreeManager.h"
#include "ShellItems.h"

namespace disktree {

namespace {

// The host's call fills what is ready within this; later batches come from a timer, each
// bounded, never waiting for the worker or a probe.
const DWORD kFirstBatchMs = 10;
const DWORD kFillBatchMs = 10;
const UINT kFillTickMs = 10;

}  // namespace

struct CFolderTreeManager::FillJob {
  LPITEMIDLIST absolute = nullptr;  // the level's item, a copy
  std::string parentBase;
  bool excludeRemovable = false;
  // Sized once, when listed and sorted; children[0, ready) are made ready.
  std::vector<ReadyChild> children;
  std::atomic<size_t> ready{0};
  std::atomic<bool> finished{false};
  // Set under lock when the fill is dropped: no probe is submitted after it.
  bool cancelled = false;
  std::mutex lock;
  std::condition_variable changed;
  ~FillJob() {
    for (ReadyChild& c : children) {
      CoTaskMemFree(c.relative);
      CoTaskMemFree(c.absolute);
    }
    CoTaskMemFree(absolute);
  }
  bool Cancelled() {
    std::lock_guard<std::mutex> hold(lock);
    return cancelled;
  }
};

namespace {

struct FillStart {
  CFolderTreeManager* manager;
  std::shared_ptr<void> keep;
  void* job;
  HMODULE module;
};

}  // namespace

void CFolderTreeManager::PrepareLevel(CFolderTreeManager* manager, FillJob* job) {
  // Its own shell folder, bound from the level's absolute id list: nothing of the tree's
  // thread is used here.
  IShellFolder* desktop = nullptr;
  IShellFolder* folder = nullptr;
  std::vector<LPITEMIDLIST> listed;
  if (SUCCEEDED(SHGetDesktopFolder(&desktop))) {
    if (job->absolute && job->absolute->mkid.cb == 0) {
      folder = desktop;
      folder->AddRef();
    } else if (FAILED(desktop->BindToObject(job->absolute, nullptr, IID_IShellFolder,
                                            reinterpret_cast<void**>(&folder)))) {
      folder = nullptr;
    }
    desktop->Release();
  }
  IEnumIDList* list = nullptr;
  if (folder && SUCCEEDED(folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, &list)) && list) {
    LPITEMIDLIST child = nullptr;
    while (list->Next(1, &child, nullptr) == S_OK) {
      listed.push_back(child);
      if ((listed.size() & 255) == 0 && job->Cancelled()) break;
    }
    list->Release();
  }
  if (folder && !job->Cancelled()) {
    // The children are made ready, and go in, in their final order.
    std::stable_sort(listed.begin(), listed.end(), [folder](LPITEMIDLIST a, LPITEMIDLIST b) {
      return static_cast<short>(HRESULT_CODE(folder->CompareIDs(0, a, b))) < 0;
    });
    job->children.resize(listed.size());
    // One read of the stored colours for the whole level.
    std::set<std::string> coloured;
    for (const std::string& name : ColouredFolders()) coloured.insert(textkit::LowerAscii(name));
    ChildContext context;
    context.coloured = &coloured;
    context.folder = folder;
    context.parentAbsolute = job->absolute;
    context.parentBase = job->parentBase;
    context.excludeRemovable = job->excludeRemovable;
    for (size_t i = 0; i < listed.size(); ++i) {
      ReadyChild& c = job->children[i];
      if (!manager->PrepareChild(context, listed[i], &c)) {
        CoTaskMemFree(c.relative);
        CoTaskMemFree(c.absolute);
        c = ReadyChild();
      }
      std::lock_guard<std::mutex> hold(job->lock);
      if (job->cancelled) break;
      if (!c.skip) {
        // A plain directory's probe asks the disk alone.
        const bool directory = (c.attributes & SFGAO_FILESYSTEM) && c.fileAttributes != INVALID_FILE_ATTRIBUTES &&
                               (c.fileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDriveRoot(c.path);
        c.ticket = manager->m_probe.Submit(folder, c.relative, directory ? c.path : std::string());
      }
      job->ready = i + 1;
      if ((i & 63) == 0) job->changed.notify_all();
    }
  }
  for (LPITEMIDLIST p : listed) CoTaskMemFree(p);
  if (folder) folder->Release();
  {
    std::lock_guard<std::mutex> hold(job->lock);
    job->finished = true;
  }
  job->changed.notify_all();
}

DWORD WINAPI CFolderTreeManager::FillWorker(LPVOID param) {
  FillStart* start = static_cast<FillStart*>(param);
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  PrepareLevel(start->manager, static_cast<FillJob*>(start->job));
  const HMODULE module = start->module;
  delete start;  // the job may go with it
  CoUninitialize();
  if (module) FreeLibraryAndExitThread(module, 0);
  return 0;
}

HRESULT CFolderTreeManager::Expand(CTreeCtrl* tree, HTREEITEM item, bool excludeRemovable, bool inBatches) {
  if (!tree || !item) return E_INVALIDARG;
  if (FinishFill(tree, item)) return S_OK;
  if (tree->GetItemState(item, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) return S_OK;
  TreeItemRecord* record = Record(tree, item);
  if (!record || !record->shell || !BoundFolder(record)) return E_FAIL;
  const std::string root = DriveRootOfLabel(std::string(tree->GetItemText(item)));
  if (!root.empty()) {
    UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
    char name[MAX_PATH] = {};
    BOOL ok = GetVolumeInformationA(root.c_str(), name, sizeof name, nullptr, nullptr, nullptr, nullptr, 0);
    SetErrorMode(old);
    if (!ok) {
      // Any volume failure of a drive that comes and goes is a drive without media.
      if (m_bTreeCreated) {
        CString text;
        text.Format(ResourceString(IDS_DISKTREE_EMPTY_DRIVE).c_str(), root.c_str());
        AfxMessageBox(text, MB_OK | MB_ICONERROR);
      }
      TVITEMA tv = {};
      tv.mask = TVIF_CHILDREN;
      tv.hItem = item;
      tree->SetItem(&tv);
      return E_FAIL;
    }
  }
  tree->SetItemState(item, TVIS_EXPANDEDONCE, TVIS_EXPANDEDONCE);
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  Fill fill;
  fill.tree = tree;
  fill.item = item;
  fill.folder = BoundFolder(record);
  fill.folder->AddRef();
  fill.last = TVI_FIRST;
  fill.job = std::make_shared<FillJob>();
  fill.job->absolute = JoinItemIdLists(nullptr, record->shell->absolute);
  fill.job->parentBase = ChildPathBase(tree, item);
  fill.job->excludeRemovable = excludeRemovable;
  // The host's own expansion on the tree's thread lists on a worker; every other caller
  // needs the whole level before it returns.
  const bool batches = inBatches && GetWindowThreadProcessId(tree->m_hWnd, nullptr) == GetCurrentThreadId();
  bool started = false;
  if (batches) {
    auto* start = new FillStart{this, fill.job, fill.job.get(), ThisModuleReferenced()};
    HANDLE worker = CreateThread(nullptr, 0, &CFolderTreeManager::FillWorker, start, 0, nullptr);
    if (worker) {
      started = true;
      CloseHandle(worker);
    } else {
      if (start->module) FreeLibrary(start->module);
      delete start;
    }
  }
  if (!started) PrepareLevel(this, fill.job.get());
  const bool done = RunFill(fill, batches ? kFirstBatchMs : INFINITE, true);
  fill.openWithFirst = !fill.any;
  if (done) {
    EndFill(fill);
    FreeFill(fill);
  } else {
    auto hold = HoldFills();
    m_fills[item] = fill;
    if (!m_fillTimer) {
      m_fillTimer = SetTimer(nullptr, 0, kFillTickMs, &CFolderTreeManager::FillTimer);
      m_fillThread = GetCurrentThreadId();
    }
  }
  SetCursor(old);
  return S_OK;
}

bool CFolderTreeManager::RunFill(Fill& fill, DWORD budgetMs, bool wait) {
  CTreeCtrl* tree = fill.tree;
  FillJob& job = *fill.job;
  const DWORD start = GetTickCount();
  const bool batch = budgetMs != INFINITE;
  auto left = [&]() -> DWORD {
    if (!batch) return INFINITE;
    const DWORD used = GetTickCount() - start;
    return used < budgetMs ? budgetMs - used : 0;
  };
  bool redrawOff = false;
  HTREEITEM firstMade = nullptr;
  const bool hadAny = fill.any;
  for (;;) {
    if (fill.next >= job.ready) {
      if (job.finished && fill.next >= job.ready) break;
      if (!wait || !left()) break;
      // The worker is still listing or making children ready.
      std::unique_lock<std::mutex> hold(job.lock);
      auto more = [&] { return job.finished || job.ready > fill.next; };
      if (batch)
        job.changed.wait_for(hold, std::chrono::milliseconds(left()), more);
      else
        job.changed.wait(hold, more);
      continue;
    }
    ReadyChild& c = job.children[fill.next];
    if (c.skip) {
      ++fill.next;
      continue;
    }
    // A child goes in once its probe has answered, so its button is right from the start;
    // a probe held up past its bound leaves the button, and the folder's opening decides.
    int known = 1;
    if (c.ticket) {
      const ProbeButton button = AwaitButton(m_probe, c.ticket, kProbeBoundMs, wait ? left() : 0);
      if (button == kButtonWait) break;  // a later batch goes on
      c.ticket = 0;
      known = button == kButtonHidden ? 0 : 1;
    }
    if (batch && !redrawOff) {
      tree->SetRedraw(FALSE);
      redrawOff = true;
    }
    HTREEITEM made = InsertChild(tree, fill.item, fill.folder, fill.last, c, nullptr, known);
    ++fill.next;
    if (made != fill.last) {
      fill.last = made;
      fill.any = true;
      if (!firstMade) firstMade = made;
    }
    if (batch && !left()) break;
  }
  if (fill.openWithFirst && !wait && !hadAny && fill.any) {
    // Without notifications: the host asked for this expansion already.
    fill.openWithFirst = false;
    if (!(tree->GetItemState(fill.item, TVIS_EXPANDED) & TVIS_EXPANDED))
      tree->SetItemState(fill.item, TVIS_EXPANDED, TVIS_EXPANDED);
  }
  if (redrawOff) {
    // Children added below the shown rows change only the scroll bar: the shown rows are
    // not painted again (every icon drawn costs round trips to the server under Wine,
    // which the probes wait on too). A paint already due is kept.
    RECT due;
    const bool pending = GetUpdateRect(tree->m_hWnd, &due, FALSE) != FALSE;
    tree->SetRedraw(TRUE);
    if (pending || (firstMade && RowShown(tree, firstMade)))
      tree->Invalidate(FALSE);
    else
      tree->ValidateRect(nullptr);
  }
  return job.finished && fill.next >= job.ready;
}

bool CFolderTreeManager::RowShown(CTreeCtrl* tree, HTREEITEM item) {
  RECT row, client;
  if (!tree->GetItemRect(item, &row, FALSE)) return false;  // its level is closed
  tree->GetClientRect(&client);
  return row.top < client.bottom;  // on screen, or above it (the shown rows move down)
}

void CFolderTreeManager::EndFill(Fill& fill) {
  if (!fill.any) {
    TVITEMA tv = {};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = fill.item;
    fill.tree->SetItem(&tv);
  }
  // The children went in sorted by the folder's own order: no second sort is needed.
}

void CFolderTreeManager::FreeFill(Fill& fill) {
  if (fill.job) {
    // The worker stops at its next child; the probes not yet used are forgotten.
    std::lock_guard<std::mutex> hold(fill.job->lock);
    fill.job->cancelled = true;
    for (size_t i = fill.next; i < fill.job->ready; ++i) {
      unsigned& ticket = fill.job->children[i].ticket;
      if (ticket) m_probe.Cancel(ticket);
      ticket = 0;
    }
  }
  fill.job.reset();
  if (fill.folder) fill.folder->Release();
  fill.folder = nullptr;
}

std::unique_lock<std::recursive_mutex> CFolderTreeManager::HoldFills() {
  std::unique_lock<std::recursive_mutex> hold(m_fillLock, std::try_to_lock);
  while (!hold.owns_lock()) {
    // Messages sent to this thread are answered; nothing else is dispatched.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    hold.try_lock();
  }
  return hold;
}

bool CFolderTreeManager::FinishFill(CTreeCtrl* tree, HTREEITEM item) {
  auto hold = HoldFills();
  auto it = m_fills.find(item);
  if (it == m_fills.end() || it->second.tree != tree) return false;
  Fill fill = it->second;
  m_fills.erase(it);
  RunFill(fill, INFINITE, true);
  EndFill(fill);
  FreeFill(fill);
  return true;
}

bool CFolderTreeManager::IsFilling(HTREEITEM item) {
  auto hold = HoldFills();
  return m_fills.count(item) != 0;
}

void CFolderTreeManager::DropFills() {
  auto hold = HoldFills();
  // Their workers stop at their next child, never waited for: each holds its job and the
  // library, and the library keeps this manager until the last of them has ended.
  for (auto& f : m_fills) FreeFill(f.second);
  m_fills.clear();
  if (m_fillTimer && m_fillThread == GetCurrentThreadId()) KillTimer(nullptr, m_fillTimer);
  m_fillTimer = 0;
}

void CALLBACK CFolderTreeManager::FillTimer(HWND, UINT, UINT_PTR id, DWORD) {
  CFolderTreeManager* m = Manager();
  if (!m || id != m->m_fillTimer) {
    KillTimer(nullptr, id);
    return;
  }
  m->OnFillTimer();
}

void CFolderTreeManager::OnFillTimer() {
  // The folder thread may be finishing a level through the tree's messages: try again on
  // the next tick rather than wait for it here.
  std::unique_lock<std::recursive_mutex> hold(m_fillLock, std::try_to_lock);
  if (!hold.owns_lock()) return;
  for (auto it = m_fills.begin(); it != m_fills.end();) {
    Fill& fill = it->second;
    if (RunFill(fill, kFillBatchMs, false)) {
      Fill ended = fill;
      it = m_fills.erase(it);
      EndFill(ended);
      FreeFill(ended);
    } else {
      ++it;
    }
  }
  if (m_fills.empty() && m_fillTimer) {
    KillTimer(nullptr, m_fillTimer);
    m_fillTimer = 0;
  }
}

}  // namespace disktree
