// The teachers table PROFT: one row per teacher, keyed by a code made from the teacher's short name.
#pragma once

#include "table_builder.h"

namespace transzendal {

// Creates PROFT (ABREV, NOMBRE, DEPART, EMAIL, DNI, X_EMPLEADO) with one row per profesor element;
// teachers are never merged, and one without nombre or nombreCompleto is noted as incomplete.
void BuildTeacherTable(ForwardRunContext& context);

}  // namespace transzendal
