// Deleting scenes from a card's AVCHD tree. The order keeps the tree whole at every step:
// the new playlists are written beside the old ones and the streams are set aside first;
// only when all of that worked do the playlists change and the clips go. A failure on the
// way puts back what had changed.
#include <VxBDCore.h>
#include <VxBDDisc.h>
#include <VxBDEdit.h>

#include <algorithm>

namespace {

const char* const kTrees[] = {"PRIVATE\\AVCHD\\BDMV", "AVCHD\\BDMV"};
const size_t kMaxPlaylist = 1 << 20;

std::string TreeOf(LPCSTR pszBase, int nTree) {
  std::string t = pszBase ? pszBase : "";
  if (!t.empty() && t.back() != '\\') t += '\\';
  return t + kTrees[nTree];
}

uint32_t Get(const std::vector<uint8_t>& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | b[at + i];
  return v;
}
void Put(std::vector<uint8_t>& b, size_t at, uint32_t v, int n) {
  for (int i = n - 1; i >= 0; --i, v >>= 8) b[at + i] = static_cast<uint8_t>(v);
}

bool ReadBytes(const std::string& path, std::vector<uint8_t>* out) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart <= static_cast<LONGLONG>(kMaxPlaylist);
  DWORD got = 0;
  if (ok) {
    out->resize(static_cast<size_t>(size.QuadPart));
    ok = out->empty() ||
         (ReadFile(h, out->data(), static_cast<DWORD>(out->size()), &got, nullptr) && got == out->size());
  }
  CloseHandle(h);
  return ok;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
  ok = FlushFileBuffers(h) && ok;
  CloseHandle(h);
  if (!ok) DeleteFileA(path.c_str());
  return ok;
}

// The plain files of a folder matching a pattern.
std::vector<std::string> FilesOf(const std::string& folder, const char* pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\" + pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
  while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

bool IsPlaylistName(const std::string& n) {
  size_t dot = n.rfind('.');
  if (dot == std::string::npos) return false;
  const char* ext = n.c_str() + dot;
  return _stricmp(ext, ".MPL") == 0 || _stricmp(ext, ".mpls") == 0;
}

bool Names(const std::vector<int>& clips, int clip) {
  return std::find(clips.begin(), clips.end(), clip) != clips.end();
}

}  // namespace

BOOL VxBDTreeScenes(LPCSTR pszBase, int nTree, DWORD dwDay, std::vector<VxBDSceneRef>* pScenes) {
  if (!pScenes || nTree < 0 || nTree > 1) return FALSE;
  pScenes->clear();
  std::vector<VxBDScene> all;
  if (!VxBDListScenes(pszBase, nTree, 0, &all)) return FALSE;
  for (const VxBDScene& s : all) {
    const char* name = strrchr(s.path.c_str(), '\\');
    int clip = VxBDClipNumber(name ? name + 1 : s.path.c_str());
    DWORD day = VxBDDayKey(s.recorded);
    if (clip < 0 || (dwDay && day != dwDay)) continue;
    pScenes->push_back({s.path, clip, day});
  }
  return TRUE;
}

