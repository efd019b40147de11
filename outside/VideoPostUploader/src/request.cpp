#include "VideoPostRequest.h"

#include <VxContFile.h>
#include <textkit/path.h>
#include <textkit/text.h>
#include <winhttp.h>

#include <string>

#include <cstdio>

namespace videopost {

namespace {

std::string ReadAll(const std::string& path) {
  std::string bytes;
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size;
  if (::GetFileSizeEx(h, &size) && size.QuadPart < 16 * 1024 * 1024) {
    bytes.resize((size_t)size.QuadPart);
    DWORD got = 0;
    if (!bytes.empty() && !(::ReadFile(h, &bytes[0], (DWORD)bytes.size(), &got, NULL) && got == bytes.size()))
      bytes.clear();
  }
  ::CloseHandle(h);
  return bytes;
}

bool FileSize(const std::string& path, uint64_t* size) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d) ||
      (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  *size = (uint64_t)d.nFileSizeHigh << 32 | d.nFileSizeLow;
  return true;
}

std::string HeaderName(const std::string& name) {
  std::string out = textkit::AnsiToUtf8(name);
  for (char& c : out)
    if (c == '"' || c == '\r' || c == '\n') c = '_';
  return out;
}

std::string PartHead(const std::string& boundary, const char* field, const std::string* fileName, const char* type) {
  std::string s = "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + field + "\"";
  if (fileName) s += "; filename=\"" + HeaderName(*fileName) + "\"";
  s += "\r\nContent-Type: ";
  s += type;
  s += "\r\n\r\n";
  return s;
}

// Everything before the movie's bytes, and everything after them.
void Frame(const std::string& boundary, const Clip& clip, const std::string& thumbBytes, std::string* head,
           std::string* tail) {
  std::string thumbName = clip.thumbPath.empty() ? std::string("none.tmb") : textkit::FileNameOf(clip.thumbPath);
  *head = PartHead(boundary, "facts", nullptr, "text/plain; charset=utf-8") + FactsText(clip) + "\r\n" +
          PartHead(boundary, "thumbnail", &thumbName, "image/jpeg") + thumbBytes + "\r\n" +
          PartHead(boundary, "movie", &clip.name, "application/octet-stream");
  *tail = "\r\n--" + boundary + "--\r\n";
}

}  // namespace

bool ReadList(const std::string& listPath, std::vector<Clip>* clips) {
  vxcont::ContentInfo list;
  if (!vxcont::ReadContentFile(listPath.c_str(), &list)) return false;
  clips->clear();
  for (const std::string& contPath : list.items) {
    Clip clip;
    clip.contPath = contPath;
    clip.name = textkit::FileNameOf(contPath);
    vxcont::ContentInfo info;
    if (!vxcont::ReadContentFile(contPath.c_str(), &info)) {
      clip.problem = "not a content file";
    } else {
      // A clip the plug-in described names its movie; a camcorder scene lists its streams
      // beside it.
      if (!info.items.empty()) {
        clip.moviePath = info.items[0];
      } else if (!info.members.empty()) {
        clip.moviePath = textkit::FolderPartOf(contPath) + info.members[0];
        for (const std::string& m : info.members)
          if (lstrcmpiA(textkit::ExtensionOf(m).c_str(), ".tmb") == 0)
            clip.thumbPath = textkit::FolderPartOf(contPath) + m;
      }
      if (!info.thumbnails.empty()) clip.thumbPath = info.thumbnails[0];
      clip.recordTime = info.recordTime;
      clip.durationSeconds = info.durationSeconds;
      if (!clip.moviePath.empty()) clip.name = textkit::FileNameOf(clip.moviePath);
      if (clip.moviePath.empty())
        clip.problem = "names no movie";
      else if (!FileSize(clip.moviePath, &clip.size))
        clip.problem = "the movie is missing";
    }
    clips->push_back(clip);
  }
  return true;
}

std::string ReadServiceUrl(const std::string& iniPath) {
  char url[1024] = "";
  ::GetPrivateProfileStringA("Service", "Url", "", url, sizeof url, iniPath.c_str());
  return textkit::Trim(url);
}

