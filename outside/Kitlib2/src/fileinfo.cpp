// Exported file-list parsing into framework objects.
#include <Kitlib2/FileInfo.h>

#include <textkit/records.h>

#include <cstring>

IMPLEMENT_DYNAMIC(CMTLFileInfo, CObject)

CMTLFileInfo::CMTLFileInfo() : m_nState(0), m_nExtra(0) {}
CMTLFileInfo::~CMTLFileInfo() {}

namespace {

size_t LengthOf(LPCSTR text, int nLength) { return !text ? 0 : nLength < 0 ? strlen(text) : static_cast<size_t>(nLength); }

CString ToCString(const std::string& s) { return CString(s.data(), static_cast<int>(s.size())); }

}  // namespace

int CMTLChangeFileInfo(LPCSTR lpszText, CObList& list, int nLength) {
  textkit::RecordText t = textkit::ReadRecordText(lpszText, LengthOf(lpszText, nLength));
  int added = 0;
  for (const textkit::RecordEntry& e : t.entries) {
    if (e.path.empty()) continue;  // no file: a pane with nothing selected
    CMTLFileInfo* info = new CMTLFileInfo;
    info->m_strPath = ToCString(e.path);
    info->m_nState = t.folderType == 2 ? e.groupNumber : e.state;
    info->m_nExtra = e.reserved;
    list.AddTail(info);
    ++added;
  }
  return added;
}

void CMTLDeleteFileInfo(CObList& list) {
  while (!list.IsEmpty()) delete list.RemoveHead();
}

BOOL CMTLParseRequest(LPCSTR lpszText, CString& strStatus, CString& strProgram, int& nNumber, CString& strData,
                      int nLength) {
  textkit::ProgramRequest r;
  if (textkit::ReadProgramRequest(lpszText, LengthOf(lpszText, nLength), &r) != textkit::RecordStatus::Ok) return FALSE;
  strStatus = ToCString(r.status);
  strProgram = ToCString(r.program);
  nNumber = r.number;
  strData = ToCString(r.data);
  return TRUE;
}
