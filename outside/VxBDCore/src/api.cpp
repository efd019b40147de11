// GetVxBDCoreObject: the core object over the AVCHD tree reading.
#include <VxBDCore.h>

#include <VxBDDisc.h>
#include <VxBDEdit.h>
#include <imaging/movie.h>
#include <moviekit/moviekit.h>

#include <cwctype>
#include <iterator>
#include <map>
#include <mutex>
#include <new>

namespace {

// Devices are the drive letters (device = drive number). A CD-ROM drive holding a BDMV
// tree is a disc (read-only: nothing here writes to it), a removable drive holding one a
// card; every other drive is left alone. Sessions and title lists stay open until closed
// or until their drive goes; a second open answers the one already open.
class DiscIntegrator : public IVxBDIntegrator {
 public:
  long ValidateSession(int s) override {
    std::lock_guard<std::mutex> g(m_);
    return sessions_.count(s) ? 0 : E_HANDLE;
  }
  long TestSessionAgain(int s) override { return ValidateSession(s); }
  long GetDeviceCount(int, int* pnCount) override {
    if (!pnCount) return E_POINTER;
    *pnCount = 26;
    return 0;
  }
  long LockDevice(int d) override {
    if (!Present(d)) return VXBD_E_NODEVICE;
    std::lock_guard<std::mutex> g(m_);
    ++locks_[d];
    return 0;
  }
  long ReleaseDevice(int d) override {
    std::lock_guard<std::mutex> g(m_);
    auto it = locks_.find(d);
    if (it == locks_.end() || it->second <= 0) return E_FAIL;
    if (--it->second == 0) locks_.erase(it);
    return 0;
  }
  long OpenDisc(int d, LPCWSTR pszRoot, int, int* phSession) override {
    if (!phSession) return E_POINTER;
    *phSession = -1;
    const int kind = Kind(d);
    if (kind == VXBD_DEVICE_OTHER || !pszRoot || towupper(pszRoot[0]) != L'A' + d) return VXBD_E_NODEVICE;
    std::lock_guard<std::mutex> g(m_);
    for (auto& kv : sessions_)
      if (kv.second.device == d) {
        *phSession = kv.first;
        return VXBD_S_SESSION_OPEN;
      }
    const std::string bdmv = VxBDFindTree(Root(d), kind == VXBD_DEVICE_DISC);
    if (bdmv.empty()) return VXBD_E_NODEVICE;
    if (!VxBDIsFinalised(bdmv)) return VXBD_E_UNFINALISED;
    const int h = next_++;
    // A card's tree by its number (the editor's); a disc's own tree has none.
    const int tree = kind == VXBD_DEVICE_DISC ? -1 : bdmv == Root(d) + "PRIVATE\\AVCHD\\BDMV" ? 0 : 1;
    sessions_[h] = {d, bdmv, tree};
    *phSession = h;
    return 0;
  }
  long CloseSession(int s) override {
    std::lock_guard<std::mutex> g(m_);
    if (!sessions_.erase(s)) return E_HANDLE;
    for (auto it = lists_.begin(); it != lists_.end();) it = it->second.session == s ? lists_.erase(it) : std::next(it);
    return 0;
  }
  long GetDeviceInfo(int d, void* pRecord) override {
    if (!pRecord) return E_POINTER;
    if (!Present(d)) return VXBD_E_NODEVICE;
    auto* info = static_cast<VXBDDEVICEINFO*>(pRecord);
    ZeroMemory(info, sizeof *info);
    info->nDrive = d;
    info->nKind = Kind(d);
    return 0;
  }
  long GetMediumType(int d, void* pRecord) override {
    if (!pRecord) return E_POINTER;
    if (Kind(d) == VXBD_DEVICE_OTHER) return VXBD_E_NODEVICE;
    ZeroMemory(pRecord, sizeof(VXBDMEDIUMTYPE));
    return 0;
  }
  long IsDeviceBusy(int) override { return 0; }
  long GetMediumFlags(int d, void* pRecord) override {
    if (!pRecord) return E_POINTER;
    const int kind = Kind(d);
    if (kind == VXBD_DEVICE_OTHER) return VXBD_E_NODEVICE;
    auto* flags = static_cast<VXBDMEDIUMFLAGS*>(pRecord);
    ZeroMemory(flags, sizeof *flags);
    // A disc is a finished, read-only medium; a card is writable.
    if (kind == VXBD_DEVICE_CARD) flags->dwFlags = VXBD_MEDIUM_WRITABLE | VXBD_MEDIUM_CHECKED;
    return 0;
  }
  long GetSessionDescriptor(int s, void* pRecord) override {
    if (!pRecord) return E_POINTER;
    std::lock_guard<std::mutex> g(m_);
    auto it = sessions_.find(s);
    if (it == sessions_.end()) return E_HANDLE;
    auto* desc = static_cast<VXBDSESSIONDESC*>(pRecord);
    ZeroMemory(desc, sizeof *desc);
    std::vector<VxBDTitle> titles = VxBDReadTitles(it->second.bdmv);
    for (const VxBDTitle& t : titles)
      if (!t.parts.empty()) {
        desc->nTvSystem = t.parts[0].tvSystem;
        break;
      }
    return 0;
  }
  long OpenTitleList(int s, DWORD, int* phList) override {
    if (!phList) return E_POINTER;
    *phList = -1;
    std::lock_guard<std::mutex> g(m_);
    auto it = sessions_.find(s);
    if (it == sessions_.end()) return E_HANDLE;
    for (auto& kv : lists_)
      if (kv.second.session == s) {
        *phList = kv.first;
        return VXBD_S_LIST_OPEN;
      }
    const int h = next_++;
    lists_[h] = {s, VxBDReadTitles(it->second.bdmv)};
    *phList = h;
    return 0;
  }
  long CloseTitleList(int l) override {
    std::lock_guard<std::mutex> g(m_);
    return lists_.erase(l) ? 0 : E_HANDLE;
  }
  long GetTitleListInfo(int l, void* pRecord) override {
    if (!pRecord) return E_POINTER;
    std::lock_guard<std::mutex> g(m_);
    auto it = lists_.find(l);
    if (it == lists_.end()) return E_HANDLE;
    auto* info = static_cast<VXBDLISTINFO*>(pRecord);
    ZeroMemory(info, sizeof *info);
    info->nTitles = static_cast<DWORD>(it->second.titles.size());
    return 0;
  }
  long CreateImportJob(void** ppJob) override {
    if (!ppJob) return E_POINTER;
    *ppJob = VxBDNewImportJob(this, [this](int l, int t, VxBDTitle* out) {
      std::lock_guard<std::mutex> g(m_);
      const VxBDTitle* title = Title(l, t);
      if (!title) return false;
      *out = *title;
      return true;
    });
    return *ppJob ? 0 : E_OUTOFMEMORY;
  }
  long GetTitleInfo(int l, int t, void* pRecord) override {
    if (!pRecord) return E_POINTER;
    std::lock_guard<std::mutex> g(m_);
    const VxBDTitle* title = Title(l, t);
    if (!title) return E_INVALIDARG;
    auto* info = static_cast<VXBDTITLEINFO*>(pRecord);
    ZeroMemory(info, sizeof *info);
    info->nKind = 1;
    info->nParts = static_cast<LONG>(title->parts.size());
    info->ullBytes = title->bytes;
    info->stRecorded = title->recorded;
    info->wMakerHigh = title->makerId;
    info->wMakerLow = title->modelCode;
    info->wModel = title->modelCode;
    if (!title->parts.empty()) {
      info->wPictureWidth = static_cast<WORD>(title->parts[0].width);
      info->wPictureHeight = static_cast<WORD>(title->parts[0].height);
      info->wTvSystem = static_cast<WORD>(title->parts[0].tvSystem);
    }
    return 0;
  }
  // Only a card's titles go (a disc is read-only): its clips leave the tree, which keeps
  // every other title whole; the list is read again, so higher indices move down.
  long DeleteTitle(int l, int t) override {
    std::lock_guard<std::mutex> g(m_);
    const VxBDTitle* title = Title(l, t);
    if (!title) return E_INVALIDARG;
    const Session& session = sessions_[lists_[l].session];
    if (Kind(session.device) != VXBD_DEVICE_CARD) return E_ACCESSDENIED;
    const std::string root = Root(session.device);
    const int tree = session.bdmv.size() > root.size() && _strnicmp(session.bdmv.c_str() + root.size(), "PRIVATE\\", 8) == 0 ? 0 : 1;
    std::vector<int> clips;
    for (const VxBDPart& part : title->parts) clips.push_back(atoi(part.clip.c_str()));
    const long r = VxBDDeleteClips(root.c_str(), tree, clips);
    lists_[l].titles = VxBDReadTitles(session.bdmv);
    return r;
  }
  long GetPartRecord(int l, int t, int p, void* pRecord) override {
    if (!pRecord) return E_POINTER;
    std::lock_guard<std::mutex> g(m_);
    if (IsItem(l, t, p)) {
      auto* rec = static_cast<VXBDPARTRECORD*>(pRecord);
      ZeroMemory(rec, sizeof *rec);
      rec->llDuration = LONGLONG(item_->Facts().durationSeconds * 10000000.0);
      return 0;
    }
    const VxBDPart* part = Part(l, t, p);
    if (!part) return E_INVALIDARG;
    auto* rec = static_cast<VXBDPARTRECORD*>(pRecord);
    ZeroMemory(rec, sizeof *rec);
    rec->stRecorded = part->recorded;
    return 0;
  }
  long GetPartThumbnail(int l, int t, int p, void* pDib) override {
    if (!pDib) return E_POINTER;
    std::string stream;
    {
      std::lock_guard<std::mutex> g(m_);
      const VxBDPart* part = Part(l, t, p);
      if (!part) return E_INVALIDARG;
      stream = part->streamPath;
    }
    auto* bih = static_cast<BITMAPINFOHEADER*>(pDib);
    if (bih->biSize != sizeof(BITMAPINFOHEADER) || bih->biBitCount != 24 || bih->biWidth <= 0 || bih->biWidth > 4096 ||
        bih->biHeight == 0 || bih->biHeight > 4096 || bih->biHeight < -4096)
      return E_INVALIDARG;
    const int w = bih->biWidth, h = bih->biHeight < 0 ? -bih->biHeight : bih->biHeight;
    const bool topDown = bih->biHeight < 0;
    const int stride = (w * 3 + 3) & ~3;
    BYTE* bits = reinterpret_cast<BYTE*>(bih + 1);
    auto row = [&](int fromTop) { return bits + (topDown ? fromTop : h - 1 - fromTop) * stride; };
    // The movie kind's face: a dark blue field with a lighter band, at the header's size.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        BYTE* px = row(y) + x * 3;
        const bool band = y > h / 3 && y < 2 * h / 3;
        px[0] = band ? 200 : 120;
        px[1] = band ? 150 : 60;
        px[2] = band ? 90 : 30;
      }
    // A frame of the stream when the imaging engine decodes it, fitted and centred.
    imaging::Dib frame;
    if (!stream.empty() && SUCCEEDED(imaging::GrabMovieFrame(stream.c_str(), w, h, &frame)) && !frame.Empty() &&
        frame.BitCount() == 24 && frame.Width() <= w && frame.Height() <= h) {
      const int left = (w - frame.Width()) / 2, top = (h - frame.Height()) / 2;
      for (int y = 0; y < frame.Height(); ++y) memcpy(row(top + y) + left * 3, frame.Row(y), frame.Width() * 3);
    }
    return 0;
  }
  // A card's scene plays alone; a part of a disc's title plays the title from there to its
  // end, through its play items.
  long OpenItem(DWORD w2, DWORD w3, DWORD w4, HWND hOwner) override {
    if (!IsWindow(hOwner)) return E_HANDLE;
    std::string stream;
    std::vector<VxBDPlayPart> parts;
    if (VxBDGroupTree(w2) == VXBD_TREE_DISC) {
      const int d = VxBDGroupDrive(w2);
      if (Kind(d) != VXBD_DEVICE_DISC) return VXBD_E_NODEVICE;
      VxBDTitle title;
      long r = VxBDReadTitle(VxBDFindTree(Root(d), true), w3, &title);
      if (r >= 0) r = VxBDTitlePlayParts(title, w4, &parts);
      if (r < 0) return r;
    } else {
      stream = VxBDCardSceneStream(w2, w4);
      if (stream.empty()) return E_INVALIDARG;
    }
    std::lock_guard<std::mutex> g(m_);
    CloseItem();
    moviekit::Player* p = nullptr;
    HRESULT hr = moviekit::CreatePlayer(&p);
    if (FAILED(hr)) return hr;
    RECT rc;
    GetClientRect(hOwner, &rc);
    if (parts.empty()) {
      hr = p->Open(stream.c_str(), hOwner, rc);
    } else {
      std::vector<moviekit::MoviePart> movie(parts.size());
      for (size_t i = 0; i < parts.size(); ++i) {
        movie[i].path = parts[i].stream.c_str();
        movie[i].fromSeconds = parts[i].fromSeconds;
        movie[i].toSeconds = parts[i].toSeconds;
        movie[i].fileClock = true;
      }
      hr = p->OpenParts(movie.data(), static_cast<int>(movie.size()), hOwner, rc);
    }
    if (FAILED(hr)) {
      p->Release();
      return hr;
    }
    item_ = p;
    itemRef_[0] = w2, itemRef_[1] = w3, itemRef_[2] = w4;
    itemOwner_ = hOwner;
    return 0;
  }
  long SetItemRect(RECT rc) override {
    std::lock_guard<std::mutex> g(m_);
    if (!item_) return E_UNEXPECTED;
    if (rc.left == -1 && rc.top == -1 && rc.right == 1 && rc.bottom == 1) GetClientRect(itemOwner_, &rc);
    item_->SetRect(rc);
    return 0;
  }
  long PlayItem() override { return OnItem([](moviekit::Player* p) { return p->Play(); }); }
  long StopItem() override { return OnItem([](moviekit::Player* p) { return p->Stop(); }); }
  long PauseItem() override { return OnItem([](moviekit::Player* p) { return p->Pause(); }); }
  long SeekItem(LONGLONG llPosition, long* pnOut) override {
    if (pnOut) *pnOut = 0;
    return OnItem([&](moviekit::Player* p) { return p->Seek(llPosition > 0 ? llPosition / 10000000.0 : 0.0); });
  }
  long GetItemPosition(LONGLONG* pllPosition, long* pnOut) override {
    if (!pllPosition) return E_POINTER;
    if (pnOut) *pnOut = 0;
    return OnItem([&](moviekit::Player* p) {
      *pllPosition = LONGLONG(p->Status().positionSeconds * 10000000.0);
      return S_OK;
    });
  }
  long RefreshDevices() override {
    std::lock_guard<std::mutex> g(m_);
    CloseItem();
    // A drive whose tree went (the disc or card taken out) loses its sessions and lists.
    DropSessions([](const Session& s) {
      return !Present(s.device) || GetFileAttributesA(s.bdmv.c_str()) == INVALID_FILE_ATTRIBUTES;
    });
    for (auto& kv : lists_) kv.second.titles = VxBDReadTitles(sessions_[kv.second.session].bdmv);
    return 0;
  }
  long BeginRefresh(int* pnValue) override {
    std::lock_guard<std::mutex> g(m_);
    if (pnValue) *pnValue = item_ ? ItemRawState() : 0;
    return 0;
  }
  long EndRefresh() override { return 0; }
  long Wait(int, long* pnStatus) override {
    if (pnStatus) *pnStatus = 0;
    std::lock_guard<std::mutex> g(m_);
    if (!item_) return 0;
    const moviekit::PlayerState state = item_->Status().state;
    return state == moviekit::PlayerState::Playing || state == moviekit::PlayerState::Paused ? 1 : 0;
  }
  long GetPartName(int l, int t, int p, int nFlags, LPWSTR pszName, int* pnLength) override {
    if (!pszName) return E_POINTER;
    *pszName = 0;
    std::lock_guard<std::mutex> g(m_);
    const VxBDPart* part = Part(l, t, p);
    if (!part) return E_INVALIDARG;
    if ((nFlags & VXBD_PART_NAME_PATH) && part->streamPath.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    std::string name = (nFlags & VXBD_PART_NAME_PATH) ? part->streamPath
                       : part->streamName.empty()     ? part->clip + ".MTS"
                                                      : part->streamName;
    int n = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, pszName, MAX_PATH);
    if (pnLength) *pnLength = n > 0 ? n - 1 : 0;
    return 0;
  }
  long GetPartInfo(int l, int t, int p, void* pRecord) override {
    if (!pRecord) return E_POINTER;
    std::lock_guard<std::mutex> g(m_);
    if (IsItem(l, t, p)) {
      auto* info = static_cast<VXBDPARTINFO*>(pRecord);
      ZeroMemory(info, sizeof *info);
      info->nWidth = item_->Facts().width;
      info->nHeight = item_->Facts().height;
      return 0;
    }
    const VxBDPart* part = Part(l, t, p);
    if (!part) return E_INVALIDARG;
    auto* info = static_cast<VXBDPARTINFO*>(pRecord);
    ZeroMemory(info, sizeof *info);
    info->nWidth = part->width;
    info->nHeight = part->height;
    info->ullBytes = part->bytes;
    return 0;
  }

