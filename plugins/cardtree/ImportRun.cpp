#include "ImportRun.h"

#include <KitlibEx/KitlibEx.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace cardtree {
namespace {

// A copy is as it was written: its size, and the last-write time it was placed with.
bool CopyAsWritten(const std::string& path, const FileDigest& digest, const FileStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA a;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a)) return false;
  return ((static_cast<uint64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow) == digest.size &&
         CompareFileTime(&a.ftLastWriteTime, &stamp.copyWritten) == 0;
}

// Files are copied and checked on kCopyThreads threads at once (under Wine a thread waits
// on its file system calls and flushes most of the time: five copied 1,000 files about a
// third faster than three, eight no faster than five), and at most kFilesInFlight are
// under way ahead of the oldest not yet renamed.
constexpr int kCopyThreads = 5;
constexpr size_t kFilesInFlight = kCopyThreads + 2;

// One file under way: opened, written to its temporary and checked on a copying thread,
// renamed (or dropped) by the run in plan order.
struct CopyJob {
  enum class State { kWaiting, kCopying, kChecked };
  size_t index = 0;
  std::string source, target;
  PendingCopy copy;
  DWORD error = 0;
  State state = State::kWaiting;
};

// The copy's first block carries a picture's headers and Exif (64 KB at most in a JPEG).
constexpr size_t kFactsHead = 128 << 10;

