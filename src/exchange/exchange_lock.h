// A command's hold on the exchange directory. Every command that works on the timetable program's
// tables (exportar, importar, tabla, the desktop window's runs) opens the directory through
// OpenExchangeDirectory and keeps the ExchangeLock for as long as it works there: meanwhile no
// other copy of the converter can use that directory, and the command finds either the complete old
// set of tables or the complete new one, since an interrupted replacement has been finished first.
#pragma once

#include <filesystem>

#include "platform.h"

namespace transzendal {

enum class ExchangeUse {
  kRead,   // the command only reads tables (tabla, the reverse run)
  kWrite,  // the command replaces tables (the forward run): the directory must be writable
};

class ExchangeLock {
 public:
  ExchangeLock(ExchangeLock&&) noexcept = default;
  ExchangeLock& operator=(ExchangeLock&&) noexcept = default;
  ExchangeLock(const ExchangeLock&) = delete;
  ExchangeLock& operator=(const ExchangeLock&) = delete;
  ~ExchangeLock() = default;

  // The directory held, as given to OpenExchangeDirectory.
  const std::filesystem::path& directory() const { return directory_; }

 private:
  friend ExchangeLock OpenExchangeDirectory(const std::filesystem::path& directory,
                                            ExchangeUse use);
  ExchangeLock(std::filesystem::path directory, platform::DirectoryLock lock);

  std::filesystem::path directory_;
  platform::DirectoryLock lock_;
};

// Opens `directory` for one command: it must exist; the lock is taken without waiting; with kWrite
// the directory must let a file be created and removed in it; then what a killed run left is
// cleared: its probe file, and an interrupted replacement of the tables, which is finished
// (FinishInterruptedReplacement). Throws RunError naming the directory when it does not exist,
// when another run holds it, when it can't be written for kWrite, or when the interrupted
// replacement can't be finished. The lock lasts until the ExchangeLock is destroyed.
ExchangeLock OpenExchangeDirectory(const std::filesystem::path& directory, ExchangeUse use);

}  // namespace transzendal
