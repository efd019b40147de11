// The persons of an imported picture: its faces identified against the face database and
// the names the camera tagged it with, each filed as a person record of the photo database.
#pragma once
#include <Kitlib2/CMDIB.h>
#include <VxDatabase.h>
#include <VxProperty.h>

#include <string>

#include <FaceIdentifier.h>

namespace faces {

// The current face of the identifier as a classification record: the best candidates and
// their score, the best one's name from the database, and the face's template (a new[]
// buffer the caller frees). 0, or the failure (the record then holds no template).
HRESULT IdentifyFace(CFaceIdentifier* faces, IVxDBFile* db, VXDBRECORD* record);

// Every face of the picture (at most ten) that is identified, and every person name the
// file carries, stored as classification records. True when any record was stored;
// added counts the records the database reported as new. tagged: the file's person tags
// as already read (none: they are read from the file).
bool StoreFaceRecords(const std::string& path, CFaceIdentifier* faces, IVxDBFile* db, int* added = nullptr,
                      const PRPERSONS* tagged = nullptr);
// The identified faces of the picture already set in the identifier (count faces, the
// first ten used): the records stored; added counts those the database reported as new.
int StoreIdentifiedFaces(const std::string& path, CFaceIdentifier* faces, int count, IVxDBFile* db, int* added);
// The person names the file carries (the camera's tags): the records stored, or -1 when
// the tags cannot be read; added as above.
int StoreTaggedPersons(const std::string& path, IVxDBFile* db, int* added);
// The same for tags already read (PrGetPersonsStruct's answer): the records stored.
int StoreTaggedNames(const std::string& path, const PRPERSONS& persons, IVxDBFile* db, int* added);
// A name as the camera wrote it: at most 18 bytes of UTF-8, not always ended; "" when it
// does not convert.
std::string TagName(const char* utf8, size_t bytes);
// What a user of the face database holds, let go: the identifier (buffers freed, then
// deleted), the working picture and the photo database object; each pointer left null.
void LetGo(CFaceIdentifier** faces, CCMDIB** image, IVxDBFile** db);
// Text into a fixed field, always ended; a double-byte character is never split.
void CopyText(char* out, size_t size, const std::string& text);

}  // namespace faces
