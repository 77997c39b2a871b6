// The example school both ways: the forward run, the stand-in for the timetable program, then the
// reverse run. The result must be the source with one new timetable whose every entry points at a
// session, a room and a time frame that the school holds.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <tuple>

#include "exchange_table.h"
#include "fake_ui.h"
#include "forward_run.h"
#include "reverse_run.h"
#include "school_document.h"
#include "school_reader.h"
#include "simulated_solution.h"
#include "temp_dir.h"
#include "text.h"

namespace transzendal::testing {
namespace {

namespace fs = std::filesystem;

class RoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(exchange_);
    fs::copy_file(fs::path(TRANSZENDAL_EXAMPLES_DIR) / "instituto-ejemplo.xml", source_);
    ui_.file_answers = {source_, std::nullopt};
    ui_.frame_answers = {std::vector<std::size_t>{0, 1}};
    ASSERT_EQ(RunForward(session_, ui_, {exchange_}), RunOutcome::kCompleted);
    simulated_ = simulator::WriteSimulatedSolution(exchange_, std::chrono::year{2026} / 12 / 10);
    ASSERT_EQ(RunReverse(session_, ui_, {exchange_}), RunOutcome::kCompleted);
  }

  // The values of `fields` in every record of `table`, in stored order.
  std::vector<std::vector<std::string>> Rows(std::string_view table,
                                             std::initializer_list<std::string_view> fields) {
    ExchangeTable read = ExchangeTable::Open(exchange_, table, TableAccess::kRead, '.');
    std::vector<std::vector<std::string>> rows;
    for (read.First(); !read.AtEnd(); read.Next()) {
      rows.emplace_back();
      for (std::string_view field : fields) rows.back().push_back(read.ReadText(field));
    }
    return rows;
  }

  TempDir dir_;
  fs::path exchange_ = dir_.path() / "ZTEMP";
  fs::path source_ = dir_.path() / "instituto-ejemplo.xml";
  FakeUi ui_;
  Session session_;
  simulator::SimulationSummary simulated_;
};

TEST_F(RoundTrip, TheResultIsTheSourceAndOneTimetableOfEntriesTheSchoolHolds) {
  const std::string before = SchoolDocument::Load(source_).CanonicalForm();
  const std::string after =
      SchoolDocument::Load(dir_.path() / "ResultadoZendalinstituto-ejemplo.xml").CanonicalForm();
  const std::size_t start = after.find("<horario>");
  ASSERT_NE(start, std::string::npos);
  ASSERT_TRUE(after.ends_with("</horario></datosZPH>"));
  EXPECT_EQ(after.substr(0, start) + "</datosZPH>", before);
  const std::string timetable = after.substr(start + 9, after.size() - start - 30);

  const SchoolModel school = ReadSchoolFile(source_);
  std::set<std::string> sessions, rooms, frames;
  for (const auto& session : school.Records(RecordKind::kSession)) {
    sessions.insert(std::string(Trim(session.AttributeAt(0)->value)));
  }
  for (const auto& room : school.Records(RecordKind::kRoom))
    rooms.insert(Windows1252ToUtf8(room.ChildText("nombre")));
  for (const auto& frame : school.Records(RecordKind::kTimeFrame))
    frames.insert(std::string(*frame.Attribute("id")));
  const std::string generic(Trim(school.Records(RecordKind::kRoomSet)[0].AttributeAt(0)->value));

  const std::regex tramo(
      R"re(<tramo dia="([0-4])" indice="([1-6])" marco="([^"]*)"><aula(?: (id|anonima)="([^"]*)")?>)re"
      R"re(<sesion>([^<]*)</sesion><profesor>[^<]+</profesor></aula></tramo>)re");
  std::size_t shaped = 0;
  int entries = 0;
  std::set<std::string> room_kinds;
  for (auto it = std::sregex_iterator(timetable.begin(), timetable.end(), tramo);
       it != std::sregex_iterator(); ++it, ++entries) {
    const std::smatch& entry = *it;
    EXPECT_EQ(static_cast<std::size_t>(entry.position()), shaped)
        << "not a tramo: " << timetable.substr(shaped, 200);
    shaped = static_cast<std::size_t>(entry.position() + entry.length());
    EXPECT_TRUE(frames.contains(entry[3])) << entry.str();
    EXPECT_TRUE(sessions.contains(entry[6])) << entry.str();
    room_kinds.insert(entry[4]);
    if (entry[4] == "id") {
      EXPECT_TRUE(rooms.contains(entry[5])) << entry.str();  // no name of the school needs escaping
    } else if (entry[4] == "anonima") {
      EXPECT_EQ(entry[5], generic);
    }
  }
  EXPECT_EQ(shaped, timetable.size());
  EXPECT_EQ(entries, simulated_.placed);
  EXPECT_EQ(room_kinds, (std::set<std::string>{"", "anonima", "id"}));
  EXPECT_EQ(ui_.finished_report->notes().size(), static_cast<std::size_t>(simulated_.unplaced));
}

TEST_F(RoundTrip, TheStandInPlacesEveryLessonOfAsigtOnAFreePeriodOfItsGroupsFrame) {
  std::set<std::tuple<std::string, std::string, std::string>> periods;  // MARCO, DIA, HORA
  for (const auto& row : Rows("DIASHORAST", {"MARCO", "DIA", "HORA"}))
    periods.insert({row[0], row[1], row[2]});
  std::map<std::string, std::string> group_frame;
  for (const auto& row : Rows("GRUPOST", {"ABREV", "MARCO"})) group_frame.emplace(row[0], row[1]);
  std::vector<std::vector<std::string>> lessons;  // ASIG, CODGRUPO, PROF: one per hour of ASIGT
  for (const auto& row : Rows("ASIGT", {"CASIG", "CGRUP", "CPROF", "HORAS"})) {
    for (int hour = 0; hour < std::stoi(row[3]); ++hour)
      lessons.push_back({row[0], row[1], row[2]});
  }

  const auto solution = Rows("SOLUC", {"ASIG", "CODGRUPO", "PROF", "MARCO", "DIA", "HORA"});
  ASSERT_EQ(solution.size(), lessons.size());
  std::set<std::vector<std::string>> held;  // group or teacher, code, MARCO, DIA, HORA
  int placed = 0;
  for (std::size_t i = 0; i < solution.size(); ++i) {
    const auto& lesson = solution[i];
    EXPECT_EQ(std::vector<std::string>(lesson.begin(), lesson.begin() + 3), lessons[i]);
    EXPECT_EQ(lesson[3], lesson[1].empty() ? "0" : group_frame.at(lesson[1]));
    if (lesson[4] == "0") continue;
    ++placed;
    EXPECT_TRUE(periods.contains({lesson[3], lesson[4], lesson[5]})) << i;
    for (const auto& [kind, who] : {std::pair{"grupo", lesson[1]}, {"profesor", lesson[2]}}) {
      if (who.empty()) continue;
      EXPECT_TRUE(held.insert({kind, who, lesson[3], lesson[4], lesson[5]}).second) << i;
    }
  }
  EXPECT_EQ(placed, simulated_.placed);
  EXPECT_EQ(static_cast<int>(solution.size()) - placed, simulated_.unplaced);
  EXPECT_GT(placed, 9 * static_cast<int>(solution.size()) / 10);
}

}  // namespace
}  // namespace transzendal::testing
