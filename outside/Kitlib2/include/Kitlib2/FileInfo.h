// The file lists that windows exchange as "|"-separated WM_COPYDATA texts, read by the one
// record reader (textkit/records.h), e.g. "0|0|0|E:\DCIM\100ABCDE\ABCD0001.JPG|1|0||".
#pragma once
#include <Kitlib2/KitDefs.h>

// One file of such a list; a heap object the list's owner deletes (CMTLDeleteFileInfo).
class KITLIB2_API CMTLFileInfo : public CObject {
  DECLARE_DYNAMIC(CMTLFileInfo)

 public:
  CMTLFileInfo();
  virtual ~CMTLFileInfo();

  CString m_strPath;  // the full path as the text carries it
  int m_nState;       // first field after the path: 1 selected + 4 marked in file lists,
                      // the group number in group texts; 0 when absent
  int m_nExtra;       // second field after the path, 0 when absent

  BOOL IsSelected() const { return (m_nState & 1) != 0; }
  BOOL IsMarked() const { return (m_nState & 4) != 0; }
};

// Appends one CMTLFileInfo per file of the text to the list and answers how many were
// added (0 for an empty or header-only text, and for a text the record reader refuses:
// then nothing is added). Entries without a path are skipped. nLength bounds the text (a
// WM_COPYDATA's cbData); -1 reads up to the terminating NUL. Paths with double-byte
// characters whose trail byte is "|" are kept whole.
KITLIB2_API int CMTLChangeFileInfo(LPCSTR lpszText, CObList& list, int nLength = -1);

// Deletes every object of the list and empties it.
KITLIB2_API void CMTLDeleteFileInfo(CObList& list);

// A program request "status|program name|number|data": the data is the rest of the text
// (often a file list of its own). FALSE when the record reader refuses it (fewer than four
// fields, a number that is no number, broken double-byte text).
KITLIB2_API BOOL CMTLParseRequest(LPCSTR lpszText, CString& strStatus, CString& strProgram, int& nNumber,
                                  CString& strData, int nLength = -1);
