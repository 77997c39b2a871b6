// transzendal-cli as a function: the arguments in, the exit status out, everything printed through
// a Console. main() only gathers the arguments.
#pragma once

#include <span>
#include <string>

#include "console_ui.h"

namespace transzendal::cli {

// Exit statuses of transzendal-cli.
inline constexpr int kExitCompleted = 0;    // the run completed ("Proceso finalizado")
inline constexpr int kExitFailed = 1;       // the run stopped on an error
inline constexpr int kExitUsage = 2;        // wrong usage
inline constexpr int kExitMissingFile = 3;  // the XML file does not exist

// Runs the command named by `args` (the arguments after the program name).
int RunCommandLine(std::span<const std::string> args, Console& console);

}  // namespace transzendal::cli
