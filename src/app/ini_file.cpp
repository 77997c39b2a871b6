// The file is never rebuilt from parsed parts: its lines are only located, and the edit is one
// splice into the original bytes, so whatever it does not touch is copied through as it was.
#include "ini_file.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "platform.h"

namespace transzendal::app {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// The line end of a file that has none yet: Windows' own.
constexpr std::string_view kDefaultLineEnd = "\r\n";

// One line of the content: its text, then its line end (empty only on a last line without one).
struct Line {
  std::size_t begin = 0;  // offset of the text in the content
  std::string_view text;
  std::string_view end;

  std::size_t text_end() const { return begin + text.size(); }
  std::size_t after() const { return begin + text.size() + end.size(); }
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The lines of `content` from `start` on; a line ends at CR LF, LF or a lone CR.
std::vector<Line> SplitLines(std::string_view content, std::size_t start) {
  std::vector<Line> lines;
  std::size_t begin = start;
  while (begin < content.size()) {
    const std::size_t stop = content.find_first_of("\r\n", begin);
    if (stop == std::string_view::npos) {
      lines.push_back({begin, content.substr(begin), {}});
      break;
    }
    const bool crlf =
        content[stop] == '\r' && stop + 1 < content.size() && content[stop + 1] == '\n';
    const std::size_t end_size = crlf ? 2 : 1;
    lines.push_back({begin, content.substr(begin, stop - begin), content.substr(stop, end_size)});
    begin = stop + end_size;
  }
  return lines;
}

// The name of the section that `line` opens, or nothing when it opens none. A header without its
// closing bracket still opens a section, named by the rest of the line.
std::optional<std::string_view> SectionName(const Line& line) {
  const std::string_view text = Trim(line.text);
  if (text.empty() || text.front() != '[') return std::nullopt;
  const std::string_view inside = text.substr(1);
  return Trim(inside.substr(0, inside.find(']')));
}

bool IsHeaderOf(const Line& line, std::string_view section) {
  const std::optional<std::string_view> name = SectionName(line);
  return name && EqualIgnoringAsciiCase(*name, section);
}

// The name of the key on `line`: the text before its first '=', or the whole text of a line
// without one (a key without value to Windows); nothing for a blank line or a comment.
std::optional<std::string_view> KeyName(const Line& line) {
  const std::string_view text = Trim(line.text);
  if (text.empty() || text.front() == ';') return std::nullopt;
  return Trim(text.substr(0, text.find('=')));
}

std::string Splice(std::string_view content, std::size_t from, std::size_t to,
                   std::string_view replacement) {
  std::string result;
  result.reserve(content.size() - (to - from) + replacement.size());
  result.append(content.substr(0, from));
  result.append(replacement);
  result.append(content.substr(to));
  return result;
}

}  // namespace

std::string SetIniValue(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value) {
  // The mark is not part of the first line, which may be a section header all the same.
  const std::size_t start = content.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
  const std::vector<Line> lines = SplitLines(content, start);
  std::string_view line_end = kDefaultLineEnd;
  for (const Line& line : lines) {
    if (!line.end.empty()) {
      line_end = line.end;
      break;
    }
  }
  const std::string key_line = std::string(key) + "=" + std::string(value);

  std::size_t header = 0;
  while (header < lines.size() && !IsHeaderOf(lines[header], section)) ++header;

  if (header == lines.size()) {
    std::string addition;
    if (!lines.empty()) {
      if (lines.back().end.empty()) addition.append(line_end);
      if (!Trim(lines.back().text).empty()) addition.append(line_end);
    }
    addition.append("[").append(section).append("]").append(line_end);
    addition.append(key_line).append(line_end);
    return Splice(content, content.size(), content.size(), addition);
  }

  // Invariant: `anchor` is the last non-blank line seen in the section, the header at first.
  std::size_t anchor = header;
  for (std::size_t i = header + 1; i < lines.size() && !SectionName(lines[i]); ++i) {
    const Line& line = lines[i];
    if (!Trim(line.text).empty()) anchor = i;
    const std::optional<std::string_view> name = KeyName(line);
    if (!name || !EqualIgnoringAsciiCase(*name, key)) continue;
    const std::size_t equals = line.text.find('=');
    if (equals == std::string_view::npos) {
      return Splice(content, line.text_end(), line.text_end(), "=" + std::string(value));
    }
    return Splice(content, line.begin + equals + 1, line.text_end(), value);
  }

  const Line& last = lines[anchor];
  if (last.end.empty()) {
    // The last line of the file, without a line end: it gets one before the new line.
    return Splice(content, last.text_end(), last.text_end(),
                  std::string(line_end) + key_line + std::string(line_end));
  }
  return Splice(content, last.after(), last.after(), key_line + std::string(line_end));
}

void WriteIniValue(const std::filesystem::path& path, std::string_view section,
                   std::string_view key, std::string_view value, std::error_code& error) {
  using platform::File;
  using platform::FileAccess;
  using platform::FileSharing;
  // Shared: the file is the timetable program's, which may keep it open while it waits for us.
  File file = File::Open(path, FileAccess::kReadWrite, FileSharing::kShared, error);
  bool created = false;
  if (error == std::errc::no_such_file_or_directory) {
    file = File::Open(path, FileAccess::kCreateNew, FileSharing::kShared, error);
    created = !error;
    // Created by another process in between: edited like any file that was there.
    if (error == std::errc::file_exists) {
      file = File::Open(path, FileAccess::kReadWrite, FileSharing::kShared, error);
    }
  }
  if (error) return;

  std::string content(static_cast<std::size_t>(file.Size(error)), '\0');
  if (!error) content.resize(file.ReadAt(0, content, error));
  if (!error) {
    const std::string updated = SetIniValue(content, section, key, value);
    file.WriteAt(0, std::span<const char>(updated), error);
    if (!error) file.Resize(updated.size(), error);
    if (!error) file.Flush(error);
  }
  if (error && created) {
    // A file that was missing is missing again, rather than left empty or half written.
    file.Close();
    std::error_code ignored;
    platform::RemoveFileUnlessHeld(path, ignored);
  }
}

}  // namespace transzendal::app
