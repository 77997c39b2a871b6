#include "simulated_solution.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "exchange_lock.h"
#include "exchange_table.h"

namespace transzendal::simulator {
namespace {

namespace fs = std::filesystem;

constexpr int kRoomlessEvery = 7;

// The fields of the timetable program's SOLUC that the reverse run reads, then those its layout
// lists besides. DIA and HORA are integers here; the program itself writes numeric (N) fields.
const std::array<FieldDefinition, 13> kSolutionFields = {{
    {"DIA", LogicalType::kInteger, 0},
    {"HORA", LogicalType::kInteger, 0},
    {"MARCO", LogicalType::kString, 1},
    {"AULA", LogicalType::kString, 10},
    {"ASIG", LogicalType::kString, 10},
    {"CODGRUPO", LogicalType::kString, 10},
    {"PROF", LogicalType::kString, 10},
    {"TURNO", LogicalType::kString, 1},
    {"NIVEL", LogicalType::kString, 5},
    {"CURSO", LogicalType::kString, 3},
    {"GRUPO", LogicalType::kString, 2},
    {"TAREA", LogicalType::kString, 10},
    {"SESIONES", LogicalType::kString, 20},
}};

struct Period {
  std::int32_t day = 0;
  std::int32_t hour = 0;
};

// One frame's periods, hour by hour across the days (so that the lessons of one subject fall on
// different days), and where the search for the next lesson starts.
struct Frame {
  std::vector<Period> periods;
  std::size_t next = 0;
};

// Who holds which period: groups, teachers or rooms, each in a set of its own. An empty name (a
// task without group, a lesson without teacher) holds nothing.
class Occupancy {
 public:
  bool IsFree(const std::string& who, const std::string& marco, Period period) const {
    return who.empty() || !held_.contains({who, marco, period.day, period.hour});
  }
  void Take(const std::string& who, const std::string& marco, Period period) {
    if (!who.empty()) held_.insert({who, marco, period.day, period.hour});
  }

