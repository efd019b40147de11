#include "ImportRun.h"

#include <KitlibEx/KitlibEx.h>

#include <set>

namespace cardtree {
namespace {

bool SizeIs(const std::string& path, uint64_t size) {
  WIN32_FILE_ATTRIBUTE_DATA a;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a)) return false;
  return ((static_cast<uint64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow) == size;
}

// Deletes one card file and its print-order entries; read-only files are left (true).
bool DeleteCardFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  if (a & FILE_ATTRIBUTE_READONLY) return true;
  if (!DeleteFileA(path.c_str())) return false;
  std::string drive = path.substr(0, 2);
  CMTLxDeleteDPOFFileJob(drive.c_str(), "AUTPRINT", path.c_str());
  CMTLxDeleteDPOFFileJob(drive.c_str(), "AUTPLAY3", path.c_str());
  return true;
}

}  // namespace

std::string SystemErrorText(DWORD error) {
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                 error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0, NULL);
  std::string s = text ? text : "";
  if (text) LocalFree(text);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
  return s;
}

DWORD RunCopyPlan(CopyPlan* plan, CopyOutcome* out, const CopyProgress& progress, const std::atomic<int>* stop) {
  std::set<std::string> cleaned;
  size_t total = plan->sources.size();
  for (size_t i = 0; i < total; ++i) {
    const std::string& source = plan->sources[i];
    std::string target = plan->targets[i];
    if ((stop && *stop) || (progress && !progress(i, total, source))) {
      out->stopped = true;
      out->error = ERROR_CANCELLED;
      return out->error;
    }
    std::string folder = FolderOf(target);
    DWORD e = MakeFolderPath(folder);
    if (!e && cleaned.insert(UpperPath(folder)).second) out->removedTemporaries += RemoveCopyTemporaries(folder);
    FileDigest digest;
    for (int n = 0; !e; ++n) {
      e = CopyFileVerified(source, target, stop, &digest);
      if (e != ERROR_FILE_EXISTS) break;
      // Taken since the plan was made (another program, or a killed run's verified copy).
      if (SameFileContent(source, target)) {
        plan->presentSources.push_back(source);
        plan->presentTargets.push_back(target);
        e = 0;
        target.clear();
        break;
      }
      std::string again;
      TargetAnswer a = UniqueTarget(source, target, *plan, &again);
      if (a == TargetAnswer::kPresent) {
        plan->presentSources.push_back(source);
        plan->presentTargets.push_back(again);
        e = 0;
        target.clear();
        break;
      }
      if (a == TargetAnswer::kNoFreeNumber || n > 3) break;
      target = again;
      e = 0;
    }
    if (e) {
      out->error = e;
      out->stopped = e == ERROR_CANCELLED;
      out->failedSource = source;
      out->failedTarget = target;
      return e;
    }
    if (target.empty()) continue;
    plan->targets[i] = target;
    out->copiedSources.push_back(source);
    out->copiedTargets.push_back(target);
    out->digests.push_back(digest);
  }
  return 0;
}

int DeleteImportedSources(const CopyOutcome& copied, const CopyPlan& plan,
                          const std::function<void(const std::string&)>& deleted) {
  int ok = 1;
  auto remove = [&](const std::string& source) {
    if (!DeleteCardFile(source)) return false;
    if (deleted) deleted(source);
    return true;
  };
  for (size_t i = 0; i < copied.copiedSources.size(); ++i) {
    // The verified copy must still be there as it was written.
    if (!SizeIs(copied.copiedTargets[i], copied.digests[i].size)) {
      ok = 0;
      continue;
    }
    if (!remove(copied.copiedSources[i])) ok = 0;
  }
  for (size_t i = 0; i < plan.presentSources.size() && i < plan.presentTargets.size(); ++i) {
    if (!SameFileContent(plan.presentSources[i], plan.presentTargets[i])) {
      ok = 0;
      continue;
    }
    if (!remove(plan.presentSources[i])) ok = 0;
  }
  return ok;
}

}  // namespace cardtree
