#include <FaceRecords.h>
#include <Kitlib2/CMDIB.h>
#include <VxProperty.h>
#include <fw/fw.h>
#include <textkit/text.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace faces {

void CopyText(char* out, size_t size, const std::string& text) {
  const std::string cut = textkit::CutToBytes(text, size - 1);
  memcpy(out, cut.data(), cut.size());
  out[cut.size()] = '\0';
}

std::string TagName(const char* utf8, size_t bytes) {
  const size_t n = strnlen(utf8, bytes);
  std::string name;
  return textkit::TryUtf8ToAnsi(std::string(utf8, n), &name) ? name : std::string();
}

namespace {

void Store(IVxDBFile* db, const VXDBRECORD& r, int* stored, int* added) {
  int one = 0;
  if (FAILED(db->AddRecord(r, VXDB_KIND_FACE, &one))) return;
  ++*stored;
  if (added) *added += one;
}

}  // namespace

HRESULT IdentifyFace(CFaceIdentifier* faces, IVxDBFile* db, VXDBRECORD* record) {
  if (!faces || !record) return E_INVALIDARG;
  short candidates[5] = {}, values[5] = {};
  HRESULT hr = faces->VerifyImage(candidates, values, sizeof candidates);
  if (FAILED(hr)) return hr;
  record->nCandidate1 = (WORD)candidates[0];
  record->nScore = (WORD)values[0];
  record->nCandidate2 = (WORD)candidates[1];
  record->nCandidate3 = (WORD)candidates[2];
  if (db) {
    CString name;
    if (SUCCEEDED(db->GetPersonName(candidates[0], &name)))
      CopyText(record->szName, sizeof record->szName, (LPCSTR)name);
  }
  const int size = faces->GetTemplateSize();
  if (size <= 0) return E_FAIL;
  uint8_t* buffer = new (std::nothrow) uint8_t[size];
  if (!buffer) return E_OUTOFMEMORY;
  record->nTemplateSize = size;
  record->pTemplate = buffer;
  if (FAILED(hr = faces->GetTemplate(buffer))) {
    delete[] buffer;
    record->nTemplateSize = 0;
    record->pTemplate = nullptr;
    return hr;
  }
  return S_OK;
}

int StoreIdentifiedFaces(const std::string& path, CFaceIdentifier* faces, int count, IVxDBFile* db, int* added) {
  int stored = 0;
  if (added) *added = 0;
  if (!faces || !db) return 0;
  // More faces than the record table holds: the first ten.
  const int n = std::min(count, kMaxFacesPerPicture);
  for (int i = 0; i < n; ++i) {
    VXDBRECORD r = {};
    CopyText(r.szPath, sizeof r.szPath, path);
    r.nFaceCount = count;
    if (FAILED(faces->SetCurrentFace(i)) || FAILED(IdentifyFace(faces, db, &r))) continue;
    Store(db, r, &stored, added);
    // The database keeps its own copy of the template.
    delete[] static_cast<uint8_t*>(r.pTemplate);
  }
  return stored;
}

int StoreTaggedPersons(const std::string& path, IVxDBFile* db, int* added) {
  if (added) *added = 0;
  if (!db) return -1;
  HPRPROPERTY h = PrInitGetPropertyString(path.c_str(), 0x40000001);
  PRPERSONS persons = {};
  const bool read = h && PrGetPersonsStruct(h, &persons);
  if (h) PrExitGetPropertyString(h);
  return read ? StoreTaggedNames(path, persons, db, added) : -1;
}

int StoreTaggedNames(const std::string& path, const PRPERSONS& persons, IVxDBFile* db, int* added) {
  if (added) *added = 0;
  if (!db) return -1;
  int stored = 0;
  for (int j = 0; j < persons.nCount && j < PR_PERSONS_MAX; ++j) {
    const std::string name = TagName(persons.persons[j].szName, PR_PERSON_NAME_BYTES);
    if (name.empty()) continue;
    VXDBRECORD r = {};
    CopyText(r.szPath, sizeof r.szPath, path);
    CopyText(r.szTagName, sizeof r.szTagName, name);
    Store(db, r, &stored, added);
  }
  return stored;
}

bool StoreFaceRecords(const std::string& path, CFaceIdentifier* faces, IVxDBFile* db, int* added,
                      const PRPERSONS* tagged) {
  if (added) *added = 0;
  if (!db) return false;
  int stored = 0, n = 0;
  CCMDIB picture;
  WORD count = 0;
  if (faces &&
      picture.ResizeAndRotate(path.c_str(), SIZE{kFaceImageWidth, kFaceImageHeight}, CMDIB_RESIZE_CANVAS) == 0 &&
      faces->SetImage(&picture.GetBitmapInfoAddress()->bmiHeader, picture.GetBitsAddress()) == S_OK &&
      SUCCEEDED(faces->GetNumberOfFace(&count)))
    stored += StoreIdentifiedFaces(path, faces, count, db, &n);
  if (added) *added += n;
  stored += std::max(0, tagged ? StoreTaggedNames(path, *tagged, db, &n) : StoreTaggedPersons(path, db, &n));
  if (added) *added += n;
  return stored > 0;
}

void LetGo(CFaceIdentifier** faces, CCMDIB** image, IVxDBFile** db) {
  if (*faces) (*faces)->FreeBuffers();
  delete *faces;
  *faces = nullptr;
  delete *image;
  *image = nullptr;
  if (*db) (*db)->Release();
  *db = nullptr;
}

}  // namespace faces
