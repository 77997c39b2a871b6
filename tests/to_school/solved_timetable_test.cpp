// What the reverse run writes into the result: the shape and the values of every tramo.
#include "solved_timetable.h"

#include <gtest/gtest.h>

#include "reverse_fixture.h"

namespace transzendal::testing {
namespace {

using SolvedTimetable = ReverseRunTest;

TEST_F(SolvedTimetable, TheResultIsTheSourceWithOneHorarioOfWellFormedTramos) {
  WriteSoluc({Lesson("1", "1"), Lesson("0", "3"), Lesson("5", "7", "1", "", "MPS", "Otra")});
  ChooseSchool();
  ASSERT_EQ(Run(), RunOutcome::kCompleted);
  EXPECT_EQ(ReadBytes(Result()),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<datosZPH><materias/><horario>" +
                Tramo(kFirstPeriod) +
                Tramo(R"(dia="4" indice="7" marco="2")", R"(anonima="Desdoble")", "", "MPS") +
                "</horario></datosZPH>\n");
  EXPECT_EQ(
      Notes(),
      (std::vector<std::string>{
          "registro n.º 2 de SOLUC: su DIA es 0 (clase sin colocar); no se ha escrito en el "
          "horario",
          "registro n.º 3 de SOLUC: ASIG «Otra» con CODGRUPO «ESO1A» no está en la tabla ASIGT; "
          "la sesión del tramo va vacía"}));
  EXPECT_EQ(ui_.finished_report->results()[1], "Horario escrito: 2 tramos.");
}

TEST_F(SolvedTimetable, AnEmptySolucOrOneOfDayZeroOnlyGivesOneEmptyHorario) {
  for (const auto& rows : {std::vector<SolvedRow>{}, {Lesson("0", "1"), Lesson("", "")}}) {
    EXPECT_EQ(TimetableFor(rows), "<horario/>");
    EXPECT_EQ(Notes().size(), rows.size());
  }
}

TEST_F(SolvedTimetable, DaysAndHoursReadAsIntegersRoundedHalfToEvenInEveryLayout) {
  for (const SolucFormat& format : {kDbase3, kDbase4, kDbase7}) {
    EXPECT_EQ(TimetableFor({Lesson("1", "1"), Lesson("5.0", "7"), Lesson("2.5", "2.5"),
                            Lesson("3.5", "-0.5"), Lesson("-2147483648", "")},
                           format),
              "<horario>" + Tramo(kFirstPeriod) + Tramo(R"(dia="4" indice="7" marco="1")") +
                  Tramo(R"(dia="1" indice="2" marco="1")") +
                  Tramo(R"(dia="3" indice="0" marco="1")") +
                  Tramo(R"(dia="-2147483649" indice="0" marco="1")") + "</horario>")
        << format.name;
  }
}

TEST_F(SolvedTimetable, RoomsByTheirExactCodeOnlyOrdinaryOnesNamedABlankOneAnonymous) {
  EXPECT_EQ(TimetableFor({Lesson("1", "1", "0", "LABQ"), Lesson("1", "1", "0", " \t"),
                          Lesson("1", "1", "0", "a11"), Lesson("1", "1", "0", "DES1")}),
            "<horario>" + Tramo(kFirstPeriod, "id=\"Laboratorio de Química\"") +
                Tramo(kFirstPeriod, R"(anonima="Desdoble")") + Tramo(kFirstPeriod, "") +
                Tramo(kFirstPeriod, "") + "</horario>");
  EXPECT_EQ(Notes(),
            (std::vector<std::string>{"registro n.º 3 de SOLUC: su AULA «a11» no está en la "
                                      "tabla AULAT; el aula del tramo va sin nombre"}));
  // A second run on the same school replaces the first result.
  WriteRooms({{"A11", "Aula 1.1", "N"}, {"S1", "Desdoble", "s"}});  // no room marked "S"
  EXPECT_EQ(
      TimetableFor({Lesson("1", "1", "0", ""), Lesson("1", "1", "0", "S1")}),
      "<horario>" + Tramo(kFirstPeriod, R"(anonima="")") + Tramo(kFirstPeriod, "") + "</horario>");
}

TEST_F(SolvedTimetable, ThePairsRowOfTheRecordsOwnTeacherGivesTheSessionElseTheFirstRow) {
  WriteAssignments({{"Lengua", "JGL", "ESO1A", "1001"},
                    {"Lengua", "MPS", "ESO1A", "1002"},
                    {"Lengua", "MPS", "ESO1B", "1003"},
                    {"Lengua", "AMR", "ESO1B", ""}});
  const std::string room = R"(id="Aula 1.1")";
  EXPECT_EQ(TimetableFor({Lesson("1", "1", "0", "A11", "MPS"), Lesson("1", "1", "0", "A11", "XYZ"),
                          Lesson("1", "1", "0", "A11", "AMR", "Lengua", "ESO1B")}),
            "<horario>" + Tramo(kFirstPeriod, room, "1002", "MPS") +
                Tramo(kFirstPeriod, room, "1001", "XYZ") + Tramo(kFirstPeriod, room, "", "AMR") +
                "</horario>");
  EXPECT_TRUE(Notes().empty());  // an assignment without session is found all the same
}

TEST_F(SolvedTimetable, AFrameCodeThatDiashorastLacksGivesAnEmptyMarcoEvenAfterAFoundOne) {
  EXPECT_EQ(TimetableFor({Lesson("1", "1", "1"), Lesson("1", "1", "7")}),
            "<horario>" + Tramo(R"(dia="0" indice="1" marco="2")") +
                Tramo(R"(dia="0" indice="1" marco="")") + "</horario>");
  EXPECT_EQ(Notes(),
            (std::vector<std::string>{"registro n.º 2 de SOLUC: su MARCO «7» no está en la "
                                      "tabla DIASHORAST; el tramo lleva «marco» vacío"}));
}

TEST_F(SolvedTimetable, AnEarlierTimetableIsLeftOutAndTheNewEntriesGoIntoTheOnlyHorario) {
  WriteSoluc({Lesson("1", "1")});
  ChooseSchool(
      "<datosZPH>\n  <horario><tramo dia=\"9\"/></horario>\n  <materias/>\n  "
      "<horario/>\n</datosZPH>");
  ASSERT_EQ(Run(), RunOutcome::kCompleted);
  EXPECT_EQ(ReadBytes(Result()),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<datosZPH>\n  <materias/>\n<horario>" +
                Tramo(kFirstPeriod) + "</horario></datosZPH>\n");
  EXPECT_EQ(ui_.finished_report->results().back(),
            "El archivo elegido ya tenía horario: se ha dejado fuera del resultado, que solo lleva "
            "el horario nuevo.");
}

TEST_F(SolvedTimetable, TheResultKeepsTheEncodingThatTheSourceDeclares) {
  WriteSoluc({Lesson("1", "1", "0", "LABQ", "\xD1GM")});
  ChooseSchool(
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<datosZPH>Espa\xF1"
      "a</datosZPH>");
  ASSERT_EQ(Run(), RunOutcome::kCompleted);
  EXPECT_EQ(ReadBytes(Result()),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<datosZPH>Espa\xF1"
            "a<horario>" +
                Tramo(kFirstPeriod, "id=\"Laboratorio de Qu\xEDmica\"", "1001", "\xD1GM") +
                "</horario></datosZPH>\n");
}

}  // namespace
}  // namespace transzendal::testing
