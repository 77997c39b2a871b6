#include "source_file.h"

#include "messages.h"
#include "platform.h"

namespace transzendal {

bool ChooseExistingSourceFile(UserInterface& ui, Session& session,
                              const std::filesystem::path& initial_directory) {
  const OpenFileDialog dialog{msg::kOpenDialogTitle, msg::kOpenDialogFilter, "xml", initial_directory};
  if (auto chosen = ui.ChooseSourceFile(dialog)) session.source_file_name = *chosen;
  return platform::IsExistingFile(session.source_file_name);
}

}  // namespace transzendal
