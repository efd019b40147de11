// The metadata a picture carries besides its pixels, as the picture tools carry it from a
// source into what they write: the Exif block (the GPS position within it), the XMP packet
// and the IPTC records. Read from JPEG, TIFF and PNG files. Written into JPEG (APP1 Exif,
// APP1 XMP, APP13 IPTC) and TIFF (its own directories, tags 700 and 33723) whole; into PNG
// as its Exif chunk and XMP text (PNG has no place for IPTC); into BMP not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace imaging {

struct PictureMetadata {
  std::vector<uint8_t> exif;  // a TIFF block, as in a JPEG's APP1 "Exif\0\0"
  std::vector<uint8_t> xmp;   // the XMP packet (UTF-8 XML)
  std::vector<uint8_t> iptc;  // IPTC-IIM datasets: 0x1C, record, dataset, length, data ...
  bool Empty() const { return exif.empty() && xmp.empty() && iptc.empty(); }
};

// The metadata of a JPEG, TIFF or PNG file; a block that is missing or does not read stays
// empty. A TIFF's Exif comes as a block of its descriptive tags (not those of its layout)
// and its Exif, GPS and interoperability directories.
PictureMetadata ReadPictureMetadata(const void* data, size_t size);
PictureMetadata ReadPictureMetadataFile(const char* path);

// One IPTC dataset.
struct IptcDataset {
  uint8_t record = 0, dataset = 0;
  std::vector<uint8_t> data;
};
// The datasets of an IPTC block in order, up to the first that does not read.
std::vector<IptcDataset> ReadIptcDatasets(const std::vector<uint8_t>& iptc);

// The XMP packet with tiff:Orientation made 1: the pixels it goes with are upright.
std::vector<uint8_t> UprightXmp(const std::vector<uint8_t>& xmp);

// Puts the metadata into an encoded JPEG (after SOI and JFIF, replacing the Exif, XMP and
// Photoshop segments it has) or PNG (eXIf and the XMP's iTXt after IHDR, replacing those it
// has). A block too big for its place is left out (JPEG: an Exif block over 64 KB, an XMP
// packet over 65502 bytes; IPTC takes as many APP13 segments as it needs). False when the
// file does not read as one of its kind.
bool PutJpegMetadata(std::vector<uint8_t>* jpeg, const PictureMetadata& m);
bool PutPngMetadata(std::vector<uint8_t>* png, const PictureMetadata& m);

}  // namespace imaging
