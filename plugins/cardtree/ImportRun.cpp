#include "ImportRun.h"

#include <KitlibEx/KitlibEx.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

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

// How many files may wait past their reading half: while they are flushed and read back,
// the next is read from the card.
constexpr size_t kFilesInFlight = 3;

struct FinishedCopy {
  size_t index = 0;
  std::string target;
  DWORD error = 0;
  FileDigest digest;
  PictureFacts facts;
};

// The copy's first block carries a picture's headers and Exif (64 KB at most in a JPEG).
constexpr size_t kFactsHead = 128 << 10;

// Finishes pending copies (flush, read back, rename) on its own thread, in the order they
// came. After a failure the ones behind it are dropped unfinished (their temporaries go),
// as if the run had stopped there.
class CopyFinisher {
 public:
  explicit CopyFinisher(const std::atomic<int>* stop) : stop_(stop), thread_([this] { Work(); }) {}
  ~CopyFinisher() {
    {
      std::lock_guard<std::mutex> hold(lock_);
      quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  void Add(size_t index, std::unique_ptr<PendingCopy> copy) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      Item item;
      item.done.index = index;
      item.done.target = copy->Target();
      item.copy = std::move(copy);
      items_.push_back(std::move(item));
    }
    wake_.notify_all();
  }
  size_t InFlight() {
    std::lock_guard<std::mutex> hold(lock_);
    return items_.size();
  }
  // The oldest copy once finished; false when none is in flight.
  bool Next(FinishedCopy* done) {
    std::unique_lock<std::mutex> hold(lock_);
    if (items_.empty()) return false;
    wake_.wait(hold, [this] { return items_.front().finished; });
    *done = items_.front().done;
    items_.pop_front();
    if (items_.empty()) failed_ = false;  // settled: later copies may start afresh
    return true;
  }

 private:
  struct Item {
    std::unique_ptr<PendingCopy> copy;
    FinishedCopy done;
    bool finished = false;
  };
  void Work() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
      auto open = std::find_if(items_.begin(), items_.end(), [](const Item& i) { return !i.finished; });
      if (open == items_.end()) {
        if (quit_) return;
        wake_.wait(hold);
        continue;
      }
      PendingCopy* copy = open->copy.get();
      const bool drop = failed_;
      hold.unlock();
      FinishedCopy result;
      if (drop) {
        copy->Discard();
        result.error = ERROR_CANCELLED;
      } else {
        result.error = FinishCopyVerified(copy, stop_, &result.digest);
        if (!result.error) result.facts = PictureFactsOfHead(copy->Target(), copy->Head().data(), copy->Head().size());
      }
      hold.lock();
      // The deque's other end may have grown meanwhile; the front part stays in place.
      open = std::find_if(items_.begin(), items_.end(), [](const Item& i) { return !i.finished; });
      open->done.error = result.error;
      open->done.digest = result.digest;
      open->done.facts = std::move(result.facts);
      open->finished = true;
      open->copy.reset();
      if (result.error) failed_ = true;
      wake_.notify_all();
    }
  }
  const std::atomic<int>* stop_;
  std::mutex lock_;
  std::condition_variable wake_;
  std::deque<Item> items_;
  bool failed_ = false, quit_ = false;
  std::thread thread_;
};

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
  const size_t total = plan->sources.size();
  auto fail = [&](size_t i, const std::string& target, DWORD e) {
    out->error = e;
    out->stopped = e == ERROR_CANCELLED;
    out->failedSource = plan->sources[i];
    out->failedTarget = target;
    return false;
  };
  auto list = [&](size_t i, const std::string& target, const FileDigest& digest, PictureFacts facts) {
    plan->targets[i] = target;
    out->copiedSources.push_back(plan->sources[i]);
    out->copiedTargets.push_back(target);
    out->digests.push_back(digest);
    out->facts.push_back(std::move(facts));
  };
  // One file at a time, for a target taken since the plan was made (by another program, or
  // a killed run's verified copy): the same content joins the present pairs, else the first
  // free "(n)". e is the first attempt's answer, 0 when there was none.
  auto settle = [&](size_t i, std::string target, DWORD e) {
    const std::string& source = plan->sources[i];
    FileDigest digest;
    for (int n = 0;; ++n) {
      if (e == ERROR_FILE_EXISTS) {
        if (SameFileContent(source, target)) {
          plan->presentSources.push_back(source);
          plan->presentTargets.push_back(target);
          return true;
        }
        std::string again;
        TargetAnswer a = UniqueTarget(source, target, *plan, &again);
        if (a == TargetAnswer::kPresent) {
          plan->presentSources.push_back(source);
          plan->presentTargets.push_back(again);
          return true;
        }
        if (a == TargetAnswer::kNoFreeNumber || n > 3) return fail(i, target, e);
        target = again;
      } else if (e || n > 0) {
        return fail(i, target, e);
      }
      e = CopyFileVerified(source, target, stop, &digest);
      if (!e) {
        list(i, target, digest, PictureFacts());
        return true;
      }
    }
  };
  CopyFinisher finisher(stop);
  // Takes the oldest copy in flight in plan order. A name taken at the rename is settled
  // again after the others in flight (dropped by the finisher) and the run goes on after it
  // (*resume). False on a failure, with every copy in flight ended.
  auto takeOne = [&](size_t* resume) {
    FinishedCopy f;
    if (!finisher.Next(&f)) return true;
    if (!f.error) {
      list(f.index, f.target, f.digest, std::move(f.facts));
      return true;
    }
    for (FinishedCopy dropped; finisher.Next(&dropped);) {
    }
    if (f.error != ERROR_FILE_EXISTS) return fail(f.index, f.target, f.error);
    *resume = f.index;
    return settle(f.index, f.target, f.error);
  };
  auto drain = [&](size_t* resume) {
    while (finisher.InFlight())
      if (!takeOne(resume)) return false;
    return true;
  };
  for (size_t next = 0;;) {
    size_t resume = total;
    // While earlier files are flushed and checked, the next is read from the card.
    if (finisher.InFlight() && (finisher.InFlight() >= kFilesInFlight || next == total)) {
      if (!takeOne(&resume)) return out->error;
      if (resume < total) next = resume + 1;
      continue;
    }
    if (next == total) return 0;
    const size_t i = next++;
    if ((stop && *stop) || (progress && !progress(i, total, plan->sources[i]))) {
      if (!drain(&resume)) return out->error;
      out->stopped = true;
      out->error = ERROR_CANCELLED;
      return out->error;
    }
    const std::string& target = plan->targets[i];
    const std::string folder = FolderOf(target);
    DWORD e = MakeFolderPath(folder);
    if (!e && cleaned.insert(UpperPath(folder)).second) out->removedTemporaries += RemoveCopyTemporaries(folder);
    if (!e) {
      std::unique_ptr<PendingCopy> pending(new PendingCopy);
      pending->KeepHead(kFactsHead);
      e = BeginCopyVerified(plan->sources[i], target, stop, pending.get());
      if (!e) {
        finisher.Add(i, std::move(pending));
        continue;
      }
    }
    // Failures and taken names are settled after the files before this one.
    if (!drain(&resume)) return out->error;
    if (resume < total) {
      next = resume + 1;
      continue;
    }
    if (!settle(i, target, e)) return out->error;
  }
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
