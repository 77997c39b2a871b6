#include "replacement_journal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expect_error.h"
#include "run_error.h"

namespace transzendal {
namespace {

const std::filesystem::path kFile = "/ztemp/.transzendal-journal";

std::string Damage(const std::string& reason) {
  return "El diario de sustitución de tablas «/ztemp/.transzendal-journal» está dañado: " + reason +
         ". Revise las tablas del directorio de intercambio antes de borrar el diario.";
}

TEST(ReplacementJournal, HoldsTheTablesInOrderInTheDocumentedBytes) {
  const std::vector<std::string> tables = {"PROFT", "ASIGNOMT"};
  // The checksum worked out apart: FNV-1a over the lines before "end".
  const std::string bytes = "transzendal-journal 1\nPROFT\nASIGNOMT\nend 2 d6757223\n";
  EXPECT_EQ(EncodeReplacementJournal(tables), bytes);
  EXPECT_EQ(DecodeReplacementJournal(bytes, kFile), tables);
  EXPECT_TRUE(DecodeReplacementJournal("transzendal-journal 1\nend 0 37220be0\n", kFile).empty());
}

TEST(ReplacementJournal, EveryCutAndEveryChangedByteIsRefused) {
  const std::string bytes =
      EncodeReplacementJournal(std::vector<std::string>{"AULAT", "GRUPOST", "DIASHORAST"});
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    EXPECT_THROW(DecodeReplacementJournal(bytes.substr(0, size), kFile), RunError) << size;
  }
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    for (const char flip : {'\x01', '\x20', '\x80'}) {
      std::string changed = bytes;
      changed[i] = static_cast<char>(changed[i] ^ flip);
      EXPECT_THROW(DecodeReplacementJournal(changed, kFile), RunError) << i << " ^ " << int(flip);
    }
  }
}

TEST(ReplacementJournal, EachDamageIsNamed) {
  const std::string head = "transzendal-journal 1\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "no empieza por «transzendal-journal»"},
      {"transzendal-journal 2\nASIGNOMT\nend 1 0eb891d0\n",
       "es de la versión «2», que este conversor no conoce"},
      {head + "asignomt\nend 1 0eb891d0\n", "«asignomt» no es un nombre de tabla válido"},
      {head + "../SOLUC\nend 1 0eb891d0\n", "«../SOLUC» no es un nombre de tabla válido"},
      {head + "A\xC1\nend 1 0eb891d0\n", "«AÁ» no es un nombre de tabla válido"},
      {head + std::string(500, 'X') + "\n",
       "«" + std::string(40, 'X') + "» no es un nombre de tabla válido"},
      {head + "PROFT\nPROFT\nend 2 0eb891d0\n", "la tabla PROFT aparece dos veces"},
      {head + "ASIGNOMT\n", "está incompleto (falta la línea final)"},
      {head + "ASIGNOMT\nend x 0eb891d0\n", "la línea final no es válida"},
      {head + "ASIGNOMT\nend 1  0eb891d0\n", "la línea final no es válida"},
      {head + "ASIGNOMT\nend 2 0eb891d0\n", "la línea final cuenta 2 tablas y el diario nombra 1"},
      {head + "ASIGNOMU\nend 1 0eb891d0\n", "la suma de control no coincide"},
      {head + "ASIGNOMT\nend 1 0eb891d0\nPROFT\n", "sigue después de la línea final"},
  };
  for (const auto& [bytes, reason] : cases) {
    SCOPED_TRACE(bytes);
    EXPECT_RUN_ERROR(DecodeReplacementJournal(bytes, kFile), Damage(reason));
  }
}

}  // namespace
}  // namespace transzendal
