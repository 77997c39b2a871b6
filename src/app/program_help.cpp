#include "program_help.h"

#include <utility>

namespace transzendal::app {

ProgramHelp::ProgramHelp(HtmlHelpCall call, std::string program_folder)
    : win_help_(system_, decliner_), html_help_(system_, std::move(call), std::move(program_folder)) {
  system_.SetApplicationHelpFile(std::string(kHelpFileName));
  // The framework's WinHelp viewer comes first; HTML Help after it, and as the selector.
  system_.Register(win_help_);
  system_.Register(html_help_);
  system_.SetSelector(&html_help_);
}

ProgramHelp::~ProgramHelp() { system_.ShutDown(); }

void ProgramHelp::ShowContents() {
  system_.SetApplicationHelpFile(std::string(kHelpFileName));
  system_.ShowTableOfContents(system_.application_help_file());
}

void ProgramHelp::ShowContext(int context) {
  system_.ContextHelp(context, system_.application_help_file());
}

}  // namespace transzendal::app
