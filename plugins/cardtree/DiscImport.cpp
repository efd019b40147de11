#include "DiscImport.h"

#include <VxBDDisc.h>
#include <VxResourceIds.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include <algorithm>
#include <cstdio>
#include <new>
#include <memory>

#include "ClipFactsWriter.h"
#include "DiscNodes.h"

namespace cardtree {

namespace {

bool Failed(long r) { return r < 0; }

bool DateInRange(const SYSTEMTIME& t) { return t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 && t.wDay <= 31; }

// The title's date, or today's when the title's is out of range or the mode files by today.
SYSTEMTIME FilingDate(const ImportSettings& s, const SYSTEMTIME& recorded) {
  if (DateInRange(recorded) && s.backupMode != 3) return recorded;
  SYSTEMTIME today;
  GetLocalTime(&today);
  return today;
}

std::string LastComponent(std::string folder) {
  textkit::TrimTrailingSeparators(folder);
  return textkit::FileNameOf(folder);
}

// The stream of a title's part on the card ("" when it has none).
std::string PartStream(IVxBDIntegrator* core, int list, int title, int part) {
  WCHAR path[MAX_PATH] = {};
  int length = 0;
  if (Failed(core->GetPartName(list, title, part, VXBD_PART_NAME_PATH, path, &length))) return "";
  return textkit::WideToAnsi(path);
}

// What is found of a file now; false when it can't be opened.
bool StampOfFile(const std::string& path, FileStamp* stamp) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                         OPEN_EXISTING, 0, NULL);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = StampOfOpenFile(h, stamp);
  CloseHandle(h);
  return ok;
}

// A title's parts before its import: each stream on the card with what is found of it, its
// recording time, and its copy when one is in the folder already. True when every part
// has its copy there (the title is present).
bool ReadTitleParts(IVxBDIntegrator* core, int list, int title, const std::string& folder, ImportedTitle* record,
                    std::vector<SYSTEMTIME>* times) {
  VXBDTITLEINFO info = {};
  if (Failed(core->GetTitleInfo(list, title, &info))) return false;
  bool present = info.nParts > 0;
  for (int p = 0; p < info.nParts; ++p) {
    TitlePartCopy part;
    part.cardStream = PartStream(core, list, title, p);
    if (part.cardStream.empty() || !StampOfFile(part.cardStream, &part.stamp)) {
      present = false;
      continue;
    }
    VXBDPARTRECORD rec = {};
    core->GetPartRecord(list, title, p, &rec);
    times->push_back(rec.stRecorded);
    if (present) part.copy = FindClipCopy(folder, part.cardStream);
    present = present && !part.copy.empty();
    record->parts.push_back(part);
  }
  return present;
}

// The content file beside a clip's stream copy, and the stream copy beside a content file.
std::string ContentOfCopy(const std::string& copy) {
  const size_t dot = copy.find_last_of('.');
  return copy.substr(0, dot) + ".cont";
}
std::string CopyOfContent(const std::string& content, const std::string& cardStream) {
  const size_t dot = cardStream.find_last_of('.'), contDot = content.find_last_of('.');
  return content.substr(0, contDot) + (dot == std::string::npos ? "" : cardStream.substr(dot));
}

// Whether a title is, now, the title imported; else why it stays.
bool StillTheImportedTitle(IVxBDIntegrator* core, int list, const ImportedTitle& t, KeptBecause* why) {
  auto keep = [why](KeptBecause because) {
    *why = because;
    return false;
  };
  if (t.parts.empty()) return keep(KeptBecause::kNotDeleted);
  if (!t.volume.Same(ReadVolumeId(t.parts[0].cardStream))) return keep(KeptBecause::kOtherVolume);
  VXBDTITLEINFO info = {};
  if (Failed(core->GetTitleInfo(list, t.title, &info)) || info.nParts != static_cast<LONG>(t.parts.size()))
    return keep(KeptBecause::kChangedOnCard);
  for (size_t p = 0; p < t.parts.size(); ++p) {
    const TitlePartCopy& part = t.parts[p];
    if (lstrcmpiA(PartStream(core, list, t.title, static_cast<int>(p)).c_str(), part.cardStream.c_str()) != 0)
      return keep(KeptBecause::kChangedOnCard);
    FileDigest copy;
    if (part.copy.empty() || !DigestFile(part.copy, &copy) || copy.size != part.stamp.size)
      return keep(KeptBecause::kCopyChanged);
    HANDLE h = CreateFileA(part.cardStream.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (h == INVALID_HANDLE_VALUE) return keep(KeptBecause::kChangedOnCard);
    FileStamp now;
    FileDigest card;
    const bool read = StampOfOpenFile(h, &now) && DigestOpenFile(h, &card) == 0;
    CloseHandle(h);
    if (!read) return keep(KeptBecause::kNotDeleted);
    if (now.size != part.stamp.size || CompareFileTime(&now.written, &part.stamp.written) != 0)
      return keep(KeptBecause::kChangedOnCard);
    if (card != copy) return keep(KeptBecause::kDiffers);
  }
  // The streams took their time to read: the drive is asked once more.
  if (!t.volume.Same(ReadVolumeId(t.parts[0].cardStream))) return keep(KeptBecause::kOtherVolume);
  return true;
}

}  // namespace

