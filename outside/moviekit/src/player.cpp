// The player: the caller's thread owns the video window; a decoding thread times the
// pictures by the performance counter, hands each to the window and feeds the sound to
// waveOut at most kSoundLead ahead of the clock. Calls from the caller's thread are
// carried out by the decoding thread, and return when it has done them. A file of sound
// alone (music) plays by the times of its decoded sound, with or without a device: its
// end comes when the clock passes the last block. A movie of parts keeps one decoder, of
// the part playing: the decoding thread moves to the next part where one ends, so the
// caller's thread (which owns the window) never has to.
#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "decoder.h"
#include "playerrules.h"

namespace moviekit {

namespace {

const char kWindowClass[] = "MovieKitVideo";
const double kSoundLead = 0.25;
const double kLateDrop = 0.1;  // a picture this late is skipped, not shown

enum class Command { None, Open, Play, Pause, Stop, Seek, Quit };

class PlayerImpl : public Player {
 public:
  ~PlayerImpl() override { Close(); }
  HRESULT Open(const char* path, HWND parent, const RECT& rect) override;
  HRESULT OpenParts(const MoviePart* parts, int count, HWND parent, const RECT& rect) override;
  void Close() override;
  HWND Window() const override { return window_; }
  const MovieFacts& Facts() const override { return facts_; }
  HRESULT Play() override { return Send(Command::Play); }
  HRESULT Pause() override { return Send(Command::Pause); }
  HRESULT Stop() override { return Send(Command::Stop); }
  HRESULT Seek(double seconds) override { return Send(Command::Seek, seconds); }
  HRESULT SetRange(double fromSeconds, double toSeconds) override;
  void SetLoop(bool loop) override {
    std::lock_guard<std::mutex> lock(mu_);
    loop_ = loop;
  }
  HRESULT SetFullScreen(bool fullScreen) override;
  void SetRect(const RECT& rect) override;
  void Repaint() override;
  void SetNotify(HWND window, UINT message) override {
    std::lock_guard<std::mutex> lock(mu_);
    notifyWindow_ = window;
    notifyMessage_ = message;
  }
  PlayerStatus Status() const override;
  void Release() override { delete this; }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  // A part of the movie: where it lies in its file, and where it starts in the movie.
  struct Span {
    std::string path;
    double from = 0, to = 0;  // the file's movie time; to 0: its end
    double offset = 0, length = 0;
  };
  HRESULT OpenSpans(std::vector<Span> spans, bool parted, HWND parent, const RECT& rect);
  HRESULT ShowMovieAt(double seconds);  // a time of the whole movie (all its parts)
  HRESULT SwitchPart(size_t part);
  double StartOfMovie() const;  // under mu_
  // Under mu_: a part switched to becomes the one playing when its clock starts.
  void TakePart();
  double Position() const;  // under mu_
  HRESULT Send(Command command, double seconds = 0);
  void Run();
  HRESULT Execute(Command command, double seconds);
  HRESULT ShowFirstPictureAt(double seconds);
  HRESULT FirstSoundAt(double seconds);
  void SoundAloneStep(double t, double to);
  void Step();
  bool WaitForClock(double seconds);  // false when a call came in meanwhile
  void ShowPicture(double seconds);
  void QueueSound();
  void ReclaimSound(bool all);
  void StartClock(double position);
  double Clock() const;
  void Ended(double at);  // `at`: where the position stands, however late the thread came
  void Paint(HDC dc);

  // Set at Open, read-only after.
  std::vector<Span> spans_;
  bool parted_ = false;
  MovieFacts facts_;
  HWND window_ = nullptr;
  HWAVEOUT wave_ = nullptr;
  LONGLONG frequency_ = 1;

