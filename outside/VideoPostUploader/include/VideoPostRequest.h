// VideoPostUploader: what it sends and how. The upload plug-in starts it with
//   VideoPostUploader.exe -w <window> -m <message> -P2 -L "<list .cont>"
// It posts <message> to <window> once its own window is up, reads the list file (the
// clips' ".cont" files as its items) and each clip's ".cont" and ".tmb", shows the clips
// and sends each with one HTTP request to the address in VideoPostUploader.ini beside
// it:
//   [Service]
//   Url=http://host:port/path
// Without an address it says that no service is configured and sends nothing. Nothing
// is retried: each clip gets one request and its answer is shown.
//
// The request (one per clip):
//   POST <path of Url> HTTP/1.1
//   Content-Type: multipart/form-data; boundary=<boundary>
//   Content-Length: <length of the body>
//   (WinHTTP adds Host, User-Agent "VideoPostUploader/1.0", Connection)
// The body, lines ending in CR LF, three parts in this order:
//   --<boundary>
//   Content-Disposition: form-data; name="facts"
//   Content-Type: text/plain; charset=utf-8
//
//   <the clip's facts: Name=, RecordTime=yyyy/mm/dd hh:mm:ss, Duration= (seconds),
//    Size= (bytes), one "Key=value" a line, UTF-8>
//   --<boundary>
//   Content-Disposition: form-data; name="thumbnail"; filename="<.tmb name>"
//   Content-Type: image/jpeg
//
//   <the .tmb file's bytes>
//   --<boundary>
//   Content-Disposition: form-data; name="movie"; filename="<movie name>"
//   Content-Type: application/octet-stream
//
//   <the movie file's bytes>
//   --<boundary>--
// File names are UTF-8; a quote or a line break in them is replaced by "_". The
// boundary is "----VideoPost" followed by 16 hexadecimal digits, checked not to occur in
// the parts. A 2xx status is success; any other status, a refused connection or a time-out
// is the clip's failure.
//
// Each request has a deadline besides WinHTTP's own timeouts, which bound each wait for a
// piece only (a server that trickles its answer a byte at a time meets none of them):
// until the clip is sent, the time to reach the server and to send it at no less than
// Timeouts::minimumRate; then the answer's whole head within Timeouts::receive. When the
// deadline passes, the sender stops waiting, closes the request's handle and reports that
// the service did not answer in time.
#pragma once
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace videopost {

// One clip as the list names it.
struct Clip {
  std::string contPath;   // its ".cont"
  std::string moviePath;  // the file sent
  std::string thumbPath;  // its ".tmb", "" when none
  std::string name;       // the movie's file name
  std::optional<SYSTEMTIME> recordTime;
  double durationSeconds = 0;
  uint64_t size = 0;
  std::string problem;  // why it cannot be sent, "" when it can
};

// The clips of a list file, in order; false when the list is not a content file.
bool ReadList(const std::string& listPath, std::vector<Clip>* clips);
// The address in the ini file, "" when none.
std::string ReadServiceUrl(const std::string& iniPath);

// The facts part's text.
std::string FactsText(const Clip& clip);
// The whole body for the given boundary and file contents.
std::string BuildBody(const std::string& boundary, const Clip& clip, const std::string& thumbBytes,
                      const std::string& movieBytes);
// A boundary not found in any of the texts.
std::string MakeBoundary(const std::vector<const std::string*>& texts);

struct Answer {
  bool ok = false;
  DWORD status = 0;  // the HTTP status, 0 when none came
  DWORD error = 0;   // the WinHTTP error when no status came
  std::string text;  // a line for the user
};
// How long each step of a request may take, in milliseconds.
struct Timeouts {
  int resolve = 10000;
  int connect = 10000;
  int send = 30000;
  int receive = 30000;         // for the answer's head, once the clip is sent
  double minimumRate = 16384;  // bytes a second the sending may not fall below on the whole
};
// The time a request may take until its body of `bytes` is sent, in milliseconds.
DWORD SendingDeadline(const Timeouts& timeouts, uint64_t bytes);

// Lets another thread end the request under way (the uploader's exit): its handle is
// closed, and no later request starts.
class Cancel {
 public:
  void Now();
  bool Done() const;

 private:
  friend class CancelEntry;
  mutable std::mutex m_lock;
  bool m_done = false;
  class Exchange* m_current = nullptr;
};

// Sends one clip to the address; the movie is streamed in pieces, never held whole.
Answer SendClip(const std::string& url, const Clip& clip, const Timeouts& timeouts = Timeouts(),
                Cancel* cancel = nullptr);

}  // namespace videopost
