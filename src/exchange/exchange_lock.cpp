#include "exchange_lock.h"

#include <string>
#include <system_error>
#include <utility>

#include "messages.h"
#include "run_error.h"
#include "staged_table_set.h"

namespace transzendal {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProbe = ".transzendal-probe";

// Permission bits don't tell: an administrator writes anywhere, a read-only mount refuses everyone.
// So a file is really created and removed; the lock is held, so no other copy probes meanwhile.
bool CanCreateFilesIn(const fs::path& directory) {
  const fs::path probe = directory / kProbe;
  std::error_code error;
  platform::File file = platform::File::Open(probe, platform::FileAccess::kCreate,
                                             platform::FileSharing::kShared, error);
  if (error) return false;
  file.Close();
  return fs::remove(probe, error) && !error;
}

// A probe found while the lock is held is the leftover of a run killed between creating and
// removing it. Any command removes it, reading ones too, so that none of ours stays behind; where
// it can't (a read-only directory) it is harmless and a writing run stops anyway.
void RemoveLeftoverProbe(const fs::path& directory) {
  const fs::path probe = directory / kProbe;
  std::error_code ignored;
  if (fs::symlink_status(probe, ignored).type() == fs::file_type::regular) {
    fs::remove(probe, ignored);
  }
}

}  // namespace

ExchangeLock::ExchangeLock(fs::path directory, platform::DirectoryLock lock)
    : directory_(std::move(directory)), lock_(std::move(lock)) {}

ExchangeLock OpenExchangeDirectory(const fs::path& directory, ExchangeUse use) {
  const std::string shown = platform::PathToUtf8(directory);
  const ErrorContext context{shown, "", "", ""};
  std::error_code error;
  if (!fs::is_directory(directory, error)) {
    throw RunError(msg::FillMessage(msg::kExchangeDirectoryMissing, {shown}), context);
  }
  std::optional<platform::DirectoryLock> lock =
      platform::DirectoryLock::TryAcquire(directory, error);
  if (!lock) {
    const std::string_view pattern = error == platform::HeldElsewhere()
                                         ? msg::kExchangeDirectoryBusy
                                         : msg::kExchangeDirectoryUnopenable;
    throw RunError(msg::FillMessage(pattern, {shown}), context);
  }
  ExchangeLock held(directory, std::move(*lock));
  RemoveLeftoverProbe(directory);
  // Checked before any table is built, so that a run never works for nothing.
  if (use == ExchangeUse::kWrite && !CanCreateFilesIn(directory)) {
    throw RunError(msg::FillMessage(msg::kExchangeDirectoryReadOnly, {shown}), context);
  }
  FinishInterruptedReplacement(held);
  return held;
}

}  // namespace transzendal
