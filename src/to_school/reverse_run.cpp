#include "reverse_run.h"

#include <string>

#include "exchange_lock.h"
#include "messages.h"
#include "platform.h"
#include "result_path.h"
#include "run_report.h"
#include "school_document.h"
#include "solved_timetable.h"
#include "timetable_tables.h"

namespace transzendal {

RunOutcome RunReverse(Session& session, UserInterface& ui, const ReverseRunSettings& settings) {
  ui.ShowMessage(msg::kImportReminder);
  if (!ChooseExistingSourceFile(ui, session, settings.exchange_directory / "brevel")) {
    ui.MissingFileEnd(msg::kNoSourceXmlFile);
    return RunOutcome::kMissingFile;
  }
  RunReport report;
  {
    BusyCursor busy(ui);
    // Held until the tables are closed: a forward run must not replace them while they are read.
    // It ends before FinishRun, whose message may wait for the user indefinitely.
    const ExchangeLock exchange =
        OpenExchangeDirectory(settings.exchange_directory, ExchangeUse::kRead);
    TimetableTables tables =
        TimetableTables::Open(settings.exchange_directory, settings.decimal_separator);
    const std::string generic_room = GenericRoomName(tables.rooms());

    SchoolDocument document = SchoolDocument::Load(session.source_file_name);
    // An earlier result chosen again would otherwise carry two timetables; the new one alone
    // counts.
    const bool had_timetable = document.RemoveTimetables() > 0;
    DocumentElement timetable = document.AppendTimetable();
    const int entries = WriteSolvedTimetable(tables, generic_room, timetable, report);
    const std::filesystem::path result = ResultFilePath(session.source_file_name);
    document.SaveAs(result);
    tables.Close();

    report.AddResult(msg::FillMessage(msg::kReverseResultFile, {platform::PathToUtf8(result)}));
    report.AddResult(entries == 1
                         ? std::string(msg::kReverseOneEntry)
                         : msg::FillMessage(msg::kReverseEntries, {std::to_string(entries)}));
    if (had_timetable) report.AddResult(std::string(msg::kReverseEarlierTimetable));
  }
  ui.FinishRun(report);
  return RunOutcome::kCompleted;
}

}  // namespace transzendal
