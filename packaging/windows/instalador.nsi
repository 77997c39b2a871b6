; The TransZendal installer: Spanish, for the current user only (no administrator rights), into
; the folder where the timetable program looks for the converter. make_packages.cmake builds it
; and defines VERSION, VERSION4 (four numbers), PUBLISHER, FILES (the program folder's install and removal
; commands, from the same list as the portable archive), SIZE_KB (their size), ICON and OUTFILE.
Target amd64-unicode  ; the programs are 64-bit, and so is Wine's loader on Debian
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WordFunc.nsh"
!include "${FILES}"

!define PRODUCT "TransZendal"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TransZendal"
!define UNINSTALLER "Desinstalar.exe"
!define MENU_FOLDER "$SMPROGRAMS\TransZendal"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; The user's own programs folder needs no rights; a reinstallation proposes the folder used last.
InstallDir "$LOCALAPPDATA\Programs\TransZendal"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Este asistente instalará ${PRODUCT} ${VERSION}, que lleva los datos del centro entre Colvaria y Zendalor.$\r$\n$\r$\nSe instala para el usuario actual, sin permisos de administrador.$\r$\n$\r$\nPulse Siguiente para continuar."
!insertmacro MUI_PAGE_WELCOME
!define MUI_DIRECTORYPAGE_TEXT_TOP "Elija la carpeta donde Zendalor busca el conversor. Zendalor arranca transzendal.exe desde ella, y transzendal.exe le deja allí, en Zendalor.ini, el resultado de cada proceso: la carpeta debe admitir escritura.$\r$\n$\r$\nSi no sabe cuál es, acepte la propuesta e indique a Zendalor esta carpeta."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Carpeta donde Zendalor busca el conversor"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE LeaveFolderPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\LEAME.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Ver el Léame"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Spanish"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileDescription" "Instalación de ${PRODUCT} ${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SPANISH} "LegalCopyright" "© 2026 ${PUBLISHER}"

; Why $INSTDIR cannot take the program, or "" when it can: the folder is created if missing and
; a file is written in it, because the window writes Zendalor.ini there.
Var FolderProblem
; Set when the check itself created the folder, so that leaving the page does not leave it behind.
Var FolderCreated

; Takes a path from the stack and gives it back without final "\"s.
Function TrimFinalBackslashes
  Exch $0
  Push $1
  ${Do}
    StrCpy $1 $0 1 -1
    ${IfThen} $1 != "\" ${|} ${ExitDo} ${|}
    StrCpy $0 $0 -1
  ${Loop}
  Pop $1
  Exch $0
FunctionEnd

; A folder given with /D= that cannot hold a folder (a file on its path, say) would be replaced by
; the default one without a word: a silent installation must go where it was told or nowhere.
Function .onInit
  System::Call 'kernel32::GetCommandLineW() t .r0'
  ClearErrors
  ${WordFind} "$0" " /D=" "E+1}" $1
  ${If} ${Errors}
    Return  ; no /D=: the folder page decides
  ${EndIf}
  ; "C:\Carpeta\" names the same folder as "C:\Carpeta" (and programs that quote a final "\"
  ; double it).
  Push $1
  Call TrimFinalBackslashes
  Pop $1
  Push $INSTDIR
  Call TrimFinalBackslashes
  Pop $2
  ${If} $1 != $2
    MessageBox MB_ICONSTOP|MB_OK "No se puede instalar en la carpeta $1." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

Function CheckFolder
  StrCpy $FolderProblem ""
  StrCpy $FolderCreated ""
  ClearErrors
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    CreateDirectory "$INSTDIR"
    ${If} ${Errors}
      StrCpy $FolderProblem "No se puede crear la carpeta $INSTDIR."
      Return
    ${EndIf}
    StrCpy $FolderCreated "1"
  ${EndIf}
  ClearErrors
  FileOpen $0 "$INSTDIR\transzendal-prueba-escritura.tmp" w
  ${If} ${Errors}
    StrCpy $FolderProblem "No se puede escribir en la carpeta $INSTDIR."
  ${Else}
    FileClose $0
    Delete "$INSTDIR\transzendal-prueba-escritura.tmp"
  ${EndIf}
FunctionEnd

Function LeaveFolderPage
  Call CheckFolder
  ${If} $FolderCreated == "1"
    RMDir "$INSTDIR"
  ${EndIf}
  ${If} $FolderProblem != ""
    MessageBox MB_ICONEXCLAMATION|MB_OK "$FolderProblem$\r$\n$\r$\nElija una carpeta que admita escritura: transzendal.exe escribe en ella Zendalor.ini."
    Abort  ; stays on the page
  ${EndIf}
FunctionEnd

Section "TransZendal"
  SectionIn RO
  ; A silent installation never saw the page: the same check, ending with status 2.
  Call CheckFolder
  ${If} $FolderProblem != ""
    MessageBox MB_ICONSTOP|MB_OK "$FolderProblem" /SD IDOK
    SetErrorLevel 2
    Abort "$FolderProblem"
  ${EndIf}

  !insertmacro InstallProgramFiles
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\TransZendal.lnk" "$INSTDIR\transzendal.exe"
  CreateShortcut "${MENU_FOLDER}\Ayuda de TransZendal.lnk" "$INSTDIR\COLVARIAHLP.chm"
  CreateShortcut "${MENU_FOLDER}\Léame.lnk" "$INSTDIR\LEAME.txt"
  CreateShortcut "${MENU_FOLDER}\Desinstalar TransZendal.lnk" "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\transzendal.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; Our files only: the folder may be the timetable program's own.
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; Removes what the installer put there and nothing else: Zendalor.ini belongs to the timetable
; program, and the folder itself goes only if nothing else is left in it.
Section "Uninstall"
  !insertmacro RemoveProgramFiles
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"

  Delete "${MENU_FOLDER}\TransZendal.lnk"
  Delete "${MENU_FOLDER}\Ayuda de TransZendal.lnk"
  Delete "${MENU_FOLDER}\Léame.lnk"
  Delete "${MENU_FOLDER}\Desinstalar TransZendal.lnk"
  RMDir "${MENU_FOLDER}"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
