// The parts of the platform unit that the standard library serves the same on every platform.
#include <system_error>

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

}  // namespace

bool IsExistingFile(const std::filesystem::path& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

std::optional<std::filesystem::path> FindEntryIgnoringCase(const std::filesystem::path& directory,
                                                           std::string_view name) {
  std::error_code error;
  const std::filesystem::path exact = directory / PathFromUtf8(name);
  if (std::filesystem::exists(exact, error)) return exact;
  std::filesystem::directory_iterator it(directory, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (EqualAsciiIgnoringCase(PathToUtf8(it->path().filename()), name)) return it->path();
  }
  return std::nullopt;
}

}  // namespace transzendal::platform
