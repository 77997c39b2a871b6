// The platform unit on POSIX systems (Linux, where the two programs run under Wine).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform.h"

namespace transzendal::platform {
namespace {

void WriteAll(std::FILE* stream, std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);
}

}  // namespace

std::optional<std::string> EnvironmentValue(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::filesystem::path PathFromUtf8(std::string_view utf8) { return std::filesystem::path(utf8); }

std::string PathToUtf8(const std::filesystem::path& path) { return path.string(); }

std::filesystem::path DefaultExchangeDirectory(EnvironmentLookup environment) {
  std::filesystem::path prefix;
  if (auto wine_prefix = environment("WINEPREFIX"); wine_prefix && !wine_prefix->empty()) {
    prefix = *wine_prefix;
  } else {
    prefix = std::filesystem::path(environment("HOME").value_or("")) / ".wine";
  }
  const std::filesystem::path drive_c = prefix / "drive_c";
  return FindEntryIgnoringCase(drive_c, "ZTEMP").value_or(drive_c / "ZTEMP");
}

void WriteStandardOutput(std::string_view utf8) { WriteAll(stdout, utf8); }

void WriteStandardError(std::string_view utf8) { WriteAll(stderr, utf8); }

}  // namespace transzendal::platform
