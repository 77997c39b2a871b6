// The time-frame table DIASHORAST: the days and periods of the one or two time frames applied. With
// two or more frames in the school file the user chooses them (through the user interface, asked
// again while the choice is refused). The step leaves the applied frames and their MARCO digits in
// the run's TimeFrameState for the groups step.
#pragma once

#include "table_builder.h"

namespace transzendal {

// Creates DIASHORAST (17 character fields) with one row per period of an applied frame, in
// document order, and fills MARCO once both frames' Monday first periods are known. Throws RunError
// when the file has no time frame, the frame to apply has no id or one longer than 10 characters,
// or a day, period number or time is no number.
void BuildTimeFrameTable(ForwardRunContext& context);

}  // namespace transzendal
