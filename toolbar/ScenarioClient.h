// The program's side of SignalKit.dll: CSignalKitLoader wraps the library's exports,
// CScenarioSession reads or writes one scenario file, CScenarioDataArray converts the
// slide-show model's 8-bit records to the library's wide ones and back.
#pragma once
#include <windows.h>

#include <ScenarioRecords.h>

#include <vector>

// The model's records.
struct ScenarioInfo {
  WORD wTimeUnit;  // SNR_TIME_*
  int nInterval;   // in that unit
  int nKind;       // as stored: 1 to 5
  int nRepeat;     // 0 or 1
};

#pragma pack(push, 1)
struct ScenarioItem {
  LONGLONG llStart;  // milliseconds
  LONGLONG llEnd;
  char szPath[SNR_PATH_UNITS];
  LONGLONG llSize;
  FILETIME ftWrite;
  int nExtra;
};
#pragma pack(pop)
static_assert(sizeof(ScenarioItem) == 292, "scenario item");

struct ScenarioItemRef {
  int nKind;  // SNR_KIND_*
  int cbItem; // sizeof(ScenarioItem)
  ScenarioItem* pItem;
  int nReserved;
};

// Results beyond the usual ones.
#define SNR_E_NO_INFO ((HRESULT)0x80000001L)    // arrays before the information
#define SNR_E_BAD_INFO ((HRESULT)0x80000002L)   // a refused information record

class CSignalKitLoader {
 public:
  CSignalKitLoader();
  virtual ~CSignalKitLoader();
  BOOL IsLoaded() const { return m_hModule != NULL; }
  HSNR GetHandle() const { return m_hScenario; }

  HRESULT Open(LPCWSTR pszPath, int nMode, void* pParam);
  HRESULT Close();
  HRESULT GetInfoScenario(SNRINFO* pInfo);
  HRESULT SetInfoScenario(const SNRINFO* pInfo);
  HRESULT GetDataTimeType(WORD wDataKind, WORD* pwUnit);
  HRESULT SetDataTimeType(WORD wDataKind, WORD wUnit);
  HRESULT GetDataOption(WORD wDataKind, int* pnOption);
  HRESULT SetDataOption(WORD wDataKind, int nOption);
  HRESULT GetDataArray(WORD wDataKind, SNRELEMENTREF* pRefs, int* pnCount);
  HRESULT AssignDataArray(WORD wDataKind, const SNRELEMENTREF* pRefs, int nCount);

 private:
  FARPROC Export(LPCSTR pszName) const;
  HMODULE m_hModule;
  HSNR m_hScenario;
};

class CScenarioSession {
 public:
  CScenarioSession();
  virtual ~CScenarioSession();

  HRESULT OpenForWrite(LPCSTR pszPath);
  HRESULT OpenForRead(LPCSTR pszPath);
  HRESULT Close();
  HRESULT ReadInfo(ScenarioInfo* pInfo);
  HRESULT WriteInfo(const ScenarioInfo* pInfo);
  HRESULT GetPictureArray(ScenarioItemRef* pRefs, int* pnCount);
  HRESULT GetAudioArray(ScenarioItemRef* pRefs, int* pnCount);
  HRESULT AssignPictureArray(const ScenarioItemRef* pRefs, int nCount);
  HRESULT AssignAudioArray(const ScenarioItemRef* pRefs, int nCount);

 private:
  HRESULT Open(LPCSTR pszPath, bool bWrite);
  HRESULT GetArray(WORD wDataKind, ScenarioItemRef* pRefs, int* pnCount);
  HRESULT AssignArray(WORD wDataKind, const ScenarioItemRef* pRefs, int nCount, int nOption);

  CSignalKitLoader* m_pLoader;
  BOOL m_bInfoSet;
  ScenarioInfo m_info;
  void* m_pParam;
};

// One array of one data kind; the subclasses fix the element kind.
class CScenarioDataArray {
 public:
  CScenarioDataArray(CSignalKitLoader* pLoader, WORD wDataKind, void* pParam);
  virtual ~CScenarioDataArray();
  virtual HRESULT AllocateRefs(int n);
  virtual HRESULT MakeWideCopies(const ScenarioItemRef* pRefs, int n);
  virtual void FreeWideCopies();
  virtual HRESULT CopyBack(ScenarioItemRef* pRefs, int n, int* pnCopied);
  virtual HRESULT MakeWideElement(const ScenarioItem& item, SNRELEMENT** ppElement);
  virtual void FreeWideElement(SNRELEMENT* pElement);
  virtual void CopyElementBack(const SNRELEMENT& element, ScenarioItem* pItem);
  virtual int CountOwnKind() const;
  virtual BOOL IsOwnKind(LONG lKind) const = 0;

  // The steps the session runs.
  HRESULT Count(int* pnCount);
  HRESULT Fetch(ScenarioItemRef* pRefs, int* pnCount);
  HRESULT Assign(const ScenarioItemRef* pRefs, int nCount, WORD wUnit, int nOption);

 protected:
  HRESULT FetchAll();
  BOOL TakesEveryKind() const { return ((ULONG_PTR)m_pParam & 1) != 0; }
  CSignalKitLoader* m_pLoader;
  WORD m_wDataKind;
  void* m_pParam;
  std::vector<SNRELEMENTREF> m_wide;
};

class CScenarioPictureArray : public CScenarioDataArray {
 public:
  CScenarioPictureArray(CSignalKitLoader* pLoader, void* pParam)
      : CScenarioDataArray(pLoader, SNR_DATA_PICTURES, pParam) {}
  BOOL IsOwnKind(LONG lKind) const override { return lKind == SNR_KIND_PICTURE; }
};

class CScenarioAudioArray : public CScenarioDataArray {
 public:
  CScenarioAudioArray(CSignalKitLoader* pLoader, void* pParam) : CScenarioDataArray(pLoader, SNR_DATA_AUDIO, pParam) {}
  BOOL IsOwnKind(LONG lKind) const override { return lKind == SNR_KIND_AUDIO; }
};
