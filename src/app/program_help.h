// The program's help as start-up assembles it: the help system with the declining WinHelp viewer
// and, after it, the HTML Help viewer as viewer and selector; the help file "COLVARIAHLP.chm" in
// the program's folder; F1 (context 3) and the button "F1 Ayuda" (the table of contents). The end
// of its life is the end of the program: every help window is closed (HH_CLOSE_ALL).
#pragma once

#include <string>
#include <string_view>

#include "help_system.h"
#include "html_help_viewer.h"
#include "win_help_viewer.h"

namespace transzendal::app {

inline constexpr std::string_view kHelpFileName = "COLVARIAHLP.chm";
// The one help context of every window and control of the program.
inline constexpr int kHelpContext = 3;

class ProgramHelp {
 public:
  // `call` reaches HtmlHelpA (empty: no help, silently); `program_folder` ends in "\".
  ProgramHelp(HtmlHelpCall call, std::string program_folder);
  ~ProgramHelp();
  ProgramHelp(const ProgramHelp&) = delete;
  ProgramHelp& operator=(const ProgramHelp&) = delete;

  // "F1 Ayuda": sets the help file again and asks for the table of contents.
  void ShowContents();
  // F1 in a window or control whose help context is `context`.
  void ShowContext(int context);

  HelpSystem& system() { return system_; }

 private:
  HelpSystem system_;
  WinHelpDecliner decliner_;
  WinHelpViewer win_help_;
  HtmlHelpViewer html_help_;
};

}  // namespace transzendal::app
