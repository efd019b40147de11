// CCopyDataDispatcher: one "|"-separated WM_COPYDATA text, parsed.
//
// The layout and the policy are the record reader's (textkit/records.h): an invalid text
// makes IsValid() FALSE, GetStatus() tells why, and every accessor answers as for an
// empty text.
//
// Texts of the codes: 1534 folder change, 1536 added files, 1537 updated files
// ("0|A|2|path||"), 1538 rotated files (the second field is the angle in degrees:
// "0|90|1|path||"), 1626 file list ("0|flags|0|" and file records).
#pragma once

#include <VxDocument/VxDocDefs.h>

#define VXCOPYDATA_MAX_LENGTH (32u * 1024u * 1024u)

enum VXCOPYDATA_STATUS {
  VXCD_OK = 0,
  VXCD_EMPTY,       // no text (null, length 0, or a NUL first)
  VXCD_TOO_LARGE,   // longer than VXCOPYDATA_MAX_LENGTH
  VXCD_BAD_NUMBER,  // the source number or a group number is not a decimal number
  VXCD_BAD_TYPE,    // the folder-type field is not a decimal number
  VXCD_BAD_HEADER,  // a quoted name is not closed
  VXCD_TRUNCATED,   // the last entry is cut short
  VXCD_BAD_LAYOUT,  // an entry with a field too many or too few
  VXCD_BAD_TEXT,    // a double-byte character cut or not of the code page
};

struct CopyDataImpl;

class VXDOC_API CCopyDataDispatcher {
 public:
  // Parses at once; pszText may be null only with dwLength 0.
  CCopyDataDispatcher(const char* pszText, DWORD dwLength);
  ~CCopyDataDispatcher();
  CCopyDataDispatcher(const CCopyDataDispatcher&) = delete;
  CCopyDataDispatcher& operator=(const CCopyDataDispatcher&) = delete;

  BOOL IsValid() const;
  VXCOPYDATA_STATUS GetStatus() const;
  // S_OK, or E_INVALIDARG (empty), HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE), or
  // HRESULT_FROM_WIN32(ERROR_INVALID_DATA) for a text that does not parse.
  HRESULT GetResult() const;
  static LPCSTR StatusText(VXCOPYDATA_STATUS status);

  // The text as taken (without padding); "" when invalid.
  LPCSTR GetText() const;

  int GetSourceNumber() const;
  LPCSTR GetSourceName() const;  // the header up to its comma list
  LPCSTR GetHeader() const;      // the whole header field
  int GetFolderType() const;     // 0 when missing
  // The second field as a number (the angle of a rotation text); 0 when it is none.
  int GetAngle() const;

  // Entries: their number, and each entry's path, group number (0 when the entry has
  // none), group text as written, and state (file records).
  int GetCount() const;
  LPCSTR GetPath(int nIndex) const;  // "" out of range
  int GetGroupNumber(int nIndex) const;
  LPCSTR GetGroupText(int nIndex) const;
  int GetFileState(int nIndex) const;
  // Appends every entry's path (empty ones too) to the list; the number appended.
  int GetPathList(CStringList* pList) const;

  // The group names of a virtual folder (see the header above), appended to the list;
  // the number appended. Group number n names entry n-1.
  int GetFolderNameList(CStringList* pList) const;
  int GetFolderNameCount() const;
  LPCSTR GetFolderName(int nIndex) const;
  int GetFolderColor(int nIndex) const;  // the group's colour number, 0 when none

  // The raw fields.
  int GetFieldCount() const;
  LPCSTR GetField(int nIndex) const;

 private:
  CopyDataImpl* m_p;
};