 private:
  std::set<std::tuple<std::string, std::string, std::int32_t, std::int32_t>> held_;
};

struct Holders {
  Occupancy groups;
  Occupancy teachers;
  Occupancy rooms;
};

ExchangeTable OpenForReading(const fs::path& directory, std::string_view name) {
  return ExchangeTable::Open(directory, name, TableAccess::kRead, '.');
}

// MARCO digit -> the frame's periods, from DIASHORAST.
std::map<std::string, Frame> ReadFrames(const fs::path& directory) {
  ExchangeTable table = OpenForReading(directory, "DIASHORAST");
  std::map<std::string, Frame> frames;
  for (table.First(); !table.AtEnd(); table.Next()) {
    frames[table.ReadText("MARCO")].periods.push_back(
        {table.ReadInteger("DIA"), table.ReadInteger("HORA")});
  }
  for (auto& [marco, frame] : frames) {
    std::stable_sort(frame.periods.begin(), frame.periods.end(), [](Period a, Period b) {
      return std::tie(a.hour, a.day) < std::tie(b.hour, b.day);
    });
  }
  return frames;
}

// Group code (ABREV) -> its frame's MARCO digit, from GRUPOST.
std::map<std::string, std::string> ReadGroupFrames(const fs::path& directory) {
  ExchangeTable table = OpenForReading(directory, "GRUPOST");
  std::map<std::string, std::string> frames;
  for (table.First(); !table.AtEnd(); table.Next()) {
    frames.emplace(table.ReadText("ABREV"), table.ReadText("MARCO"));
  }
  return frames;
}

std::vector<std::string> ReadRoomCodes(const fs::path& directory) {
  ExchangeTable table = OpenForReading(directory, "AULAT");
  std::vector<std::string> codes;
  for (table.First(); !table.AtEnd(); table.Next()) codes.push_back(table.ReadText("ABREV"));
  return codes;
}

// The first period from the frame's turn on that neither the group nor the teacher holds.
std::optional<Period> TakePeriod(Frame& frame, const std::string& marco, const std::string& group,
                                 const std::string& teacher, Holders& holders) {
  const std::size_t count = frame.periods.size();
  for (std::size_t step = 0; step < count; ++step) {
    const std::size_t at = (frame.next + step) % count;
    const Period period = frame.periods[at];
    if (!holders.groups.IsFree(group, marco, period) ||
        !holders.teachers.IsFree(teacher, marco, period)) {
      continue;
    }
    holders.groups.Take(group, marco, period);
    holders.teachers.Take(teacher, marco, period);
    frame.next = (at + 1) % count;
    return period;
  }
  return std::nullopt;
}

// The next room in turn that is free in that period; none when every room is taken.
std::string TakeRoom(const std::vector<std::string>& codes, std::size_t& next,
                     const std::string& marco, Period period, Occupancy& rooms) {
  for (std::size_t step = 0; step < codes.size(); ++step) {
    const std::size_t at = (next + step) % codes.size();
    if (!rooms.IsFree(codes[at], marco, period)) continue;
    rooms.Take(codes[at], marco, period);
    next = (at + 1) % codes.size();
    return codes[at];
  }
  return {};
}

}  // namespace

SimulationSummary WriteSimulatedSolution(const fs::path& exchange_directory,
                                         std::chrono::year_month_day date) {
  const ExchangeLock lock = OpenExchangeDirectory(exchange_directory, ExchangeUse::kWrite);
  std::map<std::string, Frame> frames = ReadFrames(exchange_directory);
  const std::map<std::string, std::string> group_frames = ReadGroupFrames(exchange_directory);
  const std::vector<std::string> room_codes = ReadRoomCodes(exchange_directory);
  // MARCO 0 is the frame that starts earlier: the one for rows without a group.
  const std::string first_frame = frames.empty() ? std::string() : frames.begin()->first;

  ExchangeTable assignments = OpenForReading(exchange_directory, "ASIGT");
  ExchangeTable::Create(exchange_directory, "SOLUC", kSolutionFields, date);
  ExchangeTable solution =
      ExchangeTable::Open(exchange_directory, "SOLUC", TableAccess::kExclusive, '.');
  Holders holders;
  std::size_t next_room = 0;
  int lessons = 0;
  SimulationSummary summary;
  for (assignments.First(); !assignments.AtEnd(); assignments.Next()) {
    const std::string group = assignments.ReadText("CGRUP");
    const std::string teacher = assignments.ReadText("CPROF");
    const auto group_frame = group_frames.find(group);
    const std::string marco = group_frame != group_frames.end() ? group_frame->second : first_frame;
    const auto frame = frames.find(marco);
    const std::int32_t hours = assignments.ReadInteger("HORAS");
    for (std::int32_t lesson = 0; lesson < hours; ++lesson) {
      ++lessons;
      const std::optional<Period> period =
          frame == frames.end() ? std::nullopt
                                : TakePeriod(frame->second, marco, group, teacher, holders);
      std::string room;
      if (period && lessons % kRoomlessEvery != 0) {
        room = TakeRoom(room_codes, next_room, marco, *period, holders.rooms);
      }
      solution.Append();
      solution.SetInteger("DIA", period ? period->day : 0);
      solution.SetInteger("HORA", period ? period->hour : 0);
      solution.SetText("MARCO", marco);
      solution.SetText("AULA", room);
      solution.SetText("ASIG", assignments.ReadText("CASIG"));
      solution.SetText("CODGRUPO", group);
      solution.SetText("PROF", teacher);
      solution.SetText("TURNO", assignments.ReadText("TURNO"));
      solution.SetText("NIVEL", assignments.ReadText("NIVEL"));
      solution.SetText("CURSO", assignments.ReadText("CURSO"));
      solution.SetText("GRUPO", assignments.ReadText("GRUPO"));
      solution.SetText("TAREA", assignments.ReadText("CTAREA"));
      solution.SetText("SESIONES", assignments.ReadText("SESIONES"));
      solution.Post();
      ++(period ? summary.placed : summary.unplaced);
    }
  }
  solution.Close();
  assignments.Close();
  return summary;
}

}  // namespace transzendal::simulator
