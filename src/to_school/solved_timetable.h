// The solved timetable SOLUC turned back into Colvaria's terms: one tramo per lesson that the
// timetable program placed, its codes translated through the tables the forward run wrote (time
// frames in DIASHORAST, rooms in AULAT, teaching assignments in ASIGT). Tables are only read; texts
// are Windows-1252, as the tables and the document take them.
#pragma once

#include <string>
#include <string_view>

#include "exchange_table.h"
#include "run_report.h"
#include "school_document.h"
#include "timetable_tables.h"

namespace transzendal {

// The NOMBRE of the first room of `rooms` (AULAT), in table order, whose CV_GENERICA is "S": the
// name of a lesson without a particular room. Empty when there is none.
std::string GenericRoomName(ExchangeTable& rooms);

// Appends to `timetable` (a horario) one tramo for each SOLUC record, in stored order, whose DIA
// reads as an integer other than 0, with dia, indice and marco, and inside it one aula holding one
// sesion and one profesor; `generic_room` names the rooms of records without AULA. Notes in
// `report` each record left out and each code that its table lacks. Returns the number of tramo
// elements written. Throws RunError when a field can't be read.
int WriteSolvedTimetable(TimetableTables& tables, std::string_view generic_room,
                         DocumentElement& timetable, RunReport& report);

}  // namespace transzendal
