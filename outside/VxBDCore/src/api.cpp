// GetVxBDCoreObject: the core object over the AVCHD tree reading.
#include <VxBDCore.h>

#include <new>

namespace {

class CoreObject : public IVxBDCoreObject, public IVxBDImageList {
 public:
  IVxBDImageList* GetImageList() override { return this; }
  void Release() override { delete this; }

  long GetImageCount(LPCSTR pszBase, int nFirst, int nSecond) override {
    std::vector<VxBDScene> scenes;
    if (!VxBDListScenes(pszBase, nFirst, nSecond, &scenes)) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    return (long)scenes.size();
  }
  long GetImageInfo(LPCSTR pszBase, int nFirst, int nSecond, long nImage, VXBDIMAGEINFO* pInfo) override {
    VxBDScene s;
    long r = Scene(pszBase, nFirst, nSecond, nImage, &s);
    if (r != 0) return r;
    if (!pInfo) return E_POINTER;
    pInfo->dwSize = sizeof(*pInfo);
    pInfo->stRecorded = s.recorded;
    pInfo->ullBytes = s.bytes;
    return 0;
  }
  long GetImagePath(LPCSTR pszBase, int nFirst, int nSecond, long nImage, LPWSTR pszPath, int cch) override {
    VxBDScene s;
    long r = Scene(pszBase, nFirst, nSecond, nImage, &s);
    if (r != 0) return r;
    if (!pszPath || cch <= 0) return E_POINTER;
    int n = ::MultiByteToWideChar(CP_ACP, 0, s.path.c_str(), -1, pszPath, cch);
    return n ? 0 : HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
  }

 private:
  static long Scene(LPCSTR pszBase, int nFirst, int nSecond, long nImage, VxBDScene* pOut) {
    std::vector<VxBDScene> scenes;
    if (!VxBDListScenes(pszBase, nFirst, nSecond, &scenes)) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    if (nImage < 0 || nImage >= (long)scenes.size()) return E_INVALIDARG;
    *pOut = scenes[nImage];
    return 0;
  }
};

}  // namespace

IVxBDCoreObject* GetVxBDCoreObject() { return new (std::nothrow) CoreObject(); }