// The copying threads. Sources are opened one at a time in the order the jobs came, so a
// file is opened only after every file before it; the run takes the jobs back in that
// order once checked. Jobs behind a failed one are not started: the run drops them anyway.
class CopyCrew {
 public:
  CopyCrew(int threads, const std::atomic<int>* stop) : stop_(stop) {
    for (int t = 0; t < threads; ++t) threads_.emplace_back([this] { Work(); });
  }
  ~CopyCrew() {
    Drop();
    {
      std::lock_guard<std::mutex> hold(lock_);
      quit_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
  }
  void Add(size_t index, const std::string& source, const std::string& target) {
    std::unique_ptr<CopyJob> job(new CopyJob);
    job->index = index;
    job->source = source;
    job->target = target;
    {
      std::lock_guard<std::mutex> hold(lock_);
      jobs_.push_back(std::move(job));
    }
    wake_.notify_all();
  }
  // The oldest job once checked (or failed); null when none is under way. A stop asked
  // meanwhile reaches the jobs still copying.
  std::unique_ptr<CopyJob> Next() {
    std::unique_lock<std::mutex> hold(lock_);
    if (jobs_.empty()) return nullptr;
    while (jobs_.front()->state != CopyJob::State::kChecked) {
      if (stop_ && *stop_) halt_ = 1;
      wake_.wait_for(hold, std::chrono::milliseconds(20));
    }
    std::unique_ptr<CopyJob> job = std::move(jobs_.front());
    jobs_.pop_front();
    return job;
  }
  // Ends every job under way unfinished: those not started never start, the running ones
  // stop at their next block; their temporaries go.
  void Drop() {
    std::deque<std::unique_ptr<CopyJob>> dropped;
    {
      std::unique_lock<std::mutex> hold(lock_);
      halt_ = 1;
      for (auto& job : jobs_)
        if (job->state == CopyJob::State::kWaiting) job->state = CopyJob::State::kChecked;
      wake_.wait(hold, [this] {
        return std::none_of(jobs_.begin(), jobs_.end(),
                            [](const std::unique_ptr<CopyJob>& j) { return j->state == CopyJob::State::kCopying; });
      });
      dropped.swap(jobs_);
      failedAt_ = kNone;
      halt_ = 0;
    }
  }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);
  void Work() {
    for (;;) {
      // One thread starts a file at a time: the sources open in the order of the jobs.
      std::unique_lock<std::mutex> gate(start_);
      CopyJob* job = nullptr;
      bool behindFailure = false;
      {
        std::unique_lock<std::mutex> hold(lock_);
        for (;;) {
          auto it = std::find_if(jobs_.begin(), jobs_.end(), [](const std::unique_ptr<CopyJob>& j) {
            return j->state == CopyJob::State::kWaiting;
          });
          if (it != jobs_.end()) {
            // The deque may grow while the job runs; the job itself stays where it is.
            job = it->get();
            break;
          }
          if (quit_) return;
          wake_.wait(hold);
        }
        job->state = CopyJob::State::kCopying;
        behindFailure = halt_ || (failedAt_ != kNone && job->index > failedAt_);
      }
      job->copy.KeepHead(kFactsHead);
      DWORD e = behindFailure ? ERROR_CANCELLED : OpenCopySource(job->source, job->target, false, &job->copy);
      gate.unlock();
      if (!e) e = WriteCopyVerified(&job->copy, &halt_);
      if (!e) e = CheckCopyVerified(&job->copy, &halt_);
      if (e) job->copy.Discard();
      std::lock_guard<std::mutex> hold(lock_);
      job->error = e;
      job->state = CopyJob::State::kChecked;
      if (e && (failedAt_ == kNone || job->index < failedAt_)) failedAt_ = job->index;
      wake_.notify_all();
    }
  }
  const std::atomic<int>* stop_;
  std::atomic<int> halt_{0};
  std::mutex lock_, start_;
  std::condition_variable wake_;
  std::deque<std::unique_ptr<CopyJob>> jobs_;
  size_t failedAt_ = kNone;
  bool quit_ = false;
  std::vector<std::thread> threads_;
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
  const size_t total = plan->sources.size();
  auto fail = [&](size_t i, const std::string& target, DWORD e) {
    out->error = e;
    out->stopped = e == ERROR_CANCELLED;
    out->failedSource = plan->sources[i];
    out->failedTarget = target;
    return false;
  };
  FolderNameBook names;
  auto list = [&](size_t i, const std::string& target, const FileDigest& digest, const FileStamp& stamp,
                  PictureFacts facts) {
    plan->targets[i] = target;
    names.Take(target);
    out->copiedSources.push_back(plan->sources[i]);
    out->copiedTargets.push_back(target);
    out->digests.push_back(digest);
    out->stamps.push_back(stamp);
    out->facts.push_back(std::move(facts));
  };
  // One file at a time, for a target taken since the plan was made (by another program, or
  // a killed run's verified copy): the same content joins the present pairs, else the first
  // free "(n)". e is the first attempt's answer, 0 when there was none.
  auto settle = [&](size_t i, std::string target, DWORD e) {
    const std::string& source = plan->sources[i];
    FileDigest digest;
    FileStamp stamp;
    for (int n = 0;; ++n) {
      if (e == ERROR_FILE_EXISTS) {
        names.Take(target);
        // The plan's rule decides, as it would have had the file been there when planned;
        // a "(n)" the plan gave was a free name then, which rule 2 passes over like rule 3.
        if (plan->copyMode != 1 && SameFileContent(source, target)) {
          plan->presentSources.push_back(source);
          plan->presentTargets.push_back(target);
          return true;
        }
        int number = 0;
        SplitCopyNumber(FileNameOf(target), &number);
        if (plan->copyMode == 2 && n == 0 && number == 0) {
          plan->keptSources.push_back(source);
          plan->keptTargets.push_back(target);
          return true;
        }
        std::string again;
        TargetAnswer a = UniqueTarget(source, target, *plan, &again, 1, nullptr);
        if (a == TargetAnswer::kPresent) {
          plan->presentSources.push_back(source);
          plan->presentTargets.push_back(again);
          return true;
        }
        if (a == TargetAnswer::kNameTaken) {
          plan->keptSources.push_back(source);
          plan->keptTargets.push_back(again);
          return true;
        }
        if (a == TargetAnswer::kNoFreeNumber || n > 3) return fail(i, target, e);
        target = again;
      } else if (e || n > 0) {
        return fail(i, target, e);
      }
      e = CopyFileVerified(source, target, stop, &digest, &stamp);
      if (!e) {
        list(i, target, digest, stamp, PictureFacts());
        return true;
      }
    }
  };
  // A target folder is made and listed once: the listing removes a killed run's temporaries
  // and tells which names are taken. 0 or the error that the folder can't be made with.
  auto prepare = [&](const std::string& folder) -> DWORD {
    if (names.Knows(folder)) return 0;
    DWORD e = MakeFolderPath(folder);
    if (e) return e;
    std::vector<std::string> present;
    out->removedTemporaries += RemoveCopyTemporaries(folder, &present);
    names.Learn(folder, present);
    return 0;
  };
  CopyCrew crew(kCopyThreads, stop);
  // current: the oldest file not settled; the files from it to next are under way. A file
  // whose folder can't be made or whose name is taken waits until it is the oldest.
  size_t current = 0, next = 0;
  for (;;) {
    while (next < total && next - current < kFilesInFlight && !(stop && *stop)) {
      const std::string& target = plan->targets[next];
      if (prepare(FolderOf(target)) || names.Taken(target)) break;
      crew.Add(next, plan->sources[next], target);
      ++next;
    }
    if (current == total) return 0;
    const std::string target = plan->targets[current];
    if ((stop && *stop) || (progress && !progress(current, total, plan->sources[current]))) {
      // Stopped before the oldest file: it and every file under way after it are dropped.
      crew.Drop();
      if (current < next) return fail(current, target, ERROR_CANCELLED), out->error;
      out->stopped = true;
      out->error = ERROR_CANCELLED;
      return out->error;
    }
    DWORD e = 0;
    if (current < next) {
      std::unique_ptr<CopyJob> job = crew.Next();
      FileDigest digest;
      e = job->error ? job->error : PlaceCopyVerified(&job->copy, stop, &digest);
      if (!e) {
        // The file is in place under its own name; its size and times are the copy's.
        list(current++, target, digest, job->copy.Stamp(),
             PictureFactsOfHead(target, job->copy.Head().data(), job->copy.Head().size(), &job->copy.Stamp()));
        continue;
      }
      crew.Drop();
      // The files written beside it may have taken the room it needed: alone it may fit, as
      // it would have in a copy of one file after another.
      if ((e == ERROR_DISK_FULL || e == ERROR_HANDLE_DISK_FULL) && next > current + 1) {
        FileStamp stamp;
        e = CopyFileVerified(plan->sources[current], target, stop, &digest, &stamp);
        if (!e) {
          list(current, target, digest, stamp, PictureFacts());
          next = ++current;
          continue;
        }
      }
    } else {
      e = prepare(FolderOf(target));
      if (!e) e = ERROR_FILE_EXISTS;  // the name was taken
    }
    // A failure ends the run; a taken name is settled and the run goes on after it.
    if (e != ERROR_FILE_EXISTS) return fail(current, target, e), out->error;
    if (!settle(current, target, e)) return out->error;
    next = ++current;
  }
}