std::string FactsText(const Clip& clip) {
  std::string s = "Name=" + clip.name + "\r\n";
  if (clip.recordTime) {
    char buf[40];
    const SYSTEMTIME& t = *clip.recordTime;
    snprintf(buf, sizeof buf, "%04u/%02u/%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond);
    s += "RecordTime=" + std::string(buf) + "\r\n";
  }
  if (clip.durationSeconds > 0) {
    char buf[40];
    snprintf(buf, sizeof buf, "%.3f", clip.durationSeconds);
    s += "Duration=" + std::string(buf) + "\r\n";
  }
  s += "Size=" + std::to_string(clip.size);
  return textkit::AnsiToUtf8(s);
}

std::string BuildBody(const std::string& boundary, const Clip& clip, const std::string& thumbBytes,
                      const std::string& movieBytes) {
  std::string head, tail;
  Frame(boundary, clip, thumbBytes, &head, &tail);
  return head + movieBytes + tail;
}

std::string MakeBoundary(const std::vector<const std::string*>& texts) {
  for (DWORD seed = ::GetTickCount();; ++seed) {
    char buf[40];
    snprintf(buf, sizeof buf, "----VideoPost%08lX%08lX", (unsigned long)seed, (unsigned long)(seed * 2654435761u));
    bool found = false;
    for (const std::string* t : texts) found = found || t->find(buf) != std::string::npos;
    if (!found) return buf;
  }
}

Answer SendClip(const std::string& url, const Clip& clip, const Timeouts& timeouts) {
  Answer a;
  if (!clip.problem.empty()) {
    a.text = clip.problem;
    return a;
  }
  std::wstring wUrl = textkit::AnsiToWide(url);
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof parts;
  wchar_t host[256] = L"", path[2048] = L"";
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = 2048;
  if (!::WinHttpCrackUrl(wUrl.c_str(), 0, 0, &parts)) {
    a.error = ::GetLastError();
    a.text = "the service address is not valid";
    return a;
  }
  std::string thumb = clip.thumbPath.empty() ? std::string() : ReadAll(clip.thumbPath);
  std::string boundary = MakeBoundary({&thumb});
  std::string head, tail;
  Frame(boundary, clip, thumb, &head, &tail);
  uint64_t total = head.size() + clip.size + tail.size();

  HINTERNET session = ::WinHttpOpen(L"VideoPostUploader/1.0", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0);
  // A request takes the session's timeouts when it is opened: they are set before.
  if (session) ::WinHttpSetTimeouts(session, timeouts.resolve, timeouts.connect, timeouts.send, timeouts.receive);
  HINTERNET connect = session ? ::WinHttpConnect(session, host, parts.nPort, 0) : NULL;
  HINTERNET request = connect ? ::WinHttpOpenRequest(connect, L"POST", path[0] ? path : L"/", NULL, WINHTTP_NO_REFERER,
                                                     WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                     parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0)
                              : NULL;
  // The wait for the answer has an option of its own (under Wine without any bound).
  DWORD answerWait = (DWORD)timeouts.receive;
  if (request) ::WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &answerWait, sizeof answerWait);
  std::wstring headers = L"Content-Type: multipart/form-data; boundary=" + textkit::AnsiToWide(boundary) + L"\r\n";
  bool ok = request && total <= 0xFFFFFFFFull &&
            ::WinHttpSendRequest(request, headers.c_str(), (DWORD)-1, WINHTTP_NO_REQUEST_DATA, 0, (DWORD)total, 0);
  auto write = [&](const char* p, size_t n) {
    DWORD put = 0;
    return ::WinHttpWriteData(request, p, (DWORD)n, &put) && put == n;
  };
  ok = ok && write(head.data(), head.size());
  if (ok) {
    HANDLE h = ::CreateFileA(clip.moviePath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ok = h != INVALID_HANDLE_VALUE;
    std::string piece(65536, '\0');
    for (uint64_t left = clip.size; ok && left;) {
      DWORD n = (DWORD)(left < piece.size() ? left : piece.size()), got = 0;
      ok = ::ReadFile(h, &piece[0], n, &got, NULL) && got == n && write(piece.data(), n);
      left -= n;
    }
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }
  ok = ok && write(tail.data(), tail.size()) && ::WinHttpReceiveResponse(request, NULL);
  if (ok) {
    DWORD status = 0, size = sizeof status;
    if (::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, NULL, &status, &size,
                              NULL)) {
      a.status = status;
      a.ok = status >= 200 && status < 300;
      a.text = (a.ok ? "sent (" : "refused by the service (") + std::to_string(status) + ")";
    }
  }
  if (!a.status) {
    a.error = ::GetLastError();
    // Wine's WinHTTP reports a timed-out wait with the socket's code (WSAETIMEDOUT).
    const DWORD kSocketTimedOut = 10060;
    const bool late = a.error == ERROR_WINHTTP_TIMEOUT || a.error == kSocketTimedOut;
    a.text = late                                      ? "the service did not answer in time"
             : a.error == ERROR_WINHTTP_CANNOT_CONNECT ? "the service cannot be reached"
                                                       : "sending failed (" + std::to_string(a.error) + ")";
  }
  if (request) ::WinHttpCloseHandle(request);
  if (connect) ::WinHttpCloseHandle(connect);
  if (session) ::WinHttpCloseHandle(session);
  return a;
}

}  // namespace videopost
