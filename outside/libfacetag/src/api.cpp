// The exports: one current picture and face, the cascade beside the library.
#include <mutex>

#include "facetag_core.h"

using namespace facetag;

namespace {

const char kWorkTag[4] = {'F', 'T', 'W', 'K'};

struct State {
  std::mutex m;
  bool cascadeTried = false;
  Cascade cascade;
  int minWidth = 80;
  uint8_t* db = nullptr;
  std::vector<uint8_t> grey;
  int w = 0, h = 0;
  std::vector<FaceRect> faces;
  std::vector<std::vector<uint8_t>> templates;
  int current = -1;
  // The current face's eyes once FTAG_GetExtraFeature looked for them.
  bool eyesFound = false;
  POINT eyes[2] = {};
};
State g;

void LoadCascade() {
  if (g.cascadeTried) return;
  g.cascadeTried = true;
  static const char anchor = 0;
  HMODULE m = NULL;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, &anchor, &m);
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(m, path, MAX_PATH);
  char* slash = n && n < MAX_PATH ? strrchr(path, '\\') : nullptr;
  if (!slash || (slash - path) + sizeof("\\FaceCascade.dat") > MAX_PATH) return;
  strcpy(slash + 1, "FaceCascade.dat");
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (h == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size = {};
  std::vector<uint8_t> bytes;
  if (GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart < (16 << 20)) {
    bytes.resize((size_t)size.QuadPart);
    DWORD got = 0;
    if (!ReadFile(h, bytes.data(), (DWORD)bytes.size(), &got, NULL) || got != bytes.size()) bytes.clear();
  }
  CloseHandle(h);
  g.cascade.Load(bytes);
}

}  // namespace

int WINAPI FTAG_GetDbSize(int nPersons) {
  return nPersons > 0 && nPersons <= FTAG_MAX_PERSONS ? (int)DbSize(nPersons) : -1;
}
int WINAPI FTAG_GetWorkSize(void) { return 64; }

int WINAPI FTAG_InitDb(void* pDb, void* pWork, int nPersons) {
  std::lock_guard<std::mutex> l(g.m);
  if (!pDb || !pWork || !InitDb(static_cast<uint8_t*>(pDb), nPersons)) return -1;
  memcpy(pWork, kWorkTag, 4);
  g.db = static_cast<uint8_t*>(pDb);
  return 0;
}

int WINAPI FTAG_RestoreDb(void* pDb, void* pWork) {
  std::lock_guard<std::mutex> l(g.m);
  if (!pDb || !pWork || !CheckDb(static_cast<uint8_t*>(pDb))) return -1;
  memcpy(pWork, kWorkTag, 4);
  g.db = static_cast<uint8_t*>(pDb);
  return 0;
}

int WINAPI FTAG_SetMinimumFaceWidth(int nWidth) {
  std::lock_guard<std::mutex> l(g.m);
  g.minWidth = std::max(1, nWidth);
  return 0;
}

int WINAPI FTAG_SetImage_Y8(const unsigned char* pGrey, int nWidth, int nHeight, int) {
  std::lock_guard<std::mutex> l(g.m);
  g.faces.clear();
  g.templates.clear();
  g.current = -1;
  if (!pGrey || nWidth <= 0 || nHeight <= 0 || nWidth > 8192 || nHeight > 8192) return -1;
  LoadCascade();
  if (g.cascade.stages.empty()) return 1;
  if (nWidth < g.cascade.width || nHeight < g.cascade.height) return -2;
  g.grey.assign(pGrey, pGrey + (size_t)nWidth * nHeight);
  g.w = nWidth;
  g.h = nHeight;
  g.faces = g.cascade.Detect(g.grey, nWidth, nHeight, g.minWidth);
  for (const FaceRect& f : g.faces) g.templates.push_back(MakeTemplate(g.grey, g.w, g.h, f));
  return 0;
}

int WINAPI FTAG_GetFaceCount(void) {
  std::lock_guard<std::mutex> l(g.m);
  return (int)g.faces.size();
}

int WINAPI FTAG_SetCurrentFaceId(int nIndex) {
  std::lock_guard<std::mutex> l(g.m);
  if (nIndex < 0 || nIndex >= (int)g.faces.size()) return -1;
  g.current = nIndex;
  g.eyesFound = false;
  return 0;
}

int WINAPI FTAG_GetFeature(FTAG_FEATURE* p) {
  std::lock_guard<std::mutex> l(g.m);
  if (!p || g.current < 0) return -1;
  const FaceRect& f = g.faces[g.current];
  memset(p, 0, sizeof *p);
  p->rcFace = {f.x, f.y, f.x + f.w, f.y + f.h};
  // Where a frontal face's eyes sit in the cascade's window.
  p->ptLeftEye = {f.x + f.w * 3 / 10, f.y + f.h * 2 / 5};
  p->ptRightEye = {f.x + f.w * 7 / 10, f.y + f.h * 2 / 5};
  if (g.eyesFound) {
    p->ptLeftEye = g.eyes[0];
    p->ptRightEye = g.eyes[1];
  }
  return 0;
}

int WINAPI FTAG_GetExtraFeature(void) {
  std::lock_guard<std::mutex> l(g.m);
  if (g.current < 0) return -1;
  const auto eyes = FindEyes(g.grey, g.w, g.h, g.faces[g.current]);
  g.eyes[0] = eyes.first;
  g.eyes[1] = eyes.second;
  g.eyesFound = true;
  return 0;
}

int WINAPI FTAG_VerifyImage(short* pCandidates, short* pScores, int nLevel, int cbLength) {
  std::lock_guard<std::mutex> l(g.m);
  if (!pCandidates || !pScores || cbLength < 2) return 0;
  const int slots = cbLength / 2;
  memset(pCandidates, 0, slots * sizeof(short));
  memset(pScores, 0, slots * sizeof(short));
  if (g.current < 0 || !g.db) return 0;
  const auto best = Candidates(g.db, g.templates[g.current]);
  int above = 0;
  for (int i = 0; i < slots && i < (int)best.size(); ++i) {
    pCandidates[i] = (short)best[i].first;
    pScores[i] = (short)best[i].second;
    if (best[i].second >= nLevel) ++above;
  }
  return above;
}

int WINAPI FTAG_GetTemplateSize(void) { return FTAG_TEMPLATE_BYTES; }

int WINAPI FTAG_GetTemplate(void* pBuffer) {
  std::lock_guard<std::mutex> l(g.m);
  if (!pBuffer || g.current < 0) return -1;
  memcpy(pBuffer, g.templates[g.current].data(), FTAG_TEMPLATE_BYTES);
  return 0;
}

int WINAPI FTAG_StoreRecord(int nUser, int nPerson) {
  std::lock_guard<std::mutex> l(g.m);
  if (g.current < 0 || !g.db) return -1;
  return StoreRecord(g.db, nUser, nPerson, g.templates[g.current]);
}

int WINAPI FTAG_DeleteRecord(int nRecord) {
  std::lock_guard<std::mutex> l(g.m);
  return g.db ? DeleteRecord(g.db, nRecord) : -1;
}

int WINAPI FTAG_DeleteUserRecord(int nPerson) {
  std::lock_guard<std::mutex> l(g.m);
  return g.db ? DeleteUserRecords(g.db, nPerson) : -1;
}
