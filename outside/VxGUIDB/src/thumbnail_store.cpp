// CThumbnail and the stores: check marks (TickCache), favourites and records in the photo
// database (RecordGate, RecordGateEx), print orders on cards, supported devices.
#include "internal.h"

#include <RecordGate.h>
#include <RecordGateEx.h>
#include <TickCache.h>
#include <KitlibEx/KitlibEx.h>

#include <map>
#include <set>
#include <vector>

using namespace vxg;

namespace {
volatile LONG g_sessions = 0;
int g_sdAudioImageSizeFlag = 0;

// Favourite changes waiting for UpdateFavoriteDataBase: path (folded) -> (path, state).
std::map<std::string, std::pair<std::string, bool>>& PendingFavourites() {
  static std::map<std::string, std::pair<std::string, bool>> map;
  return map;
}

// The favourites of a folder, read in one go (folded paths), so that a folder's pictures do
// not ask the database one by one as they are decoded. Forgotten whenever the library writes
// to the database or a decode run starts (under the process-wide lock).
std::map<std::string, std::set<std::string>>& FavouriteSnapshots() {
  static std::map<std::string, std::set<std::string>> map;
  return map;
}
unsigned g_favouriteEpoch = 0;

// Whether path (in folder, with its final backslash) is a favourite by the folder's snapshot;
// false when the snapshot can't be read (the caller asks for the file alone).
bool FavouriteFromSnapshot(const std::string& folder, const std::string& path, bool* favourite) {
  const std::string folderKey = textkit::FoldCase(folder), key = textkit::FoldCase(path);
  unsigned epoch;
  {
    Guard lock;
    auto it = FavouriteSnapshots().find(folderKey);
    if (it != FavouriteSnapshots().end()) {
      *favourite = it->second.count(key) != 0;
      return true;
    }
    epoch = g_favouriteEpoch;
  }
  STRINGLIST* list = NULL;
  if (FAILED(VxDBWGetFolderFavorites(folder.c_str(), &list))) return false;
  std::set<std::string> keys;
  for (STRINGLIST* n = list; n; n = n->pNext)
    if (n->pszText) keys.insert(textkit::FoldCase(n->pszText));
  FreeStringList(list);
  *favourite = keys.count(key) != 0;
  Guard lock;
  if (epoch == g_favouriteEpoch) FavouriteSnapshots()[folderKey].swap(keys);
  return true;
}

// A missing database entry is no failure for the file operations: nothing had to follow.
HRESULT Settle(HRESULT hr) { return (hr == VXDB_E_NOTFOUND || hr == S_FALSE) ? S_OK : hr; }
}  // namespace

namespace vxg {
void ForgetFavouriteSnapshots() {
  Guard lock;
  ++g_favouriteEpoch;
  FavouriteSnapshots().clear();
}
}  // namespace vxg

extern "C" HRESULT WINAPI VxGUIDBInitialize(void) {
  HRESULT hr = VxDBWInitDatabase();
  if (FAILED(hr)) return hr;
  hr = Mark_Init();
  if (FAILED(hr)) {
    VxDBWExitDatabase(0);
    return hr;
  }
  InterlockedIncrement(&g_sessions);
  return S_OK;
}

extern "C" HRESULT WINAPI VxGUIDBFinalize(void) {
  if (InterlockedDecrement(&g_sessions) < 0) {
    InterlockedIncrement(&g_sessions);
    return S_FALSE;
  }
  Mark_Exit();
  return VxDBWExitDatabase(0);
}

// ---- Marks -------------------------------------------------------------------------------
int CThumbnail::GetMarkStatus(int nRefresh) {
  if (!IsCheckable()) return 0;
  if (nRefresh || !m_p->markKnown) {
    int state = 0;
    if (SUCCEEDED(Mark_GetCheck(m_p->path.c_str(), &state))) {
      m_p->mark = state;
      m_p->markKnown = true;
    }
  }
  return m_p->mark;
}

void CThumbnail::ReadMarkStatus(CThumbnail* const* ppItems, int nCount) {
  std::vector<CThumbnail*> unread;
  std::vector<LPCSTR> paths;
  for (int i = 0; ppItems && i < nCount; ++i) {
    CThumbnail* t = ppItems[i];
    if (!t || t->m_p->markKnown || !t->IsCheckable()) continue;
    unread.push_back(t);
    paths.push_back(t->m_p->path.c_str());
  }
  if (unread.empty()) return;
  std::vector<int> states(unread.size(), 0);
  if (FAILED(Mark_GetChecks(paths.data(), int(paths.size()), states.data()))) return;
  for (size_t i = 0; i < unread.size(); ++i) {
    if (states[i] < 0) continue;  // asked again one by one
    unread[i]->m_p->mark = states[i];
    unread[i]->m_p->markKnown = true;
  }
}