  // Decoding thread's own.
  Decoder* decoder_ = nullptr;
  size_t switchTo_ = SIZE_MAX;  // the part whose decoder is there, until its clock starts
  enum class Pending { None, Picture, Sound } pending_ = Pending::None;
  double pendingSeconds_ = 0;
  double lastShown_ = 0;
  double soundEnd_ = 0;  // sound alone: where the last block decoded ends
  bool showNext_ = true;  // the next picture is shown even when late (after a start or seek)
  std::deque<WAVEHDR*> sound_;

  // Shared under mu_.
  mutable std::mutex mu_;
  std::condition_variable cv_;
  std::thread thread_;
  size_t part_ = 0;  // the span playing (written by the decoding thread)
  Command command_ = Command::None;
  double commandSeconds_ = 0;
  HRESULT commandResult_ = S_OK;
  unsigned long commandsDone_ = 0;
  PlayerState state_ = PlayerState::Closed;
  double clockBase_ = 0;
  LONGLONG counterBase_ = 0;
  double rangeFrom_ = 0, rangeTo_ = 0;
  bool loop_ = false;
  bool soundOff_ = false;
  long shown_ = 0, dropped_ = 0;
  HWND notifyWindow_ = nullptr;
  UINT notifyMessage_ = 0;

  // The picture on show, under frameMu_ (the window paints it).
  mutable std::mutex frameMu_;
  Frame frame_;

  // Full screen: where the window goes back to.
  bool fullScreen_ = false;
  HWND parent_ = nullptr;
  RECT rect_ = {};
};

LONGLONG Counter() {
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return c.QuadPart;
}

}  // namespace

HRESULT CreatePlayer(Player** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) PlayerImpl;
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT PlayerImpl::Open(const char* path, HWND parent, const RECT& rect) {
  if (!path) return E_INVALIDARG;
  Span whole;
  whole.path = path;
  return OpenSpans({whole}, false, parent, rect);
}

HRESULT PlayerImpl::OpenParts(const MoviePart* parts, int count, HWND parent, const RECT& rect) {
  if (!parts || count <= 0 || count > kMaxParts || !parent || !IsWindow(parent)) return E_INVALIDARG;
  Close();
  std::vector<Span> spans;
  double offset = 0;
  for (int i = 0; i < count; ++i) {
    if (!parts[i].path) return E_INVALIDARG;
    Decoder probe;
    HRESULT hr = probe.Open(parts[i].path, false, true);
    if (FAILED(hr)) return hr;
    const MovieFacts& f = probe.Facts();
    PartPlace place = PlacePart(parts[i].fromSeconds, parts[i].toSeconds, parts[i].fileClock, f.startSeconds,
                                f.durationSeconds);
    if (!place.valid) return E_INVALIDARG;
    Span s;
    s.path = parts[i].path;
    s.from = place.from;
    s.to = place.to;
    s.offset = offset;
    s.length = place.length;
    offset += place.length;
    spans.push_back(s);
  }
  return OpenSpans(std::move(spans), true, parent, rect);
}

HRESULT PlayerImpl::OpenSpans(std::vector<Span> spans, bool parted, HWND parent, const RECT& rect) {
  if (spans.empty() || !parent || !IsWindow(parent)) return E_INVALIDARG;
  Close();
  const char* path = spans[0].path.c_str();
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  frequency_ = f.QuadPart > 0 ? f.QuadPart : 1;

  // The sound device first: without one the movie plays its picture alone.
  WAVEFORMATEX format = {};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = 48000;
  format.wBitsPerSample = 16;
  format.nBlockAlign = 4;
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  // Asked before the file is opened, so that it is opened once: without a device the
  // sound is not decoded at all.
  const bool device = waveOutOpen(&wave_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR;
  if (!device) wave_ = nullptr;
  auto* decoder = new (std::nothrow) Decoder;
  HRESULT hr = decoder ? decoder->Open(path, device, true) : E_OUTOFMEMORY;
  // A movie of parts keeps the device for a later part's sound.
  if (SUCCEEDED(hr) && device && !parted && !decoder->HasSoundDecoder()) {
    waveOutClose(wave_);
    wave_ = nullptr;
  }
  if (SUCCEEDED(hr) && !device && decoder->Facts().hasAudio) soundOff_ = true;  // picture alone
  if (FAILED(hr)) {
    delete decoder;
    if (wave_) waveOutClose(wave_);
    wave_ = nullptr;
    soundOff_ = false;
    return hr;
  }
  decoder_ = decoder;
  facts_ = decoder->Facts();
  if (!parted) spans[0].length = facts_.durationSeconds;
  if (parted) facts_.durationSeconds = spans.back().offset + spans.back().length;
  spans_ = std::move(spans);
  parted_ = parted;

  static bool registered = false;
  HINSTANCE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&PlayerImpl::WindowProc), &module);
  if (!registered) {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = module;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    registered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  parent_ = parent;
  rect_ = rect;
  window_ = CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, module, this);
  if (!window_) {
    hr = HRESULT_FROM_WIN32(GetLastError());
    Close();
    return hr;
  }
  {
    std::lock_guard<std::mutex> lock(mu_);
    state_ = PlayerState::Stopped;
    part_ = 0;
    rangeFrom_ = spans_[0].from;
    rangeTo_ = spans_[0].to;
    shown_ = dropped_ = 0;
  }
  try {
    thread_ = std::thread(&PlayerImpl::Run, this);
  } catch (...) {
    Close();
    return E_OUTOFMEMORY;
  }
  hr = Send(Command::Open);
  if (FAILED(hr)) Close();
  return hr;
}

