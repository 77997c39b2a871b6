// What the desktop program's command line asks for. The timetable program starts the converter with
// exactly two arguments, an action word and the handle of its own window in hexadecimal digits:
// the converter then sits inside that window (embedded mode) and runs the action at once. Any other
// number of arguments gives an ordinary window that waits for the user.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace transzendal::app {

// The run named by the action word, started when the window is first shown.
enum class StartAction { kNone, kExport, kImport };

struct StartArguments {
  // Exactly two arguments were given. The action runs even when the handle was refused.
  bool two_arguments = false;
  StartAction action = StartAction::kNone;
  // The host window's handle, when two arguments were given and the second converted.
  std::optional<std::uint64_t> host_window;
  // Why the handle did not convert: "'$XYZ' is not a valid integer value" (shown in an error box,
  // after which the window opens as an ordinary one).
  std::string handle_error;
};

// Reads the arguments after the program name (UTF-8). The action word is compared after lower-casing
// its ASCII letters ("exportar", "importar"; any other word starts nothing). The handle is 1 to 16
// hexadecimal digits of either letter case, without prefix or blanks.
StartArguments ReadStartArguments(std::span<const std::string> args);

}  // namespace transzendal::app
