#include "time_frame_choice.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
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

// The preview line of a period, when it is a Monday period.
std::optional<std::string> PreviewLine(const SchoolRecord& period) {
  if (period.RawChildText("dia") != "0") return std::nullopt;
  std::string line(period.RawChildText("indice"));
  for (const char* child : {"horaEntrada", "horaSalida", "Tipo"}) {
    line += '-';
    line += period.RawChildText(child);
  }
  return Windows1252ToUtf8(Left(line, kPreviewWidth));
}

}  // namespace

std::vector<std::string> PreviewLines(const SchoolModel& school, std::string_view label) {
  const auto& periods = school.Records(RecordKind::kPeriod);
  std::vector<std::string> lines;
  if (periods.size() < 2) return lines;
  for (const SchoolRecord& period : periods) {
    if (period.RawChildText("submarco") != label) continue;
    if (auto line = PreviewLine(period)) lines.push_back(std::move(*line));
  }
  return lines;
}

std::vector<TimeFrameOption> ListTimeFrames(const SchoolModel& school) {
  // One pass over the periods for every frame at once: a large school has many of both.
  std::unordered_map<std::string_view, std::vector<std::string>> previews;
  const auto& periods = school.Records(RecordKind::kPeriod);
  if (periods.size() >= 2) {
    for (const SchoolRecord& period : periods) {
      if (auto line = PreviewLine(period)) {
        previews[period.RawChildText("submarco")].push_back(std::move(*line));
      }
    }
  }
  std::vector<TimeFrameOption> options;
  for (const SchoolRecord& frame : school.Records(RecordKind::kTimeFrame)) {
    const auto found = previews.find(LabelOf(frame));
    options.push_back({Windows1252ToUtf8(LabelOf(frame)),
                       found == previews.end() ? std::vector<std::string>() : found->second});
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
