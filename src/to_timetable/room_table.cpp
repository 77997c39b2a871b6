#include "room_table.h"

#include <array>

#include "exchange_table.h"
#include "messages.h"
#include "number_text.h"
#include "run_error.h"
#include "short_code.h"
#include "text.h"

namespace transzendal {
namespace {

constexpr std::string_view kTable = "AULAT";
// The rooms' own cut replaces ShortCode's: the candidate comes in at most 10 characters.
constexpr CodeVariant kRoomCodes{.cut_first = false, .register_before_shortening = false};
// More generic rooms than any school has: a larger number is a slip that would fill the disk.
constexpr int kMaxGenericRooms = 10000;

const std::array<FieldDefinition, 5> kFields = {{
    {"ABREV", LogicalType::kString, 10},
    {"NOMBRE", LogicalType::kString, 80},
    {"EDIFICIO", LogicalType::kString, 1},
    {"MAXALUM", LogicalType::kInteger, 0},
    {"CV_GENERICA", LogicalType::kString, 1},
}};

void AppendRoom(ExchangeTable& table, std::string_view code, std::string_view name,
                std::string_view generic) {
  table.Append();
  table.SetText("ABREV", code);
  table.SetText("NOMBRE", name);
  table.SetText("CV_GENERICA", generic);
  table.Post();
}

void AppendOrdinaryRooms(ForwardRunContext& context, ExchangeTable& table, CodeBook& codes) {
  for (const SchoolRecord& room : context.school.Records(RecordKind::kRoom)) {
    context.report.NoteMissingChildren(room);
    const std::string_view name = room.ChildText("nombre");
    AppendRoom(table, ShortCode(Trim(Left(name, 10)), codes, kRoomCodes), name, "N");
  }
}

void AppendGenericRooms(ForwardRunContext& context, ExchangeTable& table, CodeBook& codes) {
  const auto& sets = context.school.Records(RecordKind::kRoomSet);
  if (sets.empty()) return;
  const SchoolRecord& set = sets.front();
  if (set.attribute_count() < 2) {
    throw RunError(msg::FillMessage(msg::kRoomSetNeedsTwoAttributes, {DescribeRecord(set)}));
  }
  const std::string_view base = set.AttributeAt(0)->value;
  const std::int32_t count = ParseDecimalInteger(set.AttributeAt(1)->value);
  if (count > kMaxGenericRooms) {
    throw RunError(msg::FillMessage(msg::kTooManyGenericRooms,
                                    {DescribeRecord(set), std::to_string(count),
                                     std::to_string(kMaxGenericRooms)}));
  }
  for (int number = 1; number <= count; ++number) {
    AppendRoom(table, ShortCode(GenericRoomCandidate(base, number), codes, kRoomCodes), base, "S");
  }
}

}  // namespace

std::string GenericRoomCandidate(std::string_view base, int number) {
  const std::string joined = std::string(base) + std::to_string(number);
  const std::size_t length = joined.size();
  if (length <= 10) return std::string(Trim(joined));
  const std::size_t head = length < 19 ? 19 - length : 0;
  return std::string(Trim(joined.substr(0, head) + joined.substr(9)));  // 9: the last L - 9
}

void BuildRoomTable(ForwardRunContext& context) {
  ExchangeTable::Create(context.table_directory, kTable, kFields, context.today);
  ExchangeTable table = ExchangeTable::Open(context.table_directory, kTable, TableAccess::kShared,
                                            context.decimal_separator);
  CodeBook codes;
  AppendOrdinaryRooms(context, table, codes);
  AppendGenericRooms(context, table, codes);
  context.report.CountRows(kTable, static_cast<int>(table.LiveRecordCount()));
  table.Close();
}

}  // namespace transzendal
