// The steps of the forward run. Every table builder has one shape: it reads the school model and
// writes its table, with what the run passes along in ForwardRunContext. The run holds one ordered
// list of them (ForwardRunSteps), so adding a table is one file and one line.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "registry.h"
#include "run_report.h"
#include "school_model.h"
#include "short_code.h"
#include "user_interface.h"

namespace transzendal {

// The registries that the subjects step fills and the tasks step uses, then discards.
struct SubjectRegistries {
  CodeBook codes;       // every COD given in ASIGNOMT
  Registry long_texts;  // every whole subject or task text written there
};

// The time frames applied, as the time-frame step leaves them for the groups step. "First" and
// "second" follow the order of the frames in the school file; each frame's MARCO digit is "0" for
// the one whose Monday first period starts earlier.
struct TimeFrameState {
  std::string first_id;
  std::string second_id;  // empty when one frame applies
  std::string first_marco = "0";
  std::string second_marco = "1";
};

// What the subjects, tasks and teachers steps tell the assignments step about the rows they wrote,
// so that a session naming a subject or a teacher the way the school file does still finds its row
// where the exact table search would not (a different letter case, a text longer than NOMBRE, a
// short name that was numbered or shortened).
struct WrittenNames {
  std::unordered_map<std::string, std::string> subject_code;  // FoldCase(whole text) -> COD
  std::unordered_map<std::string, std::string> teacher_code;  // short name as read -> ABREV
};

// What one forward run passes from step to step; it lives for the length of the run only, so a
// retried run starts from nothing.
struct ForwardRunContext {
  const SchoolModel& school;
  // Where the steps write their tables and read back those written earlier in the run: the run's
  // staging folder, never the live exchange directory, whose tables are replaced only at the end.
  std::filesystem::path table_directory;
  UserInterface& ui;
  RunReport& report;
  std::chrono::year_month_day today = {};  // the date written into the tables' headers
  char decimal_separator = '.';            // of the user's locale, for float fields set from text
  std::optional<SubjectRegistries> subject_registries = {};
  TimeFrameState frames = {};
  WrittenNames written = {};
};

struct ForwardRunStep {
  std::string_view name;
  void (*build)(ForwardRunContext& context);
};

// The builders in their fixed order: subjects, tasks, teachers, rooms, time frames, groups,
// teaching assignments.
std::span<const ForwardRunStep> ForwardRunSteps();

}  // namespace transzendal
