#include "profile_core.h"

#include <cstdlib>
#include <mutex>
#include <vector>

#include <textkit/textkit.h>

namespace kitlib {

namespace {

const char kVendorKey[] = "Software\\Norvane";
const char kProgramKey[] = "Marlo5";
const char kCommonKey[] = "VxCommon";

std::string EnvironmentRoot() {
  char buf[520];
  DWORD n = GetEnvironmentVariableA("GLIMORA_PROFILE_ROOT", buf, sizeof(buf));
  if (n == 0 || n >= sizeof(buf)) return std::string();
  std::string root(buf, n);
  textkit::TrimLeadingSeparators(root);
  textkit::TrimTrailingSeparators(root);
  return root;
}

// kitenv.ini is read again only when its time stamp or size changed.
struct KitenvCache {
  std::mutex lock;
  std::string path;
  FILETIME written = {};
  DWORD size = 0;
  bool present = false;
  std::string position;
};

KitenvCache& Cache() {
  static KitenvCache c;
  return c;
}

std::string CachedKitenvPosition() {
  std::string path = KitenvPath();
  WIN32_FILE_ATTRIBUTE_DATA fad = {};
  bool present = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &fad) &&
                 !(fad.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  KitenvCache& c = Cache();
  std::lock_guard<std::mutex> g(c.lock);
  bool same = c.path == path && c.present == present &&
              (!present || (CompareFileTime(&c.written, &fad.ftLastWriteTime) == 0 && c.size == fad.nFileSizeLow));
  if (!same) {
    c.path = path;
    c.present = present;
    c.written = fad.ftLastWriteTime;
    c.size = fad.nFileSizeLow;
    c.position = present ? ReadKitenvPosition(path) : std::string();
  }
  return c.position;
}

class Key {
 public:
  Key(HKEY hive, const std::string& path, REGSAM access, bool create) {
    LONG r = create ? RegCreateKeyExA(hive, path.c_str(), 0, nullptr, 0, access, nullptr, &h_, nullptr)
                    : RegOpenKeyExA(hive, path.c_str(), 0, access, &h_);
    if (r != ERROR_SUCCESS) h_ = nullptr;
  }
  ~Key() {
    if (h_) RegCloseKey(h_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HKEY h_ = nullptr;
};

bool QueryValue(HKEY key, const char* name, DWORD* type, std::vector<BYTE>* data) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return false;
    data->assign(size + 2, 0);  // room for a missing terminator
    DWORD got = size;
    LONG r = RegQueryValueExA(key, name, nullptr, type, data->data(), &got);
    if (r == ERROR_MORE_DATA) continue;  // grew meanwhile
    if (r != ERROR_SUCCESS) return false;
    data->resize(got);
    return true;
  }
  return false;
}

std::string TextOf(DWORD type, const std::vector<BYTE>& data) {
  std::string s(reinterpret_cast<const char*>(data.data()), data.size());
  size_t nul = s.find('\0');  // a REG_MULTI_SZ gives its first string
  if (nul != std::string::npos) s.resize(nul);
  return s;
}

}  // namespace

std::string KitenvPath() { return ExeDirectory() + "\\kitenv.ini"; }

std::string ReadKitenvPosition(const std::string& iniPath) {
  char buf[521] = {};
  GetPrivateProfileStringA("RegistryKey", "Position", "", buf, sizeof(buf), iniPath.c_str());
  std::string pos = buf;
  textkit::TrimLeadingSeparators(pos);
  textkit::TrimTrailingSeparators(pos);
  return pos;
}

std::string ProgramRootPath() {
  std::string env = EnvironmentRoot();
  if (!env.empty()) return env + "\\" + kProgramKey;
  std::string pos = CachedKitenvPosition();
  if (!pos.empty()) return pos;
  return std::string(kVendorKey) + "\\" + kProgramKey;
}

std::string CommonRootPath() {
  std::string env = EnvironmentRoot();
  return (env.empty() ? std::string(kVendorKey) : env) + "\\" + kCommonKey;
}

std::string RootPath(int flag) { return flag == 0 ? ProgramRootPath() : CommonRootPath(); }

std::string JoinKeyPath(const std::string& root, const char* section) {
  std::string sec = section ? section : "";
  textkit::TrimLeadingSeparators(sec);
  textkit::TrimTrailingSeparators(sec);
  if (sec.empty()) return root;
  if (root.empty()) return sec;
  return root + "\\" + sec;
}

namespace {

// One value of a key: its type and bytes.
bool ReadValue(HKEY hive, const std::string& keyPath, const char* name, DWORD* type, std::vector<BYTE>* data) {
  Key k(hive, keyPath, KEY_QUERY_VALUE, false);
  return k && QueryValue(k.get(), name, type, data);
}

}  // namespace

bool RegReadInt(HKEY hive, const std::string& keyPath, const char* name, int* out) {
  DWORD type = 0;
  std::vector<BYTE> data;
  if (!ReadValue(hive, keyPath, name, &type, &data)) return false;
  switch (type) {
    case REG_DWORD:
    case REG_QWORD:
    case REG_BINARY:
      if (data.size() < sizeof(DWORD)) return false;
      *out = *reinterpret_cast<const int*>(data.data());
      return true;
    case REG_SZ:
    case REG_EXPAND_SZ: {
      std::string s = TextOf(type, data);
      char* end = nullptr;
      long v = strtol(s.c_str(), &end, 0);
      if (end == s.c_str()) return false;
      *out = static_cast<int>(v);
      return true;
    }
    default:
      return false;
  }
}

bool RegReadString(HKEY hive, const std::string& keyPath, const char* name, std::string* out) {
  DWORD type = 0;
  std::vector<BYTE> data;
  if (!ReadValue(hive, keyPath, name, &type, &data)) return false;
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
      *out = TextOf(type, data);
      return true;
    case REG_DWORD:
      if (data.size() < sizeof(DWORD)) return false;
      *out = std::to_string(*reinterpret_cast<const int*>(data.data()));
      return true;
    default:
      return false;
  }
}

