#include "run_report.h"

#include <utility>

#include "messages.h"
#include "school_model.h"

namespace transzendal {

void RunReport::CountRows(std::string_view table, int rows) {
  for (auto& entry : tables_) {
    if (entry.table == table) {
      entry.rows = rows;
      return;
    }
  }
  tables_.push_back({std::string(table), rows});
}

void RunReport::Note(const SchoolRecord& record, std::string reason) {
  notes_.push_back({DescribeRecord(record), std::move(reason)});
}

void RunReport::Note(std::string record, std::string reason) {
  notes_.push_back({std::move(record), std::move(reason)});
}

void RunReport::NoteMissingChildren(const SchoolRecord& record) {
  for (std::string_view child : record.MissingChildren()) {
    Note(record, msg::FillMessage(msg::kMissingChild, {child}));
  }
}

void RunReport::AddResult(std::string line) { results_.push_back(std::move(line)); }

std::string RunReport::Summary() const {
  std::string text;
  for (const std::string& line : results_) text += line + "\n";
  // A run that made something else than tables (the reverse run) says so above instead.
  if (tables_.empty() && results_.empty()) {
    text += std::string(msg::kSummaryNoTables) + "\n";
  } else if (!tables_.empty()) {
    text += std::string(msg::kSummaryTables) + "\n";
    for (const auto& entry : tables_) {
      text += entry.rows == 1
                  ? msg::FillMessage(msg::kSummaryTableOneRow, {entry.table})
                  : msg::FillMessage(msg::kSummaryTableRows, {entry.table, std::to_string(entry.rows)});
      text += "\n";
    }
  }
  if (!notes_.empty()) {
    text += std::string(msg::kSummaryNotes) + "\n";
    for (const auto& note : notes_) {
      text += msg::FillMessage(msg::kSummaryNote, {note.record, note.reason}) + "\n";
    }
  }
  return text;
}

}  // namespace transzendal
