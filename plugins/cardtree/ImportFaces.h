// The persons of an imported picture: its faces identified against the face database and
// the names the camera tagged it with, each filed as a person record of the photo database.
#pragma once
#include <VxDatabase.h>

#include <string>

#include "FaceIdentifier.h"

namespace cardtree {

// The current face of the identifier as a classification record: the best candidates and
// their score, the best one's name from the database, and the face's template (a new[]
// buffer the caller frees). 0, or the failure (the record then holds no template).
HRESULT IdentifyFace(CFaceIdentifier* faces, IVxDBFile* db, VXDBRECORD* record);

// Every face of the picture (at most ten) that is identified, and every person name the
// file carries, stored as classification records. True when any record was stored.
bool StoreFaceRecords(const std::string& path, CFaceIdentifier* faces, IVxDBFile* db);

constexpr int kMaxFacesPerPicture = 10;

}  // namespace cardtree
