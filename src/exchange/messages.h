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

// The desktop program: its result file and the details of "Proceso finalizado".
inline constexpr std::string_view kUnableToWrite = "Unable to write to %s";
inline constexpr std::string_view kShowSummary = "Ver el resumen";
inline constexpr std::string_view kHideSummary = "Ocultar el resumen";
inline constexpr std::string_view kSummaryCut = "… y %s líneas más (transzendal-cli muestra el resumen entero).";

// Conversions of values.
inline constexpr std::string_view kNotValidInteger = "'%s' is not a valid integer value";

// Reading the school file.
inline constexpr std::string_view kSchoolFileUnreadable = "No se puede leer el archivo «%s».";
inline constexpr std::string_view kSchoolFileNotXml =
    "El archivo «%s» no es un documento XML válido (línea %s): %s";
inline constexpr std::string_view kXmlNoElement = "no contiene ningún elemento XML";
inline constexpr std::string_view kXmlTooMuchMemory =
    "leerlo exigiría mucha más memoria de la que justifica su tamaño (por ejemplo, entidades que "
    "se expanden sin medida)";
inline constexpr std::string_view kXmlCutOrExtra =
    "el documento está incompleto (termina sin cerrar sus elementos) o sigue después de su "
    "elemento raíz";
inline constexpr std::string_view kSchoolFileWrongRoot =
    "El archivo «%s» no contiene datos de Colvaria: su elemento raíz es «%s» y debería ser «datosZPH».";

// The result document of the reverse run: its name beside the school file, and saving it.
inline constexpr std::string_view kResultFilePrefix = "ResultadoZendal";
inline constexpr std::string_view kResultNotSaved = "No se puede guardar el archivo «%s»: %s.";
inline constexpr std::string_view kResultFolderMissing =
    "No se puede guardar el archivo «%s»: no existe la carpeta «%s».";
inline constexpr std::string_view kResultEncodingUnavailable =
    "No se puede guardar el archivo «%s» en la codificación «%s», la que declara el archivo de "
    "Colvaria.";
inline constexpr std::string_view kXmlNotWritten = "no se ha podido escribir el documento XML";
inline constexpr std::string_view kDocumentNoCanonicalForm =
    "No se puede obtener la forma canónica del documento «%s».";

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

// The table builders of the forward run.
inline constexpr std::string_view kDuplicateSubject =
    "no se ha escrito: su texto «%s» ya está en la tabla ASIGNOMT (sin distinguir mayúsculas)";
inline constexpr std::string_view kRoomSetNeedsTwoAttributes =
    "El elemento general de conjuntoDeAulas (%s) necesita dos atributos: el nombre base de las "
    "aulas genéricas y su número.";
inline constexpr std::string_view kTooManyGenericRooms =
    "El elemento general de conjuntoDeAulas (%s) pide %s aulas genéricas; el máximo es %s.";

inline constexpr std::string_view kNoTimeFrame =
    "El archivo no tiene ningún marco horario (marcosDeHorario/marcoHorario): sin él no se pueden "
    "escribir los días y horas del horario.";
inline constexpr std::string_view kTimeFrameWithoutId =
    "El marco horario que se aplica (%s) no tiene identificador.";
inline constexpr std::string_view kTimeFrameIdTooLong =
    "El identificador «%s» del marco horario que se aplica (%s) tiene más de 10 caracteres, más de "
    "los que caben en la tabla DIASHORAST.";
inline constexpr std::string_view kGroupFrameNotApplied =
    "no se ha escrito: su marco horario «%s» no es uno de los aplicados";
inline constexpr std::string_view kGroupWithoutFrame =
    "no se ha escrito: no indica su marco horario (submarco) y se aplican dos";

inline constexpr std::string_view kSessionSubjectNotFound =
    "no se ha escrito: su materia «%s» no está en la tabla ASIGNOMT";
inline constexpr std::string_view kSessionWithoutId =
    "La sesión %s no tiene atributos: falta su identificador, que hace falta para devolver el "
    "horario a Colvaria.";

// The run's summary.
inline constexpr std::string_view kSummaryTables = "Tablas escritas:";
inline constexpr std::string_view kSummaryNoTables = "No se ha escrito ninguna tabla.";
inline constexpr std::string_view kSummaryTableRows = "  %s: %s filas";
inline constexpr std::string_view kSummaryTableOneRow = "  %s: 1 fila";
inline constexpr std::string_view kSummaryNotes = "Registros omitidos o incompletos:";
inline constexpr std::string_view kSummaryNote = "  %s: %s";

// The reverse run: the solved timetable SOLUC back into a copy of the school file, and its summary.
inline constexpr std::string_view kImportReminder =
    "Deberá Abrir el fichero XML de COLVARIA,\r\ndesde el cual realizó la Importación a ZendaLor";