void PlayerImpl::Close() {
  if (thread_.joinable()) {
    Send(Command::Quit);
    thread_.join();
  }
  if (wave_) {
    waveOutReset(wave_);
    ReclaimSound(true);
    waveOutClose(wave_);
    wave_ = nullptr;
  }
  if (fullScreen_) SetFullScreen(false);
  if (window_) {
    DestroyWindow(window_);
    window_ = nullptr;
  }
  delete decoder_;
  decoder_ = nullptr;
  {
    std::lock_guard<std::mutex> lock(frameMu_);
    FreeFrame(&frame_);
  }
  std::lock_guard<std::mutex> lock(mu_);
  state_ = PlayerState::Closed;
  soundOff_ = false;
  facts_ = MovieFacts();
  spans_.clear();
  parted_ = false;
  part_ = 0;
}

HRESULT PlayerImpl::Send(Command command, double seconds) {
  std::unique_lock<std::mutex> lock(mu_);
  if (!thread_.joinable() || state_ == PlayerState::Closed) return VFW_E_WRONG_STATE;
  while (command_ != Command::None) cv_.wait(lock);
  command_ = command;
  commandSeconds_ = seconds;
  unsigned long ticket = commandsDone_ + 1;
  cv_.notify_all();
  // Waiting, the caller's window still paints: the thread only invalidates it.
  while (commandsDone_ < ticket) cv_.wait(lock);
  return commandResult_;
}

HRESULT PlayerImpl::SetRange(double fromSeconds, double toSeconds) {
  RangeCheck check = CheckRange(fromSeconds, toSeconds, facts_.durationSeconds);
  if (!check.valid) return E_INVALIDARG;
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (state_ == PlayerState::Closed || parted_) return VFW_E_WRONG_STATE;
    rangeFrom_ = check.from;
    rangeTo_ = check.to;
  }
  return Seek(check.from);
}

double PlayerImpl::Clock() const {
  if (state_ != PlayerState::Playing) return clockBase_;
  return clockBase_ + double(Counter() - counterBase_) / double(frequency_);
}

void PlayerImpl::StartClock(double position) {
  clockBase_ = position;
  counterBase_ = Counter();
}

PlayerStatus PlayerImpl::Status() const {
  std::lock_guard<std::mutex> lock(mu_);
  PlayerStatus s;
  s.state = state_;
  s.positionSeconds = state_ == PlayerState::Closed ? 0 : Position();
  s.soundOff = soundOff_;
  s.framesShown = shown_;
  s.framesDropped = dropped_;
  return s;
}

