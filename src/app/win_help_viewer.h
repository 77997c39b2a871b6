// The window framework's WinHelp viewer and WinHelpDecliner, the tester that keeps it from taking
// any request. WinHelp is no part of today's Windows: the viewer stays registered only as the
// framework registers it, says it can show contents (so contents requests reach the selector,
// which picks HTML Help) and, with the decliner as its tester, accepts no keyword, topic or context.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "help_system.h"

namespace transzendal::app {

// What the WinHelp viewer asks before it takes a request.
class WinHelpTester {
 public:
  virtual ~WinHelpTester() = default;
  virtual bool CanShowALink(std::string_view link, std::string_view help_file) = 0;
  virtual bool CanShowTopic(std::string_view topic, std::string_view help_file) = 0;
  virtual bool CanShowContext(int context, std::string_view help_file) = 0;
  virtual std::vector<std::string> GetHelpStrings(std::string_view link) = 0;
  virtual std::string GetHelpPath() = 0;
  virtual std::string GetDefaultHelpFile() = 0;
};

// Answers no to everything: the one entry ": " + link, an empty help folder and default file.
class WinHelpDecliner final : public WinHelpTester {
 public:
  bool CanShowALink(std::string_view link, std::string_view help_file) override;
  bool CanShowTopic(std::string_view topic, std::string_view help_file) override;
  bool CanShowContext(int context, std::string_view help_file) override;
  std::vector<std::string> GetHelpStrings(std::string_view link) override;
  std::string GetHelpPath() override;
  std::string GetDefaultHelpFile() override;
};

class WinHelpViewer final : public HelpViewer {
 public:
  static constexpr std::string_view kName = "WinHelp";

  // `tester` and `system` must outlive the viewer's registration.
  WinHelpViewer(const HelpSystem& system, WinHelpTester& tester);

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

 private:
  const HelpSystem& system_;
  WinHelpTester& tester_;
};

}  // namespace transzendal::app
