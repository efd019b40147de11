// The settings profile in the registry: where the roots are and how values are read and written.
#pragma once
#include <windows.h>

#include <string>

namespace kitlib {

// Key paths below HKEY_CURRENT_USER.
//  - program root: "Software\\Norvane\\Marlo5", or the "Position" under [RegistryKey] of
//    kitenv.ini in the program folder;
//  - common root: "Software\\Norvane\\VxCommon", shared by the maker's programs.
// The environment variable GLIMORA_PROFILE_ROOT (a key path below HKCU) replaces
// "Software\\Norvane" for both, so that tests never touch a user's real profile.
std::string ProgramRootPath();
std::string CommonRootPath();
std::string RootPath(int flag);  // 0 program root, anything else the common root

// The kitenv.ini that moves the program root, and its "Position" value ("" when absent).
std::string KitenvPath();
std::string ReadKitenvPosition(const std::string& iniPath);

// root + "\\" + section, with the section's surrounding separators removed.
std::string JoinKeyPath(const std::string& root, const char* section);

bool RegReadInt(HKEY hive, const std::string& keyPath, const char* name, int* out);
bool RegReadString(HKEY hive, const std::string& keyPath, const char* name, std::string* out);
bool RegWriteInt(HKEY hive, const std::string& keyPath, const char* name, int value, bool flush);
bool RegWriteString(HKEY hive, const std::string& keyPath, const char* name, const std::string& text);
bool RegRemoveValue(HKEY hive, const std::string& keyPath, const char* name);

// Copies every value and sub-key of one key into another (created when missing).
bool RegCopyKeyTree(HKEY srcHive, const std::string& srcPath, HKEY dstHive, const std::string& dstPath);
// Deletes a key with all its sub-keys; true also when it did not exist.
bool RegDeleteKeyTree(HKEY hive, const std::string& path);

// Folder of the running program, without a trailing backslash.
std::string ExeDirectory();

}  // namespace kitlib