HRESULT CThumbnail::SetMarkStatus(int nState) {
  if (!IsCheckable()) return E_INVALIDARG;
  HRESULT hr = Mark_SetCheck(m_p->path.c_str(), nState);
  if (SUCCEEDED(hr)) {
    m_p->mark = nState;
    m_p->markKnown = true;
  }
  return hr;
}

int CThumbnail::GetAllCheckedImage(CStringList& paths) {
  paths.RemoveAll();
  STRINGLIST* list = NULL;
  if (FAILED(Mark_GetAllCheck(&list))) return 0;
  for (STRINGLIST* n = list; n; n = n->pNext)
    if (n->pszText) paths.AddTail(n->pszText);
  FreeStringList(list);
  return int(paths.GetCount());
}

// ---- Favourites ------------------------------------------------------------------------------
HRESULT CThumbnail::MyFavoriteExtract(int nKind) {
  if (!IsCheckable()) return E_INVALIDARG;
  if (nKind == 0) {
    bool pending = false, pendingFav = false;
    {
      Guard lock;
      auto it = PendingFavourites().find(textkit::FoldCase(m_p->path));
      if (it != PendingFavourites().end()) pending = true, pendingFav = it->second.second;
    }
    if (pending) {
      EnterCriticalSection(&m_p->cs);
      m_p->favDB = pendingFav;
      LeaveCriticalSection(&m_p->cs);
      return S_OK;
    }
    bool inFolder = false;
    if (FavouriteFromSnapshot(m_p->path.substr(0, m_p->nameOffset), m_p->path, &inFolder)) {
      EnterCriticalSection(&m_p->cs);
      m_p->favDB = inFolder;
      LeaveCriticalSection(&m_p->cs);
      return S_OK;
    }
    BOOL fav = FALSE;
    HRESULT hr = VxDBWGetFavorite(m_p->path.c_str(), &fav);
    // The decoder's callers refresh the mark from their threads while the views read it:
    // written and read under the item's lock.
    EnterCriticalSection(&m_p->cs);
    m_p->favDB = SUCCEEDED(hr) && fav;
    LeaveCriticalSection(&m_p->cs);
    return hr == VXDB_E_NOTFOUND ? S_OK : hr;
  }
  // The print-order file of the card the file lies on names it.
  CStringList printed;
  bool printedHere = false;
  if (CMTLxGetDPOFFileList(m_p->path.substr(0, 2).c_str(), "AUTPRINT", printed) > 0) {
    for (POSITION pos = printed.GetHeadPosition(); pos && !printedHere;)
      printedHere = textkit::EqualNoCase((LPCSTR)printed.GetNext(pos), m_p->path);
  }
  EnterCriticalSection(&m_p->cs);
  m_p->favDPOF = printedHere;
  LeaveCriticalSection(&m_p->cs);
  return S_OK;
}

HRESULT CThumbnail::MyFavoriteRenewal() { return MyFavoriteExtract(0); }

BOOL CThumbnail::IsMyFavoriteFromDB() const {
  EnterCriticalSection(&m_p->cs);
  BOOL b = m_p->favDB;
  LeaveCriticalSection(&m_p->cs);
  return b;
}

BOOL CThumbnail::IsMyFavoriteFromDPOFFile() const {
  EnterCriticalSection(&m_p->cs);
  BOOL b = m_p->favDPOF;
  LeaveCriticalSection(&m_p->cs);
  return b;
}

void CThumbnail::SetMyFavorite(BOOL bFavorite) {
  if (!IsCheckable()) return;
  EnterCriticalSection(&m_p->cs);
  m_p->favDB = bFavorite != FALSE;
  LeaveCriticalSection(&m_p->cs);
  Guard lock;
  PendingFavourites()[textkit::FoldCase(m_p->path)] = std::make_pair(m_p->path, bFavorite != FALSE);
}

HRESULT CThumbnail::UpdateFavoriteDataBase() {
  std::map<std::string, std::pair<std::string, bool>> pending;
  {
    Guard lock;
    pending.swap(PendingFavourites());
  }
  HRESULT result = S_OK;
  // Also a renewal's start: the database may have changed under the snapshots.
  if (pending.empty()) {
    ForgetFavouriteSnapshots();
    return result;
  }
  VxDBWBeginBatch();
  for (auto& e : pending) {
    const std::string& path = e.second.first;
    HRESULT hr = VxDBWSetFavorite(path.c_str(), e.second.second);
    if (hr == VXDB_E_NOTFOUND && e.second.second) {
      // A favourite of a file the database doesn't know yet: enrol it first.
      if (SUCCEEDED(VxDBWEnrollFile(path.c_str(), 0))) hr = VxDBWSetFavorite(path.c_str(), TRUE);
    } else if (hr == VXDB_E_NOTFOUND) {
      hr = S_OK;  // not a favourite and not known: nothing to write
    }
    if (FAILED(hr)) result = hr;
  }
  VxDBWEndBatch();
  ForgetFavouriteSnapshots();
  return result;
}

