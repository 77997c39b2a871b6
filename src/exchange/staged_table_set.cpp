#include "staged_table_set.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <system_error>

#include "file_error.h"
#include "messages.h"
#include "platform.h"
#include "replacement_journal.h"
#include "run_error.h"
#include "table_files.h"
#include "text.h"

namespace transzendal {
namespace {

namespace fs = std::filesystem;

// The replacement's own entries in the exchange directory; the timetable program uses none of these
// names. The old files moved aside wait in a folder of their own, under their own names.
constexpr std::string_view kStagingFolder = ".transzendal-staging";
constexpr std::string_view kAsideFolder = ".transzendal-replaced";
constexpr std::string_view kJournal = ".transzendal-journal";
constexpr std::string_view kJournalTemporary = ".transzendal-journal.tmp";
// A journal names at most six tables; anything far larger is no journal of ours.
constexpr std::uint64_t kMaxJournalBytes = 64 * 1024;

struct Layout {
  explicit Layout(const fs::path& exchange)
      : directory(exchange),
        staging(exchange / kStagingFolder),
        aside(exchange / kAsideFolder),
        journal(exchange / kJournal),
        journal_temporary(exchange / kJournalTemporary) {}

  fs::path directory;
  fs::path staging;
  fs::path aside;
  fs::path journal;
  fs::path journal_temporary;
};

std::string Shown(const fs::path& path) { return platform::PathToUtf8(path); }

ErrorContext At(const fs::path& file, std::string_view table = {}) {
  return {Shown(file), std::string(table), "", ""};
}

// An entry of any kind, a dangling link included.
bool Exists(const fs::path& path) {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(path, ignored));
}

[[noreturn]] void Fail(std::string_view pattern, const fs::path& file,
                       std::string_view table = {}) {
  throw RunError(msg::FillMessage(pattern, {Shown(file), table}), At(file, table));
}

// A failure before the journal counts, with what the system said.
[[noreturn]] void FailBecause(std::string_view pattern, const fs::path& file, std::error_code error,
                              std::string_view table = {}) {
  throw RunError(msg::FillMessage(pattern, {Shown(file), FileErrorText(error)}), At(file, table));
}

// After the journal is in place every failure leaves the rest to the next opening of the directory.
[[noreturn]] void Incomplete(const Layout& layout, const fs::path& entry, std::string_view table) {
  throw RunError(
      msg::FillMessage(msg::kReplacementIncomplete, {Shown(layout.directory), Shown(entry)}),
      At(entry, table));
}

CommitFault Ask(const CommitFaultHook& faults, CommitPoint point, std::string_view table) {
  return faults ? faults(point, table) : CommitFault::kNone;
}

// A failure the hook asked for takes the path of a real one.
std::error_code Injected() { return std::make_error_code(std::errc::io_error); }

void MoveOrIncomplete(const Layout& layout, const fs::path& from, const fs::path& to,
                      std::string_view table, bool inject_failure = false) {
  std::error_code error = inject_failure ? Injected() : std::error_code();
  if (!error) platform::MoveReplacing(from, to, error);
  if (error) Incomplete(layout, from, table);
}

void SyncOrIncomplete(const Layout& layout, const fs::path& directory) {
  std::error_code error;
  platform::SyncDirectory(directory, error);
  if (error) Incomplete(layout, directory, {});
}

void RemoveAllOrIncomplete(const Layout& layout, const fs::path& path) {
  std::error_code error;
  fs::remove_all(path, error);
  if (error) Incomplete(layout, path, {});
}

// The roll forward, shared by a commit and by the recovery, and safe to repeat from any point at
// which a process died: each phase only does what is still left to do.
void RollForward(const Layout& layout, std::span<const std::string> tables,
                 const CommitFaultHook& faults) {
  // Old files go aside only while their table's new file still waits in the staging folder; once it
  // has been moved in, the live file of that name is the new one.
  bool aside_created = false;
  for (const std::string& table : tables) {
    const fs::path staged = layout.staging / DataFileName(table);
    if (!Exists(staged)) {
      if (!Exists(layout.directory / DataFileName(table))) {
        throw RunError(msg::FillMessage(msg::kJournalTableMissing, {Shown(layout.journal), table}),
                       At(layout.journal, table));
      }
      continue;
    }
    // Every spelling of the file name goes aside, so that one table never exists twice. Each
    // move takes one entry out of the directory, so the search ends.
    while (const auto live = platform::FindEntryIgnoringCase(layout.directory, DataFileName(table))) {
      if (!aside_created) {
        std::error_code error;
        fs::create_directories(layout.aside, error);
        if (error) Incomplete(layout, layout.aside, table);
        aside_created = true;
      }
      MoveOrIncomplete(layout, *live, layout.aside / live->filename(), table);
    }
  }
  // The moves aside are durable before any new file arrives, so that no crash can leave an old
  // spelling of a file name next to its new table.
  if (aside_created) SyncOrIncomplete(layout, layout.aside);
  SyncOrIncomplete(layout, layout.directory);

  for (const std::string& table : tables) {
    const fs::path staged = layout.staging / DataFileName(table);
    if (!Exists(staged)) continue;
    const bool fail = Ask(faults, CommitPoint::kMoveIn, table) == CommitFault::kFail;
    MoveOrIncomplete(layout, staged, layout.directory / DataFileName(table), table, fail);
  }
  SyncOrIncomplete(layout, layout.directory);

  for (const std::string& table : tables) {
    while (const auto index = platform::FindEntryIgnoringCase(layout.directory, IndexFileName(table))) {
      std::error_code error;
      const bool removed = fs::remove(*index, error);
      if (error || !removed) Incomplete(layout, *index, table);
    }
  }

  // The journal goes last: without it, an old file still aside would be moved back over the new
  // set.
  RemoveAllOrIncomplete(layout, layout.aside);
  RemoveAllOrIncomplete(layout, layout.staging);
  RemoveAllOrIncomplete(layout, layout.journal_temporary);
  SyncOrIncomplete(layout, layout.directory);
  RemoveAllOrIncomplete(layout, layout.journal);
  SyncOrIncomplete(layout, layout.directory);
}

// Without a journal the new set never counted: whatever a dead process left goes, and old files
// come back. Nothing is moved aside before the journal exists, so an old file whose name is taken
// again is a state this program never makes; it is reported rather than guessed at.
void RollBack(const Layout& layout) {
  std::error_code error;
  bool changed = false;
  for (const fs::path& leftover : {layout.journal_temporary, layout.staging}) {
    if (!Exists(leftover)) continue;
    fs::remove_all(leftover, error);
    if (error) Fail(msg::kLeftoverNotRemoved, leftover);
    changed = true;
  }
  if (Exists(layout.aside)) {
    std::vector<fs::path> old_files;
    for (fs::directory_iterator it(layout.aside, error); !error && it != fs::directory_iterator();
         it.increment(error)) {
      old_files.push_back(it->path());
    }
    if (error) Fail(msg::kLeftoverNotRemoved, layout.aside);
    for (const fs::path& old_file : old_files) {
      if (platform::FindEntryIgnoringCase(layout.directory, Shown(old_file.filename()))) {
        Fail(msg::kRollbackConflict, old_file);
      }
    }
    for (const fs::path& old_file : old_files) {
      platform::MoveReplacing(old_file, layout.directory / old_file.filename(), error);
      if (error) Fail(msg::kLeftoverNotRemoved, old_file);
    }
    fs::remove(layout.aside, error);
    if (error) Fail(msg::kLeftoverNotRemoved, layout.aside);
    changed = true;
  }
  if (changed) {
    platform::SyncDirectory(layout.directory, error);
    if (error) Fail(msg::kLeftoverNotRemoved, layout.directory);
  }
}

std::vector<std::string> ReadJournal(const fs::path& journal) {
  std::error_code error;
  const platform::File file = platform::File::Open(journal, platform::FileAccess::kRead,
                                                   platform::FileSharing::kShared, error);
  const std::uint64_t size = error ? 0 : file.Size(error);
  if (error) Fail(msg::kJournalUnreadable, journal);
  if (size > kMaxJournalBytes) {
    throw RunError(msg::FillMessage(msg::kJournalDamaged, {Shown(journal), msg::kJournalTooLarge}),
                   At(journal));
  }
  std::string bytes(static_cast<std::size_t>(size), '\0');
  bytes.resize(file.ReadAt(0, bytes, error));
  if (error) Fail(msg::kJournalUnreadable, journal);
  std::vector<std::string> tables = DecodeReplacementJournal(bytes, journal);
  // A journal may only ever name tables of the forward run: never SOLUC, never another file.
  for (const std::string& table : tables) {
    if (std::find(kForwardRunTables.begin(), kForwardRunTables.end(), table) ==
        kForwardRunTables.end()) {
      const std::string reason = msg::FillMessage(msg::kJournalUnknownTable, {table});
      throw RunError(msg::FillMessage(msg::kJournalDamaged, {Shown(journal), reason}),
                     At(journal, table));
    }
  }
  return tables;
}

// A folder named like a table's file, in any spelling, is no old table: the roll forward would move
// it aside and delete it with everything in it. So the replacement refuses to begin.
void RefuseFoldersInTheWay(const Layout& layout, std::span<const std::string> tables) {
  std::error_code error;
  for (fs::directory_iterator it(layout.directory, error); !error && it != fs::directory_iterator();
       it.increment(error)) {
    std::error_code ignored;
    if (it->symlink_status(ignored).type() != fs::file_type::directory) continue;
    const std::string name = LowerAscii(Shown(it->path().filename()));
    for (const std::string& table : tables) {
      if (name == LowerAscii(DataFileName(table)) || name == LowerAscii(IndexFileName(table))) {
        Fail(msg::kTableFolderInTheWay, it->path(), table);
      }
    }
  }
  if (error) Fail(msg::kExchangeDirectoryUnopenable, layout.directory);
}

void WriteDurably(const fs::path& file, std::string_view bytes, std::error_code& error) {
  platform::File out = platform::File::Open(file, platform::FileAccess::kCreate,
                                            platform::FileSharing::kShared, error);
  if (!error) out.WriteAt(0, bytes, error);
  if (!error) out.Flush(error);
}

}  // namespace

