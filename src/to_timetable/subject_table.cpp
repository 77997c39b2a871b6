#include "subject_table.h"

#include <array>
#include <string>

#include "exchange_table.h"
#include "messages.h"
#include "short_code.h"
#include "text.h"

namespace transzendal {
namespace {

constexpr std::string_view kTable = "ASIGNOMT";
constexpr CodeVariant kSubjectCodes{.cut_first = true, .register_before_shortening = false};

const std::array<FieldDefinition, 6> kFields = {{
    {"COD", LogicalType::kString, 10},
    {"CODLARGO", LogicalType::kString, 10},
    {"NOMBRE", LogicalType::kString, 80},
    {"MATERIA", LogicalType::kString, 8},
    {"CODTAREA", LogicalType::kString, 10},
    {"ESTAREA", LogicalType::kBoolean, 0},
}};

// Writes one row per record of `kind` whose text no earlier row bears (letter case ignored); a
// repeated text is noted in the summary.
void AppendRows(ForwardRunContext& context, ExchangeTable& table, RecordKind kind) {
  SubjectRegistries& registries = *context.subject_registries;
  const bool tasks = kind == RecordKind::kTask;
  for (const SchoolRecord& record : context.school.Records(kind)) {
    const std::string_view text = record.Text();
    if (registries.long_texts.Holds(text)) {
      context.report.Note(record, msg::FillMessage(msg::kDuplicateSubject, {Windows1252ToUtf8(text)}));
      continue;
    }
    registries.long_texts.Add(text);
    const std::string code = ShortCode(text, registries.codes, kSubjectCodes);
    context.written.subject_code.emplace(FoldCase(text), code);
    table.Append();
    table.SetText("COD", code);
    table.SetText("CODLARGO", text);
    table.SetText("NOMBRE", text);
    if (tasks) table.SetText("CODTAREA", Left(text, 10));
    table.SetBoolean("ESTAREA", tasks);
    table.Post();
  }
  context.report.CountRows(kTable, static_cast<int>(table.LiveRecordCount()));
}

}  // namespace

void BuildSubjectTable(ForwardRunContext& context) {
  context.subject_registries.emplace();
  ExchangeTable::Create(context.table_directory, kTable, kFields, context.today);
  ExchangeTable table = ExchangeTable::Open(context.table_directory, kTable, TableAccess::kShared,
                                            context.decimal_separator);
  AppendRows(context, table, RecordKind::kSubject);
  table.Close();
}

void AppendTaskRows(ForwardRunContext& context) {
  ExchangeTable table = ExchangeTable::Open(context.table_directory, kTable, TableAccess::kShared,
                                            context.decimal_separator);
  AppendRows(context, table, RecordKind::kTask);
  table.Close();
  context.subject_registries.reset();
}

}  // namespace transzendal