inline constexpr std::string_view kReverseResultFile = "Archivo de resultado: «%s»";
inline constexpr std::string_view kReverseEntries = "Horario escrito: %s tramos.";
inline constexpr std::string_view kReverseOneEntry = "Horario escrito: 1 tramo.";
inline constexpr std::string_view kReverseEarlierTimetable =
    "El archivo elegido ya tenía horario: se ha dejado fuera del resultado, que solo lleva el "
    "horario nuevo.";
inline constexpr std::string_view kSolucRecord = "registro n.º %s de SOLUC";
inline constexpr std::string_view kSolucDayZero =
    "su DIA es 0 (clase sin colocar); no se ha escrito en el horario";
inline constexpr std::string_view kSolucFrameNotFound =
    "su MARCO «%s» no está en la tabla DIASHORAST; el tramo lleva «marco» vacío";
inline constexpr std::string_view kSolucRoomNotFound =
    "su AULA «%s» no está en la tabla AULAT; el aula del tramo va sin nombre";
inline constexpr std::string_view kSolucSessionNotFound =
    "ASIG «%s» con CODGRUPO «%s» no está en la tabla ASIGT; la sesión del tramo va vacía";

// The stand-in for the timetable program (examples/simulador), which writes a solved SOLUC.
inline constexpr std::string_view kSimulatorUsage =
    "Uso: simulador-zendalor [--directorio DIR]\n"
    "  Hace de Zendalor: escribe en el directorio de intercambio la tabla SOLUC con un horario\n"
    "  inventado, siempre el mismo, a partir de las tablas ASIGT, DIASHORAST, GRUPOST y AULAT que\n"
    "  escribió «transzendal-cli exportar». El directorio se elige como en transzendal-cli.\n";
inline constexpr std::string_view kSimulatorWritten =
    "SOLUC escrita en «%s»: %s clases colocadas y %s sin hueco (con DIA 0).\n";

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
inline constexpr std::string_view kCliFramesHeading =
    "Seleccione 1, o los 2 Marcos Horarios que quiere aplicar a su Horario en Zendalor.";
inline constexpr std::string_view kCliFrameLine = "  Marco %s (tramos del lunes):";
inline constexpr std::string_view kCliFramesQuestion =
    "Escriba el identificador de uno o dos marcos, separados por una coma: ";
inline constexpr std::string_view kCliNoFramesAnswer =
    "No se ha elegido ningún marco horario: la entrada terminó antes de la respuesta.";

// dBase tables: finding, creating, opening, reading and writing them. A table is named by its
// upper-case name (ASIGNOMT), its file by its path.
inline constexpr std::string_view kNotValidFloat =
    "'%s' is not a valid floating point value for field '%s'";
inline constexpr std::string_view kTableNameInvalid =
    "«%s» no es un nombre de tabla válido: debe ser el nombre de un archivo, sin carpetas.";
inline constexpr std::string_view kTableMissing = "No existe la tabla %s en el directorio «%s».";
inline constexpr std::string_view kTableHeld =
    "La tabla %s («%s») está abierta en otro programa, que no permite usarla a la vez. Ciérrela "
    "en ese programa y vuelva a intentarlo.";
inline constexpr std::string_view kTableNotOpened = "No se puede abrir la tabla %s («%s»): %s.";
inline constexpr std::string_view kTableNotCreated = "No se puede crear la tabla %s («%s»): %s.";
inline constexpr std::string_view kTableNotRead = "No se puede leer la tabla %s («%s»): %s.";
inline constexpr std::string_view kTableNotWritten = "No se puede escribir la tabla %s («%s»): %s.";
inline constexpr std::string_view kTableOldFileNotRemoved =
    "No se puede borrar el archivo anterior «%s» de la tabla %s: %s.";
inline constexpr std::string_view kTableDamaged = "El archivo de tabla «%s» está dañado: %s.";
inline constexpr std::string_view kDbfShorterThanHeader =
    "mide %s bytes, menos que la cabecera más corta de una tabla dBase (32 bytes)";
inline constexpr std::string_view kDbfUnknownVersion =
    "su primer byte (0x%s) no es el de ninguna versión de dBase conocida";
inline constexpr std::string_view kDbfHeaderBeyondFile =
    "la cabecera dice medir %s bytes, pero el archivo solo mide %s";
inline constexpr std::string_view kDbfHeaderTooShort =
    "la cabecera dice medir %s bytes, menos de los %s que necesita";
inline constexpr std::string_view kDbfDescriptorsCut =
    "la lista de campos no termina dentro de la cabecera";
inline constexpr std::string_view kDbfNoFields = "no define ningún campo";
inline constexpr std::string_view kDbfUnknownFieldType =
    "el campo «%s» es de un tipo desconocido («%s»)";
