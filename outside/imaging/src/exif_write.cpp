// Writing Exif: orientation and dates in place, IFD0 entries added, upright copies.
#include <cstring>

#include "imaging/decode.h"
#include "imaging/encode.h"
#include "imaging/exif.h"
#include "imaging/output.h"
#include "imaging/transform.h"
#include "internal.h"

namespace imaging {

using detail::Get16;
using detail::Put16;
using detail::Put32;

namespace {

constexpr size_t kMaxExifBlock = 0xFFFF - 2 - 6;

// True when width bytes at the entry's value may be written: a value held in
// its own entry, or one that lies inside the block and clear of the TIFF
// header, every IFD table, the thumbnail and every other entry's value. A
// damaged offset (0 points at the header) must never turn a write into damage.
bool ValueIsWritable(const Exif& exif, const ByteSource& block, const ExifEntry& e, size_t width) {
  if (width == 0 || width > e.data.size()) return false;
  if (e.data.size() <= 4) return e.valuePos == e.entryPos + 8;
  uint64_t from = e.valuePos, to = from + e.data.size();
  if (to > block.Size() || from < 8) return false;
  auto clear = [&](uint64_t a, uint64_t b) { return to <= a || from >= b; };
  for (int i = 0; i < int(ExifIfd::Count); ++i) {
    uint32_t pos = exif.IfdPosition(ExifIfd(i));
    uint8_t n[2];
    if (!pos) continue;
    if (!block.Read(pos, n, 2)) return false;
    if (!clear(pos, uint64_t(pos) + 2 + uint64_t(Get16(n, exif.BigEndian())) * 12 + 4)) return false;
    for (const ExifEntry& other : exif.Entries(ExifIfd(i)))
      if (&other != &e && other.data.size() > 4 && !clear(other.valuePos, other.valuePos + other.data.size()))
        return false;
  }
  return !exif.HasThumbnail() || clear(exif.ThumbnailPosition(), exif.ThumbnailPosition() + exif.Thumbnail().size());
}

// Writes an unsigned value into a SHORT or LONG entry of block; false when the
// entry can't hold it or its value lies where nothing may be written.
bool PatchNumber(std::vector<uint8_t>* block, const Exif& exif, const ExifEntry* e, uint32_t value) {
  if (!e || e->count < 1) return false;
  size_t need = e->type == kTypeShort ? 2 : e->type == kTypeLong ? 4 : 0;
  if (!need || (need == 2 && value > 0xFFFF) ||
      !ValueIsWritable(exif, MemorySource(block->data(), block->size()), *e, need))
    return false;
  if (need == 2)
    Put16(block->data() + e->valuePos, uint16_t(value), e->bigEndian);
  else
    Put32(block->data() + e->valuePos, value, e->bigEndian);
  return true;
}

// Adds an entry with an in-line value (up to four bytes, in the block's byte order) to
// IFD0 by writing a new IFD0 (old entries plus this one, in tag order) at the end of
// block and pointing the header at it. Values the old entries point to stay where they are.
bool AddIfd0Entry(std::vector<uint8_t>* block, const Exif& exif, uint16_t tagId, uint16_t type,
                  const uint8_t value[4]) {
  const bool be = exif.BigEndian();
  uint32_t pos = exif.IfdPosition(ExifIfd::Ifd0);
  if (!pos || size_t(pos) + 2 > block->size()) return false;
  uint32_t count = Get16(block->data() + pos, be);
  size_t tableEnd = size_t(pos) + 2 + size_t(count) * 12 + 4;
  if (count == 0 || tableEnd > block->size()) return false;
  std::vector<uint8_t> entries(block->data() + pos + 2, block->data() + pos + 2 + count * 12);
  const uint8_t* next = block->data() + pos + 2 + count * 12;
  uint8_t added[12] = {};
  Put16(added, tagId, be);
  Put16(added + 2, type, be);
  Put32(added + 4, 1, be);
  memcpy(added + 8, value, 4);
  size_t at = 0;
  while (at < count && Get16(entries.data() + at * 12, be) < tagId) ++at;
  entries.insert(entries.begin() + long(at * 12), added, added + 12);
  std::vector<uint8_t> ifd(2);
  Put16(ifd.data(), uint16_t(count + 1), be);
  ifd.insert(ifd.end(), entries.begin(), entries.end());
  ifd.insert(ifd.end(), next, next + 4);
  if (block->size() % 2) block->push_back(0);  // IFDs start on a word boundary
  size_t newPos = block->size();
  block->insert(block->end(), ifd.begin(), ifd.end());
  Put32(block->data() + 4, uint32_t(newPos), be);
  return true;
}

bool AddIfd0Short(std::vector<uint8_t>* block, const Exif& exif, uint16_t tagId, uint16_t value) {
  uint8_t v[4] = {};
  Put16(v, value, exif.BigEndian());
  return AddIfd0Entry(block, exif, tagId, kTypeShort, v);
}

// A little-endian TIFF block holding only IFD0 with one entry of one in-line value.
std::vector<uint8_t> TiffWithOneEntry(uint16_t tagId, uint16_t type, uint32_t value) {
  std::vector<uint8_t> t(8 + 2 + 12 + 4, 0);
  memcpy(t.data(), "II*\0", 4);
  Put32(&t[4], 8, false);
  Put16(&t[8], 1, false);
  Put16(&t[10], tagId, false);
  Put16(&t[12], type, false);
  Put32(&t[14], 1, false);
  Put32(&t[18], value, false);
  return t;
}

// A TIFF block holding only IFD0 with Orientation.
std::vector<uint8_t> MinimalTiff(int orientation) {
  return TiffWithOneEntry(tag::kOrientation, kTypeShort, uint32_t(orientation));
}

// Orientation set in a TIFF block, added to IFD0 when missing.
bool SetBlockOrientation(std::vector<uint8_t>* block, int orientation) {
  Exif exif;
  if (!exif.ParseTiff(block->data(), block->size())) return false;
  if (PatchNumber(block, exif, exif.Find(ExifIfd::Ifd0, tag::kOrientation), uint32_t(orientation))) return true;
  if (exif.Find(ExifIfd::Ifd0, tag::kOrientation)) return false;  // present but unwritable
  return AddIfd0Short(block, exif, tag::kOrientation, uint16_t(orientation));
}

// Bytes to write into a file at its positions.
struct FilePatch {
  uint64_t pos;
  std::vector<uint8_t> bytes;
};

// A source's bytes with patches laid over them.
class PatchedSource : public ByteSource {
 public:
  PatchedSource(const ByteSource& base, const std::vector<FilePatch>& patches) : base_(base), patches_(patches) {}
  uint64_t Size() const override { return base_.Size(); }
  bool Read(uint64_t pos, void* dst, size_t n) const override {
    if (!base_.Read(pos, dst, n)) return false;
    for (const FilePatch& p : patches_)
      for (size_t i = 0; i < p.bytes.size(); ++i)
        if (p.pos + i >= pos && p.pos + i < pos + n) static_cast<uint8_t*>(dst)[p.pos + i - pos] = p.bytes[i];
    return true;
  }

