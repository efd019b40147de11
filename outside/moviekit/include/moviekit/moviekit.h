// The movie kit: our own decoder of the maker's camera movies (MPEG-TS/AVCHD, MP4,
// QuickTime, AVI, MPEG-PS), for the places where the system's DirectShow cannot read them.
// moviekit.dll is the one module that links the decoder libraries; callers see only this
// header: plain structs, HRESULTs and abstract classes made and released by the kit.
// Paths are ANSI (code page 932) like the rest of the program.
#pragma once

#include <windows.h>
#include <vfwmsgs.h>

#ifdef MOVIEKIT_BUILD
#define MOVIEKIT_API __declspec(dllexport)
#else
#define MOVIEKIT_API __declspec(dllimport)
#endif

namespace moviekit {

// Failures besides the Win32 ones of the file (HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), ...).
const HRESULT kErrorFormat = VFW_E_INVALID_FILE_FORMAT;  // not a movie we read
const HRESULT kErrorNoVideo = VFW_E_UNKNOWN_FILE_TYPE;   // no picture stream
const HRESULT kErrorDecode = VFW_E_CANNOT_RENDER;        // the picture stream does not decode
const HRESULT kErrorFrameSize = VFW_E_INVALIDMEDIATYPE;  // 0x0, or a side beyond kMaxFrameSide

const int kMaxFrameSide = 8192;  // larger pictures are refused rather than allocated
const int kMaxStreams = 8;

enum class StreamKind { Video, Audio, Other };

struct StreamFacts {
  StreamKind kind = StreamKind::Other;
  char codec[24] = {};  // the decoder's short name ("h264", "ac3", "mjpeg", ...)
  int width = 0;        // video
  int height = 0;
  double frameRate = 0;
  int sampleRate = 0;  // audio
  int channels = 0;
};

struct MovieFacts {
  char container[24] = {};  // "mpegts", "mov", ...
  double durationSeconds = 0;
  int width = 0;  // of the picture stream the kit plays
  int height = 0;
  double frameRate = 0;
  // Where movie time 0 (the picture's first time, else the sound's) lies on the file's own
  // clock, in seconds: a disc playlist's in and out times are on that clock.
  double startSeconds = 0;
  bool hasVideo = false;
  bool hasAudio = false;
  int streamCount = 0;  // all streams of the file; the first kMaxStreams described
  StreamFacts streams[kMaxStreams];
};

// One decoded picture: a 24-bit bottom-up DIB (rows padded to 4 bytes), ready for
// StretchDIBits. Made by the kit, freed by FreeFrame.
struct Frame {
  BITMAPINFOHEADER header = {};
  BYTE* bits = nullptr;
  double seconds = 0;  // its time from the start of the movie
};

MOVIEKIT_API void FreeFrame(Frame* frame);

// Reads a movie a picture at a time. Open fails with an HRESULT for files that are
// missing, empty, truncated before their first picture, or no movie at all.
class Reader {
 public:
  virtual const MovieFacts& Facts() const = 0;
  // Positions exactly: the next frame is the first whose time is at or after `seconds`.
  virtual HRESULT Seek(double seconds) = 0;
  // The next picture, fitted into maxWidth x maxHeight keeping its shape (0 x 0: full
  // size). S_FALSE with no frame at the end of the movie.
  virtual HRESULT NextFrame(int maxWidth, int maxHeight, Frame* out) = 0;
  virtual void Release() = 0;

