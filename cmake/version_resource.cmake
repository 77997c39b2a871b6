# transzendal_version_resource(TARGET DESCRIPTION): gives the Windows program TARGET a version
# resource with the project's one version, its file name and DESCRIPTION.
function(transzendal_version_resource target description)
  set(TZ_RC_FILE_NAME ${target}.exe)
  set(TZ_RC_INTERNAL_NAME ${target})
  set(TZ_RC_DESCRIPTION ${description})
  set(resource ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${resource} @ONLY)
  target_sources(${target} PRIVATE ${resource})
endfunction()
