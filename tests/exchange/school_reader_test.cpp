#include "school_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "expect_error.h"
#include "temp_dir.h"
#include "text.h"

namespace transzendal {
namespace {

using testing::TempDir;

SchoolModel Read(std::string_view body) {
  return ReadSchoolBytes("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + std::string(body), "prueba.xml");
}

std::string Utf8(std::string_view cp1252) { return Windows1252ToUtf8(cp1252); }

TEST(SchoolReader, RecordsAreTheElementsAtTheirAbsolutePathsInDocumentOrder) {
  const SchoolModel school = Read(R"(<datosZPH>
    <materias><materia>Lengua</materia><materia>Historia</materia></materias>
    <tareas><tarea>Guardia</tarea></tareas>
    <otros><materias><materia>No es una materia</materia></materias></otros>
  </datosZPH>)");
  const auto& subjects = school.Records(RecordKind::kSubject);
  ASSERT_EQ(subjects.size(), 2u);
  EXPECT_EQ(subjects[0].Text(), "Lengua");
  EXPECT_EQ(subjects[1].Text(), "Historia");
  EXPECT_EQ(subjects[1].position(), 1);
  ASSERT_EQ(school.Records(RecordKind::kTask).size(), 1u);
  EXPECT_EQ(school.Records(RecordKind::kTask)[0].Text(), "Guardia");
  EXPECT_TRUE(school.Records(RecordKind::kTeacher).empty());
}

TEST(SchoolReader, AMateriaInsideASesionIsNoSubject) {
  const SchoolModel school = Read(R"(<datosZPH>
    <materias><materia>Física</materia></materias>
    <sesionesLectivas><sesion id="7"><materia>Química</materia></sesion></sesionesLectivas>
  </datosZPH>)");
  ASSERT_EQ(school.Records(RecordKind::kSubject).size(), 1u);
  EXPECT_EQ(Utf8(school.Records(RecordKind::kSubject)[0].Text()), "Física");
  ASSERT_EQ(school.Records(RecordKind::kSession).size(), 1u);
  EXPECT_EQ(Utf8(school.Records(RecordKind::kSession)[0].ChildText("materia")), "Química");
}

TEST(SchoolReader, TextOnSeveralLinesIsTrimmedButKeptWholeUntrimmed) {
  const SchoolModel school = Read("<datosZPH><materias><materia>\n      Ciencias  Sociales\n    "
                                  "</materia></materias></datosZPH>");
  const SchoolRecord& subject = school.Records(RecordKind::kSubject)[0];
  EXPECT_EQ(subject.Text(), "Ciencias  Sociales");
}

TEST(SchoolReader, CdataCharacterAndEntityReferencesAreResolved) {
  const SchoolModel school = Read(R"(<!DOCTYPE datosZPH [<!ENTITY dpto "Departamento">]>
<datosZPH><materias>
  <materia>M&#225;s <![CDATA[<Lengua> & ]]>Literatura</materia>
  <materia>&dpto; de F&#xED;sica &amp; Qu&#237;mica</materia>
</materias></datosZPH>)");
  ASSERT_EQ(school.Records(RecordKind::kSubject).size(), 2u);
  EXPECT_EQ(Utf8(school.Records(RecordKind::kSubject)[0].Text()), "Más <Lengua> & Literatura");
  EXPECT_EQ(Utf8(school.Records(RecordKind::kSubject)[1].Text()), "Departamento de Física & Química");
}

TEST(SchoolReader, UndeclaredEntityIsNotWellFormed) {
  EXPECT_RUN_ERROR(Read("<datosZPH><materias><materia>Qu&iacute;mica</materia></materias></datosZPH>"),
                   "El archivo «prueba.xml» no es un documento XML válido (línea 2): Entity 'iacute' not defined");
}

TEST(SchoolReader, AttributesKeepTheirStartTagOrderAndRawValues) {
  const SchoolModel school = Read(R"(<datosZPH xmlns:c="urn:colvaria">
    <conjuntoDeAulas><general numero="3" nombre=" Taller " c:extra="x"/></conjuntoDeAulas>
  </datosZPH>)");
  const SchoolRecord& set = school.Records(RecordKind::kRoomSet)[0];
  ASSERT_EQ(set.attribute_count(), 3u);
  EXPECT_EQ(set.AttributeAt(0)->name, "numero");
  EXPECT_EQ(set.AttributeAt(1)->value, " Taller ");
  EXPECT_EQ(set.AttributeAt(2)->name, "c:extra");
  EXPECT_FALSE(set.AttributeAt(3).has_value());
  EXPECT_EQ(set.Attribute("nombre"), "Taller");
  EXPECT_EQ(set.Attribute("Nombre"), std::nullopt);
}

TEST(SchoolReader, NamespaceDeclarationsAreNoAttributes) {
  const SchoolModel school = Read(R"(<datosZPH><sesionesLectivas>
    <sesion xmlns:x="urn:x" id="12"><materia>Lengua</materia></sesion>
  </sesionesLectivas></datosZPH>)");
  const SchoolRecord& session = school.Records(RecordKind::kSession)[0];
  ASSERT_TRUE(session.AttributeAt(0).has_value());
  EXPECT_EQ(session.AttributeAt(0)->name, "id");
}

TEST(SchoolReader, ACharacterOutsideWindows1252BecomesAQuestionMark) {
  const SchoolModel school = Read("<datosZPH><profesores><profesor><nombre>李</nombre>"
                                  "<nombreCompleto>Li 李明 Wang</nombreCompleto></profesor></profesores></datosZPH>");
  EXPECT_EQ(school.Records(RecordKind::kTeacher)[0].ChildText("nombre"), "?");
  EXPECT_EQ(school.Records(RecordKind::kTeacher)[0].ChildText("nombreCompleto"), "Li ?? Wang");
}

TEST(SchoolReader, ChildrenAreReadFromTheirOwnParent) {
  // The second teacher lacks nombre: it reads as empty, and the third keeps its own.
  const SchoolModel school = Read(R"(<datosZPH><profesores>
    <profesor><nombre>JGL</nombre><nombreCompleto>Juan García</nombreCompleto></profesor>
    <profesor><nombreCompleto>Ana Ruiz</nombreCompleto></profesor>
    <profesor><nombre>MPS</nombre><nombre>OTRO</nombre><nombreCompleto>María Pérez</nombreCompleto></profesor>
  </profesores></datosZPH>)");
  const auto& teachers = school.Records(RecordKind::kTeacher);
  ASSERT_EQ(teachers.size(), 3u);
  EXPECT_FALSE(teachers[1].HasChild("nombre"));
  EXPECT_EQ(teachers[1].ChildText("nombre"), "");
  EXPECT_EQ(teachers[1].ChildText("nombreCompleto"), "Ana Ruiz");
  ASSERT_EQ(teachers[1].MissingChildren().size(), 1u);
  EXPECT_EQ(teachers[1].MissingChildren()[0], "nombre");
  EXPECT_EQ(teachers[2].ChildText("nombre"), "MPS");  // the first of that name
  EXPECT_TRUE(teachers[2].MissingChildren().empty());
}

TEST(SchoolReader, TheRecordsAreTheParentsNotTheirNamedChildren) {
  // A group without nombre is still a group.
  const SchoolModel school = Read(R"(<datosZPH><grupos>
    <grupo submarco="1"><nivel>ESO</nivel><curso>1</curso><unidad>A</unidad></grupo>
    <grupo submarco="2"><nombre>2º ESO B</nombre><nivel>ESO</nivel><curso>2</curso><unidad>B</unidad></grupo>
  </grupos></datosZPH>)");
  const auto& groups = school.Records(RecordKind::kGroup);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0].Attribute("submarco"), "1");
  EXPECT_EQ(groups[0].ChildText("nombre"), "");
  EXPECT_EQ(Utf8(groups[1].ChildText("nombre")), "2º ESO B");
}

TEST(SchoolReader, NestedChildPathsTakeTheFirstElementOfEachLevel) {
  const SchoolModel school = Read(R"(<datosZPH><sesionesLectivas>
    <sesion id="1"><distribucionSemanal><distribucionVariable><numSesiones> 4 </numSesiones>
      <numSesiones>9</numSesiones></distribucionVariable></distribucionSemanal></sesion>
    <sesion id="2"><distribucionSemanal><otra/></distribucionSemanal>
      <distribucionSemanal><distribucionVariable><numSesiones>3</numSesiones></distribucionVariable></distribucionSemanal></sesion>
    <sesion id="3"><numSesiones>5</numSesiones></sesion>
  </sesionesLectivas></datosZPH>)");
  const auto& sessions = school.Records(RecordKind::kSession);
  constexpr std::string_view kCount = "distribucionSemanal/distribucionVariable/numSesiones";
  ASSERT_EQ(sessions.size(), 3u);
  EXPECT_EQ(sessions[0].ChildText(kCount), "4");
  EXPECT_EQ(sessions[0].RawChildText(kCount), " 4 ");
  EXPECT_FALSE(sessions[1].HasChild(kCount));  // the first distribucionSemanal has none
  EXPECT_FALSE(sessions[2].HasChild(kCount));
}

TEST(SchoolReader, PeriodsKnowTheirTimeFrameAndChildTextsIncludeDescendants) {
  const SchoolModel school = Read(R"(<datosZPH><marcosDeHorario>
    <marcoHorario id="1" nombre="Mañana"><tramo><submarco>1</submarco><dia>0</dia><indice>1</indice>
      <horaEntrada>08:00</horaEntrada><horaSalida>08:55</horaSalida><Tipo>Lectivo<b>!</b></Tipo></tramo></marcoHorario>
    <marcoHorario id="2"><tramo><submarco/><dia>1</dia></tramo><tramo><dia>2</dia></tramo></marcoHorario>
  </marcosDeHorario></datosZPH>)");
  const auto& frames = school.Records(RecordKind::kTimeFrame);
  const auto& periods = school.Records(RecordKind::kPeriod);
  ASSERT_EQ(frames.size(), 2u);
  ASSERT_EQ(periods.size(), 3u);
  EXPECT_EQ(frames[0].AttributeAt(0)->value, "1");
  EXPECT_EQ(periods[0].parent(), 0);
  EXPECT_EQ(periods[2].parent(), 1);
  EXPECT_EQ(periods[0].ChildText("Tipo"), "Lectivo!");
  EXPECT_TRUE(periods[1].HasChild("submarco"));  // present and empty
  EXPECT_EQ(periods[1].ChildText("submarco"), "");
  EXPECT_FALSE(periods[2].HasChild("submarco"));
  EXPECT_EQ(school.Records(RecordKind::kSession).size(), 0u);
}

TEST(SchoolReader, EmptyElementsAreRecordsWithEmptyText) {
  const SchoolModel school = Read("<datosZPH><materias><materia/><materia></materia><materia>x</materia>"
                                  "</materias></datosZPH>");
  const auto& subjects = school.Records(RecordKind::kSubject);
  ASSERT_EQ(subjects.size(), 3u);
  EXPECT_EQ(subjects[0].Text(), "");
  EXPECT_EQ(subjects[2].Text(), "x");
}

TEST(SchoolReader, RecordsKnowTheLineOfTheirStartTag) {
  const SchoolModel school = Read("<datosZPH>\n<aulas>\n<aula><nombre>A1</nombre></aula>\n\n"
                                  "<aula>\n<nombre>A2</nombre></aula>\n</aulas></datosZPH>");
  const auto& rooms = school.Records(RecordKind::kRoom);
  ASSERT_EQ(rooms.size(), 2u);
  EXPECT_EQ(rooms[0].line(), 4);
  EXPECT_EQ(rooms[1].line(), 6);
  EXPECT_EQ(DescribeRecord(rooms[1]), "aula n.º 2 (línea 6)");
}

TEST(SchoolReader, TheDeclaredEncodingIsHonoured) {
  const SchoolModel latin1 = ReadSchoolBytes(
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><datosZPH><materias><materia>F\xEDsica"
      "</materia></materias></datosZPH>",
      "latin1.xml");
  EXPECT_EQ(latin1.Records(RecordKind::kSubject)[0].Text(), "F\xEDsica");
  const SchoolModel cp1252 = ReadSchoolBytes(
      "<?xml version=\"1.0\" encoding=\"windows-1252\"?><datosZPH><materias><materia>\x80 \x93x\x94"
      "</materia></materias></datosZPH>",
      "cp1252.xml");
  EXPECT_EQ(Utf8(cp1252.Records(RecordKind::kSubject)[0].Text()), "€ “x”");
  // Bytes Windows leaves unassigned read back as themselves, under either name of the code page.
  const SchoolModel unassigned = ReadSchoolBytes(
      "<?xml version=\"1.0\" encoding=\"CP1252\"?><datosZPH><materias><materia>a\x81\x9D"
      "</materia></materias></datosZPH>",
      "cp1252.xml");
  EXPECT_EQ(unassigned.Records(RecordKind::kSubject)[0].Text(), "a\x81\x9D");
}

TEST(SchoolReader, ARootOtherThanDatosZPHStopsTheRun) {
  EXPECT_RUN_ERROR(Read("<horarios><materias><materia>Lengua</materia></materias></horarios>"),
                   "El archivo «prueba.xml» no contiene datos de Colvaria: su elemento raíz es "
                   "«horarios» y debería ser «datosZPH».");
}

TEST(SchoolReader, AFileThatIsNotXmlStopsTheRunNamingTheLine) {
  EXPECT_RUN_ERROR(Read("<datosZPH>\n<materias>\n<materia>Lengua</materias>\n</datosZPH>"),
                   "El archivo «prueba.xml» no es un documento XML válido (línea 4): Opening and "
                   "ending tag mismatch: materia line 4 and materias");
  EXPECT_RUN_ERROR(Read("<datosZPH/>\n<datosZPH/>"),
                   "El archivo «prueba.xml» no es un documento XML válido (línea 3): el documento "
                   "está incompleto (termina sin cerrar sus elementos) o sigue después de su elemento raíz");
}

// Found by fuzzing: libxml2 quotes an unterminated comment cut at 50 bytes, here inside the first
// "ÿ", and the message passed that half character on to the user.
TEST(SchoolReader, AnUnterminatedCommentCutInsideACharacterStillGivesAUtf8Message) {
  EXPECT_RUN_ERROR(Read("<datosZPH><!--" + std::string(49, 'a') + "ÿÿÿ"),
                   "El archivo «prueba.xml» no es un documento XML válido (línea 2): Comment not "
                   "terminated \n<!--" + std::string(49, 'a') + "?");
}

TEST(SchoolReader, AnEmptyOrCutFileIsCalledSoInSpanish) {
  EXPECT_RUN_ERROR(ReadSchoolBytes("", "vacío.xml"),
                   "El archivo «vacío.xml» no es un documento XML válido (línea 1): no contiene "
                   "ningún elemento XML");
  EXPECT_RUN_ERROR(ReadSchoolBytes("Nombre;Apellidos\nAna;Ruiz\n", "hoja.csv"),
                   "El archivo «hoja.csv» no es un documento XML válido (línea 1): no contiene "
                   "ningún elemento XML");
  EXPECT_RUN_ERROR(Read("<datosZPH>\n<materias><materia>Len"),
                   "El archivo «prueba.xml» no es un documento XML válido (línea 3): el documento "
                   "está incompleto (termina sin cerrar sus elementos) o sigue después de su elemento raíz");
}

TEST(SchoolReader, ExpandingEntitiesWithoutBoundStopsTheRun) {
  std::string laughs = "<!DOCTYPE datosZPH [<!ENTITY a0 \"jajajajajaja\">";
  for (int i = 1; i <= 12; ++i) {
    const std::string previous = "&a" + std::to_string(i - 1) + ";";
    std::string value;
    for (int k = 0; k < 10; ++k) value += previous;
    laughs += "<!ENTITY a" + std::to_string(i) + " \"" + value + "\">";
  }
  laughs += "]><datosZPH><materias><materia>&a12;</materia></materias></datosZPH>";
  try {
    Read(laughs);
    FAIL() << "an entity expansion bomb was read";
  } catch (const RunError& error) {
    EXPECT_TRUE(std::string(error.what()).starts_with("El archivo «prueba.xml» no es un documento XML válido"))
        << error.what();
  }
}

// An entity repeated in an attribute value: libxml2's own checks let it grow without end.
std::string ExpandingAttribute(int repeats) {
  std::string value;
  for (int i = 0; i < repeats; ++i) value += "&g;";
  return "<?xml version=\"1.0\"?>\n<!DOCTYPE datosZPH [<!ENTITY g \"" + std::string(100000, 'x') +
         "\">]>\n<datosZPH version=\"" + value + "\"><materias><materia>Lengua</materia>"
         "</materias></datosZPH>";
}

TEST(SchoolReader, AnAttributeThatExpandsWithoutMeasureStopsTheRunBeforeItTakesTheMemory) {
  EXPECT_RUN_ERROR(ReadSchoolBytes(ExpandingAttribute(2000), "prueba.xml"),
                   "El archivo «prueba.xml» no es un documento XML válido (línea 3): leerlo "
                   "exigiría mucha más memoria de la que justifica su tamaño (por ejemplo, "
                   "entidades que se expanden sin medida)");
  // The same entity used a few times is a document like any other.
  EXPECT_EQ(ReadSchoolBytes(ExpandingAttribute(3), "prueba.xml")
                .Records(RecordKind::kSubject)[0].Text(), "Lengua");
}

TEST(SchoolReader, AByteOrderMarkWinsOverADeclarationThatContradictsIt) {
  const std::string body = "<datosZPH><materias><materia>Matemáticas</materia></materias></datosZPH>";
  for (const char* declared : {"ISO-8859-1", "windows-1252", "UTF-16"}) {
    const SchoolModel school = ReadSchoolBytes(
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"" + std::string(declared) + "\"?>" + body,
        "prueba.xml");
    EXPECT_EQ(Utf8(school.Records(RecordKind::kSubject)[0].Text()), "Matemáticas") << declared;
  }
  // A declaration that agrees with the mark, or a file without a mark, reads as it declares.
  EXPECT_EQ(Utf8(ReadSchoolBytes("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>" + body,
                                 "prueba.xml")
                     .Records(RecordKind::kSubject)[0].Text()),
            "Matemáticas");
  EXPECT_EQ(Utf8(ReadSchoolBytes("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + body,
                                 "prueba.xml")
                     .Records(RecordKind::kSubject)[0].Text()),
            "MatemÃ¡ticas");
}

TEST(SchoolReader, ExternalEntitiesNeverReadTheFilesTheyName) {
  TempDir dir;
  const auto secret = dir.Write("secreto.txt", "CONTRASEÑA-DEL-CENTRO");
  const std::string reference = "file://" + secret.string();
  for (const std::string& system_id : {std::string("secreto.txt"), reference}) {
    const auto file = dir.Write("externo.xml",
                                "<?xml version=\"1.0\"?><!DOCTYPE datosZPH [<!ENTITY s SYSTEM \"" +
                                    system_id + "\">]><datosZPH><materias><materia>[&s;]</materia>"
                                                "</materias></datosZPH>");
    try {
      const SchoolModel school = ReadSchoolFile(file);
      ASSERT_EQ(school.Records(RecordKind::kSubject).size(), 1u);
      EXPECT_EQ(school.Records(RecordKind::kSubject)[0].Text().find("CONTRASE"), std::string::npos);
    } catch (const RunError& error) {
      EXPECT_EQ(std::string(error.what()).find("CONTRASE"), std::string::npos) << error.what();
    }
  }
}

TEST(SchoolReader, AnExternalDtdIsNeverRead) {
  TempDir dir;
  dir.Write("colvaria.dtd", "<!ENTITY s \"CONTRASEÑA\">");
  const auto file = dir.Write("dtd.xml",
                              "<?xml version=\"1.0\"?><!DOCTYPE datosZPH SYSTEM \"colvaria.dtd\">"
                              "<datosZPH><materias><materia>Lengua</materia></materias></datosZPH>");
  const SchoolModel school = ReadSchoolFile(file);
  EXPECT_EQ(school.Records(RecordKind::kSubject)[0].Text(), "Lengua");
}

TEST(SchoolReader, AMissingFileIsReportedByName) {
  TempDir dir;
  const auto missing = dir.path() / "no-existe.xml";
  EXPECT_RUN_ERROR(ReadSchoolFile(missing), "No se puede leer el archivo «" + missing.string() + "».");
}

TEST(SchoolReader, ReadsAFileFromDisk) {
  TempDir dir;
  const auto file = dir.Write("centro.xml", "<datosZPH><aulas><aula><nombre>Aula 1</nombre></aula></aulas></datosZPH>");
  const SchoolModel school = ReadSchoolFile(file);
  ASSERT_EQ(school.Records(RecordKind::kRoom).size(), 1u);
  EXPECT_EQ(school.Records(RecordKind::kRoom)[0].ChildText("nombre"), "Aula 1");
}

}  // namespace
}  // namespace transzendal
