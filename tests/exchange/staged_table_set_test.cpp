#include "staged_table_set.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "directory_snapshot.h"
#include "exchange_lock.h"
#include "expect_error.h"
#include "replacement_journal.h"
#include "temp_dir.h"

namespace transzendal {
namespace {

namespace fs = std::filesystem;
using testing::DirectorySnapshot;
using testing::SnapshotDirectory;

void Put(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
  ASSERT_TRUE(out.good()) << "could not write " << file;
}

std::string NewBytes(std::string_view table) { return "tabla nueva " + std::string(table); }

const std::vector<std::string> kThree = {"ASIGNOMT", "PROFT", "DIASHORAST"};

// The exchange directory with a complete old set, an index beside one table, the timetable
// program's SOLUC and a file that belongs to nobody here.
class StagedTables : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(exchange_);
    fs::create_directories(exchange_ / "brevel");
    for (std::string_view table : kForwardRunTables) {
      Put(exchange_ / (std::string(table) + ".DBF"), "tabla anterior " + std::string(table));
    }
    for (std::string name : {"ASIGNOMT.MDX", "SOLUC.DBF", "SOLUC.MDX", "brevel/centro.xml"}) {
      Put(exchange_ / name, "de antes: " + name);
    }
    old_set_ = SnapshotDirectory(exchange_);
  }

  // The old set with `tables` replaced by their new files and their indexes gone.
  DirectorySnapshot NewSet(const std::vector<std::string>& tables) const {
    DirectorySnapshot expected = old_set_;
    for (const std::string& table : tables) {
      expected[table + ".DBF"] = NewBytes(table);
      expected.erase(table + ".MDX");
    }
    return expected;
  }

  ExchangeLock Open() const { return OpenExchangeDirectory(exchange_, ExchangeUse::kWrite); }

  // Stages kThree and commits them with `faults`; true when a fault stopped the commit dead.
  bool CommitThree(const CommitFaultHook& faults) {
    const ExchangeLock lock = Open();
    StagedTableSet set(lock);
    for (const std::string& table : kThree) Put(set.folder() / (table + ".DBF"), NewBytes(table));
    try {
      set.Commit(faults);
    } catch (const CommitStopped&) {
      return true;
    }
    return false;
  }

  testing::TempDir dir_;
  fs::path exchange_ = dir_.path() / "ZTEMP";
  fs::path journal_ = exchange_ / ".transzendal-journal";
  DirectorySnapshot old_set_;
};

CommitFaultHook FaultAt(CommitPoint at, CommitFault fault, std::string_view at_table = {}) {
  return [=](CommitPoint point, std::string_view table) {
    return point == at && table == at_table ? fault : CommitFault::kNone;
  };
}

TEST_F(StagedTables, ACommitReplacesTheTablesTheRunWroteWhateverTheirSpellingAndNothingElse) {
  fs::rename(exchange_ / "ASIGNOMT.DBF", exchange_ / "Asignomt.dbf");
  fs::rename(exchange_ / "ASIGNOMT.MDX", exchange_ / "asignomt.Mdx");
  Put(exchange_ / "proft.dbf", "la misma tabla, otra vez");
  const ExchangeLock lock = Open();
  StagedTableSet set(lock);
  EXPECT_EQ(set.folder().parent_path(), exchange_);
  for (const std::string table : {"DIASHORAST", "ASIGNOMT"}) {
    Put(set.folder() / (table + ".DBF"), NewBytes(table));
  }
  Put(set.folder() / "proft.dbf", NewBytes("PROFT"));
  Put(set.folder() / "SOLUC.DBF", "no es una tabla de la ejecución");
  EXPECT_EQ(set.Commit(), kThree);  // in the order of the run
  EXPECT_EQ(SnapshotDirectory(exchange_), NewSet(kThree));
}

TEST_F(StagedTables, ARunThatEndsBeforeTheJournalLeavesTheDirectoryByteForByteAsItWas) {
  {
    const ExchangeLock lock = Open();
    StagedTableSet never_committed(lock);
    Put(never_committed.folder() / "PROFT.DBF", NewBytes("PROFT"));
  }
  EXPECT_EQ(SnapshotDirectory(exchange_), old_set_);
  {
    const ExchangeLock lock = Open();
    StagedTableSet wrote_nothing(lock);
    EXPECT_TRUE(wrote_nothing.Commit().empty());
  }
  EXPECT_EQ(SnapshotDirectory(exchange_), old_set_);
  EXPECT_RUN_ERROR(CommitThree(FaultAt(CommitPoint::kBeforeJournal, CommitFault::kFail)),
                   "No se puede escribir el diario de sustitución de tablas «" + journal_.string() +
                       "»: error del sistema n.º " +
                       std::to_string(std::make_error_code(std::errc::io_error).value()) +
                       "; no se ha modificado ninguna tabla.");
  EXPECT_EQ(SnapshotDirectory(exchange_), old_set_);
}

TEST_F(StagedTables, AProcessKilledAtAnyPointRecoversToTheCompleteOldOrNewSet) {
  // The points a commit of three tables passes: before and after the journal, then three moves.
  for (int stop_at = 0; stop_at < 5; ++stop_at) {
    SCOPED_TRACE(stop_at);
    SetUp();
    int seen = 0;
    ASSERT_TRUE(CommitThree([&](CommitPoint, std::string_view) {
      return seen++ == stop_at ? CommitFault::kStop : CommitFault::kNone;
    }));
    EXPECT_NE(SnapshotDirectory(exchange_), old_set_);  // the dead process left its traces
    OpenExchangeDirectory(exchange_, ExchangeUse::kRead);
    const DirectorySnapshot recovered = SnapshotDirectory(exchange_);
    EXPECT_EQ(recovered, stop_at == 0 ? old_set_ : NewSet(kThree));
    Open();
    EXPECT_EQ(SnapshotDirectory(exchange_), recovered);  // nothing left to do
  }
}

