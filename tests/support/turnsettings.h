// The rotate tool's user settings (HKCU "Tool1\TurnPicture"), set for a test and put back
// as they were afterwards.
#pragma once
#include <windows.h>

namespace testsupport {
class TurnSettings {
 public:
  TurnSettings(DWORD exif, DWORD saveMode) {
    RegCreateKeyExA(HKEY_CURRENT_USER, "Tool1\\TurnPicture", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    hadExif_ = Get("Exif", &oldExif_);
    hadSave_ = Get("SaveMode", &oldSave_);
    Set("Exif", exif);
    Set("SaveMode", saveMode);
  }
  ~TurnSettings() {
    if (hadExif_) Set("Exif", oldExif_); else RegDeleteValueA(key_, "Exif");
    if (hadSave_) Set("SaveMode", oldSave_); else RegDeleteValueA(key_, "SaveMode");
    RegCloseKey(key_);
  }
  TurnSettings(const TurnSettings&) = delete;
  TurnSettings& operator=(const TurnSettings&) = delete;
  // The value as it is now (99 when missing).
  DWORD Value(const char* n) {
    DWORD v = 99;
    Get(n, &v);
    return v;
  }

 private:
  bool Get(const char* n, DWORD* v) {
    DWORD cb = sizeof(*v);
    return RegQueryValueExA(key_, n, nullptr, nullptr, reinterpret_cast<BYTE*>(v), &cb) == ERROR_SUCCESS;
  }
  void Set(const char* n, DWORD v) { RegSetValueExA(key_, n, 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), sizeof(v)); }
  HKEY key_ = nullptr;
  DWORD oldExif_ = 0, oldSave_ = 0;
  bool hadExif_ = false, hadSave_ = false;
};
}  // namespace testsupport
