// The card editor: the tree edits of discedit.cpp addressed by drive, as the browser's disc
// items name their scenes. Only a removable drive holding a movie tree is served.
#include <VxBDCore.h>
#include <VxBDEdit.h>

#include <cwctype>
#include <map>
#include <mutex>
#include <set>

namespace {

std::string Root(int d) { return std::string(1, static_cast<char>('A' + d)) + ":\\"; }
bool Present(int d) { return d >= 0 && d < 26 && (GetLogicalDrives() & (1u << d)); }
bool HasTree(int d, int tree) {
  std::vector<VxBDScene> scenes;
  return VxBDListScenes(Root(d).c_str(), tree, 0, &scenes) != FALSE;
}
bool IsCard(int d) {
  return Present(d) && GetDriveTypeA(Root(d).c_str()) == DRIVE_REMOVABLE && (HasTree(d, 0) || HasTree(d, 1));
}

class CardEditor final : public IVxBDDiscEdit {
 public:
  long GetDriveState(int d, DWORD state[2]) override {
    if (!state) return E_POINTER;
    state[0] = state[1] = 0;
    if (!Present(d)) return VXBD_E_NODEVICE;
    const UINT type = GetDriveTypeA(Root(d).c_str());
    if (type == DRIVE_CDROM) {
      state[0] = VXBD_STATE_READONLY;
    } else if (IsCard(d)) {
      state[0] = VXBD_STATE_CARD;
      for (int tree = 0; tree < 2; ++tree)
        if (HasTree(d, tree) && !VxBDTreeWritable(Root(d).c_str(), tree)) state[1] |= VXBD_STATE_PROTECTED;
    }
    return 0;
  }
  long GetItemCount(DWORD group, DWORD item, long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    std::vector<VxBDSceneRef> scenes;
    long r = Scenes(group, item, &scenes);
    if (r == 0) *count = static_cast<long>(scenes.size());
    return r;
  }
  long DeleteItem(DWORD group, DWORD item, DWORD subItem) override {
    std::vector<VxBDSceneRef> scenes;
    long r = Scenes(group, item, &scenes);
    if (r == 0) {
      r = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
      for (const VxBDSceneRef& s : scenes)
        if (static_cast<DWORD>(s.clip) == subItem) r = Delete(group, {s.clip});
    }
    return Done(r);
  }
  long Wait(int, long* result) override {
    std::lock_guard<std::mutex> g(m_);
    if (result) *result = last_;
    return 0;
  }
  long GetGroupCount(DWORD group, long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    const int d = VxBDGroupDrive(group);
    if (!IsCard(d)) return VXBD_E_NODEVICE;
    long n = 0;
    for (int tree = 0; tree < 2; ++tree) {
      std::vector<VxBDSceneRef> scenes;
      if (!VxBDTreeScenes(Root(d).c_str(), tree, 0, &scenes)) continue;
      std::set<DWORD> days;
      for (const VxBDSceneRef& s : scenes) days.insert(s.day);
      n += static_cast<long>(days.size());
    }
    *count = n + VxBDPictureFolders(Root(d).c_str());
    return 0;
  }
  long DeleteGroup(DWORD group, DWORD item) override {
    std::vector<VxBDSceneRef> scenes;
    long r = Scenes(group, item, &scenes);
    if (r == 0) {
      std::vector<int> clips;
      for (const VxBDSceneRef& s : scenes) clips.push_back(s.clip);
      r = Delete(group, clips);
    }
    return Done(r);
  }
  long RequestMedium(long count, LPCWSTR drive, int, int* handle) override {
    if (!handle || !drive) return E_POINTER;
    *handle = -1;
    const int d = towupper(drive[0]) - L'A';
    if (drive[0] == 0 || drive[1] != L':' || !IsCard(d)) return VXBD_E_NODEVICE;
    std::lock_guard<std::mutex> g(m_);
    const int h = next_++;
    media_[h] = {d, count <= 1};
    *handle = h;
    return count <= 1 ? VXBD_S_LAST_GROUP : 0;
  }
  long UseMedium(int h) override {
    int d;
    {
      std::lock_guard<std::mutex> g(m_);
      auto it = media_.find(h);
      if (it == media_.end()) return E_HANDLE;
      d = it->second.drive;
    }
    return VxBDHasPictures(Root(d).c_str()) ? 0 : VXBD_E_MOVIES_ONLY;
  }
  long ReleaseMedium(int h) override {
    std::lock_guard<std::mutex> g(m_);
    return media_.erase(h) ? 0 : E_HANDLE;
  }
  long ClearMedium(int h) override {
    Medium m;
    {
      std::lock_guard<std::mutex> g(m_);
      auto it = media_.find(h);
      if (it == media_.end() || !it->second.kept) return E_HANDLE;
      m = it->second;
      media_.erase(it);
    }
    long r = 0;
    for (int tree = 0; tree < 2 && r == 0; ++tree) {
      std::vector<VxBDSceneRef> scenes;
      if (!VxBDTreeScenes(Root(m.drive).c_str(), tree, 0, &scenes)) continue;
      std::vector<int> clips;
      for (const VxBDSceneRef& s : scenes) clips.push_back(s.clip);
      r = VxBDDeleteClips(Root(m.drive).c_str(), tree, clips);
    }
    return Done(r);
  }

 private:
  struct Medium {
    int drive;
    bool kept;
  };
  long Scenes(DWORD group, DWORD item, std::vector<VxBDSceneRef>* scenes) {
    const int d = VxBDGroupDrive(group), tree = VxBDGroupTree(group);
    if (tree > 1) return E_INVALIDARG;
    if (!IsCard(d)) return VXBD_E_NODEVICE;
    if (!VxBDTreeScenes(Root(d).c_str(), tree, item, scenes)) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  long Delete(DWORD group, const std::vector<int>& clips) {
    const int d = VxBDGroupDrive(group);
    DWORD state[2];
    if (GetDriveState(d, state) == 0 && (state[1] & VXBD_STATE_PROTECTED))
      return HRESULT_FROM_WIN32(ERROR_WRITE_PROTECT);
    return VxBDDeleteClips(Root(d).c_str(), VxBDGroupTree(group), clips);
  }
  long Done(long r) {
    std::lock_guard<std::mutex> g(m_);
    last_ = r;
    return r;
  }

  std::mutex m_;
  std::map<int, Medium> media_;
  int next_ = 1;
  long last_ = 0;
};

}  // namespace

IVxBDDiscEdit* VxBDCardEditor() {
  static CardEditor editor;
  return &editor;
}
