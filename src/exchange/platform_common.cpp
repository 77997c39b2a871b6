// The parts of the platform unit that the standard library serves the same on every platform.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "platform.h"

namespace transzendal::platform {
namespace {

bool EqualAsciiIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The temporary names of `target` are "." + its name + "." + 16 lower-case hexadecimal digits +
// ".tmp"; TemporaryNameFor makes them and IsTemporaryNameOf recognises them.
constexpr std::size_t kTemporaryDigits = 16;
constexpr std::string_view kTemporaryEnd = ".tmp";

bool IsTemporaryNameOf(std::string_view name, std::string_view target_name) {
  if (name.size() != 1 + target_name.size() + 1 + kTemporaryDigits + kTemporaryEnd.size() ||
      name[0] != '.' || name.substr(1, target_name.size()) != target_name ||
      name[1 + target_name.size()] != '.' || !name.ends_with(kTemporaryEnd)) {
    return false;
  }
  for (const char c : name.substr(2 + target_name.size(), kTemporaryDigits)) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

// A hidden name beside `target` that no other writer picks: 64 random bits (the clock mixed in, in
// case the random device is weak), and creation refuses a file that happens to exist.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target) {
  std::random_device device;
  const auto ticks =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  const std::uint64_t bits = ((std::uint64_t{device()} << 32) | device()) ^ ticks;
  char hex[kTemporaryDigits + 1];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(bits));
  std::filesystem::path name = PathFromUtf8(".");
  name += target.filename();
  std::string suffix = ".";  // appended piece by piece: GCC 12 warns falsely on "." + std::string
  suffix += hex;
  suffix += kTemporaryEnd;
  name += PathFromUtf8(suffix);
  return target.parent_path() / name;
}

// Removes the temporary files of `target` that saves killed before their end left beside it: only
// files under the exact temporary names of `target`, and none that another save still holds open.
// Best effort: what can't be listed or removed stays, as it would without this sweep.
void RemoveStaleTemporaryFiles(const std::filesystem::path& target) {
  const std::filesystem::path folder =
      target.parent_path().empty() ? PathFromUtf8(".") : target.parent_path();
  const std::string target_name = PathToUtf8(target.filename());
  std::vector<std::filesystem::path> stale;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code ignored;
    if (IsTemporaryNameOf(PathToUtf8(it->path().filename()), target_name) &&
        it->symlink_status(ignored).type() == std::filesystem::file_type::regular) {
      stale.push_back(it->path());
    }
  }
  for (const std::filesystem::path& file : stale) {
    std::error_code ignored;
    RemoveFileUnlessHeld(file, ignored);
  }
}

}  // namespace

std::error_code HeldElsewhere() { return std::make_error_code(std::errc::device_or_resource_busy); }

File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = -1; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = -1;
  }
  return *this;
}

File::~File() { Close(); }

bool IsExistingFile(const std::filesystem::path& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

std::optional<std::filesystem::path> FindEntryIgnoringCase(const std::filesystem::path& directory,
                                                           std::string_view name) {
  std::error_code error;
  const std::filesystem::path exact = directory / PathFromUtf8(name);
  // The listing gives the entry's own spelling, which a file system that ignores letter case
  // (Windows) would not: there `exact` exists in any spelling.
  std::optional<std::filesystem::path> found;
  std::filesystem::directory_iterator it(directory, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::string entry = PathToUtf8(it->path().filename());
    if (entry == name) return it->path();
    if (!found && EqualAsciiIgnoringCase(entry, name)) found = it->path();
  }
  if (found) return found;
  // A folder that can be searched but not listed still finds the exact name.
  if (std::filesystem::exists(exact, error)) return exact;
  return std::nullopt;
}

ReplacingFile::ReplacingFile(File file, std::filesystem::path temporary,
                             std::filesystem::path target)
    : file_(std::move(file)), temporary_(std::move(temporary)), target_(std::move(target)) {}

ReplacingFile::ReplacingFile(ReplacingFile&& other) noexcept
    : file_(std::move(other.file_)),
      temporary_(std::move(other.temporary_)),
      target_(std::move(other.target_)),
      size_(other.size_) {
  other.temporary_.clear();
}

ReplacingFile& ReplacingFile::operator=(ReplacingFile&& other) noexcept {
  if (this != &other) {
    Discard();
    file_ = std::move(other.file_);
    temporary_ = std::move(other.temporary_);
    target_ = std::move(other.target_);
    size_ = other.size_;
    other.temporary_.clear();
  }
  return *this;
}

ReplacingFile::~ReplacingFile() { Discard(); }

std::optional<ReplacingFile> ReplacingFile::Create(const std::filesystem::path& target,
                                                   std::error_code& error) {
  RemoveStaleTemporaryFiles(target);
  // A clash of 64 random bits is all but impossible; the few retries cover a weak random device.
  for (int attempt = 0; attempt < 8; ++attempt) {
    std::filesystem::path temporary = TemporaryNameFor(target);
    File file = File::Open(temporary, FileAccess::kCreateNew, FileSharing::kShared, error);
    if (!error) return ReplacingFile(std::move(file), std::move(temporary), target);
    if (error != std::errc::file_exists) return std::nullopt;
  }
  return std::nullopt;
}

void ReplacingFile::Write(std::span<const char> data, std::error_code& error) {
  file_.WriteAt(size_, data, error);
  if (!error) size_ += data.size();
}

void ReplacingFile::Commit(std::error_code& error) {
  file_.Flush(error);
  // Closed before the rename: Windows renames no file that is still open.
  if (!error) {
    file_.Close();
    MoveReplacing(temporary_, target_, error);
  }
  if (error) {
    Discard();
    return;
  }
  temporary_.clear();  // it is the target now
  const std::filesystem::path folder = target_.parent_path();
  SyncDirectory(folder.empty() ? PathFromUtf8(".") : folder, error);
}

void ReplacingFile::Discard() noexcept {
  file_.Close();
  if (temporary_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(temporary_, ignored);
  temporary_.clear();
}

}  // namespace transzendal::platform
