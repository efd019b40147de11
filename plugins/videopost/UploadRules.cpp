#include "UploadRules.h"

#include <ClipFacts.h>
#include <KitlibEx/KitlibEx.h>
#include <VxResourceIds.h>
#include <textkit/path.h>
#include <textkit/text.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <set>

#include "MovieHeaderReader.h"

namespace upload {

namespace {

bool IsMov(const std::string& path) { return lstrcmpiA(textkit::ExtensionOf(path).c_str(), ".mov") == 0; }
bool IsCont(const std::string& path) { return lstrcmpiA(textkit::ExtensionOf(path).c_str(), ".cont") == 0; }

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

ULONGLONG FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return 0;
  return (ULONGLONG)d.nFileSizeHigh << 32 | d.nFileSizeLow;
}

// Paths go to the writer in UTF-16 through the ANSI code page.
bool ToWide(const std::string& s, std::wstring* out) {
  WCHAR buf[MAX_PATH];
  int n = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, s.c_str(), -1, buf, MAX_PATH);
  if (n <= 0) return false;
  out->assign(buf);
  return true;
}

// A single-byte character of code page 932, or the lead byte of a double-byte one.
bool IsCharacterStart(unsigned char c) { return c < 0x80 || (c >= 0xA1 && c <= 0xDF) || textkit::IsLeadByte(c); }

}  // namespace

HRESULT CheckUploadFiles(UINT* pMessage, int type, const std::vector<std::string>& paths) {
  if (pMessage) *pMessage = 0;
  if (type != 0) return E_INVALIDARG;
  for (const std::string& p : paths) {
    if (!CMTLxIsSupport(p.c_str(), NULL, 14) || (IsMov(p) && IsClipTooLarge(p))) {
      if (pMessage) *pMessage = IDS_UPLOAD_NOT_ACCEPTED;
      return E_INVALIDARG;
    }
  }
  if (paths.empty() || (int)paths.size() > kMaxClips) {
    if (pMessage) *pMessage = paths.empty() ? IDS_EXPORT_NOT_SELECTED : IDS_EXPORT_UPLOAD_TOO_MANY;
    return E_INVALIDARG;
  }
  // Other kinds pass and are left out: without a clip the uploader would get an empty list.
  if (std::none_of(paths.begin(), paths.end(), [](const std::string& p) { return IsMov(p) || IsCont(p); })) {
    if (pMessage) *pMessage = IDS_UPLOAD_NO_CLIP;
    return E_INVALIDARG;
  }
  return S_OK;
}

bool IsClipTooLarge(const std::string& moviePath) {
  CMovieClipFacts facts;
  ULONGLONG ns = 0;
  if (ReadMovieClipFacts(moviePath.c_str(), &facts) && ReadMovieDurationNs(facts, &ns) && ns > kMaxNanoseconds)
    return true;
  return FileSize(moviePath) > kMaxBytes;
}

