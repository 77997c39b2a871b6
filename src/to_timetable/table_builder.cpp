#include "table_builder.h"

#include "assignment_table.h"
#include "group_table.h"
#include "room_table.h"
#include "subject_table.h"
#include "teacher_table.h"
#include "time_frame_table.h"

namespace transzendal {

std::span<const ForwardRunStep> ForwardRunSteps() {
  // The order carries data: tasks share the subjects' table and registries; later steps look up
  // rows that earlier ones wrote.
  static constexpr ForwardRunStep kSteps[] = {
      {"materias", BuildSubjectTable},
      {"tareas", AppendTaskRows},
      {"profesores", BuildTeacherTable},
      {"aulas", BuildRoomTable},
      {"marcos horarios", BuildTimeFrameTable},
      {"grupos", BuildGroupTable},
      {"asignaciones", BuildAssignmentTable},
  };
  return kSteps;
}

}  // namespace transzendal
