// The tabla command: prints one table of the exchange directory, as CSV or as a summary of its
// structure. Thin: the reading and the formatting live in table_dump.h.
#pragma once

#include "command_line.h"
#include "console_ui.h"

namespace transzendal::cli {

// Prints the table `line.table_name` of the exchange directory in `line.format` and returns the
// exit status. Throws RunError when the directory or the table does not exist, another run holds
// the directory, or the table's file is damaged.
int PrintTable(const CommandLine& line, Console& console);

}  // namespace transzendal::cli
