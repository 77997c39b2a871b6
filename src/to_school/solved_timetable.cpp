#include "solved_timetable.h"

#include <cstdint>
#include <string>

#include "messages.h"
#include "text.h"

namespace transzendal {
namespace {

std::string DescribeSolved(int position) {
  return msg::FillMessage(msg::kSolucRecord, {std::to_string(position)});
}

// The identifier of the record's time frame. A code that DIASHORAST lacks gives the empty text,
// never the identifier that an earlier record found.
std::string FrameId(ExchangeTable& frames, std::string_view marco, int position,
                    RunReport& report) {
  if (frames.Locate("MARCO", {marco})) return frames.ReadText("MARCOXML");
  report.Note(DescribeSolved(position),
              msg::FillMessage(msg::kSolucFrameNotFound, {Windows1252ToUtf8(marco)}));
  return {};
}

// A blank AULA is a lesson without a particular room: anonima, with the generic name (empty too).
// Otherwise id names the room, when AULAT holds that very code for an ordinary room ("N"); a
// generic room, or any other mark, gives no attribute at all.
void SetRoom(DocumentElement& room, ExchangeTable& rooms, std::string_view code,
             std::string_view generic_room, int position, RunReport& report) {
  if (Trim(code).empty()) {
    room.SetAttribute("anonima", generic_room);
    return;
  }
  // The code as read, not trimmed: the search compares whole values, as the table holds them.
  if (!rooms.Locate("ABREV", {code})) {
    report.Note(DescribeSolved(position),
                msg::FillMessage(msg::kSolucRoomNotFound, {Windows1252ToUtf8(code)}));
    return;
  }
  if (rooms.ReadText("CV_GENERICA") == "N") room.SetAttribute("id", rooms.ReadText("NOMBRE"));
}

// The session of the teaching assignment for (subject, group): of the pair's rows, the one of the
// record's own teacher, else the first in table order. Two teachers who share a subject and a
// group so keep their own sessions.
std::string SessionId(ExchangeTable& assignments, std::string_view subject, std::string_view group,
                      std::string_view teacher, int position, RunReport& report) {
  if (assignments.Locate("CASIG;CGRUP;CPROF", {subject, group, teacher}) ||
      assignments.Locate("CASIG;CGRUP", {subject, group})) {
    return assignments.ReadText("CV_SESION");
  }
  report.Note(DescribeSolved(position),
              msg::FillMessage(msg::kSolucSessionNotFound,
                               {Windows1252ToUtf8(subject), Windows1252ToUtf8(group)}));
  return {};
}

}  // namespace

std::string GenericRoomName(ExchangeTable& rooms) {
  for (rooms.First(); !rooms.AtEnd(); rooms.Next()) {
    if (rooms.ReadText("CV_GENERICA") == "S") return rooms.ReadText("NOMBRE");
  }
  return {};
}

int WriteSolvedTimetable(TimetableTables& tables, std::string_view generic_room,
                         DocumentElement& timetable, RunReport& report) {
  ExchangeTable& solved = tables.solved();
  int written = 0;
  int position = 0;  // among the records shown, counted from 1, as the tabla command lists them
  for (solved.First(); !solved.AtEnd(); solved.Next()) {
    ++position;
    const std::int32_t day = solved.ReadInteger("DIA");
    if (day == 0) {
      report.Note(DescribeSolved(position), std::string(msg::kSolucDayZero));
      continue;
    }
    const std::int32_t hour = solved.ReadInteger("HORA");
    const std::string teacher = solved.ReadText("PROF");

    DocumentElement period = timetable.AppendChild("tramo");
    // Widened first: a DIA of -2147483648 has no 32-bit predecessor.
    period.SetAttribute("dia", std::to_string(std::int64_t{day} - 1));
    period.SetAttribute("indice", hour);
    period.SetAttribute("marco",
                        FrameId(tables.frames(), solved.ReadText("MARCO"), position, report));

    DocumentElement room = period.AppendChild("aula");
    SetRoom(room, tables.rooms(), solved.ReadText("AULA"), generic_room, position, report);
    room.AppendChild("sesion").SetText(SessionId(tables.assignments(), solved.ReadText("ASIG"),
                                                 solved.ReadText("CODGRUPO"), teacher, position,
                                                 report));
    room.AppendChild("profesor").SetText(teacher);
    ++written;
  }
  return written;
}

}  // namespace transzendal
