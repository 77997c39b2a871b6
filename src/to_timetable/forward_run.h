// The forward run: a Colvaria school file into the timetable program's tables (BExportarClick).
//
// It asks the user for the file (a cancelled dialog keeps the session's earlier file), ends with
// MissingFileEnd("No existe archivo") when that file does not exist, opens the exchange directory
// (locked for the run, writable), reads the school once, runs the table builders in their fixed
// order under the wait cursor into a staging folder, replaces the live tables by the new set only
// when every step succeeded, and ends with FinishRun and the summary. Every failure is thrown as
// RunError, for the user-interface boundary to report; before the new set is in place a failure
// leaves the exchange directory as it was.
#pragma once

#include <chrono>
#include <filesystem>
#include <span>

#include "platform.h"
#include "run_outcome.h"
#include "source_file.h"
#include "staged_table_set.h"
#include "table_builder.h"
#include "user_interface.h"

namespace transzendal {

struct ForwardRunSettings {
  std::filesystem::path exchange_directory;
  std::chrono::year_month_day today = platform::LocalDate();
  char decimal_separator = '.';  // front ends pass platform::DecimalSeparator()
  // Tests only: interrupts the replacement of the tables at its named points.
  CommitFaultHook commit_faults = {};
};

RunOutcome RunForward(Session& session, UserInterface& ui, const ForwardRunSettings& settings,
                      std::span<const ForwardRunStep> steps = ForwardRunSteps());

}  // namespace transzendal
