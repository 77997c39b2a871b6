#include "assignment_table.h"

#include "builder_fixture.h"
#include "expect_error.h"
#include "group_table.h"
#include "subject_table.h"
#include "teacher_table.h"

namespace transzendal {
namespace {

using Row = std::vector<std::string>;

constexpr std::string_view kSchool =
    "<materias><materia>Matemáticas</materia><materia>Física</materia><materia>FÍSICA</materia>"
    "<materia>Ámbito Científico-Tecnológico del Programa de Diversificación Curricular de Tercero "
    "y Cuarto de ESO</materia></materias>"
    "<tareas><tarea>Guardia</tarea></tareas>"
    "<profesores><profesor><nombre>JGL</nombre><nombreCompleto>Juan</nombreCompleto></profesor>"
    "<profesor><nombre>JGL</nombre><nombreCompleto>Julia</nombreCompleto></profesor>"
    "<profesor><nombre>MGARCIALOPEZ</nombre><nombreCompleto>María</nombreCompleto></profesor></profesores>"
    "<grupos><grupo submarco=\"1\"><nombre>1º ESO A</nombre><nivel>ESO</nivel><curso>1</curso>"
    "<unidad>A</unidad></grupo><grupo submarco=\"1\"><nombre>1º ESO A</nombre><nivel>ESO</nivel>"
    "<curso>1</curso><unidad>B</unidad></grupo><grupo submarco=\"2\"><nombre>2º BACH</nombre>"
    "<nivel>BACH</nivel><curso>2</curso><unidad>A</unidad></grupo></grupos>";

std::string Session(std::string_view id, std::string_view subject, std::string_view teacher = "JGL",
                    std::string_view group = "1º ESO A", std::string_view count = "4",
                    std::string_view task = "") {
  return "<sesion id=\"" + std::string(id) + "\"><materia>" + std::string(subject) +
         "</materia><profesor>" + std::string(teacher) + "</profesor><grupo>" + std::string(group) +
         "</grupo><tarea>" + std::string(task) + "</tarea><distribucionSemanal><distribucionVariable>"
         "<numSesiones>" + std::string(count) + "</numSesiones></distribucionVariable>"
         "</distribucionSemanal></sesion>";
}

class AssignmentTable : public testing::BuilderTest {
 protected:
  void Build(const std::string& sessions) {
    ForwardRunContext& context =
        Run(std::string(kSchool) + "<sesionesLectivas>" + sessions + "</sesionesLectivas>");
    BuildSubjectTable(context);
    AppendTaskRows(context);
    BuildTeacherTable(context);
    context.frames = {"1", "", "0", "1"};
    BuildGroupTable(context);
    BuildAssignmentTable(context);
  }

