#include "ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "directory_snapshot.h"
#include "platform.h"
#include "temp_dir.h"

namespace transzendal::app {
namespace {

using testing::TempDir;

// The edit that the desktop program makes: its result code into Zendalor.ini.
std::string SetResult(std::string_view content, std::string_view value = "1") {
  return SetIniValue(content, "Transformadores", "Transformado", value);
}

TEST(IniFile, TheValueOfAnExistingKeyIsReplacedAndEveryOtherByteKept) {
  const std::string before =
      "; Configuraci\xF3n de Zendalor\r\n"
      "[General]\r\n"
      "Idioma=ES\r\n"
      "Transformado=9\r\n"
      "\r\n"
      "[Transformadores]\r\n"
      "; el \xFAltimo resultado\r\n"
      "Ruta=C:\\ZTEMP\r\n"
      "Transformado=0\r\n"
      "Otro=x\r\n"
      "\r\n"
      "[Colores]\r\n"
      "Fondo=blanco\r\n";
  std::string expected = before;
  expected.replace(expected.find("Transformado=0"), 14, "Transformado=1");
  EXPECT_EQ(SetResult(before), expected);
}

TEST(IniFile, AnEmptyFileGetsTheSectionAndTheKeyWithCrLf) {
  EXPECT_EQ(SetResult(""), "[Transformadores]\r\nTransformado=1\r\n");
}

TEST(IniFile, AMissingSectionIsAddedAtTheEndAfterABlankLine) {
  EXPECT_EQ(SetResult("[General]\r\nIdioma=ES\r\n"),
            "[General]\r\nIdioma=ES\r\n\r\n[Transformadores]\r\nTransformado=1\r\n");
  // A file that already ends with a blank line gets no second one.
  EXPECT_EQ(SetResult("[General]\r\nIdioma=ES\r\n\r\n"),
            "[General]\r\nIdioma=ES\r\n\r\n[Transformadores]\r\nTransformado=1\r\n");
}

TEST(IniFile, AMissingKeyGoesAfterTheLastNonBlankLineOfItsSection) {
  EXPECT_EQ(SetResult("[Transformadores]\r\nRuta=C:\\ZTEMP\r\n; fin\r\n\r\n\r\n[Colores]\r\n"),
            "[Transformadores]\r\nRuta=C:\\ZTEMP\r\n; fin\r\nTransformado=1\r\n\r\n\r\n"
            "[Colores]\r\n");
}

TEST(IniFile, AMissingKeyOfASectionWithOnlyItsHeaderGoesRightAfterTheHeader) {
  EXPECT_EQ(SetResult("[Transformadores]\r\n\r\n[Colores]\r\nFondo=blanco\r\n"),
            "[Transformadores]\r\nTransformado=1\r\n\r\n[Colores]\r\nFondo=blanco\r\n");
}

TEST(IniFile, AddedLinesEndAsTheFirstLineEndOfTheFile) {
  for (const std::string eol : {"\n", "\r"}) {
    SCOPED_TRACE(eol == "\n" ? "LF" : "CR");
    const std::string section = "[Transformadores]" + eol + "Ruta=x" + eol;
    EXPECT_EQ(SetResult(section + "[Colores]\r\n"),
              section + "Transformado=1" + eol + "[Colores]\r\n");
    const std::string other = "[General]" + eol + "Idioma=ES\r\n";
    EXPECT_EQ(SetResult(other), other + eol + "[Transformadores]" + eol + "Transformado=1" + eol);
  }
}

TEST(IniFile, ALastLineWithoutLineEndGetsOneBeforeAnAddedLine) {
  EXPECT_EQ(SetResult("[Transformadores]\nRuta=x"), "[Transformadores]\nRuta=x\nTransformado=1\n");
  EXPECT_EQ(SetResult("[General]\nIdioma=ES"),
            "[General]\nIdioma=ES\n\n[Transformadores]\nTransformado=1\n");
  // A one-line file shows no line end of its own.
  EXPECT_EQ(SetResult("[Transformadores]"), "[Transformadores]\r\nTransformado=1\r\n");
  EXPECT_EQ(SetResult("Idioma=ES"), "Idioma=ES\r\n\r\n[Transformadores]\r\nTransformado=1\r\n");
  // A replaced value on that line adds nothing.
  EXPECT_EQ(SetResult("[Transformadores]\nTransformado=0"), "[Transformadores]\nTransformado=1");
}

TEST(IniFile, SectionAndKeyNamesIgnoreLetterCaseAndTheBlanksAroundThem) {
  EXPECT_EQ(SetResult(" [ TRANSFORMADORES\t] ; nota\r\n  transformado = 0\r\n"),
            " [ TRANSFORMADORES\t] ; nota\r\n  transformado =1\r\n");
}

TEST(IniFile, OnlyTheFirstOfDuplicateSectionsAndKeysIsUsed) {
  EXPECT_EQ(SetResult("[Transformadores]\r\nTransformado=0\r\nTransformado=0\r\n"
                      "[Transformadores]\r\nTransformado=0\r\n"),
            "[Transformadores]\r\nTransformado=1\r\nTransformado=0\r\n"
            "[Transformadores]\r\nTransformado=0\r\n");
  // The key of a later copy of the section is not the first section's.
  EXPECT_EQ(SetResult("[Transformadores]\r\nRuta=x\r\n[transformadores]\r\nTransformado=0\r\n"),
            "[Transformadores]\r\nRuta=x\r\nTransformado=1\r\n"
            "[transformadores]\r\nTransformado=0\r\n");
}

TEST(IniFile, ACommentedKeyIsNotTheKey) {
  EXPECT_EQ(SetResult("[Transformadores]\r\n;Transformado=5\r\n  ; Transformado=6\r\n"),
            "[Transformadores]\r\n;Transformado=5\r\n  ; Transformado=6\r\nTransformado=1\r\n");
}

TEST(IniFile, TheKeyOutsideItsSectionOrUnderAnotherNameIsNotTheKey) {
  EXPECT_EQ(SetResult("Transformado=7\r\n"
                      "[Transformadores2]\r\nTransformado=8\r\n"
                      "[Otros]\r\nTransformado=9\r\n"
                      "[Transformadores]\r\nTransformados=2\r\nXTransformado=3\r\n"
                      "[Colores]\r\nTransformado=4\r\n"),
            "Transformado=7\r\n"
            "[Transformadores2]\r\nTransformado=8\r\n"
            "[Otros]\r\nTransformado=9\r\n"
            "[Transformadores]\r\nTransformados=2\r\nXTransformado=3\r\nTransformado=1\r\n"
            "[Colores]\r\nTransformado=4\r\n");
}

TEST(IniFile, AKeyLineWithoutEqualsSignGetsTheValue) {
  EXPECT_EQ(SetResult("[Transformadores]\r\n Transformado \r\nRuta=x\r\n"),
            "[Transformadores]\r\n Transformado =1\r\nRuta=x\r\n");
}

TEST(IniFile, AByteOrderMarkIsKeptAndTheFirstLineIsStillAHeader) {
  EXPECT_EQ(SetResult("\xEF\xBB\xBF[Transformadores]\r\nTransformado=0\r\n"),
            "\xEF\xBB\xBF[Transformadores]\r\nTransformado=1\r\n");
}

TEST(IniFile, TheWholeOldValueGivesWayWhateverItsLength) {
  EXPECT_EQ(SetResult("[Transformadores]\r\nTransformado=12345 ; x=y\r\n", "0"),
            "[Transformadores]\r\nTransformado=0\r\n");
  EXPECT_EQ(SetResult("[Transformadores]\r\nTransformado=\r\n", "-2"),
            "[Transformadores]\r\nTransformado=-2\r\n");
}

TEST(IniFileWrite, AMissingFileIsCreated) {
  TempDir dir;
  std::error_code error;
  WriteIniValue(dir.path() / "Zendalor.ini", "Transformadores", "Transformado", "1", error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_EQ(
      testing::SnapshotDirectory(dir.path()),
      (testing::DirectorySnapshot{{"Zendalor.ini", "[Transformadores]\r\nTransformado=1\r\n"}}));
}

TEST(IniFileWrite, AnExistingFileIsEditedInPlaceAndCutWhenItShrinks) {
  TempDir dir;
  const auto path = dir.Write("Zendalor.ini",
                              "[General]\nIdioma=ES\n[Transformadores]\n"
                              "Transformado=123456789\n[Colores]\nFondo=1\n");
  std::error_code error;
  WriteIniValue(path, "Transformadores", "Transformado", "0", error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_EQ(testing::ReadBytes(path),
            "[General]\nIdioma=ES\n[Transformadores]\nTransformado=0\n[Colores]\nFondo=1\n");
  WriteIniValue(path, "Otra", "Clave", "valor largo", error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_EQ(testing::ReadBytes(path),
            "[General]\nIdioma=ES\n[Transformadores]\nTransformado=0\n[Colores]\nFondo=1\n"
            "\n[Otra]\nClave=valor largo\n");
}

TEST(IniFileWrite, AFileHeldByAnotherProcessIsLeftAsItWas) {
  TempDir dir;
  const auto path = dir.Write("Zendalor.ini", "[Transformadores]\r\nTransformado=0\r\n");
  std::error_code error;
  // On POSIX systems a second open of the file stands for another process: the hold is per open.
  platform::File held = platform::File::Open(path, platform::FileAccess::kRead,
                                             platform::FileSharing::kExclusive, error);
  ASSERT_FALSE(error) << error.message();
  WriteIniValue(path, "Transformadores", "Transformado", "1", error);
  EXPECT_EQ(error, platform::HeldElsewhere());
  held.Close();
  EXPECT_EQ(testing::ReadBytes(path), "[Transformadores]\r\nTransformado=0\r\n");
}

TEST(IniFileWrite, AFolderInPlaceOfTheFileOrAMissingFolderFailsAndChangesNothing) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "Zendalor.ini");
  dir.Write("Zendalor.ini/dentro.txt", "intacto");
  const testing::DirectorySnapshot before = testing::SnapshotDirectory(dir.path());
  std::error_code error;
  WriteIniValue(dir.path() / "Zendalor.ini", "Transformadores", "Transformado", "1", error);
  EXPECT_TRUE(error);
  WriteIniValue(dir.path() / "no-existe" / "Zendalor.ini", "Transformadores", "Transformado", "1",
                error);
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
  EXPECT_EQ(testing::SnapshotDirectory(dir.path()), before);
}

}  // namespace
}  // namespace transzendal::app