inline constexpr std::string_view kDbfZeroWidth = "el campo «%s» mide 0 bytes";
inline constexpr std::string_view kDbfWrongWidth =
    "el campo «%s», de tipo %s, mide %s bytes en lugar de %s";
inline constexpr std::string_view kDbfRecordLengthMismatch =
    "la cabecera dice que cada registro mide %s bytes, pero sus campos y la marca de borrado "
    "suman %s";
inline constexpr std::string_view kDbfRecordsMissing =
    "la cabecera anuncia %s registros, pero el archivo solo contiene %s completos";
inline constexpr std::string_view kTableBadDefinition =
    "La definición de la tabla %s no es válida: %s.";
inline constexpr std::string_view kDefinitionNoFields = "no tiene campos";
inline constexpr std::string_view kDefinitionBadName =
    "el nombre de campo «%s» está vacío, mide más de 31 caracteres o tiene caracteres que no son "
    "letras, cifras o «_»";
inline constexpr std::string_view kDefinitionRepeatedName = "el campo «%s» está repetido";
inline constexpr std::string_view kDefinitionBadWidth =
    "el campo de texto «%s» mide %s caracteres; debe medir de 1 a 254";
inline constexpr std::string_view kDefinitionTooWide =
    "cada registro mediría %s bytes, más de 65535";
inline constexpr std::string_view kTableClosed = "La tabla %s está cerrada.";
inline constexpr std::string_view kTableFieldMissing = "La tabla %s no tiene el campo «%s».";
inline constexpr std::string_view kTableReadOnly =
    "La tabla %s se abrió solo para leerla y no se puede modificar.";
inline constexpr std::string_view kTableNotModifiable =
    "La tabla %s es de formato %s con página de códigos %s; el conversor solo modifica tablas "
    "dBase 7 en Windows-1252.";
inline constexpr std::string_view kTableNotEditing =
    "No se puede escribir el campo «%s» de la tabla %s: el registro actual no está en edición.";
inline constexpr std::string_view kTableNoCurrentRecord =
    "La tabla %s no tiene ningún registro que editar.";
inline constexpr std::string_view kTableFull = "La tabla %s no admite más registros.";
inline constexpr std::string_view kFieldValueNotAccepted =
    "El campo «%s» de la tabla %s es de tipo %s y no admite un valor %s.";
inline constexpr std::string_view kValueKindText = "de texto";
inline constexpr std::string_view kValueKindInteger = "entero";
inline constexpr std::string_view kValueKindBoolean = "lógico";
inline constexpr std::string_view kIntegerNotStorable =
    "El valor -2147483648 no se puede guardar en el campo entero «%s» de la tabla %s: dBase 7 "
    "guarda enteros de -2147483647 a 2147483647.";
inline constexpr std::string_view kFieldNotNumber =
    "El campo «%s» del registro %s de la tabla %s no contiene un número: «%s».";
inline constexpr std::string_view kFieldOutOfIntegerRange =
    "El campo «%s» del registro %s de la tabla %s guarda %s, que no cabe en un número entero de "
    "32 bits.";
inline constexpr std::string_view kFieldNotReadableAsInteger =
    "El campo «%s» de la tabla %s es de tipo %s y no se puede leer como número entero.";
inline constexpr std::string_view kLocateValueCount =
    "La búsqueda en la tabla %s por «%s» necesita %s valores y ha recibido %s.";
inline constexpr std::string_view kFileErrorMissing = "no existe el archivo o su carpeta";
inline constexpr std::string_view kFileErrorPermission = "no hay permiso para usar el archivo";
inline constexpr std::string_view kFileErrorDiskFull = "el disco está lleno";
inline constexpr std::string_view kFileErrorReadOnlyDisk = "el disco es de solo lectura";
inline constexpr std::string_view kFileErrorIsFolder = "es una carpeta, no un archivo";
inline constexpr std::string_view kFileErrorTooLarge =
    "el archivo ha llegado al tamaño máximo que el sistema permite escribir";
inline constexpr std::string_view kFileErrorOther = "error del sistema n.º %s";

// Names of the dBase formats, and a table's structure as «tabla --formato resumen» shows it.
inline constexpr std::string_view kFamilyDbase = "dBase III, IV o V";
inline constexpr std::string_view kFamilyLevel7 = "dBase 7";
inline constexpr std::string_view kFamilyFoxPro = "FoxPro";
inline constexpr std::string_view kFamilyVisualFoxPro = "Visual FoxPro";
inline constexpr std::string_view kStructureFile = "Archivo: %s\n";
inline constexpr std::string_view kStructureLevel = "Nivel: %s (byte de versión 0x%s)\n";
inline constexpr std::string_view kStructureCodePage = "Página de códigos: %s (%s)\n";
inline constexpr std::string_view kStructureDriverName = "controlador de idioma %s";
inline constexpr std::string_view kStructureDriverId = "controlador de idioma 0x%s";
inline constexpr std::string_view kStructureNoDriver =
    "no indica controlador de idioma; se toma la página por omisión";