HRESULT ExtractFirstFrame(const std::string& moviePath, const std::string& thumbPath) {
  CMovieClipFacts facts;
  if (!ReadMovieClipFacts(moviePath.c_str(), &facts) || !facts.bMotionJpeg) return E_FAIL;
  ULONGLONG offset = 0;
  UINT size = 0;
  // Without its frame the ".tmb" the companion names would not exist.
  if (!LocateMovieSample(moviePath.c_str(), facts, 0, &offset, &size)) return E_FAIL;
  HANDLE in =
      ::CreateFileA(moviePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
  if (in == INVALID_HANDLE_VALUE) return E_FAIL;
  SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, FALSE};
  HANDLE out = ::CreateFileA(thumbPath.c_str(), GENERIC_WRITE, 0, &sa, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
  if (out == INVALID_HANDLE_VALUE) {
    ::CloseHandle(in);
    return E_FAIL;
  }
  bool ok = true;
  LARGE_INTEGER at;
  at.QuadPart = (LONGLONG)offset;
  ok = ::SetFilePointerEx(in, at, NULL, FILE_BEGIN) != FALSE;
  static const DWORD kPiece = 32768;
  std::string buf(kPiece, '\0');
  for (UINT left = size; ok && left;) {
    DWORD n = left < kPiece ? left : kPiece, got = 0, put = 0;
    ok = ::ReadFile(in, &buf[0], n, &got, NULL) && got == n && ::WriteFile(out, buf.data(), n, &put, NULL) && put == n;
    left -= n;
  }
  ::CloseHandle(in);
  ok = ::CloseHandle(out) && ok;
  if (!ok) ::DeleteFileA(thumbPath.c_str());
  return ok ? S_OK : E_FAIL;
}

HRESULT UploaderEndResult(DWORD exitCode) {
  if (exitCode == 0) return S_OK;
  return (exitCode & 0x80000000u) ? (HRESULT)exitCode : E_FAIL;
}

HRESULT MakeUniqueTempName(const char* folder, const char* base, const char* ext, std::string* out,
                           const std::vector<std::string>* avoid, bool force) {
  if (!folder || !base || !out) return E_POINTER;
  DWORD attr = ::GetFileAttributesA(folder);
  if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY)) return E_INVALIDARG;
  std::string dir = textkit::WithTrailingSeparator(folder);
  std::string dotExt = ext ? ext : "";
  if (!dotExt.empty() && dotExt[0] != '.') dotExt = "." + dotExt;
  size_t room = 254 - std::min<size_t>(254, dir.size() + dotExt.size());
  std::string name;
  for (const char* p = base; *p;) {
    unsigned char c = (unsigned char)*p;
    if (!IsCharacterStart(c) || (textkit::IsLeadByte(c) && !p[1])) return E_INVALIDARG;
    size_t n = textkit::IsLeadByte(c) ? 2 : 1;
    if (n == 1 && strchr("\"*/:<>?\\|", c)) {
      ++p;
      continue;
    }
    if (name.size() + n > room) break;
    name.append(p, n);
    p += n;
  }
  if (name.empty()) name = "Unknown";
  if (name.size() + dotExt.size() + dir.size() + 5 > 259) return E_FAIL;

  std::set<std::string> avoided;
  if (avoid)
    for (const std::string& a : *avoid) avoided.insert(textkit::FoldCase(a));
  auto taken = [&](const std::string& c) { return avoided.count(textkit::FoldCase(c)) || Exists(c); };
  auto withTail = [&](unsigned n) {
    char tail[8];
    snprintf(tail, sizeof tail, "_%04X", n & 0xFFFF);
    return dir + name + tail + dotExt;
  };
  srand((unsigned)time(NULL));
  std::string candidate = dir + name + dotExt;
  for (int attempt = 0; attempt < 65535; ++attempt) {
    const bool forced = force;
    force = false;
    if (!forced && !taken(candidate)) {
      if (candidate.size() > MAX_PATH) return E_FAIL;
      *out = candidate;
      return S_OK;
    }
    candidate = withTail((unsigned)((long long)rand() * 65535 / 32767));
  }
  // The random numbers reach about half of the tails, and may miss a free one: every tail
  // is tried in turn before there is no name. Taking the last try would overwrite someone's
  // file.
  for (unsigned n = 0; n <= 0xFFFF; ++n) {
    candidate = withTail(n);
    if (!taken(candidate)) {
      if (candidate.size() > MAX_PATH) return E_FAIL;
      *out = candidate;
      return S_OK;
    }
  }
  return E_FAIL;
}

HRESULT CompanionWriter::WriteAll(const std::vector<std::string>& paths) {
  std::vector<std::string> clips;
  for (const std::string& p : paths) {
    if (IsCont(p)) {
      std::string stream = textkit::FolderPartOf(p) + textkit::TitleOf(p) + ".m2ts";
      if (!Exists(stream)) return E_FAIL;
      clips.push_back(p);
    } else if (IsMov(p)) {
      std::string cont;
      HRESULT hr = WriteMovie(p, &cont);
      if (FAILED(hr)) return hr;
      clips.push_back(cont);
    }
  }
  if (clips.empty()) return E_INVALIDARG;
  return WriteList(paths.back(), clips);
}

