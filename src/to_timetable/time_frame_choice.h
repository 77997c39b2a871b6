// The choice of the time frames to apply, independent of any window: the frames of the school file
// as the frame dialog lists them, the Monday preview of each, and the closing rule that a choice
// must pass. The desktop dialog, the command-line tool and the forward run all use these.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "school_model.h"
#include "user_interface.h"

namespace transzendal {

// One option per time frame of the school, in document order: its label is the value of the frame
// element's first attribute, untrimmed (empty when it has none); its preview the Monday lines of
// PreviewLines. Labels and lines are UTF-8, for display.
std::vector<TimeFrameOption> ListTimeFrames(const SchoolModel& school);

// The preview of the frame labelled `label` (Windows-1252): for each period, in document order,
// whose submarco text is exactly `label` and whose dia text is exactly "0" (both untrimmed), its
// indice, horaEntrada, horaSalida and Tipo texts joined by "-", cut to 30 characters. A school with
// fewer than two periods has no preview lines.
std::vector<std::string> PreviewLines(const SchoolModel& school, std::string_view label);

// The verdict of the closing rule on the selected lines of the frame list (positions, in any order).
struct FrameChoiceVerdict {
  bool valid;
  std::string message;               // why the choice is refused (UTF-8); empty when valid
  std::vector<std::size_t> chosen;   // when valid: the selected positions in list order
};
FrameChoiceVerdict CheckFrameChoice(std::span<const std::size_t> selected);

}  // namespace transzendal
