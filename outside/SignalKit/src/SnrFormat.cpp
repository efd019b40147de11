#include "SignalKit/SnrFormat.h"

#include <xxhash.h>

#include <algorithm>
#include <cstring>

namespace snr {
namespace {

const char kMagic[4] = {'G', 'S', 'N', 'R'};
const size_t kHeader = 8 + sizeof(SNRINFO);
const size_t kArrayHead = 12;
const size_t kElement = 4 + sizeof(SNRELEMENT);

template <typename T>
void Put(std::string& out, T value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

// Reads within [p, end) only.
class Reader {
 public:
  Reader(const BYTE* p, const BYTE* end) : m_p(p), m_end(end) {}
  template <typename T>
  bool Get(T* pValue) {
    if ((size_t)(m_end - m_p) < sizeof(T)) return false;
    memcpy(pValue, m_p, sizeof(T));
    m_p += sizeof(T);
    return true;
  }
  size_t Left() const { return (size_t)(m_end - m_p); }

 private:
  const BYTE* m_p;
  const BYTE* m_end;
};

}  // namespace

Scenario::Scenario() {
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(SNRINFO);
}

DataArray* Scenario::Find(WORD wDataKind) {
  for (DataArray& a : arrays)
    if (a.wDataKind == wDataKind) return &a;
  return nullptr;
}

DataArray& Scenario::Get(WORD wDataKind) {
  if (DataArray* p = Find(wDataKind)) return *p;
  arrays.push_back(DataArray{wDataKind, SNR_TIME_MILLISECONDS, 0, {}});
  return arrays.back();
}

bool IsDataKind(WORD wDataKind) { return wDataKind == SNR_DATA_PICTURES || wDataKind == SNR_DATA_AUDIO; }

std::string Serialize(const Scenario& scenario) {
  std::string out(kMagic, sizeof(kMagic));
  Put(out, kVersion);
  Put(out, (WORD)scenario.arrays.size());
  out.append(reinterpret_cast<const char*>(&scenario.info), sizeof(SNRINFO));
  for (const DataArray& a : scenario.arrays) {
    Put(out, a.wDataKind);
    Put(out, a.wTimeUnit);
    Put(out, (INT32)a.nOption);
    Put(out, (UINT32)a.elements.size());
    for (const Element& e : a.elements) {
      Put(out, (INT32)e.lKind);
      out.append(reinterpret_cast<const char*>(&e.data), sizeof(SNRELEMENT));
    }
  }
  Put(out, (UINT64)XXH64(out.data(), out.size(), 0));
  return out;
}

HRESULT Parse(const void* pData, size_t nSize, Scenario* pOut) {
  const HRESULT kBad = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  if (!pData || !pOut) return E_POINTER;
  const BYTE* p = static_cast<const BYTE*>(pData);
  if (nSize < kHeader + sizeof(UINT64) || memcmp(p, kMagic, sizeof(kMagic)) != 0) return kBad;
  size_t nBody = nSize - sizeof(UINT64);
  UINT64 stored;
  memcpy(&stored, p + nBody, sizeof(stored));
  if (stored != XXH64(p, nBody, 0)) return kBad;

  Reader r(p + sizeof(kMagic), p + nBody);
  WORD wVersion = 0, nArrays = 0;
  r.Get(&wVersion);
  r.Get(&nArrays);
  if (wVersion != kVersion) return HRESULT_FROM_WIN32(ERROR_UNSUPPORTED_TYPE);
  if (nArrays > 2) return kBad;
  Scenario s;
  r.Get(&s.info);
  if (s.info.cbSize != sizeof(SNRINFO)) return kBad;
  for (WORD i = 0; i < nArrays; ++i) {
    DataArray a;
    INT32 nOption = 0;
    UINT32 nCount = 0;
    if (!r.Get(&a.wDataKind) || !r.Get(&a.wTimeUnit) || !r.Get(&nOption) || !r.Get(&nCount)) return kBad;
    if (!IsDataKind(a.wDataKind) || s.Find(a.wDataKind)) return kBad;
    // The count must fit in what is left: a forged count allocates nothing.
    if (nCount > r.Left() / kElement) return kBad;
    a.nOption = nOption;
    a.elements.resize(nCount);
    for (Element& e : a.elements) {
      INT32 nKind = 0;
      r.Get(&nKind);
      r.Get(&e.data);
      e.lKind = nKind;
      if (std::find(e.data.szPath, e.data.szPath + SNR_PATH_UNITS, L'\0') == e.data.szPath + SNR_PATH_UNITS)
        return kBad;
    }
    s.arrays.push_back(std::move(a));
  }
  if (r.Left() != 0) return kBad;
  *pOut = std::move(s);
  return S_OK;
}

}  // namespace snr