HRESULT CompanionWriter::WriteMovie(const std::string& path, std::string* contPath) {
  if (!m_writer) return E_POINTER;
  std::wstring wFolder, wPath;
  if (!ToWide(textkit::WithoutTrailingSeparator(textkit::FolderOf(path)), &wFolder) || !ToWide(path, &wPath))
    return E_FAIL;
  HRESULT hr = m_writer->SetBaseFolder(wFolder.c_str());
  if (FAILED(hr)) return hr;

  CMovieClipFacts facts;
  CLIPFACTS_CLIPINFO info = {};
  if (ReadMovieClipFacts(path.c_str(), &facts)) {
    ReadMovieRecordTime(facts, &info.stRecordTime);
    LONGLONG duration = 0;
    if (ReadMovieDuration(facts, &duration)) info.llDuration = duration;
  }
  info.llFileSize = (LONGLONG)FileSize(path);
  if (FAILED(hr = m_writer->SetClipInfo(&info))) return hr;
  if (FAILED(hr = m_writer->SetItemCount(1))) return hr;
  CLIPFACTS_ITEM item = {};
  item.pszPath = wPath.c_str();
  if (FAILED(hr = m_writer->AddItem(&item))) return hr;

  std::string title = textkit::TitleOf(path), thumb, cont;
  if (FAILED(hr = MakeUniqueTempName(m_temp.c_str(), title.c_str(), ".tmb", &thumb, nullptr, false))) return hr;
  if (FAILED(hr = ExtractFirstFrame(path, thumb))) return hr;
  m_thumbs.push_back(thumb);
  std::wstring wThumb;
  if (!ToWide(thumb, &wThumb)) return E_FAIL;
  if (FAILED(hr = m_writer->SetThumbnailCount(1))) return hr;
  CLIPFACTS_THUMBNAIL t = {};
  ::SystemTimeToFileTime(&info.stRecordTime, &t.ftRecordTime);
  t.pszPath = wThumb.c_str();
  if (FAILED(hr = m_writer->SetThumbnail(0, &t))) return hr;

  if (FAILED(hr = MakeUniqueTempName(m_temp.c_str(), title.c_str(), ".cont", &cont, nullptr, false))) return hr;
  std::wstring wCont;
  if (!ToWide(cont, &wCont)) return E_FAIL;
  if (FAILED(hr = m_writer->SetOption(CLIPFACTS_OPTION_UPLOAD))) return hr;
  hr = m_writer->SaveAs(wCont.c_str());
  m_writer->Finish();
  if (FAILED(hr)) return hr;
  m_companions.push_back(cont);
  *contPath = cont;
  return S_OK;
}

HRESULT CompanionWriter::WriteList(const std::string& lastPath, const std::vector<std::string>& clips) {
  std::string list;
  HRESULT hr = MakeUniqueTempName(m_temp.c_str(), textkit::TitleOf(lastPath).c_str(), ".cont", &list, nullptr, false);
  if (FAILED(hr)) return hr;
  if (FAILED(hr = m_writer->SetItemCount((int)clips.size()))) return hr;
  for (const std::string& c : clips) {
    std::wstring w;
    if (!ToWide(c, &w)) return E_FAIL;
    CLIPFACTS_ITEM item = {};
    item.pszPath = w.c_str();
    if (FAILED(hr = m_writer->AddItem(&item))) return hr;
  }
  std::wstring wList;
  if (!ToWide(list, &wList)) return E_FAIL;
  if (FAILED(hr = m_writer->SetOption(CLIPFACTS_OPTION_UPLOAD))) return hr;
  hr = m_writer->SaveAs(wList.c_str());
  m_writer->Finish();
  if (FAILED(hr)) return hr;
  m_companions.push_back(list);
  m_list = list;
  return S_OK;
}

}  // namespace upload
