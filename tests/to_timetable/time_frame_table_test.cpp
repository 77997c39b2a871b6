#include "time_frame_table.h"

#include "builder_fixture.h"
#include "expect_error.h"

namespace transzendal {
namespace {

using Row = std::vector<std::string>;

std::string Period(std::string_view submarco, std::string_view dia, std::string_view indice,
                   std::string_view start = "08:00:00", std::string_view end = "08:55:00",
                   std::string_view tipo = "Lectivo") {
  return "<tramo><submarco>" + std::string(submarco) + "</submarco><dia>" + std::string(dia) +
         "</dia><indice>" + std::string(indice) + "</indice><horaEntrada>" + std::string(start) +
         "</horaEntrada><horaSalida>" + std::string(end) + "</horaSalida><Tipo>" +
         std::string(tipo) + "</Tipo></tramo>";
}

std::string Frames(std::initializer_list<std::pair<std::string_view, std::string>> frames) {
  std::string xml = "<marcosDeHorario>";
  for (const auto& [id, periods] : frames) {
    xml += "<marcoHorario id=\"" + std::string(id) + "\">" + periods + "</marcoHorario>";
  }
  return xml + "</marcosDeHorario>";
}

class TimeFrameTable : public testing::BuilderTest {
 protected:
  ForwardRunContext& Build(const std::string& body) {
    ForwardRunContext& context = Run(body);
    BuildTimeFrameTable(context);
    return context;
  }
};

TEST_F(TimeFrameTable, OneFrameIsAppliedWithoutAskingAndGetsMarcoZero) {
  const ForwardRunContext& context =
      Build(Frames({{"1", Period("1", "0", "1") + Period("1", "1", "10", "09:00", "08:30")}}));
  EXPECT_EQ(Rows("DIASHORAST",
                 "DIHO;CODDIHO;DIA;TEXTODIA;HORA;TEXTOHOR;HORADESDE;HORAHASTA;MINUTOS;MARCO;MARCOXML;"
                 "CV_MARCO_ID;CV_SUBMARCO;CV_DIA;CV_HORADESDE;CV_HORAHASTA;CV_TIPO"),
            (std::vector<Row>{
                {"11", "", "1", "Lunes", "1", "1-08:00-08:55", "08:00", "08:55", "55", "0", "1", "1",
                 "1", "0", "08:00:00", "08:55:00", "Lectivo"},
                {"210", "", "2", "Martes", "10", "10-09:00-08:30", "09:00", "08:30", "-30", "0", "1",
                 "1", "1", "1", "09:00", "08:30", "Lectivo"},
            }));
  EXPECT_TRUE(ui_.events.empty());
  EXPECT_EQ(context.frames.first_id, "1");
  EXPECT_EQ(context.frames.second_id, "");
  EXPECT_EQ(context.frames.first_marco, "0");
  EXPECT_EQ(context.frames.second_marco, "1");
}

TEST_F(TimeFrameTable, DayNamesAndDaysOutsideTheWeek) {
  std::string periods;
  for (const char* dia : {"2", "5", "6", "7", "-1"}) periods += Period("1", dia, "1");
  Build(Frames({{"1", periods}}));
  EXPECT_EQ(Rows("DIASHORAST", "DIA;TEXTODIA;CV_DIA"),
            (std::vector<Row>{{"3", "Miércoles", "2"},
                              {"6", "Sábado", "5"},
                              {"7", "Domingo", "6"},
                              {"8", "", "7"},
                              {"0", "", "-"}}));  // CV_DIA keeps one character of "-1"
}

TEST_F(TimeFrameTable, TwoChosenFramesGetTheirDigitsFromTheirMondayFirstPeriods) {
  const auto frames = [](std::string_view first_start, std::string_view second_start) {
    return Frames({{"1", Period("1", "0", "1", first_start)},
                   {"2", Period("2", "0", "1", second_start)},
                   {"3", Period("3", "0", "1")}});
  };
  for (const auto& [first, second, first_marco] :
       {std::tuple{"08:00", "15:00", "0"}, std::tuple{"15:00", "08:00", "1"},
        std::tuple{"08:00", "08:00", "0"}}) {
    ui_.frame_answers = {std::vector<std::size_t>{1, 0}};
    const ForwardRunContext& context = Build(frames(first, second));
    EXPECT_EQ(context.frames.first_id, "1");
    EXPECT_EQ(context.frames.second_id, "2");
    EXPECT_EQ(context.frames.first_marco, first_marco) << first << " " << second;
    EXPECT_EQ(Rows("DIASHORAST", "MARCOXML;MARCO"),
              (std::vector<Row>{{"1", first_marco}, {"2", first_marco == std::string("0") ? "1" : "0"}}));
  }
}

TEST_F(TimeFrameTable, AFrameWithoutMondayFirstPeriodCountsAsMidnightFirstAndAsMidnightEndSecond) {
  // As first frame its start counts as 0 minutes: it keeps "0" against any second frame.
  ui_.frame_answers = {std::vector<std::size_t>{0, 1}};
  Build(Frames({{"1", Period("1", "1", "1", "23:00")}, {"2", Period("2", "0", "1", "00:00")}}));
  EXPECT_EQ(Rows("DIASHORAST", "MARCOXML;MARCO"), (std::vector<Row>{{"1", "0"}, {"2", "1"}}));
  // As second frame it counts as 1440 minutes: the first frame keeps "0" for any start.
  ui_.frame_answers = {std::vector<std::size_t>{0, 1}};
  Build(Frames({{"1", Period("1", "0", "1", "23:59")}, {"2", Period("2", "0", "2", "00:00")}}));
  EXPECT_EQ(Rows("DIASHORAST", "MARCOXML;MARCO"), (std::vector<Row>{{"1", "0"}, {"2", "1"}}));
}

TEST_F(TimeFrameTable, TheChoiceIsAskedAgainWhileRefusedAndShowsEveryFrame) {
  ui_.frame_answers = {std::nullopt, std::nullopt, std::vector<std::size_t>{2}};
  const ForwardRunContext& context = Build(Frames(
      {{"1", Period("1", "0", "1")}, {"2", Period("2", "0", "1")}, {"3", Period("3", "0", "1", "10:00")}}));
  EXPECT_EQ(ui_.events, (std::vector<std::string>{"frames:3", "frames:3", "frames:3"}));
  ASSERT_EQ(ui_.frame_options.size(), 3u);
  EXPECT_EQ(ui_.frame_options[2].label, "3");
  EXPECT_EQ(ui_.frame_options[2].preview, (std::vector<std::string>{"1-10:00-08:55:00-Lectivo"}));
  EXPECT_EQ(context.frames.first_id, "3");
  EXPECT_EQ(Column("DIASHORAST", "MARCOXML"), (std::vector<std::string>{"3"}));
}

TEST_F(TimeFrameTable, PeriodsOfFramesNotChosenAreNotWritten) {
  ui_.frame_answers = {std::vector<std::size_t>{1}};
  Build(Frames({{"1", Period("1", "0", "1") + Period("1", "0", "2")}, {"2", Period("2", "0", "1")}}));
  EXPECT_EQ(Column("DIASHORAST", "MARCOXML"), (std::vector<std::string>{"2"}));
}

TEST_F(TimeFrameTable, APeriodWithEmptySubmarcoBelongsToTheFrameHoldingIt) {
  Build(Frames({{"1", Period("", "0", "1") + Period(" ", "0", "2") + "<tramo><dia>0</dia><indice>3</indice>"
                      "<horaEntrada>10:00</horaEntrada><horaSalida>10:55</horaSalida><Tipo>A</Tipo></tramo>"}}));
  EXPECT_EQ(Rows("DIASHORAST", "HORA;MARCOXML;CV_MARCO_ID;CV_SUBMARCO;MARCO"),
            (std::vector<Row>{{"1", "1", "1", "1", "0"}, {"2", "1", "1", "1", "0"}, {"3", "1", "1", "1", "0"}}));
  ASSERT_EQ(report_.notes().size(), 1u);  // the third period lacks its submarco
  EXPECT_EQ(report_.notes()[0].reason, "falta el elemento «submarco»; se ha leído como texto vacío");
}

TEST_F(TimeFrameTable, ALongFrameIdIsCutOnlyWhereTheTableSaysSo) {
  Build(Frames({{"MAÑANA2026", Period("MAÑANA2026", "0", "1")}}));
  EXPECT_EQ(Rows("DIASHORAST", "MARCOXML;CV_MARCO_ID;CV_SUBMARCO"),
            (std::vector<Row>{{"MAÑANA2026", "MA", "MA"}}));
}

TEST_F(TimeFrameTable, AFrameIdWiderThanMarcoxmlStopsTheRun) {
  const std::string id(20, '7');  // one frame of 20 characters is one frame, not two
  EXPECT_RUN_ERROR(Build(Frames({{id, Period(id, "0", "1")}})),
                   "El identificador «" + id + "» del marco horario que se aplica (marco horario n.º 1 "
                   "(línea 1)) tiene más de 10 caracteres, más de los que caben en la tabla DIASHORAST.");
}

TEST_F(TimeFrameTable, NoFrameOrAFrameWithoutIdStopsTheRun) {
  EXPECT_RUN_ERROR(Build(""), "El archivo no tiene ningún marco horario (marcosDeHorario/marcoHorario): "
                              "sin él no se pueden escribir los días y horas del horario.");
  EXPECT_RUN_ERROR(Build("<marcosDeHorario><marcoHorario nombre=\"x\"/></marcosDeHorario>"),
                   "El marco horario que se aplica (marco horario n.º 1 (línea 1)) no tiene identificador.");
}

TEST_F(TimeFrameTable, NumbersThatAreNoNumbersStopTheRun) {
  EXPECT_RUN_ERROR(Build(Frames({{"1", Period("1", "lunes", "1")}})), "'lunes' is not a valid integer value");
  EXPECT_RUN_ERROR(Build(Frames({{"1", Period("1", "0", "1", "8:00")}})), "'8:' is not a valid integer value");
  EXPECT_RUN_ERROR(Build(Frames({{"1", Period("1", "0", "1", "08")}})), "'' is not a valid integer value");
}

TEST_F(TimeFrameTable, AFileWithoutPeriodsGivesAnEmptyTable) {
  const ForwardRunContext& context = Build(Frames({{"1", ""}}));
  EXPECT_TRUE(Rows("DIASHORAST", "DIHO").empty());
  EXPECT_EQ(context.frames.first_marco, "0");
}

}  // namespace
}  // namespace transzendal
