// The upload's decisions and companion files, without windows: which clips may go, the
// unique names in the temporary folder, the thumbnail cut from a clip's first frame and
// the ".cont" files the uploader reads. The plug-in and the tests call these.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct IClipFactsEdit;

namespace upload {

constexpr int kMaxClips = 10;
constexpr ULONGLONG kMaxBytes = 2000ull * 1024 * 1024;
constexpr ULONGLONG kMaxNanoseconds = 600000000000ull;  // ten minutes

// 0, or E_INVALIDARG with *pMessage the string to show (0: none). Kinds other than clips
// pass and are left out, but a list without a clip is refused.
HRESULT CheckUploadFiles(UINT* pMessage, int type, const std::vector<std::string>& paths);
// A Motion-JPEG clip longer than ten minutes, or any file above the size limit.
bool IsClipTooLarge(const std::string& moviePath);
// The first sample of a Motion-JPEG clip as a new file; E_FAIL when the clip is not one,
// its first sample cannot be located or reaches past the end, or the file cannot be
// written (nothing is left behind then).
HRESULT ExtractFirstFrame(const std::string& moviePath, const std::string& thumbPath);
// The run's result when the uploader ended before it reported: a clean end is no failure
// (its message went elsewhere); any other exit code is, a crash's code kept as it is.
HRESULT UploaderEndResult(DWORD exitCode);

// A name in the folder that neither exists nor is among `avoid`: folder\base.ext, then
// folder\base_XXXX.ext. E_POINTER / E_INVALIDARG for missing or broken arguments,
// E_FAIL for a name too long or when no free name was found.
HRESULT MakeUniqueTempName(const char* folder, const char* base, const char* ext, std::string* out,
                           const std::vector<std::string>* avoid, bool force);

// Writes the companions of one run through the content-information writer, recording
// every file it made.
class CompanionWriter {
 public:
  CompanionWriter(IClipFactsEdit* writer, const std::string& tempFolder) : m_writer(writer), m_temp(tempFolder) {}
  // Every path in order, then the list file after the last one. Stops at the first failure.
  HRESULT WriteAll(const std::vector<std::string>& paths);
  const std::vector<std::string>& Thumbnails() const { return m_thumbs; }
  const std::vector<std::string>& Companions() const { return m_companions; }  // the list file last
  const std::string& ListPath() const { return m_list; }

 private:
  HRESULT WriteMovie(const std::string& path, std::string* contPath);
  HRESULT WriteList(const std::string& lastPath, const std::vector<std::string>& clips);
  IClipFactsEdit* m_writer;
  std::string m_temp;
  std::vector<std::string> m_thumbs, m_companions;
  std::string m_list;
};

}  // namespace upload
