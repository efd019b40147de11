#include "FolderClipboard.h"

#include <dropop/DropRules.h>
#include <fw/fw.h>
#include <fw/ole.h>
#include <shlobj.h>
#include <textkit/text.h>

#include <cstring>

#include "ShellItems.h"

namespace disktree {

namespace {

HGLOBAL GlobalCopy(const std::string& bytes) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, bytes.size());
  if (!h) return nullptr;
  void* p = GlobalLock(h);
  memcpy(p, bytes.data(), bytes.size());
  GlobalUnlock(h);
  return h;
}

CLIPFORMAT Registered(const char* name) { return static_cast<CLIPFORMAT>(RegisterClipboardFormatA(name)); }

}  // namespace

std::string IdListArrayBlock(const std::vector<std::string>& absoluteLists) {
  // Count, then offsets of the parent (the desktop's empty list) and of each folder's list.
  const UINT count = static_cast<UINT>(absoluteLists.size());
  std::string block((count + 2) * sizeof(UINT), '\0');
  auto setWord = [&](size_t index, UINT value) { memcpy(&block[index * sizeof(UINT)], &value, sizeof value); };
  setWord(0, count);
  setWord(1, static_cast<UINT>(block.size()));
  block.append(2, '\0');
  for (UINT i = 0; i < count; ++i) {
    setWord(2 + i, static_cast<UINT>(block.size()));
    block += absoluteLists[i];
  }
  return block;
}

bool PutFoldersOnClipboard(const std::vector<std::string>& paths, DWORD effect, volatile bool* busy) {
  if (paths.empty()) return false;
  std::vector<std::string> lists;
  IShellFolder* desktop = nullptr;
  if (SUCCEEDED(SHGetDesktopFolder(&desktop))) {
    for (const std::string& path : paths) {
      ItemIdList pidl;
      std::wstring w = textkit::AnsiToWide(path);
      if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, &w[0], nullptr, pidl.Out(), nullptr)) && pidl.Get())
        lists.emplace_back(reinterpret_cast<const char*>(pidl.Get()), ItemIdListSize(pidl.Get()));
    }
    desktop->Release();
  }
  COleDataSource* source = new COleDataSource;
  source->CacheGlobalData(CF_HDROP, GlobalCopy(dropop::MakeDropBlock(paths)));
  if (lists.size() == paths.size())
    source->CacheGlobalData(Registered(CFSTR_SHELLIDLIST), GlobalCopy(IdListArrayBlock(lists)));
  source->CacheGlobalData(Registered(CFSTR_PREFERREDDROPEFFECT),
                          GlobalCopy(std::string(reinterpret_cast<const char*>(&effect), sizeof effect)));
  if (busy) *busy = true;
  BOOL ok = source->SetClipboard();
  if (ok)
    COleDataSource::FlushClipboard();
  else
    source->InternalRelease();
  if (busy) *busy = false;
  return ok != FALSE;
}

DWORD ClipboardDropEffect() {
  COleDataObject data;
  if (!data.AttachClipboard()) return DROPEFFECT_COPY;
  HGLOBAL h = data.GetGlobalData(Registered(CFSTR_PREFERREDDROPEFFECT));
  if (!h) return DROPEFFECT_COPY;
  DWORD effect = dropop::PreferredEffect(GlobalLock(h), GlobalSize(h));
  GlobalUnlock(h);
  GlobalFree(h);
  return effect;
}

}  // namespace disktree
