// The name of the reverse run's result file: beside the chosen school file, its name prefixed with
// "ResultadoZendal", so the chosen file itself is never written.
#pragma once

#include <filesystem>

namespace transzendal {

// The folder part of `source` (everything up to and including its last folder separator, as
// platform::IsFolderSeparator tells them; nothing when it has none), then "ResultadoZendal", then
// the rest: /centro/datos.xml gives /centro/ResultadoZendaldatos.xml.
std::filesystem::path ResultFilePath(const std::filesystem::path& source);

}  // namespace transzendal
