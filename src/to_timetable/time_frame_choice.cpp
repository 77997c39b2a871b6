#include "time_frame_choice.h"

#include <algorithm>
#include <utility>

#include "messages.h"
#include "text.h"

namespace transzendal {
namespace {

constexpr std::size_t kPreviewWidth = 30;

std::string_view LabelOf(const SchoolRecord& frame) {
  const auto first = frame.AttributeAt(0);
  return first ? first->value : std::string_view();
}

}  // namespace

std::vector<std::string> PreviewLines(const SchoolModel& school, std::string_view label) {
  const auto& periods = school.Records(RecordKind::kPeriod);
  std::vector<std::string> lines;
  if (periods.size() < 2) return lines;
  for (const SchoolRecord& period : periods) {
    if (period.RawChildText("submarco") != label || period.RawChildText("dia") != "0") continue;
    std::string line(period.RawChildText("indice"));
    for (const char* child : {"horaEntrada", "horaSalida", "Tipo"}) {
      line += '-';
      line += period.RawChildText(child);
    }
    lines.push_back(Windows1252ToUtf8(Left(line, kPreviewWidth)));
  }
  return lines;
}

std::vector<TimeFrameOption> ListTimeFrames(const SchoolModel& school) {
  std::vector<TimeFrameOption> options;
  for (const SchoolRecord& frame : school.Records(RecordKind::kTimeFrame)) {
    options.push_back({Windows1252ToUtf8(LabelOf(frame)), PreviewLines(school, LabelOf(frame))});
  }
  return options;
}

FrameChoiceVerdict CheckFrameChoice(std::span<const std::size_t> selected) {
  std::vector<std::size_t> chosen(selected.begin(), selected.end());
  std::sort(chosen.begin(), chosen.end());
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  if (chosen.size() > 2) return {false, std::string(msg::kTooManyFrames), {}};
  if (chosen.empty()) return {false, std::string(msg::kNoFrameChosen), {}};
  return {true, {}, std::move(chosen)};
}

}  // namespace transzendal
