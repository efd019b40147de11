// Lossless turns of JPEG pictures with jpegtran's transforms: the DCT blocks move, the
// pixels are never decoded, so nothing is lost however often a picture is turned.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include "imaging/encode.h"
#include "imaging/exif.h"
#include "internal.h"

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
#include <transupp.h>
}

namespace imaging {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  bool damaged;  // a warning: data missing or corrupt, which a turn would make permanent
};

void OnError(j_common_ptr cinfo) { longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1); }
void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL: reinterpret_cast<ErrorManager*>(cinfo->err)->damaged = true; break;
    default: break;  // harmless: extra bytes between markers and the like
  }
}

// The transform that shows a picture stored with this orientation upright.
JXFORM_CODE UprightTransform(int orientation) {
  switch (orientation) {
    case 2: return JXFORM_FLIP_H;
    case 3: return JXFORM_ROT_180;
    case 4: return JXFORM_FLIP_V;
    case 5: return JXFORM_TRANSPOSE;
    case 6: return JXFORM_ROT_90;
    case 7: return JXFORM_TRANSVERSE;
    case 8: return JXFORM_ROT_270;
    default: return JXFORM_NONE;
  }
}

// Both codec objects and the output buffer, released on every way out (a longjmp
// from the library lands in the function that owns this).
struct Codecs {
  jpeg_decompress_struct src = {};
  jpeg_compress_struct dst = {};
  ErrorManager err = {};
  unsigned char* buffer = nullptr;
  unsigned long bufferSize = 0;
  ~Codecs() {
    jpeg_destroy_compress(&dst);
    jpeg_destroy_decompress(&src);
    free(buffer);
  }
};

}  // namespace

HRESULT TurnJpegLossless(const std::vector<uint8_t>& jpeg, int orientation, std::vector<uint8_t>* out) {
  if (!out || jpeg.empty()) return E_INVALIDARG;
  if (orientation < 1 || orientation > 8) return E_INVALIDARG;
  Codecs c;
  c.src.err = c.dst.err = jpeg_std_error(&c.err.pub);
  c.err.pub.error_exit = OnError;
  c.err.pub.emit_message = OnMessage;
  jpeg_create_decompress(&c.src);
  jpeg_create_compress(&c.dst);
  if (setjmp(c.err.jump)) return E_FAIL;  // a broken stream

  jpeg_mem_src(&c.src, jpeg.data(), (unsigned long)jpeg.size());
  jcopy_markers_setup(&c.src, JCOPYOPT_ALL);
  jpeg_read_header(&c.src, TRUE);
  jpeg_transform_info info = {};
  info.transform = UprightTransform(orientation);
  info.perfect = TRUE;  // never drop edge blocks: then the picture is re-encoded instead
  if (!jtransform_request_workspace(&c.src, &info)) return HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);
  jvirt_barray_ptr* srcCoefs = jpeg_read_coefficients(&c.src);
  jpeg_copy_critical_parameters(&c.src, &c.dst);
  jvirt_barray_ptr* dstCoefs = jtransform_adjust_parameters(&c.src, &c.dst, srcCoefs, &info);
  jpeg_mem_dest(&c.dst, &c.buffer, &c.bufferSize);
  jpeg_write_coefficients(&c.dst, dstCoefs);
  jcopy_markers_execute(&c.src, &c.dst, JCOPYOPT_ALL);
  jtransform_execute_transform(&c.src, &c.dst, srcCoefs, &info);
  jpeg_finish_compress(&c.dst);
  jpeg_finish_decompress(&c.src);
  if (c.err.damaged) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  const int width = int(c.dst.image_width), height = int(c.dst.image_height);
  std::vector<uint8_t> turned(c.buffer, c.buffer + c.bufferSize);

  // The Exif now says "upright" and gives the new size; its thumbnail turns along.
  Exif exif;
  if (exif.LoadMemory(jpeg.data(), jpeg.size()) && !exif.Block().empty()) {
    std::vector<uint8_t> block = MakeUprightExif(exif.Block(), orientation, width, height);
    MemorySource bytes(turned.data(), turned.size());
    detail::JpegLayout layout;
    std::vector<uint8_t> withExif;
    if (!block.empty() && detail::ScanJpeg(bytes, &layout) &&
        detail::ReplaceJpegExif(bytes, layout, block, &withExif)) {
      turned.swap(withExif);
    } else if (!SetJpegOrientation(&turned, 1)) {
      return E_FAIL;
    }
  }
  out->swap(turned);
  return S_OK;
}

}  // namespace imaging
