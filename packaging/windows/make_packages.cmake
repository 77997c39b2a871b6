# cmake -P make_packages.cmake: installs the program folder (stripped) into WORK_DIR/carpeta, checks
# that it holds exactly FILES, and makes from it the installer (makensis, NSIS_SCRIPT) and the
# portable archive in OUT_DIR. Defined by the target "paquetes": BUILD_DIR, WORK_DIR, OUT_DIR,
# VERSION, PUBLISHER, FILES, ICON, NSIS_SCRIPT, MAKENSIS.
cmake_minimum_required(VERSION 3.25)

if(NOT MAKENSIS)
  message(FATAL_ERROR "makensis (Debian package nsis) is missing: run scripts/build-windows")
endif()

set(stage ${WORK_DIR}/carpeta)
file(REMOVE_RECURSE ${stage})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${stage} --strip
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

file(GLOB_RECURSE installed RELATIVE ${stage} ${stage}/*)
list(SORT installed)
set(expected ${FILES})
list(SORT expected)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "The program folder holds [${installed}], the packages list [${expected}]")
endif()

# The installer's commands for the listed files, and the size it reports to Windows.
set(install_commands "")
set(remove_commands "")
set(folders "")
set(size 0)
foreach(file IN LISTS FILES)
  get_filename_component(folder ${file} DIRECTORY)
  string(REPLACE "/" "\\" windows_file "${file}")
  set(target_folder "$INSTDIR")
  if(folder)
    string(REPLACE "/" "\\" windows_folder "${folder}")
    set(target_folder "$INSTDIR\\${windows_folder}")
    list(APPEND folders "${target_folder}")
  endif()
  string(APPEND install_commands "  SetOutPath \"${target_folder}\"\n  File \"${stage}/${file}\"\n")
  string(APPEND remove_commands "  Delete \"$INSTDIR\\${windows_file}\"\n")
  file(SIZE ${stage}/${file} bytes)
  math(EXPR size "${size} + ${bytes}")
endforeach()
list(REMOVE_DUPLICATES folders)
foreach(folder IN LISTS folders)
  string(APPEND remove_commands "  RMDir \"${folder}\"\n")
endforeach()
math(EXPR size_kb "(${size} + 1023) / 1024")
set(files_nsh ${WORK_DIR}/archivos.nsh)
file(WRITE ${files_nsh}
     "!macro InstallProgramFiles\n${install_commands}!macroend\n"
     "!macro RemoveProgramFiles\n${remove_commands}!macroend\n")

string(REGEX MATCHALL "[0-9]+" numbers ${VERSION})
list(APPEND numbers 0 0 0 0)
list(SUBLIST numbers 0 4 numbers)
list(JOIN numbers "." version4)

file(MAKE_DIRECTORY ${OUT_DIR})
set(installer ${OUT_DIR}/transzendal-${VERSION}-instalador.exe)
set(portable ${OUT_DIR}/transzendal-${VERSION}-portatil.zip)
file(REMOVE ${installer} ${portable})
execute_process(
  COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${VERSION} -DVERSION4=${version4}
          "-DPUBLISHER=${PUBLISHER}"
          -DFILES=${files_nsh} -DSIZE_KB=${size_kb} -DICON=${ICON} -DOUTFILE=${installer}
          ${NSIS_SCRIPT}
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${portable} --format=zip -- ${FILES}
                WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Instalador: ${installer}")
message(STATUS "Portátil: ${portable}")
