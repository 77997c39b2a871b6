// Reading dBase files that other programs write, and refusing damaged ones with a clear message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbf_bytes.h"
#include "exchange_table.h"
#include "expect_error.h"
#include "table_dump.h"
#include "temp_dir.h"

namespace transzendal {
namespace {

using testing::Bytes;
using testing::DbfBytes;
using testing::Padded;
using testing::RawTable;
using testing::TempDir;

class DbfReader : public ::testing::Test {
 protected:
  std::string Csv(const std::string& bytes) {
    dir_.Write("SOLUC.DBF", bytes);
    return DumpTable(dir_.path(), "SOLUC", DumpFormat::kCsv);
  }
  ExchangeTable Open(const std::string& bytes, char separator = '.') {
    dir_.Write("SOLUC.DBF", bytes);
    return ExchangeTable::Open(dir_.path(), "SOLUC", TableAccess::kRead, separator);
  }
  std::string Damaged(std::string_view what) const {
    return "El archivo de tabla «" + (dir_.path() / "SOLUC.DBF").string() +
           "» está dañado: " + std::string(what) + ".";
  }

  TempDir dir_;
};

RawTable DbaseIII() {
  RawTable table;
  table.fields = {{"COD", 'C', 6},    {"IMPORTE", 'N', 8, 2}, {"RATIO", 'F', 10, 3},
                  {"ACTIVO", 'L', 1}, {"FECHA", 'D', 8},      {"NOTAS", 'M', 10}};
  table.records = {
      " Pe\xF1"
      "a     12.50    -0.125T20240305         1",
      "*Borrad   99.00         1T20240101          ",
      " a,\"b\"     0.00          F                  ",
      "                                            ",
  };
  return table;
}

TEST_F(DbfReader, ADbaseIIITableReadsEveryTextTypeAndHidesDeletedRecords) {
  EXPECT_EQ(Csv(DbfBytes(DbaseIII())),
            "COD,IMPORTE,RATIO,ACTIVO,FECHA,NOTAS\r\n"
            "Pe\xC3\xB1"
            "a,12.5,-0.125,T,2024-03-05,\r\n"
            "\"a,\"\"b\"\"\",0,,F,,\r\n"
            ",,,,,\r\n");
}

TEST_F(DbfReader, ALevel7TableFromAnotherWriterReadsItsBinaryFields) {
  RawTable table;
  table.version = 0x8C;
  table.driver_name = "DBWINWE0";
  table.fields = {{"CUENTA", '+', 4}, {"DIA", 'I', 4}, {"HORA", 'O', 8}, {"NIVEL", 'N', 3}};
  table.records = {
      " " + Bytes({0x80, 0, 0, 1}) + Bytes({0x7F, 0xFF, 0xFF, 0xFE}) +
          Bytes({0xC0, 0x04, 0, 0, 0, 0, 0, 0}) + "  4",
      " " + Bytes({0x80, 0, 0, 2}) + Bytes({0, 0, 0, 0}) + Bytes({0, 0, 0, 0, 0, 0, 0, 0}) + "   ",
  };
  EXPECT_EQ(Csv(DbfBytes(table)), "CUENTA,DIA,HORA,NIVEL\r\n1,-2,2.5,4\r\n2,,,\r\n");
}

TEST_F(DbfReader, AVisualFoxProTableReadsLittleEndianFieldsAndHidesItsNullFlags) {
  RawTable table;
  table.version = 0x30;
  table.driver_id = 0x03;
  table.header_padding = 263;
  table.fields = {{"N", 'I', 4}, {"X", 'B', 8}, {"_NullFlags", '0', 1}};
  table.records = {" " + Bytes({0xFE, 0xFF, 0xFF, 0xFF}) + Bytes({0, 0, 0, 0, 0, 0, 0x04, 0xC0}) +
                   Bytes({0})};
  EXPECT_EQ(Csv(DbfBytes(table)), "N,X\r\n-2,-2.5\r\n");
}

TEST_F(DbfReader, DosCodePagesAreConvertedToWindows1252) {
  RawTable table;
  table.fields = {{"NOMBRE", 'C', 4}};
  table.records = {" " + Bytes({0xA5, 0xA4, 0x82, 0xC4})};  // Ñ ñ é and a box-drawing line
  table.driver_id = 0x01;                                   // DOS 437
  EXPECT_EQ(Csv(DbfBytes(table)), "NOMBRE\r\n\xC3\x91\xC3\xB1\xC3\xA9?\r\n");
  table.driver_id = 0x14;  // Spanish DOS 850, where B5 is Á
  table.records = {" " + Bytes({0xB5, 0xA4, 0x82, 0xC4})};
  EXPECT_EQ(Csv(DbfBytes(table)), "NOMBRE\r\n\xC3\x81\xC3\xB1\xC3\xA9?\r\n");
  table.driver_id = 0x00;  // no driver: Windows-1252
  table.records = {" " + Bytes({0xD1, 0xF1, 0xE9, 0x80})};
  EXPECT_EQ(Csv(DbfBytes(table)), "NOMBRE\r\n\xC3\x91\xC3\xB1\xC3\xA9\xE2\x82\xAC\r\n");
  table.version = 0x04;
  table.driver_name = "DB437US0";
  table.records = {" " + Bytes({0xA5, 0xA4, 0x82, 0xC4})};
  EXPECT_EQ(Csv(DbfBytes(table)), "NOMBRE\r\n\xC3\x91\xC3\xB1\xC3\xA9?\r\n");
}

TEST_F(DbfReader, AFieldNamedTwiceIsReadByItsFirstField) {
  RawTable table;
  table.fields = {{"DIA", 'C', 2}, {"HORA", 'C', 2}, {"dia", 'C', 2}};
  table.records = {" 1 23 9"};
  ExchangeTable read = Open(DbfBytes(table));
  EXPECT_EQ(read.ReadText("HORA"), "23");
  EXPECT_EQ(read.ReadText("DIA"), "1");  // also right after a lookup of a later field
  EXPECT_EQ(read.ReadText("dia"), "1");
  EXPECT_EQ(read.ReadText("dia"), "1");
}

TEST_F(DbfReader, AMissingEndMarkerIsTolerated) {
  RawTable table = DbaseIII();
  table.end_marker = false;
  EXPECT_EQ(Open(DbfBytes(table)).LiveRecordCount(), 3u);
}

TEST_F(DbfReader, NumbersStoredAsTextReadAsIntegersRoundedHalfToEven) {
  RawTable table;
  table.fields = {{"DIA", 'C', 5}, {"HORA", 'N', 5, 1}};
  table.records = {"   2.5  2.5", " 3.5    3.5", " 7     -0.5",
                   "           ", " 2,5    1.0", " dos    1.0"};
  ExchangeTable soluc = Open(DbfBytes(table), ',');
  std::vector<std::pair<std::int32_t, std::int32_t>> read;
  for (int i = 0; i < 5; ++i, soluc.Next()) {
    read.emplace_back(soluc.ReadInteger("DIA"), soluc.ReadInteger("HORA"));
  }
  EXPECT_EQ(read, (std::vector<std::pair<std::int32_t, std::int32_t>>{
                      {2, 2}, {4, 4}, {7, 0}, {0, 0}, {2, 1}}));
  EXPECT_RUN_ERROR(soluc.ReadInteger("DIA"),
                   "El campo «DIA» del registro 6 de la tabla SOLUC no contiene un número: «dos».");
  try {
    soluc.ReadInteger("DIA");
  } catch (const RunError& error) {
    EXPECT_EQ(error.context().table, "SOLUC");
    EXPECT_EQ(error.context().record, "6");
    EXPECT_EQ(error.context().field, "DIA");
  }
}

TEST_F(DbfReader, ANumericFieldHoldingNoNumberIsAnErrorWhenRead) {
  RawTable table;
  table.fields = {{"HORA", 'N', 4}};
  table.records = {" ****"};
  ExchangeTable soluc = Open(DbfBytes(table));
  EXPECT_RUN_ERROR(
      soluc.ReadText("HORA"),
      "El campo «HORA» del registro 1 de la tabla SOLUC no contiene un número: «****».");
}

// Damaged files: each refused with what is wrong.

TEST_F(DbfReader, ATruncatedHeaderOrAHeaderLengthBeyondTheFileIsReported) {
  const std::string bytes = DbfBytes(DbaseIII()).substr(0, 10);
  EXPECT_RUN_ERROR(Open(bytes), Damaged("mide 10 bytes, menos que la cabecera más corta de una "
                                        "tabla dBase (32 bytes)"));
  EXPECT_RUN_ERROR(Open(DbfBytes(DbaseIII()).substr(0, 100)),
                   Damaged("la cabecera dice medir 225 bytes, pero el archivo solo mide 100"));
}

TEST_F(DbfReader, TruncatedRecordsAreReported) {
  std::string bytes = DbfBytes(DbaseIII());
  bytes.resize(bytes.size() - 6);
  EXPECT_RUN_ERROR(Open(bytes),
                   Damaged("la cabecera anuncia 4 registros, pero el archivo solo contiene 3 "
                           "completos"));
}

TEST_F(DbfReader, ARecordCountFarBeyondTheFileIsReported) {
  std::string bytes = DbfBytes(DbaseIII());
  bytes.replace(4, 4, Bytes({0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_RUN_ERROR(Open(bytes), Damaged("la cabecera anuncia 4294967295 registros, pero el "
                                        "archivo solo contiene 4 completos"));
}

TEST_F(DbfReader, ARecordLengthThatDoesNotMatchTheFieldsIsReported) {
  std::string bytes = DbfBytes(DbaseIII());
  bytes[10] = 50;
  EXPECT_RUN_ERROR(Open(bytes), Damaged("la cabecera dice que cada registro mide 50 bytes, pero "
                                        "sus campos y la marca de borrado suman 44"));
}

TEST_F(DbfReader, UnknownVersionsFieldTypesAndWidthsAreReported) {
  RawTable table = DbaseIII();
  table.fields[0].type = 'Q';
  EXPECT_RUN_ERROR(Open(DbfBytes(table)),
                   Damaged("el campo «COD» es de un tipo desconocido («Q»)"));
  table.fields[0].type = '\x01';
  EXPECT_RUN_ERROR(Open(DbfBytes(table)),
                   Damaged("el campo «COD» es de un tipo desconocido («0x01»)"));
  table = DbaseIII();
  table.fields[3].width = 2;
  table.records.clear();
  EXPECT_RUN_ERROR(Open(DbfBytes(table)),
                   Damaged("el campo «ACTIVO», de tipo L, mide 2 bytes en lugar de 1"));
  table = DbaseIII();
  table.version = 0x07;
  EXPECT_RUN_ERROR(Open(DbfBytes(table)),
                   Damaged("su primer byte (0x07) no es el de ninguna versión de dBase conocida"));
}

TEST_F(DbfReader, DescriptorsThatRunPastTheHeaderAreReported) {
  std::string bytes = DbfBytes(DbaseIII());
  bytes[32 + 6 * 32] = 'X';  // the terminator becomes the start of a seventh descriptor
  bytes.replace(8, 2, Bytes({0xF0, 0}));  // a header of 240 bytes: it ends inside that descriptor
  EXPECT_RUN_ERROR(Open(bytes), Damaged("la lista de campos no termina dentro de la cabecera"));
  bytes.replace(8, 2, Bytes({40, 0}));
  EXPECT_RUN_ERROR(Open(bytes), Damaged("la cabecera dice medir 40 bytes, menos de los 65 que "
                                        "necesita"));
}

// Whatever the bytes, reading ends in a dump or a RunError: never a crash or a read outside the
// file (the sanitizer build watches the reads).
TEST_F(DbfReader, EveryTruncationAndEveryByteChangeEndsInADumpOrAClearError) {
  const std::string good = DbfBytes(DbaseIII());
  std::vector<std::string> variants;
  for (std::size_t length = 0; length < good.size(); ++length)
    variants.push_back(good.substr(0, length));
  for (std::size_t at = 0; at < good.size(); ++at) {
    for (int value : {0x00, 0x0D, 0x7F, 0xFF}) {
      std::string changed = good;
      changed[at] = static_cast<char>(value);
      variants.push_back(changed);
    }
  }
  std::size_t refused = 0;
  for (std::size_t i = 0; i < variants.size(); ++i) {
    // A new file each time: rewriting one file would make the file system flush it every time.
    const std::string name = "V" + std::to_string(i);
    dir_.Write(name + ".DBF", variants[i]);
    try {
      DumpTable(dir_.path(), name, DumpFormat::kCsv);
      DumpTable(dir_.path(), name, DumpFormat::kSummary);
    } catch (const RunError&) {
      ++refused;
    }
  }
  EXPECT_GT(refused, good.size());  // at least every truncation short of the whole file
}

}  // namespace
}  // namespace transzendal
