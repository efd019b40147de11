// The floors pagebench and thumbbench measure the thumbnail roads against: what no
// thumbnail maker can do without. Each answers whether it got what it should.
#pragma once

#include <windows.h>

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace bench {

// The embedded road's floor: one 64 KB read of the file (open, read, close).
inline bool ReadHead64K(const std::string& path) {
  static thread_local std::vector<char> buffer(64 * 1024);
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD got = 0;
  BOOL ok = ReadFile(h, buffer.data(), DWORD(buffer.size()), &got, nullptr);
  CloseHandle(h);
  return ok && got > 0;
}

// The file's bytes, read whole.
inline bool ReadWhole(const std::string& path, std::vector<unsigned char>* bytes) {
  HANDLE h =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  DWORD got = 0;
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31);
  if (ok) {
    bytes->resize(size_t(size.QuadPart));
    ok = ReadFile(h, bytes->data(), DWORD(bytes->size()), &got, nullptr) && got == bytes->size();
  }
  CloseHandle(h);
  return ok;
}

// The no-thumbnail road's floor: the file read whole and decoded by libjpeg-turbo at 1/8
// scale (the fast DCT, BGR rows), nothing else: no Exif, no thumbnail, no fit.
inline bool ScaledDecode(const std::string& path, int* width = nullptr) {
  std::vector<unsigned char> bytes;
  if (!ReadWhole(path, &bytes)) return false;
  struct Err {
    jpeg_error_mgr pub;
    jmp_buf jump;
  } err;
  jpeg_decompress_struct cinfo;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = [](j_common_ptr c) { longjmp(reinterpret_cast<Err*>(c->err)->jump, 1); };
  std::vector<unsigned char> row;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), (unsigned long)bytes.size());
  jpeg_read_header(&cinfo, TRUE);
  cinfo.scale_num = 1;
  cinfo.scale_denom = 8;
  cinfo.dct_method = JDCT_IFAST;
  cinfo.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&cinfo);
  row.resize(size_t(cinfo.output_width) * cinfo.output_components);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW r = row.data();
    jpeg_read_scanlines(&cinfo, &r, 1);
  }
  if (width) *width = int(cinfo.output_width);
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace bench