bool RegWriteInt(HKEY hive, const std::string& keyPath, const char* name, int value, bool flush) {
  Key k(hive, keyPath, KEY_SET_VALUE, true);
  if (!k) return false;
  DWORD v = static_cast<DWORD>(value);
  if (RegSetValueExA(k.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v)) != ERROR_SUCCESS)
    return false;
  if (flush) RegFlushKey(k.get());
  return true;
}

bool RegWriteString(HKEY hive, const std::string& keyPath, const char* name, const std::string& text) {
  Key k(hive, keyPath, KEY_SET_VALUE, true);
  if (!k) return false;
  return RegSetValueExA(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool RegRemoveValue(HKEY hive, const std::string& keyPath, const char* name) {
  Key k(hive, keyPath, KEY_SET_VALUE, false);
  if (!k) return false;
  return RegDeleteValueA(k.get(), name) == ERROR_SUCCESS;
}

bool RegCopyKeyTree(HKEY srcHive, const std::string& srcPath, HKEY dstHive, const std::string& dstPath) {
  Key src(srcHive, srcPath, KEY_READ, false);
  if (!src) return false;
  Key dst(dstHive, dstPath, KEY_ALL_ACCESS, true);
  if (!dst) return false;
  bool ok = true;
  std::vector<char> name(16384);
  for (DWORD i = 0;; ++i) {
    DWORD nameLen = static_cast<DWORD>(name.size());
    DWORD type = 0, size = 0;
    LONG r = RegEnumValueA(src.get(), i, name.data(), &nameLen, nullptr, &type, nullptr, &size);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r != ERROR_SUCCESS) {
      ok = false;
      break;
    }
    std::vector<BYTE> data;
    if (!QueryValue(src.get(), name.data(), &type, &data) ||
        RegSetValueExA(dst.get(), name.data(), 0, type, data.data(), static_cast<DWORD>(data.size())) != ERROR_SUCCESS)
      ok = false;
  }
  for (DWORD i = 0;; ++i) {
    DWORD nameLen = static_cast<DWORD>(name.size());
    LONG r = RegEnumKeyExA(src.get(), i, name.data(), &nameLen, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_NO_MORE_ITEMS) break;
    if (r != ERROR_SUCCESS) {
      ok = false;
      break;
    }
    std::string sub(name.data(), nameLen);
    if (!RegCopyKeyTree(srcHive, srcPath + "\\" + sub, dstHive, dstPath + "\\" + sub)) ok = false;
  }
  return ok;
}

bool RegDeleteKeyTree(HKEY hive, const std::string& path) {
  {
    Key k(hive, path, KEY_READ | KEY_WRITE, false);
    if (!k) return true;
    std::vector<char> name(1024);
    for (;;) {
      DWORD nameLen = static_cast<DWORD>(name.size());
      if (RegEnumKeyExA(k.get(), 0, name.data(), &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        break;
      if (!RegDeleteKeyTree(hive, path + "\\" + std::string(name.data(), nameLen))) return false;
    }
  }
  LONG r = RegDeleteKeyA(hive, path.c_str());
  return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

std::string ExeDirectory() {
  std::vector<char> buf(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return std::string();
    if (n < buf.size()) {
      std::string dir = textkit::FolderOf(std::string(buf.data(), n));
      textkit::TrimTrailingSeparators(dir);
      return dir;
    }
    buf.resize(buf.size() * 2);
  }
}

}  // namespace kitlib
