// The platform unit on Windows (and under Wine), with the wide-character API throughout: paths and
// texts cross into UTF-16 here and nowhere else.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform.h"

namespace transzendal::platform {
namespace {

// Handles travel as platform.h's std::intptr_t; INVALID_HANDLE_VALUE is -1 there, as is_open()
// expects of a closed file.
HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
std::intptr_t AsInteger(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }

std::wstring Utf8ToWide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(std::min<std::size_t>(utf8.size(), INT32_MAX));
  const int wide_size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), wide_size);
  return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(std::min<std::size_t>(wide.size(), INT32_MAX));
  const int utf8_size =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(utf8_size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), utf8_size, nullptr, nullptr);
  return utf8;
}

// Windows' error numbers in the portable conditions that the callers compare with (the same ones
// the POSIX implementation returns), so that one Spanish message serves both platforms.
std::error_code ErrorFrom(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return std::make_error_code(std::errc::file_exists);
    case ERROR_ACCESS_DENIED:
      return std::make_error_code(std::errc::permission_denied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return HeldElsewhere();
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_WRITE_PROTECT:
      return std::make_error_code(std::errc::read_only_file_system);
    default:
      return {static_cast<int>(code), std::system_category()};
  }
}

std::error_code LastError() { return ErrorFrom(::GetLastError()); }

bool IsDirectory(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Windows refuses to open a folder as a file with "access denied"; the callers want to say so.
std::error_code OpenError(const std::filesystem::path& path) {
  const DWORD code = ::GetLastError();
  if (code == ERROR_ACCESS_DENIED && IsDirectory(path)) {
    return std::make_error_code(std::errc::is_a_directory);
  }
  return ErrorFrom(code);
}

OVERLAPPED AtOffset(std::uint64_t offset) {
  OVERLAPPED overlapped{};
  overlapped.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return overlapped;
}

// ReadFile and WriteFile take at most a DWORD; a large span goes in pieces of this size.
constexpr std::size_t kMaxPiece = std::size_t{1} << 30;

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode);
}

// A console shows UTF-16 whatever its code page; a file or a pipe gets the UTF-8 bytes unchanged
// (no text-mode "\r\n"), the same bytes as on Linux.
void WriteText(DWORD which, std::string_view utf8) {
  const HANDLE handle = ::GetStdHandle(which);
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr || utf8.empty()) return;
  if (IsConsole(handle)) {
    const std::wstring wide = Utf8ToWide(utf8);
    std::size_t done = 0;
    while (done < wide.size()) {
      DWORD written = 0;
      const auto piece = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
      if (!::WriteConsoleW(handle, wide.data() + done, piece, &written, nullptr) || written == 0) {
        return;
      }
      done += written;
    }
    return;
  }
  std::size_t done = 0;
  while (done < utf8.size()) {
    DWORD written = 0;
    const auto piece = static_cast<DWORD>(std::min(utf8.size() - done, kMaxPiece));
    if (!::WriteFile(handle, utf8.data() + done, piece, &written, nullptr) || written == 0) return;
    done += written;
  }
}

// The lock file's name inside the locked directory; hidden, and gone when its handle closes.
constexpr wchar_t kLockFileName[] = L".transzendal-lock";

}  // namespace

std::optional<std::string> EnvironmentValue(std::string_view name) {
  const std::wstring wide_name = Utf8ToWide(name);
  const DWORD size = ::GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (size == 0) {
    if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::string();
  }
  std::wstring value(size, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(wide_name.c_str(), value.data(), size);
  value.resize(std::min<DWORD>(length, size));
  return WideToUtf8(value);
}

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(Utf8ToWide(utf8));
}

std::string PathToUtf8(const std::filesystem::path& path) { return WideToUtf8(path.native()); }

std::size_t AllocatedSize(void* block) { return ::_msize(block); }

bool IsFolderSeparator(std::filesystem::path::value_type c) {
  return c == L'\\' || c == L'/' || c == L':';
}

