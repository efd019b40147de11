// Entering imported files into the photo database with the entries that classify them
// (date, keywords, model, scene, folder, the camera's face text). The decisions are made
// first, without the database, so that tests read them.
#pragma once
#include <windows.h>

#include <VxProperty.h>
#include <safecopy/SafeCopy.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

class CFaceIdentifier;

namespace cardtree {

struct RegisterOptions {
  int classifyDate = 1, classifyModel = 1, classifyScene = 1, classifyFolder = 1, classifyGps = 1,
      classifyFace = 1, classifyPersonal = 1;
  int syModel = 0, syGps = 0;  // the model and place entries need these too
  int copySupport = 0;         // 0x1 auto-play keyword, 0x2 maker-note keywords, 0x100 import date
  std::string keyword;         // the import's keyword text
  std::set<std::string> autoPlay;  // upper-cased card paths of the auto-play order
  std::string today;               // the import date in the user's order
  HANDLE placeFinder = nullptr;    // PlaceFinder's handle once it is ready; none: no place entries
  CFaceIdentifier* faces = nullptr;  // the import's face identifier; none: only the files' person names
};
// The switches from the profile, the auto-play order of the card at cardRoot.
RegisterOptions ReadRegisterOptions(const std::string& cardRoot, const std::string& keyword);

struct Classification {
  // The file's size and times as its times were read (the entry keeps size and last write).
  WIN32_FILE_ATTRIBUTE_DATA disk = {};
  bool hasDisk = false;
  bool date = false;
  long shot = -1, access = -1, creation = -1;
  std::string keyword;  // parts joined by "||"
  bool model = false;
  std::string maker, modelName;
  bool scene = false;
  std::string scene1, scene2, scene3, scene4;
  bool folder = false;
  std::string folderName, folderPath;
  bool face = false;
  std::string faceText;
  // The place of a GPS picture: area (region), city and place (country) of the nearest
  // city, and the position as degrees, minutes, seconds.
  bool location = false;
  std::string area, city, place;
  int latitude[3] = {0, 0, 0}, longitude[3] = {0, 0, 0};
};
// What the registration reads of a file's content: capture time, camera, scenes, face text
// and position, as the property reader gives them. known false: not read (no entries from
// the content).
struct PictureFacts {
  bool known = false;
  bool hasShot = false;
  SYSTEMTIME shot = {};  // local
  std::string maker, model, scene1, scene2, scene3, scene4, sceneOther, faceText;
  bool gps = false;
  std::string latitude, longitude;  // "51/30/3"
  PRPERSONS persons = {};           // the camera's person tags (none when unreadable)
  // The file's attributes, size and times as the facts were read.
  bool hasDisk = false;
  WIN32_FILE_ATTRIBUTE_DATA disk = {};
};
// From the file, which is opened once.
PictureFacts PictureFactsOfFile(const std::string& path);
// From the first bytes of the file's content (the copy's first block), without opening it;
// unknown when they don't tell all that reading the file would.
// With the stamp of a copy that has just placed the file, its size and times come from the
// stamp and the disk is not looked at.
PictureFacts PictureFactsOfHead(const std::string& path, const void* head, size_t size,
                                const safecopy::FileStamp* placed = nullptr);

// A clip's facts with the recording time its disc title hands over: that time is when the
// clip was shot (a time that is no date leaves the facts as they are). The facts count as
// known, so that the registration does not read the file again.
PictureFacts WithRecordingTime(PictureFacts facts, const SYSTEMTIME& recorded);

// The entries a copied file gets: destination on disk, its source on the card and its
// three times (capture, last access, creation; -1 unknown).
Classification ClassifyImportedFile(const std::string& destination, const std::string& source, long shot,
                                    long access, long creation, const RegisterOptions& options);
// The same with the times read from the file, which is read once for all of it (its
// content not at all when known holds its facts). False when the file is gone.
bool ReadImportedFile(const std::string& destination, const std::string& source, const RegisterOptions& options,
                      Classification* c, const PictureFacts* known = nullptr);
// "D:\P\2010_05_01\A.JPG" -> "2010_05_01" and "D:\P\2010_05_01\".
void FolderEntryOf(const std::string& destination, std::string* name, std::string* path);

// Enters one file anew with its entries. S_OK, or the database's failure.
HRESULT RegisterClassified(const std::string& destination, const Classification& c);
// Enters the copied files (times from the files) in one batch; files already gone are
// passed over. facts (optional, by index) holds what the copy read of their content; a
// file without known facts is read. progress(k, n) before each. Answers how many were
// entered.
int RegisterImportedFiles(const std::vector<std::string>& destinations, const std::vector<std::string>& sources,
                          const RegisterOptions& options,
                          const std::function<void(size_t, size_t)>& progress = nullptr,
                          const std::vector<PictureFacts>& facts = {});

struct CopyOutcome;
struct CopyPlan;
// Enters what a copy run copied, and the files already at the destination that no entry
// holds yet (an identical copy a killed run left behind). Answers how many were entered.
int RegisterCopyRun(const CopyOutcome& copied, const CopyPlan& plan, const RegisterOptions& options,
                    const std::function<void(size_t, size_t)>& progress = nullptr);

}  // namespace cardtree
