#include <initguid.h>

#include "ClipFactsWriter.h"

#include <imaging/dib.h>
#include <imaging/encode.h>
#include <safecopy/SafeCopy.h>
#include <textkit/text.h>

#include <algorithm>
#include <stdexcept>

#include "HwInfoReader.h"

namespace {

volatile LONG g_moduleLocks = 0;

const char kContentLibrary[] = "Core\\ScoreHall\\ClipFacts.dll";
const char kStillLibrary[] = "StillFileIo.dll";
// Thumbnails are small: the encoder's quality matters little, the size does.
const int kThumbnailQuality = 80;

template <class T>
void ReleaseOne(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

HRESULT CreateFrom(CModuleLoader& lib, const char* name, REFCLSID clsid, REFIID iid, void** out) {
  HRESULT hr = lib.LoadRelative(name, CModuleLoader::OwnModule());
  if (FAILED(hr)) return hr;
  FARPROC proc = nullptr;
  if (FAILED(hr = lib.GetProc("DllCreateInstance", &proc))) return hr;
  return reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(proc)(clsid, iid, out);
}

bool FileFacts(const std::wstring& path, ULONGLONG* size, FILETIME* lastWrite, DWORD* error) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d)) {
    *error = GetLastError();
    return false;
  }
  *size = (static_cast<ULONGLONG>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
  *lastWrite = d.ftLastWriteTime;
  return true;
}

std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

}  // namespace

CUnknownImpl::CUnknownImpl() { InterlockedIncrement(&g_moduleLocks); }
CUnknownImpl::~CUnknownImpl() { InterlockedDecrement(&g_moduleLocks); }
LONG CUnknownImpl::ModuleLocks() { return g_moduleLocks; }
ULONG CUnknownImpl::AddRefImpl() {
  LONG n = InterlockedIncrement(&m_ref);
  return n < 1 ? 1 : n;
}
ULONG CUnknownImpl::ReleaseImpl() {
  LONG n = InterlockedDecrement(&m_ref);
  if (n == 0) {
    m_ref = 1;  // a reference taken while it goes must not delete it twice
    delete this;
    return 0;
  }
  return n < 1 ? 1 : n;
}

bool PatchJfifHeader(std::vector<uint8_t>* jpeg) {
  std::vector<uint8_t>& b = *jpeg;
  for (size_t at = 2; at + 4 <= b.size();) {
    if (b[at] != 0xFF) return false;
    const uint8_t marker = b[at + 1];
    const size_t length = (b[at + 2] << 8) | b[at + 3];
    if (marker == 0xDA || length < 2 || at + 2 + length > b.size()) return false;
    // APP0 "JFIF\0": version at 9, unit at 11, densities at 12 and 14.
    if (marker == 0xE0 && length >= 16 && memcmp(&b[at + 4], "JFIF\0", 5) == 0) {
      b[at + 9] = 1;
      b[at + 10] = 2;
      b[at + 11] = 0;
      b[at + 12] = 0;
      b[at + 13] = 96;
      b[at + 14] = 0;
      b[at + 15] = 96;
      return true;
    }
    at += 2 + length;
  }
  return false;
}

CClipFactsWriter::CClipFactsWriter(HRESULT* result) {
  HRESULT hr = CreateFrom(m_contentLibrary, kContentLibrary, CLSID_ClipFactsWriter, IID_IClipFactsEdit,
                          reinterpret_cast<void**>(&m_content));
  if (SUCCEEDED(hr))
    hr = CreateFrom(m_stillLibrary, kStillLibrary, CLSID_StillFileWriter, IID_IStillFileWriter,
                    reinterpret_cast<void**>(&m_stillWriter));
  if (result) *result = FAILED(hr) ? hr : S_OK;
}

CClipFactsWriter::~CClipFactsWriter() { ReleaseObjects(); }

void CClipFactsWriter::ReleaseObjects() {
  ReleaseOne(m_content);
  ReleaseOne(m_stillInfo);
  ReleaseOne(m_stillWriter);
  m_thumbnail.clear();
  m_written.clear();
  m_contentFiles.clear();
}

HRESULT CClipFactsWriter::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid != IID_IVxBDClipSink && riid != IID_IUnknown) return E_NOINTERFACE;
  *ppv = static_cast<IVxBDClipSink*>(this);
  AddRef();
  return S_OK;
}

const std::string& CClipFactsWriter::GetContentFile(size_t index) const {
  if (index >= m_contentFiles.size()) throw std::out_of_range("invalid vector<T> subscript");
  return m_contentFiles[index];
}

HRESULT CClipFactsWriter::NewStillInfo() {
  ReleaseOne(m_stillInfo);
  if (!m_stillLibrary.Handle()) return E_ACCESSDENIED;
  HRESULT hr = CreateFrom(m_stillLibrary, kStillLibrary, CLSID_StillInfo, IID_IStillInfo,
                          reinterpret_cast<void**>(&m_stillInfo));
  if (FAILED(hr)) return hr;
  STILLSTART start = {0, {'S', 'T', 'I', 'L'}, STILL_VERSION, 0, 0};
  STILLRECORD record;
  memcpy(&record, &start, sizeof record);
  return m_stillInfo->Start(&record);
}

