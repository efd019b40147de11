#include "dropop/DropRules.h"

#include <VxContFile.h>
#include <shlobj.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include <cstring>
#include <cwchar>

namespace dropop {

namespace {

DWORD ReadWord(const unsigned char* p) {
  DWORD v;
  memcpy(&v, p, sizeof v);
  return v;
}

}  // namespace

DropListFault ReadDropBlock(const void* block, size_t size, std::vector<std::string>* paths) {
  paths->clear();
  if (!block || size < sizeof(DROPFILES)) return DropListFault::Missing;
  const auto* bytes = static_cast<const unsigned char*>(block);
  const DWORD offset = ReadWord(bytes);
  const bool wide = ReadWord(bytes + offsetof(DROPFILES, fWide)) != 0;
  if (offset < sizeof(DROPFILES) || offset >= size) return DropListFault::OffsetOutside;
  std::vector<std::string> out;
  if (wide) {
    size_t at = offset;
    for (;;) {
      if (at + sizeof(wchar_t) > size) return DropListFault::Unterminated;
      std::wstring w;
      for (;;) {
        if (at + sizeof(wchar_t) > size) return DropListFault::Unterminated;
        wchar_t c;
        memcpy(&c, bytes + at, sizeof c);
        at += sizeof c;
        if (c == L'\0') break;
        w.push_back(c);
      }
      if (w.empty()) break;
      std::string a;
      if (!textkit::TryWideToAnsi(w, &a)) return DropListFault::NotRepresentable;
      out.push_back(a);
    }
  } else {
    size_t at = offset;
    for (;;) {
      const void* end = memchr(bytes + at, 0, size - at);
      if (!end) return DropListFault::Unterminated;
      size_t len = static_cast<const unsigned char*>(end) - (bytes + at);
      if (len == 0) break;
      out.emplace_back(reinterpret_cast<const char*>(bytes + at), len);
      at += len + 1;
      if (at >= size) return DropListFault::Unterminated;
    }
  }
  if (out.empty()) return DropListFault::Empty;
  for (const std::string& p : out)
    if (textkit::AnsiToWide(p).size() >= kMaxPathChars) return DropListFault::PathTooLong;
  *paths = std::move(out);
  return DropListFault::None;
}

std::string MakeDropBlock(const std::vector<std::string>& paths) {
  std::string block(sizeof(DROPFILES), '\0');
  DROPFILES header = {};
  header.pFiles = sizeof(DROPFILES);
  memcpy(&block[0], &header, sizeof header);
  return block + JoinDropList(paths);
}

std::string JoinDropList(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& p : paths) {
    list += p;
    list.push_back('\0');
  }
  list.push_back('\0');
  return list;
}

std::string DropTargetFolder(const std::string& folder) { return textkit::WithoutTrailingSeparator(folder); }

UINT FileOperationFor(DWORD effect) { return effect == DROPEFFECT_MOVE ? FO_MOVE : FO_COPY; }

DWORD PreferredEffect(const void* data, size_t size) {
  if (!data || size < sizeof(DWORD)) return DROPEFFECT_COPY;
  return ReadWord(static_cast<const unsigned char*>(data));
}

ContentRepair PlanContentRepair(const std::string& firstMemberBase, const std::string& newBase, NameFrame* frame) {
  if (textkit::EqualNoCase(firstMemberBase, newBase)) return ContentRepair::Unchanged;
  if (firstMemberBase.empty()) return ContentRepair::LeaveAlone;
  // Byte search, but only at character starts so a trail byte never begins a match.
  const std::string key = textkit::FoldCase(firstMemberBase), hay = textkit::FoldCase(newBase);
  size_t found = std::string::npos;
  textkit::ForEachChar(hay, [&](size_t at, size_t) {
    if (found == std::string::npos && hay.compare(at, key.size(), key) == 0) found = at;
  });
  if (found == std::string::npos) return ContentRepair::LeaveAlone;
  frame->prefix = newBase.substr(0, found);
  frame->suffix = newBase.substr(found + firstMemberBase.size());
  return ContentRepair::Rename;
}

std::string FramedName(const NameFrame& frame, const std::string& name) {
  return frame.prefix + textkit::TitleOf(name) + frame.suffix + textkit::ExtensionOf(name);
}

ContentRepair RepairMembers(vxcont::ContentInfo* info, const std::string& contPath) {
  if (info->members.empty()) return ContentRepair::NoMembers;
  // A member is a file beside the content file: a name that reaches elsewhere ("..\\x",
  // "sub/x", "C:x") is not one this program wrote, and the file is left as it came.
  for (const std::string& m : info->members)
    if (m.empty() || m == "." || m == ".." || textkit::LastSeparator(m) != std::string::npos ||
        textkit::NameOffset(m) != 0)
      return ContentRepair::LeaveAlone;
  NameFrame frame;
  ContentRepair plan = PlanContentRepair(textkit::TitleOf(info->members[0]), textkit::TitleOf(contPath), &frame);
  if (plan != ContentRepair::Rename) return plan;
  for (std::string& m : info->members) m = FramedName(frame, m);
  return plan;
}

}  // namespace dropop