void PlayerImpl::Run() {
  std::unique_lock<std::mutex> lock(mu_);
  for (;;) {
    if (command_ != Command::None) {
      Command command = command_;
      double seconds = commandSeconds_;
      lock.unlock();
      HRESULT hr = Execute(command, seconds);
      lock.lock();
      commandResult_ = hr;
      command_ = Command::None;
      ++commandsDone_;
      cv_.notify_all();
      if (command == Command::Quit) return;
      continue;
    }
    if (state_ != PlayerState::Playing) {
      cv_.wait(lock);
      continue;
    }
    lock.unlock();
    Step();
    lock.lock();
  }
}

HRESULT PlayerImpl::Execute(Command command, double seconds) {
  switch (command) {
    case Command::Open: return ShowFirstPictureAt(spans_[0].from);
    case Command::Quit: return S_OK;
    case Command::Play: {
      std::lock_guard<std::mutex> lock(mu_);
      if (state_ == PlayerState::Playing) return S_FALSE;
      if (state_ == PlayerState::Ended) {
        // Again from the start of the range.
        double from = StartOfMovie();
        mu_.unlock();
        HRESULT hr = ShowMovieAt(from);
        mu_.lock();
        if (FAILED(hr)) return hr;
      }
      state_ = PlayerState::Playing;
      StartClock(clockBase_);
      if (wave_) waveOutRestart(wave_);
      return S_OK;
    }
    case Command::Pause: {
      std::lock_guard<std::mutex> lock(mu_);
      if (state_ != PlayerState::Playing) return state_ == PlayerState::Paused ? S_FALSE : VFW_E_WRONG_STATE;
      clockBase_ = Clock();
      state_ = PlayerState::Paused;
      if (wave_) waveOutPause(wave_);
      return S_OK;
    }
    case Command::Stop: {
      double from;
      {
        std::lock_guard<std::mutex> lock(mu_);
        from = StartOfMovie();
      }
      HRESULT hr = ShowMovieAt(from);
      std::lock_guard<std::mutex> lock(mu_);
      state_ = PlayerState::Stopped;
      return hr;
    }
    case Command::Seek: return ShowMovieAt(seconds);
    case Command::None: break;
  }
  return E_UNEXPECTED;
}

double PlayerImpl::StartOfMovie() const { return parted_ ? 0 : rangeFrom_; }

// The clock runs in the playing part's file; the position is the whole movie's, within the
// part while the next one opens.
double PlayerImpl::Position() const {
  if (!parted_) return Clock();
  const Span& s = spans_[part_];
  return s.offset + std::min(std::max(Clock() - s.from, 0.0), s.length);
}

void PlayerImpl::TakePart() {
  if (switchTo_ == SIZE_MAX) return;
  part_ = switchTo_;
  rangeFrom_ = spans_[part_].from;
  rangeTo_ = spans_[part_].to;
  switchTo_ = SIZE_MAX;
}

HRESULT PlayerImpl::ShowMovieAt(double seconds) {
  if (!parted_) return ShowFirstPictureAt(seconds);
  std::vector<double> lengths;
  for (const Span& s : spans_) lengths.push_back(s.length);
  PartAt at = FindPart(lengths.data(), int(lengths.size()), seconds);
  size_t current;
  {
    std::lock_guard<std::mutex> lock(mu_);
    current = part_;
  }
  if (size_t(at.part) != current || switchTo_ != SIZE_MAX) {
    HRESULT hr = SwitchPart(size_t(at.part));
    if (FAILED(hr)) return hr;
  }
  return ShowFirstPictureAt(spans_[at.part].from + at.within);
}

