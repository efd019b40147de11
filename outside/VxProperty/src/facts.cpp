#include "facts.h"

#include <cstdio>

#include "VxProperty.h"
#include "format.h"
#include <moviekit/moviekit.h>
#include <textkit/text.h>
#include <textkit/path.h>

#include "format.h"

namespace vxprop {

namespace {

// The movies whose headers are read: MP4 and QuickTime boxes.
bool IsMovieBoxPath(const char* path) {
  for (const char* ext : {".mp4", ".m4v", ".mov", ".3gp", ".3g2", ".qt"})
    if (textkit::EndsWithNoCase(path, ext)) return true;
  return false;
}

// AVCHD scenes (MPEG-TS streams) have no header to read: the movie kit reads their streams.
bool IsStreamPath(const char* path) {
  for (const char* ext : {".mts", ".m2ts", ".m2t"})
    if (textkit::EndsWithNoCase(path, ext)) return true;
  return false;
}

bool ReadStreamFacts(const char* path, imaging::MovieHeader* out) {
  moviekit::MovieFacts facts;
  if (FAILED(moviekit::ReadFacts(path, &facts)) || !facts.hasVideo) return false;
  out->container = "MPEG-TS";
  for (int i = 0; i < facts.streamCount && i < moviekit::kMaxStreams; ++i)
    if (facts.streams[i].kind == moviekit::StreamKind::Video) {
      out->codec = facts.streams[i].codec;
      break;
    }
  out->width = facts.width;
  out->height = facts.height;
  out->durationSeconds = facts.durationSeconds;
  return true;
}

bool StatFile(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA* fa) {
  return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, fa) != 0;
}

void GatherContent(FileFacts* f) {
  f->hasContent = vxcont::ReadContentFile(f->path.c_str(), &f->content);
  if (!f->hasContent) return;
  std::string folder = textkit::FolderPartOf(f->path);
  for (const std::string& name : f->content.members) {
    WIN32_FILE_ATTRIBUTE_DATA fa;
    if (!StatFile(folder + name, &fa) || (fa.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    f->memberBytes += (uint64_t(fa.nFileSizeHigh) << 32) | fa.nFileSizeLow;
    if (!f->firstMemberWritten) f->firstMemberWritten = fa.ftLastWriteTime;
  }
}

// Exif UserComment in the ANSI code page.
std::string UserComment(const imaging::Exif& exif) {
  auto c = exif.UserComment();
  return c ? textkit::Trim(textkit::GuessToAnsi(c->text)) : "";
}

std::string ExifText(const FileFacts& f, uint16_t tag) {
  if (!f.hasExif) return "";
  auto t = f.exif.Text(imaging::ExifIfd::Ifd0, tag);
  return t ? textkit::Trim(textkit::GuessToAnsi(*t)) : "";
}

std::optional<int> MakerNoteInt(const FileFacts& f, uint16_t tag, size_t count = 1) {
  if (!f.hasExif || !f.exif.HasNorvaneMakerNote()) return std::nullopt;
  auto v = f.exif.MakerNoteValues(tag);
  if (!v || v->size() < count) return std::nullopt;
  return static_cast<int>((*v)[0]);
}

// A value of the Exif reader turned into text; "" when the file has none.
template <class T, class Fmt>
std::string ExifValue(const FileFacts& f, std::optional<T> (imaging::Exif::*get)() const, Fmt fmt) {
  if (!f.hasExif) return "";
  std::optional<T> v = (f.exif.*get)();
  return v ? std::string(fmt(*v)) : std::string();
}

const char* ImageKindName(imaging::ImageFormat fmt) {
  switch (fmt) {
    case imaging::ImageFormat::Jpeg: return "JPEG 画像";
    case imaging::ImageFormat::Png: return "PNG 画像";
    case imaging::ImageFormat::Bmp: return "ビットマップ画像";
    case imaging::ImageFormat::Gif: return "GIF 画像";
    case imaging::ImageFormat::Tiff: return "TIFF 画像";
    case imaging::ImageFormat::Ico: return "アイコン";
    default: return "";
  }
}

std::string MovieKindName(const std::string& path) {
  struct Ext {
    const char* ext;
    const char* name;
  };
  static const Ext kNames[] = {{".mp4", "MP4 動画"},       {".m4v", "MP4 動画"},       {".mov", "QuickTime 動画"},
                               {".qt", "QuickTime 動画"},  {".3gp", "3GP 動画"},       {".3g2", "3GP 動画"},
                               {".mts", "AVCHD 動画"},     {".m2ts", "AVCHD 動画"},    {".mpg", "MPEG 動画"},
                               {".mpeg", "MPEG 動画"},     {".mod", "MPEG 動画"},      {".avi", "AVI 動画"},
                               {".wmv", "Windows Media 動画"}, {".asf", "Windows Media 動画"}};
  for (const Ext& e : kNames)
    if (textkit::EndsWithNoCase(path, e.ext)) return e.name;
  return "";
}

}  // namespace

SYSTEMTIME LocalTimeOf(const FILETIME& utc) {
  SYSTEMTIME u{}, local{};
  FileTimeToSystemTime(&utc, &u);
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &u, &local)) local = u;
  return local;
}