 protected:
  virtual ~Reader() = default;
};

MOVIEKIT_API HRESULT OpenReader(const char* path, Reader** out);
MOVIEKIT_API HRESULT ReadFacts(const char* path, MovieFacts* out);
// The picture at `seconds` (exact), fitted as NextFrame fits it.
MOVIEKIT_API HRESULT ReadFrame(const char* path, double seconds, int maxWidth, int maxHeight, Frame* out);

// The same picture as a bitmap for a window (a static's STM_SETIMAGE); null when it fails.
MOVIEKIT_API HBITMAP ReadPicture(const char* path, double seconds, int maxWidth, int maxHeight);

// The key frames of the picture stream, where a copy without decoding can start: their
// times in seconds from the movie's start, ascending; the first `capacity` go to `times`,
// how many there are to *count.
MOVIEKIT_API HRESULT ReadKeyFrames(const char* path, double* times, int capacity, int* count);

// Copies the part [fromSeconds, toSeconds) of a movie into a new file of its container
// (by the target's extension, else the source's), the packets as they are. Both ends go
// back to the key frame at or before them, so parts cut at one time join without gap or
// overlap; toSeconds <= 0, or at or past the end, runs to the end. The copy is written under
// a temporary name beside the target and then moved into place: an existing target is never
// replaced (HRESULT_FROM_WIN32(ERROR_FILE_EXISTS)), and a failure leaves nothing behind.
// E_INVALIDARG when nothing lies between the ends.
MOVIEKIT_API HRESULT CutMovie(const char* source, const char* target, double fromSeconds, double toSeconds);

// The player: a child window showing the movie (GDI), decoding on its own thread, sound
// through waveOut, timed by the performance counter. Without a sound device it plays the
// picture alone and says so (PlayerStatus::soundOff).
enum class PlayerState { Closed, Stopped, Paused, Playing, Ended };

// One part of a movie made of several files played in turn (a disc title's play items):
// [fromSeconds, toSeconds) of the file, toSeconds <= 0 to its end. With fileClock the
// times are on the file's own clock (MovieFacts::startSeconds is its movie time 0), and
// equal times mean the whole file.
struct MoviePart {
  const char* path = nullptr;
  double fromSeconds = 0;
  double toSeconds = 0;
  bool fileClock = false;
};
const int kMaxParts = 999;

struct PlayerStatus {
  PlayerState state = PlayerState::Closed;
  double positionSeconds = 0;
  bool soundOff = false;  // the movie has sound but no device took it
  long framesShown = 0;
  long framesDropped = 0;
};

class Player {
 public:
  // Opens the movie and makes the video window inside `parent` at `rect`.
  virtual HRESULT Open(const char* path, HWND parent, const RECT& rect) = 0;
  // Opens the parts as one movie: positions, seeks and the duration run over all of them,
  // each part follows the one before, and the end notice comes after the last. Every part
  // is opened first: one that does not open fails the whole (its HRESULT), as does a part
  // that lies outside its file (E_INVALIDARG). Its range is the parts' (SetRange refuses).
  virtual HRESULT OpenParts(const MoviePart* parts, int count, HWND parent, const RECT& rect) = 0;
  virtual void Close() = 0;
  virtual HWND Window() const = 0;
  virtual const MovieFacts& Facts() const = 0;
  virtual HRESULT Play() = 0;
  virtual HRESULT Pause() = 0;
  virtual HRESULT Stop() = 0;  // back to the start of the range, picture shown
  virtual HRESULT Seek(double seconds) = 0;
  // Plays only [from, to) (to <= 0: to the end). VFW_E_WRONG_STATE for a movie of parts.
  virtual HRESULT SetRange(double fromSeconds, double toSeconds) = 0;
  virtual void SetLoop(bool loop) = 0;
  virtual HRESULT SetFullScreen(bool fullScreen) = 0;
  virtual void SetRect(const RECT& rect) = 0;
  virtual void Repaint() = 0;
  // `message` is posted to `window` at the end of play (wParam 0) and on errors (wParam
  // the HRESULT); lParam is the player.
  virtual void SetNotify(HWND window, UINT message) = 0;
  virtual PlayerStatus Status() const = 0;
  virtual void Release() = 0;

