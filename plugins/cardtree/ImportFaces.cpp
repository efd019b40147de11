#include "ImportFaces.h"

#include <Kitlib2/CMDIB.h>
#include <VxProperty.h>
#include <fw/fw.h>
#include <textkit/text.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace cardtree {

namespace {

void CopyText(char* out, size_t size, const std::string& text) {
  const size_t n = std::min(text.size(), size - 1);
  memcpy(out, text.data(), n);
  out[n] = '\0';
}

// A person's name as the camera wrote it: at most 18 bytes of UTF-8, not always ended;
// "" when it does not convert.
std::string TagName(const PRPERSON& person) {
  const size_t n = strnlen(person.szName, PR_PERSON_NAME_BYTES);
  std::string name;
  return textkit::TryUtf8ToAnsi(std::string(person.szName, n), &name) ? name : std::string();
}

}  // namespace

HRESULT IdentifyFace(CFaceIdentifier* faces, IVxDBFile* db, VXDBRECORD* record) {
  if (!faces || !record) return E_INVALIDARG;
  short candidates[5] = {}, values[5] = {};
  HRESULT hr = faces->Verify(candidates, values, sizeof candidates);
  if (FAILED(hr)) return hr;
  record->nCandidate1 = candidates[0];
  record->nScore = values[0];
  record->nCandidate2 = candidates[1];
  record->nCandidate3 = candidates[2];
  if (db) {
    CString name;
    if (SUCCEEDED(db->GetPersonName(candidates[0], &name))) CopyText(record->szName, sizeof record->szName, (LPCSTR)name);
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

bool StoreFaceRecords(const std::string& path, CFaceIdentifier* faces, IVxDBFile* db) {
  if (!db) return false;
  bool stored = false;
  auto store = [&](VXDBRECORD& r) {
    int added = 0;
    stored = SUCCEEDED(db->AddRecord(r, VXDB_KIND_FACE, &added)) || stored;
  };
  CCMDIB picture;
  WORD count = 0;
  if (faces && picture.ResizeAndRotate(path.c_str(), SIZE{kFaceImageWidth, kFaceImageHeight}, CMDIB_RESIZE_CANVAS) == 0 &&
      SUCCEEDED(faces->SetImage(&picture.GetBitmapInfoAddress()->bmiHeader, picture.GetBitsAddress())) &&
      SUCCEEDED(faces->GetFaceCount(&count))) {
    // More faces than the record table holds: the first ten.
    const int n = std::min<int>(count, kMaxFacesPerPicture);
    for (int i = 0; i < n; ++i) {
      VXDBRECORD r = {};
      CopyText(r.szPath, sizeof r.szPath, path);
      r.nFaceCount = count;
      if (FAILED(faces->SetCurrentFace(i)) || FAILED(IdentifyFace(faces, db, &r))) continue;
      store(r);
      // The database keeps its own copy of the template.
      delete[] static_cast<uint8_t*>(r.pTemplate);
    }
  }
  HPRPROPERTY h = PrInitGetPropertyString(path.c_str(), 0x40000001);
  PRPERSONS persons = {};
  if (h && PrGetPersonsStruct(h, &persons)) {
    for (int j = 0; j < persons.nCount && j < PR_PERSONS_MAX; ++j) {
      const std::string name = TagName(persons.persons[j]);
      if (name.empty()) break;
      VXDBRECORD r = {};
      CopyText(r.szPath, sizeof r.szPath, path);
      CopyText(r.szTagName, sizeof r.szTagName, name);
      store(r);
    }
  }
  if (h) PrExitGetPropertyString(h);
  return stored;
}

}  // namespace cardtree
