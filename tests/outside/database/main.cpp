// The test program doubles as the child processes of the cross-process tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

int DbChildWriter(const char* dir, const char* eventName);
int DbChildConcurrent(const char* dir, const char* prefix, int n);
int DbChildMarks(const char* dir);
int DbChildHolder(const char* dir, const char* eventName);

int main(int argc, char** argv) {
  if (argc >= 4 && strcmp(argv[1], "--db-writer") == 0) return DbChildWriter(argv[2], argv[3]);
  if (argc >= 5 && strcmp(argv[1], "--db-concurrent") == 0) return DbChildConcurrent(argv[2], argv[3], atoi(argv[4]));
  if (argc >= 3 && strcmp(argv[1], "--db-marks") == 0) return DbChildMarks(argv[2]);
  if (argc >= 4 && strcmp(argv[1], "--db-holder") == 0) return DbChildHolder(argv[2], argv[3]);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
