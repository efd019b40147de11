#include "cardwatch/BackupFolder.h"

#include <Kitlib2/Kitlib2.h>
#include <shlobj.h>

namespace cardwatch {

namespace {
std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(NULL, csidl, NULL, SHGFP_TYPE_CURRENT, path))) return "";
  return path;
}
}  // namespace

std::string DefaultBackupFolder(const std::string& pictures, const std::string& documents,
                                const std::string& picturesName, const std::string& appName) {
  std::string base = pictures;
  if (base.empty()) base = documents + "\\" + picturesName;
  while (!base.empty() && base.back() == '\\') base.pop_back();
  return base + "\\" + appName + "\\";
}

std::string BackupFolder(const std::string& picturesName) {
  const std::string stored = std::string(CMGetProfileString("CardTree", "BackupFolder", ""));
  if (!stored.empty()) return stored;
  const std::string pictures = ShellFolder(CSIDL_MYPICTURES);
  if (pictures.empty()) {
    const std::string folder = ShellFolder(CSIDL_PERSONAL) + "\\" + picturesName;
    if (CreateDirectoryA(folder.c_str(), NULL)) SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHA, folder.c_str(), NULL);
  }
  return DefaultBackupFolder(pictures, ShellFolder(CSIDL_PERSONAL), picturesName, std::string(CMTLGetAppName()));
}

}  // namespace cardwatch