// ---- The photo database follows the disk --------------------------------------------------
HRESULT CThumbnail::CopyFileFromDatabase(LPCSTR pszSource, LPCSTR pszTarget) {
  if (!pszSource || !*pszSource || !pszTarget || !*pszTarget) return E_INVALIDARG;
  HRESULT hr = Settle(VxDBWCopyFile(pszSource, pszTarget));
  HRESULT mk = Settle(Mark_CopyCheck(pszSource, pszTarget));
  ForgetFavouriteSnapshots();
  return FAILED(hr) ? hr : mk;
}

HRESULT CThumbnail::MoveFileFromDatabase(LPCSTR pszSource, LPCSTR pszTarget) {
  if (!pszSource || !*pszSource || !pszTarget || !*pszTarget) return E_INVALIDARG;
  HRESULT hr, mk;
  if (IsFolderPath(pszTarget)) {
    hr = Settle(VxDBWMoveFolder(pszSource, pszTarget));
    mk = Settle(Mark_MoveFolder(pszSource, pszTarget));
  } else {
    hr = Settle(VxDBWMoveFile(pszSource, pszTarget));
    mk = Settle(Mark_MoveCheck(pszSource, pszTarget));
  }
  {
    // A favourite change not written yet follows the file too.
    Guard lock;
    auto& pend = PendingFavourites();
    auto it = pend.find(textkit::FoldCase(pszSource));
    if (it != pend.end()) {
      bool state = it->second.second;
      pend.erase(it);
      pend[textkit::FoldCase(pszTarget)] = std::make_pair(std::string(pszTarget), state);
    }
  }
  ForgetFavouriteSnapshots();
  return FAILED(hr) ? hr : mk;
}

HRESULT CThumbnail::DeleteFileFromDatabase(LPCSTR pszPath) {
  if (!pszPath || !*pszPath) return E_INVALIDARG;
  HRESULT hr, mk;
  bool folder = IsFolderPath(pszPath) || textkit::EndsWithSeparator(pszPath);
  if (folder) {
    hr = Settle(VxDBWDeleteFolderEx(pszPath));
    mk = Settle(Mark_DelAllCheckInFolder(pszPath));
  } else {
    hr = Settle(VxDBWDeleteFileEx(pszPath, VXDBW_DELETE_RECORDS));
    mk = Settle(Mark_SetCheck(pszPath, 0));
  }
  {
    Guard lock;
    PendingFavourites().erase(textkit::FoldCase(pszPath));
  }
  ForgetFavouriteSnapshots();
  return FAILED(hr) ? hr : mk;
}

HRESULT CThumbnail::DeleteDBInfo(LPCSTR pszPath, int nKind, LPCSTR pszPageName, LPCSTR pszValue) {
  if (!pszPath || !*pszPath) return E_INVALIDARG;
  LPCSTR value = (pszValue && *pszValue) ? pszValue : pszPageName;
  return VxDBWxDeleteClassification(pszPath, nKind, value);
}

// ---- Supported devices of content files -----------------------------------------------------
BOOL CThumbnail::IsCompSupportMaker(LPCSTR pszMaker, LPCSTR pszModel) {
  if (!pszMaker || !pszModel) return FALSE;
  std::string folder = ProgramFolder();
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  std::string gmr = folder + "\\gmr.ini", hw = folder + "\\Core\\MediaHwInfo.ini";
  for (unsigned i = 1;; ++i) {
    char key[32], code[256] = "";
    snprintf(key, sizeof(key), "MakerCode%03u", i);
    GetPrivateProfileStringA("SupportMaker", key, "", code, sizeof(code), gmr.c_str());
    if (!code[0]) return FALSE;
    if (strlen(code) != 10) continue;
    std::string maker = std::string("Maker") + std::string(code + 2, 4);
    std::string model = std::string("MMC") + std::string(code + 6, 4);
    char makerId[1024] = "", modelCode[1024] = "";
    GetPrivateProfileStringA("MakerID", maker.c_str(), "", makerId, sizeof(makerId), hw.c_str());
    GetPrivateProfileStringA("MakerModelCode", model.c_str(), "", modelCode, sizeof(modelCode), hw.c_str());
    if (!makerId[0] || !modelCode[0]) continue;
    if (strncmp(pszMaker, makerId, strlen(makerId)) == 0 && strncmp(pszModel, modelCode, strlen(modelCode)) == 0)
      return TRUE;
  }
}

void CThumbnail::SetSDAudioImageSizeFlag(int nFlag) { g_sdAudioImageSizeFlag = nFlag; }
int CThumbnail::GetSDAudioImageSizeFlag() { return g_sdAudioImageSizeFlag; }
