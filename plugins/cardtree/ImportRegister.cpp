#include "ImportRegister.h"

#include <KitlibEx/KitlibEx.h>
#include <textkit/path.h>
#include <FaceRecords.h>
#include <Kitlib2/CMDIB.h>
#include <Kitlib2/Profile.h>
#include <PlaceFinder.h>
#include <RecordGate.h>
#include <RecordGateEx.h>
#include <VxDatabase.h>
#include <VxProperty.h>
#include <VxResourceIds.h>
#include <fw/fw.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "CardRules.h"
#include "ImportRun.h"

namespace cardtree {
namespace {

std::string Upper(std::string s) {
  CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

void Append(std::string* keyword, const std::string& part) {
  if (part.empty()) return;
  *keyword = keyword->empty() ? part : *keyword + "||" + part;
}

// A property text, "" for the reader's unknown "-".
std::string Property(HPRPROPERTY h, DWORD id) {
  LPCSTR t = h ? PrGetPropertyString(h, id) : nullptr;
  std::string s = t ? t : "";
  return s == "-" ? "" : s;
}

// The facts of an open set, which is closed; unknown without one.
PictureFacts FactsOfSet(HPRPROPERTY h) {
  PictureFacts f;
  if (!h) return f;
  f.known = true;
  f.hasDisk = SUCCEEDED(PrGetFileAttributeData(h, &f.disk));
  f.hasShot = SUCCEEDED(PrGetCaptureTime(h, &f.shot));
  f.maker = Property(h, 0);
  f.model = Property(h, 1);
  f.scene1 = Property(h, 0x80000);
  f.scene2 = Property(h, 0x90000);
  f.scene3 = Property(h, 0xA0000);
  f.scene4 = Property(h, 0x40000);
  f.sceneOther = Property(h, 0x70000);
  f.faceText = Property(h, 0x1000000);
  char lat[PR_GPS_TEXT_MAX] = "", lng[PR_GPS_TEXT_MAX] = "";
  if (SUCCEEDED(PrGetGpsDataOf(h, lat, lng, nullptr))) {
    f.gps = true;
    f.latitude = lat;
    f.longitude = lng;
  }
  if (!PrGetPersonsStruct(h, &f.persons)) f.persons = PRPERSONS();
  PrExitGetPropertyString(h);
  return f;
}

bool MakerNote(const std::string& path, WORD tag, DWORD* value) {
  CWordArray tags;
  tags.Add(tag);
  CDWordArray values;
  if (CCMDIB::GetMakerNoteValue(path.c_str(), "Norvane", tags, values) < 0 || values.GetSize() == 0) return false;
  *value = values[0];
  return true;
}

}  // namespace

RegisterOptions ReadRegisterOptions(const std::string& cardRoot, const std::string& keyword) {
  RegisterOptions o;
  o.classifyDate = CMGetProfileInt("CardTree", "ClassifyDate", 1);
  o.classifyModel = CMGetProfileInt("CardTree", "ClassifyModel", 1);
  o.classifyScene = CMGetProfileInt("CardTree", "ClassifyScene", 1);
  o.classifyFolder = CMGetProfileInt("CardTree", "ClassifyFolder", 1);
  o.classifyGps = CMGetProfileInt("CardTree", "ClassifyGPS", 1);
  o.classifyFace = CMGetProfileInt("CardTree", "ClassifyFace", 1);
  o.classifyPersonal = CMGetProfileInt("CardTree", "ClassifyPersonal", 1);
  o.syModel = CMGetProfileInt("SyModel", "Flag", 0);
  o.syGps = CMGetProfileInt("SyGPS2", "Flag", 0);
  o.copySupport = CMGetProfileInt(kSettings, "CopySupport", 0);
  o.keyword = keyword;
  o.today = FormatTodayDate();
  if (cardRoot.size() >= 2) {
    CStringList list;
    CMTLxGetDPOFFileList(cardRoot.substr(0, 2).c_str(), "AUTPLAY3", list);
    for (POSITION p = list.GetHeadPosition(); p;) o.autoPlay.insert(Upper(static_cast<LPCSTR>(list.GetNext(p))));
  }
  return o;
}

void FolderEntryOf(const std::string& destination, std::string* name, std::string* path) {
  size_t slash = textkit::LastSeparator(destination);
  *path = slash == std::string::npos ? "" : destination.substr(0, slash + 1);
  std::string dir = path->size() > 1 ? path->substr(0, path->size() - 1) : "";
  *name = dir.substr(textkit::NameOffset(dir));
}

namespace {

// "51/30/3" to {51, 30, 3}; false for another text.
bool ParseDms(const char* text, int out[3]) {
  int d = 0, m = 0, sec = 0;
  char tail = 0;
  if (sscanf(text, "%d/%d/%d%c", &d, &m, &sec, &tail) != 3) return false;
  out[0] = d;
  out[1] = m;
  out[2] = sec;
  return true;
}

// The place entry of a picture that carries a position and lies near a known city.
void PlaceOf(const PictureFacts& f, HANDLE finder, Classification* c) {
  if (!f.gps) return;
  char a1[VXGPS_TEXT_CHARS], a2[VXGPS_TEXT_CHARS], a3[VXGPS_TEXT_CHARS];
  if (VxGPSGetAddress(finder, f.latitude.c_str(), f.longitude.c_str(), a1, a2, a3) < 0) return;
  if (!ParseDms(f.latitude.c_str(), c->latitude) || !ParseDms(f.longitude.c_str(), c->longitude)) return;
  c->area = a1;
  c->city = a2;
  c->place = a3;
  c->location = true;
}

}  // namespace

PictureFacts PictureFactsOfFile(const std::string& path) {
  return FactsOfSet(PrInitGetPropertyString(path.c_str(), PR_INIT_CAMERA));
}

PictureFacts WithRecordingTime(PictureFacts facts, const SYSTEMTIME& recorded) {
  FILETIME valid;
  if (SystemTimeToFileTime(&recorded, &valid)) {
    facts.hasShot = true;
    facts.shot = recorded;
  }
  facts.known = true;
  return facts;
}

PictureFacts PictureFactsOfHead(const std::string& path, const void* head, size_t size,
                                const safecopy::FileStamp* placed) {
  WIN32_FILE_ATTRIBUTE_DATA disk = {};
  if (placed) {
    disk.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    disk.ftCreationTime = placed->created;
    disk.ftLastWriteTime = disk.ftLastAccessTime = placed->copyWritten;
    disk.nFileSizeHigh = static_cast<DWORD>(placed->size >> 32);
    disk.nFileSizeLow = static_cast<DWORD>(placed->size);
  }
  return FactsOfSet(PrInitGetPropertyStringOfHeadEx(path.c_str(), head, static_cast<DWORD>(size),
                                                    placed ? &disk : nullptr, PR_INIT_CAMERA));
}

namespace {

// Whether the entries need the file's properties (model, scene, faces, position).
bool NeedsProperties(const RegisterOptions& o) {
  return (o.syModel && o.classifyModel) || o.classifyScene || o.classifyFace ||
         (o.syGps && o.classifyGps && o.placeFinder);
}

// The entries, with the file's content facts (unknown: the file's own entries).
Classification ClassifyWith(const PictureFacts& f, const std::string& destination, const std::string& source, long shot,
                            long access, long creation, const RegisterOptions& o) {
  Classification c;
  c.shot = shot;
  c.access = access;
  c.creation = creation;
  if (o.classifyDate) c.date = true;
  c.keyword = o.keyword;
  // Texts are looked up only where a keyword needs them: two lookups per file showed in
  // the registration's time.
  std::string unknownKey;
  if (!c.keyword.empty() || (o.copySupport & 0x1)) unknownKey = ResourceString(IDS_GROUP_UNKNOWN_KEY);
  if (!c.keyword.empty()) {
    const std::string unknown = ResourceString(IDS_GROUP_UNKNOWN);
    if ((!unknownKey.empty() && lstrcmpiA(c.keyword.c_str(), unknownKey.c_str()) == 0) ||
        (!unknown.empty() && lstrcmpiA(c.keyword.c_str(), unknown.c_str()) == 0))
      c.keyword = unknownKey;
  }
  if (o.copySupport & 0x100) {
    char text[256];
    snprintf(text, sizeof text, ResourceString(IDS_IMPORT_KEYWORD_DATE).c_str(), o.today.c_str());
    Append(&c.keyword, text);
  }
  if ((o.copySupport & 0x1) && o.autoPlay.count(Upper(source))) {
    Append(&c.keyword, unknownKey);
    c.date = true;
  }
  if (o.copySupport & 0x2) {
    DWORD v = 0;
    if (MakerNote(destination, 0x1F, &v) && (v == 23 || v == 33)) {
      Append(&c.keyword, ResourceString(v == 23 ? IDS_IMPORT_KEYWORD_PROTECTED : IDS_IMPORT_KEYWORD_MARKED));
      c.date = true;
    }
    if (MakerNote(destination, 0x36, &v) && v != 0xFFFF) {
      Append(&c.keyword, ResourceString(IDS_CLASSIFY_SCENE_OTHER));
      c.date = true;
    }
  }
  if (shot < 0 && c.date) Append(&c.keyword, ResourceString(IDS_IMPORT_KEYWORD_NO_DATE));

  if (o.syModel && o.classifyModel) {
    c.maker = f.maker;
    c.modelName = f.model;
    c.model = !c.maker.empty();
  }
  if (o.classifyScene) {
    c.scene1 = f.scene1;
    c.scene2 = f.scene2;
    c.scene3 = f.scene3;
    c.scene4 = f.scene4;
    if (!c.scene4.empty()) c.scene4 = f.sceneOther.empty() ? ResourceString(IDS_CLASSIFY_SCENE_OTHER) : f.sceneOther;
    c.scene = !c.scene1.empty() || !c.scene2.empty();
  }
  if (o.classifyFace) {
    c.faceText = f.faceText;
    c.face = true;
  }
  if (o.syGps && o.classifyGps && o.placeFinder) PlaceOf(f, o.placeFinder, &c);
  if (o.classifyFolder) {
    FolderEntryOf(destination, &c.folderName, &c.folderPath);
    c.folder = true;
  }
  return c;
}

}  // namespace

Classification ClassifyImportedFile(const std::string& destination, const std::string& source, long shot,
                                    long access, long creation, const RegisterOptions& o) {
  const PictureFacts f = NeedsProperties(o) ? PictureFactsOfFile(destination) : PictureFacts();
  return ClassifyWith(f, destination, source, shot, access, creation, o);
}

bool ReadImportedFile(const std::string& destination, const std::string& source, const RegisterOptions& o,
                      Classification* c, const PictureFacts* known) {
  // Known facts came from the copy, which may be minutes ago: a file gone since is passed
  // over, and the look gives the times the entry keeps. Otherwise one read of the file
  // serves the capture time, every entry and the file's times.
  const bool fresh = !(known && known->known);
  const PictureFacts f = fresh ? PictureFactsOfFile(destination) : *known;
  WIN32_FILE_ATTRIBUTE_DATA a = f.disk;
  if (!(fresh && f.hasDisk) && !GetFileAttributesExA(destination.c_str(), GetFileExInfoStandard, &a)) return false;
  SYSTEMTIME shot = f.shot;
  const long shotTime = f.hasShot ? CCMDIB::LocalTimeToTime32(shot) : -1;
  *c = ClassifyWith(f, destination, source, shotTime, CCMDIB::FileTimeToTime32(a.ftLastAccessTime),
                    CCMDIB::FileTimeToTime32(a.ftCreationTime), o);
  c->disk = a;
  c->hasDisk = true;
  return true;
}

HRESULT RegisterClassified(const std::string& destination, const Classification& c) {
  METADATA* list = nullptr;
  if (c.date) VxDBWxCreateDateTimeInfoList(&list, c.shot, c.access, c.creation);
  if (!c.keyword.empty()) VxDBWxCreateKeywordList(&list, c.keyword.c_str());
  if (c.model) VxDBWxCreateModelList(&list, c.maker.c_str(), c.modelName.c_str());
  if (c.scene) VxDBWxCreateSceneList(&list, c.scene1.c_str(), c.scene2.c_str(), c.scene3.c_str(), c.scene4.c_str());
  if (c.folder) VxDBWxCreateFolderList(&list, c.folderName.c_str(), c.folderPath.c_str());
  if (c.face) VxDBWxCreateFaceList(&list, c.faceText.c_str());
  if (c.location)
    VxDBWxCreateLocationList(&list, 0, c.area.c_str(), c.city.c_str(), c.place.c_str(), c.latitude, c.longitude, 0);
  // One call: an earlier entry of the path goes, the file is entered anew with its list.
  HRESULT hr = VxDBWRegisterFileEx(destination.c_str(), list, c.hasDisk ? &c.disk : nullptr);
  VxDBWxFreeRegisterList(&list);
  return hr;
}

namespace {

// Reads the files' times and entries on a thread ahead of the database, which takes them in
// order. Under Wine every file's opening costs round trips to the server, which serves one
// at a time: more reading threads only slowed the database's thread (10,000 files: 3.1 x
// the bare inserts with one, 3.4-3.9 x with two, 4.6 x with four). A file whose content
// facts are known is not opened: its entries are made when the database takes it.
class ClassifyAhead {
 public:
  ClassifyAhead(const std::vector<std::string>& destinations, const std::vector<std::string>& sources,
                const RegisterOptions& options, const std::vector<PictureFacts>& facts)
      : destinations_(destinations), sources_(sources), options_(options), facts_(facts),
        items_(destinations.size()) {
    size_t unread = 0;
    for (size_t k = 0; k < destinations.size(); ++k) unread += !Known(k);
    if (unread) reader_ = std::thread([this] { Work(); });
  }
  ~ClassifyAhead() {
    quit_ = true;
    if (reader_.joinable()) reader_.join();
  }
  // File k's entries, once read; false when the file is gone.
  bool Take(size_t k, Classification* c) {
    if (Known(k)) return ReadImportedFile(destinations_[k], Source(k), options_, c, &facts_[k]);
    Item& item = items_[k];
    // The reader is mostly ahead: a short wait yields; a long one sleeps until told.
    for (int spin = 0; !item.done.load() && spin < kYields; ++spin) SwitchToThread();
    if (!item.done.load()) {
      std::unique_lock<std::mutex> hold(lock_);
      waiting_ = true;
      ready_.wait(hold, [&] { return item.done.load(); });
      waiting_ = false;
    }
    *c = std::move(item.c);
    return item.present;
  }