std::string DiscDateFolder(const ImportSettings& settings, const SYSTEMTIME& recorded) {
  const SYSTEMTIME t = FilingDate(settings, recorded);
  char date[16];
  snprintf(date, sizeof date, "%04u%02u%02u", t.wYear, t.wMonth, t.wDay);
  if (settings.backupMode == 3) return date;
  CaptureDate d;
  d.date = date;
  return DateFolderName(settings, &d);
}

std::string DiscDateLabel(const SYSTEMTIME& recorded) {
  SYSTEMTIME t = recorded;
  if (!DateInRange(t)) GetLocalTime(&t);
  char label[32];
  snprintf(label, sizeof label, "%d_%02d_%02d", t.wYear, t.wMonth, t.wDay);
  return label;
}

std::string DiscItemLabel(const SYSTEMTIME& recorded, int parts, const std::string& partsFormat) {
  char line[128];
  snprintf(line, sizeof line, partsFormat.c_str(), parts);
  return DiscDateLabel(recorded) + "\n" + line;
}

std::string FindClipCopy(const std::string& folder, const std::string& cardStream) {
  const std::string name = textkit::FileNameOf(cardStream);
  const size_t dot = name.find_last_of('.');
  const std::string base = name.substr(0, dot), ext = dot == std::string::npos ? "" : name.substr(dot);
  WIN32_FILE_ATTRIBUTE_DATA card;
  if (!GetFileAttributesExA(cardStream.c_str(), GetFileExInfoStandard, &card)) return "";
  // Copies take the first free " (n)": the search ends at the first name not there.
  for (int n = 1; n <= kMaxCopyNumber; ++n) {
    const std::string stem = folder + "\\" + VxBDClipBaseName(base, n);
    WIN32_FILE_ATTRIBUTE_DATA copy;
    if (!GetFileAttributesExA((stem + ext).c_str(), GetFileExInfoStandard, &copy)) return "";
    if (copy.nFileSizeLow == card.nFileSizeLow && copy.nFileSizeHigh == card.nFileSizeHigh &&
        GetFileAttributesA((stem + ".cont").c_str()) != INVALID_FILE_ATTRIBUTES &&
        SameFileContent(cardStream, stem + ext))
      return stem + ext;
  }
  return "";
}

long OpenDiscSession(DiscSession* s, const std::string& cardPath, int tvSystem0,
                     const std::function<void()>& descriptorFailed) {
  s->sessionWasOpen = s->listWasOpen = s->closeAfterOpening = s->tvMismatch = false;
  if (!s->core) return 0;
  if (cardPath.size() < 2 || cardPath[1] != ':') return E_INVALIDARG;
  IVxBDIntegrator* core = s->core;
  int count = 0;
  long r = core->GetDeviceCount(VXBD_DEVICE_COUNT_ALL, &count);
  const int drive = toupper(static_cast<unsigned char>(cardPath[0])) - 'A';
  if (!Failed(r)) r = core->LockDevice(drive);
  if (Failed(r)) return r;
  s->drive = drive;
  VXBDDEVICEINFO device = {};
  if (Failed(r = core->GetDeviceInfo(drive, &device))) {
    CloseDiscSession(s);
    return r;
  }
  WCHAR root[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, cardPath.c_str(), -1, root, MAX_PATH);
  r = core->OpenDisc(drive, root, VXBD_OPEN_READ, &s->session);
  if (Failed(r)) {
    s->session = -1;
    CloseDiscSession(s);
    return r;
  }
  s->sessionWasOpen = r == VXBD_S_SESSION_OPEN;
  if (!Failed(core->ValidateSession(s->session))) {
    VXBDSESSIONDESC desc = {};
    if (core->GetSessionDescriptor(s->session, &desc) != 0) {
      if (descriptorFailed) descriptorFailed();
    } else if (desc.nTvSystem != tvSystem0) {
      s->tvMismatch = true;
    }
  }
  if (device.nKind == VXBD_DEVICE_DISC && DiscMediumNeedsCheck(core, drive) == 0) s->closeAfterOpening = true;
  if (s->closeAfterOpening) CloseDiscSession(s);
  return r;
}