  // The scenes of a title of an open list on the drive of base ("E:\"): its parts whose
  // stream is there; *pnTree the card tree they lie in (-1 on a disc).
  long Scenes(LPCSTR pszBase, int l, int t, std::vector<VxBDScene>* pScenes, int* pnTree) {
    pScenes->clear();
    std::vector<VxBDPart> parts;
    int playlist = -1;
    {
      std::lock_guard<std::mutex> g(m_);
      auto list = lists_.find(l);
      const VxBDTitle* title = Title(l, t);
      if (list == lists_.end() || !title) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
      const Session& session = sessions_[list->second.session];
      if (!pszBase || _stricmp(pszBase, Root(session.device).c_str()) != 0)
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
      parts = title->parts;
      playlist = VxBDClipNumber(title->playlist.c_str());
      *pnTree = session.tree;
    }
    for (size_t i = 0; i < parts.size(); ++i) {
      const VxBDPart& p = parts[i];
      if (p.streamPath.empty() || p.streamPath.size() >= MAX_PATH ||
          GetFileAttributesA(p.streamPath.c_str()) == INVALID_FILE_ATTRIBUTES)
        continue;
      VxBDScene scene{p.streamPath, p.recorded, p.bytes};
      scene.playlist = playlist;
      scene.part = static_cast<int>(i);
      pScenes->push_back(scene);
    }
    return 0;
  }

