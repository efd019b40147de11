// The test program doubles as the child process of the kill-during-write test.
#include <gtest/gtest.h>

#include <cstring>

int SqliteChildWriter(const char* path);

int main(int argc, char** argv) {
  if (argc >= 3 && strcmp(argv[1], "--sqlite-child") == 0) return SqliteChildWriter(argv[2]);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
