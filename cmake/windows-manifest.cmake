# The application manifest of every Windows executable: doorsel.exe and the test programs, so that
# the tests run under the conditions the program does (UTF-8 code page, long paths, administrator).
# Elsewhere doorsel_windows_manifest does nothing.
if(WIN32)
  enable_language(RC)
  set(DOORSEL_MANIFEST ${CMAKE_BINARY_DIR}/doorsel.manifest)
  set(DOORSEL_MANIFEST_RC ${CMAKE_BINARY_DIR}/doorsel-manifest.rc)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/doorsel.manifest.in ${DOORSEL_MANIFEST} @ONLY)
  set(manifest ${DOORSEL_MANIFEST})
  configure_file(${CMAKE_CURRENT_LIST_DIR}/manifest.rc.in ${DOORSEL_MANIFEST_RC} @ONLY)
  unset(manifest)
endif()

function(doorsel_windows_manifest target)
  if(WIN32)
    target_sources(${target} PRIVATE ${DOORSEL_MANIFEST_RC})
    # The resource compiler does not tell the build that the script reads the manifest.
    set_source_files_properties(${DOORSEL_MANIFEST_RC} TARGET_DIRECTORY ${target}
      PROPERTIES OBJECT_DEPENDS ${DOORSEL_MANIFEST})
  endif()
endfunction()
