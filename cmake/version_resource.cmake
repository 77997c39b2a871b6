# transzendal_version_resource(TARGET DESCRIPTION [ICON ICON_TARGET]): gives the Windows program
# TARGET a version resource with the project's one version, its file name and DESCRIPTION; with
# ICON, also the icon file that ICON_TARGET's property ICON_FILE names, under the identifier its
# ICON_HEADER defines (the lowest, the one Explorer shows).
function(transzendal_version_resource target description)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "ICON" "")
  set(TZ_RC_FILE_NAME ${target}.exe)
  set(TZ_RC_INTERNAL_NAME ${target})
  set(TZ_RC_DESCRIPTION ${description})
  set(TZ_RC_ICON "")
  set(resource ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  if(ARG_ICON)
    get_target_property(icon ${ARG_ICON} ICON_FILE)
    get_target_property(header ${ARG_ICON} ICON_HEADER)
    set(TZ_RC_ICON "#include \"${header}\"\nTRANSZENDAL_ICON_ID ICON \"${icon}\"")
    # windres reports no dependencies: a new drawing of the icon compiles the resource again.
    set_source_files_properties(${resource} PROPERTIES OBJECT_DEPENDS "${icon};${header}")
    add_dependencies(${target} ${ARG_ICON})
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${resource} @ONLY)
  target_sources(${target} PRIVATE ${resource})
endfunction()
