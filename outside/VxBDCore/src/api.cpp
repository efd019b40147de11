// GetVxBDCoreObject: the core object over the AVCHD tree reading.
#include <VxBDCore.h>

#include <new>

namespace {

// No drives are served yet: nothing to count, nothing pending, no device for the rest.
class NoDeviceIntegrator : public IVxBDIntegrator {
 public:
  long ValidateSession(int) override { return VXBD_E_NODEVICE; }
  long TestSessionAgain(int) override { return VXBD_E_NODEVICE; }
  long GetDeviceCount(int, int* pnCount) override {
    if (!pnCount) return E_POINTER;
    *pnCount = 0;
    return 0;
  }
  long LockDevice(int) override { return VXBD_E_NODEVICE; }
  long ReleaseDevice(int) override { return VXBD_E_NODEVICE; }
  long OpenDisc(int, LPCWSTR, int, int* phSession) override {
    if (phSession) *phSession = -1;
    return VXBD_E_NODEVICE;
  }
  long CloseSession(int) override { return VXBD_E_NODEVICE; }
  long GetDeviceInfo(int, void*) override { return VXBD_E_NODEVICE; }
  long GetMediumType(int, void*) override { return VXBD_E_NODEVICE; }
  long IsDeviceBusy(int) override { return VXBD_E_NODEVICE; }
  long GetMediumFlags(int, void*) override { return VXBD_E_NODEVICE; }
  long GetSessionDescriptor(int, void*) override { return VXBD_E_NODEVICE; }
  long OpenTitleList(int, DWORD, int* phList) override {
    if (phList) *phList = -1;
    return VXBD_E_NODEVICE;
  }
  long CloseTitleList(int) override { return VXBD_E_NODEVICE; }
  long GetTitleListInfo(int, void*) override { return VXBD_E_NODEVICE; }
  long CreateImportJob(void** ppJob) override {
    if (ppJob) *ppJob = NULL;
    return VXBD_E_NODEVICE;
  }
  long GetTitleInfo(int, int, void*) override { return VXBD_E_NODEVICE; }
  long DeleteTitle(int, int) override { return VXBD_E_NODEVICE; }
  long GetPartRecord(int, int, int, void*) override { return VXBD_E_NODEVICE; }
  long GetPartThumbnail(int, int, int, void*) override { return VXBD_E_NODEVICE; }
  long RefreshDevices() override { return VXBD_E_NODEVICE; }
  long BeginRefresh(int*) override { return VXBD_E_NODEVICE; }
  long EndRefresh() override { return VXBD_E_NODEVICE; }
  long Wait(int, long* pnStatus) override {
    if (pnStatus) *pnStatus = 0;
    return 0;
  }
  long GetPartName(int, int, int, int, LPWSTR pszName, int* pnLength) override {
    if (pszName) *pszName = 0;
    if (pnLength) *pnLength = 0;
    return VXBD_E_NODEVICE;
  }
  long GetPartInfo(int, int, int, void*) override { return VXBD_E_NODEVICE; }
};

// One for the process: callers keep the integrator after releasing the object they got it from.
NoDeviceIntegrator g_integrator;

class CoreObject : public IVxBDCoreObject, public IVxBDImageList {
 public:
  void Release() override { delete this; }
  IVxBDIntegrator* GetIntegrator() override { return &g_integrator; }
  long GetDriveList(VXBDDRIVEENTRY* pEntries, int cMax, int* pnCount) override {
    if (!pnCount || (cMax > 0 && !pEntries)) return E_POINTER;
    *pnCount = 0;
    return 0;
  }
  long ClearDriveSelection() override { return 0; }
  IVxBDImageList* GetImageList() override { return this; }
  long SelectDrive(int nDrive) override { return nDrive < 0 || nDrive > 25 ? E_INVALIDARG : VXBD_E_NODEVICE; }

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