// A folder named like a table's file went aside with the old files and was deleted with everything
// in it.
TEST_F(StagedTables, AFolderNamedLikeATableIsNeverDeletedAndNothingIsReplaced) {
  for (const std::string folder : {"PROFT.DBF", "asignomt.dbf", "DiasHorasT.mdx"}) {
    SCOPED_TRACE(folder);
    SetUp();
    fs::remove(exchange_ / folder);  // an old table of that name, in another spelling, stays
    fs::create_directory(exchange_ / folder);
    Put(exchange_ / folder / "nota.txt", "de otro programa");
    const DirectorySnapshot before = SnapshotDirectory(exchange_);
    const std::string table = folder.substr(0, folder.find('.'));
    std::string upper = table;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_RUN_ERROR(CommitThree({}), "«" + (exchange_ / folder).string() +
                                          "» es una carpeta y ocupa el lugar de la tabla " + upper +
                                          ": retírela o cámbiele el nombre; no se ha modificado "
                                          "ninguna tabla.");
    EXPECT_EQ(SnapshotDirectory(exchange_), before);
  }
}

TEST_F(StagedTables, AFailedMoveEndsAfterRecoveryInTheNewSet) {
  EXPECT_RUN_ERROR(CommitThree(FaultAt(CommitPoint::kMoveIn, CommitFault::kFail, "PROFT")),
                   "No se ha podido completar la sustitución de las tablas del directorio de "
                   "intercambio «" +
                       exchange_.string() + "» (archivo «" +
                       (exchange_ / ".transzendal-staging" / "PROFT.DBF").string() +
                       "»); se completará la próxima vez que el conversor abra ese directorio.");
  EXPECT_EQ(testing::ReadBytes(exchange_ / "ASIGNOMT.DBF"), NewBytes("ASIGNOMT"));
  EXPECT_FALSE(fs::exists(exchange_ / "PROFT.DBF"));  // a mix, until the directory is opened
  OpenExchangeDirectory(exchange_, ExchangeUse::kRead);
  EXPECT_EQ(SnapshotDirectory(exchange_), NewSet(kThree));
}

TEST_F(StagedTables, LeftoversWithoutAJournalAreCleanedAndOldTablesGoBack) {
  fs::create_directories(exchange_ / ".transzendal-staging" / "sub");
  Put(exchange_ / ".transzendal-staging" / "ASIGNOMT.DBF", "a medio escribir");
  Put(exchange_ / ".transzendal-journal.tmp", "transzendal-journal 1\nASIG");
  fs::create_directory(exchange_ / ".transzendal-replaced");
  fs::rename(exchange_ / "AULAT.DBF", exchange_ / ".transzendal-replaced" / "AULAT.DBF");
  OpenExchangeDirectory(exchange_, ExchangeUse::kRead);
  EXPECT_EQ(SnapshotDirectory(exchange_), old_set_);

  // An old table whose name is taken again is a state no run makes: reported, not guessed at.
  fs::create_directory(exchange_ / ".transzendal-replaced");
  Put(exchange_ / ".transzendal-replaced" / "aulat.dbf", "¿cuál vale?");
  const DirectorySnapshot before = SnapshotDirectory(exchange_);
  EXPECT_RUN_ERROR(OpenExchangeDirectory(exchange_, ExchangeUse::kRead),
                   "No se puede devolver a su sitio la tabla anterior «" +
                       (exchange_ / ".transzendal-replaced" / "aulat.dbf").string() +
                       "»: el directorio de intercambio ya tiene un archivo con ese nombre.");
  EXPECT_EQ(SnapshotDirectory(exchange_), before);
}

TEST_F(StagedTables, ADamagedJournalIsAClearErrorAndNothingMoves) {
  const auto damaged = [this](const std::string& reason) {
    return "El diario de sustitución de tablas «" + journal_.string() + "» está dañado: " + reason +
           ". Revise las tablas del directorio de intercambio antes de borrar el diario.";
  };
  ASSERT_TRUE(CommitThree(FaultAt(CommitPoint::kAfterJournal, CommitFault::kStop)));
  std::string bytes = testing::ReadBytes(journal_);
  bytes[bytes.find("PROFT")] = 'Q';
  Put(journal_, bytes);
  const DirectorySnapshot before = SnapshotDirectory(exchange_);
  EXPECT_RUN_ERROR(Open(), damaged("la suma de control no coincide"));
  EXPECT_EQ(SnapshotDirectory(exchange_), before);

  Put(journal_, EncodeReplacementJournal(std::vector<std::string>{"SOLUC"}));
  EXPECT_RUN_ERROR(Open(), damaged("la tabla SOLUC no es una de las que escribe el conversor"));
  Put(journal_, std::string(70 * 1024, 'x'));
  EXPECT_RUN_ERROR(Open(), damaged("es demasiado grande para ser un diario"));

  Put(journal_, EncodeReplacementJournal(kThree));
  fs::remove(exchange_ / ".transzendal-staging" / "PROFT.DBF");
  fs::remove(exchange_ / "PROFT.DBF");
  EXPECT_RUN_ERROR(Open(), "El diario de sustitución de tablas «" + journal_.string() +
                               "» nombra la tabla nueva PROFT, pero no está ni en la carpeta de "
                               "trabajo ni en el directorio de intercambio.");
}

}  // namespace
}  // namespace transzendal
