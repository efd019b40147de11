// The uploader's requests, byte for byte, against a small HTTP server in this process,
// its answers for refusals and errors, the lists it reads, and the program itself with
// no address configured.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <commctrl.h>

#include <VideoPostRequest.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "files.h"
#include "otherwindows.h"
#include "picture.h"
#include "program.h"
#include "pump.h"
#include "tempfolder.h"

using videopost::Clip;

namespace {

// Takes one request on 127.0.0.1, keeps its bytes and answers with `status`; with status
// 0 it never answers and keeps the connection until the client lets go; with kTrickle it
// answers a status line and then one byte of an endless header every two seconds.
const int kTrickle = -1;
class TinyServer {
 public:
  explicit TinyServer(int status) : m_status(status) {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    m_listen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_listen, (sockaddr*)&a, sizeof a);
    int len = sizeof a;
    getsockname(m_listen, (sockaddr*)&a, &len);
    m_port = ntohs(a.sin_port);
    listen(m_listen, 4);
    m_thread = std::thread([this] { Serve(); });
  }
  ~TinyServer() {
    Stop();
    WSACleanup();
  }
  // Stops listening and ends the connection it serves.
  void Stop() {
    if (m_stop.exchange(true)) return;
    closesocket(m_listen);
    if (m_thread.joinable()) m_thread.join();
  }
  std::string Url(const char* path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }
  std::string Request() {
    if (m_thread.joinable()) m_thread.join();
    return m_request;
  }
  std::atomic<int> connections{0};
  std::atomic<int> trickled{0};  // header bytes sent one by one

 private:
  void Serve() {
    SOCKET s = accept(m_listen, NULL, NULL);
    if (s == INVALID_SOCKET) return;
    ++connections;
    std::string got;
    char buf[65536];
    size_t need = std::string::npos;
    while (need == std::string::npos || got.size() < need) {
      int n = recv(s, buf, sizeof buf, 0);
      if (n <= 0) break;
      got.append(buf, n);
      size_t end = got.find("\r\n\r\n");
      if (need == std::string::npos && end != std::string::npos) {
        size_t at = got.find("Content-Length: ");
        need = at == std::string::npos ? end + 4 : end + 4 + std::stoul(got.substr(at + 16));
      }
    }
    m_request = got;
    if (m_status == kTrickle) {
      std::string line = "HTTP/1.1 200 OK\r\nX-Slow: ";
      bool open = send(s, line.data(), (int)line.size(), 0) > 0;
      for (int tick = 0; open && !m_stop; ++tick) {
        Sleep(100);
        if (tick % 20 == 19) open = send(s, "a", 1, 0) == 1 && ++trickled;
      }
      closesocket(s);
      return;
    }
    if (!m_status) {
      DWORD bound = 20000;  // a client that never lets go ends the wait too
      setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, (const char*)&bound, sizeof bound);
      while (recv(s, buf, sizeof buf, 0) > 0) {
      }
      closesocket(s);
      return;
    }
    std::string answer =
        "HTTP/1.1 " + std::to_string(m_status) + " X\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    send(s, answer.data(), (int)answer.size(), 0);
    shutdown(s, SD_BOTH);
    closesocket(s);
  }
  int m_status;
  std::atomic<bool> m_stop{false};
  SOCKET m_listen;
  int m_port = 0;
  std::thread m_thread;
  std::string m_request;
};

class Uploader : public testing::Test {
 protected:
  void SetUp() override { dir = testsupport::NewTempFolder("glimora-uploader") + "\\"; }
  void TearDown() override { testsupport::RemoveTree(dir.substr(0, dir.size() - 1)); }
  std::string Make(const std::string& name, const std::string& bytes) {
    EXPECT_TRUE(testsupport::WriteWholeFile(dir + name, bytes));
    return dir + name;
  }
  // A clip as the plug-in describes it, and the list naming it.
  std::string MakeList() {
    Make("clip.mov", "MOVIE-BYTES");
    Make("clip.tmb", "\xFF\xD8thumb\xFF\xD9");
    Make("clip.cont",
         "[Content]\r\nFormat=1\r\nMembers=\r\nRecordTime=2024/05/01 10:20:30\r\nDuration=120\r\n"
         "Items=" +
             dir + "clip.mov\r\nThumbnails=" + dir + "clip.tmb\r\n");
    return Make("list.cont", "[Content]\r\nFormat=1\r\nMembers=\r\nItems=" + dir + "clip.cont\r\n");
  }
  std::string dir;
};

