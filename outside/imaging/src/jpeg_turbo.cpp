// JPEG decoding with libjpeg-turbo for embedded Exif thumbnails and for whole pictures
// wanted in a box smaller than themselves: the
// DCT scales the picture down while decoding, rows go straight into the result, and a
// broken stream ends the decode with a failure code instead of ending the process.
#include <csetjmp>
#include <cstdio>

#include <algorithm>

#include "internal.h"

extern "C" {
#include <jpeglib.h>
}

namespace imaging {
namespace detail {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
};

void OnError(j_common_ptr cinfo) {
  ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  longjmp(err->jump, 1);
}

// Warnings (a damaged but readable stream) are not worth a word.
void OnMessage(j_common_ptr, int) {}

}  // namespace

// The smallest DCT scale (n/8) whose output still covers the box; 1/8 at least. With
// halvingsOnly just 1/8, 1/4, 1/2 and 1/1, the scales the decoder does without extra work.
int JpegScaleFor(int width, int height, int boxW, int boxH, bool halvingsOnly) {
  for (int n = 1; n < 8; n = halvingsOnly ? n * 2 : n + 1) {
    long long w = (long long)width * n / 8, h = (long long)height * n / 8;
    if (w >= boxW && h >= boxH) return n;
  }
  return 8;
}

HRESULT DecodeJpegScaled(const uint8_t* data, size_t size, int boxW, int boxH, Dib* out, bool halvingsOnly) {
  if (!data || size < 4 || !out || boxW <= 0 || boxH <= 0) return E_INVALIDARG;
  if (size > 0x7FFFFFFF) return E_INVALIDARG;
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  // Declared before the jump target: a failed decode returns here with it intact.
  Dib pixels;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    pixels.Clear();
    return WINCODEC_ERR_BADIMAGE;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, (unsigned long)size);
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&cinfo);
    return WINCODEC_ERR_BADIMAGE;
  }
  if (cinfo.num_components != 1 && cinfo.num_components != 3) {
    jpeg_destroy_decompress(&cinfo);
    return WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
  }
  cinfo.out_color_space = JCS_EXT_BGR;
  cinfo.scale_num = (unsigned)JpegScaleFor(int(cinfo.image_width), int(cinfo.image_height), boxW, boxH, halvingsOnly);
  cinfo.scale_denom = 8;
  // The fast DCT, as the system decoder here uses: pictures hashed from either decode agree.
  cinfo.dct_method = JDCT_IFAST;
  jpeg_calc_output_dimensions(&cinfo);
  // A header that claims far more than the box needs even at the smallest scale is not
  // decoded: the work and memory would follow the claim, not the picture.
  const long long ow = cinfo.output_width, oh = cinfo.output_height;
  if (ow <= 0 || oh <= 0 || ow > 32767 || oh > 32767 || ow * oh > std::max(16LL * boxW * boxH, 1LL << 20)) {
    jpeg_destroy_decompress(&cinfo);
    return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
  }
  if (!pixels.Create(int(ow), int(oh), 24, true)) {
    jpeg_destroy_decompress(&cinfo);
    return E_OUTOFMEMORY;
  }
  jpeg_start_decompress(&cinfo);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = pixels.Row(int(cinfo.output_scanline));
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
  }
  // A stream that ends early leaves grey rows below; the picture still shows.
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  *out = std::move(pixels);
  return S_OK;
}

}  // namespace detail
}  // namespace imaging
