#include "dropop/FolderNameList.h"

#include <Kitlib2/Profile.h>

#include <cstdio>
#include <string>

namespace dropop {

namespace {
std::string FolderNameKey(int n) {
  char key[16];
  snprintf(key, sizeof key, "%04d", n);
  return key;
}
}  // namespace

int ClearFolderNameList() {
  int count = CMGetProfileInt(kFolderNameSection, "NumOfFolder", 0);
  if (count < 0) count = 0;
  if (count > kMaxFolderNames) count = kMaxFolderNames;
  for (int n = 1; n <= count; ++n) CMRemoveProfileKey(kFolderNameSection, FolderNameKey(n).c_str());
  CMRemoveProfileKey(kFolderNameSection, "NumOfFolder");
  return 1;
}

int AppendFolderNameList(const char* path) {
  int count = CMGetProfileInt(kFolderNameSection, "NumOfFolder", 0);
  if (count < 0) count = 0;
  if (count >= kMaxFolderNames) return count;
  const int n = count + 1;
  CMWriteProfileString(kFolderNameSection, FolderNameKey(n).c_str(), path ? path : "");
  CMWriteProfileInt(kFolderNameSection, "NumOfFolder", n);
  return n;
}

}  // namespace dropop