StagedTableSet::StagedTableSet(const ExchangeLock& lock)
    : directory_(lock.directory()), folder_(lock.directory() / kStagingFolder) {
  // A replacement left half done by this same process must end before its staging folder is reused.
  FinishInterruptedReplacement(lock);
  std::error_code error;
  fs::create_directory(folder_, error);
  if (error) FailBecause(msg::kStagingFolderNotCreated, folder_, error);
}

StagedTableSet::~StagedTableSet() {
  if (state_ != State::kOpen) return;
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
  fs::remove(directory_ / kJournalTemporary, ignored);
}

std::vector<std::string> StagedTableSet::Commit(const CommitFaultHook& faults) {
  const Layout layout(directory_);
  // A stop leaves everything on disk as a dead process would: the destructor must not clean up.
  const CommitFaultHook ask = [this, &faults](CommitPoint point, std::string_view table) {
    const CommitFault fault = Ask(faults, point, table);
    if (fault == CommitFault::kStop) {
      state_ = State::kStopped;
      throw CommitStopped();
    }
    return fault;
  };

  std::vector<std::string> tables;
  for (const std::string_view table : kForwardRunTables) {
    std::error_code error;
    const auto staged = platform::FindEntryIgnoringCase(folder_, DataFileName(table));
    if (!staged || !fs::is_regular_file(*staged, error)) continue;
    // The roll forward looks for the upper-case name only.
    const fs::path upper = folder_ / DataFileName(table);
    if (staged->filename() != upper.filename()) platform::MoveReplacing(*staged, upper, error);
    if (!error) {
      platform::File file = platform::File::Open(upper, platform::FileAccess::kReadWrite,
                                                 platform::FileSharing::kShared, error);
      if (!error) file.Flush(error);
    }
    if (error) FailBecause(msg::kStagedTableNotSaved, upper, error, table);
    tables.emplace_back(table);
  }
  if (tables.empty()) return tables;
  RefuseFoldersInTheWay(layout, tables);
  std::error_code error;
  platform::SyncDirectory(folder_, error);
  if (error) FailBecause(msg::kStagedTableNotSaved, folder_, error);

  WriteDurably(layout.journal_temporary, EncodeReplacementJournal(tables), error);
  if (!error && ask(CommitPoint::kBeforeJournal, {}) == CommitFault::kFail) error = Injected();
  if (!error) platform::MoveReplacing(layout.journal_temporary, layout.journal, error);
  if (error) FailBecause(msg::kJournalNotWritten, layout.journal, error);
  // From here on the new set counts.
  state_ = State::kJournalled;
  if (ask(CommitPoint::kAfterJournal, {}) == CommitFault::kFail) {
    Incomplete(layout, layout.journal, {});
  }
  SyncOrIncomplete(layout, layout.directory);
  RollForward(layout, tables, ask);
  state_ = State::kDone;
  return tables;
}

void FinishInterruptedReplacement(const ExchangeLock& lock) {
  const Layout layout(lock.directory());
  if (!Exists(layout.journal)) {
    RollBack(layout);
    return;
  }
  RollForward(layout, ReadJournal(layout.journal), {});
}

}  // namespace transzendal