// On the decoding thread: the part's file takes the old one's place.
HRESULT PlayerImpl::SwitchPart(size_t part) {
  if (part >= spans_.size()) return E_INVALIDARG;
  auto* decoder = new (std::nothrow) Decoder;
  HRESULT hr = decoder ? decoder->Open(spans_[part].path.c_str(), wave_ != nullptr, true) : E_OUTOFMEMORY;
  if (FAILED(hr)) {
    delete decoder;
    return hr;
  }
  if (wave_) {
    waveOutReset(wave_);
    ReclaimSound(true);
  }
  delete decoder_;
  decoder_ = decoder;
  pending_ = Pending::None;
  switchTo_ = part;
  return S_OK;
}

// Exact: the first picture at or after the time is shown and the clock stands there.
HRESULT PlayerImpl::ShowFirstPictureAt(double seconds) {
  if (wave_) {
    waveOutReset(wave_);
    ReclaimSound(true);
  }
  pending_ = Pending::None;
  auto take = [this](HRESULT hr) {
    std::lock_guard<std::mutex> lock(mu_);
    TakePart();
    return hr;
  };
  HRESULT hr = decoder_->Seek(seconds);
  if (FAILED(hr)) return take(hr);
  double t = 0;
  if (decoder_->SoundAlone()) return FirstSoundAt(seconds);
  for (;;) {
    Decoded d = decoder_->Decode(&t);
    if (d == Decoded::Sound) continue;  // sound before the picture: dropped at a seek
    if (d == Decoded::Failed) return take(decoder_->LastError());
    if (d == Decoded::End) return take(seconds > 0 ? S_FALSE : kErrorDecode);
    break;
  }
  ShowPicture(t);
  showNext_ = true;
  std::lock_guard<std::mutex> lock(mu_);
  TakePart();
  bool playing = state_ == PlayerState::Playing;
  if (state_ == PlayerState::Ended) state_ = PlayerState::Paused;
  StartClock(seconds);  // the time asked for; its picture (at or just after it) shows meanwhile
  if (playing && wave_) waveOutRestart(wave_);
  if (!playing && wave_) waveOutPause(wave_);
  return S_OK;
}

// Sound alone, after a seek: its first block is decoded now (a file that gives none does
// not play) and waits its turn; the clock stands at the time asked for.
HRESULT PlayerImpl::FirstSoundAt(double seconds) {
  double t = 0;
  Decoded d = decoder_->Decode(&t);
  soundEnd_ = seconds;
  if (d == Decoded::Sound) {
    pending_ = Pending::Sound;
    pendingSeconds_ = t < 0 ? seconds : t;
  }
  std::lock_guard<std::mutex> lock(mu_);
  TakePart();
  if (d == Decoded::Failed) return decoder_->LastError();
  if (d == Decoded::End && seconds <= 0) return kErrorDecode;
  bool playing = state_ == PlayerState::Playing;
  if (state_ == PlayerState::Ended) state_ = PlayerState::Paused;
  StartClock(seconds);
  if (playing && wave_) waveOutRestart(wave_);
  if (!playing && wave_) waveOutPause(wave_);
  return d == Decoded::End ? S_FALSE : S_OK;
}

bool PlayerImpl::WaitForClock(double seconds) {
  std::unique_lock<std::mutex> lock(mu_);
  for (;;) {
    if (command_ != Command::None || state_ != PlayerState::Playing) return false;
    double wait = seconds - Clock();
    if (wait <= 0) return true;
    cv_.wait_for(lock, std::chrono::microseconds(LONGLONG(wait * 1e6) + 1));
  }
}

