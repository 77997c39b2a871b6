// windows-holder: another Windows process that holds what the converter needs, for the Windows-only
// tests. "tabla PATH" holds a file open with no sharing, as the timetable program's table engine
// does; "directorio PATH" takes the exchange directory's lock. It prints "retenido" once it holds,
// and holds until it is killed.
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "platform.h"

namespace {

int Hold() {
  transzendal::platform::WriteStandardOutput("retenido\n");
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

}  // namespace

// wmain: the path may hold accents, which the ANSI command line would lose.
int wmain(int argc, wchar_t** argv) {
  namespace platform = transzendal::platform;
  if (argc != 3) {
    platform::WriteStandardError("uso: windows-holder tabla|directorio RUTA\n");
    return 2;
  }
  const std::string what = platform::PathToUtf8(argv[1]);
  const std::filesystem::path path(argv[2]);
  std::error_code error;
  if (what == "tabla") {
    platform::File file = platform::File::Open(path, platform::FileAccess::kRead,
                                               platform::FileSharing::kExclusive, error);
    if (!error) return Hold();
  } else if (what == "directorio") {
    auto lock = platform::DirectoryLock::TryAcquire(path, error);
    if (lock) return Hold();
  } else {
    platform::WriteStandardError("uso: windows-holder tabla|directorio RUTA\n");
    return 2;
  }
  platform::WriteStandardError("no se puede retener " + platform::PathToUtf8(path) + ": " +
                               error.message() + "\n");
  return 1;
}