std::filesystem::path ProgramFile() {
  // A path that does not fit is cut to the buffer's size without a terminator; a full buffer is
  // the only sign of it, so the buffer grows until the path leaves room to spare. Windows paths
  // end at 32767 characters, which bounds the growth.
  constexpr std::size_t kLongestPath = 32768;
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return std::filesystem::path(buffer);
    }
    if (buffer.size() >= kLongestPath) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::filesystem::path DefaultExchangeDirectory(EnvironmentLookup /*environment*/) {
  // Windows file names ignore letter case, so the fixed name finds the folder however it is spelt.
  return std::filesystem::path(L"C:\\ZTEMP");
}

std::chrono::year_month_day LocalDate() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return std::chrono::year_month_day{std::chrono::year{now.wYear}, std::chrono::month{now.wMonth},
                                     std::chrono::day{now.wDay}};
}

char DecimalSeparator() {
  wchar_t separator[8] = {};
  if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 0) return '.';
  return separator[0] == L',' ? ',' : '.';
}

File File::Open(const std::filesystem::path& path, FileAccess access, FileSharing sharing,
                std::error_code& error) {
  error.clear();
  DWORD rights = GENERIC_READ;
  DWORD disposition = OPEN_EXISTING;
  if (access != FileAccess::kRead) rights |= GENERIC_WRITE;
  // The sharing mode is checked before CREATE_ALWAYS empties the file, so a held file is never cut.
  if (access == FileAccess::kCreate) disposition = CREATE_ALWAYS;
  if (access == FileAccess::kCreateNew) disposition = CREATE_NEW;
  // No FILE_SHARE_DELETE: a file that anyone holds can't be removed or renamed over.
  const DWORD share = sharing == FileSharing::kExclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
  const HANDLE handle = ::CreateFileW(path.c_str(), rights, share, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = OpenError(path);
    return File();
  }
  return File(AsInteger(handle));
}

