// What the fuzz targets of the runs share: a scripted user interface that keeps a run going
// whatever the input, a private temporary folder per fuzzing process, and small file helpers.
// Header-only and free of GoogleTest, so that each target links the run it fuzzes and nothing else.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "run_report.h"
#include "user_interface.h"

namespace transzendal::fuzz {

// Answers the file dialog with one file and the time-frame choice with the first frame, or the
// first two when there are several and `two_frames` is set: valid answers, so a run never asks
// again.
class ScriptedUi : public UserInterface {
 public:
  explicit ScriptedUi(std::filesystem::path file, bool two_frames = true)
      : file_(std::move(file)), two_frames_(two_frames) {}

  std::optional<std::filesystem::path> ChooseSourceFile(const OpenFileDialog&) override {
    return file_;
  }
  void ShowMessage(std::string_view) override {}
  void SetBusy(bool) noexcept override {}
  std::optional<std::vector<std::size_t>> ChooseTimeFrames(
      std::span<const TimeFrameOption> options) override {
    if (two_frames_ && options.size() > 1) return std::vector<std::size_t>{0, 1};
    return std::vector<std::size_t>{0};
  }
  // The summary is made as the front ends make it: it quotes the input's texts.
  void FinishRun(const RunReport& report) override {
    finished_ = true;
    summary_ = report.Summary();
  }
  void MissingFileEnd(std::string_view) override {}

  bool finished() const { return finished_; }
  const std::string& summary() const { return summary_; }

 private:
  std::filesystem::path file_;
  bool two_frames_;
  bool finished_ = false;
  std::string summary_;
};

// A folder of its own for this fuzzing process (several may run at once). libFuzzer ends without
// running exit handlers, so scripts/fuzz gives each run a TMPDIR of its own and removes it.
inline const std::filesystem::path& WorkFolder() {
  static const std::filesystem::path folder = [] {
    std::random_device seed;
    const auto path = std::filesystem::temp_directory_path() /
                      ("transzendal-fuzz-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

inline void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names in `folder`, sorted.
inline std::vector<std::string> Listing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// True when `text` is well-formed UTF-8 (no stray, missing or overlong continuation bytes, no
// surrogates, nothing above U+10FFFF): what every text for the user must be.
inline bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;  // stays 0 for a byte that can't start a character
    if (lead < 0x80) {
      length = 1;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      length = 2;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      length = 3;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      length = 4;
    }
    if (length == 0 || i + length > text.size()) return false;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

// A broken promise of the run that no sanitizer sees: reported as a crash, so libFuzzer keeps the
// input.
[[noreturn]] inline void Broken(std::string_view what) {
  std::fprintf(stderr, "fuzz: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

}  // namespace transzendal::fuzz
