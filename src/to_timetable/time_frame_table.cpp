#include "time_frame_table.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "exchange_table.h"
#include "messages.h"
#include "number_text.h"
#include "run_error.h"
#include "text.h"
#include "time_frame_choice.h"

namespace transzendal {
namespace {

constexpr std::string_view kTable = "DIASHORAST";
constexpr std::size_t kMaxFrameId = 10;  // the width of MARCOXML
constexpr int kNoFirstStart = 0;
constexpr int kNoSecondStart = 1440;

const std::array<FieldDefinition, 17> kFields = {{
    {"DIHO", LogicalType::kString, 10},         {"CODDIHO", LogicalType::kString, 10},
    {"DIA", LogicalType::kString, 20},          {"TEXTODIA", LogicalType::kString, 20},
    {"HORA", LogicalType::kString, 8},          {"TEXTOHOR", LogicalType::kString, 20},
    {"HORADESDE", LogicalType::kString, 8},     {"HORAHASTA", LogicalType::kString, 8},
    {"MINUTOS", LogicalType::kString, 8},       {"MARCO", LogicalType::kString, 1},
    {"MARCOXML", LogicalType::kString, 10},     {"CV_MARCO_ID", LogicalType::kString, 2},
    {"CV_SUBMARCO", LogicalType::kString, 2},   {"CV_DIA", LogicalType::kString, 1},
    {"CV_HORADESDE", LogicalType::kString, 8},  {"CV_HORAHASTA", LogicalType::kString, 8},
    {"CV_TIPO", LogicalType::kString, 20},
}};

// Windows-1252: "Miércoles" and "Sábado" carry E9 and E1.
constexpr std::array<std::string_view, 7> kDayNames = {
    "Lunes", "Martes", "Mi\xE9rcoles", "Jueves", "Viernes", "S\xE1" "bado", "Domingo"};

std::string_view DayName(std::int64_t dia) {
  return dia >= 0 && dia < 7 ? kDayNames[static_cast<std::size_t>(dia)] : std::string_view();
}

// A time "HH:MM..." in minutes: characters 1-2 the hour, 4-5 the minute.
int Minutes(std::string_view time) {
  const std::string_view hour = time.substr(0, 2);
  const std::string_view minute = time.size() > 3 ? time.substr(3, 2) : std::string_view();
  return 60 * ParseDecimalInteger(hour) + ParseDecimalInteger(minute);
}

// The id a frame is chosen by: its id attribute when it is the only frame, its first attribute
// (the dialog's line) when there are several; trimmed.
std::string FrameId(const SchoolRecord& frame, std::size_t frame_count) {
  if (frame_count == 1) return std::string(frame.Attribute("id").value_or(""));
  const auto first = frame.AttributeAt(0);
  return std::string(Trim(first ? first->value : std::string_view()));
}

std::vector<std::size_t> AskForFrames(ForwardRunContext& context) {
  const std::vector<TimeFrameOption> options = ListTimeFrames(context.school);
  while (true) {
    const auto choice = context.ui.ChooseTimeFrames(options);
    if (!choice) continue;  // refused; the user interface said why
    FrameChoiceVerdict verdict = CheckFrameChoice(*choice);
    bool in_range = true;
    for (std::size_t line : verdict.chosen) in_range = in_range && line < options.size();
    if (verdict.valid && in_range) return std::move(verdict.chosen);
  }
}

// The ids of the frames to apply, in document order, each checked.
std::vector<std::string> ChosenFrameIds(ForwardRunContext& context) {
  const auto& frames = context.school.Records(RecordKind::kTimeFrame);
  if (frames.empty()) throw RunError(std::string(msg::kNoTimeFrame));
  std::vector<std::size_t> chosen = {0};
  if (frames.size() > 1) chosen = AskForFrames(context);
  std::vector<std::string> ids;
  for (std::size_t line : chosen) {
    std::string id = FrameId(frames[line], frames.size());
    if (id.empty()) {
      throw RunError(msg::FillMessage(msg::kTimeFrameWithoutId, {DescribeRecord(frames[line])}));
    }
    if (id.size() > kMaxFrameId) {
      throw RunError(msg::FillMessage(msg::kTimeFrameIdTooLong,
                                      {Windows1252ToUtf8(id), DescribeRecord(frames[line])}));
    }
    ids.push_back(std::move(id));
  }
  return ids;
}

// The frame a period belongs to: its submarco, or the frame that holds it when that is empty.
std::string PeriodFrame(const SchoolRecord& period, const ForwardRunContext& context) {
  const std::string_view submarco = period.ChildText("submarco");
  if (!submarco.empty() || period.parent() < 0) return std::string(submarco);
  const auto& frames = context.school.Records(RecordKind::kTimeFrame);
  return FrameId(frames[static_cast<std::size_t>(period.parent())], frames.size());
}

void AppendPeriod(ExchangeTable& table, const SchoolRecord& period, const std::string& frame) {
  const std::int64_t dia = ParseDecimalInteger(period.ChildText("dia"));
  const std::int64_t indice = ParseDecimalInteger(period.ChildText("indice"));
  const std::string_view start = period.ChildText("horaEntrada");
  const std::string_view end = period.ChildText("horaSalida");
  const std::string_view kind = period.ChildText("Tipo");
  const std::string day = std::to_string(dia + 1);
  const std::string number = std::to_string(indice);
  const int minutes = Minutes(end) - Minutes(start);
  table.Append();
  table.SetText("DIHO", std::string(day).append(number));
  table.SetText("DIA", day);
  table.SetText("TEXTODIA", DayName(dia));
  table.SetText("HORA", number);
  std::string period_text = number;  // "1-08:00-08:55"
  period_text += '-';
  period_text += Left(start, 5);
  period_text += '-';
  period_text += Left(end, 5);
  table.SetText("TEXTOHOR", period_text);
  table.SetText("CODDIHO", "");
  table.SetText("HORADESDE", Left(start, 5));
  table.SetText("HORAHASTA", Left(end, 5));
  table.SetText("MINUTOS", std::to_string(minutes));
  table.SetText("MARCOXML", frame);
  table.SetText("CV_MARCO_ID", frame);
  table.SetText("CV_SUBMARCO", frame);
  table.SetText("CV_DIA", std::to_string(dia));
  table.SetText("CV_HORADESDE", start);
  table.SetText("CV_HORAHASTA", end);
  table.SetText("CV_TIPO", kind);
  table.Post();
}

// Minutes of the start of Monday's first period of `frame`, or `missing` when it has none.
int MondayStart(ExchangeTable& table, const std::string& frame, int missing) {
  if (frame.empty() || !table.Locate("DIHO;MARCOXML", {"11", frame})) return missing;
  return Minutes(table.ReadText("HORADESDE"));
}

void DecideMarcoDigits(ExchangeTable& table, TimeFrameState& frames) {
  const int first_start = MondayStart(table, frames.first_id, kNoFirstStart);
  const int second_start = MondayStart(table, frames.second_id, kNoSecondStart);
  const bool first_earlier = first_start <= second_start;  // a tie goes to the first frame
  frames.first_marco.assign(1, first_earlier ? '0' : '1');
  frames.second_marco.assign(1, first_earlier ? '1' : '0');
  for (table.First(); !table.AtEnd(); table.Next()) {
    const std::string frame = table.ReadText("MARCOXML");
    table.Edit();
    table.SetText("MARCO", frame == frames.first_id ? frames.first_marco : frames.second_marco);
  }
}

}  // namespace

void BuildTimeFrameTable(ForwardRunContext& context) {
  ExchangeTable::Create(context.table_directory, kTable, kFields, context.today);
  const std::vector<std::string> ids = ChosenFrameIds(context);
  TimeFrameState& frames = context.frames;
  frames = TimeFrameState{ids[0], ids.size() > 1 ? ids[1] : std::string()};
  ExchangeTable table = ExchangeTable::Open(context.table_directory, kTable, TableAccess::kShared,
                                            context.decimal_separator);
  for (const SchoolRecord& period : context.school.Records(RecordKind::kPeriod)) {
    const std::string frame = PeriodFrame(period, context);
    if (frame.empty() || (frame != frames.first_id && frame != frames.second_id)) continue;
    context.report.NoteMissingChildren(period);
    AppendPeriod(table, period, frame);
  }
  DecideMarcoDigits(table, frames);
  context.report.CountRows(kTable, static_cast<int>(table.LiveRecordCount()));
  table.Close();
}

}  // namespace transzendal