std::size_t File::ReadAt(std::uint64_t offset, std::span<char> buffer,
                         std::error_code& error) const {
  error.clear();
  std::size_t done = 0;
  while (done < buffer.size()) {
    OVERLAPPED at = AtOffset(offset + done);
    DWORD got = 0;
    const auto piece = static_cast<DWORD>(std::min(buffer.size() - done, kMaxPiece));
    if (!::ReadFile(AsHandle(handle_), buffer.data() + done, piece, &got, &at)) {
      const DWORD code = ::GetLastError();
      if (code != ERROR_HANDLE_EOF) error = ErrorFrom(code);
      break;
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

void File::WriteAt(std::uint64_t offset, std::span<const char> data, std::error_code& error) {
  error.clear();
  std::size_t done = 0;
  while (done < data.size()) {
    OVERLAPPED at = AtOffset(offset + done);
    DWORD put = 0;
    const auto piece = static_cast<DWORD>(std::min(data.size() - done, kMaxPiece));
    if (!::WriteFile(AsHandle(handle_), data.data() + done, piece, &put, &at)) {
      error = LastError();
      return;
    }
    done += put;
  }
}

std::uint64_t File::Size(std::error_code& error) const {
  error.clear();
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(AsHandle(handle_), &size)) {
    error = LastError();
    return 0;
  }
  return static_cast<std::uint64_t>(size.QuadPart);
}

void File::Resize(std::uint64_t size, std::error_code& error) {
  error.clear();
  // Set through the handle's information, not the file pointer, which WriteAt and ReadAt never use.
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
  if (!::SetFileInformationByHandle(AsHandle(handle_), FileEndOfFileInfo, &end, sizeof end)) {
    error = LastError();
  }
}

void File::Flush(std::error_code& error) {
  error.clear();
  if (!::FlushFileBuffers(AsHandle(handle_))) error = LastError();
}

void File::Close() noexcept {
  if (handle_ >= 0) ::CloseHandle(AsHandle(handle_));
  handle_ = -1;
}

DirectoryLock::DirectoryLock(DirectoryLock&& other) noexcept : handle_(other.handle_) {
  other.handle_ = -1;
}

DirectoryLock& DirectoryLock::operator=(DirectoryLock&& other) noexcept {
  if (this != &other) {
    if (handle_ >= 0) ::CloseHandle(AsHandle(handle_));
    handle_ = other.handle_;
    other.handle_ = -1;
  }
  return *this;
}

DirectoryLock::~DirectoryLock() {
  if (handle_ >= 0) ::CloseHandle(AsHandle(handle_));  // and the system deletes the lock file
}

std::optional<DirectoryLock> DirectoryLock::TryAcquire(const std::filesystem::path& directory,
                                                       std::error_code& error) {
  error.clear();
  if (!IsDirectory(directory)) {
    error = std::make_error_code(std::errc::no_such_file_or_directory);
    return std::nullopt;
  }
  // Windows locks no directory, so a lock file stands for it: opened with no sharing, it refuses
  // every other copy; deleted on close, it goes with the process however that ends.
  const std::filesystem::path lock_file = directory / kLockFileName;
  for (int attempt = 0;; ++attempt) {
    const HANDLE handle =
        ::CreateFileW(lock_file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle != INVALID_HANDLE_VALUE) return DirectoryLock(AsInteger(handle));
    const DWORD code = ::GetLastError();
    // A lock file whose holder has just closed it is "delete pending" for a moment and refuses
    // opens with access denied; it is gone a few milliseconds later.
    if (code == ERROR_ACCESS_DENIED && attempt < 20) {
      ::Sleep(10);
      continue;
    }
    error = ErrorFrom(code);
    return std::nullopt;
  }
}

void MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error) {
  error.clear();
  if (!::MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = OpenError(to);  // a folder in place of the target is refused as "access denied"
  }
}

void SyncDirectory(const std::filesystem::path& directory, std::error_code& error) {
  error.clear();
  // Windows flushes no directory handle; every rename here is MOVEFILE_WRITE_THROUGH, so it is on
  // disk when MoveReplacing returns. What remains to check is that the directory is there.
  if (!IsDirectory(directory)) {
    error = ::GetFileAttributesW(directory.c_str()) == INVALID_FILE_ATTRIBUTES
                ? LastError()
                : std::make_error_code(std::errc::not_a_directory);
  }
}

void RemoveFileUnlessHeld(const std::filesystem::path& path, std::error_code& error) {
  error.clear();
  // Every open in this program refuses FILE_SHARE_DELETE, and so do most programs': DeleteFileW
  // fails with a sharing violation while anyone holds the file.
  if (!::DeleteFileW(path.c_str())) error = LastError();
}

void WriteStandardOutput(std::string_view utf8) { WriteText(STD_OUTPUT_HANDLE, utf8); }

void WriteStandardError(std::string_view utf8) { WriteText(STD_ERROR_HANDLE, utf8); }

bool IsInteractive() {
  return IsConsole(::GetStdHandle(STD_INPUT_HANDLE)) &&
         IsConsole(::GetStdHandle(STD_OUTPUT_HANDLE));
}

std::optional<std::string> ReadStandardInputLine() {
  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  if (input == INVALID_HANDLE_VALUE || input == nullptr) return std::nullopt;
  bool ended = false;
  std::string line;
  if (IsConsole(input)) {
    // A console types UTF-16; one character at a time, so that nothing after the line is taken.
    std::wstring wide;
    for (;;) {
      wchar_t c = 0;
      DWORD got = 0;
      if (!::ReadConsoleW(input, &c, 1, &got, nullptr) || got == 0) {
        ended = true;
        break;
      }
      if (c == L'\n') break;
      wide += c;
    }
    line = WideToUtf8(wide);
  } else {
    for (;;) {
      char c = 0;
      DWORD got = 0;
      if (!::ReadFile(input, &c, 1, &got, nullptr) || got == 0) {
        ended = true;
        break;
      }
      if (c == '\n') break;
      line += c;
    }
  }
  if (ended && line.empty()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace transzendal::platform