inline constexpr std::string_view kStructureUnknownDriver =
    "controlador de idioma %s, desconocido; se toma la página por omisión";
inline constexpr std::string_view kStructureLastUpdate = "Última actualización: %s\n";
inline constexpr std::string_view kStructureRecords = "Registros: %s\n";
inline constexpr std::string_view kStructureRecordsDeleted =
    "Registros: %s (y %s marcados como borrados, que no se muestran)\n";
inline constexpr std::string_view kStructureFields = "Campos: %s\n";
inline constexpr std::string_view kStructureColumnField = "Campo";
inline constexpr std::string_view kStructureColumnType = "Tipo";
inline constexpr std::string_view kStructureColumnWidth = "Ancho";
inline constexpr std::string_view kStructureColumnDecimals = "Decimales";

// The exchange directory: opening it for a command, the staged set of new tables, the replacement
// journal and the recovery of an interrupted replacement.
inline constexpr std::string_view kExchangeDirectoryMissing =
    "No existe el directorio de intercambio «%s».";
inline constexpr std::string_view kExchangeDirectoryUnopenable =
    "No se puede abrir el directorio de intercambio «%s».";
inline constexpr std::string_view kExchangeDirectoryBusy =
    "Otra ejecución del conversor está usando el directorio de intercambio «%s». Espere a que "
    "termine y vuelva a intentarlo.";
inline constexpr std::string_view kExchangeDirectoryReadOnly =
    "No se puede escribir en el directorio de intercambio «%s»; no se ha modificado ninguna tabla.";
inline constexpr std::string_view kStagingFolderNotCreated =
    "No se puede crear la carpeta de trabajo «%s» para las tablas nuevas: %s; no se ha modificado "
    "ninguna tabla.";
inline constexpr std::string_view kStagedTableNotSaved =
    "No se puede guardar en disco la tabla nueva «%s»: %s; no se ha modificado ninguna tabla.";
inline constexpr std::string_view kTableFolderInTheWay =
    "«%s» es una carpeta y ocupa el lugar de la tabla %s: retírela o cámbiele el nombre; no se ha "
    "modificado ninguna tabla.";
inline constexpr std::string_view kJournalNotWritten =
    "No se puede escribir el diario de sustitución de tablas «%s»: %s; no se ha modificado "
    "ninguna tabla.";
inline constexpr std::string_view kReplacementIncomplete =
    "No se ha podido completar la sustitución de las tablas del directorio de intercambio «%s» "
    "(archivo «%s»); se completará la próxima vez que el conversor abra ese directorio.";
inline constexpr std::string_view kJournalUnreadable =
    "No se puede leer el diario de sustitución de tablas «%s».";
inline constexpr std::string_view kJournalDamaged =
    "El diario de sustitución de tablas «%s» está dañado: %s. Revise las tablas del directorio de "
    "intercambio antes de borrar el diario.";
inline constexpr std::string_view kJournalNoHeader = "no empieza por «transzendal-journal»";
inline constexpr std::string_view kJournalUnknownVersion =
    "es de la versión «%s», que este conversor no conoce";
inline constexpr std::string_view kJournalBadTable = "«%s» no es un nombre de tabla válido";
inline constexpr std::string_view kJournalUnknownTable =
    "la tabla %s no es una de las que escribe el conversor";
inline constexpr std::string_view kJournalRepeatedTable = "la tabla %s aparece dos veces";
inline constexpr std::string_view kJournalNoEnd = "está incompleto (falta la línea final)";
inline constexpr std::string_view kJournalBadEnd = "la línea final no es válida";
inline constexpr std::string_view kJournalWrongCount =
    "la línea final cuenta %s tablas y el diario nombra %s";
inline constexpr std::string_view kJournalWrongChecksum = "la suma de control no coincide";
inline constexpr std::string_view kJournalTrailingBytes = "sigue después de la línea final";
inline constexpr std::string_view kJournalTooLarge = "es demasiado grande para ser un diario";
inline constexpr std::string_view kJournalTableMissing =
    "El diario de sustitución de tablas «%s» nombra la tabla nueva %s, pero no está ni en la "
    "carpeta de trabajo ni en el directorio de intercambio.";
inline constexpr std::string_view kRollbackConflict =
    "No se puede devolver a su sitio la tabla anterior «%s»: el directorio de intercambio ya tiene "
    "un archivo con ese nombre.";
inline constexpr std::string_view kLeftoverNotRemoved =
    "No se pueden retirar los restos de una sustitución de tablas interrumpida: «%s».";

// Fills the "%s" placeholders of `pattern` with `args`, in order. Placeholders without an argument
// are left as they stand; arguments without a placeholder are ignored.
std::string FillMessage(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace transzendal::msg
