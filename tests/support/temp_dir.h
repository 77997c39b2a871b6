// A fresh temporary folder for one test, removed with everything in it at the end of the test.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace transzendal::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes `bytes` to the file `name` inside the folder and returns its path.
  std::filesystem::path Write(std::string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

// The bytes of a file; fails the test when it can't be read.
std::string ReadBytes(const std::filesystem::path& file);

// The path of a file in tests/data.
std::filesystem::path TestData(std::string_view name);

}  // namespace transzendal::testing