 private:
  const ByteSource& base_;
  const std::vector<FilePatch>& patches_;
};

// The Exif read again with the patches applied must be the same Exif: the same
// IFDs holding the same entries, with only the patched values changed.
bool PatchesHold(const Exif& before, const ByteSource& file, const std::vector<FilePatch>& patches) {
  Exif after;
  if (!after.LoadFrom(PatchedSource(file, patches)) || after.TiffPosition() != before.TiffPosition()) return false;
  for (int i = 0; i < int(ExifIfd::Count); ++i) {
    const auto& a = before.Entries(ExifIfd(i));
    const auto& b = after.Entries(ExifIfd(i));
    if (before.IfdPosition(ExifIfd(i)) != after.IfdPosition(ExifIfd(i)) || a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k) {
      if (a[k].tag != b[k].tag || a[k].type != b[k].type || a[k].count != b[k].count || a[k].valuePos != b[k].valuePos)
        return false;
      bool patched = false;
      for (const FilePatch& p : patches)
        if (p.pos == before.TiffPosition() + a[k].valuePos) patched = true;
      if (!patched && a[k].data != b[k].data) return false;
    }
  }
  return before.Thumbnail() == after.Thumbnail() && before.MakerNote() == after.MakerNote();
}

// Writes the patches into the file in place, nothing else touched; the file is
// read again first and left alone when the patched Exif would differ in more
// than those values.
HRESULT WriteInPlace(const char* path, const Exif& before, const std::vector<FilePatch>& patches) {
  {
    detail::FileReader file;
    HRESULT hr = file.Open(path);
    if (FAILED(hr)) return hr;
    if (!PatchesHold(before, file, patches)) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  }
  HANDLE f = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return detail::HrFromLastError();
  HRESULT hr = S_OK;
  for (const FilePatch& p : patches) {
    OVERLAPPED ov = {};
    ov.Offset = DWORD(p.pos);
    ov.OffsetHigh = DWORD(p.pos >> 32);
    DWORD done = 0;
    if (!WriteFile(f, p.bytes.data(), DWORD(p.bytes.size()), &done, &ov) || done != p.bytes.size()) {
      hr = detail::HrFromLastError();
      break;
    }
  }
  CloseHandle(f);
  return hr;
}

// A picture file rewritten whole with new metadata: through the checked temporary file of
// the tools' output, so a failure half-way leaves the old file whole. A read-only file is
// refused as Windows refuses to replace it (Wine's move would take it).
HRESULT RewritePictureFile(const char* path, const std::vector<uint8_t>& data) {
  DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
  OutputCheck check;
  check.format = DetectFormat(data.data(), data.size());
  return PlaceOutputFile(path, data.data(), data.size(), true, check);
}

// The same patches laid over a copy of the whole file, which is rewritten.
HRESULT WriteReplacing(const char* path, const Exif& before, const std::vector<FilePatch>& patches) {
  std::vector<uint8_t> data;
  HRESULT hr = detail::ReadWholeFile(path, &data);
  if (FAILED(hr)) return hr;
  if (!PatchesHold(before, MemorySource(data.data(), data.size()), patches))
    return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  for (const FilePatch& p : patches) {
    if (p.pos + p.bytes.size() > data.size()) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    memcpy(data.data() + p.pos, p.bytes.data(), p.bytes.size());
  }
  return RewritePictureFile(path, data);
}

// Whether an entry's value may be written in the file the Exif was read from
// (a JPEG's block is the one the Exif holds; a TIFF file is its own block).
bool WritableInFile(const Exif& exif, const ByteSource& file, const ExifEntry& e, size_t width) {
  if (exif.FromJpeg()) return ValueIsWritable(exif, MemorySource(exif.Block().data(), exif.Block().size()), e, width);
  return ValueIsWritable(exif, file, e, width);
}

// True when the thumbnail bytes end the block and nothing else lies in them, so
// the block may be cut where they begin.
bool ThumbnailEndsBlock(const Exif& exif, size_t blockSize) {
  if (!exif.HasThumbnail() || exif.ThumbnailPosition() + exif.Thumbnail().size() != blockSize) return false;
  size_t start = exif.ThumbnailPosition();
  for (int i = 0; i < int(ExifIfd::Count); ++i) {
    const auto& entries = exif.Entries(ExifIfd(i));
    if (exif.IfdPosition(ExifIfd(i)) + 2 + entries.size() * 12 + 4 > start) return false;
    for (const ExifEntry& e : entries)
      if (e.valuePos + e.data.size() > start) return false;
  }
  return true;
}

// Cuts IFD1 (the thumbnail's directory) off the chain; the thumbnail bytes go
// too when they end the block.
bool DropThumbnail(std::vector<uint8_t>* block, const Exif& exif) {
  uint32_t pos = exif.IfdPosition(ExifIfd::Ifd0);
  if (!pos || size_t(pos) + 2 > block->size()) return false;
  size_t next = size_t(pos) + 2 + size_t(Get16(block->data() + pos, exif.BigEndian())) * 12;
  if (next + 4 > block->size()) return false;
  Put32(block->data() + next, 0, exif.BigEndian());
  if (ThumbnailEndsBlock(exif, block->size())) block->resize(exif.ThumbnailPosition());
  return true;
}

// A JPEG's Exif block changed in memory: edit(&block, hasExif) gets the block the JPEG
// holds, or an empty one to fill when it has none; false from it, or a JPEG that does
// not scan, leaves the JPEG as it is.
template <class Edit>
bool EditJpegExif(std::vector<uint8_t>* jpeg, Edit edit) {
  MemorySource src(jpeg->data(), jpeg->size());
  detail::JpegLayout layout;
  if (!detail::ScanJpeg(src, &layout)) return false;
  std::vector<uint8_t> block;
  if (layout.hasExif) block.assign(jpeg->data() + layout.tiffPos, jpeg->data() + layout.tiffPos + layout.tiffSize);
  if (!edit(&block, layout.hasExif)) return false;
  std::vector<uint8_t> out;
  if (!detail::ReplaceJpegExif(src, layout, block, &out)) return false;
  jpeg->swap(out);
  return true;
}

}  // namespace

bool SetJpegOrientation(std::vector<uint8_t>* jpeg, int orientation) {
  if (!jpeg || orientation < 1 || orientation > 8) return false;
  return EditJpegExif(jpeg, [orientation](std::vector<uint8_t>* block, bool hasExif) {
    if (hasExif) return SetBlockOrientation(block, orientation);
    *block = MinimalTiff(orientation);
    return true;
  });
}

bool SetTiffOrientation(std::vector<uint8_t>* tiff, int orientation) {
  if (!tiff || orientation < 1 || orientation > 8) return false;
  return SetBlockOrientation(tiff, orientation);
}

HRESULT WriteOrientation(const char* path, int orientation) {
  if (!path || orientation < 1 || orientation > 8) return E_INVALIDARG;
  bool isJpeg = false;
  Exif exif;
  std::vector<FilePatch> patches;
  {
    detail::FileReader file;
    HRESULT hr = file.Open(path);
    if (FAILED(hr)) return hr;
    uint8_t head[2];
    if (!file.Read(0, head, 2)) return E_FAIL;
    isJpeg = head[0] == 0xFF && head[1] == 0xD8;
    if (isJpeg) {
      detail::JpegLayout layout;
      detail::ScanJpeg(file, &layout);
      if (layout.hasExif && !exif.LoadFrom(file)) return E_FAIL;  // unreadable Exif stays untouched
    } else if (!exif.LoadFrom(file)) {
      return WINCODEC_ERR_COMPONENTNOTFOUND;
    }
    const ExifEntry* e = exif.Find(ExifIfd::Ifd0, tag::kOrientation);
    if (e && e->count >= 1 && (e->type == kTypeShort || e->type == kTypeLong)) {
      size_t width = e->type == kTypeShort ? 2 : 4;
      if (!WritableInFile(exif, file, *e, width)) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
      std::vector<uint8_t> v(width);
      if (width == 2)
        Put16(v.data(), uint16_t(orientation), e->bigEndian);
      else
        Put32(v.data(), uint32_t(orientation), e->bigEndian);
      patches.push_back({exif.TiffPosition() + e->valuePos, v});
    }
  }
  if (!patches.empty()) return WriteInPlace(path, exif, patches);
  // The tag is missing: rewrite the file with it added.
  std::vector<uint8_t> data;
  HRESULT hr = detail::ReadWholeFile(path, &data);
  if (FAILED(hr)) return hr;
  if (isJpeg) {
    if (!SetJpegOrientation(&data, orientation)) return E_FAIL;
  } else if (!SetBlockOrientation(&data, orientation)) {
    return E_FAIL;
  }
  return WriteFileReplacing(path, data.data(), data.size());
}

HRESULT WriteDateTime(const char* path, const ExifDateTime& when, unsigned tags) {
  if (!path || !ExifDateTime::Parse(when.ToString())) return E_INVALIDARG;
  std::string text = when.ToString();
  const struct {
    unsigned flag;
    ExifIfd ifd;
    uint16_t tag;
  } kTags[] = {{kDateOriginal, ExifIfd::Exif, tag::kDateTimeOriginal},
               {kDateDigitized, ExifIfd::Exif, tag::kDateTimeDigitized},
               {kDateModified, ExifIfd::Ifd0, tag::kDateTime}};
  Exif exif;
  std::vector<FilePatch> patches;
  {
    detail::FileReader file;
    HRESULT hr = file.Open(path);
    if (FAILED(hr)) return hr;
    if (!exif.LoadFrom(file)) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    for (const auto& t : kTags) {
      if (!(tags & t.flag)) continue;
      const ExifEntry* e = exif.Find(t.ifd, t.tag);
      if (!e || e->type != kTypeAscii || e->count < 20) continue;
      if (!WritableInFile(exif, file, *e, 20)) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
      patches.push_back({exif.TiffPosition() + e->valuePos, std::vector<uint8_t>(text.c_str(), text.c_str() + 20)});
    }
  }
  if (patches.empty()) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  return WriteReplacing(path, exif, patches);
}

HRESULT RotateByOrientation(const char* path, int degreesClockwise) {
  if (!path) return E_INVALIDARG;
  Exif exif;
  int current = exif.Load(path) ? exif.Orientation() : 0;
  return WriteOrientation(path, RotateOrientation(current, degreesClockwise));
}

std::vector<uint8_t> MakeUprightExif(const std::vector<uint8_t>& tiffBlock, int orientation, int width,
                                     int height) {
  Exif exif;
  if (!exif.ParseTiff(tiffBlock.data(), tiffBlock.size())) return {};
  std::vector<uint8_t> out = tiffBlock;
  // A tag that is there but can't be written safely makes the block unusable.
  auto set = [&](ExifIfd ifd, uint16_t t, uint32_t value) {
    const ExifEntry* e = exif.Find(ifd, t);
    return !e || PatchNumber(&out, exif, e, value);
  };
  if (!set(ExifIfd::Ifd0, tag::kOrientation, 1) || !set(ExifIfd::Ifd1, tag::kOrientation, 1)) return {};
  if (width > 0 && height > 0 &&
      (!set(ExifIfd::Exif, tag::kPixelXDimension, uint32_t(width)) ||
       !set(ExifIfd::Exif, tag::kPixelYDimension, uint32_t(height))))
    return {};
  if (exif.HasThumbnail() && orientation > 1 && orientation <= 8) {
    // The thumbnail turns with the picture; when that fails it is dropped.
    std::vector<uint8_t> thumb;
    DecodeOptions opt;
    opt.applyOrientation = false;
    Dib small;
    bool ok = SUCCEEDED(DecodeMemory(exif.Thumbnail().data(), exif.Thumbnail().size(), opt, &small)) &&
              ApplyOrientation(small, orientation, &small) && SUCCEEDED(EncodeJpeg(small, 90, &thumb));
    const ExifEntry* offEntry = exif.Find(ExifIfd::Ifd1, tag::kThumbnailOffset);
    const ExifEntry* lenEntry = exif.Find(ExifIfd::Ifd1, tag::kThumbnailLength);
    size_t keep = out.size();
    if (ThumbnailEndsBlock(exif, out.size())) keep = exif.ThumbnailPosition();
    size_t at = keep + (keep % 2);
    if (ok && at + thumb.size() <= kMaxExifBlock) {
      std::vector<uint8_t> trial(out.begin(), out.begin() + long(keep));
      trial.resize(at, 0);
      trial.insert(trial.end(), thumb.begin(), thumb.end());
      ok = PatchNumber(&trial, exif, offEntry, uint32_t(at)) &&
           PatchNumber(&trial, exif, lenEntry, uint32_t(thumb.size()));
      if (ok) out.swap(trial);
    } else {
      ok = false;
    }
    if (!ok) DropThumbnail(&out, exif);
  }
  if (out.size() > kMaxExifBlock) {
    DropThumbnail(&out, exif);
    if (out.size() > kMaxExifBlock) return {};
  }
  // Read back: the copy must still be a block, upright.
  Exif check;
  if (!check.ParseTiff(out.data(), out.size()) || check.Orientation() > 1) return {};
  return out;
}

namespace {

// A rational of a coordinate part, to a ten-thousandth of a second.
void PutRational(std::vector<uint8_t>* out, size_t at, uint32_t num, uint32_t den, bool be) {
  Put32(out->data() + at, num, be);
  Put32(out->data() + at + 4, den, be);
}

// A GPS IFD (version 2.3, latitude and longitude with their references) written at the
// end of block; its position.
uint32_t AppendGpsIfd(std::vector<uint8_t>* block, double latitude, double longitude, bool be) {
  if (block->size() % 2) block->push_back(0);
  const uint32_t at = uint32_t(block->size());
  const int kEntries = 5;
  const uint32_t values = at + 2 + kEntries * 12 + 4;
  block->resize(values + 2 * 24, 0);
  uint8_t* p = block->data() + at;
  Put16(p, kEntries, be);
  auto entry = [&](int i, uint16_t t, uint16_t type, uint32_t count) {
    uint8_t* e = p + 2 + i * 12;
    Put16(e, t, be);
    Put16(e + 2, type, be);
    Put32(e + 4, count, be);
    return e + 8;
  };
  uint8_t* v = entry(0, tag::kGpsVersionId, kTypeByte, 4);
  v[0] = 2, v[1] = 3, v[2] = 0, v[3] = 0;
  entry(1, tag::kGpsLatitudeRef, kTypeAscii, 2)[0] = latitude < 0 ? 'S' : 'N';
  Put32(entry(2, tag::kGpsLatitude, kTypeRational, 3), values, be);
  entry(3, tag::kGpsLongitudeRef, kTypeAscii, 2)[0] = longitude < 0 ? 'W' : 'E';
  Put32(entry(4, tag::kGpsLongitude, kTypeRational, 3), values + 24, be);
  Put32(p + 2 + kEntries * 12, 0, be);
  double parts[2] = {latitude < 0 ? -latitude : latitude, longitude < 0 ? -longitude : longitude};
  for (int k = 0; k < 2; ++k) {
    // Degrees and minutes whole, seconds in ten-thousandths, carried so none reaches 60.
    uint64_t tenThousandths = uint64_t(parts[k] * 3600.0 * 10000.0 + 0.5);
    uint32_t degrees = uint32_t(tenThousandths / 36000000);
    uint32_t minutes = uint32_t(tenThousandths / 600000 % 60);
    uint32_t seconds = uint32_t(tenThousandths % 600000);
    size_t base = values + k * 24;
    PutRational(block, base, degrees, 1, be);
    PutRational(block, base + 8, minutes, 1, be);
    PutRational(block, base + 16, seconds, 10000, be);
  }
  return at;
}

}  // namespace

bool SetJpegGpsPosition(std::vector<uint8_t>* jpeg, double latitude, double longitude) {
  if (!jpeg || !(latitude >= -90 && latitude <= 90) || !(longitude >= -180 && longitude <= 180)) return false;
  return EditJpegExif(jpeg, [latitude, longitude](std::vector<uint8_t>* block, bool hasExif) {
    if (hasExif) {
      Exif exif;
      if (!exif.ParseTiff(block->data(), block->size())) return false;
      if (exif.Find(ExifIfd::Ifd0, tag::kGpsIfd)) return false;  // a position is there already
      uint32_t at = AppendGpsIfd(block, latitude, longitude, exif.BigEndian());
      uint8_t v[4];
      Put32(v, at, exif.BigEndian());
      if (!AddIfd0Entry(block, exif, tag::kGpsIfd, kTypeLong, v)) return false;
    } else {
      // IFD0 with the GPS pointer alone, pointed at the GPS IFD behind it.
      *block = TiffWithOneEntry(tag::kGpsIfd, kTypeLong, 0);
      Put32(&(*block)[18], AppendGpsIfd(block, latitude, longitude, false), false);
    }
    return block->size() <= kMaxExifBlock;
  });
}

HRESULT WriteGpsPosition(const char* path, double latitude, double longitude) {
  if (!path) return E_INVALIDARG;
  std::vector<uint8_t> data;
  HRESULT hr = detail::ReadWholeFile(path, &data);
  if (FAILED(hr)) return hr;
  if (DetectFormat(data.data(), data.size()) != ImageFormat::Jpeg) return WINCODEC_ERR_COMPONENTNOTFOUND;
  {
    Exif exif;
    if (exif.LoadMemory(data.data(), data.size()) && exif.Find(ExifIfd::Ifd0, tag::kGpsIfd))
      return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
  }
  if (!SetJpegGpsPosition(&data, latitude, longitude)) return E_INVALIDARG;
  return RewritePictureFile(path, data);
}

}  // namespace imaging
