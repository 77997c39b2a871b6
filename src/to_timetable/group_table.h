// The groups table GRUPOST: the groups of the applied time frames, each with a code made from its
// level, course and unit, and its frame's MARCO digit. Runs after the time-frame step.
#pragma once

#include "table_builder.h"

namespace transzendal {

// Creates GRUPOST (ABREV, TURNO, NIVEL, CURSO, GRUPO, DESCRIP, MARCO) with one row per grupo of an
// applied frame, in document order; the groups left out are noted in the summary.
void BuildGroupTable(ForwardRunContext& context);

}  // namespace transzendal
