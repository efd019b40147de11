// The disc-movie core: its scene reading over AVCHD trees made here (trees, days, scenes)
// and its object and integrator by position.
#include <VxBDCore.h>
#include <gtest/gtest.h>

#include "files.h"
#include "tempfolder.h"

namespace {

void Scene(const std::string& stream, const char* name, WORD day) {
  std::string path = stream + "\\" + name;
  ASSERT_TRUE(testsupport::WriteWholeFile(path, std::string(188 * 4, 'G')));
  SYSTEMTIME st = {2026, 11, 0, day, 12, 0, 0, 0};
  FILETIME local, utc;
  SystemTimeToFileTime(&st, &local);
  LocalFileTimeToFileTime(&local, &utc);
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(h, nullptr, nullptr, &utc);
  CloseHandle(h);
}

}  // namespace

TEST(BDCore, ScenesByTreeAndDay) {
  std::string card = testsupport::NewTempFolder("glimora-bdcore");
  std::string stream = card + "\\PRIVATE\\AVCHD\\BDMV\\STREAM";
  testsupport::MakeFolders(stream);
  Scene(stream, "00002.MTS", 23);
  Scene(stream, "00000.MTS", 22);
  Scene(stream, "00001.MTS", 22);
  testsupport::WriteWholeFile(stream + "\\notes.txt", "x");

  std::string base = card + "\\";
  struct {
    int tree, day;
    long count;
  } counts[] = {{0, 0, 3}, {0, 1, 2}, {0, 2, 1}, {0, 3, -1}, {1, 0, -1}, {2, 0, -1}, {0, -1, -1}};
  std::vector<VxBDScene> scenes;
  for (auto& c : counts) {
    BOOL ok = VxBDListScenes(base.c_str(), c.tree, c.day, &scenes);
    EXPECT_EQ(!!ok, c.count >= 0) << c.tree << "/" << c.day;
    if (ok) { EXPECT_EQ((long)scenes.size(), c.count) << c.tree << "/" << c.day; }
  }
  ASSERT_TRUE(VxBDListScenes(base.c_str(), 0, 1, &scenes));
  EXPECT_EQ(scenes[1].path, stream + "\\00001.MTS");
  ASSERT_TRUE(VxBDListScenes(base.c_str(), 0, 2, &scenes));
  EXPECT_EQ(scenes[0].recorded.wDay, 23);
  EXPECT_EQ(scenes[0].bytes, 188u * 4);
  EXPECT_FALSE(VxBDListScenes(nullptr, 0, 0, &scenes));
  testsupport::RemoveTree(card);
}

namespace {

// Position n of an object's table, called as the callers outside the library call it.
template <typename R, typename... A>
R At(void* pObject, int n, A... args) {
  void** table = *reinterpret_cast<void***>(pObject);
  return reinterpret_cast<R (*)(void*, A...)>(table[n])(pObject, args...);
}

}  // namespace

TEST(BDCore, CoreObjectAndIntegratorByPosition) {
  IVxBDCoreObject* pCore = GetVxBDCoreObject();
  ASSERT_NE(pCore, nullptr);
  void* pIntegrator = At<IVxBDIntegrator*>(pCore, 1);
  ASSERT_NE(pIntegrator, nullptr);
  VXBDDRIVEENTRY drives[4];
  int nDrives = -1;
  EXPECT_EQ(At<long>(pCore, 2, drives, 4, &nDrives), 0);
  // The drive list holds the optical drives of the prefix.
  int nOptical = 0;
  for (char c = 'A'; c <= 'Z'; ++c) {
    char root[] = {c, ':', '\\', 0};
    if (::GetDriveTypeA(root) == DRIVE_CDROM) ++nOptical;
  }
  EXPECT_EQ(nDrives, nOptical < 4 ? nOptical : 4);
  for (int i = 0; i < nDrives; ++i) {
    char root[] = {(char)('A' + drives[i].nDrive), ':', '\\', 0};
    EXPECT_EQ(::GetDriveTypeA(root), (UINT)DRIVE_CDROM) << root;
  }
  EXPECT_EQ(At<long>(pCore, 3), 0);
  EXPECT_EQ(At<IVxBDImageList*>(pCore, 4), pCore->GetImageList());
  EXPECT_EQ(At<long>(pCore, 5, 4), VXBD_E_NODEVICE);
  At<void>(pCore, 0);  // release

  // The integrator outlives the object it came from (the card plug-in keeps it), and every
  // core object hands the same one.
  IVxBDCoreObject* pOther = GetVxBDCoreObject();
  EXPECT_EQ(pOther->GetIntegrator(), pIntegrator);
  pOther->Release();
  int nCount = -1;
  EXPECT_EQ(At<long>(pIntegrator, 17, 7, &nCount), 0);
  EXPECT_EQ(nCount, 26);  // the drive letters
  long status = -1;
  EXPECT_EQ(At<long>(pIntegrator, 124, -1, &status), 0);
  EXPECT_EQ(status, 0);
  // A drive that is not there cannot be locked, opened or asked.
  const int kMissing = 'Y' - 'A';
  EXPECT_EQ(At<long>(pIntegrator, 18, kMissing), VXBD_E_NODEVICE);
  VXBDDEVICEINFO info = {};
  EXPECT_EQ(At<long>(pIntegrator, 26, kMissing, &info), VXBD_E_NODEVICE);
  int hSession = 5;
  EXPECT_EQ(At<long>(pIntegrator, 24, kMissing, L"Y:\\", 1, &hSession), VXBD_E_NODEVICE);
  EXPECT_EQ(hSession, -1);
  // C: is a fixed disk: a device left alone.
  ASSERT_EQ(At<long>(pIntegrator, 26, 2, &info), 0);
  EXPECT_EQ(info.nDrive, 2);
  EXPECT_EQ(info.nKind, VXBD_DEVICE_OTHER);
  // Handles nobody opened.
  EXPECT_EQ(At<long>(pIntegrator, 10, 12345), E_HANDLE);
  EXPECT_EQ(At<long>(pIntegrator, 39, 12345, &info), E_HANDLE);
  EXPECT_EQ(At<long>(pIntegrator, 19, kMissing), E_FAIL);  // never locked
}
