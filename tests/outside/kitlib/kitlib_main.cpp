// The test program doubles as the child that a copied program folder runs.
#include <gtest/gtest.h>

#include <Kitlib2/Kitlib2.h>

#include <cstring>

namespace {

// Reports where this copy's profile lies and writes one value there.
int KitenvChild(const char* outFile) {
  CString position = CMGetKeyPosition();
  WritePrivateProfileStringA("child", "position", position, outFile);
  return CMWriteProfileInt("Child", "Written", 77) ? 0 : 1;
}

}  // namespace

int CopyDataReceiverChild(const char* title);

int main(int argc, char** argv) {
  if (argc >= 3 && strcmp(argv[1], "--kitenv-child") == 0) return KitenvChild(argv[2]);
  if (argc >= 3 && strcmp(argv[1], "--copydata-receiver") == 0) return CopyDataReceiverChild(argv[2]);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
