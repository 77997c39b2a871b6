// What a run tells its user besides "Proceso finalizado": the rows written per table and every
// record left out or read incomplete, with the reason. Steps write to it as they go; the window and
// the command-line tool show it as the run's summary.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace transzendal {

class SchoolRecord;

struct TableRows {
  std::string table;
  int rows;
};

struct RecordNote {
  std::string record;  // as DescribeRecord names it: "sesión n.º 12 (línea 340)"
  std::string reason;  // Spanish, UTF-8
};

class RunReport {
 public:
  // Records that `table` was written with `rows` rows; a later count for the same table replaces it.
  void CountRows(std::string_view table, int rows);
  // Records that `record` was left out or read incomplete, and why.
  void Note(const SchoolRecord& record, std::string reason);
  // The same for a record that is not the school file's (a table's), named by `record`.
  void Note(std::string record, std::string reason);
  // Notes every child that `record` lacks (read as the empty text).
  void NoteMissingChildren(const SchoolRecord& record);
  // Records a line on what the run made as a whole (the reverse run's result file and timetable);
  // such lines head the summary, in the order recorded.
  void AddResult(std::string line);

  const std::vector<TableRows>& tables() const { return tables_; }
  const std::vector<RecordNote>& notes() const { return notes_; }
  const std::vector<std::string>& results() const { return results_; }

  // The summary as text for the user (UTF-8, lines ending in "\n").
  std::string Summary() const;

 private:
  std::vector<TableRows> tables_;
  std::vector<RecordNote> notes_;
  std::vector<std::string> results_;
};

}  // namespace transzendal
