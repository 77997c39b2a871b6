// The files of one table in a directory: NAME.DBF and its production index NAME.MDX. The converter
// writes them with upper-case names and finds them whatever the letter case of their names, so that
// one table never exists under two spellings.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace transzendal {

// The table's name as the converter writes it: `given` without a final ".DBF" (in any letter case),
// its ASCII letters upper-cased. Throws RunError when the name is empty or could reach outside the
// directory (a folder separator, a drive colon, ".", "..", a control character).
std::string TableName(std::string_view given);

// "ASIGNOMT.DBF" and "ASIGNOMT.MDX" for the table name "ASIGNOMT".
std::string DataFileName(std::string_view table);
std::string IndexFileName(std::string_view table);

// The entry of `directory` named `file_name` in any letter case (the exact spelling first);
// nothing when there is none.
std::optional<std::filesystem::path> FindTableFile(const std::filesystem::path& directory,
                                                   std::string_view file_name);

// Removes every entry of `directory` named `file_name` in any letter case. Stops at the first one
// that can't be removed and returns its error (platform::HeldElsewhere() when another process holds
// it); an empty error when none is left.
std::error_code RemoveEverySpelling(const std::filesystem::path& directory,
                                    std::string_view file_name);

}  // namespace transzendal
