// Exported file-list parsing into framework objects.
#include <Kitlib2/FileInfo.h>

#include <cstring>

#include "fileinfo_core.h"

IMPLEMENT_DYNAMIC(CMTLFileInfo, CObject)

CMTLFileInfo::CMTLFileInfo() : m_nState(0), m_nExtra(0) {}
CMTLFileInfo::~CMTLFileInfo() {}

namespace {

size_t LengthOf(LPCSTR text, int nLength) { return !text ? 0 : nLength < 0 ? strlen(text) : static_cast<size_t>(nLength); }

CString ToCString(const std::string& s) { return CString(s.data(), static_cast<int>(s.size())); }

}  // namespace

int CMTLChangeFileInfo(LPCSTR lpszText, CObList& list, int nLength) {
  kitlib::FileListText t = kitlib::ParseFileListText(lpszText, LengthOf(lpszText, nLength));
  for (const kitlib::FileRecord& r : t.records) {
    CMTLFileInfo* info = new CMTLFileInfo;
    info->m_strPath = ToCString(r.path);
    info->m_nState = r.flags;
    info->m_nExtra = r.extra;
    list.AddTail(info);
  }
  return static_cast<int>(t.records.size());
}

void CMTLDeleteFileInfo(CObList& list) {
  while (!list.IsEmpty()) delete list.RemoveHead();
}

BOOL CMTLParseRequest(LPCSTR lpszText, CString& strStatus, CString& strProgram, int& nNumber, CString& strData,
                      int nLength) {
  kitlib::ProgramRequest r;
  if (!kitlib::ParseProgramRequest(lpszText, LengthOf(lpszText, nLength), &r)) return FALSE;
  strStatus = ToCString(r.status);
  strProgram = ToCString(r.program);
  nNumber = r.number;
  strData = ToCString(r.data);
  return TRUE;
}