 private:
  static constexpr int kYields = 200;
  // Handed over without a lock: a lock and a wake-up per file slowed the database's
  // thread while the reader ran.
  struct Item {
    Classification c;
    bool present = false;
    std::atomic<bool> done{false};
  };
  bool Known(size_t k) const { return k < facts_.size() && facts_[k].known; }
  std::string Source(size_t k) const { return k < sources_.size() ? sources_[k] : std::string(); }
  void Work() {
    for (size_t k; !quit_ && (k = next_++) < items_.size();) {
      if (Known(k)) continue;
      Item& item = items_[k];
      item.present = ReadImportedFile(destinations_[k], Source(k), options_, &item.c);
      item.done.store(true);
      if (waiting_.load()) {
        std::lock_guard<std::mutex> hold(lock_);
        ready_.notify_all();
      }
    }
  }
  const std::vector<std::string>& destinations_;
  const std::vector<std::string>& sources_;
  const RegisterOptions& options_;
  const std::vector<PictureFacts>& facts_;
  std::vector<Item> items_;
  std::atomic<size_t> next_{0};
  std::atomic<bool> quit_{false}, waiting_{false};
  std::mutex lock_;
  std::condition_variable ready_;
  std::thread reader_;
};

}  // namespace

int RegisterImportedFiles(const std::vector<std::string>& destinations, const std::vector<std::string>& sources,
                          const RegisterOptions& options, const std::function<void(size_t, size_t)>& progress,
                          const std::vector<PictureFacts>& facts) {
  int entered = 0;
  // Persons go through the database's file object, kept for the batch.
  IVxDBFile* persons = options.classifyPersonal ? GetDBFileObject() : nullptr;
  bool stored = false;
  ClassifyAhead ahead(destinations, sources, options, facts);
  VxDBWBeginBatch();
  for (size_t k = 0; k < destinations.size(); ++k) {
    if (progress) progress(k + 1, destinations.size());
    const std::string& d = destinations[k];
    Classification c;
    if (!ahead.Take(k, &c)) continue;
    // The person tags too came with the copy's facts.
    const PRPERSONS* tagged = k < facts.size() && facts[k].known ? &facts[k].persons : nullptr;
    if (persons) stored = faces::StoreFaceRecords(d, options.faces, persons, nullptr, tagged) || stored;
    if (SUCCEEDED(RegisterClassified(d, c))) ++entered;
  }
  VxDBWEndBatch();
  if (persons) {
    if (stored) persons->Commit();
    persons->Release();
  }
  return entered;
}

int RegisterCopyRun(const CopyOutcome& copied, const CopyPlan& plan, const RegisterOptions& options,
                    const std::function<void(size_t, size_t)>& progress) {
  std::vector<std::string> targets = copied.copiedTargets, sources = copied.copiedSources;
  // The present files have no facts: they are read.
  for (size_t i = 0; i < plan.presentTargets.size() && i < plan.presentSources.size(); ++i)
    if (VxDBWIsEnrolled(plan.presentTargets[i].c_str()) != S_OK) {
      targets.push_back(plan.presentTargets[i]);
      sources.push_back(plan.presentSources[i]);
    }
  return RegisterImportedFiles(targets, sources, options, progress, copied.facts);
}

}  // namespace cardtree
