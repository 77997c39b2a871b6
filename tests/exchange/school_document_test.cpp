#include "school_document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "directory_snapshot.h"
#include "expect_error.h"
#include "platform.h"
#include "school_reader.h"
#include "temp_dir.h"
#include "text.h"

namespace transzendal {
namespace {

using testing::DirectorySnapshot;
using testing::ReadBytes;
using testing::SnapshotDirectory;
using testing::TempDir;

// A school file laid out as libxml2 writes one (the declaration on its own line, double quotes, a
// final line break), so that a save which keeps the document gives back the very same bytes.
std::string Utf8File(std::string_view body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + std::string(body) + "\n";
}

SchoolDocument LoadBytes(const TempDir& dir, std::string_view bytes) {
  return SchoolDocument::Load(dir.Write("centro.xml", bytes));
}

std::string SaveAndRead(const TempDir& dir, const SchoolDocument& document) {
  const auto target = dir.path() / "ResultadoZendalcentro.xml";
  document.SaveAs(target);
  return ReadBytes(target);
}

std::string MessageOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RunError& error) {
    return error.user_message();
  }
  return "(sin error)";
}

// --- Loading -------------------------------------------------------------------------------------

std::string EntityBomb() {
  std::string laughs = "<!DOCTYPE datosZPH [<!ENTITY a0 \"jajajajajaja\">";
  for (int i = 1; i <= 12; ++i) {
    std::string value;
    for (int k = 0; k < 10; ++k) value += "&a" + std::to_string(i - 1) + ";";
    laughs += "<!ENTITY a" + std::to_string(i) + " \"" + value + "\">";
  }
  return laughs + "]><datosZPH>&a12;</datosZPH>";
}

// The same failures read the same to the user in both runs.
TEST(SchoolDocument, AFileThatDoesNotLoadReadsAsTheSchoolReaderSaysIt) {
  const std::string cases[] = {
      "",
      "Nombre;Apellidos\nAna;Ruiz\n",
      Utf8File("<datosZPH>\n<materias><materia>Len"),
      Utf8File("<datosZPH/>\n<datosZPH/>"),
      Utf8File("<datosZPH>\n<materias>\n<materia>Lengua</materias>\n</datosZPH>"),
      Utf8File("<datosZPH><materia>Qu&iacute;mica</materia></datosZPH>"),
      Utf8File("<datosZPH><x:materia>Lengua</x:materia></datosZPH>"),
      Utf8File("<horarios>\n<materias>\n</horarios>"),
      Utf8File("<c:datosZPH xmlns:c=\"urn:colvaria\"/>"),
      Utf8File(EntityBomb()),
  };
  for (const std::string& bytes : cases) {
    TempDir dir;
    const auto file = dir.Write("centro.xml", bytes);
    const std::string expected = MessageOf([&] { ReadSchoolFile(file); });
    ASSERT_NE(expected, "(sin error)") << bytes;
    EXPECT_EQ(MessageOf([&] { SchoolDocument::Load(file); }), expected) << bytes;
  }
  TempDir dir;
  EXPECT_RUN_ERROR(LoadBytes(dir, Utf8File("<horarios>\n<materias/>\n</horarios>")),
                   "El archivo «" + (dir.path() / "centro.xml").string() +
                       "» no contiene datos de Colvaria: su elemento raíz es «horarios» y debería "
                       "ser «datosZPH».");
}

TEST(SchoolDocument, AMissingOrUnreadableFileIsReportedByName) {
  TempDir dir;
  for (const auto& file : {dir.path() / "no-existe.xml", dir.path() / "carpeta.xml"}) {
    std::filesystem::create_directory(dir.path() / "carpeta.xml");
    EXPECT_RUN_ERROR(SchoolDocument::Load(file),
                     "No se puede leer el archivo «" + file.string() + "».");
  }
}

TEST(SchoolDocument, AnAttributeThatExpandsWithoutMeasureStopsTheLoadBeforeItTakesTheMemory) {
  TempDir dir;
  // Each attribute stays below libxml2's own limit of 10 MB; together they would not.
  std::string value;
  for (int i = 0; i < 90; ++i) value += "&g;";
  std::string attributes;
  for (int i = 0; i < 8; ++i) attributes += " a" + std::to_string(i) + "=\"" + value + "\"";
  const std::string file = "<?xml version=\"1.0\"?>\n<!DOCTYPE datosZPH [<!ENTITY g \"" +
                           std::string(100000, 'x') + "\">]>\n<datosZPH" + attributes + "/>";
  EXPECT_EQ(MessageOf([&] { LoadBytes(dir, file); }),
            "El archivo «" + platform::PathToUtf8(dir.path() / "centro.xml") +
                "» no es un documento XML válido (línea 3): leerlo exigiría mucha más memoria de la "
                "que justifica su tamaño (por ejemplo, entidades que se expanden sin medida)");
}

