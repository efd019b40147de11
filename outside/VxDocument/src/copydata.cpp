// The "|"-separated WM_COPYDATA texts: a face over the one record reader.
#include <VxDocument/CopyData.h>
#include <textkit/records.h>

struct CopyDataImpl {
  textkit::RecordText t;
};

static_assert(VXCOPYDATA_MAX_LENGTH == textkit::kMaxRecordText, "one limit for the texts");
// The statuses are the reader's, in its order.
static_assert(int(VXCD_OK) == int(textkit::RecordStatus::Ok) &&
                  int(VXCD_TRUNCATED) == int(textkit::RecordStatus::Truncated) &&
                  int(VXCD_BAD_TEXT) == int(textkit::RecordStatus::BadText),
              "one list of statuses");

// ---- CCopyDataDispatcher ------------------------------------------------------------

CCopyDataDispatcher::CCopyDataDispatcher(const char* pszText, DWORD dwLength) : m_p(new CopyDataImpl) {
  m_p->t = textkit::ReadRecordText(pszText, dwLength);
}

CCopyDataDispatcher::~CCopyDataDispatcher() { delete m_p; }

BOOL CCopyDataDispatcher::IsValid() const { return m_p->t.ok(); }
VXCOPYDATA_STATUS CCopyDataDispatcher::GetStatus() const { return VXCOPYDATA_STATUS(m_p->t.status); }

HRESULT CCopyDataDispatcher::GetResult() const {
  switch (GetStatus()) {
    case VXCD_OK: return S_OK;
    case VXCD_EMPTY: return E_INVALIDARG;
    case VXCD_TOO_LARGE: return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    default: return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  }
}

LPCSTR CCopyDataDispatcher::StatusText(VXCOPYDATA_STATUS status) {
  return textkit::StatusText(textkit::RecordStatus(status));
}

LPCSTR CCopyDataDispatcher::GetText() const { return m_p->t.text.c_str(); }
int CCopyDataDispatcher::GetSourceNumber() const { return m_p->t.sourceNumber; }
LPCSTR CCopyDataDispatcher::GetSourceName() const { return m_p->t.sourceName.c_str(); }
LPCSTR CCopyDataDispatcher::GetHeader() const { return m_p->t.header.c_str(); }
int CCopyDataDispatcher::GetFolderType() const { return m_p->t.folderType; }
int CCopyDataDispatcher::GetAngle() const { return m_p->t.angle; }
int CCopyDataDispatcher::GetCount() const { return (int)m_p->t.entries.size(); }

LPCSTR CCopyDataDispatcher::GetPath(int i) const {
  return i >= 0 && i < GetCount() ? m_p->t.entries[i].path.c_str() : "";
}
int CCopyDataDispatcher::GetGroupNumber(int i) const {
  return i >= 0 && i < GetCount() ? m_p->t.entries[i].groupNumber : 0;
}
LPCSTR CCopyDataDispatcher::GetGroupText(int i) const {
  return i >= 0 && i < GetCount() ? m_p->t.entries[i].group.c_str() : "";
}
int CCopyDataDispatcher::GetFileState(int i) const { return i >= 0 && i < GetCount() ? m_p->t.entries[i].state : 0; }

int CCopyDataDispatcher::GetPathList(CStringList* pList) const {
  if (!pList) return 0;
  for (const textkit::RecordEntry& e : m_p->t.entries) pList->AddTail(e.path.c_str());
  return GetCount();
}

int CCopyDataDispatcher::GetFolderNameList(CStringList* pList) const {
  if (!pList) return 0;
  for (const textkit::GroupName& n : m_p->t.names) pList->AddTail(n.name.c_str());
  return GetFolderNameCount();
}
int CCopyDataDispatcher::GetFolderNameCount() const { return (int)m_p->t.names.size(); }
LPCSTR CCopyDataDispatcher::GetFolderName(int i) const {
  return i >= 0 && i < GetFolderNameCount() ? m_p->t.names[i].name.c_str() : "";
}
int CCopyDataDispatcher::GetFolderColor(int i) const {
  return i >= 0 && i < GetFolderNameCount() ? m_p->t.names[i].colour : 0;
}

int CCopyDataDispatcher::GetFieldCount() const { return (int)m_p->t.fields.size(); }
LPCSTR CCopyDataDispatcher::GetField(int i) const {
  return i >= 0 && i < GetFieldCount() ? m_p->t.fields[i].c_str() : "";
}
