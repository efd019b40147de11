#include <VxBDDisc.h>
#include <VxBDEdit.h>

#include <algorithm>

namespace {

// Big-endian reads that stop at the end: once a read runs past it, ok() stays false.
class Reader {
 public:
  Reader(const std::vector<uint8_t>& b, size_t at = 0) : b_(b), at_(at), ok_(at <= b.size()) {}
  bool ok() const { return ok_; }
  size_t at() const { return at_; }
  void seek(size_t at) {
    if (at > b_.size()) ok_ = false;
    at_ = at;
  }
  uint32_t u(int n) {
    uint32_t v = 0;
    if (!ok_ || at_ + n > b_.size()) {
      ok_ = false;
      return 0;
    }
    for (int i = 0; i < n; ++i) v = (v << 8) | b_[at_++];
    return v;
  }
  std::string text(int n) {
    if (!ok_ || at_ + n > b_.size()) {
      ok_ = false;
      return std::string();
    }
    std::string s(reinterpret_cast<const char*>(&b_[at_]), n);
    at_ += n;
    return s;
  }

 private:
  const std::vector<uint8_t>& b_;
  size_t at_;
  bool ok_;
};

class Writer {
 public:
  std::vector<uint8_t> b;
  void u(uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void text(const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }
  void put(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * (3 - i)));
  }
};

const uint32_t kMakerEntry = 0x10000100;  // extension entry (ID1 0x1000, ID2 0x0100): maker and model
const size_t kMaxFile = 1 << 20;

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* out) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart <= static_cast<LONGLONG>(kMaxFile);
  if (ok) {
    out->resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = out->empty() || (ReadFile(h, out->data(), static_cast<DWORD>(out->size()), &got, nullptr) && got == out->size());
  }
  CloseHandle(h);
  return ok;
}

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The first file of the folder named base with one of the extensions.
std::string FirstOf(const std::string& folder, const std::string& base, std::initializer_list<const char*> exts) {
  for (const char* e : exts)
    if (Exists(folder + base + e)) return base + e;
  return std::string();
}

// The picture size of a clip's video format; false for a format no camera writes.
bool Dimensions(int videoFormat, int* w, int* h) {
  static const struct {
    int format, w, h;
  } kSizes[] = {{1, 720, 480},   {3, 720, 480},   {2, 720, 576}, {7, 720, 576},
                {4, 1920, 1080}, {6, 1920, 1080}, {5, 1280, 720}};
  for (const auto& s : kSizes)
    if (s.format == videoFormat) {
      *w = s.w;
      *h = s.h;
      return true;
    }
  return false;
}

}  // namespace

BOOL VxBDParsePlaylist(const std::vector<uint8_t>& bytes, std::vector<std::string>* clips, WORD* makerId,
                       WORD* modelCode) {
  std::vector<VxBDPlayItem> items;
  clips->clear();
  if (!VxBDParsePlayItems(bytes, &items, makerId, modelCode)) return FALSE;
  for (const VxBDPlayItem& i : items) clips->push_back(i.clip);
  return TRUE;
}

