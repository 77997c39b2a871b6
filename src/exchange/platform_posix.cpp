// The platform unit on POSIX systems (Linux, where the two programs run under Wine).
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <malloc.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform.h"

namespace transzendal::platform {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

// Opens with O_CLOEXEC, retrying when a signal interrupts the call.
int OpenDescriptor(const std::filesystem::path& path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// flock without waiting; EWOULDBLOCK means another process holds the lock.
bool TryLock(int fd, int operation, std::error_code& error) {
  int status;
  do {
    status = ::flock(fd, operation | LOCK_NB);
  } while (status != 0 && errno == EINTR);
  if (status == 0) return true;
  error = errno == EWOULDBLOCK ? HeldElsewhere() : LastError();
  return false;
}

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

std::size_t AllocatedSize(void* block) { return ::malloc_usable_size(block); }

bool IsFolderSeparator(std::filesystem::path::value_type c) { return c == '/'; }

std::filesystem::path ProgramFile() {
  // Linux names the running program's file here, even when it was started through a link.
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return program;
}

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

std::chrono::year_month_day LocalDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                     std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                     std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}

char DecimalSeparator() {
  const locale_t user = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (user == static_cast<locale_t>(nullptr)) return '.';
  const char* radix = ::nl_langinfo_l(RADIXCHAR, user);
  const char separator = (radix != nullptr && radix[0] == ',') ? ',' : '.';
  ::freelocale(user);
  return separator;
}

File File::Open(const std::filesystem::path& path, FileAccess access, FileSharing sharing,
                std::error_code& error) {
  error.clear();
  int flags = O_RDONLY;
  if (access == FileAccess::kReadWrite) flags = O_RDWR;
  if (access == FileAccess::kCreate) flags = O_RDWR | O_CREAT;
  if (access == FileAccess::kCreateNew) flags = O_RDWR | O_CREAT | O_EXCL;
  const int fd = OpenDescriptor(path, flags, 0666);
  if (fd < 0) {
    error = LastError();
    return File();
  }
  File file(fd);
  const int lock = sharing == FileSharing::kExclusive ? LOCK_EX : LOCK_SH;
  if (!TryLock(fd, lock, error)) return File();
  // Emptied only once the lock is held, so a file another process holds is never cut.
  if (access == FileAccess::kCreate && ::ftruncate(fd, 0) != 0) {
    error = LastError();
    return File();
  }
  return file;
}

std::size_t File::ReadAt(std::uint64_t offset, std::span<char> buffer,
                         std::error_code& error) const {
  error.clear();
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t got = ::pread(Descriptor(handle_), buffer.data() + done, buffer.size() - done,
                                static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = LastError();
      break;
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

void File::WriteAt(std::uint64_t offset, std::span<const char> data, std::error_code& error) {
  error.clear();
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t put = ::pwrite(Descriptor(handle_), data.data() + done, data.size() - done,
                                 static_cast<off_t>(offset + done));
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) {
      error = LastError();
      return;
    }
    done += static_cast<std::size_t>(put);
  }
}

std::uint64_t File::Size(std::error_code& error) const {
  error.clear();
  struct stat status {};
  if (::fstat(Descriptor(handle_), &status) != 0) {
    error = LastError();
    return 0;
  }
  return static_cast<std::uint64_t>(status.st_size);
}

void File::Resize(std::uint64_t size, std::error_code& error) {
  error.clear();
  int status;
  do {
    status = ::ftruncate(Descriptor(handle_), static_cast<off_t>(size));
  } while (status != 0 && errno == EINTR);
  if (status != 0) error = LastError();
}

void File::Flush(std::error_code& error) {
  error.clear();
  if (::fsync(Descriptor(handle_)) != 0) error = LastError();
}

void File::Close() noexcept {
  if (handle_ >= 0) ::close(Descriptor(handle_));  // closing drops the flock too
  handle_ = -1;
}

DirectoryLock::DirectoryLock(DirectoryLock&& other) noexcept : handle_(other.handle_) {
  other.handle_ = -1;
}

DirectoryLock& DirectoryLock::operator=(DirectoryLock&& other) noexcept {
  if (this != &other) {
    if (handle_ >= 0) ::close(Descriptor(handle_));
    handle_ = other.handle_;
    other.handle_ = -1;
  }
  return *this;
}

DirectoryLock::~DirectoryLock() {
  if (handle_ >= 0) ::close(Descriptor(handle_));
}

std::optional<DirectoryLock> DirectoryLock::TryAcquire(const std::filesystem::path& directory,
                                                       std::error_code& error) {
  error.clear();
  const int fd = OpenDescriptor(directory, O_RDONLY | O_DIRECTORY);
  if (fd < 0) {
    error = LastError();
    return std::nullopt;
  }
  DirectoryLock lock(fd);
  if (!TryLock(fd, LOCK_EX, error)) return std::nullopt;
  return lock;
}

void MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error) {
  error.clear();
  if (::rename(from.c_str(), to.c_str()) != 0) error = LastError();
}

void SyncDirectory(const std::filesystem::path& directory, std::error_code& error) {
  error.clear();
  const int fd = OpenDescriptor(directory, O_RDONLY | O_DIRECTORY);
  if (fd < 0) {
    error = LastError();
    return;
  }
  if (::fsync(fd) != 0) error = LastError();
  ::close(fd);
}

void RemoveFileUnlessHeld(const std::filesystem::path& path, std::error_code& error) {
  error.clear();
  const int fd = OpenDescriptor(path, O_RDONLY);
  if (fd < 0) {
    error = LastError();
    return;
  }
  // Unlinked while our exclusive lock is held, so no copy of this program can open it in between.
  if (TryLock(fd, LOCK_EX, error) && ::unlink(path.c_str()) != 0) error = LastError();
  ::close(fd);
}

void WriteStandardOutput(std::string_view utf8) { WriteAll(stdout, utf8); }

void WriteStandardError(std::string_view utf8) { WriteAll(stderr, utf8); }

bool IsInteractive() { return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1; }

std::optional<std::string> ReadStandardInputLine() {
  std::string line;
  int c;
  while ((c = std::fgetc(stdin)) != EOF && c != '\n') line += static_cast<char>(c);
  if (c == EOF && line.empty()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace transzendal::platform
