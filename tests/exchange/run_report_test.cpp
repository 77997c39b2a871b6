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

TEST(RunReport, ResultLinesHeadTheSummaryInsteadOfTheMissingTables) {
  RunReport report;
  report.AddResult("Archivo de resultado: «r.xml»");
  report.AddResult("Horario escrito: 2 tramos.");
  report.Note("registro n.º 3 de SOLUC", "su DIA es 0");
  EXPECT_EQ(report.Summary(),
            "Archivo de resultado: «r.xml»\n"
            "Horario escrito: 2 tramos.\n"
            "Registros omitidos o incompletos:\n"
            "  registro n.º 3 de SOLUC: su DIA es 0\n");
  report.CountRows("SOLUC", 4);
  EXPECT_TRUE(report.Summary().starts_with(
      "Archivo de resultado: «r.xml»\nHorario escrito: 2 tramos.\nTablas escritas:\n  SOLUC: 4 filas\n"))
      << report.Summary();
}

}  // namespace
}  // namespace transzendal