BOOL VxBDParsePlayItems(const std::vector<uint8_t>& bytes, std::vector<VxBDPlayItem>* clips, WORD* makerId,
                        WORD* modelCode) {
  clips->clear();
  *makerId = *modelCode = 0;
  Reader r(bytes);
  if (r.text(4) != "MPLS") return FALSE;
  r.text(4);
  const uint32_t list = r.u(4), mark = r.u(4), ext = r.u(4);
  if (!r.ok()) return FALSE;
  if (mark) {
    Reader m(bytes, mark);
    const uint32_t markLength = m.u(4);
    if (!m.ok() || mark + 4 + static_cast<size_t>(markLength) > bytes.size()) return FALSE;
  }
  r.seek(list);
  const uint32_t length = r.u(4);
  const size_t end = r.at() + length;
  if (!r.ok() || end > bytes.size()) return FALSE;
  r.u(2);
  const uint32_t items = r.u(2);
  r.u(2);
  for (uint32_t i = 0; i < items && r.ok(); ++i) {
    const uint32_t itemLength = r.u(2);
    const size_t next = r.at() + itemLength;
    VxBDPlayItem item;
    item.clip = r.text(5);
    std::string codec = r.text(4);
    if (!r.ok() || itemLength < 9 || next > end) return FALSE;
    for (char c : item.clip)
      if (c < '0' || c > '9') return FALSE;
    // Flags and connection (2 bytes), the STC sequence (1), then the in and out times;
    // the short items of older writers carry none.
    if (itemLength >= 20) {
      r.u(3);
      item.inTime = r.u(4);
      item.outTime = r.u(4);
      if (!r.ok()) return FALSE;
    }
    clips->push_back(item);
    r.seek(next);
  }
  if (!r.ok()) return FALSE;
  if (ext) {
    Reader e(bytes, ext);
    const uint32_t extLength = e.u(4);
    e.u(4);
    e.u(3);
    const uint32_t entries = e.u(1);
    if (!e.ok() || ext + 4 + static_cast<size_t>(extLength) > bytes.size()) return FALSE;
    for (uint32_t i = 0; i < entries && e.ok(); ++i) {
      const uint32_t id = e.u(4), start = e.u(4), len = e.u(4);
      if (!e.ok()) return FALSE;
      if (id != kMakerEntry || len < 4) continue;
      Reader m(bytes, ext + static_cast<size_t>(start));
      WORD maker = static_cast<WORD>(m.u(2)), model = static_cast<WORD>(m.u(2));
      if (!m.ok()) return FALSE;
      *makerId = maker;
      *modelCode = model;
    }
  }
  return TRUE;
}

BOOL VxBDParseClipInfo(const std::vector<uint8_t>& bytes, int* width, int* height, int* tvSystem) {
  *width = *height = *tvSystem = 0;
  Reader r(bytes);
  if (r.text(4) != "HDMV") return FALSE;
  r.text(4);
  r.u(4);
  const uint32_t program = r.u(4);
  if (!r.ok()) return FALSE;
  r.seek(program);
  const uint32_t length = r.u(4);
  const size_t end = r.at() + length;
  if (!r.ok() || end > bytes.size()) return FALSE;
  r.u(1);
  const uint32_t sequences = r.u(1);
  for (uint32_t s = 0; s < sequences && r.ok(); ++s) {
    r.u(4);
    r.u(2);
    const uint32_t streams = r.u(1);
    r.u(1);
    for (uint32_t i = 0; i < streams && r.ok(); ++i) {
      r.u(2);
      const uint32_t codingLength = r.u(1);
      const size_t next = r.at() + codingLength;
      if (next > end) return FALSE;
      const uint32_t type = r.u(1);
      if (type == 0x1B || type == 0x02 || type == 0xEA) {
        const uint32_t format = r.u(1);
        if (!r.ok()) return FALSE;
        if (!Dimensions(static_cast<int>(format >> 4), width, height)) return FALSE;
        const int rate = static_cast<int>(format & 0xF);
        *tvSystem = rate == 3 || rate == 6 ? 1 : 0;
        return TRUE;
      }
      r.seek(next);
    }
  }
  return FALSE;
}

std::vector<uint8_t> VxBDMakePlaylist(const std::vector<std::string>& clips, WORD makerId, WORD modelCode) {
  std::vector<VxBDPlayItem> items;
  for (const std::string& c : clips) {
    VxBDPlayItem i;
    i.clip = c;
    items.push_back(i);
  }
  return VxBDMakePlayItems(items, makerId, modelCode);
}

