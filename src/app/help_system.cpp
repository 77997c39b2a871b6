#include "help_system.h"

#include <algorithm>
#include <cstddef>

namespace transzendal::app {

int HelpSystem::Register(HelpViewer& viewer) {
  const int id = next_id_++;
  viewers_.push_back({id, &viewer});
  viewer.NotifyId(id);
  return id;
}

void HelpSystem::Release(int viewer_id) {
  std::erase_if(viewers_, [&](const Registration& registration) { return registration.id == viewer_id; });
}

void HelpSystem::Remember(std::string_view help_file) {
  if (!help_file.empty()) current_file_ = help_file;
}

bool HelpSystem::ContextHelp(int context, std::string_view help_file) {
  Remember(help_file);
  for (const Registration& registration : viewers_) {
    if (registration.viewer->UnderstandsContext(context, help_file)) {
      registration.viewer->DisplayHelpByContext(context, help_file);
      return true;
    }
  }
  return false;
}

bool HelpSystem::KeywordHelp(std::string_view keyword, std::string_view help_file) {
  Remember(help_file);
  std::vector<HelpViewer*> willing;
  for (const Registration& registration : viewers_) {
    if (registration.viewer->UnderstandsKeyword(keyword) > 0) willing.push_back(registration.viewer);
  }
  if (willing.empty()) return false;
  if (willing.size() == 1 || selector_ == nullptr) {
    willing.front()->ShowHelp(keyword);
    return true;
  }
  // Every viewer's entries in one list; the chosen entry goes back to the viewer that gave it.
  std::vector<std::string> entries;
  std::vector<HelpViewer*> owners;
  for (HelpViewer* viewer : willing) {
    for (std::string& entry : viewer->HelpStrings(keyword)) {
      entries.push_back(std::move(entry));
      owners.push_back(viewer);
    }
  }
  const int chosen = selector_->SelectKeyword(entries);
  if (chosen < 0 || static_cast<std::size_t>(chosen) >= entries.size()) return false;
  owners[static_cast<std::size_t>(chosen)]->ShowHelp(entries[static_cast<std::size_t>(chosen)]);
  return true;
}

bool HelpSystem::TopicHelp(std::string_view topic, std::string_view help_file) {
  Remember(help_file);
  for (const Registration& registration : viewers_) {
    if (registration.viewer->UnderstandsTopic(topic)) {
      registration.viewer->DisplayTopic(topic);
      return true;
    }
  }
  return false;
}

bool HelpSystem::ShowTableOfContents(std::string_view help_file) {
  Remember(help_file);
  std::vector<HelpViewer*> able;
  std::vector<std::string> names;
  for (const Registration& registration : viewers_) {
    if (!registration.viewer->CanShowTableOfContents()) continue;
    able.push_back(registration.viewer);
    names.push_back(registration.viewer->ViewerName());
  }
  if (able.empty()) return false;
  std::size_t chosen = 0;
  if (able.size() > 1 && selector_ != nullptr) {
    const int position = selector_->TableOfContents(names);
    if (position < 0 || static_cast<std::size_t>(position) >= able.size()) return false;
    chosen = static_cast<std::size_t>(position);
  }
  able[chosen]->ShowTableOfContents();
  return true;
}

void HelpSystem::ShutDown() {
  // A viewer may release itself while shutting down: work on a copy.
  const std::vector<Registration> viewers = viewers_;
  for (const Registration& registration : viewers) registration.viewer->ShutDown();
  viewers_.clear();
}

}  // namespace transzendal::app
