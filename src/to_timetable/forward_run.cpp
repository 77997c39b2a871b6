#include "forward_run.h"

#include "exchange_lock.h"
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
    // The lock and the writability check come before the school is read: a run that can't replace
    // the tables must not work for nothing. The lock ends before FinishRun, whose message may wait
    // for the user indefinitely while the new set is already complete.
    const ExchangeLock exchange =
        OpenExchangeDirectory(settings.exchange_directory, ExchangeUse::kWrite);
    const SchoolModel school = ReadSchoolFile(session.source_file_name);
    StagedTableSet tables(exchange);
    ForwardRunContext context{.school = school,
                              .table_directory = tables.folder(),
                              .ui = ui,
                              .report = report,
                              .today = settings.today,
                              .decimal_separator = settings.decimal_separator};
    for (const ForwardRunStep& step : steps) step.build(context);
    tables.Commit(settings.commit_faults);
  }
  ui.FinishRun(report);
  return RunOutcome::kCompleted;
}

}  // namespace transzendal
