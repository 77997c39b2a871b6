#include "html_help_viewer.h"

#include <utility>

#include "text.h"

namespace transzendal::app {
namespace {

// From the last "." to the end; empty when there is none.
std::string_view Extension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

}  // namespace

bool IsChmFile(std::string_view name) { return LowerAscii(Extension(name)) == ".chm"; }

std::string TopicFile(std::string_view topic) {
  const std::string extension = LowerAscii(Extension(topic));
  if (extension == ".htm" || extension == ".html") return std::string(topic);
  return std::string(topic) + ".htm";
}

std::string CleanKeyword(std::string_view keyword) {
  const std::size_t colon = keyword.find(':');
  if (colon != std::string_view::npos) keyword.remove_prefix(colon + 1);
  return std::string(Trim(keyword));
}

HtmlHelpViewer::HtmlHelpViewer(HelpSystem& system, HtmlHelpCall call, std::string program_folder)
    : system_(&system), call_(std::move(call)), program_folder_(std::move(program_folder)) {}

std::string HtmlHelpViewer::ResolvedHelpFile() const {
  if (system_ == nullptr) return {};
  std::string name = system_->current_help_file();
  if (name.empty()) name = system_->application_help_file();
  if (!name.empty() && name.find_first_of("\\:") == std::string::npos) name = program_folder_ + name;
  return name;
}

void HtmlHelpViewer::Call(HtmlHelpCommand command, std::optional<std::string> file,
                          std::uintptr_t data, std::string keyword) const {
  if (!call_) return;  // no HTML Help: the program works on without help
  HtmlHelpRequest request;
  request.window = system_ != nullptr ? system_->owner_window() : 0;
  request.file = std::move(file);
  request.command = command;
  request.data = data;
  request.keyword = std::move(keyword);
  call_(request);
}

std::string HtmlHelpViewer::ViewerName() { return std::string(kName); }

int HtmlHelpViewer::UnderstandsKeyword(std::string_view /*keyword*/) {
  return IsChmFile(ResolvedHelpFile()) ? 1 : 0;
}

std::vector<std::string> HtmlHelpViewer::HelpStrings(std::string_view keyword) {
  return {std::string(kName) + ": " + std::string(keyword)};
}

bool HtmlHelpViewer::CanShowTableOfContents() { return true; }

void HtmlHelpViewer::ShowTableOfContents() {
  const std::string file = ResolvedHelpFile();
  if (IsChmFile(file)) Call(HtmlHelpCommand::kDisplayToc, file);
}

void HtmlHelpViewer::ShowHelp(std::string_view keyword) {
  const std::string file = ResolvedHelpFile();
  if (!IsChmFile(file)) return;
  Call(HtmlHelpCommand::kDisplayIndex, file, 0, CleanKeyword(keyword));
}

void HtmlHelpViewer::NotifyId(int viewer_id) { viewer_id_ = viewer_id; }

void HtmlHelpViewer::SoftShutDown() { Call(HtmlHelpCommand::kCloseAll, std::nullopt); }

void HtmlHelpViewer::ShutDown() {
  SoftShutDown();
  system_ = nullptr;
}

bool HtmlHelpViewer::UnderstandsTopic(std::string_view /*topic*/) {
  return IsChmFile(ResolvedHelpFile());
}

void HtmlHelpViewer::DisplayTopic(std::string_view topic) {
  const std::string file = ResolvedHelpFile();
  if (!IsChmFile(file)) return;
  Call(HtmlHelpCommand::kDisplayTopic, file + "::/" + TopicFile(topic));
}

bool HtmlHelpViewer::UnderstandsContext(int /*context*/, std::string_view help_file) {
  return IsChmFile(help_file);
}

void HtmlHelpViewer::DisplayHelpByContext(int context, std::string_view /*help_file*/) {
  const std::string file = ResolvedHelpFile();
  if (!IsChmFile(file)) return;
  Call(HtmlHelpCommand::kHelpContext, file, static_cast<std::uintptr_t>(static_cast<unsigned>(context)));
}

int HtmlHelpViewer::SelectKeyword(std::span<const std::string> entries) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string_view entry = entries[i];
    if (entry.substr(0, entry.find(':')) == kName) return static_cast<int>(i);
  }
  return 0;
}

int HtmlHelpViewer::TableOfContents(std::span<const std::string> viewer_names) {
  for (std::size_t i = 0; i < viewer_names.size(); ++i) {
    if (LowerAscii(viewer_names[i]) == LowerAscii(kName)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace transzendal::app