  // The stream of a scene by its list alone (the list knows its drive).
  bool SceneStream(int l, int t, long image, std::string* pPath) {
    std::string base;
    {
      std::lock_guard<std::mutex> g(m_);
      auto list = lists_.find(l);
      if (list == lists_.end()) return false;
      base = Root(sessions_[list->second.session].device);
    }
    std::vector<VxBDScene> scenes;
    int tree = -1;
    if (Scenes(base.c_str(), l, t, &scenes, &tree) < 0 || image < 0 || image >= static_cast<long>(scenes.size()))
      return false;
    *pPath = scenes[image].path;
    return true;
  }

  // Leaving the card tree: everything open is let go.
  void Forget() {
    std::lock_guard<std::mutex> g(m_);
    sessions_.clear();
    lists_.clear();
  }

  // A drive chosen from the disc-drive list: its sessions and title lists are let go, so
  // that a disc changed since is read anew.
  long ForgetDrive(int d) {
    if (!Present(d) || ::GetDriveTypeA(Root(d).c_str()) != DRIVE_CDROM) return VXBD_E_NODEVICE;
    std::lock_guard<std::mutex> g(m_);
    DropSessions([d](const Session& s) { return s.device == d; });
    return 0;
  }

 private:
  struct Session {
    int device;
    std::string bdmv;
    int tree;
  };
  struct List {
    int session;
    std::vector<VxBDTitle> titles;
  };
  // The sessions that match, and their lists, let go (under m_).
  template <class Match>
  void DropSessions(Match match) {
    for (auto it = sessions_.begin(); it != sessions_.end();) {
      if (!match(it->second)) {
        ++it;
        continue;
      }
      const int s = it->first;
      for (auto l = lists_.begin(); l != lists_.end();) l = l->second.session == s ? lists_.erase(l) : std::next(l);
      it = sessions_.erase(it);
    }
  }
  // The open item (under m_).
  bool IsItem(int l, int t, int p) const {
    return item_ && itemRef_[0] == DWORD(l) && itemRef_[1] == DWORD(t) && itemRef_[2] == DWORD(p);
  }
  void CloseItem() {
    if (!item_) return;
    item_->Close();
    item_->Release();
    item_ = nullptr;
    itemOwner_ = nullptr;
  }
  int ItemRawState() const {
    switch (item_->Status().state) {
      case moviekit::PlayerState::Stopped: return 1;
      case moviekit::PlayerState::Paused: return 2;
      // An item that ended counts as playing until the end check (Wait) says so.
      case moviekit::PlayerState::Playing:
      case moviekit::PlayerState::Ended: return 3;
      default: return 0;
    }
  }
  template <class F>
  long OnItem(F f) {
    std::lock_guard<std::mutex> g(m_);
    return item_ ? long(f(item_)) : long(E_UNEXPECTED);
  }

