#include "assignment_table.h"

#include <array>
#include <optional>
#include <string>

#include "exchange_table.h"
#include "messages.h"
#include "number_text.h"
#include "run_error.h"
#include "text.h"

namespace transzendal {
namespace {

constexpr std::string_view kTable = "ASIGT";
constexpr std::string_view kCount = "distribucionSemanal/distribucionVariable/numSesiones";

const std::array<FieldDefinition, 13> kFields = {{
    {"CASIG", LogicalType::kString, 10},  {"CPROF", LogicalType::kString, 10},
    {"CGRUP", LogicalType::kString, 10},  {"CAULA", LogicalType::kString, 10},
    {"TURNO", LogicalType::kString, 1},   {"NIVEL", LogicalType::kString, 5},
    {"CURSO", LogicalType::kString, 3},   {"GRUPO", LogicalType::kString, 2},
    {"HORAS", LogicalType::kFloat, 0},    {"SESIONES", LogicalType::kString, 20},
    {"NCONEX", LogicalType::kString, 4},  {"CTAREA", LogicalType::kString, 10},
    {"CV_SESION", LogicalType::kInteger, 0},
}};

// The lesson pattern of `count` lessons a week: one "1" per lesson up to 13; above, the count less
// 13 followed by thirteen "1"; nothing for none.
std::string LessonPattern(std::int32_t count) {
  if (count <= 0) return "";
  if (count <= 13) return std::string(static_cast<std::size_t>(count), '1');
  return std::to_string(static_cast<std::int64_t>(count) - 13) + std::string(13, '1');
}

// The three tables the sessions are looked up in, held exclusively for the step.
struct Lookups {
  ExchangeTable groups;
  ExchangeTable teachers;
  ExchangeTable subjects;

  // Closed in the order the timetable program expects: subjects, teachers, groups.
  void Close() {
    subjects.Close();
    teachers.Close();
    groups.Close();
  }
};

Lookups OpenLookups(const ForwardRunContext& context) {
  const auto open = [&](std::string_view table) {
    return ExchangeTable::Open(context.table_directory, table, TableAccess::kExclusive,
                               context.decimal_separator);
  };
  ExchangeTable groups = open("GRUPOST");
  ExchangeTable teachers = open("PROFT");
  return Lookups{std::move(groups), std::move(teachers), open("ASIGNOMT")};
}

// COD of the subject a session names: the row whose NOMBRE is exactly its text, else the first row
// written for the same whole text, letter case ignored.
std::optional<std::string> SubjectCode(Lookups& lookups, const WrittenNames& written,
                                       std::string_view text) {
  if (lookups.subjects.Locate("NOMBRE", {text})) return lookups.subjects.ReadText("COD");
  const auto it = written.subject_code.find(FoldCase(text));
  if (it == written.subject_code.end()) return std::nullopt;
  return it->second;
}

// ABREV of the teacher a session names: the row whose ABREV is exactly its text, else the code
// given to the first teacher of that short name.
std::string TeacherCode(Lookups& lookups, const WrittenNames& written, std::string_view text) {
  if (lookups.teachers.Locate("ABREV", {text})) return lookups.teachers.ReadText("ABREV");
  const auto it = written.teacher_code.find(std::string(text));
  return it == written.teacher_code.end() ? std::string() : it->second;
}

void AppendAssignment(ExchangeTable& table, Lookups& lookups, const WrittenNames& written,
                      const SchoolRecord& session, const std::string& subject) {
  const std::string teacher = TeacherCode(lookups, written, session.ChildText("profesor"));
  const bool group_found = lookups.groups.Locate("DESCRIP", {session.ChildText("grupo")});
  const auto group_field = [&](std::string_view field) {
    return group_found ? lookups.groups.ReadText(field) : std::string();
  };
  std::string_view count_text = session.ChildText(kCount);
  if (count_text.empty()) count_text = "1";
  const std::int32_t count = ParseDecimalInteger(count_text);
  const bool task_found = lookups.subjects.Locate("COD", {session.ChildText("tarea")});
  const std::string task = task_found ? lookups.subjects.ReadText("COD") : std::string();
  const auto id = session.AttributeAt(0);
  if (!id) throw RunError(msg::FillMessage(msg::kSessionWithoutId, {DescribeRecord(session)}));
  const std::int32_t session_id = ParseDecimalInteger(id->value);

  table.Append();
  table.SetText("CASIG", subject);
  table.SetText("CPROF", teacher);
  table.SetText("CGRUP", group_field("ABREV"));
  table.SetText("CAULA", "");
  table.SetText("TURNO", "");
  table.SetText("NIVEL", group_field("NIVEL"));
  table.SetText("CURSO", group_field("CURSO"));
  table.SetText("GRUPO", group_field("GRUPO"));
  table.SetInteger("HORAS", count);  // the count as a number, whatever the decimal separator
  table.SetText("SESIONES", LessonPattern(count));
  table.SetText("CTAREA", task);
  table.SetInteger("CV_SESION", session_id);
  table.Post();
}

}  // namespace

void BuildAssignmentTable(ForwardRunContext& context) {
  ExchangeTable::Create(context.table_directory, kTable, kFields, context.today);
  ExchangeTable table = ExchangeTable::Open(context.table_directory, kTable, TableAccess::kShared,
                                            context.decimal_separator);
  Lookups lookups = OpenLookups(context);
  for (const SchoolRecord& session : context.school.Records(RecordKind::kSession)) {
    const std::string_view subject_text = session.ChildText("materia");
    const auto subject = SubjectCode(lookups, context.written, subject_text);
    if (!subject) {
      context.report.Note(session, msg::FillMessage(msg::kSessionSubjectNotFound,
                                                    {Windows1252ToUtf8(subject_text)}));
      continue;
    }
    context.report.NoteMissingChildren(session);
    AppendAssignment(table, lookups, context.written, session, *subject);
  }
  context.report.CountRows(kTable, static_cast<int>(table.LiveRecordCount()));
  table.Close();
  lookups.Close();
}

}  // namespace transzendal