bool DeleteVerifiedCardFile(const std::string& path, const VolumeId& volume, const FileStamp* stamp,
                            const FileDigest& content, KeptBecause* why) {
  auto keep = [why](KeptBecause because) {
    *why = because;
    return false;
  };
  if (!volume.Same(ReadVolumeId(path))) return keep(KeptBecause::kOtherVolume);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return keep(KeptBecause::kChangedOnCard);
  if (attributes & FILE_ATTRIBUTE_READONLY) return keep(KeptBecause::kReadOnly);
  // Others may read it meanwhile, nobody may change or delete it.
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, NULL);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD e = GetLastError();
    return keep(e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? KeptBecause::kChangedOnCard
                                                                       : KeptBecause::kNotDeleted);
  }
  struct Closer {
    HANDLE h;
    ~Closer() {
      if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
  } closer{h};
  FileStamp now;
  if (!StampOfOpenFile(h, &now)) return keep(KeptBecause::kNotDeleted);
  if (stamp && (now.size != stamp->size || CompareFileTime(&now.written, &stamp->written) != 0))
    return keep(KeptBecause::kChangedOnCard);
  FileDigest digest;
  if (DigestOpenFile(h, &digest)) return keep(KeptBecause::kNotDeleted);
  // Without a stamp the content is an already present file's: either side may have changed.
  if (digest != content) return keep(stamp ? KeptBecause::kChangedOnCard : KeptBecause::kDiffers);
  // The card may have gone while the file was read: the drive is asked once more at the
  // last moment (a handle's own volume number is not told alike on every platform).
  if (!volume.Same(ReadVolumeId(path))) return keep(KeptBecause::kOtherVolume);
  FILE_DISPOSITION_INFO gone = {TRUE};
  if (!SetFileInformationByHandle(h, FileDispositionInfo, &gone, sizeof gone)) return keep(KeptBecause::kNotDeleted);
  CloseHandle(h);
  closer.h = INVALID_HANDLE_VALUE;
  // The print order lies on the card too: it is edited only while the card is that volume.
  if (volume.Same(ReadVolumeId(path))) {
    const std::string drive = path.substr(0, 2);
    CMTLxDeleteDPOFFileJob(drive.c_str(), "AUTPRINT", path.c_str());
    CMTLxDeleteDPOFFileJob(drive.c_str(), "AUTPLAY3", path.c_str());
  }
  return true;
}

CleanUpTally DeleteImportedSources(const CopyOutcome& copied, const CopyPlan& plan,
                                   const std::function<void(const std::string&)>& deleted) {
  CleanUpTally tally;
  auto volumeOf = [&plan](const std::string& source) {
    auto it = plan.volumes.find(DriveLetterOf(source));
    return it == plan.volumes.end() ? VolumeId() : it->second;
  };
  auto remove = [&](const std::string& source, const FileStamp* stamp, const FileDigest& content) {
    KeptBecause why = KeptBecause::kNotDeleted;
    if (!DeleteVerifiedCardFile(source, volumeOf(source), stamp, content, &why)) {
      tally.Keep(why);
      return;
    }
    ++tally.deleted;
    if (deleted) deleted(source);
  };
  for (size_t i = 0; i < copied.copiedSources.size(); ++i) {
    const FileDigest& digest = copied.digests[i];
    const FileStamp& stamp = copied.stamps[i];
    if (!CopyAsWritten(copied.copiedTargets[i], digest, stamp))
      tally.Keep(KeptBecause::kCopyChanged);
    else
      remove(copied.copiedSources[i], &stamp, digest);
  }
  for (size_t i = 0; i < plan.presentSources.size() && i < plan.presentTargets.size(); ++i) {
    FileDigest present;
    if (!DigestFile(plan.presentTargets[i], &present))
      tally.Keep(KeptBecause::kCopyChanged);
    else
      remove(plan.presentSources[i], nullptr, present);
  }
  return tally;
}

}  // namespace cardtree
