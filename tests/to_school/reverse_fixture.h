// The exchange directory of a reverse run as tests set it up: the forward run's tables written by
// the engine's writer, SOLUC as the raw bytes of a dBase III, IV or 7 file as another program
// writes it, a school file for the dialog to choose, and the result read back.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "dbf_bytes.h"
#include "exchange_table.h"
#include "fake_ui.h"
#include "reverse_run.h"
#include "temp_dir.h"

namespace transzendal::testing {

// A SOLUC layout: level, type of DIA and HORA, and the production-index flag of byte 28.
struct SolucFormat {
  std::string_view name;
  std::uint8_t version;
  char numeric;
  bool production_index;
};
inline constexpr SolucFormat kDbase3{"dBase III", 0x03, 'N', false};
inline constexpr SolucFormat kDbase4{"dBase IV", 0x03, 'F', true};
inline constexpr SolucFormat kDbase7{"dBase 7", 0x04, 'N', true};

// DIA, HORA (numbers as text, "" empty), MARCO, AULA, PROF, ASIG, CODGRUPO.
using SolvedRow = std::array<std::string, 7>;
using Rows = std::vector<std::vector<std::string>>;
inline SolvedRow Lesson(std::string day, std::string hour, std::string marco = "0",
                        std::string room = "A11", std::string teacher = "JGL",
                        std::string subject = "Lengua", std::string group = "ESO1A") {
  return {day, hour, marco, room, teacher, subject, group};
}

// The attributes of the tramo of DIA 1, HORA 1 and MARCO 0 (the frame 1).
inline constexpr std::string_view kFirstPeriod = R"(dia="0" indice="1" marco="1")";

// A tramo as the run writes it, `when` its attributes and `room` those of its aula.
inline std::string Tramo(std::string_view when, std::string_view room = R"(id="Aula 1.1")",
                         std::string_view session = "1001", std::string_view teacher = "JGL") {
  return "<tramo " + std::string(when) + "><aula" + (room.empty() ? "" : " ") + std::string(room) +
         ">" + (session.empty() ? "<sesion/>" : "<sesion>" + std::string(session) + "</sesion>") +
         "<profesor>" + std::string(teacher) + "</profesor></aula></tramo>";
}

inline constexpr std::string_view kSchool =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<datosZPH><materias/></datosZPH>\n";

class ReverseRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(exchange_);
    WriteTable("GRUPOST", {Text("ABREV", 10)}, {{"ESO1A"}});
    WriteTable("PROFT", {Text("ABREV", 10)}, {{"JGL"}});
    WriteTable("ASIGNOMT", {Text("COD", 10)}, {{"Lengua"}});
    WriteRooms({{"A11", "Aula 1.1", "N"},
                {"LABQ", "Laboratorio de Qu\xEDmica", "N"},
                {"DES1", "Desdoble", "S"},
                {"TALLER", "Taller", "S"}});
    WriteTable("DIASHORAST", {Text("MARCO", 1), Text("MARCOXML", 10)}, {{"0", "1"}, {"1", "2"}});
    WriteAssignments({{"Lengua", "JGL", "ESO1A", "1001"}});
  }

  static FieldDefinition Text(std::string name, std::size_t width) {
    return {std::move(name), LogicalType::kString, width};
  }
  // Texts are Windows-1252; integer fields take their decimal text.
  void WriteTable(std::string_view name, std::vector<FieldDefinition> fields, const Rows& rows) {
    ExchangeTable::Create(exchange_, name, fields, std::chrono::year{2026} / 12 / 10);
    ExchangeTable table = ExchangeTable::Open(exchange_, name, TableAccess::kShared, '.');
    for (const auto& row : rows) {
      table.Append();
      for (std::size_t i = 0; i < row.size(); ++i) table.SetText(fields[i].name, row[i]);
    }
    table.Close();
  }
  void WriteRooms(const Rows& rows) {
    WriteTable("AULAT", {Text("ABREV", 10), Text("NOMBRE", 80), Text("CV_GENERICA", 1)}, rows);
  }
  void WriteAssignments(const Rows& rows) {
    WriteTable("ASIGT",
               {Text("CASIG", 10),
                Text("CPROF", 10),
                Text("CGRUP", 10),
                {"CV_SESION", LogicalType::kInteger, 0}},
               rows);
  }

  // DIA and HORA as numbers of 11 characters with one decimal, the codes as text of 10.
  static std::string SolucBytes(const std::vector<SolvedRow>& rows, SolucFormat format) {
    RawTable table;
    table.version = format.version;
    table.driver_id = 0x57;  // Windows ANSI
    if (format.version == 0x04) table.driver_name = "DBWINWE0";
    for (const char* name : {"DIA", "HORA"}) table.fields.push_back({name, format.numeric, 11, 1});
    for (const char* name : {"MARCO", "AULA", "PROF", "ASIG", "CODGRUPO"})
      table.fields.push_back({name, 'C', 10, 0});
    for (const SolvedRow& row : rows) {
      std::string record = " " + std::string(11 - row[0].size(), ' ') + row[0] +
                           std::string(11 - row[1].size(), ' ') + row[1];
      for (std::size_t i = 2; i < row.size(); ++i) record += Padded(row[i], 10);
      table.records.push_back(record);
    }
    std::string bytes = DbfBytes(table);
    bytes[28] = format.production_index ? 1 : 0;
    return bytes;
  }
  void WriteSoluc(const std::vector<SolvedRow>& rows, SolucFormat format = kDbase7) {
    dir_.Write("ZTEMP/SOLUC.DBF", SolucBytes(rows, format));
    if (format.production_index) dir_.Write("ZTEMP/SOLUC.MDX", "índice de Zendalor");
  }

  // Writes the school file `name` and makes it the dialog's next answer.
  std::filesystem::path ChooseSchool(std::string_view bytes = kSchool,
                                     std::string_view name = "centro.xml") {
    ui_.file_answers.push_back(dir_.Write(name, bytes));
    return ui_.file_answers.back().value();
  }
  RunOutcome Run() { return RunReverse(session_, ui_, {exchange_, '.'}); }

  std::filesystem::path Result(std::string_view name = "centro.xml") const {
    return dir_.path() / ("ResultadoZendal" + std::string(name));
  }
  // The result after kSchool's materias: the new horario, as saved.
  std::string Timetable() const {
    const std::string text = ReadBytes(Result());
    const std::size_t start = std::min(text.find("<horario"), text.size());
    return text.substr(start, text.rfind("</datosZPH>") - start);
  }
  // A run on SOLUC `rows` and kSchool; the horario written.
  std::string TimetableFor(const std::vector<SolvedRow>& rows, SolucFormat format = kDbase7) {
    WriteSoluc(rows, format);
    ChooseSchool();
    EXPECT_EQ(Run(), RunOutcome::kCompleted) << format.name;
    return Timetable();
  }
  // The summary's notes, "record: reason".
  std::vector<std::string> Notes() const {
    std::vector<std::string> notes;
    for (const auto& note : ui_.finished_report.value().notes())
      notes.push_back(note.record + ": " + note.reason);
    return notes;
  }

  TempDir dir_;
  std::filesystem::path exchange_ = dir_.path() / "ZTEMP";
  FakeUi ui_;
  Session session_;
};

}  // namespace transzendal::testing