void PlayerImpl::Step() {
  ReclaimSound(false);
  double t = 0;
  Pending what = pending_;
  if (decoder_->SoundAlone()) {
    double to;
    {
      std::lock_guard<std::mutex> lock(mu_);
      to = rangeTo_;
    }
    if (what == Pending::Sound) {
      t = pendingSeconds_;
    } else {
      Decoded d = decoder_->Decode(&t);
      if (d != Decoded::Sound) {
        // The last block is played out (by the clock: there may be no device).
        double end = to > 0 ? std::min(to, soundEnd_) : soundEnd_;
        if (WaitForClock(end)) Ended(end);
        return;
      }
      if (t < 0) t = soundEnd_;  // a block without a time follows the one before
    }
    SoundAloneStep(t, to);
    return;
  }
  if (what == Pending::None) {
    Decoded d = decoder_->Decode(&t);
    if (d == Decoded::End || d == Decoded::Failed) {
      // The last picture stays its time on screen.
      double frame = facts_.frameRate > 0 ? 1.0 / facts_.frameRate : 0.04;
      if (WaitForClock(lastShown_ + frame)) Ended(lastShown_ + frame);
      return;
    }
    what = d == Decoded::Picture ? Pending::Picture : Pending::Sound;
  } else {
    t = pendingSeconds_;
  }
  double to;
  {
    std::lock_guard<std::mutex> lock(mu_);
    to = rangeTo_;
  }
  if (what == Pending::Picture && to > 0 && t >= to - 1e-4) {
    if (WaitForClock(to)) Ended(to);
    return;
  }
  if (what == Pending::Sound) {
    if (!wave_) return;
    pending_ = Pending::Sound;
    pendingSeconds_ = t;
    if (!WaitForClock(t - kSoundLead)) return;
    pending_ = Pending::None;
    QueueSound();
    return;
  }
  // A picture: dropped when late, else shown at its time.
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (!showNext_ && ShouldDrop(t, Clock(), kLateDrop)) {
      ++dropped_;
      return;
    }
  }
  pending_ = Pending::Picture;
  pendingSeconds_ = t;
  if (!WaitForClock(t)) return;
  pending_ = Pending::None;
  showNext_ = false;
  ShowPicture(t);
}

void PlayerImpl::SoundAloneStep(double t, double to) {
  if (to > 0 && t >= to - 1e-4) {
    pending_ = Pending::None;
    if (WaitForClock(to)) Ended(to);
    return;
  }
  pending_ = Pending::Sound;
  pendingSeconds_ = t;
  if (!WaitForClock(t - kSoundLead)) return;
  pending_ = Pending::None;
  soundEnd_ = std::max(soundEnd_, t + decoder_->Sound().size() / 4.0 / decoder_->SoundRate());
  if (wave_) QueueSound();
}

void PlayerImpl::ShowPicture(double seconds) {
  // Scaled here to the window, once: the paint then copies it as it is (a stretch with
  // halftone on every paint costs more than the decoding).
  RECT client = {};
  GetClientRect(window_, &client);
  Frame frame;
  if (FAILED(decoder_->PictureToFrame(client.right, client.bottom, &frame))) return;
  frame.seconds = seconds;
  lastShown_ = seconds;
  {
    std::lock_guard<std::mutex> lock(frameMu_);
    FreeFrame(&frame_);
    frame_ = frame;
  }
  {
    std::lock_guard<std::mutex> lock(mu_);
    ++shown_;
  }
  InvalidateRect(window_, nullptr, FALSE);
}

