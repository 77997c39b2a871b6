#include "subject_table.h"

#include "builder_fixture.h"

namespace transzendal {
namespace {

using Row = std::vector<std::string>;

class SubjectTable : public testing::BuilderTest {
 protected:
  void Build(std::string_view body) {
    ForwardRunContext& context = Run(body);
    BuildSubjectTable(context);
    AppendTaskRows(context);
  }
};

TEST_F(SubjectTable, HasItsSixFieldsInOrder) {
  Build("");
  ExchangeTable table = ExchangeTable::Open(dir_.path(), "ASIGNOMT", TableAccess::kRead, ',');
  const auto& fields = table.structure().fields;
  ASSERT_EQ(fields.size(), 6u);
  const std::vector<std::tuple<std::string, char, std::size_t>> expected = {
      {"COD", 'C', 10}, {"CODLARGO", 'C', 10}, {"NOMBRE", 'C', 80},
      {"MATERIA", 'C', 8}, {"CODTAREA", 'C', 10}, {"ESTAREA", 'L', 1}};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(std::tie(fields[i].name, fields[i].type, fields[i].width),
              std::tie(std::get<0>(expected[i]), std::get<1>(expected[i]), std::get<2>(expected[i])));
  }
  EXPECT_EQ(table.LiveRecordCount(), 0u);
}

TEST_F(SubjectTable, SubjectsThenTasksWithTheirCodesCutsAndFlags) {
  Build("<materias><materia>Matemáticas</materia><materia>Lengua</materia></materias>"
        "<tareas><tarea>Matemáticas refuerzo</tarea><tarea>Guardia</tarea></tareas>");
  EXPECT_EQ(Rows("ASIGNOMT", "COD;CODLARGO;NOMBRE;MATERIA;CODTAREA;ESTAREA"),
            (std::vector<Row>{
                {"Matemática", "Matemática", "Matemáticas", "", "", "F"},
                {"Lengua", "Lengua", "Lengua", "", "", "F"},
                {"Matemátic1", "Matemática", "Matemáticas refuerzo", "", "Matemática", "T"},
                {"Guardia", "Guardia", "Guardia", "", "Guardia", "T"},
            }));
  ASSERT_EQ(report_.tables().size(), 1u);
  EXPECT_EQ(report_.tables()[0].rows, 4);
}

TEST_F(SubjectTable, TextsDifferingOnlyInLetterCaseGiveOneRowForTheFirst) {
  Build("<materias><materia>Física</materia><materia>FÍSICA</materia></materias>"
        "<tareas><tarea>física</tarea><tarea>Guardia</tarea><tarea>GUARDIA</tarea></tareas>");
  EXPECT_EQ(Column("ASIGNOMT", "NOMBRE"), (std::vector<std::string>{"Física", "Guardia"}));
  ASSERT_EQ(report_.notes().size(), 3u);
  EXPECT_EQ(report_.notes()[0].record, "materia n.º 2 (línea 1)");
  EXPECT_EQ(report_.notes()[0].reason,
            "no se ha escrito: su texto «FÍSICA» ya está en la tabla ASIGNOMT (sin distinguir mayúsculas)");
  EXPECT_EQ(report_.notes()[1].record, "tarea n.º 1 (línea 1)");
}

TEST_F(SubjectTable, ALongTextIsCutByEachFieldAndKeptWholeInTheRegistry) {
  const std::string long_text(95, 'x');
  ForwardRunContext& context = Run("<materias><materia>" + long_text + "</materia></materias>"
                                   "<tareas><tarea>" + long_text + "</tarea></tareas>");
  BuildSubjectTable(context);
  ASSERT_TRUE(context.subject_registries.has_value());
  EXPECT_TRUE(context.subject_registries->long_texts.Holds(long_text));
  AppendTaskRows(context);
  EXPECT_FALSE(context.subject_registries.has_value());  // discarded by the tasks step
  EXPECT_EQ(Rows("ASIGNOMT", "COD;CODLARGO;NOMBRE"),
            (std::vector<Row>{{std::string(10, 'x'), std::string(10, 'x'), std::string(80, 'x')}}));
}

TEST_F(SubjectTable, BlanksAroundTextsAreTrimmedAndInnerOnesKept) {
  Build("<materias><materia>\n\t  Educación   Física \n</materia><materia>Educación</materia></materias>");
  // The cut "Educación " keeps its blank in the registry, and reads back without it; the second
  // subject, whose code would read back the same, is numbered on.
  EXPECT_EQ(Rows("ASIGNOMT", "COD;NOMBRE"),
            (std::vector<Row>{{"Educación", "Educación   Física"}, {"Educación1", "Educación"}}));
}

TEST_F(SubjectTable, AnEmptySubjectGivesOneEmptyRowAndLaterOnesAreDuplicates) {
  Build("<materias><materia/><materia>  </materia><materia>Arte</materia></materias>");
  EXPECT_EQ(Rows("ASIGNOMT", "COD;CODLARGO;NOMBRE"),
            (std::vector<Row>{{"", "", ""}, {"Arte", "Arte", "Arte"}}));
}

TEST_F(SubjectTable, TheSubjectsStepStartsFromEmptyRegistriesWhateverAFailedRunLeft) {
  ForwardRunContext& context = Run("<materias><materia>Matemáticas</materia></materias>");
  BuildSubjectTable(context);  // a run that stopped before the tasks step
  BuildSubjectTable(context);
  AppendTaskRows(context);
  EXPECT_EQ(Column("ASIGNOMT", "COD"), (std::vector<std::string>{"Matemática"}));
}

}  // namespace
}  // namespace transzendal
