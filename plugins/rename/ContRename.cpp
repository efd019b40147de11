#include "ContRename.h"

#include <initguid.h>

#include <ClipFacts.h>
#include <textkit/path.h>
#include <textkit/text.h>
#include <windows.h>

#include <set>
#include <vector>

namespace renameengine {

namespace {

// The content object of one call; everything is released and the library freed at the end.
class ContentFile {
 public:
  explicit ContentFile(const std::string& dll) {
    m_hLib = ::LoadLibraryA(dll.c_str());
    if (!m_hLib) return;
    PFNCLIPFACTSCREATE create = reinterpret_cast<PFNCLIPFACTSCREATE>(::GetProcAddress(m_hLib, "DllCreateInstance"));
    if (!create || FAILED(create(CLSID_ClipFacts, IID_IClipFacts, reinterpret_cast<void**>(&m_facts)))) m_facts = nullptr;
  }
  ~ContentFile() {
    if (m_edit) m_edit->Release();
    if (m_facts) m_facts->Release();
    if (m_hLib) ::FreeLibrary(m_hLib);
  }
  bool Open(const std::string& path) {
    if (!m_facts) return false;
    std::wstring wide;
    if (!textkit::TryAnsiToWide(path, &wide)) return false;
    if (m_facts->Open(wide.c_str()) != S_OK) return false;
    return m_facts->QueryInterface(IID_IClipFactsEdit, reinterpret_cast<void**>(&m_edit)) == S_OK && m_edit;
  }
  bool Members(std::vector<std::string>* names) {
    CLIPFACTSINFO info = {};
    info.cbSize = sizeof info;
    if (m_facts->GetInfo(&info) != S_OK || info.nMemberCount < 0) return false;
    for (int i = 0; i < info.nMemberCount; ++i) {
      WCHAR name[MAX_PATH] = {};
      if (m_facts->GetMember(i, name, MAX_PATH) != S_OK) return false;
      std::string ansi;
      if (!textkit::TryWideToAnsi(name, &ansi)) return false;
      names->push_back(ansi);
    }
    return true;
  }
  IClipFactsEdit* Edit() { return m_edit; }

 private:
  HMODULE m_hLib = nullptr;
  IClipFacts* m_facts = nullptr;
  IClipFactsEdit* m_edit = nullptr;
};

// A member's base name and extension: split at its first dot, as the entries are.
void SplitMember(const std::string& name, std::string* base, std::string* extension) {
  size_t dot = textkit::Find(name, '.');
  *base = dot == std::string::npos ? name : name.substr(0, dot);
  *extension = dot == std::string::npos ? std::string() : name.substr(dot);
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Move(const std::string& from, const std::string& to, const MovedFn& moved) {
  if (!::MoveFileA(from.c_str(), to.c_str())) return false;
  if (moved) moved(from, to);
  return true;
}

}  // namespace

bool ContentRename(const std::string& clipFacts, const std::string& t, const std::string& f, const std::string& o,
                   bool recovery, const MovedFn& moved) {
  if (!Move(t, f, moved)) {
    Move(t, o, moved);
    return false;
  }
  ContentFile file(clipFacts);
  std::vector<std::string> members;
  if (!file.Open(f) || !file.Members(&members)) return false;
  // A member that is not a plain name of the folder (a separator, "..") is never touched.
  for (const std::string& m : members)
    if (!textkit::IsValidFileName(m)) return false;

  std::string folder = textkit::FolderPartOf(f);
  std::string newBase = textkit::TitleOf(f);
  std::string firstBase = textkit::TitleOf(t);
  std::set<std::string> oldBases;
  for (const std::string& m : members) {
    std::string base, extension;
    SplitMember(m, &base, &extension);
    std::string target = newBase + extension;
    if (!textkit::IsValidFileName(target)) return false;
    if (textkit::EqualNoCase(m, target)) {
      if (!recovery) continue;
      // Put back a member the failed run had already moved to the first path's name.
      std::string from = folder + firstBase + extension;
      if (!Exists(from) && Exists(folder + target)) continue;
      if (!Move(from, folder + target, moved) && !Exists(folder + target)) return false;
      continue;
    }
    if (!Move(folder + m, folder + target, moved)) {
      if (!recovery || !Exists(folder + target)) return false;
    }
    oldBases.insert(base);
  }
  std::wstring wideNew;
  if (!textkit::TryAnsiToWide(newBase, &wideNew)) return false;
  for (const std::string& base : oldBases) {
    std::wstring wideOld;
    int changed = 0;
    if (!textkit::TryAnsiToWide(base, &wideOld) || file.Edit()->RenameEntries(wideOld.c_str(), wideNew.c_str(), &changed) != S_OK)
      return false;
  }
  return file.Edit()->Save() == S_OK;
}

bool SetStoredTitle(const std::string& clipFacts, const std::string& p, const std::string& s) {
  ContentFile file(clipFacts);
  if (!file.Open(p)) return false;
  std::wstring title;
  if (!textkit::TryAnsiToWide(textkit::TitleOf(s), &title)) return false;
  return file.Edit()->SetTitle(title.c_str()) == S_OK && file.Edit()->Save() == S_OK;
}

}  // namespace renameengine