TEST_F(Uploader, PostsEachClipAsMultipartForm) {
  std::vector<Clip> clips;
  ASSERT_TRUE(videopost::ReadList(MakeList(), &clips));
  ASSERT_EQ(1u, clips.size());
  TinyServer server(201);
  videopost::Answer answer = videopost::SendClip(server.Url("/upload/clips"), clips[0]);
  EXPECT_TRUE(answer.ok);
  EXPECT_EQ(201u, answer.status);

  std::string request = server.Request();
  size_t end = request.find("\r\n\r\n");
  ASSERT_NE(std::string::npos, end);
  std::string head = request.substr(0, end + 2), body = request.substr(end + 4);
  EXPECT_EQ(0u, head.find("POST /upload/clips HTTP/1.1\r\n")) << head;
  size_t b = head.find("Content-Type: multipart/form-data; boundary=");
  ASSERT_NE(std::string::npos, b) << head;
  std::string boundary = head.substr(b + 44, head.find("\r\n", b) - b - 44);
  EXPECT_EQ(0u, boundary.find("----VideoPost"));
  EXPECT_NE(std::string::npos, head.find("Content-Length: " + std::to_string(body.size()) + "\r\n"));
  EXPECT_NE(std::string::npos, head.find("User-Agent: VideoPostUploader/1.0\r\n"));
  std::string expected = "--" + boundary +
                         "\r\n"
                         "Content-Disposition: form-data; name=\"facts\"\r\n"
                         "Content-Type: text/plain; charset=utf-8\r\n"
                         "\r\n"
                         "Name=clip.mov\r\nRecordTime=2024/05/01 10:20:30\r\nDuration=120.000\r\nSize=11\r\n"
                         "--" +
                         boundary +
                         "\r\n"
                         "Content-Disposition: form-data; name=\"thumbnail\"; filename=\"clip.tmb\"\r\n"
                         "Content-Type: image/jpeg\r\n"
                         "\r\n"
                         "\xFF\xD8thumb\xFF\xD9\r\n"
                         "--" +
                         boundary +
                         "\r\n"
                         "Content-Disposition: form-data; name=\"movie\"; filename=\"clip.mov\"\r\n"
                         "Content-Type: application/octet-stream\r\n"
                         "\r\n"
                         "MOVIE-BYTES\r\n"
                         "--" +
                         boundary + "--\r\n";
  EXPECT_EQ(expected, body);
}

TEST_F(Uploader, ReportsRefusalsAndUnreachableServices) {
  std::vector<Clip> clips;
  ASSERT_TRUE(videopost::ReadList(MakeList(), &clips));
  {
    TinyServer server(500);
    videopost::Answer a = videopost::SendClip(server.Url("/"), clips[0]);
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(500u, a.status);
    EXPECT_EQ("refused by the service (500)", a.text);
  }
  std::string closed;
  {
    TinyServer gone(200);
    closed = gone.Url("/");
  }  // nobody listens there any more
  videopost::Answer a = videopost::SendClip(closed, clips[0]);
  EXPECT_FALSE(a.ok);
  EXPECT_EQ(0u, a.status);
  EXPECT_FALSE(a.text.empty());
  EXPECT_FALSE(videopost::SendClip("not an address", clips[0]).ok);
}

// A service that takes the clip and never answers is given up on once the wait for its
// answer has passed, and the clip is reported as not answered.
TEST_F(Uploader, GivesUpOnAServiceThatNeverAnswers) {
  std::vector<Clip> clips;
  ASSERT_TRUE(videopost::ReadList(MakeList(), &clips));
  TinyServer silent(0);
  videopost::Timeouts t;
  t.receive = 1500;
  const DWORD start = GetTickCount();
  videopost::Answer a = videopost::SendClip(silent.Url("/"), clips[0], t);
  const DWORD took = GetTickCount() - start;
  EXPECT_FALSE(a.ok);
  EXPECT_EQ(0u, a.status);
  EXPECT_EQ("the service did not answer in time", a.text);
  EXPECT_GE(took, 1000u);
  EXPECT_LT(took, 10000u) << "the wait for the answer was not the one asked for";
  EXPECT_NE(std::string::npos, silent.Request().find("MOVIE-BYTES")) << "the clip was sent before the wait";
}

// A service that trickles its answer's head a byte every two seconds meets none of
// WinHTTP's own timeouts: the request's deadline ends it with the time-out message. The
// sending's deadline grows with the clip at the slowest rate allowed.
TEST_F(Uploader, GivesUpOnAServiceThatTricklesItsAnswer) {
  videopost::Timeouts t;
  EXPECT_EQ(20000u + 1000u, videopost::SendingDeadline(t, 16384));
  EXPECT_EQ(20000u + 100u * 1000u, videopost::SendingDeadline(t, 100 * 16384));
  EXPECT_EQ(0x7FFFFFFFu, videopost::SendingDeadline(t, ~0ull));
  std::vector<Clip> clips;
  ASSERT_TRUE(videopost::ReadList(MakeList(), &clips));
  TinyServer slow(kTrickle);
  t.receive = 5000;  // longer than the gaps between the bytes
  videopost::Answer a;
  DWORD took = 0;
  HANDLE done = CreateEventA(NULL, TRUE, FALSE, NULL);
  std::thread request([&] {
    const DWORD start = GetTickCount();
    a = videopost::SendClip(slow.Url("/"), clips[0], t);
    took = GetTickCount() - start;
    SetEvent(done);
  });
  // Without a deadline the request would go on as long as the server trickles.
  const bool ended = WaitForSingleObject(done, 60000) == WAIT_OBJECT_0;
  EXPECT_TRUE(ended) << "the request was still waiting after a minute";
  if (!ended) slow.Stop();  // the connection closed ends the request
  request.join();
  CloseHandle(done);
  EXPECT_FALSE(a.ok);
  EXPECT_EQ("the service did not answer in time", a.text);
  EXPECT_GE(took, 4500u);
  EXPECT_LT(took, 30000u);
  EXPECT_GE(slow.trickled.load(), 1) << "the answer came too fast to be a trickle";
}

