#include "file_error.h"

#include "messages.h"

namespace transzendal {

std::string FileErrorText(std::error_code error) {
  if (error == std::errc::no_such_file_or_directory) return std::string(msg::kFileErrorMissing);
  if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) {
    return std::string(msg::kFileErrorPermission);
  }
  if (error == std::errc::no_space_on_device) return std::string(msg::kFileErrorDiskFull);
  // A limit on the size of one file (ulimit -f) stops a write as a full disk does.
  if (error == std::errc::file_too_large) return std::string(msg::kFileErrorTooLarge);
  if (error == std::errc::read_only_file_system) return std::string(msg::kFileErrorReadOnlyDisk);
  if (error == std::errc::is_a_directory) return std::string(msg::kFileErrorIsFolder);
  return msg::FillMessage(msg::kFileErrorOther, {std::to_string(error.value())});
}

}  // namespace transzendal
