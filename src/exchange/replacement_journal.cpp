#include "replacement_journal.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

#include "messages.h"
#include "platform.h"
#include "run_error.h"
#include "text.h"

namespace transzendal {
namespace {

constexpr std::string_view kHeaderPrefix = "transzendal-journal ";
constexpr std::string_view kVersion = "1";
constexpr std::string_view kEndPrefix = "end ";
constexpr std::size_t kMaxTableName = 32;
constexpr std::size_t kChecksumDigits = 8;
// Shown texts of a damaged journal are cut, so that a garbage line cannot flood the message.
constexpr std::size_t kShownBytes = 40;

std::uint32_t Fnv1a(std::string_view bytes) {
  std::uint32_t hash = 2166136261u;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

std::string Hex8(std::uint32_t value) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string out(kChecksumDigits, '0');
  for (std::size_t i = kChecksumDigits; i-- > 0; value >>= 4) out[i] = kDigits[value & 0xFu];
  return out;
}

bool IsTableName(std::string_view name) {
  if (name.empty() || name.size() > kMaxTableName) return false;
  for (const char c : name) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  }
  return true;
}

std::optional<std::size_t> ParseCount(std::string_view text) {
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// Reads the decoder's input line by line; a line counts only when its "\n" is there.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

  std::optional<std::string_view> Next() {
    const std::size_t end = bytes_.find('\n', position_);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = bytes_.substr(position_, end - position_);
    position_ = end + 1;
    return line;
  }
  std::size_t position() const { return position_; }
  bool at_end() const { return position_ == bytes_.size(); }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

[[noreturn]] void Damaged(const std::filesystem::path& file, const std::string& reason) {
  const std::string shown = platform::PathToUtf8(file);
  throw RunError(msg::FillMessage(msg::kJournalDamaged, {shown, reason}), {shown, "", "", ""});
}

std::string Shown(std::string_view bytes) { return Windows1252ToUtf8(Left(bytes, kShownBytes)); }

}  // namespace

std::string EncodeReplacementJournal(std::span<const std::string> tables) {
  std::string out = std::string(kHeaderPrefix) + std::string(kVersion) + "\n";
  for (const std::string& table : tables) out += table + "\n";
  const std::uint32_t checksum = Fnv1a(out);
  out += std::string(kEndPrefix) + std::to_string(tables.size()) + " " + Hex8(checksum) + "\n";
  return out;
}

std::vector<std::string> DecodeReplacementJournal(std::string_view bytes,
                                                  const std::filesystem::path& file) {
  LineReader lines(bytes);
  const std::optional<std::string_view> header = lines.Next();
  if (!header || !header->starts_with(kHeaderPrefix))
    Damaged(file, std::string(msg::kJournalNoHeader));
  const std::string_view version = header->substr(kHeaderPrefix.size());
  if (version != kVersion) {
    Damaged(file, msg::FillMessage(msg::kJournalUnknownVersion, {Shown(version)}));
  }

  std::vector<std::string> tables;
  std::size_t end_start = 0;
  std::optional<std::string_view> end_line;
  while (!end_line) {
    end_start = lines.position();
    const std::optional<std::string_view> line = lines.Next();
    if (!line) Damaged(file, std::string(msg::kJournalNoEnd));
    if (line->starts_with(kEndPrefix)) {
      end_line = line;
    } else if (!IsTableName(*line)) {
      Damaged(file, msg::FillMessage(msg::kJournalBadTable, {Shown(*line)}));
    } else if (std::find(tables.begin(), tables.end(), *line) != tables.end()) {
      Damaged(file, msg::FillMessage(msg::kJournalRepeatedTable, {*line}));
    } else {
      tables.emplace_back(*line);
    }
  }

  // "end <count> <checksum>": exactly one blank between the parts, nothing else.
  const std::string_view fields = end_line->substr(kEndPrefix.size());
  const std::size_t blank = fields.find(' ');
  const std::optional<std::size_t> count =
      blank == std::string_view::npos ? std::nullopt : ParseCount(fields.substr(0, blank));
  const std::string_view checksum =
      blank == std::string_view::npos ? std::string_view() : fields.substr(blank + 1);
  if (!count || checksum.size() != kChecksumDigits) Damaged(file, std::string(msg::kJournalBadEnd));
  if (*count != tables.size()) {
    Damaged(file, msg::FillMessage(msg::kJournalWrongCount,
                                   {std::to_string(*count), std::to_string(tables.size())}));
  }
  if (checksum != Hex8(Fnv1a(bytes.substr(0, end_start)))) {
    Damaged(file, std::string(msg::kJournalWrongChecksum));
  }
  if (!lines.at_end()) Damaged(file, std::string(msg::kJournalTrailingBytes));
  return tables;
}

}  // namespace transzendal
