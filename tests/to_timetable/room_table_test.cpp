#include "room_table.h"

#include "builder_fixture.h"
#include "expect_error.h"

namespace transzendal {
namespace {

using Row = std::vector<std::string>;

std::string Rooms(std::initializer_list<std::string_view> names) {
  std::string xml = "<aulas>";
  for (auto name : names) xml += "<aula><nombre>" + std::string(name) + "</nombre></aula>";
  return xml + "</aulas>";
}

class RoomTable : public testing::BuilderTest {
 protected:
  void Build(const std::string& body) { BuildRoomTable(Run(body)); }
};

TEST_F(RoomTable, OrdinaryRoomsAreCutToTenAndTrimmed) {
  Build(Rooms({"Aula de informática", "Aula 1 de arte", "Aula A", "AULA A", "", ""}));
  EXPECT_EQ(Rows("AULAT", "ABREV;NOMBRE;EDIFICIO;MAXALUM;CV_GENERICA"),
            (std::vector<Row>{{"Aula de in", "Aula de informática", "", "", "N"},
                              {"Aula 1 de", "Aula 1 de arte", "", "", "N"},
                              {"Aula A", "Aula A", "", "", "N"},
                              {"AULA A1", "AULA A", "", "", "N"},
                              {"", "", "", "", "N"},
                              {"1", "", "", "", "N"}}));
}

TEST_F(RoomTable, ASeriesOfLaboratoriesIsNumberedAndTheEleventhShortened) {
  Build(Rooms({"Laboratorio de física", "Laboratorio de química", "Laboratorio de biología",
               "Laboratorio 4", "Laboratorio 5", "Laboratorio 6", "Laboratorio 7", "Laboratorio 8",
               "Laboratorio 9", "Laboratorio 10", "Laboratorio 11"}));
  const auto codes = Column("AULAT", "ABREV");
  EXPECT_EQ(std::vector<std::string>(codes.begin(), codes.begin() + 3),
            (std::vector<std::string>{"Laboratori", "Laborator1", "Laborator2"}));
  EXPECT_EQ(codes[10], "Laborato10");
}

TEST_F(RoomTable, GenericRoomsFollowTheOrdinaryOnes) {
  Build(Rooms({"Gimnasio"}) + "<conjuntoDeAulas><general nombre=\"Taller\" numero=\"3\"/></conjuntoDeAulas>");
  EXPECT_EQ(Rows("AULAT", "ABREV;NOMBRE;CV_GENERICA"),
            (std::vector<Row>{{"Gimnasio", "Gimnasio", "N"},
                              {"Taller1", "Taller", "S"},
                              {"Taller2", "Taller", "S"},
                              {"Taller3", "Taller", "S"}}));
}

TEST_F(RoomTable, LongBaseNamesKeepTheirHeadAndTheirNumber) {
  EXPECT_EQ(GenericRoomCandidate("Laboratorio", 1), "Laboratio1");
  EXPECT_EQ(GenericRoomCandidate("Laboratorio", 10), "Laboraio10");
  EXPECT_EQ(GenericRoomCandidate("Aula polivalente de musica", 2), "valente de musica2");  // L >= 19
  EXPECT_EQ(GenericRoomCandidate(" Desdoble ", 3), "Desdobl 3");  // cut, then trimmed
  EXPECT_EQ(GenericRoomCandidate("Desdoble ", 3), "Desdoble 3");
  Build("<conjuntoDeAulas><general a=\"Laboratorio\" b=\"10\"/></conjuntoDeAulas>");
  const auto codes = Column("AULAT", "ABREV");
  ASSERT_EQ(codes.size(), 10u);
  EXPECT_EQ(codes[0], "Laboratio1");
  EXPECT_EQ(codes[9], "Laboraio10");
  EXPECT_EQ(Column("AULAT", "NOMBRE")[0], "Laboratorio");
}

TEST_F(RoomTable, AGenericCodeTakenByAnOrdinaryRoomIsNumbered) {
  Build(Rooms({"Taller1"}) + "<conjuntoDeAulas><general nombre=\"Taller\" numero=\"1\"/></conjuntoDeAulas>");
  EXPECT_EQ(Column("AULAT", "ABREV"), (std::vector<std::string>{"Taller1", "Taller11"}));
}

TEST_F(RoomTable, NoGenericRoomsForZeroOrANegativeNumberAndOnlyTheFirstGeneralCounts) {
  Build("<conjuntoDeAulas><general nombre=\"Taller\" numero=\"0\"/><general nombre=\"Otro\" numero=\"2\"/>"
        "</conjuntoDeAulas>");
  EXPECT_TRUE(Rows("AULAT", "ABREV").empty());
  Build("<conjuntoDeAulas><general nombre=\"Taller\" numero=\" -2 \"/></conjuntoDeAulas>");
  EXPECT_TRUE(Rows("AULAT", "ABREV").empty());
}

TEST_F(RoomTable, AttributesAreTakenByPositionNotByName) {
  Build("<conjuntoDeAulas><general numero=\"2\" nombre=\"12\"/></conjuntoDeAulas>");
  EXPECT_EQ(Rows("AULAT", "ABREV;NOMBRE"),
            (std::vector<Row>{{"21", "2"}, {"22", "2"}, {"23", "2"}, {"24", "2"}, {"25", "2"},
                              {"26", "2"}, {"27", "2"}, {"28", "2"}, {"29", "2"}, {"210", "2"},
                              {"211", "2"}, {"212", "2"}}));
  EXPECT_RUN_ERROR(Build("<conjuntoDeAulas><general numero=\"2\" nombre=\"Taller\"/></conjuntoDeAulas>"),
                   "'Taller' is not a valid integer value");
}

TEST_F(RoomTable, AGeneralElementWithFewerThanTwoAttributesStopsTheRun) {
  EXPECT_RUN_ERROR(Build("<conjuntoDeAulas>\n<general nombre=\"Taller\"/></conjuntoDeAulas>"),
                   "El elemento general de conjuntoDeAulas (conjunto de aulas n.º 1 (línea 2)) necesita "
                   "dos atributos: el nombre base de las aulas genéricas y su número.");
}

TEST_F(RoomTable, AnAbsurdNumberOfGenericRoomsStopsTheRun) {
  EXPECT_RUN_ERROR(Build("<conjuntoDeAulas><general nombre=\"Taller\" numero=\"2000000000\"/></conjuntoDeAulas>"),
                   "El elemento general de conjuntoDeAulas (conjunto de aulas n.º 1 (línea 1)) pide "
                   "2000000000 aulas genéricas; el máximo es 10000.");
}

}  // namespace
}  // namespace transzendal
