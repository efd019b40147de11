// A scratch folder below the temporary folder, removed with everything in it.
#pragma once
#include <string>

class TestFolder {
 public:
  explicit TestFolder(const char* name);
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& rel) const { return path_ + "\\" + rel; }

  // Writes a file (folders on the way are made).
  void Write(const std::string& rel, const std::string& data) const;
  std::string Read(const std::string& rel) const;
  bool Exists(const std::string& rel) const;

 private:
  std::string path_;
};
