#include "keptags.h"

#include <imaging/decode.h>
#include <imaging/exif.h>
#include <imaging/metadata.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

namespace imgtest {

namespace {

using namespace imaging;

// The tags of IFD0 that say who made the picture and when, as a tool must keep them.
const uint16_t kDescriptive[] = {tag::kImageDescription, tag::kMake,   tag::kModel,    tag::kSoftware,
                                 tag::kDateTime,         tag::kArtist, tag::kCopyright};

std::string SameEntries(const Exif& a, const Exif& b, ExifIfd ifd, const char* name) {
  for (const ExifEntry& e : a.Entries(ifd)) {
    if (ifd == ExifIfd::Exif &&
        (e.tag == tag::kPixelXDimension || e.tag == tag::kPixelYDimension || e.tag == tag::kInteropIfd))
      continue;
    if (ifd == ExifIfd::Ifd0 &&
        std::find(std::begin(kDescriptive), std::end(kDescriptive), e.tag) == std::end(kDescriptive))
      continue;
    const ExifEntry* f = b.Find(ifd, e.tag);
    if (!f) return std::string(name) + " tag " + std::to_string(e.tag) + " missing";
    if (f->type != e.type || f->count != e.count || f->data != e.data)
      return std::string(name) + " tag " + std::to_string(e.tag) + " changed";
  }
  return "";
}

// The XMP the same but where the source's orientation value stands, which reads 1.
bool UprightCopy(const std::vector<uint8_t>& source, const std::vector<uint8_t>& output) {
  static const char kName[] = "tiff:Orientation";
  size_t i = 0, j = 0;
  while (i < source.size() && j < output.size()) {
    if (source[i] == output[j]) {
      ++i, ++j;
      continue;
    }
    // A difference only in a digit just after the name and its ="  or >.
    size_t back = j;
    while (back > 0 && (output[back - 1] == '"' || output[back - 1] == '=' || output[back - 1] == '>')) --back;
    const size_t n = sizeof kName - 1;
    if (back < n || memcmp(&output[back - n], kName, n) != 0 || output[j] != '1') return false;
    while (i < source.size() && source[i] >= '0' && source[i] <= '9') ++i;
    ++j;
  }
  return i == source.size() && j == output.size();
}

}  // namespace

std::string LostTags(const std::string& source, const std::string& output) {
  const PictureMetadata from = ReadPictureMetadataFile(source.c_str());
  const PictureMetadata to = ReadPictureMetadataFile(output.c_str());
  const ImageFormat format = DetectFileFormat(output.c_str());
  if (format == ImageFormat::Bmp) return to.Empty() ? "" : "metadata in a BMP";
  if (from.Empty()) return "the source has no metadata";
  if (!from.exif.empty()) {
    Exif a, b;
    if (!a.ParseTiff(from.exif.data(), from.exif.size())) return "the source's Exif does not read";
    if (to.exif.empty() || !b.ParseTiff(to.exif.data(), to.exif.size())) return "Exif lost";
    for (auto ifd : {std::make_pair(ExifIfd::Ifd0, "IFD0"), std::make_pair(ExifIfd::Exif, "Exif"),
                     std::make_pair(ExifIfd::Gps, "GPS")}) {
      std::string lost = SameEntries(a, b, ifd.first, ifd.second);
      if (!lost.empty()) return lost;
    }
    if (b.Orientation() > 1) return "orientation " + std::to_string(b.Orientation());
    // A TIFF's own orientation, which the Exif block made of its tags leaves out.
    if (format == ImageFormat::Tiff) {
      Exif file;
      if (!file.Load(output.c_str()) || file.Orientation() > 1) return "the TIFF is not upright";
    }
  }
  if (!from.xmp.empty() && !UprightCopy(from.xmp, to.xmp)) return "XMP lost or changed";
  std::vector<IptcDataset> a = ReadIptcDatasets(from.iptc), b = ReadIptcDatasets(to.iptc);
  if (format == ImageFormat::Png) return b.empty() ? "" : "IPTC in a PNG";
  if (a.size() != b.size()) return "IPTC lost";
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].record != b[i].record || a[i].dataset != b[i].dataset || a[i].data != b[i].data)
      return "IPTC dataset " + std::to_string(i) + " changed";
  return "";
}

}  // namespace imgtest
