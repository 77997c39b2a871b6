#include "teacher_table.h"

#include "builder_fixture.h"

namespace transzendal {
namespace {

using Row = std::vector<std::string>;

std::string Teacher(std::string_view short_name, std::string_view full_name) {
  return "<profesor><nombre>" + std::string(short_name) + "</nombre><nombreCompleto>" +
         std::string(full_name) + "</nombreCompleto></profesor>";
}

class TeacherTable : public testing::BuilderTest {
 protected:
  void Build(const std::string& teachers) { BuildTeacherTable(Run("<profesores>" + teachers + "</profesores>")); }
};

TEST_F(TeacherTable, OneRowPerTeacherWithItsCodeAndFullName) {
  Build(Teacher("JGL", "Juan García López") + Teacher("JGL", "Julia Gil Luna") +
        Teacher("jgl", "Jorge Gómez Lara"));
  EXPECT_EQ(Rows("PROFT", "ABREV;NOMBRE;DEPART;EMAIL;DNI;X_EMPLEADO"),
            (std::vector<Row>{{"JGL", "Juan García López", "", "", "", ""},
                              {"JGL1", "Julia Gil Luna", "", "", "", ""},
                              {"jgl2", "Jorge Gómez Lara", "", "", "", ""}}));
  ExchangeTable table = ExchangeTable::Open(dir_.path(), "PROFT", TableAccess::kRead, ',');
  EXPECT_EQ(table.structure().fields[4].type, 'I');
  EXPECT_EQ(table.ReadInteger("DNI"), 0);  // null
}

TEST_F(TeacherTable, TenCharacterAndLongShortNames) {
  Build(Teacher("HERNANDEZG", "A") + Teacher("HERNANDEZG", "B") + Teacher("MGARCIALOPEZ", "C"));
  EXPECT_EQ(Column("PROFT", "ABREV"),
            (std::vector<std::string>{"HERNANDEZG", "HERNANDEZ1", "MGARCIALEZ"}));
}

TEST_F(TeacherTable, LongShortNamesThatShortenAlikeGetDistinctCodes) {
  Build(Teacher("MGARCIALOPEZ", "María García López") + Teacher("MGARCIALAPEZ", "Marta García Lapez"));
  EXPECT_EQ(Column("PROFT", "ABREV"), (std::vector<std::string>{"MGARCIALEZ", "MGARCIALZ1"}));
}

TEST_F(TeacherTable, AFullNameIsCutToEightyCharacters) {
  Build(Teacher("X", std::string(90, 'n')));
  EXPECT_EQ(Column("PROFT", "NOMBRE"), (std::vector<std::string>{std::string(80, 'n')}));
}

TEST_F(TeacherTable, ATeacherWithoutNameIsWrittenAndNotedAsIncomplete) {
  Build("<profesor><nombreCompleto>Ana Ruiz</nombreCompleto></profesor>" + Teacher("MPS", "María Pérez"));
  EXPECT_EQ(Rows("PROFT", "ABREV;NOMBRE"),
            (std::vector<Row>{{"", "Ana Ruiz"}, {"MPS", "María Pérez"}}));
  ASSERT_EQ(report_.notes().size(), 1u);
  EXPECT_EQ(report_.notes()[0].record, "profesor n.º 1 (línea 1)");
  EXPECT_EQ(report_.notes()[0].reason, "falta el elemento «nombre»; se ha leído como texto vacío");
}

TEST_F(TeacherTable, NoTeachersGiveAnEmptyTable) {
  BuildTeacherTable(Run(""));
  EXPECT_TRUE(Rows("PROFT", "ABREV").empty());
  EXPECT_EQ(report_.tables()[0].rows, 0);
}

}  // namespace
}  // namespace transzendal
