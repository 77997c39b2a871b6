// The application's help system: the help viewers registered with it, the requests it passes on
// to them (context, keyword, topic, table of contents) and the selector it asks when several
// viewers could answer one. The program registers the declining WinHelp viewer first and the HTML
// Help viewer after it, which is also the selector, so every request ends in HTML Help.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace transzendal::app {

class HelpSystem;

// A help viewer, asked in this order of concerns: its name, keywords, the table of contents,
// its number and its shutdown, topics and context numbers. Texts are UTF-8.
class HelpViewer {
 public:
  virtual ~HelpViewer() = default;

  virtual std::string ViewerName() = 0;
  // How many help entries the viewer has for `keyword` (0: it does not handle it).
  virtual int UnderstandsKeyword(std::string_view keyword) = 0;
  virtual std::vector<std::string> HelpStrings(std::string_view keyword) = 0;
  virtual bool CanShowTableOfContents() = 0;
  virtual void ShowTableOfContents() = 0;
  // Shows the help for `keyword`, or for one of the entries HelpStrings gave.
  virtual void ShowHelp(std::string_view keyword) = 0;
  // The number the help system gave the viewer when it registered.
  virtual void NotifyId(int viewer_id) = 0;
  virtual void SoftShutDown() = 0;
  virtual void ShutDown() = 0;
  virtual bool UnderstandsTopic(std::string_view topic) = 0;
  virtual void DisplayTopic(std::string_view topic) = 0;
  virtual bool UnderstandsContext(int context, std::string_view help_file) = 0;
  virtual void DisplayHelpByContext(int context, std::string_view help_file) = 0;
};

// Chooses when several viewers could answer.
class HelpSelector {
 public:
  virtual ~HelpSelector() = default;
  // The position, in `entries`, of the keyword entry to show.
  virtual int SelectKeyword(std::span<const std::string> entries) = 0;
  // The position, in `viewer_names`, of the viewer that shows the table of contents; -1 for none.
  virtual int TableOfContents(std::span<const std::string> viewer_names) = 0;
};

class HelpSystem {
 public:
  // Registers `viewer` (which must stay alive until ShutDown or Release) after those registered
  // before it, and tells it its number.
  int Register(HelpViewer& viewer);
  // Forgets the viewer of that number.
  void Release(int viewer_id);
  void SetSelector(HelpSelector* selector) { selector_ = selector; }

  // The application's help file, the one its requests name.
  void SetApplicationHelpFile(std::string help_file) { application_file_ = std::move(help_file); }
  const std::string& application_help_file() const { return application_file_; }
  // The latest non-empty file name that came with a request.
  const std::string& current_help_file() const { return current_file_; }
  // The window that owns the help windows: none.
  std::uintptr_t owner_window() const { return 0; }

  // Each request names the application's help file (remembered as the current one when not
  // empty) and returns true when a viewer took it. Context: the first viewer that handles it.
  bool ContextHelp(int context, std::string_view help_file);
  // Keyword: the one viewer that handles it, or the selector's choice among the entries of all.
  bool KeywordHelp(std::string_view keyword, std::string_view help_file);
  // Topic: the first viewer that handles it.
  bool TopicHelp(std::string_view topic, std::string_view help_file);
  // Table of contents: the one viewer that can show it, or the selector's choice.
  bool ShowTableOfContents(std::string_view help_file);
  // The end of the program: every viewer is shut down and forgotten.
  void ShutDown();

 private:
  struct Registration {
    int id;
    HelpViewer* viewer;
  };
  void Remember(std::string_view help_file);

  std::vector<Registration> viewers_;
  HelpSelector* selector_ = nullptr;
  std::string application_file_;
  std::string current_file_;
  int next_id_ = 1;
};

}  // namespace transzendal::app