namespace {

// What the directory tells (or told the caller) of a file; false when it is missing or a
// folder.
bool TakeDisk(const char* path, const WIN32_FILE_ATTRIBUTE_DATA& fa, FileFacts* f) {
  if (fa.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  f->path = path;
  f->attributes = fa.dwFileAttributes;
  f->size = (uint64_t(fa.nFileSizeHigh) << 32) | fa.nFileSizeLow;
  f->written = fa.ftLastWriteTime;
  f->disk = fa;
  return true;
}

bool StatFacts(const char* path, FileFacts* f) {
  WIN32_FILE_ATTRIBUTE_DATA fa;
  return path && *path && StatFile(path, &fa) && TakeDisk(path, fa, f);
}

void TakeImage(imaging::FileProbe* probe, FileFacts* f) {
  f->kind = FileKind::Image;
  f->imageFormat = probe->format;
  f->hasImageInfo = SUCCEEDED(probe->probe);
  f->image = probe->info;
  f->hasExif = probe->hasExif;
  f->exif = std::move(probe->exif);
}

}  // namespace

bool GatherHeadFacts(const char* path, const void* head, size_t size, FileFacts* out,
                     const WIN32_FILE_ATTRIBUTE_DATA* disk) {
  FileFacts f;
  if (!out || !path || !*path || vxcont::IsContentPath(path)) return false;
  if (disk ? !TakeDisk(path, *disk, &f) : !StatFacts(path, &f)) return false;
  imaging::FileProbe probe;
  if (!imaging::ProbeImageHead(head, size, f.size, &probe) || probe.format == imaging::ImageFormat::Unknown)
    return false;
  TakeImage(&probe, &f);
  *out = std::move(f);
  return true;
}

bool GatherFacts(const char* path, FileFacts* out) {
  FileFacts f;
  if (!out || !StatFacts(path, &f)) return false;
  imaging::FileProbe probe;
  if (vxcont::IsContentPath(path)) {
    f.kind = FileKind::Content;
    GatherContent(&f);
  } else if (imaging::ProbeImageFile(path, &probe), probe.format != imaging::ImageFormat::Unknown) {
    TakeImage(&probe, &f);
  } else if (IsMovieBoxPath(path)) {
    f.kind = FileKind::Movie;
    f.hasMovie = SUCCEEDED(imaging::ProbeMovie(path, &f.movie));
  } else if (IsStreamPath(path)) {
    f.kind = FileKind::Movie;
    f.hasMovie = ReadStreamFacts(path, &f.movie);
  } else if (!MovieKindName(f.path).empty()) {
    f.kind = FileKind::Movie;
  }
  *out = std::move(f);
  return true;
}

SYSTEMTIME RecordingTime(const FileFacts& f, TimeSource* source) {
  auto give = [source](TimeSource s, const SYSTEMTIME& t) {
    if (source) *source = s;
    return t;
  };
  if (f.hasExif) {
    if (auto t = f.exif.DateTimeOriginal()) return give(TimeSource::ExifOriginal, t->ToSystemTime());
    if (auto t = f.exif.DateTimeDigitized()) return give(TimeSource::ExifDigitized, t->ToSystemTime());
  }
  FILETIME movieTime;
  if (f.hasMovie && f.movie.created && SystemTimeToFileTime(&*f.movie.created, &movieTime))
    return give(TimeSource::MovieHeader, LocalTimeOf(movieTime));
  if (f.hasContent && f.content.recordTime) return give(TimeSource::ContentRecord, *f.content.recordTime);
  if (f.hasContent && f.firstMemberWritten) return give(TimeSource::ContentMember, LocalTimeOf(*f.firstMemberWritten));
  return give(TimeSource::FileWritten, LocalTimeOf(f.written));
}

bool PropertyTime(const FileFacts& f, DWORD id, SYSTEMTIME* out) {
  if (id == PRID_SHOT_DATE) {
    *out = RecordingTime(f);
    return true;
  }
  if (id == PRID_WRITE_TIME) {
    *out = LocalTimeOf(f.written);
    return true;
  }
  return false;
}

std::string PropertyText(const FileFacts& f, DWORD id) {
  const imaging::Exif& x = f.exif;
  const bool exif = f.hasExif;
  const bool cont = f.hasContent;
  const vxcont::ContentInfo& c = f.content;
  switch (id) {
    case PRID_MAKER: return cont ? c.maker : ExifText(f, imaging::tag::kMake);
    case PRID_MODEL: return cont ? c.model : ExifText(f, imaging::tag::kModel);
    case PRID_SHOT_DATE: return FormatDateTime(RecordingTime(f));
    case PRID_EXPOSURE: return ExifValue(f, &imaging::Exif::ExposureTime, FormatExposure);
    case PRID_APERTURE: return ExifValue(f, &imaging::Exif::FNumber, FormatAperture);
    case PRID_ISO: return ExifValue(f, &imaging::Exif::Iso, [](uint32_t v) { return v ? std::to_string(v) : ""; });
    case PRID_FOCAL_LENGTH: return ExifValue(f, &imaging::Exif::FocalLength, FormatFocalLength);
    case PRID_FLASH: return ExifValue(f, &imaging::Exif::Flash, FormatFlash);
    case PRID_WHITE_BALANCE: return ExifValue(f, &imaging::Exif::WhiteBalance, WhiteBalanceName);
    case PRID_FILE_KIND:
      if (f.kind == FileKind::Image) return ImageKindName(f.imageFormat);
      if (f.kind == FileKind::Content) return cont ? "AVCHD 動画 (クリップ)" : "";
      return f.kind == FileKind::Movie ? MovieKindName(f.path) : "";
    case PRID_IMAGE_SIZE:
      if (f.hasImageInfo) return FormatSize(f.image.DisplayWidth(), f.image.DisplayHeight());
      if (f.hasMovie) return FormatSize(f.movie.width, f.movie.height);
      return "";
    case PRID_SHOT_MODE: return ExifValue(f, &imaging::Exif::ExposureProgram, ExposureProgramName);
    case PRID_FILE_SIZE:
      if (cont) return FormatFileSize(c.totalSize ? *c.totalSize : f.memberBytes);
      return FormatFileSize(f.size);
    case PRID_WRITE_TIME: return FormatLongDateTime(LocalTimeOf(f.written));
    case PRID_MEMBERS: return cont ? vxcont::JoinMembers(c.members) : "";
    case PRID_MAKER_CODE: return cont ? c.makerCode : "";
    case PRID_MODEL_CODE: return cont ? c.modelCode : "";
    case PRID_DURATION:
      if (cont) return FormatDuration(c.durationSeconds);
      return f.hasMovie ? FormatDuration(f.movie.durationSeconds) : "";
    case PRID_REC_MODE: return cont ? c.recMode : "";
    case PRID_BIT_RATE: {
      if (cont && c.bitRate) return FormatBitRate(c.bitRate);
      double seconds = cont ? c.durationSeconds : (f.hasMovie ? f.movie.durationSeconds : 0);
      uint64_t bytes = cont ? (c.totalSize ? *c.totalSize : f.memberBytes) : f.size;
      return seconds > 0 && bytes ? FormatBitRate(static_cast<uint64_t>(bytes * 8.0 / seconds)) : "";
    }
    case PRID_MOVIE_EXPOSURE: return cont ? c.exposure : "";
    case PRID_SCENE_OTHER: {
      auto code = MakerNoteInt(f, PR_MN_SCENE_MODE);
      return code && *code > 0 && !CameraSceneModeName(*code) ? "1" : "";
    }
    case PRID_CAPTION: {
      if (cont) return c.title;
      std::string d = ExifText(f, imaging::tag::kImageDescription);
      return !d.empty() ? d : (exif ? UserComment(x) : "");
    }
    case PRID_SCENE:
      return exif ? SceneName(x.SceneCaptureType(), x.ExposureProgram()) : "";
    case PRID_SCENE_MODE: {
      auto code = MakerNoteInt(f, PR_MN_SCENE_MODE);
      const char* name = code ? CameraSceneModeName(*code) : nullptr;
      return name ? name : "";
    }
    case PRID_LIGHTING:
      return ExifValue(f, &imaging::Exif::Flash, [](uint32_t v) { return std::string(v & 1 ? "フラッシュ" : ""); });
    case PRID_FACES: {
      auto n = MakerNoteInt(f, PR_MN_FACE_COUNT);
      return n && *n > 0 ? std::to_string(*n) : "";
    }
    default: return "";
  }
}

std::optional<GpsTexts> GpsOf(const FileFacts& f) {
  if (!f.hasExif) return std::nullopt;
  auto gps = f.exif.Gps();
  if (!gps || !gps->latitude || !gps->longitude) return std::nullopt;
  GpsTexts t;
  t.latitude = GpsDmsText(gps->latitude->decimal);
  t.longitude = GpsDmsText(gps->longitude->decimal);
  if (gps->altitudeMetres) {
    char buf[32];
    snprintf(buf, sizeof buf, "%.1f", *gps->altitudeMetres);
    t.altitude = buf;
  }
  return t;
}

std::vector<std::string> PersonNamesOf(const FileFacts& f) {
  std::vector<std::string> names;
  if (!f.hasExif || !f.exif.HasNorvaneMakerNote()) return names;
  const imaging::ExifEntry* e = f.exif.FindMakerNote(PR_MN_PERSONS);
  if (!e) return names;
  for (size_t at = 0; at + PR_PERSON_NAME_BYTES <= e->data.size() && names.size() < PR_PERSONS_MAX;
       at += PR_PERSON_NAME_BYTES) {
    std::string name(reinterpret_cast<const char*>(e->data.data() + at), PR_PERSON_NAME_BYTES);
    name = name.substr(0, name.find('\0'));
    if (!name.empty()) names.push_back(name);
  }
  return names;
}

std::optional<FocusArea> FocusOf(const FileFacts& f) {
  if (!f.hasExif || !f.exif.HasNorvaneMakerNote()) return std::nullopt;
  auto v = f.exif.MakerNoteValues(PR_MN_FOCUS_AREA);
  if (!v || v->size() < 4) return std::nullopt;
  FocusArea a;
  a.column = static_cast<int>((*v)[0]);
  a.columns = static_cast<int>((*v)[1]);
  a.row = static_cast<int>((*v)[2]);
  a.rows = static_cast<int>((*v)[3]);
  // A grid the camera could not have used is no focus area.
  if (a.columns < 1 || a.rows < 1 || a.columns > 1000 || a.rows > 1000 || a.column < 0 || a.row < 0 ||
      a.column >= a.columns || a.row >= a.rows)
    return std::nullopt;
  return a;
}

std::vector<std::pair<std::string, std::string>> DialogLines(const FileFacts& f) {
  struct Row {
    DWORD id;
    const char* name;
  };
  static const Row kRows[] = {
      {PRID_FILE_KIND, "種類"},        {PRID_FILE_SIZE, "サイズ"},        {PRID_WRITE_TIME, "更新日時"},
      {PRID_SHOT_DATE, "撮影日時"},    {PRID_IMAGE_SIZE, "画像サイズ"},   {PRID_MAKER, "メーカー"},
      {PRID_MODEL, "機種"},            {PRID_EXPOSURE, "シャッター速度"}, {PRID_APERTURE, "絞り値"},
      {PRID_ISO, "ISO 感度"},          {PRID_FOCAL_LENGTH, "焦点距離"},   {PRID_FLASH, "フラッシュ"},
      {PRID_WHITE_BALANCE, "ホワイトバランス"}, {PRID_SHOT_MODE, "撮影モード"}, {PRID_SCENE, "シーン"},
      {PRID_SCENE_MODE, "シーンモード"}, {PRID_FACES, "顔の数"},         {PRID_CAPTION, "タイトル"},
      {PRID_DURATION, "記録時間"},     {PRID_BIT_RATE, "ビットレート"},   {PRID_REC_MODE, "記録モード"},
      {PRID_MOVIE_EXPOSURE, "シャッター速度"}, {PRID_MEMBERS, "構成ファイル"},
  };
  std::vector<std::pair<std::string, std::string>> lines;
  lines.emplace_back("名前", textkit::FileNameOf(f.path));
  for (const Row& r : kRows) {
    std::string v = PropertyText(f, r.id);
    if (v.empty()) continue;
    if (r.id == PRID_MEMBERS) {
      // "ポ" ends in the byte of "|": only separators of their own become ", ".
      std::string joined;
      for (const std::string& name : textkit::Split(v, '|')) joined += (joined.empty() ? "" : ", ") + name;
      v = joined;
    }
    lines.emplace_back(r.name, v);
  }
  return lines;
}

}  // namespace vxprop
