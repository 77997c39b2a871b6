// The platform unit: every call into the operating system that the converter makes, behind one small
// portable interface. This file has a POSIX implementation (platform_posix.cpp) and a Windows one.
//
// Paths are std::filesystem::path in the platform's own form; texts for the user are UTF-8.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace transzendal::platform {

// The value of an environment variable, or nothing when it is not set.
std::optional<std::string> EnvironmentValue(std::string_view name);

// A path given as UTF-8 (the command line, a test) in the platform's form, and back for display.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// True when `path` names an existing regular file (or a link to one).
bool IsExistingFile(const std::filesystem::path& path);

// The entry of `directory` whose name equals `name` ignoring the letter case of ASCII letters: the
// exact name when it exists, else the first such entry in directory order; nothing when none exists
// or the directory can't be read.
std::optional<std::filesystem::path> FindEntryIgnoringCase(const std::filesystem::path& directory,
                                                           std::string_view name);

// The platform's exchange directory when neither the command line nor TRANSZENDAL_ZTEMP names one:
// C:\ZTEMP on Windows; elsewhere the folder ZTEMP on drive C of the Wine prefix
// ($WINEPREFIX/drive_c/ZTEMP, WINEPREFIX defaulting to ~/.wine), taking an existing folder whose
// name differs only in letter case when there is one. `environment` is read instead of the
// process's environment, so that tests can set it.
using EnvironmentLookup = std::optional<std::string> (*)(std::string_view name);
std::filesystem::path DefaultExchangeDirectory(EnvironmentLookup environment);

// Writes UTF-8 text to the process's standard output or standard error, unchanged.
void WriteStandardOutput(std::string_view utf8);
void WriteStandardError(std::string_view utf8);

}  // namespace transzendal::platform
