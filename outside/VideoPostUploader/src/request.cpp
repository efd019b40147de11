#include "VideoPostRequest.h"

#include <VxContFile.h>
#include <textkit/path.h>
#include <textkit/text.h>
#include <winhttp.h>

#include <functional>
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

// One request's steps as WinHTTP reports them. WinHTTP works asynchronously, so that the
// sender can stop waiting for a step at its deadline: a closed handle ends a synchronous
// call under Windows, but Wine's keeps reading whatever trickles in. The object lives
// until WinHTTP lets the request's handle go (WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING),
// which may come after the sender gave up on it: it holds every buffer WinHTTP may still
// read.
class Exchange {
 public:
  Exchange() : m_event(::CreateEventA(NULL, FALSE, FALSE, NULL)) {}
  ~Exchange() {
    if (m_event) ::CloseHandle(m_event);
  }
  bool Ready() const { return m_event != NULL; }
  // Before each step.
  void Start() {
    std::lock_guard<std::mutex> l(m_lock);
    m_completed = false;
    m_error = 0;
  }
  // 0 when the step completed, its error, ERROR_WINHTTP_TIMEOUT when the deadline (a tick
  // count) passed first, or ERROR_CANCELLED when the sender was interrupted.
  DWORD Await(DWORD deadline) {
    for (;;) {
      {
        std::lock_guard<std::mutex> l(m_lock);
        if (m_interrupted) return ERROR_CANCELLED;
        if (m_completed) return m_error;
      }
      const DWORD now = ::GetTickCount();
      if ((LONG)(deadline - now) <= 0) return ERROR_WINHTTP_TIMEOUT;
      ::WaitForSingleObject(m_event, deadline - now);
    }
  }
  void Interrupt() {
    std::lock_guard<std::mutex> l(m_lock);
    m_interrupted = true;
    ::SetEvent(m_event);
  }
  static void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
    Exchange* x = reinterpret_cast<Exchange*>(context);
    if (!x) return;
    switch (status) {
      case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
      case WINHTTP_CALLBACK_STATUS_WRITE_COMPLETE:
      case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE: x->Complete(0); break;
      case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        x->Complete(info ? static_cast<WINHTTP_ASYNC_RESULT*>(info)->dwError : ERROR_WINHTTP_INTERNAL_ERROR);
        break;
      case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING: delete x; break;
    }
  }
  std::string head, tail, piece;  // what WinHTTP sends from

 private:
  void Complete(DWORD error) {
    std::lock_guard<std::mutex> l(m_lock);
    m_completed = true;
    m_error = error;
    ::SetEvent(m_event);
  }
  std::mutex m_lock;
  HANDLE m_event;
  bool m_completed = false, m_interrupted = false;
  DWORD m_error = 0;
};

// Registers the exchange under way with the Cancel for the time of a request.
class CancelEntry {
 public:
  CancelEntry(Cancel* cancel, Exchange* x) : m_cancel(x ? cancel : nullptr) {
    if (!m_cancel) return;
    std::lock_guard<std::mutex> l(m_cancel->m_lock);
    m_cancel->m_current = x;
    if (m_cancel->m_done) x->Interrupt();
  }
  ~CancelEntry() { Leave(); }
  // Before the request's handle is closed, which may end the exchange.
  void Leave() {
    if (!m_cancel) return;
    std::lock_guard<std::mutex> l(m_cancel->m_lock);
    m_cancel->m_current = nullptr;
    m_cancel = nullptr;
  }

 private:
  Cancel* m_cancel;
};

void Cancel::Now() {
  std::lock_guard<std::mutex> l(m_lock);
  m_done = true;
  if (m_current) m_current->Interrupt();
}

bool Cancel::Done() const {
  std::lock_guard<std::mutex> l(m_lock);
  return m_done;
}

DWORD SendingDeadline(const Timeouts& timeouts, uint64_t bytes) {
  const double rate = timeouts.minimumRate > 1 ? timeouts.minimumRate : 1;
  const double ms = (double)timeouts.resolve + timeouts.connect + bytes * 1000.0 / rate;
  return ms < 0 ? 0 : ms > 0x7FFFFFFF ? 0x7FFFFFFF : (DWORD)ms;
}

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

