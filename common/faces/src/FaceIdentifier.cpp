#include <FaceIdentifier.h>

#include <Kitlib2/Profile.h>
#include <VxResourceIds.h>
#include <fw/fw.h>
#include <libfacetag.h>
#include <shlobj.h>

#include <new>

namespace {

int ProfileInt(LPCSTR key, int fallback) { return CMGetProfileInt("VxClassify", key, fallback, CMPROFILE_COMMON); }

}  // namespace

std::string CFaceIdentifier::DefaultDbPath() {
  char appData[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA("GLIMORA_APPDATA_DIR", appData, MAX_PATH);
  if ((n == 0 || n >= MAX_PATH) && FAILED(SHGetFolderPathA(NULL, CSIDL_APPDATA | CSIDL_FLAG_CREATE, NULL, 0, appData)))
    return std::string();
  CString name;
  if (!name.LoadString(IDS_FACE_DB_FILE)) name = "\\faces.ftd";
  return std::string(appData) + "\\Norvane\\vxdb" + (LPCSTR)name;
}

HRESULT CFaceIdentifier::LoadDb() { return LoadDb(DefaultDbPath()); }

HRESULT CFaceIdentifier::LoadDb(const std::string& dbPath) {
  FreeBuffers();
  m_dbSize = FTAG_GetDbSize(FTAG_MAX_PERSONS);
  m_workSize = FTAG_GetWorkSize();
  if (m_dbSize <= 0 || m_workSize < 0) return E_FAIL;
  m_db = new (std::nothrow) uint8_t[(size_t)m_dbSize * 4]();
  m_work = new (std::nothrow) uint8_t[(size_t)std::max(m_workSize, 1) * 4]();
  if (!m_db || !m_work) {
    FreeBuffers();
    return E_OUTOFMEMORY;
  }
  m_dbPath = dbPath;
  if (GetFileAttributesA(m_dbPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
    HANDLE h = CreateFileA(m_dbPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) return E_FAIL;
    DWORD got = 0;
    LARGE_INTEGER size = {};
    const BOOL sized = GetFileSizeEx(h, &size);
    const BOOL read = ReadFile(h, m_db, (DWORD)m_dbSize, &got, NULL);
    CloseHandle(h);
    if (!read || !sized) return E_FAIL;
    if (size.QuadPart == m_dbSize && got == (DWORD)m_dbSize && FTAG_RestoreDb(m_db, m_work) == 0) {
      m_ready = true;
      return S_OK;
    }
    // Not a database this library reads: it starts empty, and the file is kept for
    // whoever can mend it rather than overwritten.
    memset(m_db, 0, (size_t)m_dbSize);
    m_keepAside = true;
  }
  if (FTAG_InitDb(m_db, m_work, FTAG_MAX_PERSONS) != 0) return E_FAIL;
  m_ready = true;
  return S_OK;
}

HRESULT CFaceIdentifier::FreeBuffers() {
  delete[] m_db;
  delete[] m_work;
  m_db = m_work = nullptr;
  m_ready = m_keepAside = false;
  return S_OK;
}

bool CFaceIdentifier::Attach() { return m_ready && FTAG_RestoreDb(m_db, m_work) == 0; }

HRESULT CFaceIdentifier::SaveDb() {
  if (!m_ready) return S_OK;
  if (m_dbPath.empty()) return FACEDB_E_NOT_SAVED;
  if (m_keepAside) {
    std::string aside = m_dbPath + ".bad";
    for (int n = 2; GetFileAttributesA(aside.c_str()) != INVALID_FILE_ATTRIBUTES && n < 1000; ++n)
      aside = m_dbPath + "." + std::to_string(n) + ".bad";
    // Unless it is safe elsewhere, the refused file is not overwritten.
    if (!MoveFileExA(m_dbPath.c_str(), aside.c_str(), 0) &&
        GetFileAttributesA(m_dbPath.c_str()) != INVALID_FILE_ATTRIBUTES)
      return FACEDB_E_NOT_SAVED;
    m_keptAside = aside;
    m_keepAside = false;
  }
  // A new profile has no folder for the file yet.
  const size_t cut = m_dbPath.find_last_of('\\');
  if (cut != std::string::npos) SHCreateDirectoryExA(NULL, m_dbPath.substr(0, cut).c_str(), NULL);
  // The whole image goes to a file of its own first: a crash or a full disk midway leaves
  // the saved file as it was.
  const std::string temp = m_dbPath + ".tmp";
  HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (h == INVALID_HANDLE_VALUE) return FACEDB_E_NOT_SAVED;
  DWORD written = 0;
  const bool whole =
      WriteFile(h, m_db, (DWORD)m_dbSize, &written, NULL) && written == (DWORD)m_dbSize && FlushFileBuffers(h);
  CloseHandle(h);
  if (!whole || !MoveFileExA(temp.c_str(), m_dbPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temp.c_str());
    return FACEDB_E_NOT_SAVED;
  }
  return S_OK;
}

std::vector<uint8_t> CFaceIdentifier::GreyImage(const BITMAPINFOHEADER* bih) {
  return GreyImage(bih, bih ? reinterpret_cast<const uint8_t*>(bih) + bih->biSize : nullptr);
}

std::vector<uint8_t> CFaceIdentifier::GreyImage(const BITMAPINFOHEADER* bih, const void* pixels) {
  std::vector<uint8_t> grey;
  if (!pixels) return grey;
  if (!bih || bih->biSize < sizeof(BITMAPINFOHEADER) || bih->biCompression != BI_RGB ||
      (bih->biBitCount != 24 && bih->biBitCount != 32) || bih->biWidth < kFaceImageWidth ||
      bih->biHeight < kFaceImageHeight || bih->biWidth > 32767 || bih->biHeight > 32767)
    return grey;
  const int bpp = bih->biBitCount / 8;
  // Rows step by the picture's own stride: a wider picture's rows are longer than 640 pixels.
  const size_t stride = ((size_t)bih->biWidth * bpp + 3) & ~(size_t)3;
  const uint8_t* bits = static_cast<const uint8_t*>(pixels);
  grey.resize((size_t)kFaceImageWidth * kFaceImageHeight);
  for (int y = 0; y < kFaceImageHeight; ++y) {
    const uint8_t* row = bits + (size_t)(bih->biHeight - 1 - y) * stride;  // the last stored row is the top
    for (int x = 0; x < kFaceImageWidth; ++x, row += bpp)
      grey[(size_t)y * kFaceImageWidth + x] = (uint8_t)((29 * row[0] + 150 * row[1] + 77 * row[2] + 128) >> 8);
  }
  return grey;
}

HRESULT CFaceIdentifier::SetImage(const BITMAPINFOHEADER* image) {
  return SetImage(image, image ? reinterpret_cast<const uint8_t*>(image) + image->biSize : nullptr);
}

HRESULT CFaceIdentifier::SetImage(const BITMAPINFOHEADER* image, const void* bits) {
  if (!image || !bits) return E_INVALIDARG;
  std::vector<uint8_t> grey = GreyImage(image, bits);
  if (grey.empty()) return E_INVALIDARG;
  FTAG_SetMinimumFaceWidth(ProfileInt("FaceWidth", 80));
  switch (FTAG_SetImage_Y8(grey.data(), kFaceImageWidth, kFaceImageHeight, 0)) {
    case 0: return S_OK;
    case -1: return E_FAIL;
    case -2: return (HRESULT)0x85000001;
    default: return S_FALSE;
  }
}

HRESULT CFaceIdentifier::GetNumberOfFace(WORD* count) {
  if (!count) return E_INVALIDARG;
  const int n = FTAG_GetFaceCount();
  if (n < 0) return E_FAIL;
  *count = (WORD)n;
  return S_OK;
}

HRESULT CFaceIdentifier::SetCurrentFace(int index) { return FTAG_SetCurrentFaceId(index) == -1 ? E_FAIL : S_OK; }

HRESULT CFaceIdentifier::GetFaceInfo(RECT* face, POINT* point1, POINT* point2) {
  FTAG_FEATURE f;
  FTAG_GetExtraFeature();
  if (FTAG_GetFeature(&f) == -1) return E_FAIL;
  if (face) *face = f.rcFace;
  if (point1) *point1 = f.ptLeftEye;
  if (point2) *point2 = f.ptRightEye;
  return S_OK;
}

HRESULT CFaceIdentifier::SelectFaceByRect(const RECT& rc) {
  WORD count = 0;
  if (FAILED(GetNumberOfFace(&count)) || count <= 1) return S_OK;
  for (int i = 0; i < count; ++i) {
    RECT face = {};
    if (SUCCEEDED(SetCurrentFace(i)) && SUCCEEDED(GetFaceInfo(&face, nullptr, nullptr)) && EqualRect(&face, &rc))
      return S_OK;
  }
  return E_FAIL;
}

HRESULT CFaceIdentifier::VerifyImage(short* candidates, short* scores, int length) {
  if (!Attach()) return E_FAIL;
  return FTAG_VerifyImage(candidates, scores, ProfileInt("PersonLevel", 50), length) ? S_OK : E_FAIL;
}

int CFaceIdentifier::StoreRecord(int user, int person) {
  if (!Attach()) return 0;
  const int record = FTAG_StoreRecord(user, person);
  if (record == -1) return 0;
  if (FAILED(SaveDb())) {
    // Kept only in memory, the face would be found this session and gone the next.
    FTAG_DeleteRecord(record);
    return kFaceRecordNotSaved;
  }
  return (WORD)record;
}

HRESULT CFaceIdentifier::DeleteRecord(int record) {
  if (!Attach() || FTAG_DeleteRecord(record) == -1) return E_FAIL;
  return SaveDb();
}

HRESULT CFaceIdentifier::DeleteUserRecord(int person) {
  if (!Attach() || FTAG_DeleteUserRecord(person) == -1) return E_FAIL;
  return SaveDb();
}

int CFaceIdentifier::GetTemplateSize() const { return FTAG_GetTemplateSize(); }

HRESULT CFaceIdentifier::GetTemplate(void* buffer) { return FTAG_GetTemplate(buffer) == -1 ? E_FAIL : S_OK; }
