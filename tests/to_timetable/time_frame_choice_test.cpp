#include "time_frame_choice.h"

#include <gtest/gtest.h>

#include "school_reader.h"

namespace transzendal {
namespace {

SchoolModel School(std::string_view frames) {
  return ReadSchoolBytes("<datosZPH><marcosDeHorario>" + std::string(frames) + "</marcosDeHorario></datosZPH>",
                         "marcos.xml");
}

std::string Period(std::string_view submarco, std::string_view dia, std::string_view indice,
                   std::string_view tipo = "A") {
  return "<tramo><submarco>" + std::string(submarco) + "</submarco><dia>" + std::string(dia) +
         "</dia><indice>" + std::string(indice) +
         "</indice><horaEntrada>08:00</horaEntrada><horaSalida>08:55</horaSalida><Tipo>" +
         std::string(tipo) + "</Tipo></tramo>";
}

TEST(TimeFrameList, ListsTheFirstAttributeOfEveryFrameUntrimmedInDocumentOrder) {
  const SchoolModel school = School(R"(<marcoHorario id="2" nombre="Tarde"/>
      <marcoHorario nombre=" Mañana " id="1"/><marcoHorario/>)");
  const auto options = ListTimeFrames(school);
  ASSERT_EQ(options.size(), 3u);
  EXPECT_EQ(options[0].label, "2");
  EXPECT_EQ(options[1].label, " Mañana ");
  EXPECT_EQ(options[2].label, "");
}

TEST(TimeFramePreview, ShowsTheMondayPeriodsOfThatFrameOnly) {
  const SchoolModel school = School("<marcoHorario id=\"1\">" + Period("1", "0", "1") +
                                    Period("1", "1", "1") + Period("1", "0", "2", "Recreo") +
                                    Period(" 1", "0", "3") + Period("1", " 0", "4") +
                                    "</marcoHorario><marcoHorario id=\"2\">" + Period("2", "0", "1") +
                                    "</marcoHorario>");
  EXPECT_EQ(PreviewLines(school, "1"),
            (std::vector<std::string>{"1-08:00-08:55-A", "2-08:00-08:55-Recreo"}));
  EXPECT_EQ(ListTimeFrames(school)[1].preview, (std::vector<std::string>{"1-08:00-08:55-A"}));
}

TEST(TimeFramePreview, LinesAreCutAtThirtyCharacters) {
  const SchoolModel school =
      School("<marcoHorario id=\"1\">" + Period("1", "0", "1", "Lectivo de mañana largo") +
             Period("1", "3", "1") + "</marcoHorario>");
  const auto lines = PreviewLines(school, "1");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "1-08:00-08:55-Lectivo de mañan");  // 30 characters, ñ one of them
}

TEST(TimeFramePreview, AFileWithFewerThanTwoPeriodsHasNoPreview) {
  const SchoolModel school = School("<marcoHorario id=\"1\">" + Period("1", "0", "1") +
                                    "</marcoHorario><marcoHorario id=\"2\"/>");
  EXPECT_TRUE(PreviewLines(school, "1").empty());
}

TEST(FrameChoice, OneOrTwoFramesAreValidInListOrderWhateverTheClickOrder) {
  const std::vector<std::size_t> clicked = {3, 1};
  const FrameChoiceVerdict two = CheckFrameChoice(clicked);
  EXPECT_TRUE(two.valid);
  EXPECT_EQ(two.chosen, (std::vector<std::size_t>{1, 3}));
  EXPECT_EQ(two.message, "");
  const std::vector<std::size_t> one = {0};
  EXPECT_TRUE(CheckFrameChoice(one).valid);
}

TEST(FrameChoice, MoreThanTwoFramesAreRefused) {
  const std::vector<std::size_t> three = {0, 1, 2};
  const FrameChoiceVerdict verdict = CheckFrameChoice(three);
  EXPECT_FALSE(verdict.valid);
  EXPECT_EQ(verdict.message,
            "Demasiados Marcos Horarios seleccionados.\r\nComo máximo puede seleccionar 2 Marcos Horarios");
  EXPECT_TRUE(verdict.chosen.empty());
}

TEST(FrameChoice, NoFrameIsRefused) {
  const FrameChoiceVerdict verdict = CheckFrameChoice({});
  EXPECT_FALSE(verdict.valid);
  EXPECT_EQ(verdict.message, "Debe al menos seleccionar 1 Marco Horario.");
}

}  // namespace
}  // namespace transzendal
