// The exports over the table beside the library.
#include <PlaceFinder.h>

#include <new>

using placefinder::PlaceTable;

namespace {

HMODULE ThisModule() {
  static const char anchor = 0;
  HMODULE m = NULL;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, &anchor, &m);
  return m;
}

bool ReadTable(std::vector<char>* bytes) {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(ThisModule(), path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  char* slash = strrchr(path, '\\');
  if (!slash || (slash - path) + 1 + sizeof("PlaceFinder.dat") > MAX_PATH) return false;
  strcpy(slash + 1, "PlaceFinder.dat");
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart < (256 << 20);
  if (ok) {
    bytes->resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = ReadFile(h, bytes->data(), static_cast<DWORD>(bytes->size()), &got, NULL) && got == bytes->size();
  }
  CloseHandle(h);
  return ok;
}

void Put(LPSTR out, const std::string& s) {
  if (!out) return;
  lstrcpynA(out, s.c_str(), VXGPS_TEXT_CHARS);
}

}  // namespace

HANDLE WINAPI VxGPSInit() {
  std::vector<char> bytes;
  if (!ReadTable(&bytes)) return NULL;
  PlaceTable* table = new (std::nothrow) PlaceTable();
  if (!table) return NULL;
  if (!table->Load(std::move(bytes))) {
    delete table;
    return NULL;
  }
  return table;
}

long WINAPI VxGPSGetAddress(HANDLE hFinder, LPCSTR pszLatitude, LPCSTR pszLongitude, LPSTR pszA1, LPSTR pszA2,
                            LPSTR pszA3) {
  for (LPSTR out : {pszA1, pszA2, pszA3})
    if (out) *out = '\0';
  if (!hFinder) return E_HANDLE;
  double lat = 0, lng = 0;
  if (!pszLatitude || !pszLongitude || !placefinder::ParseCoordinate(pszLatitude, 90, &lat) ||
      !placefinder::ParseCoordinate(pszLongitude, 180, &lng))
    return E_INVALIDARG;
  placefinder::Place place;
  if (!static_cast<PlaceTable*>(hFinder)->Nearest(lat, lng, &place)) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  Put(pszA1, place.region);
  Put(pszA2, place.city);
  Put(pszA3, place.country);
  return 0;
}

void WINAPI VxGPSTerm(HANDLE hFinder) { delete static_cast<PlaceTable*>(hFinder); }
