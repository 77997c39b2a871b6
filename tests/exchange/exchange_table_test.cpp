#include "exchange_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "dbf_bytes.h"
#include "expect_error.h"
#include "temp_dir.h"
#include "text.h"

namespace transzendal {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr std::chrono::year_month_day kDate{std::chrono::year(2026), std::chrono::March,
                                            std::chrono::day(1)};

const std::vector<FieldDefinition> kAssignmentFields = {
    {"CASIG", LogicalType::kString, 10},   {"CGRUP", LogicalType::kString, 10},
    {"HORAS", LogicalType::kFloat, 0},     {"CV_SESION", LogicalType::kInteger, 0},
    {"ESTAREA", LogicalType::kBoolean, 0},
};

class ExchangeTableTest : public ::testing::Test {
 protected:
  ExchangeTable Fresh(char separator = '.') {
    ExchangeTable::Create(dir_.path(), "ASIGT", kAssignmentFields, kDate);
    return Reopen(separator);
  }
  ExchangeTable Reopen(char separator = '.', TableAccess access = TableAccess::kShared) {
    return ExchangeTable::Open(dir_.path(), "ASIGT", access, separator);
  }
  void AppendPair(ExchangeTable& table, std::string_view subject, std::string_view group,
                  std::int32_t session) {
    table.Append();
    table.SetText("CASIG", subject);
    table.SetText("CGRUP", group);
    table.SetInteger("CV_SESION", session);
    table.Post();
  }
  std::vector<std::string> Column(ExchangeTable& table, std::string_view field) {
    std::vector<std::string> values;
    for (table.First(); !table.AtEnd(); table.Next()) values.push_back(table.ReadText(field));
    return values;
  }

