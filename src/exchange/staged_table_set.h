// The forward run's new tables, built in a staging folder inside the exchange directory and put in
// place of the live ones as one set, only once the whole run has succeeded. Six files can't be
// replaced in one atomic step, so the replacement is journalled: from the moment the journal is in
// place the new set counts, and FinishInterruptedReplacement completes whatever a dead process
// left. The set owns its staging folder; the ExchangeLock it is made from must outlive it.
#pragma once

#include <array>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange_lock.h"

namespace transzendal {

// The tables a forward run writes, in the order of the run (files ASIGNOMT.DBF and so on). The set
// a commit replaces is those of them that the run wrote; SOLUC and every other file stay untouched.
inline constexpr std::array<std::string_view, 6> kForwardRunTables = {
    "ASIGNOMT", "PROFT", "AULAT", "DIASHORAST", "GRUPOST", "ASIGT"};

// Test seams: the named points of a commit, and what a test's hook makes happen there.
enum class CommitPoint {
  kBeforeJournal,  // the new tables and the journal's temporary file are on disk; no journal yet
  kAfterJournal,   // the journal is in place, so the new set counts; no file moved yet
  kMoveIn,         // before one new table is moved into the exchange directory
};
enum class CommitFault {
  kNone,  // go on
  kFail,  // the file operation at this point fails, as a full disk or a held file makes it fail
  kStop,  // the process dies here: CommitStopped is thrown and everything stays on disk as it is
};
// Asked at every point; `table` names the table at kMoveIn and is empty elsewhere.
using CommitFaultHook = std::function<CommitFault(CommitPoint point, std::string_view table)>;

// Thrown only when a test's hook stopped a commit.
class CommitStopped : public std::exception {
 public:
  const char* what() const noexcept override { return "commit stopped by a test"; }
};

class StagedTableSet {
 public:
  // Creates the empty staging folder in the directory that `lock` holds; throws RunError naming
  // the folder when it can't.
  explicit StagedTableSet(const ExchangeLock& lock);
  // Unless the journal was put in place (or a test stopped the commit), removes the staging folder
  // and everything in it, leaving the exchange directory as it was; what can't be removed is left
  // for the next OpenExchangeDirectory.
  ~StagedTableSet();
  StagedTableSet(const StagedTableSet&) = delete;
  StagedTableSet& operator=(const StagedTableSet&) = delete;

  // Where the run writes its tables (upper-case file names) and reads back those it wrote.
  const std::filesystem::path& folder() const { return folder_; }

  // Replaces the live tables by the staged ones and returns the names of the tables replaced (none
  // when the run wrote none: then nothing changes). Throws RunError: before the journal is in place
  // (a folder named like a table's file stops it there) the exchange directory is left as it was;
  // after it, the next OpenExchangeDirectory completes the replacement. Call it once, after the
  // last step of the run.
  std::vector<std::string> Commit(const CommitFaultHook& faults = {});

 private:
  enum class State { kOpen, kJournalled, kStopped, kDone };

  std::filesystem::path directory_;
  std::filesystem::path folder_;
  State state_ = State::kOpen;
};

// Finishes a replacement that an earlier process left half done in the directory `lock` holds: with
// a journal it completes the move of the new set (roll forward); without one it removes the staging
// folder and moves back any old table moved aside (roll back); with neither it changes nothing.
// Throws RunError when the journal is damaged or a file operation fails.
void FinishInterruptedReplacement(const ExchangeLock& lock);

}  // namespace transzendal
