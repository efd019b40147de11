// The sink the disc core's import job writes each imported clip's companion files
// through: the content information (".cont", by ClipFacts), the thumbnail (".tmb", a JPEG)
// and the still information (".iis", by StillFileIo), beside the clip's first stream.
// Every file is new: written through the verified write, never onto another file.
#pragma once
#include <ClipFacts.h>
#include <StillFileIo.h>
#include <VxBDIntegrator.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ModuleLoader.h"

// The base of the plug-in's reference-counted objects: a module lock while one lives.
class CUnknownImpl {
 public:
  CUnknownImpl();
  virtual ~CUnknownImpl();
  static LONG ModuleLocks();

 protected:
  ULONG AddRefImpl();
  ULONG ReleaseImpl();

 private:
  volatile LONG m_ref = 0;
};

class CClipFactsWriter : public IVxBDClipSink, public CUnknownImpl {
 public:
  // Loads ClipFacts and StillFileIo beside the plug-in and makes their objects; the first
  // failing step's code lands in *result (the writer then fails what needs that object).
  explicit CClipFactsWriter(HRESULT* result);
  ~CClipFactsWriter() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
  ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }
  HRESULT STDMETHODCALLTYPE Reserved3(void*, void*, void*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Reserved4(void*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Begin() override;
  HRESULT STDMETHODCALLTYPE SetSourceFiles(const VXBDCLIPSOURCES* pRecord) override;
  HRESULT STDMETHODCALLTYPE SetClipInfo(const VXBDCLIPINFO* pInfo) override;
  HRESULT STDMETHODCALLTYPE SetStreamInfo(const VXBDSTREAMINFO* pInfo) override;
  HRESULT STDMETHODCALLTYPE SetPrivateData(DWORD dwTag, const void* pData, DWORD cb) override;
  HRESULT STDMETHODCALLTYPE SetThumbnail(const BITMAPINFOHEADER* pDib) override;
  HRESULT STDMETHODCALLTYPE SetStillTime(const VXBDSTILLTIME* pTime, DWORD dwLow, DWORD dwHigh) override;
  HRESULT STDMETHODCALLTYPE Commit(int* pnFiles) override;
  HRESULT STDMETHODCALLTYPE GetFileNames(LPWSTR* ppszNames, int nCapacity) override;

  // The content files written so far (ANSI), until emptied.
  size_t GetContentFileCount() const { return m_contentFiles.size(); }
  // Throws std::out_of_range for an index outside the list.
  const std::string& GetContentFile(size_t index) const;
  void ClearContentFiles() { m_contentFiles.clear(); }

  // The hardware-information file the device names come from ("Core\MediaHwInfo.ini"
  // beside the program unless a test sets another).
  void SetHwInfoPath(const std::wstring& path) { m_hwInfoPath = path; }

 private:
  struct WrittenRecord {
    DWORD kind;
    std::wstring name;
    ULONGLONG size;
    FILETIME lastWrite;
  };
  void ReleaseObjects();
  HRESULT NewStillInfo();
  // The companion path of the content file with another extension.
  std::wstring CompanionPath(LPCWSTR extension) const;

  CModuleLoader m_contentLibrary, m_stillLibrary;
  IClipFactsEdit* m_content = nullptr;
  IStillFileWriter* m_stillWriter = nullptr;
  IStillInfo* m_stillInfo = nullptr;
  CLIPFACTS_CLIPINFO m_info = {};
  std::vector<uint8_t> m_thumbnail;
  std::wstring m_contentPath;
  std::vector<std::wstring> m_written;     // this clip's files
  std::vector<std::string> m_contentFiles; // every clip's ".cont"
  std::vector<WrittenRecord> m_records;
  std::wstring m_hwInfoPath;
};

// In the first JFIF header of a JPEG: version 1.02, no density unit, 96 by 96. False when
// there is none.
bool PatchJfifHeader(std::vector<uint8_t>* jpeg);