  static bool Present(int d) { return d >= 0 && d < 26 && (GetLogicalDrives() & (1u << d)); }
  static std::string Root(int d) { return std::string(1, static_cast<char>('A' + d)) + ":\\"; }
  static int Kind(int d) {
    if (!Present(d)) return VXBD_DEVICE_OTHER;
    const UINT type = GetDriveTypeA(Root(d).c_str());
    if (type == DRIVE_CDROM && !VxBDFindTree(Root(d), true).empty()) return VXBD_DEVICE_DISC;
    if (type == DRIVE_REMOVABLE && !VxBDFindTree(Root(d), false).empty()) return VXBD_DEVICE_CARD;
    return VXBD_DEVICE_OTHER;
  }
  const VxBDTitle* Title(int l, int t) {
    auto it = lists_.find(l);
    if (it == lists_.end() || t < 0 || t >= static_cast<int>(it->second.titles.size())) return nullptr;
    return &it->second.titles[t];
  }
  const VxBDPart* Part(int l, int t, int p) {
    const VxBDTitle* title = Title(l, t);
    if (!title || p < 0 || p >= static_cast<int>(title->parts.size())) return nullptr;
    return &title->parts[p];
  }

  std::mutex m_;
  std::map<int, int> locks_;
  std::map<int, Session> sessions_;
  std::map<int, List> lists_;
  int next_ = 1;
  moviekit::Player* item_ = nullptr;
  DWORD itemRef_[3] = {};
  HWND itemOwner_ = nullptr;
};

