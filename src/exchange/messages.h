// Every text that the converter shows its user, in one table, so they can be read and reviewed
// together. The texts that the timetable program's users already know are kept word for word, the
// framework messages in English among them; every other text is Spanish and names what it is about.
//
// Texts are UTF-8. A "%s" stands for one argument of FillMessage, in order.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace transzendal::msg {

// Endings of both runs.
inline constexpr std::string_view kProcessFinished = "Proceso finalizado";
inline constexpr std::string_view kNoSourceFile = "No existe archivo";
inline constexpr std::string_view kNoSourceXmlFile = "No existe archivo XML.";

// The open-file dialog of both runs.
inline constexpr std::string_view kOpenDialogTitle = "Archivo XML";
inline constexpr std::string_view kOpenDialogFilter = "*.xml";

// Conversions of values.
inline constexpr std::string_view kNotValidInteger = "'%s' is not a valid integer value";

// Reading the school file.
inline constexpr std::string_view kSchoolFileUnreadable = "No se puede leer el archivo «%s».";
inline constexpr std::string_view kSchoolFileNotXml =
    "El archivo «%s» no es un documento XML válido (línea %s): %s";
inline constexpr std::string_view kXmlNoElement = "no contiene ningún elemento XML";
inline constexpr std::string_view kXmlCutOrExtra =
    "el documento está incompleto (termina sin cerrar sus elementos) o sigue después de su "
    "elemento raíz";
inline constexpr std::string_view kSchoolFileWrongRoot =
    "El archivo «%s» no contiene datos de Colvaria: su elemento raíz es «%s» y debería ser «datosZPH».";

// The choice of time frames (the frame dialog and --marcos).
inline constexpr std::string_view kTooManyFrames =
    "Demasiados Marcos Horarios seleccionados.\r\nComo máximo puede seleccionar 2 Marcos Horarios";
inline constexpr std::string_view kNoFrameChosen = "Debe al menos seleccionar 1 Marco Horario.";

// Names of the school file's records, as the summary and the messages name them.
inline constexpr std::string_view kRecordSubject = "materia";
inline constexpr std::string_view kRecordTask = "tarea";
inline constexpr std::string_view kRecordTeacher = "profesor";
inline constexpr std::string_view kRecordRoom = "aula";
inline constexpr std::string_view kRecordRoomSet = "conjunto de aulas";
inline constexpr std::string_view kRecordTimeFrame = "marco horario";
inline constexpr std::string_view kRecordPeriod = "tramo";
inline constexpr std::string_view kRecordGroup = "grupo";
inline constexpr std::string_view kRecordSession = "sesión";
inline constexpr std::string_view kRecordReference = "%s n.º %s (línea %s)";
inline constexpr std::string_view kMissingChild = "falta el elemento «%s»; se ha leído como texto vacío";

// The run's summary.
inline constexpr std::string_view kSummaryTables = "Tablas escritas:";
inline constexpr std::string_view kSummaryNoTables = "No se ha escrito ninguna tabla.";
inline constexpr std::string_view kSummaryTableRows = "  %s: %s filas";
inline constexpr std::string_view kSummaryTableOneRow = "  %s: 1 fila";
inline constexpr std::string_view kSummaryNotes = "Registros omitidos o incompletos:";
inline constexpr std::string_view kSummaryNote = "  %s: %s";

// The command-line converter.
inline constexpr std::string_view kCliUsage =
    "Uso:\n"
    "  transzendal-cli exportar FICHERO.xml [--directorio DIR] [--marcos ID[,ID]]\n"
    "      Convierte el archivo de Colvaria en las tablas de Zendalor.\n"
    "  transzendal-cli importar FICHERO.xml [--directorio DIR]\n"
    "      Devuelve el horario resuelto por Zendalor (SOLUC) a una copia del archivo de Colvaria.\n"
    "  transzendal-cli tabla NOMBRE [--directorio DIR] [--formato csv|resumen]\n"
    "      Muestra una tabla del directorio de intercambio.\n"
    "  transzendal-cli --help | --version\n"
    "\n"
    "El directorio de intercambio es DIR si se indica; si no, el de la variable de entorno\n"
    "TRANSZENDAL_ZTEMP; si no, C:\\ZTEMP (en Linux, la carpeta ZTEMP de la unidad C: de Wine).\n"
    "\n"
    "Estado de salida: 0 proceso finalizado, 1 error, 2 uso incorrecto, 3 no existe el archivo XML.\n";
inline constexpr std::string_view kCliVersion = "transzendal-cli %s\n";
inline constexpr std::string_view kCliUnknownCommand = "Orden desconocida: «%s».";
inline constexpr std::string_view kCliMissingCommand = "Falta la orden: exportar, importar o tabla.";
inline constexpr std::string_view kCliMissingFile = "Falta el nombre del archivo XML.";
inline constexpr std::string_view kCliMissingTable = "Falta el nombre de la tabla.";
inline constexpr std::string_view kCliMissingValue = "La opción «%s» necesita un valor.";
inline constexpr std::string_view kCliUnknownOption = "Opción desconocida: «%s».";
inline constexpr std::string_view kCliOptionNotHere = "La opción «%s» no sirve para la orden «%s».";
inline constexpr std::string_view kCliExtraArgument = "Sobra el argumento «%s».";
inline constexpr std::string_view kCliRepeatedOption = "La opción «%s» está repetida.";
inline constexpr std::string_view kCliBadFormat = "Formato desconocido: «%s». Use «csv» o «resumen».";
inline constexpr std::string_view kCliSeeHelp = "Use «transzendal-cli --help» para ver cómo se usa.";
inline constexpr std::string_view kUnexpectedError = "Error inesperado del conversor: %s";
inline constexpr std::string_view kCliChooseFrames =
    "El archivo tiene varios marcos horarios: %s. Elija uno o dos con --marcos ID[,ID] (por ejemplo "
    "--marcos %s).";
inline constexpr std::string_view kCliUnknownFrame =
    "El archivo no tiene ningún marco horario «%s». Sus marcos horarios son: %s.";
inline constexpr std::string_view kCliNotAvailable =
    "La orden «%s» todavía no está disponible en esta versión del conversor.";

// Fills the "%s" placeholders of `pattern` with `args`, in order. Placeholders without an argument
// are left as they stand; arguments without a placeholder are ignored.
std::string FillMessage(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace transzendal::msg
