// The source file of both runs: the Colvaria XML file the user picks, kept for the whole process.
#pragma once

#include <filesystem>

#include "user_interface.h"

namespace transzendal {

// What the front end keeps from one run to the next (the main window's SourceFileName).
struct Session {
  std::filesystem::path source_file_name;
};

// Shows the open-file dialog OpenDialogXML, with `initial_directory`; a chosen file becomes the
// session's source file, a cancelled dialog keeps the earlier one (empty at the first run). True
// when that file exists.
bool ChooseExistingSourceFile(UserInterface& ui, Session& session,
                              const std::filesystem::path& initial_directory);

}  // namespace transzendal
