// Where the exchange directory is: the folder of the timetable program's tables.
#pragma once

#include <filesystem>
#include <optional>

#include "platform.h"

namespace transzendal {

// The exchange directory: `chosen` when given (the command line's --directorio); else the value of
// the environment variable TRANSZENDAL_ZTEMP when set and not empty; else the platform's default
// (platform::DefaultExchangeDirectory). The desktop window and the command-line tool share this rule.
std::filesystem::path ResolveExchangeDirectory(
    const std::optional<std::filesystem::path>& chosen,
    platform::EnvironmentLookup environment = platform::EnvironmentValue);

}  // namespace transzendal
