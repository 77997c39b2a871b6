# The Debian package transzendal-cli (cpack -G DEB; scripts/package-debian builds it): the
# command-line converter with its Spanish manual page, bash completion, the example school, the
# copyright file and a changelog. The desktop window is Windows-only and is not in it.
#
# Included by packaging/CMakeLists.txt before include(CPack).
include(GNUInstallDirs)

set(CPACK_PACKAGE_VENDOR ${TRANSZENDAL_PUBLISHER})
set(CPACK_PACKAGE_CONTACT "${TRANSZENDAL_PUBLISHER} <transzendal@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)

set(TRANSZENDAL_DEB_NAME transzendal-cli)
set(TRANSZENDAL_DEB_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${TRANSZENDAL_DEB_NAME})
set(TRANSZENDAL_DEB_BUILD ${CMAKE_CURRENT_BINARY_DIR}/debian)

# Debian wants the manual page and the changelog compressed with maximum compression and without a
# name or time stamp in the gzip header, so that the same sources give the same package.
find_program(TRANSZENDAL_GZIP gzip REQUIRED)

# The version in the manual page's title line and in the changelog is the project's one version;
# the contact in the changelog and the copyright file is the package's maintainer.
configure_file(${CMAKE_CURRENT_LIST_DIR}/transzendal-cli.1.in
               ${TRANSZENDAL_DEB_BUILD}/transzendal-cli.1 @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${TRANSZENDAL_DEB_BUILD}/changelog @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${TRANSZENDAL_DEB_BUILD}/copyright @ONLY)

set(transzendal_deb_compressed)
foreach(document transzendal-cli.1 changelog)
  set(source ${TRANSZENDAL_DEB_BUILD}/${document})
  add_custom_command(
    OUTPUT ${source}.gz
    COMMAND ${TRANSZENDAL_GZIP} -9n -c ${source} > ${source}.gz
    DEPENDS ${source}
    COMMENT "Comprimiendo ${document} para el paquete de Debian"
    VERBATIM)
  list(APPEND transzendal_deb_compressed ${source}.gz)
endforeach()
add_custom_target(debian_package_documents ALL DEPENDS ${transzendal_deb_compressed})

# Directories the install step creates itself get the usual 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS transzendal-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (CPACK_STRIP_FILES) also drops the compilers' notes, as Debian's own
# packages do; they are of no use in the package.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(
      COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/transzendal-cli\"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()")
# The page is Spanish, as the program is, but goes to man1 rather than man/es/man1: man finds it
# in every locale, and the program has no English page that would belong there instead.
install(FILES ${TRANSZENDAL_DEB_BUILD}/transzendal-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/transzendal-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
        RENAME transzendal-cli)
install(FILES ${TRANSZENDAL_DEB_BUILD}/copyright ${TRANSZENDAL_DEB_BUILD}/changelog.gz
        DESTINATION ${TRANSZENDAL_DEB_DOCDIR})
# Uncompressed, so that the examples of the manual page run on it as it is.
install(FILES ${PROJECT_SOURCE_DIR}/examples/instituto-ejemplo.xml
        DESTINATION ${TRANSZENDAL_DEB_DOCDIR}/examples)

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_NAME ${TRANSZENDAL_DEB_NAME})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The package holds the command-line converter only; its synopsis says so.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "conversor de datos entre Colvaria y Zendalor (línea de órdenes)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
transzendal-cli lleva los datos de un centro educativo entre Colvaria, el
programa de gestión del centro, que los guarda en un archivo XML, y
Zendalor, el generador de horarios, que los intercambia como tablas dBase
en su directorio de intercambio.

La orden «exportar» convierte el archivo XML del centro en las tablas de
Zendalor (materias, profesores, aulas, marcos horarios, grupos y
asignaciones); «importar» devuelve el horario resuelto por Zendalor a una
copia del archivo XML; «tabla» muestra una tabla del directorio de
intercambio como CSV o como resumen de su estructura.

Las tablas anteriores solo se sustituyen cuando la conversión termina
bien. Incluye un centro de ejemplo ficticio para probarlo.]=])
# The dependencies are those of the binary as built, found by dpkg-shlibdeps (dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
