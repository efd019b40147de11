#include "ImagePickerRules.h"

#include <VxDatabase.h>
#include <textkit/text.h>

#include <cstring>

#include "EntryEditRules.h"

namespace imagepicker {

namespace {
bool IsOneOf(const std::string& name, std::initializer_list<const std::string*> entries) {
  for (const std::string* e : entries)
    if (textkit::EqualNoCase(name, *e)) return true;
  return false;
}
}  // namespace

std::vector<std::string> SourceEntries(const std::vector<std::string>& names, const std::string& unsorted,
                                       const std::string& chooseFolder) {
  std::vector<std::string> entries;
  for (const std::string& n : names)
    if (!n.empty() && !IsOneOf(n, {&unsorted, &chooseFolder})) entries.push_back(n);
  entries.push_back(unsorted);
  entries.push_back(chooseFolder);
  return entries;
}

std::vector<std::string> NameEntries(const std::vector<std::string>& names, const std::string& unsorted,
                                     const std::string& unfile) {
  std::vector<std::string> entries;
  for (const std::string& n : names)
    if (!n.empty() && !IsOneOf(n, {&unsorted})) entries.push_back(n);
  entries.push_back(unfile);
  return entries;
}

bool Listed(const std::string& path, bool engineReads) {
  const char* dot = strrchr(path.c_str(), '.');
  const char* slash = strrchr(path.c_str(), '\\');
  if (dot && (!slash || dot > slash) && _stricmp(dot, ".tmb") == 0) return false;
  return entryedit::AcceptsPicture(path, engineReads);
}

Question QuestionFor(const std::string& name, const std::string& unfile, size_t ticked) {
  if (!textkit::EqualNoCase(name, unfile) || ticked == 0) return kAskNothing;
  return ticked == 1 ? kAskPath : kAskCount;
}

Filing FilingFor(const std::string& source, const std::string& name, const std::string& chooseFolder,
                 const std::string& unfile) {
  const bool browsed = textkit::EqualNoCase(source, chooseFolder);
  if (textkit::EqualNoCase(name, unfile)) return browsed ? kSkip : kLeave;
  return browsed ? kRegister : kRefile;
}

bool PickedRecord(const std::string& name, const std::string& path, VXDBRECORD* pRecord) {
  if (!pRecord || name.size() > kNameBytes || path.size() >= sizeof pRecord->szPath) return false;
  memset(pRecord, 0, sizeof *pRecord);
  memcpy(reinterpret_cast<char*>(pRecord), name.c_str(), name.size());
  memcpy(pRecord->szPath, path.c_str(), path.size());
  return true;
}

}  // namespace imagepicker