// One for the process: callers keep the integrator after releasing the object they got it from.
DiscIntegrator g_integrator;

class CoreObject final : public IVxBDCoreObject, public IVxBDImageList {
 public:
  void Release() override { delete this; }
  IVxBDIntegrator* GetIntegrator() override { return &g_integrator; }
  long GetDriveList(VXBDDRIVEENTRY* pEntries, int cMax, int* pnCount) override {
    if (!pnCount || (cMax > 0 && !pEntries)) return E_POINTER;
    *pnCount = 0;
    // The optical drives, empty or not: a disc may go in after the list is shown.
    DWORD dwDrives = ::GetLogicalDrives();
    for (int i = 0; i < 26 && *pnCount < cMax; ++i) {
      if (!(dwDrives & (1u << i))) continue;
      char szRoot[] = {(char)('A' + i), ':', '\\', 0};
      if (::GetDriveTypeA(szRoot) != DRIVE_CDROM) continue;
      pEntries[*pnCount].nDrive = i;
      pEntries[*pnCount].nKind = DRIVE_CDROM;
      ++*pnCount;
    }
    return 0;
  }
  long ClearDriveSelection() override {
    g_integrator.Forget();
    return 0;
  }
  IVxBDImageList* GetImageList() override { return this; }
  long SelectDrive(int nDrive) override { return nDrive < 0 || nDrive > 25 ? E_INVALIDARG : g_integrator.ForgetDrive(nDrive); }
  IVxBDDiscEdit* GetDiscEdit() override { return VxBDCardEditor(); }

