// The reverse run: the timetable program's solved timetable back into a copy of the school file
// (BImportarClick).
//
// It reminds the user to choose the school file the tables were made from, asks for it (a cancelled
// dialog keeps the session's earlier file), ends with MissingFileEnd("No existe archivo XML.") when
// that file does not exist, and otherwise, under the wait cursor and holding the exchange directory
// for the run: opens the seven tables for exclusive use, loads the school file, leaves out any
// earlier timetable, fills one new horario from SOLUC, saves it beside the chosen file as
// "ResultadoZendal" + its name (through a temporary file, replacing an earlier result), closes the
// tables and ends with FinishRun and the summary. Every failure is thrown as RunError, for the
// user-interface boundary to report; the cursor is restored and the tables closed. No table and
// never the chosen file is written.
#pragma once

#include <filesystem>

#include "run_outcome.h"
#include "source_file.h"
#include "user_interface.h"

namespace transzendal {

struct ReverseRunSettings {
  std::filesystem::path exchange_directory;
  char decimal_separator = '.';  // front ends pass platform::DecimalSeparator()
};

RunOutcome RunReverse(Session& session, UserInterface& ui, const ReverseRunSettings& settings);

}  // namespace transzendal
