#include "SlideShowRules.h"

#include <string.h>
#include <windows.h>

std::vector<tagSLD_V_TYPE> SlideShowList(const std::vector<tagSLD_V_TYPE>& slides,
                                         const std::function<bool(const char*)>& exists) {
  std::vector<tagSLD_V_TYPE> out;
  for (const tagSLD_V_TYPE& s : slides) {
    const char* chosen = NULL;
    if (s.szPath2[0] && exists(s.szPath2))
      chosen = s.szPath2;
    else if (s.szPath[0] && exists(s.szPath))
      chosen = s.szPath;
    if (!chosen) continue;
    tagSLD_V_TYPE r = {};
    lstrcpynA(r.szPath, chosen, MAX_PATH);
    memcpy(r.tail, s.tail, sizeof(r.tail));
    out.push_back(r);
  }
  return out;
}

std::vector<tagSLD_A_TYPE> SlideMusicList(const std::vector<tagSLD_A_TYPE>& music,
                                          const std::function<bool(const char*)>& exists) {
  std::vector<tagSLD_A_TYPE> out;
  for (const tagSLD_A_TYPE& m : music)
    if (m.szPath[0] && exists(m.szPath)) out.push_back(m);
  return out;
}

std::vector<std::string> SlidePreparedToDelete(const std::vector<tagSLD_V_TYPE>& slides, const std::string& folder) {
  std::vector<std::string> paths;
  for (const tagSLD_V_TYPE& s : slides) {
    const size_t n = strnlen(s.szPath2, MAX_PATH);
    if (n == 0 || n == MAX_PATH) continue;
    paths.push_back(std::string(s.szPath2, n));
  }
  return SlidePreparedPathsToDelete(paths, folder);
}

std::vector<std::string> SlidePreparedPathsToDelete(const std::vector<std::string>& paths, const std::string& folder) {
  std::vector<std::string> out;
  if (folder.empty()) return out;
  std::string dir = folder;
  if (dir.back() != '\\') dir += '\\';
  for (const std::string& p : paths) {
    if (p.empty() || p.size() >= MAX_PATH) continue;
    if (p.size() <= dir.size() || CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, p.c_str(), int(dir.size()),
                                                 dir.c_str(), int(dir.size())) != CSTR_EQUAL)
      continue;
    const std::string name = p.substr(dir.size());
    // Directly inside: no further folder, no climbing, no stream or device names.
    if (name.find_first_of("\\/:") != std::string::npos || name == "." || name == "..") continue;
    bool dup = false;
    for (const std::string& q : out) dup = dup || lstrcmpiA(q.c_str(), p.c_str()) == 0;
    if (!dup) out.push_back(p);
  }
  return out;
}