  long GetImageCount(LPCSTR pszBase, int nFirst, int nSecond) override {
    std::vector<VxBDScene> scenes;
    int tree = -1;
    long r = g_integrator.Scenes(pszBase, nFirst, nSecond, &scenes, &tree);
    return r < 0 ? r : (long)scenes.size();
  }
  long GetImageInfo(LPCSTR pszBase, int nFirst, int nSecond, long nImage, VXBDIMAGEINFO* pInfo) override {
    VxBDScene s;
    int tree = -1;
    long r = Scene(pszBase, nFirst, nSecond, nImage, &s, &tree);
    if (r != 0) return r;
    if (!pInfo) return E_POINTER;
    pInfo->dwSize = sizeof(*pInfo);
    pInfo->stRecorded = s.recorded;
    pInfo->ullBytes = s.bytes;
    pInfo->nTree = tree;
    pInfo->nPlaylist = s.playlist;
    pInfo->nPart = s.part;
    return 0;
  }
  long GetImagePath(LPCSTR pszBase, int nFirst, int nSecond, long nImage, LPWSTR pszPath, int cch) override {
    VxBDScene s;
    int tree = -1;
    long r = Scene(pszBase, nFirst, nSecond, nImage, &s, &tree);
    if (r != 0) return r;
    if (!pszPath || cch <= 0) return E_POINTER;
    int n = ::MultiByteToWideChar(CP_ACP, 0, s.path.c_str(), -1, pszPath, cch);
    return n ? 0 : HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
  }

 private:
  static long Scene(LPCSTR pszBase, int nList, int nTitle, long nImage, VxBDScene* pOut, int* pnTree) {
    std::vector<VxBDScene> scenes;
    long r = g_integrator.Scenes(pszBase, nList, nTitle, &scenes, pnTree);
    if (r < 0) return r;
    if (nImage < 0 || nImage >= (long)scenes.size()) return E_INVALIDARG;
    *pOut = scenes[nImage];
    return 0;
  }
};

}  // namespace

IVxBDCoreObject* GetVxBDCoreObject() { return new (std::nothrow) CoreObject(); }

BOOL CALLBACK VxBDResolveScene(int nList, int nTitle, int nImage, LPSTR pszPath, UINT cchPath, void*) {
  std::string path;
  if (!pszPath || cchPath == 0 || !g_integrator.SceneStream(nList, nTitle, nImage, &path) || path.size() >= cchPath)
    return FALSE;
  memcpy(pszPath, path.c_str(), path.size() + 1);
  return TRUE;
}
