// CThumbnail::Rotation: turning a picture on disk by quarter turns.
#include "internal.h"

using namespace vxg;

namespace {
DWORD ReadTurnSetting(LPCSTR name) {
  CRegManager reg(HKEY_CURRENT_USER, "Tool1\\TurnPicture", KEY_READ);
  DWORD v = 0;
  return reg.Read(name, v) ? v : 0;
}

// Turns the pixels and writes the picture back in its own format.
HRESULT TurnPixels(const std::string& path, UINT kind, int degrees) {
  imaging::ImageFormat fmt = imaging::FormatFromExtension(path.c_str());
  if (KindHas(kind, VXTYPE_JPEG)) {
    // Compose the turn with the orientation first (lossless), then turn the pixels upright
    // and carry the Exif block over.
    HRESULT hr = imaging::RotateByOrientation(path.c_str(), degrees);
    if (FAILED(hr)) return hr;
    return imaging::ReencodeUpright(path.c_str(), path.c_str(), 95);
  }
  if (fmt != imaging::ImageFormat::Png && fmt != imaging::ImageFormat::Bmp) return HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);
  // Through the picture tools' output: what the file says of the picture stays with it.
  imaging::Dib dib, turned;
  imaging::OutputPicture how;
  HRESULT hr = imaging::LoadForOutput(path.c_str(), &dib, &how);
  if (FAILED(hr)) return hr;
  if (how.format != fmt) return HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);
  if (!imaging::Rotate(dib, degrees, &turned)) return E_OUTOFMEMORY;
  turned.SetHasAlpha(dib.HasAlpha());
  std::vector<uint8_t> bytes;
  hr = imaging::EncodeOutputPicture(turned, how, &bytes);
  return SUCCEEDED(hr) ? imaging::WriteFileReplacing(path.c_str(), bytes.data(), bytes.size()) : hr;
}
}  // namespace

int CThumbnail::Rotation(int nAngle, LPSTR pszNewPath, UINT nNewPathSize) {
  return Rotation(nAngle, ReadTurnSetting("SaveMode"), ReadTurnSetting("Exif"), pszNewPath, nNewPathSize);
}

int CThumbnail::Rotation(int nAngle, DWORD dwSaveMode, DWORD dwExif, LPSTR pszNewPath, UINT nNewPathSize) {
  if (pszNewPath && nNewPathSize) pszNewPath[0] = '\0';
  int degrees = QuarterTurnDegrees(nAngle);
  if (degrees < 0) return ERROR_INVALID_PARAMETER;
  UINT kind = m_p->kind;
  if (!(kind & VXKIND_STILL) || (kind & (VXKIND_RAW | VXKIND_SHORTCUT)) || m_p->path.empty())
    return ERROR_NOT_SUPPORTED;
  if (!IsValidPath()) return ERROR_WRITE_FAULT;
  if (degrees == 0) return 0;

  bool pixels = dwExif != 0;
  bool newFile = dwSaveMode != 0;
  bool exifKind = KindHas(kind, VXTYPE_JPEG) || KindHas(kind, VXTYPE_TIFF);
  if (!pixels && !exifKind) pixels = true;  // other formats have no orientation to write
  if (pixels && KindHas(kind, VXTYPE_TIFF)) return ERROR_NOT_SUPPORTED;

  imaging::ComScope com;
  std::string target = m_p->path;
  if (newFile) {
    target = RotatedCopyName(m_p->path, PathExists);
    if (target.empty() || target.size() + 1 > nNewPathSize) return ERROR_WRITE_FAULT;
    if (!CopyFileA(m_p->path.c_str(), target.c_str(), TRUE)) return WriteFailureCode(HRESULT_FROM_WIN32(GetLastError()));
  }
  HRESULT hr = pixels ? TurnPixels(target, kind, degrees) : imaging::RotateByOrientation(target.c_str(), degrees);
  if (FAILED(hr)) {
    if (newFile) DeleteFileA(target.c_str());
    if (hr == HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED)) return ERROR_NOT_SUPPORTED;
    return WriteFailureCode(hr);
  }
  if (newFile) {
    CopyOut(target, pszNewPath, nNewPathSize);
  } else {
    // The file changed under the item: new size and time, picture and facts read again.
    m_p->RefreshFileFacts();
    ClearImage(TRUE);
  }
  return 0;
}