void CloseDiscSession(DiscSession* s) {
  if (s->core) {
    if (s->list != -1 && !s->listWasOpen) s->core->CloseTitleList(s->list);
    if (s->session != -1 && !s->sessionWasOpen) s->core->CloseSession(s->session);
    if (s->drive != -1) s->core->ReleaseDevice(s->drive);
  }
  s->drive = s->session = s->list = -1;
}

long OpenDiscTitleList(DiscSession* s) {
  if (!s->core) return E_NOINTERFACE;
  if (s->list != -1) return 0;
  if (s->session == -1) return E_HANDLE;
  long r = s->core->OpenTitleList(s->session, VXBD_TITLE_LIST_ALL, &s->list);
  if (Failed(r)) {
    s->list = -1;
    return r;
  }
  s->listWasOpen = r == VXBD_S_LIST_OPEN;
  long status = 0;
  s->core->Wait(-1, &status);
  return 0;
}

long CountDiscItems(DiscSession* s, int* importable, int* unsupported, const std::function<int(DWORD)>& supported) {
  if (!importable || !unsupported) return E_INVALIDARG;
  *importable = *unsupported = 0;
  if (!s->core || s->session == -1 || Failed(s->core->ValidateSession(s->session))) return 0;
  const bool hadList = s->list != -1;
  long r = OpenDiscTitleList(s);
  if (Failed(r)) return r;
  VXBDLISTINFO info = {};
  if (Failed(r = s->core->GetTitleListInfo(s->list, &info))) return r;
  for (DWORD t = 0; t < info.nTitles; ++t) {
    VXBDTITLEINFO title = {};
    if (Failed(r = s->core->GetTitleInfo(s->list, static_cast<int>(t), &title))) return r;
    const DWORD maker = (static_cast<DWORD>(title.wMakerHigh) << 16) | title.wMakerLow;
    if (!(supported ? supported(maker) : IsSupportedMaker(maker)))
      ++*unsupported;
    else if (title.nKind == 1)
      ++*importable;
  }
  // A list opened only for counting goes again.
  if (!hadList && !s->listWasOpen) {
    s->core->CloseTitleList(s->list);
    s->list = -1;
  }
  return 0;
}

DiscScan ScanDiscSide(DiscSession* s, const std::string& cardPath, int tvSystem0,
                      const std::function<int(DWORD)>& supported) {
  DiscScan out;
  out.openAnswer = OpenDiscSession(s, cardPath, tvSystem0, [&] { out.warnings.push_back(IDS_IMPORT_TITLES_UNREADABLE); });
  if (out.openAnswer == VXBD_E_UNFINALISED || s->closeAfterOpening) out.warnings.push_back(IDS_IMPORT_DISC_CHECK);
  if (s->tvMismatch) out.warnings.push_back(IDS_IMPORT_TV_SYSTEM);
  if (!s->core || Failed(out.openAnswer) || s->tvMismatch) return out;
  if (CountDiscItems(s, &out.importable, &out.unsupported, supported) == VXBD_E_LIST_UNREADABLE)
    out.warnings.push_back(IDS_IMPORT_TITLES_UNREADABLE);
  return out;
}