// The program's exit does not wait for a request that goes on: closed while it sends to a
// trickling service, it ends within seconds.
TEST_F(Uploader, ExitsWhileARequestGoesOn) {
  std::string list = MakeList();
  TinyServer slow(kTrickle);
  const std::string own = testsupport::NewTempFolder("glimora-uploader-own");
  const std::string exe = own + "\\VideoPostUploader.exe";
  ASSERT_TRUE(CopyFileA((testsupport::ProgramFolder() + "\\Core\\VideoPostUploader.exe").c_str(), exe.c_str(), FALSE));
  ASSERT_TRUE(
      testsupport::WriteWholeFile(own + "\\VideoPostUploader.ini", "[Service]\r\nUrl=" + slow.Url("/") + "\r\n"));
  HANDLE process = testsupport::StartProgram("\"" + exe + "\" -P2 -L \"" + list + "\"", own);
  ASSERT_TRUE(process);
  HWND frame = testsupport::WaitForWindowOf(process, "VideoPostUploader", 60000);
  EXPECT_TRUE(frame);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return slow.trickled.load() >= 1; }, 60000)) << "no request came";
  PostMessageA(frame, WM_CLOSE, 0, 0);
  const DWORD start = GetTickCount();
  const DWORD code = testsupport::WaitForExit(process, 20000);
  EXPECT_EQ(0u, code);
  EXPECT_LT(GetTickCount() - start, 10000u);
  if (code != 0) slow.Stop();  // the request ends with its connection
  testsupport::RemoveTree(own);
}

TEST_F(Uploader, NamesWhatItCannotSend) {
  Make("garbage.cont", std::string("\x01\x02 not text", 11));
  Make("gone.cont", "[Content]\r\nFormat=1\r\nItems=" + dir + "gone.mov\r\n");
  Make("photo.jpg", "\xFF\xD8");
  std::string list = Make("list.cont", "[Content]\r\nFormat=1\r\nItems=" + dir + "garbage.cont|" + dir + "gone.cont|" +
                                           dir + "photo.jpg\r\n");
  std::vector<Clip> clips;
  ASSERT_TRUE(videopost::ReadList(list, &clips));
  ASSERT_EQ(3u, clips.size());
  EXPECT_EQ("not a content file", clips[0].problem);
  EXPECT_EQ("the movie is missing", clips[1].problem);
  EXPECT_EQ("not a content file", clips[2].problem);
  // Nothing is sent for them.
  TinyServer server(200);
  for (const Clip& c : clips) EXPECT_FALSE(videopost::SendClip(server.Url("/"), c).ok);
  EXPECT_EQ(0, server.connections.load());
  EXPECT_FALSE(videopost::ReadList(Make("not-a-list.cont", "plain text"), &clips));
}

// The shipped settings have no address: the program shows the clips, says so, tells the
// plug-in it runs and sends nothing.
TEST_F(Uploader, WithoutAnAddressItShowsTheClipsAndSendsNothing) {
  std::string list = MakeList();
  std::string picture = testsupport::ReadWholeFile(testsupport::Fixture("exif_nothumb.jpg"));
  if (!picture.empty()) Make("clip.tmb", picture);  // a thumbnail to show
  testsupport::MessageKeeper notify;  // keeps the notice whenever it comes
  std::string exe = testsupport::ProgramFolder() + "\\Core\\VideoPostUploader.exe";
  HANDLE process = testsupport::StartProgram("\"" + exe + "\" -w " + std::to_string((INT_PTR)notify.Window()) +
                                             " -m 1147 -P2 -L \"" + list + "\"");
  ASSERT_TRUE(process);
  // A program starting while the machine is busy can take its time; the wait ends as soon
  // as the notice comes.
  const DWORD kStart = 60000;
  EXPECT_TRUE(notify.WaitFor(1147, kStart));
  HWND frame = testsupport::WaitForWindowOf(process, "VideoPostUploader", kStart);
  ASSERT_TRUE(frame);
  HWND list1 = FindWindowExA(frame, NULL, "SysListView32", NULL);
  ASSERT_TRUE(list1);
  LRESULT rows = 0;
  EXPECT_TRUE(testsupport::SendToOther(list1, LVM_GETITEMCOUNT, 0, 0, &rows));
  EXPECT_EQ(1, (int)rows);
  HWND banner = FindWindowExA(frame, NULL, "STATIC", NULL);
  char text[256] = "";
  GetWindowTextA(banner, text, sizeof text);
  EXPECT_EQ(0, strncmp(text, "No service is configured", 24)) << text;
  testsupport::Picture shot(frame);
  shot.Save("videopost_uploader_list");
  PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, testsupport::WaitForExit(process, 10000));
}

}  // namespace
