// The platform unit: every call into the operating system that the converter makes, behind one
// small portable interface, implemented for POSIX systems (platform_posix.cpp) and for Windows.
//
// Paths are std::filesystem::path in the platform's own form; texts for the user are UTF-8.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace transzendal::platform {

// The value of an environment variable, or nothing when it is not set.
std::optional<std::string> EnvironmentValue(std::string_view name);

// A path given as UTF-8 (the command line, a test) in the platform's form, and back for display.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// The size of a block that std::malloc or std::realloc returned, as the C library reserved it (at
// least what was asked for); for counting what a library holds without a header of our own.
std::size_t AllocatedSize(void* block);

// True when `c` ends the folder part of a path on this platform: "/" on POSIX systems; "\", "/"
// and ":" (after a drive letter) on Windows.
bool IsFolderSeparator(std::filesystem::path::value_type c);

// True when `path` names an existing regular file (or a link to one).
bool IsExistingFile(const std::filesystem::path& path);

// The full path of the running program's file; empty when the system can't tell it. Throws nothing.
std::filesystem::path ProgramFile();

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

// Today's date in the user's time zone.
std::chrono::year_month_day LocalDate();

// The decimal separator of the user's locale ('.' or ','), as numbers typed by the user show it.
char DecimalSeparator();

// Files. Errors are returned as std::error_code, for the caller to name the file and the table in
// its own Spanish message; kHeldElsewhere is the code of a file that another process holds.
enum class FileAccess {
  kRead,       // an existing file, for reading
  kReadWrite,  // an existing file, for reading and writing
  kCreate,     // a new, empty file for reading and writing (an existing one is emptied)
  kCreateNew,  // a new, empty file for reading and writing; fails when one exists (file_exists)
};
enum class FileSharing {
  kShared,     // others may read and write the file too
  kExclusive,  // no other process may open the file while it is held (other copies of this
               // program on POSIX systems, every program on Windows)
};
std::error_code HeldElsewhere();

class File {
 public:
  File() = default;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  // Opens `path`. On failure returns a closed File and sets `error` (HeldElsewhere() when another
  // process holds the file).
  static File Open(const std::filesystem::path& path, FileAccess access, FileSharing sharing,
                   std::error_code& error);

  bool is_open() const { return handle_ >= 0; }
  // Reads up to buffer.size() bytes at `offset`; fewer only at the end of the file.
  std::size_t ReadAt(std::uint64_t offset, std::span<char> buffer, std::error_code& error) const;
  // Writes all of `data` at `offset`, growing the file when needed.
  void WriteAt(std::uint64_t offset, std::span<const char> data, std::error_code& error);
  std::uint64_t Size(std::error_code& error) const;
  // Sets the file's length to `size`, cutting what lies beyond it or growing it with zero bytes.
  void Resize(std::uint64_t size, std::error_code& error);
  // Makes everything written so far durable on disk.
  void Flush(std::error_code& error);
  void Close() noexcept;

 private:
  explicit File(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_ = -1;
};

// A file written under a temporary name in the folder of its target and renamed over the target
// only once complete and on disk, so that the target is either untouched or wholly replaced.
// Destroying it before Commit (a failure, an exception) removes the temporary file.
class ReplacingFile {
 public:
  ReplacingFile(ReplacingFile&& other) noexcept;
  ReplacingFile& operator=(ReplacingFile&& other) noexcept;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  ~ReplacingFile();

  // Creates an empty temporary file beside `target`, first removing the temporary files of `target`
  // that killed saves left (those that no save holds open). On failure returns nothing and sets
  // `error`.
  static std::optional<ReplacingFile> Create(const std::filesystem::path& target,
                                             std::error_code& error);
  // Appends `data` to the temporary file.
  void Write(std::span<const char> data, std::error_code& error);
  // Flushes the temporary file to disk, renames it over the target (replacing a file there) and
  // makes the rename durable. When a step before the rename fails, the temporary file is removed
  // and the target untouched; when only the last step fails, the target already holds the data.
  void Commit(std::error_code& error);

 private:
  ReplacingFile(File file, std::filesystem::path temporary, std::filesystem::path target);
  void Discard() noexcept;
  File file_;
  std::filesystem::path temporary_;
  std::filesystem::path target_;
  std::uint64_t size_ = 0;
};

// A lock on a whole directory for the length of one run, which other copies of this program
// respect. A process that dies releases it, and it leaves no file behind (POSIX: flock on the
// directory itself; Windows: the hidden file ".transzendal-lock" in it, held with no sharing and
// deleted by the system when its holder ends).
class DirectoryLock {
 public:
  DirectoryLock(DirectoryLock&& other) noexcept;
  DirectoryLock& operator=(DirectoryLock&& other) noexcept;
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;
  ~DirectoryLock();

  // Takes the lock without waiting. On failure returns nothing and sets `error` (HeldElsewhere()
  // when another process holds the lock).
  static std::optional<DirectoryLock> TryAcquire(const std::filesystem::path& directory,
                                                 std::error_code& error);

 private:
  explicit DirectoryLock(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_ = -1;
};

// Renames `from` to `to` on the same file system, replacing `to` when it exists, atomically.
void MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error);

// Makes the creations, renames and removals of entries in `directory` durable on disk.
void SyncDirectory(const std::filesystem::path& directory, std::error_code& error);

// Removes the file `path` unless another process holds it open (then `error` is HeldElsewhere() and
// the file stays); a missing file sets no_such_file_or_directory. On POSIX systems the holders seen
// are the File opens of other copies of this program; on Windows, every program.
void RemoveFileUnlessHeld(const std::filesystem::path& path, std::error_code& error);

// Writes UTF-8 text to the process's standard output or standard error, unchanged.
void WriteStandardOutput(std::string_view utf8);
void WriteStandardError(std::string_view utf8);

// True when standard input and standard output are a terminal, where a person can answer.
bool IsInteractive();
// One line from standard input (UTF-8), without its line end; nothing at the end of the input.
std::optional<std::string> ReadStandardInputLine();

}  // namespace transzendal::platform