std::vector<uint8_t> VxBDMakePlayItems(const std::vector<VxBDPlayItem>& clips, WORD makerId, WORD modelCode) {
  Writer w;
  w.text("MPLS0100");
  w.u(0, 4);
  w.u(0, 4);
  w.u(0, 4);
  w.u(14, 4);  // application information
  w.b.resize(w.b.size() + 14, 0);
  w.put(8, static_cast<uint32_t>(w.b.size()));
  const size_t listAt = w.b.size();
  w.u(0, 4);
  w.u(0, 2);
  w.u(static_cast<uint32_t>(clips.size()), 2);
  w.u(0, 2);
  for (const VxBDPlayItem& c : clips) {
    const size_t itemAt = w.b.size();
    w.u(0, 2);
    std::string name = (c.clip + "00000").substr(0, 5);
    w.text(name);
    w.text("M2TS");
    w.u(1, 2);  // connection condition 1
    w.u(0, 1);  // STC sequence
    w.u(c.inTime, 4);
    w.u(c.outTime, 4);
    w.u(0, 4);  // user operation mask
    w.u(0, 4);
    w.u(0, 4);  // random access flag, still mode and time
    w.u(14, 2);  // an empty stream table
    w.b.resize(w.b.size() + 14, 0);
    const size_t length = w.b.size() - itemAt - 2;
    w.b[itemAt] = static_cast<uint8_t>(length >> 8);
    w.b[itemAt + 1] = static_cast<uint8_t>(length);
  }
  w.put(listAt, static_cast<uint32_t>(w.b.size() - listAt - 4));
  w.put(12, static_cast<uint32_t>(w.b.size()));
  w.u(2, 4);  // no marks
  w.u(0, 2);
  const size_t ext = w.b.size();
  w.put(16, static_cast<uint32_t>(ext));
  w.u(0, 4);
  w.u(24, 4);  // data blocks start after one entry
  w.u(0, 3);
  w.u(1, 1);
  w.u(kMakerEntry, 4);
  w.u(24, 4);
  w.u(4, 4);
  w.u(makerId, 2);
  w.u(modelCode, 2);
  w.put(ext, static_cast<uint32_t>(w.b.size() - ext - 4));
  return w.b;
}

std::vector<uint8_t> VxBDMakeClipInfo(int videoFormat, int frameRate) {
  Writer w;
  w.text("HDMV0100");
  w.u(0, 4);
  w.u(0, 4);
  w.u(0, 4);
  w.u(0, 4);
  w.u(0, 4);
  w.put(12, static_cast<uint32_t>(w.b.size()));
  const size_t at = w.b.size();
  w.u(0, 4);
  w.u(0, 1);
  w.u(1, 1);  // one programme sequence
  w.u(0, 4);
  w.u(0x100, 2);
  w.u(1, 1);  // one stream
  w.u(0, 1);
  w.u(0x1011, 2);
  w.u(5, 1);
  w.u(0x1B, 1);
  w.u(static_cast<uint32_t>((videoFormat << 4) | frameRate), 1);
  w.u(0x30, 1);
  w.u(0, 2);
  w.put(at, static_cast<uint32_t>(w.b.size() - at - 4));
  return w.b;
}

std::string VxBDFindTree(const std::string& root, bool disc) {
  if (disc && IsFolder(root + "BDMV")) return root + "BDMV";
  for (const char* t : {"PRIVATE\\AVCHD\\BDMV", "AVCHD\\BDMV"})
    if (IsFolder(root + t)) return root + t;
  return std::string();
}

bool VxBDIsFinalised(const std::string& bdmv) {
  return Exists(bdmv + "\\INDEX.BDM") || Exists(bdmv + "\\index.bdmv");
}

