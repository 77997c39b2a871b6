// The subjects and tasks table ASIGNOMT: the first two steps of the forward run. Subjects create the
// table, one row per distinct subject text; tasks are appended, one row per distinct task text that
// no subject bears. Both steps share the run's subject registries, which the tasks step discards.
#pragma once

#include "table_builder.h"

namespace transzendal {

// Creates ASIGNOMT with the subject rows (COD, CODLARGO, NOMBRE, MATERIA, CODTAREA, ESTAREA).
void BuildSubjectTable(ForwardRunContext& context);

// Appends the task rows to ASIGNOMT, then discards the subject registries.
void AppendTaskRows(ForwardRunContext& context);

}  // namespace transzendal
