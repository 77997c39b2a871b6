#include "run_report.h"

#include <gtest/gtest.h>

#include "school_reader.h"

namespace transzendal {
namespace {

TEST(RunReport, SummaryListsTablesThenEveryNotedRecord) {
  const SchoolModel school = ReadSchoolBytes(
      "<datosZPH>\n<profesores>\n<profesor><nombre>JGL</nombre></profesor>\n</profesores>\n</datosZPH>",
      "centro.xml");
  RunReport report;
  EXPECT_EQ(report.Summary(), "No se ha escrito ninguna tabla.\n");
  report.CountRows("ASIGNOMT", 3);
  report.CountRows("PROFT", 1);
  report.CountRows("ASIGNOMT", 5);  // the tasks step appends to the subjects' table
  report.NoteMissingChildren(school.Records(RecordKind::kTeacher)[0]);
  EXPECT_EQ(report.Summary(),
            "Tablas escritas:\n"
            "  ASIGNOMT: 5 filas\n"
            "  PROFT: 1 fila\n"
            "Registros omitidos o incompletos:\n"
            "  profesor n.º 1 (línea 3): falta el elemento «nombreCompleto»; se ha leído como texto vacío\n");
  ASSERT_EQ(report.notes().size(), 1u);
  EXPECT_EQ(report.notes()[0].record, "profesor n.º 1 (línea 3)");
}

}  // namespace
}  // namespace transzendal
