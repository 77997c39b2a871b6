// The steps of the forward run. Every table builder has one shape: it reads the school model and
// writes its table, with what the run passes along in ForwardRunContext. The run holds one ordered
// list of them (ForwardRunSteps), so adding a table is one file and one line.
#pragma once

#include <filesystem>
#include <span>
#include <string_view>

#include "run_report.h"
#include "school_model.h"
#include "user_interface.h"

namespace transzendal {

// What one forward run passes from step to step; it lives for the length of the run only, so a
// retried run starts from nothing.
struct ForwardRunContext {
  const SchoolModel& school;
  std::filesystem::path exchange_directory;
  UserInterface& ui;
  RunReport& report;
};

struct ForwardRunStep {
  std::string_view name;
  void (*build)(ForwardRunContext& context);
};

// The builders in their fixed order: subjects, tasks, teachers, rooms, time frames, groups,
// teaching assignments.
std::span<const ForwardRunStep> ForwardRunSteps();

}  // namespace transzendal