HRESULT CClipFactsWriter::Begin() {
  if (!m_content) return E_POINTER;
  HRESULT hr = m_content->Finish();
  if (FAILED(hr)) return hr;
  m_info = CLIPFACTS_CLIPINFO();
  m_thumbnail.clear();
  m_contentPath.clear();
  m_written.clear();
  m_records.clear();
  return NewStillInfo();
}

HRESULT CClipFactsWriter::SetSourceFiles(const VXBDCLIPSOURCES* p) {
  if (!p || !m_content) return E_POINTER;
  if (!m_stillInfo) return E_ACCESSDENIED;
  if (p->nFiles == 0 || p->nFiles > VXBD_MAX_CLIP_FILES) return E_INVALIDARG;
  m_info.stRecordTime = p->stRecorded;
  m_info.llDuration = p->llDuration;
  HRESULT hr = m_content->SetStreamCount(p->nFiles);
  if (FAILED(hr)) return hr;
  ULONGLONG total = 0;
  for (int i = 0; i < p->nFiles; ++i) {
    if (!p->apszFiles[i]) return E_POINTER;
    const std::wstring path = p->apszFiles[i];
    CLIPFACTS_ENTRY e = {};
    DWORD error = 0;
    if (!FileFacts(path, &e.ullSize, &e.ftLastWrite, &error)) return ResultFromError(error);
    total += e.ullSize;
    const std::wstring name = NameOf(path);
    if (i == 0) {
      // The content file sits beside the first stream under its base name.
      const size_t dot = path.find_last_of(L'.');
      const size_t slash = path.find_last_of(L"\\/");
      m_contentPath = (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash) ? path.substr(0, dot)
                                                                                                  : path) +
                      L".cont";
      if (m_contentPath.size() >= MAX_PATH) return E_UNEXPECTED;
      if (FAILED(hr = m_content->SetOutputPath(m_contentPath.c_str()))) return hr;
    }
    if (name.size() >= MAX_PATH) return E_UNEXPECTED;
    lstrcpyW(e.szName, name.c_str());
    if (FAILED(hr = m_content->SetStream(i, &e))) return hr;
  }
  m_info.llFileSize = static_cast<LONGLONG>(total);

  CHwInfoReader hw;
  if (m_hwInfoPath.empty())
    hw.Open(L"Core\\MediaHwInfo.ini", NULL);
  else
    hw.OpenPath(m_hwInfoPath);
  hw.SetCodes(p->wMakerCode, p->wModelCode, p->szMakerText, p->szModelText, p->szThirdText);
  const std::wstring maker = hw.GetMakerName(), model = hw.GetModelRecord();
  lstrcpynW(m_info.szMaker, maker.c_str(), 128);
  memcpy(m_info.szModelRecord, model.data(), std::min(model.size(), (size_t)127) * sizeof(WCHAR));

  STILLRECORD start;
  if (FAILED(hr = m_stillInfo->GetRecord(0, &start))) return hr;
  reinterpret_cast<STILLSTART*>(&start)->wClipValue = p->wStillValue;
  if (FAILED(hr = m_stillInfo->SetRecord(0, &start))) return hr;
  STILLTIME t = {};
  t.dwKind = STILL_KIND_TIME;
  t.dwTicks45k = static_cast<DWORD>(p->llDuration * 45 / 10000);
  t.wYear = p->stRecorded.wYear;
  t.bMonth = static_cast<BYTE>(p->stRecorded.wMonth);
  t.bDay = static_cast<BYTE>(p->stRecorded.wDay);
  t.bHour = static_cast<BYTE>(p->stRecorded.wHour);
  t.bMinute = static_cast<BYTE>(p->stRecorded.wMinute);
  t.bSecond = static_cast<BYTE>(p->stRecorded.wSecond);
  STILLRECORD time;
  memcpy(&time, &t, sizeof time);
  int count = 0;
  m_stillInfo->GetCount(&count);
  return m_stillInfo->SetRecord(count > 1 ? 1 : count, &time);
}

HRESULT CClipFactsWriter::SetClipInfo(const VXBDCLIPINFO* p) {
  if (!m_content) return E_POINTER;
  if (!p) return E_POINTER;
  m_info.stRecordTime = p->stRecorded;
  m_info.llDuration = p->llDuration;
  return S_OK;
}

HRESULT CClipFactsWriter::SetStreamInfo(const VXBDSTREAMINFO* p) {
  if (!m_content || !p) return E_POINTER;
  return S_OK;
}

HRESULT CClipFactsWriter::SetPrivateData(DWORD tag, const void* data, DWORD cb) {
  if (cb > sizeof(CLIPFACTS_PRIVATE::data)) return E_OUTOFMEMORY;
  if (!m_content) return E_POINTER;
  if (cb && !data) return E_POINTER;
  CLIPFACTS_PRIVATE rec = {};
  rec.dwTag = tag;
  rec.cbData = cb;
  if (cb) memcpy(rec.data, data, cb);
  return m_content->SetPrivateData(&rec);
}