TEST(SchoolDocument, AByteOrderMarkThatContradictsTheDeclarationWinsAndTheResultIsSavedAsItSays) {
  TempDir dir;
  const SchoolDocument document = LoadBytes(
      dir, "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
           "<datosZPH><materias><materia>Matemáticas</materia></materias></datosZPH>\n");
  const std::string saved = SaveAndRead(dir, document);
  EXPECT_NE(saved.find("<materia>Matemáticas</materia>"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("ISO-8859-1"), std::string::npos) << saved;
}

TEST(SchoolDocument, ExternalEntitiesAndDtdsNeverBringTheFilesTheyNameIntoTheResult) {
  TempDir dir;
  const auto secret = dir.Write("secreto.txt", "CONTRASEÑA-DEL-CENTRO");
  dir.Write("colvaria.dtd", "<!ENTITY d \"CONTRASEÑA-DEL-DTD\">");
  const std::string sources[] = {
      "<!DOCTYPE datosZPH [<!ENTITY s SYSTEM \"secreto.txt\">]><datosZPH>[&s;]</datosZPH>",
      "<!DOCTYPE datosZPH [<!ENTITY s SYSTEM \"file://" + secret.string() +
          "\">]><datosZPH>[&s;]</datosZPH>",
      "<!DOCTYPE datosZPH SYSTEM \"colvaria.dtd\"><datosZPH>[&d;]</datosZPH>",
  };
  for (const std::string& body : sources) {
    try {
      const SchoolDocument document = LoadBytes(dir, Utf8File(body));
      EXPECT_EQ(SaveAndRead(dir, document).find("CONTRASE"), std::string::npos) << body;
      EXPECT_EQ(document.CanonicalForm().find("CONTRASE"), std::string::npos) << body;
    } catch (const RunError& error) {
      EXPECT_EQ(std::string(error.what()).find("CONTRASE"), std::string::npos) << error.what();
    }
  }
}

// --- Removing earlier timetables -----------------------------------------------------------------

TEST(SchoolDocument, EveryEarlierTimetableGoesWithItsIndentationAndNothingElse) {
  TempDir dir;
  SchoolDocument document = LoadBytes(dir, Utf8File(R"(<datosZPH version="3">
  <horario><tramo dia="0" indice="1" marco="1"/></horario>
  <materias><materia>Lengua</materia></materias>
  <!-- copia de seguridad -->
  <otros><horario>anidado, no es del centro</horario></otros>
  <x:horario xmlns:x="urn:x">con prefijo</x:horario>
  <horario/>
</datosZPH>)"));
  EXPECT_EQ(document.RemoveTimetables(), 2);
  EXPECT_EQ(SaveAndRead(dir, document), Utf8File(R"(<datosZPH version="3">
  <materias><materia>Lengua</materia></materias>
  <!-- copia de seguridad -->
  <otros><horario>anidado, no es del centro</horario></otros>
  <x:horario xmlns:x="urn:x">con prefijo</x:horario>
</datosZPH>)"));
}

TEST(SchoolDocument, OneEarlierTimetableOrNoneIsCountedAndTheRestKeptByteForByte) {
  TempDir dir;
  SchoolDocument document =
      LoadBytes(dir, Utf8File("<datosZPH><aulas/><horario><tramo/></horario><grupos/></datosZPH>"));
  EXPECT_EQ(document.RemoveTimetables(), 1);
  EXPECT_EQ(SaveAndRead(dir, document), Utf8File("<datosZPH><aulas/><grupos/></datosZPH>"));

  // Large enough to be read and written in many pieces.
  std::string subjects;
  for (int i = 0; i < 20000; ++i)
    subjects += "\n    <materia>Lengua " + std::to_string(i) + "</materia>";
  const std::string source = Utf8File(
      "<datosZPH>\n  <profesores><profesor><nombre>JGL</nombre><nombreCompleto>Juan García López"
      "</nombreCompleto></profesor></profesores>\n  <materias>" +
      subjects + "\n  </materias>\n</datosZPH>");
  SchoolDocument whole = LoadBytes(dir, source);
  EXPECT_EQ(whole.RemoveTimetables(), 0);
  EXPECT_EQ(SaveAndRead(dir, whole), source);
}

// --- Appending the new timetable -----------------------------------------------------------------

TEST(SchoolDocument, TheNewTimetableIsTheLastChildWithItsEntriesInOrder) {
  TempDir dir;
  SchoolDocument document = LoadBytes(dir, Utf8File("<datosZPH>\n  <aulas/>\n</datosZPH>"));
  DocumentElement timetable = document.AppendTimetable();
  for (int day = 0; day < 2; ++day) {
    DocumentElement period = timetable.AppendChild("tramo");
    period.SetAttribute("dia", day);
    period.SetAttribute("indice", 7 - day);
    period.SetAttribute("marco", "M1");
    DocumentElement room = period.AppendChild("aula");
    if (day == 0) room.SetAttribute("id", "Aula 1");
    if (day == 1) room.SetAttribute("anonima", "");
    room.AppendChild("sesion").SetText(std::to_string(120 + day));
    room.AppendChild("profesor").SetText("JGL");
  }
  EXPECT_EQ(SaveAndRead(dir, document),
            Utf8File("<datosZPH>\n  <aulas/>\n<horario>"
                     "<tramo dia=\"0\" indice=\"7\" marco=\"M1\"><aula id=\"Aula 1\">"
                     "<sesion>120</sesion><profesor>JGL</profesor></aula></tramo>"
                     "<tramo dia=\"1\" indice=\"6\" marco=\"M1\"><aula anonima=\"\">"
                     "<sesion>121</sesion><profesor>JGL</profesor></aula></tramo>"
                     "</horario></datosZPH>"));
}

TEST(SchoolDocument, AnAttributeSetAgainKeepsItsFirstPlaceAndTakesTheNewValue) {
  TempDir dir;
  SchoolDocument document = LoadBytes(dir, Utf8File("<datosZPH/>"));
  DocumentElement period = document.AppendTimetable().AppendChild("tramo");
  period.SetAttribute("marco", "viejo");
  period.SetAttribute("dia", -1);
  period.SetAttribute("indice", 2147483647);
  period.SetAttribute("marco", "nuevo");
  EXPECT_EQ(SaveAndRead(dir, document),
            Utf8File("<datosZPH><horario><tramo marco=\"nuevo\" dia=\"-1\" indice=\"2147483647\"/>"
                     "</horario></datosZPH>"));
}

TEST(SchoolDocument, TextsAreStoredAsTheyAreAndSettingTextReplacesTheContent) {
  TempDir dir;
  SchoolDocument document = LoadBytes(dir, Utf8File("<datosZPH/>"));
  DocumentElement room = document.AppendTimetable().AppendChild("tramo").AppendChild("aula");
  room.SetAttribute("id", "Lab \"B\" & <C> &amp;");
  DocumentElement session = room.AppendChild("sesion");
  session.AppendChild("vieja");
  session.SetText("primero");
  session.SetText("F\xEDsica & <Qu\xEDmica> &amp;");
  room.AppendChild("profesor").SetText("");
  EXPECT_EQ(SaveAndRead(dir, document),
            Utf8File("<datosZPH><horario><tramo><aula id=\"Lab &quot;B&quot; &amp; &lt;C&gt; "
                     "&amp;amp;\"><sesion>Física &amp; &lt;Química&gt; "
                     "&amp;amp;</sesion><profesor/></aula></tramo>"
                     "</horario></datosZPH>"));
}

TEST(SchoolDocument, ControlCharactersThatXmlCannotHoldAreStoredAsQuestionMarks) {
  TempDir dir;
  SchoolDocument document = LoadBytes(dir, Utf8File("<datosZPH/>"));
  DocumentElement room = document.AppendTimetable().AppendChild("tramo").AppendChild("aula");
  room.SetAttribute("id", std::string_view("A\0B\x1F", 4));
  room.AppendChild("profesor").SetText(std::string_view("J\x01G\tL\0", 6));
  const std::string saved = SaveAndRead(dir, document);
  EXPECT_NE(saved.find("<aula id=\"A?B?\"><profesor>J?G\tL?</profesor>"), std::string::npos)
      << saved;
  EXPECT_NO_THROW(SchoolDocument::Load(dir.path() / "ResultadoZendalcentro.xml"));
}

// --- Saving in the file's own encoding -----------------------------------------------------------

TEST(SchoolDocument, AUtf8FileIsSavedAsUtf8) {
  TempDir dir;
  const std::string source = Utf8File(
      "<datosZPH><materias><materia>Física y Química</materia><materia>中文</materia>"
      "</materias></datosZPH>");
  SchoolDocument document = LoadBytes(dir, source);
  EXPECT_EQ(document.encoding(), "UTF-8");
  document.AppendTimetable().AppendChild("tramo").SetAttribute("marco", "Ma\xF1\x61na \x80");
  EXPECT_EQ(SaveAndRead(dir, document),
            Utf8File("<datosZPH><materias><materia>Física y Química</materia><materia>中文"
                     "</materia></materias><horario><tramo marco=\"Mañana €\"/></horario>"
                     "</datosZPH>"));

  SchoolDocument undeclared = LoadBytes(dir, "<datosZPH><aula>Aula año</aula></datosZPH>");
  EXPECT_EQ(undeclared.encoding(), "UTF-8");
  EXPECT_EQ(SaveAndRead(dir, undeclared), Utf8File("<datosZPH><aula>Aula año</aula></datosZPH>"));
}

TEST(SchoolDocument, AnIsoLatin1FileIsSavedAsIsoLatin1WithReferencesForWhatItLacks) {
  TempDir dir;
  const std::string source =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<datosZPH><materias><materia>F\xEDsica"
      "</materia></materias></datosZPH>\n";
  SchoolDocument document = LoadBytes(dir, source);
  EXPECT_EQ(document.encoding(), "ISO-8859-1");
  document.AppendTimetable().AppendChild("tramo").AppendChild("aula").SetAttribute("id",
                                                                                   "\x80uro \xF1");
  EXPECT_EQ(SaveAndRead(dir, document),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<datosZPH><materias><materia>"
            "F\xEDsica</materia></materias><horario><tramo><aula id=\"&#8364;uro \xF1\"/></tramo>"
            "</horario></datosZPH>\n");
  const SchoolModel again = ReadSchoolFile(dir.path() / "ResultadoZendalcentro.xml");
  EXPECT_EQ(again.Records(RecordKind::kSubject)[0].Text(), "F\xEDsica");
}

TEST(SchoolDocument, AWindows1252FileIsSavedAsWindows1252WithReferencesForWhatItLacks) {
  TempDir dir;
  const std::string source =
      "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<datosZPH><materias><materia>\x80 "
      "\x93Lengua\x94 &#26446;</materia></materias></datosZPH>\n";
  SchoolDocument document = LoadBytes(dir, source);
  EXPECT_EQ(document.encoding(), "windows-1252");
  document.AppendTimetable()
      .AppendChild("tramo")
      .AppendChild("aula")
      .AppendChild("profesor")
      .SetText("Pe\xF1\x61 \x80");
  const std::string saved = SaveAndRead(dir, document);
  EXPECT_EQ(saved,
            "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<datosZPH><materias><materia>"
            "\x80 \x93Lengua\x94 &#26446;</materia></materias><horario><tramo><aula><profesor>"
            "Pe\xF1\x61 \x80</profesor></aula></tramo></horario></datosZPH>\n");
  const SchoolModel again = ReadSchoolFile(dir.path() / "ResultadoZendalcentro.xml");
  EXPECT_EQ(Windows1252ToUtf8(again.Records(RecordKind::kSubject)[0].Text()), "€ “Lengua” ?");
}

// --- The document compared after a round trip ----------------------------------------------------

// The canonical forms of the source and of its saved copy, both loaded: C14N, which sorts
// attributes, so their order is checked on the bytes.
TEST(SchoolDocument, ALoadAndSaveWithoutEditsKeepsTheDocument) {
  TempDir dir;
  const std::string source =
      "<?xml version='1.0' encoding='ISO-8859-1' standalone='yes'?>\r\n"
      "<!DOCTYPE datosZPH [<!ENTITY centro 'IES Sierra'>]>\r\n"
      "<?colvaria exportado='2024'?>\r\n"
      "<datosZPH xmlns:c='urn:colvaria' c:version='3'>\r\n"
      "  <!-- centro -->\r\n"
      "  <conjuntoDeAulas><general nombre='Taller' numero=\"3\"></general></conjuntoDeAulas>\r\n"
      "  <materias><materia>&centro; <![CDATA[<M\xFAsica> & arte]]> "
      "&#x4E2D;</materia></materias>\r\n"
      "</datosZPH>\r\n";
  const SchoolDocument document = LoadBytes(dir, source);
  const std::string saved = SaveAndRead(dir, document);
  EXPECT_NE(saved.find("<general nombre=\"Taller\" numero=\"3\"/>"), std::string::npos) << saved;
  const SchoolDocument reloaded = SchoolDocument::Load(dir.path() / "ResultadoZendalcentro.xml");
  EXPECT_EQ(reloaded.CanonicalForm(), document.CanonicalForm());
  EXPECT_EQ(reloaded.encoding(), "ISO-8859-1");

  SchoolDocument edited = LoadBytes(dir, source);
  edited.AppendTimetable();
  EXPECT_NE(edited.CanonicalForm(), document.CanonicalForm());
}

TEST(SchoolDocument, TheCanonicalFormIgnoresEncodingAndLayoutButNotContent) {
  TempDir dir;
  const std::string plain = LoadBytes(dir, Utf8File("<datosZPH a=\"1\" b='x'><m>M&#250;sica &amp; "
                                                    "arte</m><v></v></datosZPH>"))
                                .CanonicalForm();
  const std::string latin1 =
      LoadBytes(dir,
                "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><datosZPH b=\"x\" a='1'>"
                "<m><![CDATA[M\xFAsica & arte]]></m><v/></datosZPH>")
          .CanonicalForm();
  EXPECT_EQ(plain, latin1);
  EXPECT_EQ(plain, "<datosZPH a=\"1\" b=\"x\"><m>Música &amp; arte</m><v></v></datosZPH>");
  EXPECT_NE(LoadBytes(dir, Utf8File("<datosZPH a=\"1\" b='x'><m>Musica &amp; arte</m><v/>"
                                    "</datosZPH>"))
                .CanonicalForm(),
            plain);
}

// --- Saving safely -------------------------------------------------------------------------------

TEST(SchoolDocument, ASaveIntoAMissingFolderFailsAndWritesNothing) {
  TempDir dir;
  const SchoolDocument document = LoadBytes(dir, Utf8File("<datosZPH/>"));
  const DirectorySnapshot before = SnapshotDirectory(dir.path());
  const auto folder = dir.path() / "no-existe";
  EXPECT_RUN_ERROR(document.SaveAs(folder / "ResultadoZendalcentro.xml"),
                   "No se puede guardar el archivo «" +
                       (folder / "ResultadoZendalcentro.xml").string() +
                       "»: no existe la carpeta «" + folder.string() + "».");
  EXPECT_EQ(SnapshotDirectory(dir.path()), before);
}

TEST(SchoolDocument, AFolderInPlaceOfTheResultStopsTheSaveAndIsLeftAsItWas) {
  TempDir dir;
  const SchoolDocument document = LoadBytes(dir, Utf8File("<datosZPH/>"));
  const auto target = dir.path() / "ResultadoZendalcentro.xml";
  std::filesystem::create_directory(target);
  dir.Write("ResultadoZendalcentro.xml/anterior.xml", "<datosZPH>anterior</datosZPH>");
  const DirectorySnapshot before = SnapshotDirectory(dir.path());
  EXPECT_RUN_ERROR(document.SaveAs(target), "No se puede guardar el archivo «" + target.string() +
                                                "»: es una carpeta, no un archivo.");
  EXPECT_EQ(SnapshotDirectory(dir.path()), before);
}

TEST(SchoolDocument, ASecondSaveReplacesTheEarlierResultAndNeverTheSource) {
  TempDir dir;
  const std::string source = Utf8File("<datosZPH><aulas/></datosZPH>");
  SchoolDocument document = LoadBytes(dir, source);
  SaveAndRead(dir, document);
  document.AppendTimetable();
  EXPECT_EQ(SaveAndRead(dir, document), Utf8File("<datosZPH><aulas/><horario/></datosZPH>"));
  EXPECT_EQ(SnapshotDirectory(dir.path()),
            (DirectorySnapshot{{"centro.xml", source},
                               {"ResultadoZendalcentro.xml",
                                Utf8File("<datosZPH><aulas/><horario/></datosZPH>")}}));
}

TEST(SchoolDocument, AHundredThousandPeriodsAreWrittenWhole) {
  TempDir dir;
  SchoolDocument document = LoadBytes(dir, Utf8File("<datosZPH/>"));
  DocumentElement timetable = document.AppendTimetable();
  constexpr int kPeriods = 100000;
  for (int i = 0; i < kPeriods; ++i) {
    DocumentElement period = timetable.AppendChild("tramo");
    period.SetAttribute("dia", i % 5);
    period.SetAttribute("indice", i);
    period.SetAttribute("marco", "1");
    DocumentElement room = period.AppendChild("aula");
    room.SetAttribute("id", "Aula");
    room.AppendChild("sesion").SetText(std::to_string(i));
    room.AppendChild("profesor").SetText("JGL");
  }
  const std::string saved = SaveAndRead(dir, document);
  EXPECT_TRUE(
      saved.ends_with("<tramo dia=\"4\" indice=\"99999\" marco=\"1\"><aula id=\"Aula\">"
                      "<sesion>99999</sesion><profesor>JGL</profesor></aula></tramo>"
                      "</horario></datosZPH>\n"));
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '<'), 3 + 8 * kPeriods + 2);
}

}  // namespace
}  // namespace transzendal
