#include "teacher_table.h"

#include <array>
#include <string>

#include "exchange_table.h"
#include "short_code.h"

namespace transzendal {
namespace {

constexpr std::string_view kTable = "PROFT";
constexpr CodeVariant kTeacherCodes{.cut_first = false, .register_before_shortening = false};

const std::array<FieldDefinition, 6> kFields = {{
    {"ABREV", LogicalType::kString, 10},
    {"NOMBRE", LogicalType::kString, 80},
    {"DEPART", LogicalType::kString, 40},
    {"EMAIL", LogicalType::kString, 100},
    {"DNI", LogicalType::kInteger, 0},
    {"X_EMPLEADO", LogicalType::kString, 10},
}};

}  // namespace

void BuildTeacherTable(ForwardRunContext& context) {
  ExchangeTable::Create(context.table_directory, kTable, kFields, context.today);
  ExchangeTable table = ExchangeTable::Open(context.table_directory, kTable, TableAccess::kShared,
                                            context.decimal_separator);
  CodeBook codes;
  for (const SchoolRecord& teacher : context.school.Records(RecordKind::kTeacher)) {
    context.report.NoteMissingChildren(teacher);
    table.Append();
    const std::string_view short_name = teacher.ChildText("nombre");
    const std::string code = ShortCode(short_name, codes, kTeacherCodes);
    context.written.teacher_code.emplace(short_name, code);  // the first teacher of that name
    table.SetText("ABREV", code);
    table.SetText("NOMBRE", teacher.ChildText("nombreCompleto"));
    table.Post();
  }
  context.report.CountRows(kTable, static_cast<int>(table.LiveRecordCount()));
  table.Close();
}

}  // namespace transzendal