namespace {

// One playlist of the tree (by its file name) with its parts' streams and clip information.
long ReadTitle(const std::string& bdmv, const std::string& n, VxBDTitle* pTitle) {
  const std::string stream = bdmv + "\\STREAM\\", clipinf = bdmv + "\\CLIPINF\\";
  std::vector<uint8_t> bytes;
  VxBDTitle t;
  std::vector<VxBDPlayItem> clips;
  if (!ReadFileBytes(bdmv + "\\PLAYLIST\\" + n, &bytes)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  if (!VxBDParsePlayItems(bytes, &clips, &t.makerId, &t.modelCode)) return VXBD_E_BAD_PLAYLIST;
  t.playlist = n;
  for (const VxBDPlayItem& item : clips) {
    const std::string& c = item.clip;
    VxBDPart p;
    p.clip = c;
    p.inTime = item.inTime;
    p.outTime = item.outTime;
    p.streamName = FirstOf(stream, c, {".MTS", ".m2ts", ".M2TS"});
    if (!p.streamName.empty()) {
      p.streamPath = stream + p.streamName;
      WIN32_FILE_ATTRIBUTE_DATA a;
      if (GetFileAttributesExA(p.streamPath.c_str(), GetFileExInfoStandard, &a)) {
        p.bytes = (static_cast<ULONGLONG>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
        FILETIME local;
        FileTimeToLocalFileTime(&a.ftLastWriteTime, &local);
        FileTimeToSystemTime(&local, &p.recorded);
      }
    }
    std::string info = FirstOf(clipinf, c, {".CPI", ".clpi"});
    std::vector<uint8_t> clipBytes;
    if (!info.empty() && ReadFileBytes(clipinf + info, &clipBytes))
      VxBDParseClipInfo(clipBytes, &p.width, &p.height, &p.tvSystem);
    t.bytes += p.bytes;
    if (t.recorded.wYear == 0 && p.recorded.wYear != 0) t.recorded = p.recorded;
    t.parts.push_back(p);
  }
  *pTitle = t;
  return 0;
}

}  // namespace

std::vector<VxBDTitle> VxBDReadTitles(const std::string& bdmv) {
  std::vector<VxBDTitle> titles;
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((bdmv + "\\PLAYLIST\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return titles;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string n = fd.cFileName;
    size_t dot = n.rfind('.');
    std::string ext = dot == std::string::npos ? "" : n.substr(dot);
    if (_stricmp(ext.c_str(), ".MPL") == 0 || _stricmp(ext.c_str(), ".mpls") == 0) names.push_back(n);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) < 0; });
  for (const std::string& n : names) {
    VxBDTitle t;
    if (ReadTitle(bdmv, n, &t) == 0) titles.push_back(t);
  }
  return titles;
}

long VxBDReadTitle(const std::string& bdmv, DWORD dwPlaylist, VxBDTitle* pTitle) {
  if (dwPlaylist > 99999) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  char base[8];
  snprintf(base, sizeof base, "%05lu", static_cast<unsigned long>(dwPlaylist));
  const std::string name = FirstOf(bdmv + "\\PLAYLIST\\", base, {".mpls", ".MPL", ".MPLS"});
  if (name.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  return ReadTitle(bdmv, name, pTitle);
}

long VxBDTitlePlayParts(const VxBDTitle& title, DWORD dwItem, std::vector<VxBDPlayPart>* pParts) {
  pParts->clear();
  if (dwItem >= title.parts.size() || title.parts[dwItem].streamPath.empty())
    return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  for (size_t i = dwItem; i < title.parts.size(); ++i) {
    const VxBDPart& p = title.parts[i];
    if (p.streamPath.empty()) continue;
    VxBDPlayPart part;
    part.stream = p.streamPath;
    part.fromSeconds = p.inTime / 45000.0;
    // Out before in: the stream's clock wrapped within the item.
    part.toSeconds = part.fromSeconds + static_cast<uint32_t>(p.outTime - p.inTime) / 45000.0;
    pParts->push_back(part);
  }
  return 0;
}


namespace {
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
  CloseHandle(h);
  return ok;
}
}  // namespace

BOOL VxBDWriteTree(const std::string& bdmv, const std::vector<VxBDSampleTitle>& titles, bool finalised, bool disc) {
  for (const char* sub : {"", "\\PLAYLIST", "\\CLIPINF", "\\STREAM"}) CreateDirectoryA((bdmv + sub).c_str(), nullptr);
  const char* mpl = disc ? ".mpls" : ".MPL";
  const char* cpi = disc ? ".clpi" : ".CPI";
  bool ok = true;
  for (size_t i = 0; i < titles.size(); ++i) {
    char name[16];
    snprintf(name, sizeof name, "%05u", static_cast<unsigned>(i));
    ok &= WriteBytes(bdmv + "\\PLAYLIST\\" + name + mpl,
                     VxBDMakePlaylist(titles[i].clips, titles[i].makerId, titles[i].modelCode));
    for (const std::string& c : titles[i].clips) ok &= WriteBytes(bdmv + "\\CLIPINF\\" + c + cpi, VxBDMakeClipInfo(4, 4));
  }
  if (finalised) {
    ok &= WriteBytes(bdmv + (disc ? "\\index.bdmv" : "\\INDEX.BDM"), {'I', 'N', 'D', 'X', '0', '1', '0', '0'});
    ok &= WriteBytes(bdmv + (disc ? "\\MovieObject.bdmv" : "\\MOVIEOBJ.BDM"), {'M', 'O', 'B', 'J', '0', '1', '0', '0'});
  }
  return ok ? TRUE : FALSE;
}
