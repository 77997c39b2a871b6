# The program folder on Windows: the two programs, the help file beside them (the window looks for
# it there), a short Léame, the notices of the libraries inside the programs and the example
# school. Zendalor.ini is not among them: it belongs to the timetable program, and the window only
# writes its result key into it.
install(TARGETS transzendal transzendal-cli RUNTIME DESTINATION .)
install(FILES $<TARGET_PROPERTY:transzendal_help,HELP_FILE> DESTINATION .)
# Notepad before Windows 10 wants CR LF; the file starts with a UTF-8 byte order mark for it too.
configure_file(${CMAKE_CURRENT_LIST_DIR}/LEAME.txt ${CMAKE_CURRENT_BINARY_DIR}/LEAME.txt @ONLY
               NEWLINE_STYLE WIN32)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/LEAME.txt DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/examples/instituto-ejemplo.xml DESTINATION ejemplo)

# The programs carry libxml2 and MinGW-w64's runtime (winpthreads among it) inside them; their
# licences ask that their notices go with every copy.
set(libxml2_notice ${TRANSZENDAL_WINDOWS_DEPS}/share/doc/libxml2/Copyright)
set(mingw_notice /usr/share/doc/mingw-w64-x86-64-dev/copyright)
foreach(needed IN ITEMS ${libxml2_notice} ${mingw_notice} ${TRANSZENDAL_WINDOWS_DEPS}/libxml2-version)
  if(NOT EXISTS ${needed})
    message(FATAL_ERROR "${needed} is missing: build with scripts/build-windows")
  endif()
endforeach()
file(READ ${libxml2_notice} TZ_LIBXML2_NOTICE)
file(READ ${mingw_notice} TZ_MINGW_NOTICE)
file(STRINGS ${TRANSZENDAL_WINDOWS_DEPS}/libxml2-version TZ_LIBXML2_VERSION LIMIT_COUNT 1)
configure_file(${CMAKE_CURRENT_LIST_DIR}/TERCEROS.txt.in ${CMAKE_CURRENT_BINARY_DIR}/TERCEROS.txt
               @ONLY NEWLINE_STYLE WIN32)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TERCEROS.txt DESTINATION .)

# The same list names the installer's files, its uninstaller's and the portable archive's; the
# build stops if the install rules above put anything else in the folder.
set(program_folder_files transzendal.exe transzendal-cli.exe COLVARIAHLP.chm LEAME.txt
    TERCEROS.txt ejemplo/instituto-ejemplo.xml)

find_program(TRANSZENDAL_MAKENSIS makensis)
set(packages_dir ${CMAKE_BINARY_DIR}/paquetes)
# Target "paquetes": transzendal-VERSION-instalador.exe and transzendal-VERSION-portatil.zip.
add_custom_target(paquetes
  COMMAND ${CMAKE_COMMAND}
          -DBUILD_DIR=${CMAKE_BINARY_DIR}
          -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/paquetes
          -DOUT_DIR=${packages_dir}
          -DVERSION=${PROJECT_VERSION}
          "-DPUBLISHER=${TRANSZENDAL_PUBLISHER}"
          "-DFILES=${program_folder_files}"
          -DICON=$<TARGET_PROPERTY:transzendal_icon,ICON_FILE>
          -DNSIS_SCRIPT=${CMAKE_CURRENT_LIST_DIR}/instalador.nsi
          -DMAKENSIS=${TRANSZENDAL_MAKENSIS}
          -P ${CMAKE_CURRENT_LIST_DIR}/make_packages.cmake
  COMMENT "Building the Windows installer and the portable archive in ${packages_dir}"
  VERBATIM)
add_dependencies(paquetes transzendal transzendal-cli transzendal_help transzendal_icon)