BOOL VxBDPlaylistWithout(const std::vector<uint8_t>& bytes, const std::vector<int>& clips, std::vector<uint8_t>* pOut,
                         int* pnLeft) {
  std::vector<std::string> named;
  WORD maker = 0, model = 0;
  // The reader checks every length and offset: below they are taken as sound.
  if (!VxBDParsePlaylist(bytes, &named, &maker, &model) || bytes.size() < 20) return FALSE;
  const size_t list = Get(bytes, 8, 4), mark = Get(bytes, 12, 4), ext = Get(bytes, 16, 4);
  const size_t listEnd = list + 4 + Get(bytes, list, 4);
  std::vector<uint8_t> out(bytes.begin(), bytes.begin() + list + 10);
  std::vector<int> newIndex;  // old play item -> new one, -1 when it goes
  size_t at = list + 10;
  int kept = 0;
  for (size_t i = 0; i < named.size(); ++i) {
    const size_t next = at + 2 + Get(bytes, at, 2);
    if (Names(clips, atoi(named[i].c_str()))) {
      newIndex.push_back(-1);
    } else {
      newIndex.push_back(kept++);
      out.insert(out.end(), bytes.begin() + at, bytes.begin() + next);
    }
    at = next;
  }
  out.insert(out.end(), bytes.begin() + at, bytes.begin() + listEnd);
  const size_t removed = listEnd - out.size();
  Put(out, list, static_cast<uint32_t>(out.size() - list - 4), 4);
  Put(out, list + 6, static_cast<uint32_t>(kept), 2);
  // What follows the list moves up; marks on a play item that went go with it.
  std::vector<uint8_t> rest(bytes.begin() + listEnd, bytes.end());
  size_t shrink = 0;
  if (mark >= listEnd && mark + 6 <= bytes.size()) {
    const size_t m = mark - listEnd;
    const uint32_t count = Get(rest, m + 4, 2);
    if (m + 6 + count * 14 <= rest.size()) {
      std::vector<uint8_t> section(6);
      uint32_t left = 0;
      for (uint32_t k = 0; k < count; ++k) {
        const size_t e = m + 6 + k * 14;
        const uint32_t item = Get(rest, e + 2, 2);
        if (item < newIndex.size() && newIndex[item] < 0) continue;
        std::vector<uint8_t> entry(rest.begin() + e, rest.begin() + e + 14);
        if (item < newIndex.size()) Put(entry, 2, static_cast<uint32_t>(newIndex[item]), 2);
        section.insert(section.end(), entry.begin(), entry.end());
        ++left;
      }
      shrink = (count - left) * 14;
      Put(section, 0, static_cast<uint32_t>(section.size() - 4), 4);
      Put(section, 4, left, 2);
      rest.erase(rest.begin() + m, rest.begin() + m + 6 + count * 14);
      rest.insert(rest.begin() + m, section.begin(), section.end());
    }
  }
  out.insert(out.end(), rest.begin(), rest.end());
  if (mark >= listEnd) Put(out, 12, static_cast<uint32_t>(mark - removed), 4);
  if (ext >= listEnd) Put(out, 16, static_cast<uint32_t>(ext - removed - (ext > mark ? shrink : 0)), 4);
  *pOut = out;
  if (pnLeft) *pnLeft = kept;
  return TRUE;
}

