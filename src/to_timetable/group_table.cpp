#include "group_table.h"

#include <array>
#include <optional>
#include <string>

#include "exchange_table.h"
#include "messages.h"
#include "short_code.h"
#include "text.h"

namespace transzendal {
namespace {

constexpr std::string_view kTable = "GRUPOST";
constexpr CodeVariant kGroupCodes{.cut_first = false, .register_before_shortening = true};

const std::array<FieldDefinition, 7> kFields = {{
    {"ABREV", LogicalType::kString, 10},
    {"TURNO", LogicalType::kString, 1},
    {"NIVEL", LogicalType::kString, 5},
    {"CURSO", LogicalType::kString, 3},
    {"GRUPO", LogicalType::kString, 2},
    {"DESCRIP", LogicalType::kString, 80},
    {"MARCO", LogicalType::kString, 1},
}};

// The MARCO digit of the applied frame that `submarco` names: the whole text first, then, as the
// timetable program's own rule does, its first character alone. Nothing when none applies.
std::optional<std::string> MarcoOf(std::string_view submarco, const TimeFrameState& frames) {
  for (const std::string_view candidate : {submarco, Left(submarco, 1)}) {
    if (candidate == frames.first_id) return frames.first_marco;
    if (!frames.second_id.empty() && candidate == frames.second_id) return frames.second_marco;
  }
  return std::nullopt;
}

}  // namespace

void BuildGroupTable(ForwardRunContext& context) {
  ExchangeTable::Create(context.table_directory, kTable, kFields, context.today);
  ExchangeTable table = ExchangeTable::Open(context.table_directory, kTable, TableAccess::kShared,
                                            context.decimal_separator);
  const TimeFrameState& frames = context.frames;
  CodeBook codes;
  for (const SchoolRecord& group : context.school.Records(RecordKind::kGroup)) {
    const std::string_view submarco = group.Attribute("submarco").value_or("");
    std::optional<std::string> marco;
    if (!submarco.empty()) {
      marco = MarcoOf(submarco, frames);
    } else if (frames.second_id.empty()) {
      marco = frames.first_marco;  // one frame applies: the group can only be of that one
    }
    if (!marco) {
      context.report.Note(group, submarco.empty() ? std::string(msg::kGroupWithoutFrame)
                                                  : msg::FillMessage(msg::kGroupFrameNotApplied,
                                                                     {Windows1252ToUtf8(submarco)}));
      continue;
    }
    context.report.NoteMissingChildren(group);
    const std::string level(group.ChildText("nivel"));
    const std::string course(group.ChildText("curso"));
    const std::string unit(group.ChildText("unidad"));
    table.Append();
    table.SetText("ABREV", ShortCode(level + course + unit, codes, kGroupCodes));
    table.SetText("TURNO", "");
    table.SetText("NIVEL", level);
    table.SetText("CURSO", course);
    table.SetText("GRUPO", unit);
    table.SetText("DESCRIP", group.ChildText("nombre"));
    table.SetText("MARCO", *marco);
    table.Post();
  }
  context.report.CountRows(kTable, static_cast<int>(table.LiveRecordCount()));
  table.Close();
}

}  // namespace transzendal
