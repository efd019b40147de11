#include "card.h"

#include <windows.h>
#include <winioctl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace testsupport {
namespace {

// The request of the mount manager's "define unix drive" control (Wine's ABI).
struct UnixDriveRequest {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDev;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};

// What the mount manager is told of a medium without a volume of its own.
const DWORD kDefaultSerial = 0x4A3C5E71;

const DWORD kDefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

unsigned long Define(char letter, ULONG type, const std::string& unixDir, const std::string& label, DWORD serial) {
  std::vector<char> buf(sizeof(UnixDriveRequest) + unixDir.size() + 1 + (label.size() + 1) * sizeof(WCHAR) + 2);
  auto* req = reinterpret_cast<UnixDriveRequest*>(buf.data());
  req->size = static_cast<ULONG>(buf.size());
  req->type = type;
  req->fsType = 1;  // FAT, as on a camera card
  req->serial = serial;
  req->letter = static_cast<WCHAR>(letter | 0x20);
  size_t off = sizeof(UnixDriveRequest);
  if (!unixDir.empty()) {
    req->mountPointOffset = static_cast<USHORT>(off);
    memcpy(buf.data() + off, unixDir.c_str(), unixDir.size() + 1);
    off += unixDir.size() + 1;
  }
  if (!label.empty()) {
    off = (off + 1) & ~size_t(1);
    req->labelOffset = static_cast<USHORT>(off);
    WCHAR* w = reinterpret_cast<WCHAR*>(buf.data() + off);
    for (size_t i = 0; i < label.size(); ++i) w[i] = static_cast<unsigned char>(label[i]);
    w[label.size()] = 0;
  }
  HANDLE h = CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return GetLastError();
  DWORD got = 0;
  BOOL ok = DeviceIoControl(h, kDefineUnixDrive, buf.data(), static_cast<DWORD>(buf.size()), nullptr, 0, &got, nullptr);
  unsigned long err = ok ? 0 : GetLastError();
  CloseHandle(h);
  return err;
}

// Under CTest every test program is told the locks it holds (GLIMORA_TEST_LOCKS=",a,b,"): the
// card drive is one drive letter for all of them, so only a holder of "card" may change it.
bool HoldsCardLock() {
  char locks[256] = "";
  DWORD n = GetEnvironmentVariableA("GLIMORA_TEST_LOCKS", locks, sizeof locks);
  if (n == 0 || n >= sizeof locks) return n == 0;  // not under CTest: glimctl, a manual run
  return strstr(locks, ",card,") != nullptr;
}

// Changes the drive and checks that it took: the mount manager may not be up yet (error 2
// for a while after the server started), and a request it refused leaves the letter as it
// was, which a test would otherwise only notice as a long wait for a card.
unsigned long Change(const char* what, char letter, ULONG type, const std::string& unixDir, const std::string& label,
                     DWORD serial = kDefaultSerial) {
  unsigned long err = HoldsCardLock() ? 0 : ERROR_LOCK_VIOLATION;
  if (!err) {
    for (int tries = 0;; ++tries) {
      err = Define(letter, type, unixDir, label, serial);
      if (err != ERROR_FILE_NOT_FOUND || tries >= 50) break;
      Sleep(100);
    }
  }
  char root[] = {letter, ':', '\\', '\0'};
  UINT got = GetDriveTypeA(root);
  if (!err && got != type) err = ERROR_INVALID_DRIVE;
  if (err) {
    fprintf(stderr, "card helper: %s %c: failed with error %lu%s (the drive reads as type %u)\n", what, letter, err,
            err == ERROR_LOCK_VIOLATION ? ", the test does not hold the CTest lock \"card\"" : "", got);
    fflush(stderr);
  }
  return err;
}

}  // namespace

unsigned long InsertCard(char letter, const std::string& unixDir, const std::string& label, unsigned long serial) {
  if (serial) {
    char hex[16];
    snprintf(hex, sizeof hex, "%08lx\n", serial);
    for (const auto& file : {std::make_pair(std::string("/.windows-label"), label + "\n"),
                             std::make_pair(std::string("/.windows-serial"), std::string(hex))}) {
      std::string path = "\\\\?\\unix" + unixDir + file.first;
      for (char& c : path)
        if (c == '/') c = '\\';
      FILE* f = fopen(path.c_str(), "wb");
      const bool written = f && fwrite(file.second.data(), 1, file.second.size(), f) == file.second.size();
      if (f) fclose(f);
      if (!written) {
        fprintf(stderr, "card helper: the volume of %s can't be written\n", unixDir.c_str());
        return ERROR_WRITE_FAULT;
      }
    }
  }
  return Change("insert into", letter, DRIVE_REMOVABLE, unixDir, label, serial ? serial : kDefaultSerial);
}

unsigned long RemoveCard(char letter) {
  return Change("remove from", letter, DRIVE_NO_ROOT_DIR, std::string(), std::string());
}

unsigned long InsertDisc(char letter, const std::string& unixDir, const std::string& label) {
  return Change("insert a disc into", letter, DRIVE_CDROM, unixDir, label);
}

unsigned long RemoveDisc(char letter) { return RemoveCard(letter); }

std::string UnixPathOf(const std::string& windowsPath) {
  typedef char* (CDECL * ToUnix)(LPCWSTR);
  auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return std::string();
  wchar_t wide[MAX_PATH * 2] = {};
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2 - 1);
  char* unix = toUnix(wide);
  if (!unix) return std::string();
  std::string out(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}

std::string DefaultCardDir() {
  const char* d = getenv("GLIMORA_CARD_DIR");
  return d ? d : "";
}

}  // namespace testsupport