  TempDir dir_;
};

// The edge cases that the callers of the table layer rely on.

TEST_F(ExchangeTableTest, ATwelveCharacterTextInATenCharacterFieldKeepsItsFirstTen) {
  ExchangeTable table = Fresh();
  table.Append();
  table.SetText("CASIG", "Matematicas1");
  table.Post();
  EXPECT_EQ(table.ReadText("CASIG"), "Matematica");
  table.Close();
  ExchangeTable again = Reopen();
  EXPECT_EQ(Column(again, "CASIG"), std::vector<std::string>{"Matematica"});
}

TEST_F(ExchangeTableTest, TrailingBlanksAreNotReadBackButLeadingOnesAre) {
  ExchangeTable table = Fresh();
  table.Append();
  table.SetText("CASIG", " LEN  ");
  table.Post();
  EXPECT_EQ(table.ReadText("CASIG"), " LEN");
}

TEST_F(ExchangeTableTest, LocateIsCaseSensitiveAndWholeValue) {
  ExchangeTable table = Fresh();
  AppendPair(table, "MAT", "1A", 1);
  EXPECT_FALSE(table.Locate("CASIG", {"mat"}));
  EXPECT_FALSE(table.Locate("CASIG", {"MA"}));
  EXPECT_TRUE(table.Locate("CASIG", {"MAT"}));
  EXPECT_TRUE(table.Locate("CASIG", {"MAT   "}));  // the field can't keep trailing blanks
}

TEST_F(ExchangeTableTest, ATwoFieldLocateFindsTheFirstRecordInAppendOrderMatchingBoth) {
  ExchangeTable table = Fresh();
  AppendPair(table, "MAT", "1B", 1);
  AppendPair(table, "LEN", "1A", 2);
  AppendPair(table, "MAT", "1A", 3);
  AppendPair(table, "MAT", "1A", 4);
  ASSERT_TRUE(table.Locate("CASIG;CGRUP", {"MAT", "1A"}));
  EXPECT_EQ(table.ReadInteger("CV_SESION"), 3);
  EXPECT_FALSE(table.Locate("CASIG;CGRUP", {"LEN", "1B"}));
  EXPECT_EQ(table.ReadInteger("CV_SESION"), 3);  // a failed search leaves the current record
  EXPECT_FALSE(table.AtEnd());
}

TEST_F(ExchangeTableTest, AnEmptyTextMakesAFloatNullWhichReadsAsEmptyAndZero) {
  ExchangeTable table = Fresh();
  table.Append();
  table.SetText("HORAS", "3");
  table.SetText("HORAS", "");
  table.Post();
  EXPECT_EQ(table.ReadText("HORAS"), "");
  EXPECT_EQ(table.ReadInteger("HORAS"), 0);
}

TEST_F(ExchangeTableTest, APointNumberUnderACommaSeparatorIsTheFloatError) {
  ExchangeTable table = Fresh(',');
  table.Append();
  EXPECT_RUN_ERROR(table.SetText("HORAS", "1.5"),
                   "'1.5' is not a valid floating point value for field 'HORAS'");
  table.SetText("HORAS", "1,5");
  EXPECT_EQ(table.ReadText("HORAS"), "1,5");
}

TEST_F(ExchangeTableTest, RebuildingATableWhoseIndexFileAloneExistsRemovesTheIndex) {
  dir_.Write("ASIGT.MDX", "stale index");
  ExchangeTable::DeleteFiles(dir_.path(), "ASIGT");
  ExchangeTable::Create(dir_.path(), "ASIGT", kAssignmentFields, kDate);
  EXPECT_FALSE(fs::exists(dir_.path() / "ASIGT.MDX"));
  EXPECT_TRUE(fs::exists(dir_.path() / "ASIGT.DBF"));
  dir_.Write("asigt.mdx", "stale index");
  ExchangeTable::Create(dir_.path(), "ASIGT", kAssignmentFields, kDate);  // Create alone, too
  EXPECT_FALSE(fs::exists(dir_.path() / "asigt.mdx"));
}

// Conversions.

TEST_F(ExchangeTableTest, FloatsReadAsShortestTextAndAsIntegersRoundedHalfToEven) {
  ExchangeTable table = Fresh(',');
  const std::vector<std::pair<std::string, std::int32_t>> cases = {
      {"2,5", 2}, {"3,5", 4}, {"-2,5", -2}, {"0,1", 0}, {"1E3", 1000}};
  for (const auto& [text, rounded] : cases) {
    table.Append();
    table.SetText("HORAS", text);
    table.Post();
    EXPECT_EQ(table.ReadInteger("HORAS"), rounded) << text;
  }
  EXPECT_EQ(Column(table, "HORAS"),
            (std::vector<std::string>{"2,5", "3,5", "-2,5", "0,1", "1000"}));
}

TEST_F(ExchangeTableTest, IntegersGoIntoStringIntegerAndFloatFields) {
  ExchangeTable table = Fresh();
  table.Append();
  table.SetInteger("CASIG", -12345678);
  table.SetInteger("CGRUP", 2147483647);  // eleven characters into ten
  table.SetInteger("CV_SESION", 42);
  table.SetInteger("HORAS", 7);
  table.Post();
  EXPECT_EQ(table.ReadText("CASIG"), "-12345678");
  EXPECT_EQ(table.ReadText("CGRUP"), "2147483647");
  EXPECT_EQ(table.ReadText("CV_SESION"), "42");
  EXPECT_EQ(table.ReadText("HORAS"), "7");
}

TEST_F(ExchangeTableTest, FieldsNeverSetAreNull) {
  ExchangeTable table = Fresh();
  table.Append();
  table.Post();
  for (const char* field : {"CASIG", "HORAS", "CV_SESION", "ESTAREA"}) {
    EXPECT_EQ(table.ReadText(field), "") << field;
  }
  EXPECT_EQ(table.ReadInteger("CV_SESION"), 0);
  EXPECT_EQ(table.ReadInteger("HORAS"), 0);
  EXPECT_EQ(table.ReadInteger("CASIG"), 0);
}

TEST_F(ExchangeTableTest, ValuesAFieldCannotHoldAreClearErrors) {
  ExchangeTable table = Fresh();
  table.Append();
  EXPECT_RUN_ERROR(table.SetInteger("CV_SESION", -2147483647 - 1),
                   "El valor -2147483648 no se puede guardar en el campo entero «CV_SESION» de la "
                   "tabla ASIGT: dBase 7 guarda enteros de -2147483647 a 2147483647.");
  EXPECT_RUN_ERROR(table.SetText("CV_SESION", "doce"), "'doce' is not a valid integer value");
  EXPECT_RUN_ERROR(table.SetBoolean("CASIG", true),
                   "El campo «CASIG» de la tabla ASIGT es de tipo C y no admite un valor lógico.");
  EXPECT_RUN_ERROR(table.SetText("NADA", "x"), "La tabla ASIGT no tiene el campo «NADA».");
  table.SetText("CV_SESION", " 12 ");
  table.SetBoolean("ESTAREA", true);
  table.Post();
  EXPECT_EQ(table.ReadInteger("CV_SESION"), 12);
  EXPECT_EQ(table.ReadText("estarea"), "T");  // field names ignore letter case
  EXPECT_RUN_ERROR(
      table.ReadInteger("ESTAREA"),
      "El campo «ESTAREA» de la tabla ASIGT es de tipo L y no se puede leer como número "
      "entero.");
}

// Navigation and editing.

TEST_F(ExchangeTableTest, FirstNextAndAtEndWalkTheRecordsInAppendOrder) {
  ExchangeTable table = Fresh();
  EXPECT_TRUE(table.AtEnd());
  EXPECT_EQ(table.ReadText("CASIG"), "");  // no current record reads as null
  table.Next();
  EXPECT_TRUE(table.AtEnd());
  for (const char* subject : {"A", "B", "C"}) AppendPair(table, subject, "G", 0);
  EXPECT_EQ(Column(table, "CASIG"), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(table.ReadText("CASIG"), "C");  // going past the end stays on the last record
}

TEST_F(ExchangeTableTest, EditedRecordsAreWrittenWhenTheWalkMovesOn) {
  ExchangeTable table = Fresh();
  for (const char* group : {"1A", "1B", "1A"}) AppendPair(table, "MAT", group, 0);
  for (table.First(); !table.AtEnd(); table.Next()) {
    if (table.ReadText("CGRUP") != "1A") continue;
    table.Edit();
    table.SetText("CASIG", "LEN");
  }
  table.Close();
  ExchangeTable again = Reopen();
  EXPECT_EQ(Column(again, "CASIG"), (std::vector<std::string>{"LEN", "MAT", "LEN"}));
}

TEST_F(ExchangeTableTest, SettingAFieldNeedsAppendOrEdit) {
  ExchangeTable table = Fresh();
  EXPECT_RUN_ERROR(table.SetText("CASIG", "x"),
                   "No se puede escribir el campo «CASIG» de la tabla ASIGT: el registro actual no "
                   "está en edición.");
  EXPECT_RUN_ERROR(table.Edit(), "La tabla ASIGT no tiene ningún registro que editar.");
}

TEST_F(ExchangeTableTest, RecordsPostedButNotClosedReachTheFileWhenTheHandleGoes) {
  {
    ExchangeTable table = Fresh();
    AppendPair(table, "MAT", "1A", 9);
    table.Append();
    table.SetText("CASIG", "NUNCA");  // never posted: dropped
  }
  ExchangeTable table = Reopen();
  EXPECT_EQ(Column(table, "CASIG"), std::vector<std::string>{"MAT"});
}

// The locate index.

// Appends and edits that move records into and out of the searched values, each search checked
// against a plain scan in stored order.
TEST_F(ExchangeTableTest, TheLocateIndexAgreesWithAScanThroughAppendsAndEdits) {
  ExchangeTable table = Fresh();
  std::mt19937 random(20261210);
  const auto pick = [&random](const char* choices) {
    return std::string(1, choices[random() % 4]);
  };
  for (std::int32_t i = 0; i < 400; ++i) AppendPair(table, pick("ABCD"), pick("1234"), i);
  for (int round = 0; round < 300; ++round) {
    const std::string subject = pick("ABCD");
    const std::string group = pick("1234");
    std::optional<std::int32_t> scanned;
    for (table.First(); !table.AtEnd() && !scanned; table.Next()) {
      if (table.ReadText("CASIG") == subject && table.ReadText("CGRUP") == group) {
        scanned = table.ReadInteger("CV_SESION");
      }
    }
    const bool found = table.Locate("CASIG;CGRUP", {subject, group});
    ASSERT_EQ(found, scanned.has_value()) << subject << group;
    if (found) {
      ASSERT_EQ(table.ReadInteger("CV_SESION"), *scanned);
    }
    if (found && round % 2 == 0) {
      table.Edit();
      table.SetText("CGRUP", pick("1234"));
    } else {
      AppendPair(table, subject, pick("1234"), 1000 + round);
    }
  }
}

TEST_F(ExchangeTableTest, ALocateNeedsKnownFieldsAndOneValueEach) {
  ExchangeTable table = Fresh();
  EXPECT_RUN_ERROR(table.Locate("CASIG;CGRUP", {"MAT"}),
                   "La búsqueda en la tabla ASIGT por «CASIG;CGRUP» necesita 2 valores y ha "
                   "recibido 1.");
  EXPECT_RUN_ERROR(table.Locate("CASIG;GRUPO", {"MAT", "1A"}),
                   "La tabla ASIGT no tiene el campo «GRUPO».");
}

// Files.

TEST_F(ExchangeTableTest, FileNamesAreUpperCaseAndFoundInAnyLetterCase) {
  ExchangeTable::Create(dir_.path(), "asignomt.dbf", kAssignmentFields, kDate);
  EXPECT_TRUE(fs::exists(dir_.path() / "ASIGNOMT.DBF"));
  fs::rename(dir_.path() / "ASIGNOMT.DBF", dir_.path() / "Asignomt.dbf");
  EXPECT_NO_THROW(ExchangeTable::Open(dir_.path(), "ASIGNOMT", TableAccess::kRead, '.'));

  ExchangeTable::Create(dir_.path(), "ASIGNOMT", kAssignmentFields, kDate);
  // One table, one file (Windows keeps a file's spelling and finds it in any letter case).
  EXPECT_EQ(std::count_if(fs::directory_iterator(dir_.path()), fs::directory_iterator(),
                          [](const fs::directory_entry& entry) {
                            return EqualIgnoringCase(entry.path().filename().string(),
                                                     "ASIGNOMT.DBF");
                          }),
            1);
  EXPECT_TRUE(fs::exists(dir_.path() / "ASIGNOMT.DBF"));

  dir_.Write("asignomt.Mdx", "index");
  fs::rename(dir_.path() / "ASIGNOMT.DBF", dir_.path() / "asignomt.dbf");
  ExchangeTable::DeleteFiles(dir_.path(), "ASIGNOMT");
  EXPECT_TRUE(fs::is_empty(dir_.path()));
  EXPECT_NO_THROW(ExchangeTable::DeleteFiles(dir_.path(), "ASIGNOMT"));  // nothing left: no error
}

TEST_F(ExchangeTableTest, ATableHeldExclusivelyRefusesEveryOtherUse) {
  ExchangeTable held = Fresh();
  held.Close();
  held = Reopen('.', TableAccess::kExclusive);
  const std::string file = (dir_.path() / "ASIGT.DBF").string();
  const std::string message = "La tabla ASIGT («" + file +
                              "») está abierta en otro programa, que no permite usarla a la vez. "
                              "Ciérrela en ese programa y vuelva a intentarlo.";
  EXPECT_RUN_ERROR(Reopen('.', TableAccess::kRead), message);
  EXPECT_RUN_ERROR(Reopen('.', TableAccess::kExclusive), message);
  EXPECT_RUN_ERROR(ExchangeTable::Create(dir_.path(), "ASIGT", kAssignmentFields, kDate), message);
  ExchangeTable::DeleteFiles(dir_.path(), "ASIGT");
  EXPECT_TRUE(fs::exists(file));
  held.Close();
  EXPECT_NO_THROW(Reopen('.', TableAccess::kExclusive));
}

TEST_F(ExchangeTableTest, MissingTablesAndUnsafeNamesAreClearErrors) {
  EXPECT_RUN_ERROR(Reopen(),
                   "No existe la tabla ASIGT en el directorio «" + dir_.path().string() + "».");
  EXPECT_RUN_ERROR(ExchangeTable::Open(dir_.path(), "../ASIGT", TableAccess::kRead, '.'),
                   "«../ASIGT» no es un nombre de tabla válido: debe ser el nombre de un archivo, "
                   "sin carpetas.");
  EXPECT_RUN_ERROR(ExchangeTable::Open(dir_.path(), "..", TableAccess::kRead, '.'),
                   "«..» no es un nombre de tabla válido: debe ser el nombre de un archivo, sin "
                   "carpetas.");
}

TEST_F(ExchangeTableTest, BadDefinitionsAreRefusedBeforeAnyFileIsTouched) {
  dir_.Write("ASIGT.DBF", "old");
  const std::vector<FieldDefinition> repeated = {{"COD", LogicalType::kString, 5},
                                                 {"cod", LogicalType::kInteger, 0}};
  EXPECT_RUN_ERROR(ExchangeTable::Create(dir_.path(), "ASIGT", repeated, kDate),
                   "La definición de la tabla ASIGT no es válida: el campo «COD» está repetido.");
  const std::vector<FieldDefinition> wide = {{"TEXTO", LogicalType::kString, 255}};
  EXPECT_RUN_ERROR(ExchangeTable::Create(dir_.path(), "ASIGT", wide, kDate),
                   "La definición de la tabla ASIGT no es válida: el campo de texto «TEXTO» mide "
                   "255 caracteres; debe medir de 1 a 254.");
  EXPECT_EQ(testing::ReadBytes(dir_.path() / "ASIGT.DBF"), "old");
}

TEST_F(ExchangeTableTest, OnlyLevel7TablesOpenedForWritingCanChange) {
  Fresh().Close();
  ExchangeTable read_only = Reopen('.', TableAccess::kRead);
  EXPECT_RUN_ERROR(read_only.Append(),
                   "La tabla ASIGT se abrió solo para leerla y no se puede modificar.");
  testing::RawTable old;
  old.fields = {{"COD", 'C', 4}};
  old.records = {" ABCD"};
  dir_.Write("VIEJA.DBF", testing::DbfBytes(old));
  ExchangeTable table = ExchangeTable::Open(dir_.path(), "VIEJA", TableAccess::kShared, '.');
  EXPECT_RUN_ERROR(table.Append(),
                   "La tabla VIEJA es de formato dBase III, IV o V con página de códigos "
                   "Windows-1252; el conversor solo modifica tablas dBase 7 en Windows-1252.");
}

TEST_F(ExchangeTableTest, AHundredThousandRowsAreWrittenAndReadBack) {
  ExchangeTable table = Fresh();
  for (std::int32_t i = 0; i < 100000; ++i) {
    table.Append();
    table.SetText("CASIG", "S" + std::to_string(i));
    table.SetText("HORAS", std::to_string(i % 7) + ".5");
    table.SetInteger("CV_SESION", i);
    table.Post();
  }
  table.Close();
  ExchangeTable again = Reopen();
  EXPECT_EQ(again.LiveRecordCount(), 100000u);
  ASSERT_TRUE(again.Locate("CASIG", {"S99999"}));
  EXPECT_EQ(again.ReadInteger("CV_SESION"), 99999);
  EXPECT_EQ(again.ReadText("HORAS"), "4.5");  // 99999 % 7 is 4
  EXPECT_EQ(fs::file_size(again.file()), 68u + 5 * 48 + 1 + 100000u * 34 + 1);
}

}  // namespace
}  // namespace transzendal
