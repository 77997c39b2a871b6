#include "win_help_viewer.h"

namespace transzendal::app {

bool WinHelpDecliner::CanShowALink(std::string_view, std::string_view) { return false; }
bool WinHelpDecliner::CanShowTopic(std::string_view, std::string_view) { return false; }
bool WinHelpDecliner::CanShowContext(int, std::string_view) { return false; }
std::vector<std::string> WinHelpDecliner::GetHelpStrings(std::string_view link) {
  return {": " + std::string(link)};
}
std::string WinHelpDecliner::GetHelpPath() { return {}; }
std::string WinHelpDecliner::GetDefaultHelpFile() { return {}; }

WinHelpViewer::WinHelpViewer(const HelpSystem& system, WinHelpTester& tester)
    : system_(system), tester_(tester) {}

std::string WinHelpViewer::ViewerName() { return std::string(kName); }

int WinHelpViewer::UnderstandsKeyword(std::string_view keyword) {
  return tester_.CanShowALink(keyword, system_.current_help_file()) ? 1 : 0;
}

std::vector<std::string> WinHelpViewer::HelpStrings(std::string_view keyword) {
  return tester_.GetHelpStrings(keyword);
}

bool WinHelpViewer::CanShowTableOfContents() { return true; }

// What the viewer would show, WinHelp, no longer exists; the tester sees that it is never chosen.
void WinHelpViewer::ShowTableOfContents() {}
void WinHelpViewer::ShowHelp(std::string_view) {}
void WinHelpViewer::NotifyId(int) {}
void WinHelpViewer::SoftShutDown() {}
void WinHelpViewer::ShutDown() {}

bool WinHelpViewer::UnderstandsTopic(std::string_view topic) {
  return tester_.CanShowTopic(topic, system_.current_help_file());
}

void WinHelpViewer::DisplayTopic(std::string_view) {}

bool WinHelpViewer::UnderstandsContext(int context, std::string_view help_file) {
  return tester_.CanShowContext(context, help_file);
}

void WinHelpViewer::DisplayHelpByContext(int, std::string_view) {}

}  // namespace transzendal::app
