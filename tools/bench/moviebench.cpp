// Private bytes as the imaging engine grabs movie frames again and again: shows whether
// each grab leaves memory behind, and how much.
//   tools/wine-run build/bin/moviebench.exe [movie] [--grabs N]
// With --play, an AVCHD scene played in a window by the movie kit's player (the player the
// AVCHD play control drives), against the reference of the same run: the kit decoding the
// same file without display. Real time, dropped frames, CPU time per frame, first picture.
//   cmake --build build --target moviebench-data
//   tools/wine-run build/bin/moviebench.exe --play [scene]
#include <windows.h>
#include <mmsystem.h>

#include <imaging/movie.h>
#include <moviekit/moviekit.h>
#include <program.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return double(c.QuadPart) / double(f.QuadPart);
}

double CpuSeconds() {
  FILETIME create, exit, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &create, &exit, &kernel, &user);
  auto s = [](const FILETIME& t) { return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7; };
  return s(kernel) + s(user);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

int PlayBench(const std::string& scene) {
  // The reference: every frame decoded at full size, nothing shown.
  moviekit::Reader* reader = nullptr;
  double t0 = Now(), c0 = CpuSeconds();
  if (FAILED(moviekit::OpenReader(scene.c_str(), &reader))) {
    printf("cannot open %s\n", scene.c_str());
    return 1;
  }
  const moviekit::MovieFacts facts = reader->Facts();
  double refFirst = 0;
  long refFrames = 0;
  for (;;) {
    moviekit::Frame f;
    if (reader->NextFrame(0, 0, &f) != S_OK) break;
    if (refFrames++ == 0) refFirst = Now() - t0;
    moviekit::FreeFrame(&f);
  }
  const double refWall = Now() - t0, refCpu = CpuSeconds() - c0;
  reader->Release();
  printf("scene: %s, %dx%d, %.2f frames/s, %.2f s, sound %s\n", facts.container, facts.width, facts.height,
         facts.frameRate, facts.durationSeconds, facts.hasAudio ? "yes" : "no");
  printf("reference (decode only): %ld frames in %.2f s wall, %.2f ms CPU per frame, first frame %.1f ms\n",
         refFrames, refWall, refCpu * 1000 / (refFrames ? refFrames : 1), refFirst * 1000);

  // The player in a window of half the screen, as the enlarged view shows it.
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.lpszClassName = "moviebench";
  wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, "moviebench", "moviebench", WS_POPUP | WS_VISIBLE, 0, 0, 960, 540, NULL, NULL,
                              wc.hInstance, NULL);
  {
    // The sound device is asked for at every open: how long the system takes to answer.
    WAVEFORMATEX wf = {WAVE_FORMAT_PCM, 2, 48000, 48000 * 4, 4, 16, 0};
    HWAVEOUT w = nullptr;
    const double a = Now();
    const MMRESULT r = waveOutOpen(&w, WAVE_MAPPER, &wf, 0, 0, CALLBACK_NULL);
    printf("sound device: %s, asked in %.1f ms\n", r == MMSYSERR_NOERROR ? "yes" : "none", (Now() - a) * 1000);
    if (w) waveOutClose(w);
  }
  moviekit::Player* player = nullptr;
  if (FAILED(moviekit::CreatePlayer(&player))) return 1;
  const RECT rc = {0, 0, 960, 540};
  t0 = Now();
  c0 = CpuSeconds();
  HRESULT hr = player->Open(scene.c_str(), hwnd, rc);
  const double opened = Now() - t0;
  if (SUCCEEDED(hr)) hr = player->Play();
  printf("player: open %.1f ms, play %.1f ms\n", opened * 1000, (Now() - t0) * 1000);
  if (FAILED(hr)) {
    printf("play failed: 0x%08lx\n", (unsigned long)hr);
    return 1;
  }
  double first = -1, started = Now();
  moviekit::PlayerStatus st;
  const double limit = facts.durationSeconds * 2 + 10;
  while (Now() - t0 < limit) {
    Pump();
    st = player->Status();
    if (first < 0 && st.framesShown > 0) first = Now() - t0;
    if (st.state == moviekit::PlayerState::Ended) break;
    Sleep(2);
  }
  const double wall = Now() - started, cpu = CpuSeconds() - c0;
  const long frames = st.framesShown + st.framesDropped;
  printf("player: %ld shown, %ld dropped (%.2f %%), %.2f s wall for %.2f s of movie, %.2f ms CPU per frame, "
         "first picture %.1f ms, sound %s\n",
         st.framesShown, st.framesDropped, frames ? 100.0 * st.framesDropped / frames : 0.0, wall,
         facts.durationSeconds, cpu * 1000 / (frames ? frames : 1), first * 1000, st.soundOff ? "off (no device)" : "on");
  const double refPerFrame = refCpu / (refFrames ? refFrames : 1), perFrame = cpu / (frames ? frames : 1);
  printf("checks: real time %s (%.2f x), dropped <= 1 %% %s, CPU per frame %.2f x reference (<= 1.5 %s), "
         "first picture %.2f x reference (<= 2 %s)\n",
         wall <= facts.durationSeconds * 1.05 + 0.5 ? "yes" : "NO", wall / facts.durationSeconds,
         frames && st.framesDropped * 100 <= frames ? "yes" : "NO", perFrame / refPerFrame,
         perFrame <= 1.5 * refPerFrame ? "yes" : "NO", first / refFirst, first <= 2 * refFirst ? "yes" : "NO");
  player->Close();
  player->Release();
  DestroyWindow(hwnd);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, NULL, _IONBF, 0);
  if (argc >= 2 && !strcmp(argv[1], "--play"))
    return PlayBench(argc >= 3 ? argv[2] : testsupport::ProgramFolder() + "\\benchdata\\avchd-1080i.mts");
  std::string movie = testsupport::ProgramFolder() + "\\testdata\\movie.mp4";
  int grabs = 200;
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--grabs") && i + 1 < argc)
      grabs = atoi(argv[++i]);
    else
      movie = argv[i];
  }
  SIZE_T base = 0;
  int failed = 0;
  for (int i = 0; i <= grabs; ++i) {
    imaging::Dib frame;
    if (FAILED(imaging::GrabMovieFrame(movie.c_str(), 160, 160, &frame, nullptr, 4000))) ++failed;
    if (i == 0) base = testsupport::PrivateBytes();  // after the first grab: the engine's one-time set-up
    if (i && i % 25 == 0)
      printf("%d grabs: private %.1f MB, %.1f KB per grab, %d failed\n", i, testsupport::PrivateBytes() / 1048576.0,
             (double(testsupport::PrivateBytes()) - double(base)) / 1024.0 / i, failed);
  }
  return 0;
}