long VxBDDeleteClips(LPCSTR pszBase, int nTree, const std::vector<int>& clips) {
  if (!pszBase || nTree < 0 || nTree > 1) return E_INVALIDARG;
  const std::string tree = TreeOf(pszBase, nTree);
  const std::string playlists = tree + "\\PLAYLIST", streams = tree + "\\STREAM", infos = tree + "\\CLIPINF";
  if (clips.empty()) return 0;

  // 1. The playlists that name a clip, and what each becomes.
  struct Edit {
    std::string path;
    std::vector<uint8_t> before, after;
    bool remove;
    bool done;
  };
  std::vector<Edit> edits;
  for (const std::string& n : FilesOf(playlists, "*")) {
    if (!IsPlaylistName(n)) continue;
    Edit e{playlists + "\\" + n, {}, {}, false, false};
    std::vector<std::string> named;
    WORD maker, model;
    if (!ReadBytes(e.path, &e.before) || !VxBDParsePlaylist(e.before, &named, &maker, &model))
      return VXBD_E_BAD_PLAYLIST;
    if (std::none_of(named.begin(), named.end(), [&](const std::string& c) { return Names(clips, atoi(c.c_str())); }))
      continue;
    int left = 0;
    if (!VxBDPlaylistWithout(e.before, clips, &e.after, &left)) return VXBD_E_BAD_PLAYLIST;
    e.remove = left == 0;
    edits.push_back(e);
  }
  // 2. The new playlists beside the old ones.
  auto dropNew = [&] {
    for (const Edit& e : edits) DeleteFileA((e.path + ".new").c_str());
  };
  for (const Edit& e : edits)
    if (!e.remove && !WriteBytes(e.path + ".new", e.after)) {
      long hr = HRESULT_FROM_WIN32(GetLastError());
      dropNew();
      return hr < 0 ? hr : E_FAIL;
    }
  // 3. The streams set aside: a stream in use stops the deletion here.
  struct Aside {
    std::string from, to;
  };
  std::vector<Aside> aside;
  auto putBack = [&] {
    for (auto it = aside.rbegin(); it != aside.rend(); ++it) MoveFileA(it->to.c_str(), it->from.c_str());
  };
  for (const std::string& n : FilesOf(streams, "*")) {
    size_t dot = n.rfind('.');
    if (dot == std::string::npos || !Names(clips, VxBDClipNumber(n.c_str()))) continue;
    const char* ext = n.c_str() + dot;
    if (_stricmp(ext, ".MTS") && _stricmp(ext, ".m2ts")) continue;
    Aside a{streams + "\\" + n, streams + "\\" + n + ".del"};
    if (!MoveFileA(a.from.c_str(), a.to.c_str())) {
      long hr = HRESULT_FROM_WIN32(GetLastError());
      putBack();
      dropNew();
      return hr < 0 ? hr : E_FAIL;
    }
    aside.push_back(a);
  }
  // 4. The playlists change; a failure puts back the ones already changed.
  for (Edit& e : edits) {
    e.done = e.remove ? DeleteFileA(e.path.c_str()) != FALSE
                      : MoveFileExA((e.path + ".new").c_str(), e.path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    if (!e.done) {
      long hr = HRESULT_FROM_WIN32(GetLastError());
      for (const Edit& b : edits)
        if (b.done) WriteBytes(b.path, b.before);
      dropNew();
      putBack();
      return hr < 0 ? hr : E_FAIL;
    }
  }
  // 5. Nothing names the clips any more: their files go.
  for (const Aside& a : aside) DeleteFileA(a.to.c_str());
  for (const std::string& n : FilesOf(infos, "*"))
    if (Names(clips, VxBDClipNumber(n.c_str()))) DeleteFileA((infos + "\\" + n).c_str());
  for (const char* companion : {"cont", "tmb", "iis"})
    for (const std::string& n : FilesOf(streams, (std::string("*.") + companion).c_str()))
      if (Names(clips, VxBDClipNumber(n.c_str()))) DeleteFileA((streams + "\\" + n).c_str());
  return 0;
}

BOOL VxBDTreeWritable(LPCSTR pszBase, int nTree) {
  if (nTree < 0 || nTree > 1) return FALSE;
  const std::string playlists = TreeOf(pszBase, nTree) + "\\PLAYLIST";
  for (const std::string& n : FilesOf(playlists, "*")) {
    DWORD a = GetFileAttributesA((playlists + "\\" + n).c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY)) return FALSE;
  }
  const std::string probe = playlists + "\\~probe.tmp";
  HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  CloseHandle(h);
  DeleteFileA(probe.c_str());
  return TRUE;
}

namespace {
template <typename F>
void EachPictureFolder(LPCSTR pszBase, F f) {
  std::string dcim = pszBase ? pszBase : "";
  if (!dcim.empty() && dcim.back() != '\\') dcim += '\\';
  dcim += "DCIM";
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dcim + "\\*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && fd.cFileName[0] != '.') f(dcim + "\\" + fd.cFileName);
  while (FindNextFileA(h, &fd));
  FindClose(h);
}
}  // namespace

int VxBDPictureFolders(LPCSTR pszBase) {
  int n = 0;
  EachPictureFolder(pszBase, [&](const std::string&) { ++n; });
  return n;
}

BOOL VxBDHasPictures(LPCSTR pszBase) {
  BOOL any = FALSE;
  EachPictureFolder(pszBase, [&](const std::string& folder) { any |= !FilesOf(folder, "*").empty(); });
  return any;
}
