#include "forward_run.h"

#include "messages.h"
#include "run_report.h"
#include "school_reader.h"

namespace transzendal {

RunOutcome RunForward(Session& session, UserInterface& ui, const ForwardRunSettings& settings,
                      std::span<const ForwardRunStep> steps) {
  if (!ChooseExistingSourceFile(ui, session, settings.exchange_directory / "brevel")) {
    ui.MissingFileEnd(msg::kNoSourceFile);
    return RunOutcome::kMissingFile;
  }
  RunReport report;
  {
    // The wait cursor covers the reading of the file too: on a large school it is the longest step.
    BusyCursor busy(ui);
    const SchoolModel school = ReadSchoolFile(session.source_file_name);
    ForwardRunContext context{school, settings.exchange_directory, ui, report};
    for (const ForwardRunStep& step : steps) step.build(context);
  }
  ui.FinishRun(report);
  return RunOutcome::kCompleted;
}

}  // namespace transzendal