DiscImportResult RunDiscImportPass(IVxBDIntegrator* core, int list, const std::vector<DiscSelection>& selection,
                                   const std::string& destination, const std::string& cardPath,
                                   const ImportSettings& settings, const std::atomic<int>& cancel,
                                   const DiscImportHooks& hooks) {
  DiscImportResult out;
  const int items = static_cast<int>(selection.size());
  auto setPos = [&](int pos) {
    if (hooks.setPos) hooks.setPos(pos);
  };
  IVxBDImportJob* job = nullptr;
  {
    void* p = nullptr;
    long r = core ? core->CreateImportJob(&p) : E_NOINTERFACE;
    if (Failed(r) || !p) {
      out.code = Failed(r) ? r : E_POINTER;
      return out;
    }
    job = static_cast<IVxBDImportJob*>(p);
  }
  std::string root = destination;
  if (!root.empty() && root.back() == '\\') root.pop_back();
  root += '\\';
  const std::string cardDrive = cardPath.substr(0, 2);

  for (int i = 0; i < items && out.code == 0; ++i) {
    if (cancel) {
      out.cancelled = true;
      out.code = 1;
      break;
    }
    const DiscSelection& item = selection[i];
    const std::string folder = root + DiscDateFolder(settings, item.recorded);
    if (hooks.addEntry) hooks.addEntry(DiscDateLabel(item.recorded), cardPath, LastComponent(folder), i);
    ImportedTitle record;
    record.title = item.title;
    record.volume = ReadVolumeId(cardPath);
    std::vector<SYSTEMTIME> times;
    if (ReadTitleParts(core, list, item.title, folder, &record, &times)) {
      // Imported before: nothing is copied again; its content files are handed on as present.
      for (size_t p = 0; p < record.parts.size(); ++p)
        if (hooks.registerFile)
          hooks.registerFile(ContentOfCopy(record.parts[p].copy), cardDrive, cardPath, times[p], true);
      out.present += static_cast<int>(record.parts.size());
      out.completed.push_back(item.title);
      out.imported.push_back(std::move(record));
      setPos(100 * (i + 1) / items);
      continue;
    }

    WCHAR wideFolder[MAX_PATH] = {};
    if (!MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wideFolder, MAX_PATH)) {
      out.code = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
      break;
    }
    const int destDrive = toupper(static_cast<unsigned char>(folder[0])) - 'A';
    const bool locked = !Failed(core->LockDevice(destDrive));
    auto unlock = [&] {
      if (locked) core->ReleaseDevice(destDrive);
    };
    long r = job->Reset();
    if (!Failed(r)) r = job->SetItem(list, item.title, wideFolder, VXBD_IMPORT_COPY);
    if (Failed(r)) {
      job->Abort();
      long ignored = 0;
      job->Wait(-1, &ignored);
      unlock();
      out.code = r;
      break;
    }
    HRESULT made = S_OK;
    CClipFactsWriter* writer = new (std::nothrow) CClipFactsWriter(&made);
    if (!writer) {
      unlock();
      out.code = E_OUTOFMEMORY;
      break;
    }
    writer->AddRef();  // ours
    if (FAILED(made)) {
      writer->Release();
      unlock();
      out.code = made;
      break;
    }
    writer->AddRef();  // the job's
    r = job->SetSink(writer);
    if (Failed(r)) writer->Release();
    if (!Failed(r)) r = job->Start();
    if (Failed(r)) {
      writer->Release();
      unlock();
      out.code = r;
      break;
    }
    SwitchToThread();

    long result = 0;
    while (job->Wait(100, &result) == VXBD_WAIT_RUNNING) {
      if (cancel) {
        if (hooks.disableCancel) hooks.disableCancel();
        job->Abort();
        job->Wait(-1, &result);
        out.cancelled = true;
        out.code = 1;
        break;
      }
      double percent = 0;
      job->GetProgress(&percent);
      setPos(static_cast<int>(100 * i / items + percent / items));
    }
    if (!out.cancelled && result != 0) {
      if (hooks.showError) hooks.showError(result == VXBD_E_DISK_FULL ? IDS_BROWSER_DISK_FULL : IDS_IMPORT_DISC_FAILED,
                                           result);
      out.code = result;
    }
    if (out.code == 0) {
      // One content file for each part, in the parts' order.
      const size_t produced = writer->GetContentFileCount();
      for (size_t j = 0; j < produced; ++j) {
        const std::string& content = writer->GetContentFile(j);
        const SYSTEMTIME recorded = j < times.size() ? times[j] : SYSTEMTIME{};
        if (j < record.parts.size()) record.parts[j].copy = CopyOfContent(content, record.parts[j].cardStream);
        if (hooks.registerFile) hooks.registerFile(content, cardDrive, cardPath, recorded, false);
      }
      writer->ClearContentFiles();
      out.produced += static_cast<int>(produced);
      out.completed.push_back(item.title);
      out.imported.push_back(std::move(record));
    }
    job->SetSink(nullptr);
    writer->Release();
    unlock();
    if (out.code != 0) break;
    if (out.produced >= kDiscFileLimit) {
      out.limitReached = true;
      break;
    }
  }
  if (out.code == 0) setPos(100);
  job->Release();
  return out;
}

CleanUpTally DeleteImportedTitles(IVxBDIntegrator* core, int list, std::vector<ImportedTitle> titles) {
  std::sort(titles.begin(), titles.end(),
            [](const ImportedTitle& a, const ImportedTitle& b) { return a.title > b.title; });
  CleanUpTally tally;
  for (const ImportedTitle& t : titles) {
    KeptBecause why = KeptBecause::kNotDeleted;
    long status = 0;
    if (!StillTheImportedTitle(core, list, t, &why))
      tally.Keep(why);
    else if (Failed(core->DeleteTitle(list, t.title)) || Failed(core->Wait(-1, &status)) || status < 0)
      tally.Keep(KeptBecause::kNotDeleted);
    else
      ++tally.deleted;
  }
  return tally;
}

}  // namespace cardtree