HRESULT CClipFactsWriter::SetThumbnail(const BITMAPINFOHEADER* dib) {
  if (!dib) return E_POINTER;
  const size_t size = imaging::PackedDibSize(dib, 64u << 20);
  imaging::Dib picture;
  if (!size || !picture.Assign(dib, size, 24)) return E_INVALIDARG;
  std::vector<uint8_t> jpeg;
  if (FAILED(imaging::EncodeJpeg(picture, kThumbnailQuality, &jpeg)) || jpeg.empty()) return E_UNEXPECTED;
  PatchJfifHeader(&jpeg);
  m_thumbnail.swap(jpeg);
  return S_OK;
}

HRESULT CClipFactsWriter::SetStillTime(const VXBDSTILLTIME* p, DWORD low, DWORD) {
  if (!m_stillInfo) return E_ACCESSDENIED;
  if (!p) return E_POINTER;
  STILLTIME t = {};
  t.dwKind = STILL_KIND_TIME;
  t.dwTicks45k = low;
  t.wYear = p->wYear;
  t.bMonth = p->bMonth;
  t.bDay = p->bDay;
  t.bHour = p->bHour;
  t.bMinute = p->bMinute;
  t.bSecond = p->bSecond;
  t.bZone = p->bZone;
  STILLRECORD r;
  memcpy(&r, &t, sizeof r);
  int count = 0;
  m_stillInfo->GetCount(&count);
  return m_stillInfo->SetRecord(count > 1 ? 1 : count, &r);
}

std::wstring CClipFactsWriter::CompanionPath(LPCWSTR extension) const {
  return m_contentPath.substr(0, m_contentPath.size() - 5) + extension;
}

HRESULT CClipFactsWriter::Commit(int* pnFiles) {
  if (!m_content || !pnFiles || m_thumbnail.empty()) return E_POINTER;
  if (!m_stillInfo || !m_stillWriter) return E_ACCESSDENIED;
  if (m_contentPath.empty()) return E_UNEXPECTED;
  *pnFiles = 0;
  std::vector<std::wstring> made;
  auto undo = [&made](HRESULT hr) {
    for (const std::wstring& f : made) DeleteFileW(f.c_str());
    return hr;
  };
  const std::wstring tmb = CompanionPath(L".tmb"), iis = CompanionPath(L".iis");
  std::string tmbAnsi;
  if (!textkit::TryWideToAnsi(tmb, &tmbAnsi)) return E_UNEXPECTED;
  DWORD e = safecopy::WriteFileVerified(tmbAnsi, m_thumbnail.data(), m_thumbnail.size());
  if (e) return ResultFromError(e);
  made.push_back(tmb);
  WrittenRecord r = {CLIPFACTS_RECORD_THUMBNAIL, NameOf(tmb), 0, {}};
  if (!FileFacts(tmb, &r.size, &r.lastWrite, &e)) return undo(ResultFromError(e));
  m_records.push_back(r);

  HRESULT hr = m_stillWriter->Write(iis.c_str(), m_stillInfo);
  if (FAILED(hr)) return undo(hr);
  made.push_back(iis);
  r = {CLIPFACTS_RECORD_STILL, NameOf(iis), 0, {}};
  if (!FileFacts(iis, &r.size, &r.lastWrite, &e)) return undo(ResultFromError(e));
  m_records.push_back(r);

  if (FAILED(hr = m_content->SetRecordCount(static_cast<int>(m_records.size())))) return undo(hr);
  for (size_t i = 0; i < m_records.size(); ++i) {
    CLIPFACTS_ENTRY entry = {};
    entry.dwKind = m_records[i].kind;
    entry.ullSize = m_records[i].size;
    entry.ftLastWrite = m_records[i].lastWrite;
    lstrcpynW(entry.szName, m_records[i].name.c_str(), MAX_PATH);
    if (FAILED(hr = m_content->SetRecord(static_cast<int>(i), &entry))) return undo(hr);
  }
  GetLocalTime(&m_info.stCreated);
  m_info.stUpdated = m_info.stCreated;
  if (FAILED(hr = m_content->SetClipInfo(&m_info))) return undo(hr);
  if (FAILED(hr = m_content->Commit())) return undo(hr);

  m_written.push_back(m_contentPath);
  m_written.push_back(tmb);
  m_written.push_back(iis);
  std::string cont;
  textkit::TryWideToAnsi(m_contentPath, &cont);
  m_contentFiles.push_back(cont);
  m_info = CLIPFACTS_CLIPINFO();
  m_thumbnail.clear();
  m_records.clear();
  *pnFiles = static_cast<int>(m_written.size());
  return S_OK;
}

HRESULT CClipFactsWriter::GetFileNames(LPWSTR* names, int capacity) {
  if (!names) return E_POINTER;
  if (static_cast<int>(m_written.size()) > capacity) return E_ACCESSDENIED;
  for (size_t i = 0; i < m_written.size(); ++i) {
    if (!names[i]) return E_POINTER;
    lstrcpynW(names[i], m_written[i].c_str(), MAX_PATH);
  }
  return S_OK;
}
