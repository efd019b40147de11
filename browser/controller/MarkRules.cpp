// The decisions of copying or moving the marked files (see MarkRules.h).
#include "MarkRules.h"

#include <VxResourceIds.h>
#include <shellapi.h>
#include <textkit/path.h>
#include <textkit/text.h>

BOOL MarkIsAvchdStream(const std::string& path) {
  const std::string ext = textkit::ExtensionOf(path);
  return textkit::EqualNoCase(ext, ".m2ts") || textkit::EqualNoCase(ext, ".mts");
}

std::vector<std::string> MarkWorkList(const std::vector<std::string>& marked,
                                      const std::function<std::vector<std::string>(const std::string&)>& members,
                                      const std::function<bool(const std::string&)>& onFixedDrive, BOOL* pbExcluded) {
  std::vector<std::string> out;
  if (pbExcluded) *pbExcluded = FALSE;
  for (const std::string& path : marked) {
    if (MarkIsAvchdStream(path) && !onFixedDrive(path)) {
      if (pbExcluded) *pbExcluded = TRUE;
      continue;
    }
    out.push_back(path);
    if (textkit::EqualNoCase(textkit::ExtensionOf(path), ".cont"))
      for (const std::string& m : members(path)) out.push_back(m);
  }
  return out;
}

UINT MarkOperationFlags() { return FOF_ALLOWUNDO | FOF_WANTMAPPINGHANDLE; }

std::string MarkDestination(const std::string& folder) {
  if (!folder.empty() && folder.back() == ':') return folder + "\\";
  return folder;
}

UINT MarkBrowseTitle(UINT nMode) { return nMode == FO_MOVE ? IDS_BROWSER_MARK_MOVE_TITLE : IDS_BROWSER_MARK_COPY_TITLE; }
