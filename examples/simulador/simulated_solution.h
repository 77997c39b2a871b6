// A stand-in for the timetable program, for demonstrations and tests: from the tables that the
// forward run wrote it makes a plausible solved timetable SOLUC, the same one every time for the
// same tables. It is no timetable solver: each lesson takes the next free period of its frame.
#pragma once

#include <chrono>
#include <filesystem>

namespace transzendal::simulator {

struct SimulationSummary {
  int placed = 0;    // SOLUC records with a day and an hour
  int unplaced = 0;  // lessons with no free period left, written with DIA 0
};

// Holds `exchange_directory` (as every command of the converter does), reads ASIGT, DIASHORAST,
// GRUPOST and AULAT there and writes SOLUC.DBF beside them, a level-7 table dated `date` that
// replaces an earlier SOLUC in any letter case. For each ASIGT row, in table order, HORAS lessons
// go to periods of its group's frame (the first frame for a row without group) that neither its
// group nor its teacher holds yet, taking the frame's periods in turn, hour by hour across the
// days; rooms are taken in turn from AULAT, and every seventh lesson has none. DIA and HORA are
// integer fields (I): the table writer makes no N fields. Throws RunError on failure.
SimulationSummary WriteSimulatedSolution(const std::filesystem::path& exchange_directory,
                                         std::chrono::year_month_day date);

}  // namespace transzendal::simulator
