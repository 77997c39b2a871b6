// Reads a Colvaria school file into the school model, once, as a stream: memory grows with what the
// model keeps, not with the document. The encoding that the file declares is honoured; entities,
// character references and CDATA are resolved in texts; nothing outside the file is ever read.
#pragma once

#include <filesystem>
#include <string_view>

#include "school_model.h"

namespace transzendal {

// Reads the school file at `file`. Throws RunError with a Spanish message naming the file when it
// can't be read, is not well-formed XML, holds no element, or its root element is not datosZPH.
SchoolModel ReadSchoolFile(const std::filesystem::path& file);

// The same for a school file already in memory; `file_name` (UTF-8) names it in messages.
SchoolModel ReadSchoolBytes(std::string_view bytes, std::string_view file_name);

}  // namespace transzendal
