// The property catalogue: property kinds 0..36, each a column of the details list and a
// line of the thumbnail tooltips, with its name and the text it shows for one entry.
// CPrProperty opens the property reader's string set of a file once and serves many
// columns from it; CFileSizeText writes a byte count for the size column.
#pragma once
#include <fw/fw.h>

#include <VxProperty.h>

#include "VxGUITransApi.h"

class CThumbnail;

class CPropertyItem {
 public:
  virtual ~CPropertyItem() {}
  virtual void GetName(CString& name) = 0;
  // The text for one entry; pContext is null or a CPrProperty opened for it. Never empty:
  // "-" stands for nothing.
  virtual void GetValue(CThumbnail* pEntry, CString& text, CObject* pContext) = 0;
};
// A new item for kinds 0..36 (the caller owns it); null for any other kind.
VXGUITRANS_API CPropertyItem* CreatePropertyItem(int nKind);
#define VXPROPERTY_KINDS 37

class CPrProperty : public CObject {
  DECLARE_DYNAMIC(CPrProperty)
 public:
  CPrProperty();
  explicit CPrProperty(LPCSTR pszPath);
  ~CPrProperty() override;
  // 1 when open for the same path already (letter case aside), 0 after opening,
  // 0x80070006 when the reader refuses.
  HRESULT Open(LPCSTR pszPath);
  HRESULT OpenAvchd(int a, int b, int c);
  CString GetString(DWORD dwID) const;
  HRESULT GetSysTime(DWORD dwID, SYSTEMTIME* pTime) const;
  void Close();
  BOOL IsOpen() const { return m_hProp != 0; }

 private:
  HPRPROPERTY m_hProp;
  CString m_strPath;
  int m_anScene[3];
};

class CFileSizeText {
 public:
  CFileSizeText() : m_dwLow(0), m_dwHigh(0) {}
  void Set(DWORD dwLow, DWORD dwHigh) { m_dwLow = dwLow, m_dwHigh = dwHigh; }
  void Format(char* pszBuffer, size_t cb) const;
  CString Format() const;

 private:
  DWORD m_dwLow, m_dwHigh;
};
