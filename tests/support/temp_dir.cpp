#include "temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace transzendal::testing {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device seed;
  const auto name = "transzendal-test-" + std::to_string(seed()) + "-" + std::to_string(counter++);
  path_ = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::Write(std::string_view name, std::string_view bytes) const {
  const std::filesystem::path file = path_ / std::filesystem::path(name);
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(out.good()) << "could not write " << file;
  return file;
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in.good()) << "could not read " << file;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::filesystem::path TestData(std::string_view name) {
  const char* root = std::getenv("TRANSZENDAL_TEST_DATA");
  return std::filesystem::path(root != nullptr ? root : "data") / std::filesystem::path(name);
}

}  // namespace transzendal::testing
