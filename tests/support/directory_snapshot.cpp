#include "directory_snapshot.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace transzendal::testing {

DirectorySnapshot SnapshotDirectory(const std::filesystem::path& folder) {
  DirectorySnapshot snapshot;
  std::error_code error;
  for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = std::filesystem::relative(it->path(), folder).generic_string();
#ifdef _WIN32
    // The directory lock's own file, there only while a lock is held (see platform.h).
    if (name == ".transzendal-lock") continue;
#endif
    const auto status = it->symlink_status();
    if (std::filesystem::is_directory(status)) {
      snapshot[name] = "<carpeta>";
    } else if (std::filesystem::is_regular_file(status)) {
      snapshot[name] = ReadBytes(it->path());
    } else {
      snapshot[name] = "<otro>";
    }
  }
  EXPECT_FALSE(error) << "could not list " << folder << ": " << error.message();
  return snapshot;
}

}  // namespace transzendal::testing
