#include "dropop/CardFileOperation.h"

#include <initguid.h>

#include <ClipFacts.h>
#include <KitlibEx/KitlibEx.h>
#include <RecordGate.h>
#include <VxContFile.h>
#include <VxGUIDB/Thumbnail.h>
#include <VxResourceIds.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include "dropop/WaitDlg.h"

using dropop::DropListFault;

namespace {

std::vector<std::string> SplitList(const char* list) {
  std::vector<std::string> out;
  if (!list) return out;
  for (const char* p = list; *p; p += strlen(p) + 1) out.emplace_back(p);
  return out;
}

// The database follows a move: each source's entries and check marks go to the path it
// was written to.
void MoveDatabaseEntries(const std::vector<std::string>& sources, const std::vector<std::string>& written) {
  for (size_t i = 0; i < sources.size() && i < written.size(); ++i)
    if (GetFileAttributesA(written[i].c_str()) != INVALID_FILE_ATTRIBUTES)
      CThumbnail::MoveFileFromDatabase(sources[i].c_str(), written[i].c_str());
}

// A drop names folders; dropping one into itself or below itself would never end.
bool TargetInsideSource(const std::string& target, const std::vector<std::string>& sources) {
  std::string t = textkit::WithTrailingSeparator(target);
  for (const std::string& s : sources) {
    std::string f = textkit::WithTrailingSeparator(s);
    if (t.size() >= f.size() && textkit::EqualNoCase(t.substr(0, f.size()), f)) return true;
  }
  return false;
}

}  // namespace

std::string CCardFileOperation::BuildDropList(const void* pBlock, size_t cbBlock, DropListFault* pFault) {
  std::vector<std::string> paths;
  DropListFault fault = dropop::ReadDropBlock(pBlock, cbBlock, &paths);
  if (pFault) *pFault = fault;
  if (fault != DropListFault::None) return std::string();
  return dropop::JoinDropList(paths);
}

int CCardFileOperation::Drop(LPCSTR lpszTargetFolder, HDROP hDrop, DWORD dwEffect) {
  if (!hDrop) return 0;
  size_t size = GlobalSize(hDrop);
  void* p = GlobalLock(hDrop);
  int r = Drop(lpszTargetFolder, p, p ? size : 0, dwEffect);
  if (p) GlobalUnlock(hDrop);
  return r;
}

int CCardFileOperation::Drop(LPCSTR lpszTargetFolder, const void* pBlock, size_t cbBlock, DWORD dwEffect) {
  std::vector<std::string> paths;
  m_fault = dropop::ReadDropBlock(pBlock, cbBlock, &paths);
  if (m_fault != DropListFault::None) return 0;
  return DropPaths(lpszTargetFolder, paths, dwEffect);
}

int CCardFileOperation::DropPaths(LPCSTR lpszTargetFolder, const std::vector<std::string>& paths, DWORD dwEffect,
                                  std::vector<std::string>* pWritten, HWND hOwner) {
  if (pWritten) pWritten->clear();
  if (!lpszTargetFolder || !*lpszTargetFolder || paths.empty()) return 0;
  const std::string target = dropop::DropTargetFolder(lpszTargetFolder);
  if (TargetInsideSource(target, paths)) return 0;

  CWaitDlg wait;
  if (dropop::NeedsWaitWindow(paths.size()) && wait.Create(CWnd::GetActiveWindow())) {
    wait.ShowWindow(SW_SHOW);
    CString text;
    text.LoadString(IDS_TREE_DROP_COLLECTING);
    wait.SetText(textkit::CutToBytes(std::string(text), 128).c_str());
  }
  const std::string from = dropop::JoinDropList(paths);
  std::string to = target;
  to.append(2, '\0');
  if (wait.m_hWnd) wait.DestroyWindow();

  SHFILEOPSTRUCTA op = {};
  op.hwnd = hOwner ? hOwner : ::GetActiveWindow();
  op.wFunc = dropop::FileOperationFor(dwEffect);
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  // One target folder: never the one-target-per-source flag, which would take a single
  // source's folder for the new name of the file.
  op.fFlags = FOF_WANTMAPPINGHANDLE | FOF_ALLOWUNDO;
  const int r = CMTLxFileOperation(&op);
  const bool ok = r == 0 && !op.fAnyOperationsAborted;
  if (auto* map = static_cast<CMTLX_NAMEMAPPING*>(op.hNameMappings)) {
    std::vector<std::string> sources = SplitList(map->pszSources), written = SplitList(map->pszWritten);
    // Also after a failure or a cancel: the mapping lists what did move.
    if (op.wFunc == FO_MOVE) MoveDatabaseEntries(sources, written);
    RepairContentFiles(written);
    if (pWritten) *pWritten = written;
    CMTLxFreeNameMapping(map);
  }
  return ok ? 1 : 0;
}

