// The forward run: a Colvaria school file into the timetable program's tables (BExportarClick).
//
// It asks the user for the file (a cancelled dialog keeps the session's earlier file), ends with
// MissingFileEnd("No existe archivo") when that file does not exist, reads the school once, runs the
// table builders in their fixed order under the wait cursor and ends with FinishRun and the summary.
// Every failure is thrown as RunError, for the user-interface boundary to report.
#pragma once

#include <filesystem>
#include <span>

#include "source_file.h"
#include "table_builder.h"
#include "user_interface.h"

namespace transzendal {

enum class RunOutcome { kCompleted, kMissingFile };

struct ForwardRunSettings {
  std::filesystem::path exchange_directory;
};

RunOutcome RunForward(Session& session, UserInterface& ui, const ForwardRunSettings& settings,
                      std::span<const ForwardRunStep> steps = ForwardRunSteps());

}  // namespace transzendal