 protected:
  virtual ~Player() = default;
};

MOVIEKIT_API HRESULT CreatePlayer(Player** out);

// The facts of a sound file as its container and stream headers state them (music: MP3,
// WAV, MP4/M4A/M4B, ADTS AAC, ASF/WMA). Texts are the file's tags in UTF-8, except a tag
// whose format names no encoding (a WAV's INFO list), whose bytes pass as they are; each is
// cut at a character boundary to fit. Figures are 0 when the file does not say; none is
// negative.
const int kMaxTagText = 256;
struct MusicFacts {
  char container[24] = {};  // the demuxer's name: "mp3", "wav", "mov,mp4,m4a,3gp,3g2,mj2", "aac", "asf"
  char codec[24] = {};      // the sound's codec: "mp3", "aac", "wmav2", "pcm_s16le", ...
  double durationSeconds = 0;
  long long bitRate = 0;  // bits per second
  int sampleRate = 0;
  int channels = 0;
  int bitsPerSample = 0;
  char title[kMaxTagText] = {};
  char artist[kMaxTagText] = {};
  char album[kMaxTagText] = {};
  char genre[kMaxTagText] = {};
  char date[kMaxTagText] = {};
  char track[kMaxTagText] = {};
};

// Reads them within kMusicFactsMillis: a file that takes longer, is damaged or holds no
// sound stream fails (kErrorFormat) and gives no facts.
const DWORD kMusicFactsMillis = 2000;
MOVIEKIT_API HRESULT ReadMusicFacts(const char* path, MusicFacts* out);

// The sound of audio files, for filters that hand it on packet by packet (the AAC filters
// of the music view). The demuxer reads through the caller's byte source, so it sees
// only what the caller can read; the decoder gives 16-bit interleaved PCM.
class ByteSource {
 public:
  // Reads up to `size` bytes at `offset`; *got is what was read (0 at the end).
  virtual HRESULT ReadAt(LONGLONG offset, LONG size, BYTE* out, LONG* got) = 0;
  virtual LONGLONG Size() = 0;

 protected:
  ~ByteSource() = default;
};

const int kMaxAudioConfig = 64;  // the decoder's set-up bytes (AAC: AudioSpecificConfig)

struct AudioStreamFacts {
  char container[24] = {};
  char codec[24] = {};
  int sampleRate = 0;
  int channels = 0;
  double durationSeconds = 0;
  int configSize = 0;
  BYTE config[kMaxAudioConfig] = {};
};

struct AudioPacket {
  const BYTE* data = nullptr;  // valid until the next call
  int size = 0;
  double seconds = -1;  // from the stream's start; -1 when the packet has no time
};

class AudioDemuxer {
 public:
  virtual const AudioStreamFacts& Facts() const = 0;
  // The next packet of the stream; S_FALSE at the end.
  virtual HRESULT NextPacket(AudioPacket* out) = 0;
  virtual HRESULT Seek(double seconds) = 0;
  virtual void Release() = 0;

 protected:
  virtual ~AudioDemuxer() = default;
};

// Opens the first audio stream whose codec is `codec` ("aac") in a file that has no
// picture stream: kErrorFormat for what is no such file. The source must outlive it.
MOVIEKIT_API HRESULT OpenAudioDemuxer(ByteSource* source, const char* codec, AudioDemuxer** out);

class AudioDecoder {
 public:
  virtual int SampleRate() const = 0;
  virtual int Channels() const = 0;  // 1 or 2: more are mixed down to two
  // Decodes one packet into 16-bit interleaved PCM (*pcm valid until the next call,
  // *bytes may be 0 while the decoder fills). A packet that does not decode fails.
  virtual HRESULT Decode(const BYTE* data, int size, const BYTE** pcm, int* bytes) = 0;
  virtual void Flush() = 0;
  virtual void Release() = 0;

 protected:
  virtual ~AudioDecoder() = default;
};

// A decoder of `codec` at the stream's rate and channels, set up by its config bytes
// (none for ADTS streams, whose packets carry their own headers).
MOVIEKIT_API HRESULT CreateAudioDecoder(const char* codec, int sampleRate, int channels, const BYTE* config,
                                        int configSize, AudioDecoder** out);

}  // namespace moviekit
