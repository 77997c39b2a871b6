#include "result_path.h"

#include "messages.h"
#include "platform.h"

namespace transzendal {

// Cut by hand rather than with parent_path and filename: the rule is the last separator of the
// text as given, whatever std::filesystem makes of drive letters, root names or trailing
// separators.
std::filesystem::path ResultFilePath(const std::filesystem::path& source) {
  const std::filesystem::path::string_type& text = source.native();
  std::size_t name_start = text.size();
  while (name_start > 0 && !platform::IsFolderSeparator(text[name_start - 1])) --name_start;
  std::filesystem::path result(text.substr(0, name_start));
  result += platform::PathFromUtf8(msg::kResultFilePrefix);
  result += std::filesystem::path(text.substr(name_start));
  return result;
}

}  // namespace transzendal