Answer SendClip(const std::string& url, const Clip& clip, const Timeouts& timeouts, Cancel* cancel) {
  Answer a;
  if (!clip.problem.empty()) {
    a.text = clip.problem;
    return a;
  }
  if (cancel && cancel->Done()) {
    a.text = "not sent";
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
  Exchange* x = new Exchange;  // WinHTTP's from the request's opening on
  Frame(boundary, clip, thumb, &x->head, &x->tail);
  const uint64_t total = x->head.size() + clip.size + x->tail.size();

  HINTERNET session = ::WinHttpOpen(L"VideoPostUploader/1.0", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
  // A request takes the session's timeouts when it is opened: they are set before.
  if (session) ::WinHttpSetTimeouts(session, timeouts.resolve, timeouts.connect, timeouts.send, timeouts.receive);
  HINTERNET connect = session ? ::WinHttpConnect(session, host, parts.nPort, 0) : NULL;
  HINTERNET request = connect ? ::WinHttpOpenRequest(connect, L"POST", path[0] ? path : L"/", NULL, WINHTTP_NO_REFERER,
                                                     WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                     parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0)
                              : NULL;
  DWORD_PTR context = (DWORD_PTR)x;
  bool ok = request && x->Ready() &&
            ::WinHttpSetOption(request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context) &&
            ::WinHttpSetStatusCallback(request, &Exchange::OnStatus,
                                       WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
                                       0) != WINHTTP_INVALID_STATUS_CALLBACK;
  DWORD error = 0;
  if (!ok) {
    error = ::GetLastError() ? ::GetLastError() : ERROR_WINHTTP_INTERNAL_ERROR;
    delete x;  // no callback will come for it
    x = nullptr;
  }
  // The wait for the answer has an option of its own (under Wine without any bound).
  DWORD answerWait = (DWORD)timeouts.receive;
  if (ok) ::WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &answerWait, sizeof answerWait);
  CancelEntry entry(cancel, x);
  DWORD deadline = ::GetTickCount() + SendingDeadline(timeouts, total);
  // Starts one step and waits for it; false (error set) when it failed or the time ran out.
  auto step = [&](const std::function<BOOL()>& begin) {
    if (error) return false;
    x->Start();
    error = begin() ? x->Await(deadline) : ::GetLastError();
    return error == 0;
  };
  std::wstring headers = L"Content-Type: multipart/form-data; boundary=" + textkit::AnsiToWide(boundary) + L"\r\n";
  if (ok && total > 0xFFFFFFFFull) error = ERROR_INVALID_PARAMETER;
  step([&] {
    return ::WinHttpSendRequest(request, headers.c_str(), (DWORD)-1, WINHTTP_NO_REQUEST_DATA, 0, (DWORD)total, context);
  });
  auto write = [&](const std::string& bytes, size_t n) {
    return step([&] { return ::WinHttpWriteData(request, bytes.data(), (DWORD)n, NULL); });
  };
  if (x && write(x->head, x->head.size())) {
    HANDLE h = ::CreateFileA(clip.moviePath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) error = ::GetLastError();
    for (uint64_t left = clip.size; !error && left;) {
      x->piece.resize(65536);
      DWORD n = (DWORD)(left < x->piece.size() ? left : x->piece.size()), got = 0;
      if (!::ReadFile(h, &x->piece[0], n, &got, NULL) || got != n)
        error = ERROR_READ_FAULT;
      else
        write(x->piece, n);
      left -= n;
    }
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }
  if (x && write(x->tail, x->tail.size())) {
    // The whole head of the answer within the answer's wait.
    deadline = ::GetTickCount() + (DWORD)timeouts.receive;
    if (step([&] { return ::WinHttpReceiveResponse(request, NULL); })) {
      DWORD status = 0, size = sizeof status;
      if (::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, NULL, &status, &size,
                                NULL)) {
        a.status = status;
        a.ok = status >= 200 && status < 300;
        a.text = (a.ok ? "sent (" : "refused by the service (") + std::to_string(status) + ")";
      } else {
        error = ::GetLastError();
      }
    }
  }
  if (!a.status) {
    a.error = error;
    // Wine's WinHTTP reports a timed-out wait with the socket's code (WSAETIMEDOUT).
    const DWORD kSocketTimedOut = 10060;
    const bool late = error == ERROR_WINHTTP_TIMEOUT || error == kSocketTimedOut;
    a.text = late                                    ? "the service did not answer in time"
             : error == ERROR_CANCELLED              ? "not sent"
             : error == ERROR_WINHTTP_CANNOT_CONNECT ? "the service cannot be reached"
                                                     : "sending failed (" + std::to_string(error) + ")";
  }
  // A step still under way ends with the handle; the exchange goes with it.
  entry.Leave();
  if (request) ::WinHttpCloseHandle(request);
  if (connect) ::WinHttpCloseHandle(connect);
  if (session) ::WinHttpCloseHandle(session);
  return a;
}

}  // namespace videopost
