#include "table_files.h"

#include "messages.h"
#include "platform.h"
#include "run_error.h"

namespace transzendal {
namespace {

constexpr std::string_view kDataExtension = ".DBF";
constexpr std::string_view kIndexExtension = ".MDX";

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsUnsafe(char c) {
  return c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32;
}

}  // namespace

std::string TableName(std::string_view given) {
  std::string name;
  for (char c : given) name += Upper(c);
  if (name.size() > kDataExtension.size() && name.ends_with(kDataExtension)) {
    name.resize(name.size() - kDataExtension.size());
  }
  bool unsafe = name.empty() || name == "." || name == "..";
  for (char c : name) unsafe = unsafe || IsUnsafe(c);
  if (unsafe) throw RunError(msg::FillMessage(msg::kTableNameInvalid, {given}));
  return name;
}

std::string DataFileName(std::string_view table) {
  return std::string(table) + std::string(kDataExtension);
}

std::string IndexFileName(std::string_view table) {
  return std::string(table) + std::string(kIndexExtension);
}

std::optional<std::filesystem::path> FindTableFile(const std::filesystem::path& directory,
                                                   std::string_view file_name) {
  return platform::FindEntryIgnoringCase(directory, file_name);
}

std::error_code RemoveEverySpelling(const std::filesystem::path& directory,
                                    std::string_view file_name) {
  // Each turn removes one entry or stops, so the loop ends.
  while (const std::optional<std::filesystem::path> entry = FindTableFile(directory, file_name)) {
    std::error_code error;
    platform::RemoveFileUnlessHeld(*entry, error);
    if (error) return error;
  }
  return {};
}

}  // namespace transzendal