  std::vector<std::string> Notes() const {
    std::vector<std::string> notes;
    for (const auto& note : report_.notes()) notes.push_back(note.record + ": " + note.reason);
    return notes;
  }
};

TEST_F(AssignmentTable, ARowCarriesTheCodesOfItsSubjectTeacherGroupAndTask) {
  Build(Session("1001", "Matemáticas", "JGL1", "1º ESO A", "4", "Guardia"));
  EXPECT_EQ(Rows("ASIGT", "CASIG;CPROF;CGRUP;CAULA;TURNO;NIVEL;CURSO;GRUPO;HORAS;SESIONES;NCONEX;CTAREA;CV_SESION"),
            (std::vector<Row>{{"Matemática", "JGL1", "ESO1A", "", "", "ESO", "1", "A", "4", "1111", "",
                               "Guardia", "1001"}}));
}

TEST_F(AssignmentTable, TheLessonPatternFollowsTheWeeklyCount) {
  std::string sessions;
  int id = 1;
  for (const char* count : {"", "  ", "4", "13", "14", "15", "23", "0"}) {
    sessions += Session(std::to_string(id++), "Matemáticas", "JGL", "1º ESO A", count);
  }
  Build(sessions);
  EXPECT_EQ(Rows("ASIGT", "HORAS;SESIONES"),
            (std::vector<Row>{{"1", "1"},
                              {"1", "1"},
                              {"4", "1111"},
                              {"13", std::string(13, '1')},
                              {"14", std::string(14, '1')},
                              {"15", "2" + std::string(13, '1')},
                              {"23", "10" + std::string(13, '1')},
                              {"0", ""}}));
}

TEST_F(AssignmentTable, LookupsThatFindNothingLeaveTheirFieldsEmpty) {
  Build(Session("1", "Matemáticas", "NADIE", "3º ESO Z", "2", "Reunión"));
  EXPECT_EQ(Rows("ASIGT", "CASIG;CPROF;CGRUP;NIVEL;CURSO;GRUPO;CTAREA"),
            (std::vector<Row>{{"Matemática", "", "", "", "", "", ""}}));
}

TEST_F(AssignmentTable, TheFirstOfTwoGroupsWithTheSameNameIsFound) {
  Build(Session("1", "Física"));
  EXPECT_EQ(Rows("ASIGT", "CGRUP;GRUPO"), (std::vector<Row>{{"ESO1A", "A"}}));
}

TEST_F(AssignmentTable, AGroupOfAFrameNotAppliedIsNotFound) {
  Build(Session("1", "Física", "JGL", "2º BACH"));
  EXPECT_EQ(Rows("ASIGT", "CASIG;CGRUP"), (std::vector<Row>{{"Física", ""}}));
}

TEST_F(AssignmentTable, ASessionWhoseSubjectIsNowhereIsLeftOutBeforeAnythingElseIsRead) {
  Build(Session("1", "Química", "JGL", "1º ESO A", "dos") + Session("x", "Alemán") +
        Session("3", "Física"));
  EXPECT_EQ(Column("ASIGT", "CV_SESION"), (std::vector<std::string>{"3"}));
  EXPECT_EQ(Notes(), (std::vector<std::string>{
                         "materia n.º 3 (línea 1): no se ha escrito: su texto «FÍSICA» ya está en la "
                         "tabla ASIGNOMT (sin distinguir mayúsculas)",
                         "grupo n.º 3 (línea 1): no se ha escrito: su marco horario «2» no es uno de "
                         "los aplicados",
                         "sesión n.º 1 (línea 1): no se ha escrito: su materia «Química» no está en la "
                         "tabla ASIGNOMT",
                         "sesión n.º 2 (línea 1): no se ha escrito: su materia «Alemán» no está en la "
                         "tabla ASIGNOMT"}));
}

TEST_F(AssignmentTable, ASubjectNamedInOtherLetterCaseOrLongerThanNombreKeepsItsLessons) {
  Build(Session("1", "FÍSICA") + Session("2", "matemáticas") +
        Session("3", "Ámbito Científico-Tecnológico del Programa de Diversificación Curricular de "
                     "Tercero y Cuarto de ESO"));
  EXPECT_EQ(Rows("ASIGT", "CASIG;CV_SESION"),
            (std::vector<Row>{{"Física", "1"}, {"Matemática", "2"}, {"Ámbito Cie", "3"}}));
}

TEST_F(AssignmentTable, ATeacherNamedByTheShortNameOfTheFileGetsTheCodeItWasGiven) {
  Build(Session("1", "Física", "MGARCIALOPEZ") + Session("2", "Física", "jgl") +
        Session("3", "Física", "JGL"));
  EXPECT_EQ(Column("ASIGT", "CPROF"), (std::vector<std::string>{"MGARCIALEZ", "", "JGL"}));
}

TEST_F(AssignmentTable, ANonIntegerCountOrIdentifierStopsTheRun) {
  EXPECT_RUN_ERROR(Build(Session("1", "Física", "JGL", "1º ESO A", "dos")), "'dos' is not a valid integer value");
  EXPECT_RUN_ERROR(Build(Session("S-1", "Física")), "'S-1' is not a valid integer value");
}

TEST_F(AssignmentTable, ASessionWithoutAttributesStopsTheRunNamingIt) {
  EXPECT_RUN_ERROR(Build("\n<sesion><materia>Física</materia></sesion>"),
                   "La sesión sesión n.º 1 (línea 2) no tiene atributos: falta su identificador, que "
                   "hace falta para devolver el horario a Colvaria.");
}

}  // namespace
}  // namespace transzendal
