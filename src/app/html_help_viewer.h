// HtmlHelpViewer ("ChmViewer"): the help viewer that turns every help request of the program into
// a call of HTML Help's HtmlHelpA, and the selector that makes the help system always choose it.
// The call itself comes from outside (the Windows program loads HHCtrl.ocx; tests record), so the
// viewer's rules are portable.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "help_system.h"

namespace transzendal::app {

enum class HtmlHelpCommand : unsigned {
  kDisplayTopic = 0,   // HH_DISPLAY_TOPIC
  kDisplayToc = 1,     // HH_DISPLAY_TOC
  kDisplayIndex = 2,   // HH_DISPLAY_INDEX
  kHelpContext = 15,   // HH_HELP_CONTEXT
  kCloseAll = 18,      // HH_CLOSE_ALL
};

// One call of HtmlHelpA: the caller window, the file argument (none for HH_CLOSE_ALL), the command
// and its data word: the context number, or for HH_DISPLAY_INDEX a pointer to `keyword`.
struct HtmlHelpRequest {
  std::uintptr_t window = 0;
  std::optional<std::string> file;  // UTF-8
  HtmlHelpCommand command = HtmlHelpCommand::kCloseAll;
  std::uintptr_t data = 0;
  std::string keyword;
};

// The way to HtmlHelpA; empty when HHCtrl.ocx or its export is missing: requests then do nothing.
using HtmlHelpCall = std::function<void(const HtmlHelpRequest&)>;

// A name is a ".chm" file when the text from its last "." on is ".chm", ignoring letter case.
bool IsChmFile(std::string_view name);
// A topic with neither ".htm" nor ".html" as extension (in lower case) gets ".htm".
std::string TopicFile(std::string_view topic);
// Everything up to and including the first ":" goes, then blanks and control characters around.
std::string CleanKeyword(std::string_view keyword);

class HtmlHelpViewer final : public HelpViewer, public HelpSelector {
 public:
  static constexpr std::string_view kName = "ChmViewer";

  // `program_folder` is the folder of the program file with its closing "\", put in front of a
  // help file named without folder. `system` must outlive the viewer's registration.
  HtmlHelpViewer(HelpSystem& system, HtmlHelpCall call, std::string program_folder);

  // The help file a request works on: the help system's current file, else the application's,
  // with the program folder in front of a bare name (one with neither "\" nor ":").
  std::string ResolvedHelpFile() const;

  // HelpViewer.
  std::string ViewerName() override;
  int UnderstandsKeyword(std::string_view keyword) override;
  std::vector<std::string> HelpStrings(std::string_view keyword) override;
  bool CanShowTableOfContents() override;
  void ShowTableOfContents() override;
  void ShowHelp(std::string_view keyword) override;
  void NotifyId(int viewer_id) override;
  void SoftShutDown() override;
  void ShutDown() override;
  bool UnderstandsTopic(std::string_view topic) override;
  void DisplayTopic(std::string_view topic) override;
  bool UnderstandsContext(int context, std::string_view help_file) override;
  void DisplayHelpByContext(int context, std::string_view help_file) override;

  // HelpSelector: its own keyword entry (0 when none is), its name among the contents providers.
  int SelectKeyword(std::span<const std::string> entries) override;
  int TableOfContents(std::span<const std::string> viewer_names) override;

 private:
  void Call(HtmlHelpCommand command, std::optional<std::string> file, std::uintptr_t data = 0,
            std::string keyword = {}) const;

  HelpSystem* system_;
  HtmlHelpCall call_;
  std::string program_folder_;
  int viewer_id_ = 0;
};

}  // namespace transzendal::app