void PlayerImpl::QueueSound() {
  const std::string& pcm = decoder_->Sound();
  if (pcm.empty()) return;
  auto* header = static_cast<WAVEHDR*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(WAVEHDR) + pcm.size()));
  if (!header) return;
  header->lpData = reinterpret_cast<LPSTR>(header + 1);
  header->dwBufferLength = DWORD(pcm.size());
  memcpy(header->lpData, pcm.data(), pcm.size());
  if (waveOutPrepareHeader(wave_, header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR ||
      waveOutWrite(wave_, header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
    waveOutUnprepareHeader(wave_, header, sizeof(WAVEHDR));
    HeapFree(GetProcessHeap(), 0, header);
    return;
  }
  sound_.push_back(header);
}

void PlayerImpl::ReclaimSound(bool all) {
  while (!sound_.empty() && (all || (sound_.front()->dwFlags & WHDR_DONE))) {
    WAVEHDR* header = sound_.front();
    sound_.pop_front();
    waveOutUnprepareHeader(wave_, header, sizeof(WAVEHDR));
    HeapFree(GetProcessHeap(), 0, header);
  }
}

void PlayerImpl::Ended(double at) {
  double from;
  HWND notify;
  UINT message;
  bool loop;
  size_t next;
  {
    std::lock_guard<std::mutex> lock(mu_);
    from = StartOfMovie();
    loop = loop_;
    notify = notifyWindow_;
    message = notifyMessage_;
    next = part_ + 1;
  }
  // The next part plays on; one that no longer opens (its disc went) ends the movie there.
  HRESULT failed = S_OK;
  if (parted_ && next < spans_.size()) {
    failed = SwitchPart(next);
    if (SUCCEEDED(failed)) failed = ShowFirstPictureAt(spans_[next].from);
    if (SUCCEEDED(failed)) return;
  }
  if (loop && SUCCEEDED(failed)) {
    ShowMovieAt(from);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mu_);
    clockBase_ = at;
    state_ = PlayerState::Ended;
  }
  if (notify && message)
    PostMessageA(notify, message, WPARAM(SUCCEEDED(failed) ? S_OK : failed), reinterpret_cast<LPARAM>(static_cast<Player*>(this)));
}

HRESULT PlayerImpl::SetFullScreen(bool fullScreen) {
  if (!window_) return VFW_E_WRONG_STATE;
  if (fullScreen == fullScreen_) return S_FALSE;
  if (fullScreen) {
    MONITORINFO mi = {sizeof mi};
    if (!GetMonitorInfoA(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &mi)) return E_FAIL;
    SetParent(window_, nullptr);
    SetWindowLongA(window_, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    SetWindowPos(window_, HWND_TOPMOST, mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right - mi.rcMonitor.left,
                 mi.rcMonitor.bottom - mi.rcMonitor.top, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  } else {
    SetWindowLongA(window_, GWL_STYLE, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    SetParent(window_, parent_);
    SetWindowPos(window_, HWND_NOTOPMOST, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  }
  fullScreen_ = fullScreen;
  InvalidateRect(window_, nullptr, FALSE);
  return S_OK;
}

void PlayerImpl::SetRect(const RECT& rect) {
  rect_ = rect;
  if (window_ && !fullScreen_)
    SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlayerImpl::Repaint() {
  if (!window_) return;
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
}

void PlayerImpl::Paint(HDC dc) {
  RECT client;
  GetClientRect(window_, &client);
  std::lock_guard<std::mutex> lock(frameMu_);
  RECT picture = {};
  if (frame_.bits) picture = LetterBox(client, frame_.header.biWidth, frame_.header.biHeight);
  // Black around the picture (all of it before the first).
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RECT bands[4] = {{client.left, client.top, client.right, picture.top},
                   {client.left, picture.bottom, client.right, client.bottom},
                   {client.left, picture.top, picture.left, picture.bottom},
                   {picture.right, picture.top, client.right, picture.bottom}};
  if (!frame_.bits) {
    FillRect(dc, &client, black);
    return;
  }
  for (const RECT& r : bands)
    if (r.right > r.left && r.bottom > r.top) FillRect(dc, &r, black);
  BITMAPINFO info = {};
  info.bmiHeader = frame_.header;
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, picture.left, picture.top, picture.right - picture.left, picture.bottom - picture.top, 0, 0,
                frame_.header.biWidth, frame_.header.biHeight, frame_.bits, &info, DIB_RGB_COLORS, SRCCOPY);
}

LRESULT CALLBACK PlayerImpl::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<PlayerImpl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (self && self->window_ == hwnd) self->Paint(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE && self && self->fullScreen_) {
        self->SetFullScreen(false);
        return 0;
      }
      break;
    case WM_NCDESTROY: SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0); break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace moviekit
