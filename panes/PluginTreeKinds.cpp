// The texts that special items of a plug-in tree stand for: folder groups, music folders
// and disc nodes from the disk, print orders from the card, classifications and saved
// searches from the photo database. A saved search also makes the database forget its
// result files that are gone.
#include <Kitlib2/Kitlib2.h>
#include <KitlibEx/KitlibEx.h>
#include <RecordGate.h>
#include <RecordGateEx.h>
#include <VxPixWrapper.h>
#include <VxResourceIds.h>
#include <metastore.h>

#include <set>
#include <vector>

#include <textkit/path.h>
#include <textkit/text.h>

#include "FolderTextRules.h"
#include "PluginTreeCtrl.h"
#include "TreePluginManager.h"
#include "ui/ResourceDialog.h"

namespace {

std::string ResText(UINT nID) { return (LPCSTR)LoadResourceText(nID); }

const PluginItemRecord* RecordAt(CTreeCtrl* pTree, HTREEITEM h) {
  return h ? reinterpret_cast<const PluginItemRecord*>(pTree->GetItemData(h)) : NULL;
}

std::string TrimmedPath(const PluginItemRecord* r) {
  std::string path = r && r->path ? r->path : "";
  textkit::TrimTrailingSeparators(path);
  return path;
}

// A folder's entries for a group: its plain files, and on the card tree with folders
// made visible (DepthViewer\FolderVisible 1) its sub-folders too.
std::vector<std::string> GroupFolderEntries(const std::string& folder, bool withFolders) {
  std::vector<std::string> entries;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((folder + "\\*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return entries;
  do {
    if (fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
      bool dots = !strcmp(fd.cFileName, ".") || !strcmp(fd.cFileName, "..");
      if (withFolders && (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !dots)
        entries.push_back(folder + "\\" + fd.cFileName);
      continue;
    }
    if (lstrcmpiA(fd.cFileName, "title.txt") == 0) continue;
    entries.push_back(folder + "\\" + fd.cFileName);
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return entries;
}

// The audio files under a folder and all its sub-folders.
void AudioFiles(const std::string& folder, std::vector<std::string>* pFiles) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (!strcmp(fd.cFileName, ".") || !strcmp(fd.cFileName, "..") || (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN))
      continue;
    std::string path = folder + "\\" + fd.cFileName;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      AudioFiles(path, pFiles);
      continue;
    }
    std::string ext = textkit::LowerAscii(textkit::ExtensionOf(path));
    if (ext == ".m4a" || ext == ".mp3" || ext == ".wav" || ext == ".wma") pFiles->push_back(path);
  } while (::FindNextFileA(h, &fd));
  ::FindClose(h);
}

// Result paths in the order found, each once.
class ResultSet {
 public:
  void Add(const std::string& path) {
    if (m_seen.insert(path).second) m_paths.push_back(path);
  }
  const std::vector<std::string>& Paths() const { return m_paths; }

 private:
  std::vector<std::string> m_paths;
  std::set<std::string> m_seen;
};

// A query's list into the set; a marker query's list belongs to the database.
void TakeList(const std::string& query, HRESULT hr, STRINGLIST* pList, ResultSet* pSet) {
  if (SUCCEEDED(hr))
    for (STRINGLIST* p = pList; p; p = p->pNext)
      if (p->pszText && *p->pszText) pSet->Add(p->pszText);
  if (!foldertext::IsMarkerQuery(query)) FreeStringList(pList);
}

void RunDatabaseQuery(const std::string& query, ResultSet* pSet) {
  if (query.empty()) return;
  STRINGLIST* pList = NULL;
  HRESULT hr = VxDBWxSearch(query.c_str(), &pList);
  TakeList(query, hr, pList, pSet);
}

void RunSimilarQuery(const std::string& query, ResultSet* pSet) {
  if (query.empty()) return;
  STRINGLIST* pList = NULL;
  HRESULT hr = PSWGetSimilarImageList(query.c_str(), &pList);
  TakeList(query, hr, pList, pSet);
}

// A search's query and its widened second query into one set.
void RunSearch(const std::string& query, const std::string& query2, ResultSet* pSet) {
  RunDatabaseQuery(query, pSet);
  if (!query2.empty())
    for (const std::string& run : foldertext::WidenedQueries(query2)) RunDatabaseQuery(run, pSet);
}

// The results that stay listed: the database forgets files that are gone (their drive
// there, their folder too) and, for a keyword search, files no longer carrying it.
std::vector<std::string> Surviving(const ResultSet& set, const std::string& query, std::vector<std::string>* pDeleted) {
  const foldertext::FileProbe probe = foldertext::RealFiles();
  const std::string keyword = foldertext::KeywordOf(query);
  std::vector<std::string> files;
  for (const std::string& path : set.Paths()) {
    if (foldertext::IsGoneResult(path, probe)) {
      VxDBWDeleteFile(path.c_str());
      if (pDeleted) pDeleted->push_back(path);
      continue;
    }
    if (!keyword.empty() && VxDBWxCheckKeyword(path.c_str(), keyword.c_str()) != S_OK) continue;
    files.push_back(path);
  }
  return files;
}

bool HasCity(const std::string& path) {
  METADATA* pList = NULL;
  if (FAILED(VxDBWReadFile(path.c_str(), &pList))) return false;
  bool has = false;
  if (const METADATA* pRecord = MetaFindRecord(pList, VXDB_REC_LOCATION))
    if (const METAFIELD* pField = MetaFindField(pRecord->pFields, VXDB_FLD_CITY))
      has = pField->pszValue && *pField->pszValue;
  FreeMetaDataList(pList);
  return has;
}

const PluginSearchRecord* SearchOf(const PluginItemRecord* r) {
  return r && (int)r->kind == PLUGIN_ITEM_SEARCH ? reinterpret_cast<const PluginSearchRecord*>(r->extra) : NULL;
}

std::string NameOf(const PluginSearchRecord* s) { return s ? (LPCSTR)s->name : ""; }

}  // namespace

// What a folder group's child stands for: with children of its own, the deepest first
// descendant and its following siblings; else itself. On the card tree the voice and
// audio areas are one entry each, their folders themselves.
std::vector<std::string> CPluginTreeCtrl::GroupChildFiles(HTREEITEM hChild) {
  bool card = m_pManager && m_pEntry &&
              m_pManager->GetTitle(m_pEntry, m_pManager->GetKind(m_pEntry)) == LoadResourceText(IDS_TREE_TITLE_CARD);
  CString label = GetItemText(hChild);
  if (card && (label == LoadResourceText(IDS_BROWSER_CARD_VOICE) || label == LoadResourceText(IDS_BROWSER_CARD_AUDIO)))
    return {TrimmedPath(RecordAt(this, hChild))};
  std::vector<HTREEITEM> folders;
  if (HTREEITEM h = GetChildItem(hChild)) {
    while (HTREEITEM hDeeper = GetChildItem(h)) h = hDeeper;
    for (; h; h = GetNextSiblingItem(h)) folders.push_back(h);
  } else {
    folders.push_back(hChild);
  }
  bool withFolders = card && CMGetProfileInt("DepthViewer", "FolderVisible", 0) == 1;
  std::vector<std::string> files;
  for (HTREEITEM h : folders) {
    std::vector<std::string> some = GroupFolderEntries(TrimmedPath(RecordAt(this, h)), withFolders);
    files.insert(files.end(), some.begin(), some.end());
  }
  return files;
}

std::string CPluginTreeCtrl::KindText(HTREEITEM hItem, const PluginItemRecord& record) {
  std::string path = TrimmedPath(&record);
  switch (record.kind) {
    case PLUGIN_ITEM_SEARCH: return SearchText(hItem, record, NULL);
    case PLUGIN_ITEM_GROUP: {
      std::vector<foldertext::Group> groups;
      for (HTREEITEM h = GetChildItem(hItem); h; h = GetNextSiblingItem(h))
        groups.push_back({(LPCSTR)GetItemText(h), GroupChildFiles(h)});
      std::vector<std::string> own = GroupFolderEntries(path, false);
      return foldertext::GroupText((LPCSTR)GetItemText(hItem), groups, false, &own);
    }
    case PLUGIN_ITEM_PRINT_ORDER: return PrintOrderText(hItem, record);
    case PLUGIN_ITEM_CLASSIFY: return ClassifyText(hItem, record);
    case PLUGIN_ITEM_MUSIC: {
      std::vector<std::string> files;
      AudioFiles(path, &files);
      return foldertext::MusicText((int)record.extra, files);
    }
    case PLUGIN_ITEM_DISC_DATE: return "|3|" + std::string(record.path ? record.path : "") + "||";
    default: return "";
  }
}

std::string CPluginTreeCtrl::PrintOrderText(HTREEITEM hItem, const PluginItemRecord& record) {
  // Each child names a print-order file; its job lists the pictures.
  auto pictures = [](const std::string& path) {
    std::vector<std::string> files;
    std::string drive, job;
    if (!foldertext::PrintOrderJob(path, &drive, &job)) return files;
    CStringList list;
    CMTLxGetDPOFFileList(drive.c_str(), job.c_str(), list);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
      CString file = list.GetNext(pos);
      if (::GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES) files.push_back((LPCSTR)file);
    }
    return files;
  };
  std::vector<foldertext::Group> groups;
  for (HTREEITEM h = GetChildItem(hItem); h; h = GetNextSiblingItem(h))
    groups.push_back({(LPCSTR)GetItemText(h), pictures(TrimmedPath(RecordAt(this, h)))});
  std::vector<std::string> own = groups.empty() ? pictures(TrimmedPath(&record)) : std::vector<std::string>();
  return foldertext::GroupText((LPCSTR)GetItemText(hItem), groups, true, &own, false);
}

