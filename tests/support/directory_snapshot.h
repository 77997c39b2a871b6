// Everything a folder holds, for tests that must show that a failure left a directory byte for byte
// as it was: every entry below it, by its path relative to the folder, with the bytes of each file.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace transzendal::testing {

// Relative path (with "/") -> the file's bytes, or "<carpeta>" for a folder, "<otro>" for anything
// else. Fails the test when the folder can't be listed.
using DirectorySnapshot = std::map<std::string, std::string>;
DirectorySnapshot SnapshotDirectory(const std::filesystem::path& folder);

}  // namespace transzendal::testing
