#include "platform.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "directory_snapshot.h"
#include "temp_dir.h"

namespace transzendal::platform {
namespace {

using testing::TempDir;

TEST(PlatformFile, WritesAndReadsAtOffsetsAndFlushes) {
  TempDir dir;
  std::error_code error;
  File file = File::Open(dir.path() / "T.DBF", FileAccess::kCreate, FileSharing::kShared, error);
  ASSERT_FALSE(error) << error.message();
  file.WriteAt(0, std::string_view("abcdef"), error);
  file.WriteAt(4, std::string_view("XYZ"), error);
  file.Flush(error);
  ASSERT_FALSE(error);
  EXPECT_EQ(file.Size(error), 7u);
  std::string buffer(10, '-');
  EXPECT_EQ(file.ReadAt(2, buffer, error), 5u);  // short at the end of the file
  EXPECT_EQ(buffer.substr(0, 5), "cdXYZ");
}

TEST(PlatformFile, CreatingEmptiesAnExistingFile) {
  TempDir dir;
  const auto path = dir.Write("T.DBF", "viejo contenido");
  std::error_code error;
  File file = File::Open(path, FileAccess::kCreate, FileSharing::kShared, error);
  ASSERT_FALSE(error);
  EXPECT_EQ(file.Size(error), 0u);
}

TEST(PlatformFile, ResizeCutsAndGrowsTheFileKeepingItsContentUpToTheNewLength) {
  TempDir dir;
  const auto path = dir.Write("Zendalor.ini", "abcdefgh");
  std::error_code error;
  File file = File::Open(path, FileAccess::kReadWrite, FileSharing::kShared, error);
  ASSERT_FALSE(error) << error.message();
  file.Resize(3, error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_EQ(file.Size(error), 3u);
  EXPECT_EQ(testing::ReadBytes(path), "abc");
  file.Resize(6, error);
  ASSERT_FALSE(error) << error.message();
  file.Flush(error);
  EXPECT_EQ(testing::ReadBytes(path), std::string("abc\0\0\0", 6));
}

TEST(PlatformFile, AnExclusiveHoldRefusesEveryOtherOpenUntilClosed) {
  TempDir dir;
  const auto path = dir.Write("ASIGNOMT.DBF", "x");
  std::error_code error;
  File held = File::Open(path, FileAccess::kRead, FileSharing::kExclusive, error);
  ASSERT_FALSE(error);
  for (FileSharing sharing : {FileSharing::kShared, FileSharing::kExclusive}) {
    File other = File::Open(path, FileAccess::kRead, sharing, error);
    EXPECT_EQ(error, HeldElsewhere());
    EXPECT_FALSE(other.is_open());
  }
  File refused = File::Open(path, FileAccess::kCreate, FileSharing::kShared, error);
  EXPECT_EQ(error, HeldElsewhere());
  EXPECT_EQ(std::filesystem::file_size(path), 1u);  // a held file is never emptied
  held.Close();
  File now = File::Open(path, FileAccess::kRead, FileSharing::kExclusive, error);
  EXPECT_FALSE(error);
  EXPECT_TRUE(now.is_open());
}

TEST(PlatformFile, SharedOpensCoexist) {
  TempDir dir;
  const auto path = dir.Write("PROFT.DBF", "x");
  std::error_code first_error, second_error;
  File first = File::Open(path, FileAccess::kRead, FileSharing::kShared, first_error);
  File second = File::Open(path, FileAccess::kReadWrite, FileSharing::kShared, second_error);
  EXPECT_FALSE(first_error);
  EXPECT_FALSE(second_error);
}

TEST(PlatformFile, AMissingFileGivesItsError) {
  TempDir dir;
  std::error_code error;
  File file = File::Open(dir.path() / "NO.DBF", FileAccess::kRead, FileSharing::kShared, error);
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
  EXPECT_FALSE(file.is_open());
}

TEST(PlatformDirectoryLock, ASecondLockIsRefusedUntilTheFirstIsReleased) {
  TempDir dir;
  std::error_code error;
  {
    auto first = DirectoryLock::TryAcquire(dir.path(), error);
    ASSERT_TRUE(first.has_value());
    auto second = DirectoryLock::TryAcquire(dir.path(), error);
    EXPECT_FALSE(second.has_value());
    EXPECT_EQ(error, HeldElsewhere());
  }
  EXPECT_TRUE(DirectoryLock::TryAcquire(dir.path(), error).has_value());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));  // the lock leaves no file
  EXPECT_FALSE(DirectoryLock::TryAcquire(dir.path() / "no-existe", error).has_value());
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
}

TEST(PlatformMove, ReplacesTheTargetAtomically) {
  TempDir dir;
  const auto from = dir.Write("nuevo", "nuevo");
  const auto to = dir.Write("viejo", "viejo");
  std::error_code error;
  MoveReplacing(from, to, error);
  ASSERT_FALSE(error);
  EXPECT_FALSE(std::filesystem::exists(from));
  EXPECT_EQ(testing::ReadBytes(to), "nuevo");
  SyncDirectory(dir.path(), error);
  EXPECT_FALSE(error);
}

TEST(PlatformPaths, FindsAnEntryWhateverTheLetterCaseOfItsName) {
  TempDir dir;
  dir.Write("soluc.dbf", "");
  EXPECT_EQ(FindEntryIgnoringCase(dir.path(), "SOLUC.DBF"), dir.path() / "soluc.dbf");
  EXPECT_EQ(FindEntryIgnoringCase(dir.path(), "SOLUC.MDX"), std::nullopt);
  EXPECT_EQ(FindEntryIgnoringCase(dir.path() / "no-existe", "SOLUC.DBF"), std::nullopt);
}

TEST(PlatformFile, CreatingANewFileRefusesOneThatExists) {
  TempDir dir;
  const auto path = dir.Write("RESULT.xml", "anterior");
  std::error_code error;
  File file = File::Open(path, FileAccess::kCreateNew, FileSharing::kShared, error);
  EXPECT_EQ(error, std::errc::file_exists);
  EXPECT_FALSE(file.is_open());
  EXPECT_EQ(testing::ReadBytes(path), "anterior");
}

TEST(PlatformPaths, TheProgramFileIsTheRunningTestProgram) {
  const std::filesystem::path program = ProgramFile();
  EXPECT_TRUE(program.is_absolute()) << program;
  EXPECT_TRUE(IsExistingFile(program)) << program;
  EXPECT_EQ(program.stem(), "exchange_tests");
}

TEST(PlatformPaths, FolderSeparatorsAreThePlatformsOwn) {
  EXPECT_TRUE(IsFolderSeparator('/'));
  EXPECT_FALSE(IsFolderSeparator('a'));
#ifdef _WIN32
  EXPECT_TRUE(IsFolderSeparator(L'\\') && IsFolderSeparator(L':'));
#else
  EXPECT_FALSE(IsFolderSeparator('\\') || IsFolderSeparator(':'));
#endif
}

// While it is written, the temporary file stands beside the target under a name of its own.
TEST(PlatformReplacingFile, ReplacesTheTargetOnlyOnCommitAndLeavesNoTemporaryFile) {
  TempDir dir;
  const auto target = dir.Write("resultado.xml", "anterior");
  std::error_code error;
  std::optional<ReplacingFile> first = ReplacingFile::Create(target, error);
  std::optional<ReplacingFile> second = ReplacingFile::Create(target, error);
  ASSERT_TRUE(first && second) << error.message();
  first->Write(std::string_view("<datos"), error);
  first->Write(std::string_view("ZPH/>"), error);
  second->Write(std::string_view("segundo"), error);
  ASSERT_FALSE(error);
  testing::DirectorySnapshot during = testing::SnapshotDirectory(dir.path());
  ASSERT_EQ(during.size(), 3u);
  EXPECT_EQ(during["resultado.xml"], "anterior");
  EXPECT_TRUE(during.begin()->first.starts_with(".resultado.xml.")) << during.begin()->first;

  first->Commit(error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_EQ(testing::ReadBytes(target), "<datosZPH/>");
  second->Commit(error);
  EXPECT_EQ(testing::SnapshotDirectory(dir.path()),
            (testing::DirectorySnapshot{{"resultado.xml", "segundo"}}));
}

TEST(PlatformReplacingFile, AnAbandonedFileLeavesTheTargetAsItWas) {
  TempDir dir;
  const auto target = dir.Write("resultado.xml", "anterior");
  std::error_code error;
  {
    std::optional<ReplacingFile> file = ReplacingFile::Create(target, error);
    ASSERT_TRUE(file.has_value());
    file->Write(std::string_view("a medias"), error);
    ReplacingFile moved = std::move(*file);
  }
  EXPECT_EQ(testing::SnapshotDirectory(dir.path()),
            (testing::DirectorySnapshot{{"resultado.xml", "anterior"}}));
}

// A save killed before its end leaves its temporary file; the next save of the same target removes
// it, and nothing else: not other targets' files, not look-alike names, not a folder, and not the
// temporary file that another save still holds open.
TEST(PlatformReplacingFile, ASaveRemovesTheTemporaryFilesThatKilledSavesOfItsTargetLeft) {
  TempDir dir;
  const auto target = dir.Write("resultado.xml", "anterior");
  dir.Write(".resultado.xml.0123456789abcdef.tmp", "<datosZPH a medias");
  dir.Write(".resultado.xml.fedcba9876543210.tmp", "");
  for (const char* name :
       {".resultado.xml.0123456789ABCDEF.tmp", ".resultado.xml.0123456789abcde.tmp",
        ".resultado.xml.0123456789abcdeg.tmp", ".resultado.xml.0123456789abcdef.tmp.bak",
        ".resultado.xml.0123456789abcdef0.tmp", "resultado.xml.0123456789abcdef.tmp",
        ".otro.xml.0123456789abcdef.tmp"}) {
    dir.Write(name, "ajeno");
  }
  std::filesystem::create_directory(dir.path() / ".resultado.xml.00000000000000ff.tmp");
  dir.Write(".resultado.xml.00000000000000ff.tmp/dentro", "intacto");
  const auto held_path = dir.Write(".resultado.xml.00000000000000aa.tmp", "otra en curso");
  std::error_code error;
  File held = File::Open(held_path, FileAccess::kReadWrite, FileSharing::kShared, error);
  ASSERT_FALSE(error) << error.message();

  testing::DirectorySnapshot expected = testing::SnapshotDirectory(dir.path());
  expected.erase(".resultado.xml.0123456789abcdef.tmp");
  expected.erase(".resultado.xml.fedcba9876543210.tmp");
  expected["resultado.xml"] = "nuevo";
  auto save = [&](std::string_view bytes) {
    std::optional<ReplacingFile> file = ReplacingFile::Create(target, error);
    ASSERT_TRUE(file.has_value()) << error.message();
    file->Write(bytes, error);
    file->Commit(error);
    ASSERT_FALSE(error) << error.message();
  };
  save("nuevo");
  EXPECT_EQ(testing::SnapshotDirectory(dir.path()), expected);

  // Once its holder is gone, the file is a leftover like the others.
  held.Close();
  save("otra vez");
  expected.erase(".resultado.xml.00000000000000aa.tmp");
  expected["resultado.xml"] = "otra vez";
  EXPECT_EQ(testing::SnapshotDirectory(dir.path()), expected);
}

TEST(PlatformReplacingFile, AFolderInPlaceOfTheTargetOrAMissingFolderFailsAndKeepsAll) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "resultado.xml");
  dir.Write("resultado.xml/dentro.txt", "intacto");
  const testing::DirectorySnapshot before = testing::SnapshotDirectory(dir.path());
  std::error_code error;
  std::optional<ReplacingFile> file = ReplacingFile::Create(dir.path() / "resultado.xml", error);
  ASSERT_TRUE(file.has_value());
  file->Write(std::string_view("nuevo"), error);
  file->Commit(error);
  EXPECT_TRUE(error);
  EXPECT_FALSE(ReplacingFile::Create(dir.path() / "no-existe" / "resultado.xml", error));
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
  EXPECT_EQ(testing::SnapshotDirectory(dir.path()), before);
}

TEST(PlatformRemoveFileUnlessHeld, RemovesAFileThatNoOneHoldsAndKeepsAHeldOne) {
  TempDir dir;
  const auto free_file = dir.Write("AULAT.DBF", "x");
  std::error_code error;
  RemoveFileUnlessHeld(free_file, error);
  EXPECT_FALSE(error);
  EXPECT_FALSE(std::filesystem::exists(free_file));
  RemoveFileUnlessHeld(free_file, error);
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);

  const auto held_file = dir.Write("SOLUC.DBF", "x");
  for (FileSharing sharing : {FileSharing::kShared, FileSharing::kExclusive}) {
    File held = File::Open(held_file, FileAccess::kRead, sharing, error);
    ASSERT_FALSE(error);
    RemoveFileUnlessHeld(held_file, error);
    EXPECT_EQ(error, HeldElsewhere());
    EXPECT_TRUE(std::filesystem::exists(held_file));
  }
}

}  // namespace
}  // namespace transzendal::platform
