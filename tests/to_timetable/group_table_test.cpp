#include "group_table.h"

#include "builder_fixture.h"

namespace transzendal {
namespace {

using Row = std::vector<std::string>;

std::string Group(std::string_view submarco, std::string_view name, std::string_view level,
                  std::string_view course, std::string_view unit) {
  return "<grupo submarco=\"" + std::string(submarco) + "\"><nombre>" + std::string(name) +
         "</nombre><nivel>" + std::string(level) + "</nivel><curso>" + std::string(course) +
         "</curso><unidad>" + std::string(unit) + "</unidad></grupo>";
}

class GroupTable : public testing::BuilderTest {
 protected:
  void Build(const std::string& groups, TimeFrameState frames = {"1", "", "0", "1"}) {
    ForwardRunContext& context = Run("<grupos>" + groups + "</grupos>");
    context.frames = std::move(frames);
    BuildGroupTable(context);
  }
};

TEST_F(GroupTable, CodesJoinLevelCourseAndUnitAndRepeatsAreNumbered) {
  Build(Group("1", "1º ESO A", "ESO", "1", "A") + Group("1", "1º ESO A bis", "ESO", "1", "A") +
        Group("1", "otro", "ESO", "1", "A") + Group("1", "minúsculas", "eso", "1", "a"));
  EXPECT_EQ(Rows("GRUPOST", "ABREV;TURNO;NIVEL;CURSO;GRUPO;DESCRIP;MARCO"),
            (std::vector<Row>{{"ESO1A", "", "ESO", "1", "A", "1º ESO A", "0"},
                              {"ESO1A1", "", "ESO", "1", "A", "1º ESO A bis", "0"},
                              {"ESO1A2", "", "ESO", "1", "A", "otro", "0"},
                              {"eso1a3", "", "eso", "1", "a", "minúsculas", "0"}}));
}

TEST_F(GroupTable, ATakenTenCharacterCodeLosesItsLastCharacterBeforeNumbering) {
  Build(Group("1", "a", "CFGM-", "SMR", "1A") + Group("1", "b", "CFGM-", "SMR", "1A"));
  EXPECT_EQ(Column("GRUPOST", "ABREV"), (std::vector<std::string>{"CFGM-SMR1A", "CFGM-SMR11"}));
}

TEST_F(GroupTable, LongCodesAreShortenedAndFieldsCut) {
  Build(Group("1", "1º Bach A", "BACHILLER", "1", "A") + Group("1", "1º Bach B", "BACHILLERATO", "1", "A"));
  // The second code shortens to the first's: numbering goes on so that both stay distinct.
  EXPECT_EQ(Rows("GRUPOST", "ABREV;NIVEL"),
            (std::vector<Row>{{"BACHILLE1A", "BACHI"}, {"BACHILLEA1", "BACHI"}}));
}

TEST_F(GroupTable, OnlyGroupsOfTheAppliedFramesAreWrittenWithTheirFramesDigit) {
  Build(Group("1", "uno", "A", "1", "A") + Group("2", "dos", "B", "1", "A") + Group("3", "tres", "C", "1", "A"),
        {"1", "2", "1", "0"});
  EXPECT_EQ(Rows("GRUPOST", "DESCRIP;MARCO"), (std::vector<Row>{{"uno", "1"}, {"dos", "0"}}));
  ASSERT_EQ(report_.notes().size(), 1u);
  EXPECT_EQ(report_.notes()[0].record, "grupo n.º 3 (línea 1)");
  EXPECT_EQ(report_.notes()[0].reason, "no se ha escrito: su marco horario «3» no es uno de los aplicados");
}

TEST_F(GroupTable, TheWholeSubmarcoIsComparedFirstThenItsFirstCharacter) {
  Build(Group("12", "doce", "A", "1", "A") + Group("a", "a", "B", "1", "A") + Group("12", "x", "C", "1", "A"),
        {"1", "A", "0", "1"});
  EXPECT_EQ(Column("GRUPOST", "DESCRIP"), (std::vector<std::string>{"doce", "x"}));
  Build(Group("12", "doce", "A", "1", "A") + Group("1", "uno", "B", "1", "A"), {"12", "1", "0", "1"});
  EXPECT_EQ(Rows("GRUPOST", "DESCRIP;MARCO"), (std::vector<Row>{{"doce", "0"}, {"uno", "1"}}));
}

TEST_F(GroupTable, AGroupWithoutFrameBelongsToTheOnlyFrameAppliedAndIsLeftOutWithTwo) {
  const std::string groups = Group("", "vacío", "A", "1", "A") + Group("  ", "blancos", "B", "1", "A") +
                             "<grupo><nombre>sin atributo</nombre><nivel>C</nivel><curso>1</curso>"
                             "<unidad>A</unidad></grupo>";
  Build(groups);
  EXPECT_EQ(Rows("GRUPOST", "DESCRIP;MARCO"),
            (std::vector<Row>{{"vacío", "0"}, {"blancos", "0"}, {"sin atributo", "0"}}));
  Build(groups, {"1", "2", "0", "1"});
  EXPECT_TRUE(Rows("GRUPOST", "DESCRIP").empty());
  ASSERT_EQ(report_.notes().size(), 3u);
  EXPECT_EQ(report_.notes()[0].reason, "no se ha escrito: no indica su marco horario (submarco) y se aplican dos");
}

TEST_F(GroupTable, ASingleGroupIsWritten) {
  Build(Group("1", "único", "ESO", "1", "A"));
  EXPECT_EQ(Column("GRUPOST", "ABREV"), (std::vector<std::string>{"ESO1A"}));
}

TEST_F(GroupTable, AGroupWithoutNameIsWrittenAndNotedAsIncomplete) {
  Build("<grupo submarco=\"1\"><nivel>ESO</nivel><curso>2</curso><unidad>B</unidad></grupo>");
  EXPECT_EQ(Rows("GRUPOST", "ABREV;DESCRIP"), (std::vector<Row>{{"ESO2B", ""}}));
  ASSERT_EQ(report_.notes().size(), 1u);
  EXPECT_EQ(report_.notes()[0].reason, "falta el elemento «nombre»; se ha leído como texto vacío");
}

}  // namespace
}  // namespace transzendal