namespace {

// The content-information object of the program's ClipFacts, made once per repair.
class ContentObject {
 public:
  ~ContentObject() {
    if (m_reader) m_reader->Release();
    if (m_module) FreeLibrary(m_module);
  }
  // S_FALSE when the library is not installed (nothing to repair with).
  HRESULT Load() {
    if (m_reader) return S_OK;
    m_module = LoadClipFactsBesideProgram();
    if (!m_module) return S_FALSE;
    auto create = reinterpret_cast<PFNCLIPFACTSCREATE>(GetProcAddress(m_module, "DllCreateInstance"));
    if (!create) return E_FAIL;
    void* p = nullptr;
    if (FAILED(create(CLSID_ClipFacts, IID_IClipFacts, &p)) || !p) return E_FAIL;
    m_reader = static_cast<IClipFacts*>(p);
    return S_OK;
  }
  IClipFacts* Reader() const { return m_reader; }

 private:
  HMODULE m_module = nullptr;
  IClipFacts* m_reader = nullptr;
};

std::vector<CLIPFACTS_ENTRY> ReadEntries(IClipFacts* reader, bool records) {
  std::vector<CLIPFACTS_ENTRY> out;
  int n = 0;
  if (FAILED(records ? reader->GetRecordCount(&n) : reader->GetStreamCount(&n))) return out;
  for (int i = 0; i < n; ++i) {
    CLIPFACTS_ENTRY e = {};
    if (FAILED(records ? reader->GetRecord(i, &e) : reader->GetStream(i, &e))) return {};
    out.push_back(e);
  }
  return out;
}

// One content file: its entries renamed by the name the file received, then committed.
HRESULT RepairOne(IClipFacts* reader, const std::string& path) {
  std::wstring wide;
  if (!textkit::TryAnsiToWide(path, &wide)) return E_FAIL;
  // A file of that name that is no content file is somebody else's: left alone.
  if (FAILED(reader->Open(wide.c_str()))) return S_OK;
  std::vector<CLIPFACTS_ENTRY> streams = ReadEntries(reader, false), records = ReadEntries(reader, true);
  vxcont::ContentInfo info;
  for (const std::vector<CLIPFACTS_ENTRY>* list : {&streams, &records})
    for (const CLIPFACTS_ENTRY& e : *list) info.members.push_back(textkit::WideToAnsi(e.szName));
  if (dropop::RepairMembers(&info, path) != dropop::ContentRepair::Rename) return S_OK;
  IClipFactsEdit* edit = nullptr;
  if (FAILED(reader->QueryInterface(IID_IClipFactsEdit, reinterpret_cast<void**>(&edit))) || !edit) return E_FAIL;
  HRESULT hr = S_OK;
  size_t at = 0;
  for (std::vector<CLIPFACTS_ENTRY>* list : {&streams, &records}) {
    for (size_t i = 0; i < list->size() && SUCCEEDED(hr); ++i) {
      CLIPFACTS_ENTRY e = (*list)[i];
      std::wstring name = textkit::AnsiToWide(info.members[at++]);
      if (name.size() >= MAX_PATH) hr = E_FAIL;
      if (FAILED(hr)) break;
      lstrcpyW(e.szName, name.c_str());
      hr = list == &streams ? edit->SetStream((int)i, &e) : edit->SetRecord((int)i, &e);
    }
  }
  if (SUCCEEDED(hr)) hr = edit->Commit();
  edit->Release();
  return hr;
}

}  // namespace

HRESULT CCardFileOperation::RepairContentFiles(const std::vector<std::string>& written) {
  HRESULT result = S_OK;
  ContentObject object;
  for (const std::string& path : written) {
    if (!textkit::EqualNoCase(textkit::ExtensionOf(path), ".cont")) continue;
    HRESULT hr = object.Load();
    if (hr == S_FALSE) return S_OK;
    if (FAILED(hr)) return hr;
    hr = RepairOne(object.Reader(), path);
    if (FAILED(hr) && result == S_OK) result = hr;
  }
  return result;
}
