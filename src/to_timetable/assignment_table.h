// The teaching assignments table ASIGT: one row per session (sesion) whose subject is found, with
// the codes the earlier steps gave its subject, teacher, group and task. The last step of the run.
#pragma once

#include "table_builder.h"

namespace transzendal {

// Creates ASIGT (13 fields) from the sessions, searching ASIGNOMT, PROFT and GRUPOST (held
// exclusively meanwhile). A session whose subject is not found is left out, and noted, before
// anything else of it is read. Throws RunError when a session's weekly count or identifier is no
// integer, or it has no attribute at all.
void BuildAssignmentTable(ForwardRunContext& context);

}  // namespace transzendal
