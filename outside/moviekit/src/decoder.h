// The decoding shared by the reader and the player: one open movie, its picture and
// sound decoders, exact seeking, and pictures converted to DIBs by swscale.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <string>

#include "moviekit/moviekit.h"

namespace moviekit {

// What the next Decode call produced.
enum class Decoded { Picture, Sound, End, Failed };

class Decoder {
 public:
  ~Decoder();
  // `soundAlone`: a file without a picture opens too (music), its sound decoded whatever
  // `withSound` says, since its times are all there is to play by.
  HRESULT Open(const char* ansiPath, bool withSound, bool soundAlone = false);
  const MovieFacts& Facts() const { return facts_; }
  bool SoundAlone() const { return !video_ && audio_; }
  bool HasSoundDecoder() const { return audio_ != nullptr; }
  int SoundRate() const { return 48000; }
  // Decodes until the next picture (or sound block when sound is on): its time in
  // seconds from the movie's start in *seconds. Sound comes as 16-bit stereo at
  // SoundRate() in sound_.
  Decoded Decode(double* seconds);
  // Discards what lies before `seconds`: the next Decode gives the first picture at or after it
  // (without a picture, the first sound block reaching past it).
  HRESULT Seek(double seconds);
  // The last picture as a DIB fitted into maxWidth x maxHeight (0 x 0: full size).
  HRESULT PictureToFrame(int maxWidth, int maxHeight, Frame* out);
  const std::string& Sound() const { return sound_; }
  HRESULT LastError() const { return error_; }

 private:
  double Seconds(int64_t pts, AVRational base) const;
  Decoded Drain(AVCodecContext* ctx, double* seconds);
  HRESULT SeekSound(double seconds);

  AVFormatContext* format_ = nullptr;
  AVCodecContext* video_ = nullptr;
  AVCodecContext* audio_ = nullptr;
  int videoIndex_ = -1, audioIndex_ = -1;
  AVFrame* picture_ = nullptr;
  AVFrame* work_ = nullptr;
  AVPacket* packet_ = nullptr;
  SwsContext* sws_ = nullptr;
  SwrContext* swr_ = nullptr;
  double start_ = 0;        // the container's first time stamp
  double skipBefore_ = -1;  // after a seek: pictures and sound before this are dropped
  bool held_ = false;       // picture_ is the next picture (found by a seek)
  double heldSeconds_ = 0;
  bool flushing_ = false;
  bool videoDone_ = false, audioDone_ = false;
  MovieFacts facts_;
  std::string sound_;
  HRESULT error_ = S_OK;
};

// Fits w x h into maxW x maxH keeping the shape (never enlarging); 0 x 0 keeps it.
SIZE FitInto(int w, int h, int maxW, int maxH);

// An FFmpeg error as the kit's HRESULT.
HRESULT FromAv(int err);
// Opens a movie by its ANSI path and reads its streams' facts; the caller closes *out
// (avformat_close_input) whatever the answer.
HRESULT OpenMovieFile(const char* ansiPath, AVFormatContext** out);
// Where a stream's time starts, in seconds (MPEG-TS clocks start anywhere): the movie's
// time 0 is its picture stream's start.
double StartSeconds(const AVFormatContext* format, int index);

}  // namespace moviekit