std::string CPluginTreeCtrl::ClassifyText(HTREEITEM hItem, const PluginItemRecord& record) {
  auto results = [](const VXDBTAG* pTag) {
    ResultSet set;
    if (pTag) {
      STRINGLIST* pList = NULL;
      HRESULT hr = VxDBWxGetClassifyResult(pTag, &pList);
      TakeList("", hr, pList, &set);
    }
    return set.Paths();
  };
  auto tagOf = [](const PluginItemRecord* r) { return r ? reinterpret_cast<const VXDBTAG*>(r->extra) : NULL; };
  auto nameOf = [](const VXDBTAG* t) { return std::string(t && t->pszName ? t->pszName : ""); };
  std::vector<foldertext::Group> groups;
  for (HTREEITEM h = GetChildItem(hItem); h; h = GetNextSiblingItem(h)) {
    const VXDBTAG* pTag = tagOf(RecordAt(this, h));
    groups.push_back({nameOf(pTag), results(pTag)});
  }
  const VXDBTAG* pOwn = tagOf(&record);
  std::vector<std::string> own = groups.empty() ? results(pOwn) : std::vector<std::string>();
  return foldertext::GroupText(nameOf(pOwn), groups, true, &own, false);
}

std::string CPluginTreeCtrl::SearchText(HTREEITEM hItem, const PluginItemRecord& record,
                                        std::vector<std::string>* pDeleted) {
  const PluginSearchRecord* pSearch = SearchOf(&record);
  if (!pSearch) return foldertext::GroupText("", {}, true, NULL, false);
  std::string name = NameOf(pSearch);
  HTREEITEM hFirst = GetChildItem(hItem);
  if (!hFirst || pSearch->flags == PLUGIN_SEARCH_OWN_QUERY) {
    ResultSet set;
    std::string query = (LPCSTR)pSearch->query;
    if (name == ResText(IDS_SEARCH_SIMILAR) && CMGetProfileInt("dotSeek", "Flag", 0) == 1) {
      // The last similar-image search the user ran, kept by the search itself.
      int nValue = 0;
      CString strName, strQuery;
      int nType = CMTLxGetSearchProfile(NULL, &strName, &strQuery, &nValue);
      name = (LPCSTR)strName;
      query = (LPCSTR)strQuery;
      if (nType == 1) RunDatabaseQuery(query, &set);
      if (nType == 2) RunSimilarQuery(query, &set);
    } else {
      RunSearch(query, (LPCSTR)pSearch->query2, &set);
    }
    std::vector<std::string> own = Surviving(set, query, pDeleted);
    return foldertext::GroupText(name, {}, true, &own, false);
  }
  std::vector<foldertext::Group> groups;
  for (HTREEITEM h = hFirst; h; h = GetNextSiblingItem(h)) {
    const PluginSearchRecord* pChild = SearchOf(RecordAt(this, h));
    ResultSet set;
    if (pChild) RunSearch((LPCSTR)pChild->query, (LPCSTR)pChild->query2, &set);
    groups.push_back({NameOf(pChild), Surviving(set, pChild ? (LPCSTR)pChild->query : "", pDeleted)});
  }
  // Under the place searches: one more group of the files that know no city.
  const PluginSearchRecord* pParent = SearchOf(RecordAt(this, GetParentItem(hItem)));
  if (pParent && NameOf(pParent) == ResText(IDS_CLASSIFY_GROUP_PLACE)) {
    ResultSet set;
    RunSearch((LPCSTR)pParent->query, (LPCSTR)pParent->query2, &set);
    foldertext::Group noCity{ResText(IDS_SEARCH_NO_CITY), {}, true};
    for (const std::string& path : Surviving(set, (LPCSTR)pParent->query, pDeleted))
      if (!HasCity(path)) noCity.files.push_back(path);
    groups.push_back(noCity);
  }
  return foldertext::GroupText(name, groups, true, NULL, false);
}

void CPluginTreeCtrl::RecheckSearchItems() {
  std::vector<HTREEITEM> items;
  if (HTREEITEM hRoot = GetRootItem()) items.push_back(hRoot);
  for (HTREEITEM h = GetFirstSelectedItem(); h; h = GetNextSelectedItem(h))
    if (h != GetRootItem()) items.push_back(h);
  std::vector<std::string> deleted;
  for (HTREEITEM h : items) {
    const PluginItemRecord* r = RecordAt(this, h);
    if (r && (int)r->kind == PLUGIN_ITEM_SEARCH) SearchText(h, *r, &deleted);
  }
}
